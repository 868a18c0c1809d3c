// The configuration buffer and the drive lists, through the controller's data cache: the read
// (header, then the whole buffer), a reread, every record of an accepted buffer, and the
// lookups of a drive by enclosure and slot that join the two.
#include "FirmwareFuzz.h"
#include "FuzzSupport.h"

#include "DataProvider/DcmdOpcodes.h"
#include "RaidManager/Zpr/Records/Config/ZprConfigBuffer.h"
#include "RaidManager/Zpr/ZprData.h"
#include "RaidManager/Zpr/Records/Drive/ZprPdList.h"

namespace {

const uint32_t LOOKUPS = 2;

unsigned walk(const ZprConfigBuffer& config)
{
    unsigned sum = 0;
    char name[64];
    visitEnds(config.arrayCount(), [&](uint32_t a) {
        ZprArrayRecord array = config.arrayRecord(a);
        sum += array.arrayRef() + array.driveCount();
        for (uint32_t d = 0; d < array.driveEntryCount(); ++d)
            sum += array.drive(d).deviceId() + array.drive(d).state();
    });
    visitEnds(config.ldCount(), [&](uint32_t l) {
        ZprLdRecord ld = config.ldRecord(l);
        sum += ld.targetId() + static_cast<unsigned>(ld.name(name, sizeof name));
        for (uint32_t s = 0; s < ld.spanEntryCount(); ++s)
            sum += static_cast<unsigned>(ld.span(s).view().size());
    });
    visitEnds(config.spareCount(), [&](uint32_t s) { sum += config.spareRecord(s).deviceId(); });
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
    FuzzedFirmware fw(data, size, layout::CONFIG);
    ZprData* cache = ZprData::instance(&fw.controller);
    volatile unsigned sink = 0;
    if (cache != nullptr) {
        for (uint8_t reread = 0; reread < 2; ++reread) {
            ZprConfigBuffer config;
            if (cache->readConfig(&config, reread) == 0)
                sink = sink + walk(config);
        }
        ZprPdList drives;
        if (cache->getPdList(&drives) == 0) {
            // Each lookup walks the whole list: a few of them show the joins, all of them
            // would make a run quadratic in a count the input chooses.
            for (uint32_t i = 0; i < drives.entryCount() && i < LOOKUPS; ++i) {
                ZprPdListEntry entry = drives.entry(i);
                sink = sink + static_cast<unsigned>(cache->findDeviceId(entry.enclosureId(), entry.slotNumber()));
                sink = sink + static_cast<unsigned>(cache->findArrayOfDrive(entry.enclosureId(), entry.slotNumber()));
            }
        }
        sink = sink + static_cast<unsigned>(cache->findArrayOfDrive(0xFFFF, 0));
    }
    ZprData::releaseAll();
    return 0;
}
