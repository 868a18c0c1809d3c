#include "CpMgmt/CmdPro/Drive/PdReplaceMissingCp.h"

#include <cstdint>
#include <cstring>

#include "CpMgmt/CmdPro/AdpCpSteps.h"
#include "CpMgmt/CmdPro/AdpDcmd.h"
#include "CpMgmt/CmdPro/Drive/PdFirmwareReads.h"
#include "CpMgmt/CpFactoryRegistry.h"
#include "CpMgmt/EnclosureIdText.h"
#include "DataProvider/DcmdOpcodes.h"
#include "Parser/PdParsedObjects.h"
#include "Parser/TokenIds.h"
#include "RaidManager/EnclSlotId.h"
#include "RaidManager/PhysicalDevice.h"
#include "RaidManager/RaidManager.h"
#include "RaidManager/Zpr/Records/Drive/ZprDriveInfo.h"
#include "RaidManager/Zpr/Records/Drive/ZprDriveValues.h"

namespace {

// The logical sector size of the drive the model knows by that device id: 0, the status of the
// drive's information that cannot be read, or -1 when the model has no such drive.
int sectorSizeOf(RaidManager* manager, uint16_t deviceId, uint16_t* bytes)
{
    PhysicalDevice* pd = manager->getPdByDeviceId(deviceId);
    return pd != nullptr ? pd->getLogicalSectorSize(bytes) : -1;
}

// The sector size the configured drives have: that of the first present drive of the last
// array that has one. 0 when no array has a present drive (nothing to compare with), else
// sectorSizeOf's failure for the drive that gives it.
int referenceSectorSize(RaidManager* manager, const FirmwareBlock& config, bool* found, uint16_t* bytes)
{
    const ZprConfigBuffer buffer = configOf(config);
    const uint32_t arrays = arraysRead(config);
    *found = false;
    for (uint32_t i = 0; i < arrays; ++i) {
        const ZprArrayRecord record = buffer.arrayRecord(i);
        const uint32_t rows = record.driveEntryCount();
        for (uint32_t j = 0; j < rows; ++j) {
            const uint16_t deviceId = record.drive(j).deviceId();
            if (deviceId == MISSING_DEVICE_ID)
                continue;
            const int status = sectorSizeOf(manager, deviceId, bytes);
            if (status != 0)
                return status;
            *found = true;
            break;
        }
    }
    return 0;
}

struct Replacement {
    int adapter;
    uint16_t deviceId;
    uint8_t arrayNumber;
    uint8_t rowNumber;
};

// The checks of the array, the row and the sector size against the configuration read; 0 when
// the replace command may go out, else -1 after the check's message, or the status of a drive's
// information that cannot be read.
int checkPlace(RaidManager* manager, const FirmwareBlock& config, const Replacement& r)
{
    uint16_t newSize = 0;
    int status = sectorSizeOf(manager, r.deviceId, &newSize);
    if (status != 0) {
        printMessage(MSG_OPERATION_FAILED, r.adapter, "get PD info");
        return status;
    }
    if (r.arrayNumber >= arraysRead(config)) {
        printMessage(MSG_PD_ARRAY_OUT_OF_RANGE);
        return -1;
    }
    const ZprArrayRecord record = configOf(config).arrayRecord(r.arrayNumber);
    if (r.rowNumber >= record.driveEntryCount()) {
        printMessage(MSG_PD_ROW_OUT_OF_RANGE, r.adapter);
        return -1;
    }
    if (record.drive(r.rowNumber).deviceId() != MISSING_DEVICE_ID) {
        printMessage(MSG_PD_ROW_NOT_MISSING, r.adapter, static_cast<int>(r.arrayNumber), static_cast<int>(r.rowNumber));
        return -1;
    }
    bool found = false;
    uint16_t reference = 0;
    status = referenceSectorSize(manager, config, &found, &reference);
    if (status != 0) {
        printMessage(MSG_OPERATION_FAILED, r.adapter, "get PD info");
        return status;
    }
    if (found && reference != newSize) {
        printMessage(MSG_TEXT, "Cannot perform replace operation with drives having different Sector size . \n");
        return -1;
    }
    return 0;
}

// The drive information of the new drive, the configuration, the checks and the command.
int replaceMissing(CpController* cpController, RaidManager* manager, const Replacement& r)
{
    uint8_t info[ZprDriveInfo::SIZE];
    memset(info, 0, sizeof info);
    int status = sendDcmdWithWord(cpController, DCMD_PD_GET_INFO, r.deviceId, info, 0);
    if (status != 0) {
        printMessage(MSG_OPERATION_FAILED, r.adapter, "get PD info");
        return status;
    }
    FirmwareBlock config;
    status = readFirmwareConfig(cpController, ConfigSecondRead::WhenArraysAbove1, config);
    if (status != 0) {
        printMessage(MSG_OPERATION_FAILED, r.adapter, "read configuration");
        return status;
    }
    status = checkPlace(manager, config, r);
    if (status != 0)
        return status;
    const uint32_t arrayRef = configOf(config).arrayRecord(r.arrayNumber).arrayRef();
    const uint32_t mailbox[3] = {ZprDriveInfo(info, sizeof info).deviceRef(),
                                 arrayRef | (static_cast<uint32_t>(r.rowNumber) << 16), 0};
    status = sendDcmdWithMailbox(cpController, DCMD_PD_REPLACE_MISSING, mailbox, nullptr, 0);
    printMessage(status == 0 ? MSG_PD_MISSING_REPLACED : MSG_PD_REPLACE_MISSING_FAILED, r.adapter,
                 static_cast<int>(r.arrayNumber), static_cast<int>(r.rowNumber));
    return status;
}

}  // namespace

int PdReplaceMissingCp::process(CpController* cpController, ParsedObject* request)
{
    CpStart<PdReplaceMissingParsedObject> start(cpController, request, "PdReplaceMissingParsedObject *",
                                                CP_NEEDS_MODEL);
    if (!start)
        return start.result();
    const uint8_t adapterNumber = start.number();
    PdReplaceMissingParsedObject* own = start.request();
    FirmwareBlock list;
    const int read = readFirmwarePdList(cpController, list);
    if (read != 0) {
        printMessage(MSG_OPERATION_FAILED, static_cast<int>(adapterNumber), "read PD list");
        return read;
    }
    ArrayList<EnclSlotId*>* drives = own->getDriveList();
    EnclSlotId* first = drives != nullptr && drives->count() > 0 ? drives->get(0) : nullptr;
    if (first == nullptr)
        return -1;
    unsigned short enclosureId = first->getEnclosureId();
    int status = resolveEnclosureId(cpController, &enclosureId);
    if (status != 0)
        return status;
    uint16_t deviceId = 0;
    if (!findListedDevice(pdListOf(list), enclosureId, first->getSlotNumber(), false, &deviceId)) {
        printMessage(MSG_PD_NOT_FOUND, static_cast<int>(adapterNumber), formatEnclosureId(enclosureId),
                     static_cast<int>(first->getSlotNumber()));
        return -1;
    }
    return replaceMissing(cpController, start.manager(),
                          {adapterNumber, deviceId, own->getArrayNumber(), own->getRowNumber()});
}

namespace {
const CpRegistration<PdReplaceMissingCp> registration;
}  // namespace
