#include "CpMgmt/CmdPro/Adapter/AdpBootDriveCp.h"

#include "CpMgmt/CmdPro/AdpCpSteps.h"
#include "CpMgmt/CmdPro/ReadFailure.h"
#include "CpMgmt/CmdPro/VdSelection.h"
#include "CpMgmt/CpFactoryRegistry.h"
#include "CpMgmt/EnclosureIdText.h"
#include "Parser/AdpParsedObjects.h"
#include "Parser/TokenIds.h"
#include "RaidManager/Adapter.h"
#include "RaidManager/EnclSlotId.h"
#include "RaidManager/PhysicalDevice.h"
#include "RaidManager/RaidElementId.h"
#include "RaidManager/RaidManager.h"
#include "RaidManager/VirtualDisk.h"
#include "RaidManager/Zpr/Records/Drive/ZprDriveValues.h"

namespace {

// Loads the kept BIOS data, changes the boot device and writes it back; the first failure ends.
template <class Element>
int writeBootDevice(Adapter* adapter, Element* element, int (Adapter::*change)(Element*))
{
    int status = adapter->loadBiosData();
    if (status == 0)
        status = (adapter->*change)(element);
    if (status == 0)
        status = adapter->commitBiosData();
    return status;
}

// True when the list of the RAID manager holds the element (else the caller owns it).
bool isManagersVd(RaidManager* manager, VirtualDisk* vd)
{
    ArrayList<VirtualDisk*>* vds = nullptr;
    if (manager->getVds(&vds) != 0 || vds == nullptr)
        return false;
    for (unsigned char i = 0; i < vds->count(); ++i)
        if (vds->get(i) == vd)
            return true;
    return false;
}

}  // namespace

int AdpBootDriveCp::process(CpController* cpController, ParsedObject* request)
{
    CpPlainStart start(cpController, request, CP_NEEDS_REFRESHED_ADAPTER);
    if (!start)
        return -1;
    const uint8_t adapterNumber = start.number();
    RaidManager* manager = start.manager();
    Adapter* adapter = start.adapter();
    // The request's class is checked after the model is read, with the command's own message.
    AdpBootDriveParsedObject* own = dynamic_cast<AdpBootDriveParsedObject*>(request);
    if (own == nullptr)
        return start.failed("Adapter Boot drive", -1);
    if (own->getAction() == TOKEN_GET)
        return show(adapter, adapterNumber);
    ArrayList<EnclSlotId*>* drives = own->getDriveList();
    if (drives != nullptr && drives->count() > 0)
        return changeDrive(cpController, manager, adapter, own, adapterNumber);
    return changeVirtualDrive(manager, adapter, own, adapterNumber);
}

int AdpBootDriveCp::show(Adapter* adapter, uint8_t adapterNumber)
{
    const int number = static_cast<int>(adapterNumber);
    VirtualDisk* vd = nullptr;
    if (adapter->getBootVirtualDrive(&vd) != 0) {
        printMessage(MSG_BOOT_VD_GET_FAILED, number);
        return -1;
    }
    PhysicalDevice* pd = nullptr;
    if (adapter->getBootPhysicalDrive(&pd) != 0) {
        printMessage(MSG_BOOT_PD_GET_FAILED, number);
        return -1;
    }
    VdId* id = vd != nullptr ? dynamic_cast<VdId*>(vd->getId()) : nullptr;
    if (id != nullptr) {
        printMessage(MSG_BOOT_VD_SHOWN, number, static_cast<int>(id->getTargetId()), static_cast<int>(id->getTargetId16()));
        return 0;
    }
    uint16_t enclosure = 0;
    uint8_t slot = 0;
    if (pd != nullptr && pd->getEnclosureDeviceId(&enclosure) == 0 && pd->getSlotNumber(&slot) == 0) {
        printMessage(MSG_BOOT_PD_SHOWN, number, static_cast<int>(enclosure), static_cast<int>(slot));
        return 0;
    }
    printMessage(MSG_BOOT_NONE, number);
    return 0;
}

