// The logical-drive list and the target-id lists, through the controller's data cache and the
// exposer's list read; every entry a reader accepts is walked.
#include "FirmwareFuzz.h"
#include "FuzzSupport.h"

#include "ControllerMgmt/LinExpLd.h"
#include "DataProvider/DcmdOpcodes.h"
#include "RaidManager/Zpr/ZprData.h"
#include "RaidManager/Zpr/Records/LogicalDrive/ZprLdIdList.h"
#include "RaidManager/Zpr/Records/LogicalDrive/ZprLdList.h"

#include <vector>

namespace {

unsigned walk(const ZprLdList& list)
{
    unsigned sum = 0;
    for (uint32_t i = 0; i < list.entryCount(); ++i)
        sum += list.targetId(i) + list.sequenceNumber(i) + list.reference(i);
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
    FuzzedFirmware fw(data, size, layout::LD_LIST);
    volatile unsigned sink = 0;
    ZprData* cache = ZprData::instance(&fw.controller);
    if (cache != nullptr) {
        ZprLdList list;
        for (int pass = 0; pass < 2; ++pass)
            if (cache->getLdList(&list) == 0)
                sink = sink + walk(list);
        uint8_t* ids = nullptr;
        uint32_t idsSize = 0;
        if (cache->readLdIdList(DCMD_LD_LIST_QUERY, 0, &ids, &idsSize) == 0 && ids != nullptr) {
            ZprLdIdList idList(ids, idsSize);
            for (uint32_t i = 0; i < idList.entryCount(); ++i)
                sink = sink + idList.targetId(i);
        }
        delete[] ids;
    }
    std::vector<uint8_t> raw(ZprLdList::SIZE);
    if (LinExpLd::instance()->get_ld_list(&fw.controller, raw.data()) == 0)
        sink = sink + walk(ZprLdList(raw.data(), raw.size()));
    ZprData::releaseAll();
    return 0;
}
