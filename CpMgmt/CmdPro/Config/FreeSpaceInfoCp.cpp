#include "CpMgmt/CmdPro/Config/FreeSpaceInfoCp.h"

#include "CpMgmt/CmdPro/AdpCpSteps.h"
#include "CpMgmt/CpFactoryRegistry.h"
#include "Parser/CfgParsedObjects.h"
#include "Parser/TokenIds.h"
#include "PavUtil/SizeFormat.h"
#include "RaidManager/Array.h"
#include "RaidManager/DiskGroup.h"
#include "RaidManager/RaidManager.h"

void FreeSpaceInfoCp::deleteExtentList(ArrayList<ArraySpaceInfo*>* extents)
{
    if (extents == nullptr)
        return;
    for (unsigned char i = 0; i < extents->count(); ++i)
        delete extents->get(i);
    delete extents;
}

int FreeSpaceInfoCp::process(CpController* cpController, ParsedObject* request)
{
    CpStart<FreeSpaceInfoParsedObject> start(cpController, request, "FreeSpaceInfoParsedObject *",
                                             CP_NEEDS_REFRESHED_MODEL);
    if (!start)
        return start.result();
    ArrayList<DiskGroup*>* groups = nullptr;
    int status = takeDiskGroups(start.manager(), &groups);
    if (status != 0)
        return status;
    printMessage(MSG_DISK_GROUP_COUNT, static_cast<int>(groups->count()));
    for (unsigned char i = 0; i < groups->count(); ++i) {
        ArrayList<Array*>* arrays = nullptr;
        if (groups->get(i) == nullptr || groups->get(i)->getArrays(&arrays) != 0 || arrays == nullptr) {
            printMessage(MSG_GET_FAILED, "Array list");
            return -1;
        }
        printMessage(MSG_DISK_GROUP_SPANS, static_cast<int>(i), static_cast<int>(arrays->count()));
        for (unsigned char j = 0; j < arrays->count(); ++j) {
            if (arrays->get(j) == nullptr) {
                printMessage(MSG_GET_FAILED, "Array");
                return -1;
            }
            showSpan(j, arrays->get(j));
        }
    }
    return 0;
}

void FreeSpaceInfoCp::showSpan(unsigned spanIndex, Array* array)
{
    ArrayList<ArraySpaceInfo*>* extents = nullptr;
    // Also when the array has no free extent: the span shows no slot.
    if (array->getFreeExtents(&extents) != 0 || extents == nullptr) {
        printMessage(MSG_FREE_SLOT_COUNT, static_cast<int>(spanIndex), 0);
        deleteExtentList(extents);
        return;
    }
    printMessage(MSG_FREE_SLOT_COUNT, static_cast<int>(spanIndex), static_cast<int>(extents->count()));
    ArrayHmg* hmg = dynamic_cast<ArrayHmg*>(array);
    uint64_t total = 0;
    char text[CAPACITY_TEXT_SIZE] = {};
    for (unsigned char k = 0; k < extents->count(); ++k) {
        uint64_t capacity = 0;
        ArraySpaceInfo* extent = extents->get(k);
        if (hmg == nullptr || extent == nullptr || hmg->getExtentCapacity(extent, &capacity) != 0)
            continue;
        if (extent->getVirtualDisk() != nullptr)
            printMessage(MSG_FREE_VD_SLOT, static_cast<int>(k));
        else
            printMessage(MSG_FREE_SLOT, static_cast<int>(k));
        printMessage(MSG_FREE_SPACE, static_cast<unsigned long long>(capacity));
        formatCapacity(capacity / 2, text);
        printMessage(MSG_FREE_BLOCKS, text);
        total += capacity;
    }
    printMessage(MSG_FREE_SPAN_TOTAL, static_cast<int>(spanIndex), static_cast<unsigned long long>(total));
    formatCapacity(total / 2, text);
    printMessage(MSG_FREE_TOTAL_BLOCKS, text);
    deleteExtentList(extents);
}

namespace {

const CpRegistration<FreeSpaceInfoCp> registration;

} // namespace
