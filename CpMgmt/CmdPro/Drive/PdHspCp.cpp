#include "CpMgmt/CmdPro/Drive/PdHspCp.h"

#include <cstring>

#include "CpMgmt/CmdPro/AdpCpSteps.h"
#include "CpMgmt/CmdPro/AdpDcmd.h"
#include "CpMgmt/CpController.h"
#include "CpMgmt/CpFactoryRegistry.h"
#include "CpMgmt/EnclosureIdText.h"
#include "DataProvider/DcmdOpcodes.h"
#include "Parser/PdParsedObjects.h"
#include "Parser/TokenIds.h"
#include "RaidManager/PhysicalDevice.h"
#include "RaidManager/RaidManager.h"
#include "RaidManager/Zpr/Records/Controller/ZprControllerInfo.h"
#include "RaidManager/Zpr/Records/Drive/ZprDriveValues.h"
#include "RaidManager/Zpr/Records/ZprFirmwareStatus.h"

namespace {

const char* const OPERATION = "PD hotspare";

// The first present drive of an array record; false when every row is missing.
bool firstPresentDrive(const ZprArrayRecord& record, uint16_t* deviceId)
{
    const uint32_t rows = record.driveEntryCount();
    for (uint32_t j = 0; j < rows; ++j) {
        if (record.drive(j).deviceId() != MISSING_DEVICE_ID) {
            *deviceId = record.drive(j).deviceId();
            return true;
        }
    }
    return false;
}

bool sectorSizeOf(RaidManager* manager, uint16_t deviceId, uint16_t* bytes)
{
    PhysicalDevice* pd = manager->getPdByDeviceId(deviceId);
    return pd != nullptr && pd->getLogicalSectorSize(bytes) == 0;
}

}  // namespace

int PdHspCp::process(CpController* cpController, ParsedObject* request)
{
    CpStart<PdHspParsedObject> start(cpController, request, "PdHspParsedObject *");
    if (!start)
        return start.result();
    adapter = start.number();
    PdHspParsedObject* own = start.request();
    // A dedicated spare's record has room for 16 arrays: a longer list is refused whole.
    if (own->set != 0 && own->dedicated != 0 && own->arrayNumbers != nullptr &&
        own->arrayNumbers->count() > ZprSpareRecord::MAX_ARRAY_REFS) {
        printMessage(MSG_OPERATION_FAILED, adapter, OPERATION);
        return -1;
    }
    int status = readFirmwarePdList(cpController, pdList);
    if (status == 0)
        status = readFirmwareConfig(cpController, ConfigSecondRead::Always, config);
    if (status != 0) {
        printMessage(MSG_OPERATION_FAILED, adapter, OPERATION);
        return status;
    }
    for (unsigned char i = 0; own->driveList != nullptr && i < own->driveList->count(); ++i) {
        const PdIdListObject* entry = own->driveList->get(i);
        if (entry == nullptr)
            return -1;
        status = handleDrive(cpController, *own, *entry);
        if (status != 0)
            return status;
    }
    return 0;
}

bool PdHspCp::isArrayMember(uint16_t deviceId) const
{
    const ZprConfigBuffer buffer = configOf(config);
    const uint32_t arrays = arraysRead(config);
    for (uint32_t i = 0; i < arrays; ++i) {
        const ZprArrayRecord record = buffer.arrayRecord(i);
        const uint32_t rows = record.driveEntryCount();
        for (uint32_t j = 0; j < rows; ++j)
            if (record.drive(j).deviceId() == deviceId)
                return true;
    }
    return false;
}

