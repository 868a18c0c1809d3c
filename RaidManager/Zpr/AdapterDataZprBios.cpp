// The adapter data's BIOS settings and boot device, over the cached BIOS-data record: setters
// change the cached copy and mark it changed; commitBiosData writes it with its checksum. The
// boot device is handed out as an id (a virtual drive's VdIdZpr, a drive's device id), which the
// Adapter element turns into a model element.
#include "PavUtil/Memory.h"
#include "RaidManager/PhysicalDevice.h"
#include "RaidManager/RaidElementId.h"
#include "RaidManager/VirtualDisk.h"
#include "RaidManager/Zpr/AdapterDataZpr.h"
#include "RaidManager/Zpr/Records/Controller/ZprBiosData.h"

template <typename F>
int AdapterDataZpr::changeBios(F change)
{
    int status = loadRecord(BIOS_DATA);
    if (status == 0) {
        ZprBiosData bios(records[BIOS_DATA], ZprBiosData::SIZE);
        change(bios);
        biosDataChanged = true;
    }
    return status;
}

int AdapterDataZpr::changeBiosData(uint16_t bootDevice, bool physical)
{
    return changeBios([=](ZprBiosData& bios) { bios.setBootDevice(bootDevice, physical); });
}

int AdapterDataZpr::isBiosStopOnError(uint8_t* stop)
{
    int status = loadRecord(BIOS_DATA);
    // Error modes 2 (ignore) and 3 (safe mode) do not stop either.
    if (status == 0 && stop != nullptr)
        *stop = ZprBiosData(records[BIOS_DATA], ZprBiosData::SIZE).errorHandling() == 0 ? 1 : 0;
    return status;
}

int AdapterDataZpr::setBiosStopOnError(uint8_t stop)
{
    // 0 stops on errors, 1 pauses (bypass).
    return changeBios([=](ZprBiosData& bios) { bios.setErrorHandling(stop != 0 ? 0 : 1); });
}

int AdapterDataZpr::getKeyManagementMode(uint8_t* mode)
{
    int status = loadRecord(BIOS_DATA);
    if (status == 0 && mode != nullptr)
        *mode = ZprBiosData(records[BIOS_DATA], ZprBiosData::SIZE).keyManagementMode();
    return status;
}

int AdapterDataZpr::setBootVirtualDrive(VirtualDisk* vd)
{
    VdId* id = vd != nullptr ? dynamic_cast<VdId*>(vd->getId()) : nullptr;
    if (id == nullptr)
        return -1;
    return changeBiosData(id->getTargetId16(), false);
}

int AdapterDataZpr::setBootPhysicalDrive(PhysicalDevice* pd)
{
    if (pd == nullptr)
        return -1;
    uint16_t deviceId = 0;
    int status = pd->getDeviceId(&deviceId);
    if (status != 0)
        return status;
    return changeBiosData(deviceId, true);
}

// Whichever virtual drive is given, the boot device is cleared.
int AdapterDataZpr::clearBootVirtualDrive(VirtualDisk*)
{
    return changeBiosData(ZprBiosData::BOOT_DEVICE_WRITE_NONE, false);
}

int AdapterDataZpr::clearBootPhysicalDrive(PhysicalDevice* pd)
{
    if (pd == nullptr)
        return -1;
    uint16_t deviceId = 0;
    int status = pd->getDeviceId(&deviceId);
    if (status != 0)
        return status;
    return changeBiosData(ZprBiosData::BOOT_DEVICE_WRITE_NONE, false);
}

int AdapterDataZpr::getBootVirtualDrive(VdIdZpr** id)
{
    if (id == nullptr)
        return -1;
    int status = loadRecord(BIOS_DATA);
    if (status != 0)
        return status;
    *id = nullptr;
    const ZprBiosData bios(records[BIOS_DATA], ZprBiosData::SIZE);
    if (bios.bootDevice() == ZprBiosData::BOOT_DEVICE_READ_NONE || bios.bootIsPhysical())
        return 0;
    *id = new (noThrowNew) VdIdZpr(bios.bootDevice(), VdIdZpr::SEQUENCE_UNKNOWN);
    return *id != nullptr ? 0 : -1;
}

int AdapterDataZpr::getBootPhysicalDrive(uint16_t* deviceId)
{
    int status = loadRecord(BIOS_DATA);
    if (status != 0)
        return status;
    const ZprBiosData bios(records[BIOS_DATA], ZprBiosData::SIZE);
    if (bios.bootDevice() == ZprBiosData::BOOT_DEVICE_READ_NONE || !bios.bootIsPhysical())
        return 0;
    if (deviceId == nullptr)
        return -1;
    *deviceId = bios.bootDevice();
    return 0;
}
