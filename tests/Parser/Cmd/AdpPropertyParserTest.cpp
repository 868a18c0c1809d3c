// The controller property parser: every property word with its values and ranges.
#include "LineParseSupport.h"

#include "Parser/AdpParsedObjects.h"

namespace {

std::string property(const AdpPropertyPo& request)
{
    return head(request) + " property=" + std::to_string(request.getProperty()) +
           " values=" + std::to_string(request.getValue()) + "," + std::to_string(request.getValue2()) + "," +
           std::to_string(request.getValue3()) + "," + std::to_string(request.getValue4());
}

}  // namespace

TEST(AdpPropertyParser, NumberedPropertiesWithTheirRanges)
{
    expectLines<AdpPropertyPo>({
        {"-AdpSetProp RebuildRate 100 -a0", {"token=11 adapter=0 property=272 values=100,255,255,255"}},
        {"-AdpSetProp RebuildRate 30 -aALL", {"token=11 adapter=252 property=272 values=30,255,255,255"}},
        {"-AdpSetProp RebuildRate 101 -a0", REFUSED},
        {"-AdpGetProp RebuildRate -a0,1",
         {"token=12 adapter=0 property=272 values=-1,255,255,255",
          "token=12 adapter=1 property=272 values=-1,255,255,255"}},
        {"-AdpSetProp CoercionMode 2 -a0", {"token=11 adapter=0 property=279 values=2,255,255,255"}},
        {"-AdpSetProp CoercionMode 3 -a0", REFUSED},
        {"-AdpSetProp AutoDetectBackPlaneDsbl 3 -a0", {"token=11 adapter=0 property=290 values=3,255,255,255"}},
        {"-AdpSetProp AutoDetectBackPlaneDsbl 4 -a0", REFUSED},
        {"-AdpSetProp CacheFlushInterval 255 -a0", {"token=11 adapter=0 property=283 values=255,255,255,255"}},
        {"-AdpSetProp CacheFlushInterval 256 -a0", REFUSED},
        {"-AdpSetProp SpinDownTime 65535 -a0", {"token=11 adapter=0 property=311 values=65535,255,255,255"}},
        {"-AdpSetProp SpinDownTime 65536 -a0", REFUSED},
        {"-AdpSetProp EnableJBOD 1 -a0", {"token=11 adapter=0 property=260 values=1,255,255,255"}},
        {"-AdpSetProp EnableJBOD 2 -a0", REFUSED},
        // Compared as an unsigned number: the largest number the scanner gives is out of range.
        {"-AdpSetProp ForceSGPIO 2147483647 -a0", REFUSED},
        {"-AdpGetProp DisableLdPSInterval -a0", {"token=12 adapter=0 property=604 values=-1,255,255,255"}},
        {"-AdpGetProp PerfModeValues -a0", {"token=12 adapter=0 property=639 values=-1,255,255,255"}},
        {"-AdpSetProp RebuildRate -a0", REFUSED_BY_GRAMMAR},
    }, property);
}

