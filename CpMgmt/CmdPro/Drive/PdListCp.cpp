#include "CpMgmt/CmdPro/Drive/PdListCp.h"

#include "CpMgmt/CmdPro/AdpCpSteps.h"
#include "CpMgmt/CpFactoryRegistry.h"
#include "Parser/ParsedObject.h"
#include "Parser/TokenIds.h"
#include "RaidManager/EnclosureIds.h"
#include "RaidManager/PhysicalDevice.h"
#include "RaidManager/RaidManager.h"

namespace {

const uint8_t SLOT_UNREADABLE = 255;

// The sort key of a drive: a value that cannot be read sorts after every readable one.
void sortKey(PhysicalDevice* drive, uint16_t* enclosure, uint8_t* slot)
{
    *enclosure = ENCLOSURE_ID_NONE;
    *slot = SLOT_UNREADABLE;
    if (drive == nullptr)
        return;
    uint16_t readEnclosure = 0;
    uint8_t readSlot = 0;
    if (drive->getEnclosureDeviceId(&readEnclosure) == 0)
        *enclosure = readEnclosure;
    if (drive->getSlotNumber(&readSlot) == 0)
        *slot = readSlot;
}

} // namespace

void printDriveBlocks(PhysicalDevice* drive)
{
    printMessage(MSG_TEXT, drive->toString().c_str());
    printMessage(MSG_TEXT, drive->formatStateDetails().c_str());
    printMessage(MSG_TEXT, drive->formatSecurityDetails().c_str());
}

int PdListCp::compareByEnclosureAndSlot(const void* a, const void* b)
{
    uint16_t enclosureA = 0;
    uint16_t enclosureB = 0;
    uint8_t slotA = 0;
    uint8_t slotB = 0;
    sortKey(*static_cast<PhysicalDevice* const*>(a), &enclosureA, &slotA);
    sortKey(*static_cast<PhysicalDevice* const*>(b), &enclosureB, &slotB);
    if (enclosureA != enclosureB)
        return enclosureA < enclosureB ? -1 : 1;
    return static_cast<int>(slotA) - static_cast<int>(slotB);
}

int PdListCp::process(CpController* cpController, ParsedObject* request)
{
    // Nothing of the request is read but the adapter number: a request of any class lists.
    CpPlainStart start(cpController, request, CP_NEEDS_REFRESHED_MODEL);
    if (!start)
        return -1;
    const uint8_t adapterNumber = start.number();
    ArrayList<PhysicalDevice*>* drives = nullptr;
    int status = start.manager()->getAllPds(&drives);
    if (status != 0) {
        printMessage(MSG_OPERATION_FAILED, static_cast<int>(adapterNumber), "get PD list");
        return status;
    }
    // The model's list keeps its order; the display sorts a list of its own.
    unsigned char count = drives != nullptr ? drives->count() : 0;
    ArrayList<PhysicalDevice*> shown(count > 0 ? count : 1);
    for (unsigned char i = 0; i < count; ++i)
        if (drives->get(i) != nullptr && shown.add(drives->get(i)) != 0)
            return -1;
    shown.sort(&PdListCp::compareByEnclosureAndSlot);
    // Each drive's place in the disk groups comes from the configuration: one that could not be
    // read would show configured drives as outside every disk group.
    ArrayList<DiskGroup*>* groups = nullptr;
    status = takeDiskGroups(start.manager(), &groups);
    if (status != 0)
        return status;
    printMessage(MSG_ADAPTER_HEADER, static_cast<int>(adapterNumber));
    for (unsigned char i = 0; i < shown.count(); ++i) {
        // A drive whose information cannot be read sorts last and is no empty block: its read is
        // named and ends the list.
        uint16_t state = 0;
        status = shown.get(i)->getFirmwareState(&state);
        if (status != 0)
            return start.failed("get PD info", status);
        printDriveBlocks(shown.get(i));
    }
    return 0;
}

namespace {

const CpRegistration<PdListCp> registration;

} // namespace