int PdHspCp::handleDrive(CpController* cpController, const PdHspParsedObject& request, const PdIdListObject& entry)
{
    unsigned short enclosureId = entry.getEnclosureId();
    int status = resolveEnclosureId(cpController, &enclosureId);
    if (status != 0)
        return status;
    const int slot = entry.getSlot();
    const ZprPdList list = pdListOf(pdList);
    uint16_t deviceId = 0;
    if (!findListedDevice(list, enclosureId, entry.getSlot(), false, &deviceId)) {
        printMessage(MSG_PD_NOT_FOUND, adapter, formatEnclosureId(enclosureId), slot);
        return STATUS_NO_DEVICE;
    }
    if (!findListedDevice(list, enclosureId, entry.getSlot(), true, &deviceId)) {
        printMessage(MSG_OPERATION_FAILED, adapter, OPERATION);
        return STATUS_NO_DEVICE;
    }
    if (isArrayMember(deviceId)) {
        printMessage(MSG_OPERATION_FAILED, adapter, OPERATION);
        return STATUS_RESOURCE_IN_USE;
    }
    memset(driveInfo, 0, sizeof driveInfo);
    status = sendDcmdWithWord(cpController, DCMD_PD_GET_INFO, deviceId, driveInfo, 0);
    if (status != 0) {
        printMessage(MSG_PD_INFO_READ_FAILED, adapter, formatEnclosureId(enclosureId), slot);
        return status;
    }
    const ZprDriveInfo info(driveInfo, sizeof driveInfo);
    if (request.set == 0) {
        status = sendDcmdWithWord(cpController, DCMD_CFG_REMOVE_HOTSPARE, info.deviceRef(), nullptr, 0);
        printMessage(MSG_PD_HOT_SPARE_RESULT, adapter, "Remove", formatEnclosureId(enclosureId), slot,
                     status == 0 ? "Success" : "Failed");
        return status;
    }
    status = buildSpareRecord(cpController, request);
    if (status != 0)
        return status;
    status = sendDcmd(cpController, DCMD_CFG_MAKE_HOTSPARE, spareRecord);
    printMessage(MSG_PD_HOT_SPARE_RESULT, adapter, "Set", formatEnclosureId(enclosureId), slot,
                 status == 0 ? "Success" : "Failed");
    return status;
}

int PdHspCp::buildSpareRecord(CpController* cpController, const PdHspParsedObject& request)
{
    memset(spareRecord, 0, sizeof spareRecord);
    const ZprDriveInfo info(driveInfo, sizeof driveInfo);
    ZprSpareRecord record(LeView(spareRecord, sizeof spareRecord));
    record.setDeviceId(info.deviceId());
    record.setSequenceNumber(info.sequenceNumber());
    uint8_t controllerInfo[ZprControllerInfo::SIZE];
    memset(controllerInfo, 0, sizeof controllerInfo);
    int status = sendDcmd(cpController, DCMD_ADP_GET_INFO, controllerInfo);
    if (status != 0) {
        printMessage(MSG_OPERATION_FAILED, adapter, OPERATION);
        return status;
    }
    uint8_t flags = 0;
    if (ZprControllerInfo(controllerInfo, sizeof controllerInfo).revertibleSparesSupported() &&
        (request.revertible & 1) != 0)
        flags |= 1u << ZprSpareRecord::FLAG_REVERTIBLE;
    if (request.dedicated != 0)
        flags |= 1u << ZprSpareRecord::FLAG_DEDICATED;
    if (request.enclAffinity != 0)
        flags |= 1u << ZprSpareRecord::FLAG_ENCLOSURE_AFFINITY;
    record.setFlags(flags);
    if (request.dedicated == 0)
        return 0;
    // The sector sizes come from the model: without it, or without the spare in it, nothing
    // can be compared and nothing is sent.
    CpModelSteps model(cpController, static_cast<uint8_t>(adapter), CP_NEEDS_MODEL);
    if (!model)
        return model.result();
    RaidManager* manager = model.manager();
    uint16_t spareSectorSize = 0;
    if (!sectorSizeOf(manager, info.deviceId(), &spareSectorSize)) {
        printMessage(MSG_OPERATION_FAILED, adapter, OPERATION);
        return -1;
    }
    return addDedicatedArrays(manager, request, spareSectorSize);
}

int PdHspCp::addDedicatedArrays(RaidManager* manager, const PdHspParsedObject& request, uint16_t spareSectorSize)
{
    ZprSpareRecord record(LeView(spareRecord, sizeof spareRecord));
    const unsigned char count = request.arrayNumbers != nullptr ? request.arrayNumbers->count() : 0;
    record.setArrayRefCount(count);
    const ZprConfigBuffer buffer = configOf(config);
    for (unsigned char j = 0; j < count; ++j) {
        const unsigned char* number = request.arrayNumbers->get(j);
        if (number == nullptr || *number >= arraysRead(config)) {
            printMessage(MSG_OPERATION_FAILED, adapter, OPERATION);
            return STATUS_INVALID_ARRAY;
        }
        const ZprArrayRecord array = buffer.arrayRecord(*number);
        uint16_t memberId = 0;
        uint16_t memberSectorSize = 0;
        if (firstPresentDrive(array, &memberId)) {
            if (!sectorSizeOf(manager, memberId, &memberSectorSize)) {
                printMessage(MSG_OPERATION_FAILED, adapter, OPERATION);
                return -1;
            }
            if (memberSectorSize != spareSectorSize) {
                printMessage(MSG_TEXT, "Failed to assign Ded. HS to one or more arrays due to sector size mismatch . \n");
                return -1;
            }
        }
        record.setArrayRef(j, array.arrayRef());
    }
    return 0;
}

namespace {
const CpRegistration<PdHspCp> registration;
}  // namespace