TEST(AdpPropertyParser, FixedCodeWordsGiveTheirCodeForEitherCommandWord)
{
    expectLines<AdpPropertyPo>({
        {"-AdpSetProp AlarmEnbl -a0", {"token=11 adapter=0 property=284 values=1,255,255,255"}},
        {"-AdpSetProp AlarmDsbl -a0", {"token=11 adapter=0 property=284 values=0,255,255,255"}},
        {"-AdpSetProp AlarmSilence -a0", {"token=11 adapter=0 property=284 values=2,255,255,255"}},
        {"-AdpGetProp AlarmDsply -a0", {"token=12 adapter=0 property=284 values=3,255,255,255"}},
        {"-AdpSetProp NCQEnbl -a0", {"token=11 adapter=0 property=4176 values=0,255,255,255"}},
        {"-AdpSetProp NCQDsbl -a0", {"token=11 adapter=0 property=4176 values=1,255,255,255"}},
        {"-AdpGetProp NCQDsply -a0", {"token=12 adapter=0 property=4176 values=2,255,255,255"}},
        {"-AdpSetProp AutoEnhancedImportEnbl -a0", {"token=11 adapter=0 property=4177 values=1,255,255,255"}},
        {"-AdpSetProp AutoEnhancedImportDsbl -a0", {"token=11 adapter=0 property=4177 values=0,255,255,255"}},
        {"-AdpGetProp AutoEnhancedImportDsply -a0", {"token=12 adapter=0 property=4177 values=2,255,255,255"}},
        {"-AdpGetProp EccBucketCount -a0", {"token=12 adapter=0 property=288 values=0,255,255,255"}},
        {"-AdpGetProp WBSupport -a0", {"token=12 adapter=0 property=345 values=0,255,255,255"}},
        {"-AdpSetProp SecureAllPDs 1 -a0", REFUSED},
        {"-AdpGetProp SecurityKeyPerPD -a0", REFUSED},
    }, property);
}

TEST(AdpPropertyParser, PolicyPowerSavingTimesAndSnapshotSpace)
{
    expectLines<AdpPropertyPo>({
        {"-AdpSetProp DefaultLdPSPolicy None -a0", {"token=11 adapter=0 property=599 values=254,255,255,255"}},
        {"-AdpSetProp -DefaultLdPSPolicy -Maximum -a0", {"token=11 adapter=0 property=599 values=2,255,255,255"}},
        {"-AdpSetProp DefaultLdPSPolicy Automatic -a0", {"token=11 adapter=0 property=599 values=1,255,255,255"}},
        {"-AdpSetProp DefaultLdPSPolicy MaximumWithoutCaching -a0",
         {"token=11 adapter=0 property=599 values=6,255,255,255"}},
        {"-AdpSetProp -DisableLdPS -interval 6 -time 22 -a0", {"token=11 adapter=0 property=600 values=6,255,22,255"}},
        {"-AdpGetProp DisableLdPS -a0", {"token=12 adapter=0 property=600 values=-1,255,255,255"}},
        {"-AdpSetProp DefaultSnapshotSpace 150 % -a0", {"token=11 adapter=0 property=390 values=150,255,255,255"}},
        {"-AdpSetProp AutoSnapshotSpace 7 % -a1", {"token=11 adapter=1 property=389 values=7,255,255,255"}},
        {"-AdpSetProp DefaultViewSpace 1000 % -a0", {"token=11 adapter=0 property=388 values=1000,255,255,255"}},
    }, property);
}

TEST(AdpPropertyParser, PerformanceModeAndItsExtraNumbers)
{
    expectLines<AdpPropertyPo>({
        {"-AdpSetProp PerfMode 1 -a0", {"token=11 adapter=0 property=636 values=1,255,255,255"}},
        {"-AdpSetProp PerfMode 2 -a0", REFUSED},
        {"-AdpSetProp PerfMode 1 MaxFlushLines 10 NumIOsToOrder 2 -a1",
         {"token=11 adapter=1 property=636 values=1,10,2,255"}},
        {"-AdpSetProp PerfMode 0 MaxFlushLines 7 MaxPDLatencyMS 30 -a0",
         {"token=11 adapter=0 property=636 values=0,7,255,30"}},
        // A MaxFlushLines of 255 reads as not given.
        {"-AdpSetProp PerfMode 1 MaxFlushLines 255 MaxPDLatencyMS 3 -a0",
         {"token=11 adapter=0 property=636 values=1,255,255,255"}},
        {"-AdpSetProp PerfMode 1 MaxFlushLines 255 NumIOsToOrder 5 -a0",
         {"token=11 adapter=0 property=636 values=1,255,5,255"}},
        {"-AdpSetProp PerfMode 1 MaxFlushLines 10 NumIOsToOrder 300 -a0",
         {"token=11 adapter=0 property=636 values=1,10,300,255"}},
        // Numbers that do not fit their byte are refused, never cut (300 would be 44).
        {"-AdpSetProp PerfMode 1 MaxFlushLines 300 NumIOsToOrder 5 -a0", REFUSED},
        {"-AdpSetProp PerfMode 0 MaxFlushLines 7 MaxPDLatencyMS 300 -a0", REFUSED},
        {"-AdpSetProp PerfMode 0 MaxFlushLines 256 MaxPDLatencyMS 1 -a0", REFUSED},
        {"-AdpSetProp PerfMode 0 MaxFlushLines 1 MaxPDLatencyMS 256 -a0", REFUSED},
    }, property);
}

