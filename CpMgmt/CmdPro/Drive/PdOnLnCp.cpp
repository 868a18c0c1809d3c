#include "CpMgmt/CmdPro/Drive/PdOnLnCp.h"

#include <cstdint>
#include <vector>

#include "CpMgmt/CmdPro/AdpCpSteps.h"
#include "CpMgmt/CmdPro/Drive/PdFirmwareReads.h"
#include "CpMgmt/CmdPro/ReadFailure.h"
#include "CpMgmt/CpFactoryRegistry.h"
#include "CpMgmt/EnclosureIdText.h"
#include "Parser/PdParsedObjects.h"
#include "Parser/TokenIds.h"
#include "RaidManager/PhysicalDevice.h"
#include "RaidManager/RaidManager.h"
#include "RaidManager/RmData.h"
#include "RaidManager/Zpr/Records/Drive/ZprDriveValues.h"

namespace {

const uint64_t BLOCKS_PER_MB = 2048;

// One array row without its drive.
struct MissingRow {
    uint32_t array;
    uint32_t row;
    uint64_t expectedBlocks;   // the array's member size
};

// Online or mark missing: the firmware status, printing the drive's line either way.
int changeDrive(PhysicalDevice* pd, uint8_t operation, int adapter, unsigned short enclosureId, int slot)
{
    const bool online = operation == PdOnLineParsedObject::OPERATION_ONLINE;
    const int status = online ? pd->setFirmwareState(PD_STATE_ONLINE) : pd->markMissing();
    if (status != 0)
        printMessage(MSG_PD_STATE_CHANGE_FAILED, adapter, formatEnclosureId(enclosureId), slot);
    else
        printMessage(online ? MSG_PD_STATE_ONLINE : MSG_PD_MARKED_MISSING, formatEnclosureId(enclosureId), slot);
    return status;
}

int locateDrive(PhysicalDevice* pd, uint8_t stop, int adapter, unsigned short enclosureId, int slot)
{
    const int status = stop == 1 ? pd->stopLocate() : pd->startLocate(0);
    if (status != 0)
        printMessage(MSG_PD_LOCATE_FAILED, adapter, formatEnclosureId(enclosureId), slot);
    else
        printMessage(stop == 1 ? MSG_PD_LOCATE_STOPPED : MSG_PD_LOCATE_STARTED, adapter,
                     formatEnclosureId(enclosureId), slot);
    return status;
}

// One drive of the list: 0 when handled, else the result that ends the command.
int handleDrive(CpController* cpController, RmData* rmData, const PdOnLineParsedObject& request, int adapter,
                const PdIdListObject& entry)
{
    unsigned short enclosureId = entry.getEnclosureId();
    int status = CommandProcessor::resolveEnclosureId(cpController, &enclosureId);
    if (status != 0)
        return status;
    const int slot = entry.getSlot();
    PhysicalDevice* pd = nullptr;
    status = lookUpDrive(rmData, static_cast<uint8_t>(adapter), enclosureId, entry.getSlot(), &pd);
    if (status != 0)
        return status;
    if (pd == nullptr) {
        printMessage(MSG_PD_NOT_FOUND, adapter, formatEnclosureId(enclosureId), slot);
        return -1;
    }
    if (request.getOperation() == PdOnLineParsedObject::OPERATION_LOCATE)
        return locateDrive(pd, request.getStop(), adapter, enclosureId, slot);
    return changeDrive(pd, request.getOperation(), adapter, enclosureId, slot);
}

std::vector<MissingRow> findMissingRows(const FirmwareBlock& config)
{
    std::vector<MissingRow> rows;
    const ZprConfigBuffer buffer = configOf(config);
    const uint32_t arrays = arraysRead(config);
    for (uint32_t i = 0; i < arrays; ++i) {
        const ZprArrayRecord record = buffer.arrayRecord(i);
        const uint32_t drives = record.driveEntryCount();
        for (uint32_t j = 0; j < drives; ++j)
            if (record.drive(j).deviceId() == MISSING_DEVICE_ID)
                rows.push_back({i, j, record.sizeBlocks()});
    }
    return rows;
}

}  // namespace

int PdOnLnCp::process(CpController* cpController, ParsedObject* request)
{
    CpDeferredStart<PdOnLineParsedObject> start(cpController, request, "PdOnLineParsedObject *");
    if (!start)
        return start.result();
    PdOnLineParsedObject* own = start.request();
    // The missing rows come from the firmware's configuration, not from the model.
    if (own->getOperation() == PdOnLineParsedObject::OPERATION_GET_MISSING)
        return showMissingDrives(cpController);
    if (!start.take(CP_NEEDS_MODEL))
        return start.result();
    ArrayList<PdIdListObject*>* drives = own->driveList;
    for (unsigned char i = 0; drives != nullptr && i < drives->count(); ++i) {
        PdIdListObject* entry = drives->get(i);
        if (entry == nullptr)
            return -1;
        const int status = handleDrive(cpController, start.manager()->getRmData(), *own, start.number(), *entry);
        if (status != 0)
            return status;
    }
    return 0;
}

int PdOnLnCp::showMissingDrives(CpController* cpController)
{
    const int adapter = adapterNumberOf(cpController);
    FirmwareBlock config;
    // Without a logical drive nothing is shown, and only the first block is read. A
    // configuration that cannot be read tells nothing of missing drives: it is named, not
    // taken for one without them.
    const int status = readFirmwareConfig(cpController, ConfigSecondRead::WhenLdsConfigured, config);
    if (status != 0) {
        printMessage(MSG_OPERATION_FAILED, adapter, "read configuration");
        return status;
    }
    if (configOf(config).ldCount() == 0)
        return 0;
    const std::vector<MissingRow> rows = findMissingRows(config);
    if (rows.empty()) {
        printMessage(MSG_PD_NO_MISSING_DRIVE, adapter);
        return 0;
    }
    printMessage(MSG_PD_MISSING_HEADER, adapter);
    for (size_t n = 0; n < rows.size(); ++n)
        printMessage(MSG_PD_MISSING_ROW, static_cast<int>(n), static_cast<int>(rows[n].array),
                     static_cast<int>(rows[n].row), static_cast<unsigned long>(rows[n].expectedBlocks / BLOCKS_PER_MB));
    return 0;
}

namespace {
const CpRegistration<PdOnLnCp> registration;
}  // namespace
