#include "RaidManager/Array.h"

#include <cstdio>

#include "PavUtil/IgnoreStatus.h"
#include "RaidManager/PhysicalDevice.h"
#include "RaidManager/Spare.h"

ArrayData::~ArrayData() {}

Array::Array(ArrayData* data, Controller* controller)
    : RaidElement(data, controller), arrayData(data), pds(nullptr), vds(nullptr), diskGroup(nullptr),
      spares(nullptr)
{
}

Array::~Array()
{
    for (unsigned char i = 0; spares != nullptr && i < spares->count(); ++i) {
        Spare* spare = spares->get(i);
        ArrayList<Array*>* served = nullptr;
        if (spare == nullptr || spare->getArrays(&served) != 0 || served == nullptr)
            continue;
        for (unsigned char j = 0; j < served->count(); ++j)
            if (served->get(j) == this) {
                served->removeAt(j);
                break;
            }
    }
    delete spares;
    delete vds;
    delete pds;
}

namespace {

template <class T>
int countOf(const ArrayList<T>* list)
{
    return list == nullptr ? 0 : list->count();
}

}  // namespace

string Array::toString()
{
    char line[64];
    string text = dataText();
    snprintf(line, sizeof line, "Number of PDs: %d\n", countOf(pds));
    text += line;
    snprintf(line, sizeof line, "Number of VDs: %d\n", countOf(vds));
    text += line;
    snprintf(line, sizeof line, "Number of dedicated Hotspares: %d\n", countOf(spares));
    text += line;
    return text;
}

int Array::addPd(PhysicalDevice* pd)
{
    return appendToList(pds, pd);
}

int Array::addVirtualDisk(VirtualDisk* vd)
{
    return appendToList(vds, vd);
}

int Array::addSpare(Spare* spare)
{
    return appendToList(spares, spare);
}

int Array::setDiskGroup(DiskGroup* group)
{
    diskGroup = group;
    return 0;
}

int Array::requireRecord()
{
    if (arrayData == nullptr)
        return -1;
    uint8_t none = 1;
    int status = arrayData->hasNoRecord(&none);
    if (status != 0)
        return status;
    return none == 1 ? -1 : 0;
}

int Array::getPdList(ArrayList<PhysicalDevice*>** list)
{
    if (requireRecord() != 0 || pds == nullptr)
        return -1;
    if (list != nullptr)
        *list = pds;
    return 0;
}

int Array::getVdList(ArrayList<VirtualDisk*>** list)
{
    if (vds == nullptr)
        return -1;
    if (list != nullptr)
        *list = vds;
    return 0;
}

int Array::getSpares(ArrayList<Spare*>** list)
{
    if (list != nullptr)
        *list = spares;
    return 0;
}

int Array::getDiskGroup(DiskGroup** group)
{
    if (diskGroup == nullptr)
        return -1;
    if (group != nullptr)
        *group = diskGroup;
    return 0;
}

int Array::hasNoRecord(uint8_t* answer)
{
    return arrayData == nullptr ? -1 : arrayData->hasNoRecord(answer);
}

int Array::getSize(uint64_t* blocks)
{
    int status = requireRecord();
    return status != 0 ? status : arrayData->getSize(blocks);
}

int Array::getArrayRef(uint16_t* arrayRef)
{
    int status = requireRecord();
    return status != 0 ? status : arrayData->getArrayRef(arrayRef);
}

int Array::getMaxVdsPerArray(uint8_t* count)
{
    int status = requireRecord();
    return status != 0 ? status : arrayData->getMaxVdsPerArray(count);
}

int Array::getSmallestPdSize(uint64_t* blocks)
{
    ArrayList<PhysicalDevice*>* list = nullptr;
    int status = getPdList(&list);
    if (status != 0)
        return status;
    uint64_t smallest = 0;
    for (unsigned char i = 0; i < list->count(); ++i) {
        PhysicalDevice* pd = list->get(i);
        uint8_t unavailable = 1;
        if (pd != nullptr)
            ignoreStatus(pd->isInfoUnavailable(&unavailable),
                         "always 0; the answer says whether the information was read");
        if (unavailable != 0)
            continue;
        uint64_t size = 0;
        status = pd->getCoercedSize(&size);
        if (status != 0)
            return status;
        if (smallest == 0 || size < smallest)
            smallest = size;
    }
    if (blocks != nullptr)
        *blocks = smallest;
    return 0;
}

int Array::setSizeToSmallestPd()
{
    uint64_t smallest = 0;
    int status = getSmallestPdSize(&smallest);
    if (status != 0)
        return status;
    return arrayData->setSize(smallest);
}

int Array::hasForeignPd(uint8_t* answer)
{
    ArrayList<PhysicalDevice*>* list = nullptr;
    int status = getPdList(&list);
    if (status != 0)
        return status;
    return findAnswerOne(list, answer, [](PhysicalDevice* pd, uint8_t* foreign) {
        uint8_t unavailable = 1;
        if (pd != nullptr)
            ignoreStatus(pd->isInfoUnavailable(&unavailable),
                         "always 0; the answer says whether the information was read");
        return unavailable == 1 ? 0 : pd->isForeign(foreign);
    });
}

int Array::hasForeignPdIfRecorded(Array* array, uint8_t* answer)
{
    if (array == nullptr)
        return -1;
    uint8_t none = 0;
    int status = array->hasNoRecord(&none);
    if (status != 0 || none == 1)
        return status;
    return array->hasForeignPd(answer);
}

ArrayHmg::ArrayHmg(ArrayData* data, Controller* controller) : Array(data, controller) {}

ArrayHmg::~ArrayHmg() {}

RaidElement* ArrayHmg::create(RaidElementData* data, Controller* controller)
{
    return createElementOver<ArrayHmg, ArrayData>(data, controller);
}

bool ArraySpaceInfo::equals(const ArraySpaceInfo* other) const
{
    return other != nullptr && other->start == start && other->size == size;
}

string ArraySpaceInfo::toString() const
{
    char text[160];
    snprintf(text, sizeof text, "Start: 0x%llx(%lldMB)\t Size: 0x%llx(%lldMB) \n", static_cast<unsigned long long>(start),
             static_cast<long long>(start >> 11), static_cast<unsigned long long>(size),
             static_cast<long long>(size >> 11));
    return string(text);
}