// Every numbered property word: shown with -AdpGetProp, set at its largest value, refused one
// above. The limits are the properties' own.
TEST(AdpPropertyParser, EveryNumberedWordShownSetAndRefusedAboveItsLimit)
{
    struct Word {
        const char* word;
        int code;
        int limit;
    } words[] = {
        {"EnableJBOD", 260, 1}, {"DsblCacheBypass", 261, 1}, {"RebuildRate", 272, 100},
        {"PatrolReadRate", 273, 100}, {"BgiRate", 274, 100}, {"CCRate", 275, 100}, {"ReconRate", 276, 100},
        {"SpinupDriveCount", 277, 255}, {"SpinupDelay", 278, 255}, {"CoercionMode", 279, 2},
        {"DiskWriteCacheEnable", 280, 65535}, {"PredFailPollInterval", 281, 65535}, {"ClusterEnable", 282, 1},
        {"CacheFlushInterval", 283, 255}, {"BatWarnDsbl", 285, 1}, {"EccBucketSize", 286, 255},
        {"EccBucketLeakRate", 287, 65535}, {"AbortCCOnError", 289, 1}, {"AutoDetectBackPlaneDsbl", 290, 3},
        {"DisableOCR", 294, 1}, {"BootWithPinnedCache", 295, 1}, {"RstrHotSpareOnInsert", 303, 1},
        {"SSDSMARTCpyBkEnbl", 306, 1}, {"EnblSpinDownUnConfigDrvs", 307, 1},
        {"MaintainPdFailHistoryEnbl", 308, 1}, {"PrCorrectUncfgdAreas", 309, 1}, {"DsblSpinDownHSP", 310, 1},
        {"SpinDownTime", 311, 65535}, {"ExposeEnclDevicesEnbl", 335, 1}, {"UseDiskActivityforLocate", 512, 1},
        {"CopyBackDsbl", 570, 1}, {"SMARTCpyBkEnbl", 571, 1}, {"LoadBalanceMode", 572, 1},
        {"UseFDEOnlyEncrypt", 573, 1}, {"SpinUpEncDrvCnt", 602, 65535}, {"SpinUpEncDelay", 603, 65535},
        {"DPMEnable", 616, 1}, {"EnableEGHSP", 629, 65535}, {"EnableEUG", 630, 65535},
        {"EnableESMARTer", 631, 65535}, {"PreventPIImport", 632, 1}, {"EnblPI", 633, 1},
        {"SupportSSDPatrolRead", 648, 1}, {"ForceSGPIO", 652, 1},
    };
    for (const Word& w : words) {
        std::string code = std::to_string(w.code);
        std::string limit = std::to_string(w.limit);
        expectLines<AdpPropertyPo>({
            {std::string("-AdpGetProp ") + w.word + " -a0",
             {"token=12 adapter=0 property=" + code + " values=-1,255,255,255"}},
            {std::string("-AdpSetProp ") + w.word + " " + limit + " -a0",
             {"token=11 adapter=0 property=" + code + " values=" + limit + ",255,255,255"}},
            {std::string("-AdpSetProp ") + w.word + " " + std::to_string(w.limit + 1) + " -a0", REFUSED},
        }, property);
    }
}
