// The drive list and the drive query's answer, each read in two passes by the controller's
// data cache and cached; every entry of an accepted list is walked.
#include "FirmwareFuzz.h"
#include "FuzzSupport.h"

#include "DataProvider/DcmdOpcodes.h"
#include "RaidManager/Zpr/ZprData.h"
#include "RaidManager/Zpr/Records/Drive/ZprPdList.h"

namespace {

unsigned entrySum(const ZprPdList& list, uint32_t index)
{
    ZprPdListEntry entry = list.entry(index);
    return entry.deviceId() + entry.enclosureId() + entry.enclosureIndex() + entry.slotNumber() + entry.deviceType();
}

unsigned walk(const ZprPdList& list)
{
    unsigned sum = 0;
    visitEnds(list.entryCount(), [&](uint32_t i) { sum += entrySum(list, i); });
    return sum;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    quietConsole();
    forbidPlatformCalls();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzedFirmware fw(data, size, layout::DRIVE_LIST);
    ZprData* cache = ZprData::instance(&fw.controller);
    volatile unsigned sink = 0;
    for (int pass = 0; cache != nullptr && pass < 2; ++pass) {
        ZprPdList list;
        if (cache->getPdList(&list) == 0)
            sink = sink + walk(list);
        ZprPdList query;
        if (cache->queryPdList(&query) == 0)
            sink = sink + walk(query);
    }
    ZprData::releaseAll();
    return 0;
}
