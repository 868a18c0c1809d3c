// The saved-configuration file of RmDataZpr: saving the controller's configuration and
// properties, and restoring them.
//
// A restore changes the controller only after everything has been checked: the file (by
// SavedConfigFile), then every drive the configuration names (present, and unconfigured good
// so that the controller can take it) and every logical drive's target id (not configured on
// the controller already). Only then are the drives spun up and the configuration sent, so a
// refused restore leaves the controller as it was.
#include "ControllerMgmt/LinExpLd.h"
#include "DataProvider/ControllerId.h"
#include "DataProvider/DcmdOpcodes.h"
#include "PavUtil/IgnoreStatus.h"
#include "RaidManager/Adapter.h"
#include "RaidManager/PhysicalDevice.h"
#include "RaidManager/RaidManager.h"
#include "RaidManager/Zpr/RmDataZpr.h"
#include "RaidManager/Zpr/SavedConfigFile.h"
#include "RaidManager/Zpr/Records/Controller/ZprControllerProperties.h"
#include "RaidManager/Zpr/ZprData.h"
#include "RaidManager/Zpr/Records/Drive/ZprDriveValues.h"

namespace {

// A member the saved configuration already had missing: no drive stands for it.
const uint16_t MISSING_MEMBER = 0xFFFF;

// The drive of the list with the device id; null when none has it (a drive whose id cannot be
// read has none).
PhysicalDevice* findDrive(ArrayList<PhysicalDevice*>* drives, uint16_t deviceId)
{
    for (uint8_t i = 0; i < drives->count(); ++i) {
        PhysicalDevice* pd = drives->get(i);
        uint16_t id = 0;
        if (pd != nullptr && pd->getDeviceId(&id) == 0 && id == deviceId)
            return pd;
    }
    return nullptr;
}

// The drive for a saved entry: 0 with its current sequence number in `sequence`, -1 when no
// drive has the id or the drive is not unconfigured good (the controller would refuse it, or
// worse, take a drive in use), else the status of a failed read.
int takeDrive(ArrayList<PhysicalDevice*>* drives, uint16_t deviceId, uint16_t* sequence)
{
    PhysicalDevice* pd = findDrive(drives, deviceId);
    if (pd == nullptr)
        return -1;
    uint16_t state = 0;
    int status = pd->getFirmwareState(&state);
    if (status != 0)
        return status;
    if (state != PD_STATE_UNCONFIGURED_GOOD)
        return -1;
    return pd->getSequenceNumber(sequence);
}

}  // namespace

int RmDataZpr::saveConfig(const char* fileName)
{
    if (zprData == nullptr)
        return -1;
    ZprConfigBuffer config;
    int status = zprData->readConfig(&config, 0);
    if (status != 0)
        return status;
    uint8_t properties[ZprControllerProperties::SIZE] = {};
    status = ZprData::sendCommand(controller, DCMD_ADP_GET_PROPERTIES, 0, properties, sizeof properties);
    if (status != 0)
        return status;
    return SavedConfigFile::write(fileName, config, properties);
}

int RmDataZpr::fitSavedConfig(ZprConfigBuffer& config, ArrayList<PhysicalDevice*>* drives)
{
    for (uint32_t a = 0; a < config.arrayCount(); ++a) {
        const ZprArrayRecord array = config.arrayRecord(a);
        for (uint32_t d = 0; d < array.driveEntryCount(); ++d) {
            ZprArrayDrive entry = array.drive(d);
            if (entry.deviceId() == MISSING_MEMBER && findDrive(drives, MISSING_MEMBER) == nullptr)
                continue;
            uint16_t sequence = 0;
            const int status = takeDrive(drives, entry.deviceId(), &sequence);
            if (status != 0)
                return status;
            entry.setSequenceNumber(sequence);
        }
    }
    // A target id the controller has configured already would make the add fail half-way, or
    // shadow the drive that has it.
    ZprConfigBuffer current;
    const int status = zprData != nullptr ? zprData->readConfig(&current, 0) : -1;
    if (status != 0)
        return status;
    for (uint32_t l = 0; l < config.ldCount(); ++l) {
        ZprLdRecord ld = config.ldRecord(l);
        for (uint32_t c = 0; c < current.ldCount(); ++c)
            if (current.ldRecord(c).targetId() == ld.targetId())
                return -1;
        ld.setReference(ld.targetId(), 0);
    }
    for (uint32_t s = 0; s < config.spareCount(); ++s) {
        ZprSpareRecord spare = config.spareRecord(s);
        uint16_t sequence = 0;
        const int taken = takeDrive(drives, spare.deviceId(), &sequence);
        if (taken != 0)
            return taken;
        spare.setSequenceNumber(sequence);
    }
    return 0;
}

int RmDataZpr::spinUpSavedDrives(const ZprConfigBuffer& config, ArrayList<PhysicalDevice*>* drives)
{
    for (uint32_t a = 0; a < config.arrayCount(); ++a) {
        const ZprArrayRecord array = config.arrayRecord(a);
        for (uint32_t d = 0; d < array.driveEntryCount(); ++d) {
            PhysicalDevice* pd = findDrive(drives, array.drive(d).deviceId());
            const int status = pd != nullptr ? pd->spinUp() : 0;
            if (status != 0)
                return status;
        }
    }
    return 0;
}

int RmDataZpr::restoreConfig(const char* fileName)
{
    SavedConfigFile file;
    int status = file.read(fileName);
    if (status != 0)
        return status;
    RaidManager* manager = getRaidManager(controller);
    if (manager == nullptr)
        return -1;
    ignoreStatus(manager->refresh(), "a failed read leaves the adapter absent, checked next");
    Adapter* adapter = nullptr;
    ArrayList<PhysicalDevice*>* drives = nullptr;
    if (manager->getAdapter(&adapter) != 0 || adapter == nullptr || getAllPdsRaw(&drives) != 0 || drives == nullptr) {
        deleteOwnedList(drives);
        return -1;
    }
    ZprConfigBuffer config = file.config();
    status = fitSavedConfig(config, drives);
    if (status == 0)
        status = spinUpSavedDrives(config, drives);
    deleteOwnedList(drives);
    if (status != 0)
        return status;
    status = ZprData::sendCommand(controller, DCMD_CFG_ADD, 0, file.config().view().writableData(), file.configSize());
    if (status != 0)
        return status;
    // The controller has the configuration now; disks the operating system fails to see do
    // not undo that.
    const uint8_t adapterNumber = controllerId != nullptr ? controllerId->getNumber() : 0;
    LinExpLd::instance(adapterNumber)->expose(controller, 0, EXPOSE_ADD_NEW);
    uint16_t sequence = 0;
    status = adapter->getPropertiesSequenceNumber(&sequence);
    if (status != 0)
        return status;
    ZprControllerProperties properties(file.properties(), ZprControllerProperties::SIZE);
    properties.view().setU16(ZprControllerProperties::SEQUENCE_NUMBER, sequence);
    return ZprData::sendCommand(controller, DCMD_ADP_SET_PROPERTIES, 0, file.properties(), ZprControllerProperties::SIZE);
}
