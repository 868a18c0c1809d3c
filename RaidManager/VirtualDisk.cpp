#include "RaidManager/VirtualDisk.h"

#include "RaidManager/Array.h"
#include "RaidManager/PhysicalDevice.h"
#include "RaidManager/Span.h"
#include "RaidManager/Spare.h"

VdData::~VdData() {}

VirtualDisk::VirtualDisk(VdData* data, Controller* controller)
    : RaidElement(data, controller), vdData(data), dedicatedSpares(nullptr)
{
}

VirtualDisk::~VirtualDisk()
{
    delete dedicatedSpares;
}

string VirtualDisk::toString()
{
    return dataText();
}

RaidElement* VirtualDisk::create(RaidElementData* data, Controller* controller)
{
    return createElementOver<VirtualDisk, VdData>(data, controller);
}

namespace {

// True when a spare in `list` has a drive with the device id `deviceId`.
bool hasSpareOfDrive(const ArrayList<Spare*>* list, uint16_t deviceId)
{
    for (unsigned char i = 0; i < list->count(); ++i) {
        PhysicalDevice* pd = nullptr;
        uint16_t id = 0;
        if (list->get(i)->getPd(&pd) == 0 && pd != nullptr && pd->getDeviceId(&id) == 0 && id == deviceId)
            return true;
    }
    return false;
}

}  // namespace

int VirtualDisk::getDedicatedSpares(ArrayList<Spare*>** spares)
{
    if (dedicatedSpares != nullptr) {
        *spares = dedicatedSpares;
        return 0;
    }
    ArrayList<Span*>* spans = nullptr;
    int status = getSpans(&spans);
    if (status != 0)
        return status;
    ArrayList<Spare*>* found = new (noThrowNew) ArrayList<Spare*>(4);
    if (found == nullptr)
        return -1;
    for (unsigned char s = 0; spans != nullptr && s < spans->count(); ++s) {
        Array* array = nullptr;
        ArrayList<Spare*>* arraySpares = nullptr;
        Span* span = spans->get(s);
        if (span == nullptr || (status = span->getArray(&array)) != 0 || array == nullptr ||
            (status = array->getSpares(&arraySpares)) != 0 || arraySpares == nullptr)
            continue;
        for (unsigned char i = 0; i < arraySpares->count(); ++i) {
            Spare* spare = arraySpares->get(i);
            PhysicalDevice* pd = nullptr;
            uint16_t id = 0;
            if (spare == nullptr || (status = spare->getPd(&pd)) != 0 || pd == nullptr || pd->getDeviceId(&id) != 0)
                continue;
            if (!hasSpareOfDrive(found, id))
                found->add(spare);
        }
    }
    if (found->count() == 0) {
        delete found;
        found = nullptr;
    }
    dedicatedSpares = found;
    *spares = dedicatedSpares;
    return status;
}

int VirtualDisk::hasForeignPd(uint8_t* answer)
{
    ArrayList<Span*>* spans = nullptr;
    int status = getSpans(&spans);
    if (status != 0)
        return status;
    if (spans == nullptr)
        return -1;
    return findAnswerOne(spans, answer, [](Span* span, uint8_t* foreign) {
        Array* array = nullptr;
        if (span == nullptr)
            return -1;
        int lookup = span->getArray(&array);
        return lookup != 0 ? lookup : Array::hasForeignPdIfRecorded(array, foreign);
    });
}
