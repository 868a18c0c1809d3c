// The enclosure list, through the controller's data cache and the RAID model's enclosure
// questions (the count, each id, the only enclosure).
#include "FirmwareFuzz.h"
#include "FuzzSupport.h"

#include "DataProvider/DcmdOpcodes.h"
#include "PavUtil/IgnoreStatus.h"
#include "RaidManager/RaidManager.h"
#include "RaidManager/RmData.h"
#include "RaidManager/Zpr/ZprData.h"
#include "RaidManager/Zpr/Records/Drive/ZprEnclosureList.h"

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    quietConsole();
    forbidPlatformCalls();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzedFirmware fw(data, size, layout::ENCLOSURE_LIST);
    volatile unsigned sink = 0;
    ZprData* cache = ZprData::instance(&fw.controller);
    uint8_t* list = nullptr;
    if (cache != nullptr && cache->getEnclosureList(&list) == 0 && list != nullptr) {
        ZprEnclosureList enclosures(list, ZprEnclosureList::SIZE);
        for (uint32_t i = 0; i < enclosures.entryCount(); ++i)
            sink = sink + enclosures.entry(i).deviceId() + enclosures.entry(i).property();
    }
    delete[] list;
    ZprData::releaseAll();

    RaidManager* manager = getRaidManager(&fw.controller);
    if (manager != nullptr && manager->refresh() == 0) {
        RmData* model = manager->getRmData();
        uint32_t count = 0;
        if (model != nullptr && model->getEnclosureCount(&count) == 0) {
            // One past the end as well: an index beyond the count must be refused, not read.
            for (uint32_t i = 0; i <= count && i <= ZprEnclosureList::MAX_ENTRIES; ++i) {
                uint16_t id = 0;
                if (model->getEnclosureId(i, &id) == 0)
                    sink = sink + id;
            }
        }
        uint16_t only = 0;
        ignoreStatus(manager->getOnlyEnclosureId(&only),
                     "the fuzzer exercises the read; its answer does not matter");
    }
    releaseRaidManagers();
    ZprData::releaseAll();
    return 0;
}
