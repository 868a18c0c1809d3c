#include "RaidManager/RmCfg.h"

#include "PavUtil/IgnoreStatus.h"
#include "RaidManager/Array.h"
#include "RaidManager/DiskGroup.h"
#include "RaidManager/PhysicalDevice.h"
#include "RaidManager/Spare.h"
#include "RaidManager/VirtualDisk.h"

namespace {

template <class T>
void deleteWithElements(ArrayList<T*>*& list)
{
    for (unsigned char i = 0; list != nullptr && i < list->count(); ++i)
        delete list->get(i);
    delete list;
    list = nullptr;
}

}  // namespace

RmCfg::RmCfg()
    : diskGroups(nullptr), arrays(nullptr), vds(nullptr), spares(nullptr), foreignBuffer(nullptr), foreign(0),
      ownedSpares(nullptr)
{
}

RmCfg::~RmCfg()
{
    if (foreign == 1)
        unlinkDrives();
    // Arrays first: an array takes itself out of the array lists of its spares, which must
    // still be alive then.
    deleteArrays();
    deleteDiskGroups();
    deleteVds();
    delete spares;
    spares = nullptr;
    deleteSpares();
    delete[] foreignBuffer;
}

void RmCfg::unlinkDrives()
{
    for (unsigned char a = 0; arrays != nullptr && a < arrays->count(); ++a) {
        ArrayList<PhysicalDevice*>* pds = nullptr;
        if (arrays->get(a)->getPdList(&pds) != 0 || pds == nullptr)
            continue;
        for (unsigned char i = 0; i < pds->count(); ++i) {
            Array* of = nullptr;
            if (pds->get(i)->getArray(&of) == 0 && of == arrays->get(a))
                ignoreStatus(pds->get(i)->setArray(nullptr), "a setter of the snapshot: always 0");
        }
    }
    for (unsigned char s = 0; ownedSpares != nullptr && s < ownedSpares->count(); ++s) {
        PhysicalDevice* pd = nullptr;
        if (ownedSpares->get(s)->getPd(&pd) == 0 && pd != nullptr && pd->getSpare() == ownedSpares->get(s))
            ignoreStatus(pd->setSpare(nullptr), "a setter of the snapshot: always 0");
    }
}

void RmCfg::deleteArrays()
{
    deleteWithElements(arrays);
}

void RmCfg::deleteDiskGroups()
{
    deleteWithElements(diskGroups);
}

void RmCfg::deleteVds()
{
    deleteWithElements(vds);
}

void RmCfg::deleteSpares()
{
    deleteWithElements(ownedSpares);
}

void RmCfg::setDiskGroups(ArrayList<DiskGroup*>* list)
{
    if (list != diskGroups)
        deleteDiskGroups();
    diskGroups = list;
}

void RmCfg::setArrays(ArrayList<Array*>* list)
{
    if (list != arrays)
        deleteArrays();
    arrays = list;
}

void RmCfg::setVds(ArrayList<VirtualDisk*>* list)
{
    if (list != vds)
        deleteVds();
    vds = list;
}

void RmCfg::setSpares(ArrayList<Spare*>* list)
{
    if (list != spares)
        delete spares;
    spares = list;
}

int RmCfg::adoptSpare(Spare* spare)
{
    if (spare == nullptr)
        return -1;
    return appendToList(ownedSpares, spare);
}

void RmCfg::setForeignBuffer(uint8_t* buffer)
{
    if (buffer != foreignBuffer)
        delete[] foreignBuffer;
    foreignBuffer = buffer;
}