int AdpBootDriveCp::changeDrive(CpController* cpController, RaidManager* manager, Adapter* adapter,
                                AdpBootDriveParsedObject* request, uint8_t adapterNumber)
{
    const int number = static_cast<int>(adapterNumber);
    // Only the first drive of the list names the boot device.
    EnclSlotId* first = request->getDriveList()->get(0);
    unsigned short enclosure = first->getEnclosureId();
    const int resolved = CommandProcessor::resolveEnclosureId(cpController, &enclosure);
    if (resolved != 0)
        return resolved;
    EnclSlotId address(enclosure, first->getSlotNumber());
    const int slot = static_cast<int>(first->getSlotNumber());
    PhysicalDevice* pd = nullptr;
    if (const int read = manager->findPdByEnclSlot(&address, &pd))
        return driveUnreadable(adapterNumber, enclosure, first->getSlotNumber(), read);
    if (pd == nullptr) {
        printMessage(MSG_PD_NOT_FOUND, number, formatEnclosureId(enclosure), slot);
        return -1;
    }
    // A state that cannot be read is unknown, not "not JBOD".
    uint16_t state = 0;
    if (const int read = pd->getFirmwareState(&state))
        return driveUnreadable(adapterNumber, enclosure, first->getSlotNumber(), read);
    if (state != PD_STATE_JBOD) {
        printMessage(MSG_BOOT_PD_NOT_JBOD, number, formatEnclosureId(enclosure), slot);
        return -1;
    }
    const bool unset = request->getAction() == TOKEN_UNSET;
    const int status = writeBootDevice<PhysicalDevice>(adapter, pd, unset ? &Adapter::clearBootPhysicalDrive
                                                                          : &Adapter::setBootPhysicalDrive);
    if (status != 0) {
        printMessage(unset ? MSG_BOOT_PD_UNSET_FAILED : MSG_BOOT_PD_SET_FAILED, number);
        return -1;
    }
    printMessage(unset ? MSG_BOOT_PD_UNSET : MSG_BOOT_PD_SET, number);
    return 0;
}

int AdpBootDriveCp::changeVirtualDrive(RaidManager* manager, Adapter* adapter, AdpBootDriveParsedObject* request,
                                       uint8_t adapterNumber)
{
    const int number = static_cast<int>(adapterNumber);
    const uint8_t targetId = request->getLd();
    uint8_t count = 0;
    if (const int counted = readVdCount(manager, adapterNumber, &count))
        return counted;
    // Absent only when a configuration that was read lacks the drive; a read that fails
    // leaves it unknown and ends the command with that read's status.
    int unread = 0;
    if (!configHoldsTargetId(manager, adapterNumber, targetId, &unread))
        return unread != 0 ? unread : -1;
    VdIdZpr id(targetId, VdIdZpr::SEQUENCE_UNKNOWN);
    VirtualDisk* vd = nullptr;
    int status = manager->getVd(&id, &vd);
    if (status != 0)
        return vdUnreadable(adapterNumber, targetId, status);
    if (vd == nullptr) {
        printMessage(MSG_VD_NOT_FOUND, number, static_cast<int>(targetId));
        return -1;
    }
    const bool unset = request->getAction() == TOKEN_UNSET;
    status = writeBootDevice<VirtualDisk>(adapter, vd, unset ? &Adapter::clearBootVirtualDrive
                                                             : &Adapter::setBootVirtualDrive);
    VdId* own = dynamic_cast<VdId*>(vd->getId());
    const int targetId16 = own != nullptr ? static_cast<int>(own->getTargetId16()) : static_cast<int>(targetId);
    if (!isManagersVd(manager, vd))
        delete vd;
    if (status != 0) {
        printMessage(unset ? MSG_BOOT_VD_UNSET_FAILED : MSG_BOOT_VD_SET_FAILED, number);
        return -1;
    }
    printMessage(unset ? MSG_BOOT_VD_UNSET : MSG_BOOT_VD_SET, static_cast<int>(targetId), targetId16, number);
    return 0;
}

namespace {

const CpRegistration<AdpBootDriveCp> registration;

}  // namespace
