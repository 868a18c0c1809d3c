// The parsers of the event-log, battery, version and help commands.
#include "LineParseSupport.h"

#include "Parser/AdpParsedObjects.h"

namespace {

std::string eventLog(const AdpEventLogPo& request)
{
    return head(request) + " action=" + std::to_string(request.getAction()) +
           " filter=" + std::to_string(request.getClassFilter()) +
           " latest=" + std::to_string(request.getLatestCount()) + " file=" + request.getFileName().c_str() +
           " lds=" + byteList(request.getLdList()) + " following=" + std::to_string(request.getFollowingAdapter());
}

std::string battery(const AdpBbuPo& request)
{
    const unsigned char* block = request.getLearnSchedule();
    std::string schedule;
    for (int i = 0; i < AdpBbuPo::LEARN_SCHEDULE_SIZE; ++i)
        schedule += (i ? "," : "") + std::to_string(block[i]);
    return head(request) + " action=" + std::to_string(request.getAction()) + " file=" +
           request.getFileName().c_str() + " offset=" + std::to_string(request.getOffset()) +
           " bytes=" + std::to_string(request.getByteCount()) +
           " schedule=" + std::to_string(request.getScheduleAction()) + " day=" + std::to_string(request.learnDay) +
           " block=" + schedule;
}

std::string version(const AppVersionParsedObject& request)
{
    return head(request) + " topic=" + request.getHelpTopic().c_str();
}

const char* const NO_SCHEDULE = " schedule=0 day=255 block=255,255,0,0,255,0,0,0";

}  // namespace

TEST(AdpEventLogParser, ActionsFiltersFilesAndDrives)
{
    expectLines<AdpEventLogPo>({
        {"-AdpEventLog -GetEvents -a0", {"token=20 adapter=0 action=4 filter=0 latest=0 file= lds=none following=0"}},
        // One output file for every adapter: the first request starts it, the others append.
        {"-AdpEventLog -GetEvents -warning -info -f ev.txt -a0,1",
         {"token=20 adapter=0 action=4 filter=24 latest=0 file=ev.txt lds=none following=0",
          "token=20 adapter=1 action=4 filter=24 latest=0 file=ev.txt lds=none following=1"}},
        {"-AdpEventLog -GetLatest 20 -fatal -a0",
         {"token=20 adapter=0 action=6 filter=64 latest=20 file= lds=none following=0"}},
        {"-AdpEventLog -GetLatest 65535 -a0",
         {"token=20 adapter=0 action=6 filter=0 latest=65535 file= lds=none following=0"}},
        // A count beyond 16 bits is refused, not cut: 65556 would read as the latest 20.
        {"-AdpEventLog -GetLatest 65556 -fatal -a0", REFUSED},
        {"-AdpEventLog -GetCCIncon -f cc.txt -L0,2 -a0",
         {"token=20 adapter=0 action=7 filter=0 latest=0 file=cc.txt lds=0,2 following=0"}},
        {"-AdpEventLog -GetCCIncon -f cc.txt -LALL -a1",
         {"token=20 adapter=1 action=7 filter=0 latest=0 file=cc.txt lds=64 following=0"}},
        {"-AdpEventLog -GetCCIncon -f cc.txt -L256 -a0", REFUSED, "Invalid Logical Drive number.\n"},
        {"-AdpEventLog -Clear -aALL", {"token=20 adapter=252 action=0 filter=0 latest=0 file= lds=none following=0"}},
        {"-AdpEventLog -GetEventLogInfo -a2",
         {"token=20 adapter=2 action=3 filter=0 latest=0 file= lds=none following=0"}},
        {"-AdpEventLog -GetSinceReboot -critical -warning -info -fatal -a0",
         {"token=20 adapter=0 action=1 filter=120 latest=0 file= lds=none following=0"}},
        {"-AdpEventLog -GetSinceShutdown -f out.log -a0",
         {"token=20 adapter=0 action=2 filter=0 latest=0 file=out.log lds=none following=0"}},
        {"-AdpEventLog -IncludeDeleted -a0", {"token=20 adapter=0 action=5 filter=0 latest=0 file= lds=none following=0"}},
        {"-AdpEventLog -GetEvents -a0,251", REFUSED, "Invalid Adapter number.\n"},
    }, eventLog);
}

TEST(AdpBbuParser, SubCommandsAndTheirWords)
{
    expectLines<AdpBbuPo>({
        {"-AdpBbuCmd -a0", {std::string("token=64 adapter=0 action=10 file= offset=0 bytes=0") + NO_SCHEDULE}},
        {"-AdpBbuCmd -GetBbuStatus -aALL",
         {std::string("token=64 adapter=252 action=1 file= offset=0 bytes=0") + NO_SCHEDULE}},
        {"-AdpBbuCmd -GetBbuCapacityInfo -a0,1",
         {std::string("token=64 adapter=0 action=2 file= offset=0 bytes=0") + NO_SCHEDULE,
          std::string("token=64 adapter=1 action=2 file= offset=0 bytes=0") + NO_SCHEDULE}},
        {"-AdpBbuCmd -GetBbuDesignInfo -a0", {std::string("token=64 adapter=0 action=3 file= offset=0 bytes=0") + NO_SCHEDULE}},
        {"-AdpBbuCmd -BbuLearn -a0", {std::string("token=64 adapter=0 action=4 file= offset=0 bytes=0") + NO_SCHEDULE}},
        {"-AdpBbuCmd -GetBbuProperties -a0", {std::string("token=64 adapter=0 action=5 file= offset=0 bytes=0") + NO_SCHEDULE}},
        {"-AdpBbuCmd -SetBbuProperties -f bbu.txt -a0",
         {std::string("token=64 adapter=0 action=6 file=bbu.txt offset=0 bytes=0") + NO_SCHEDULE}},
        {"-AdpBbuCmd -BbuMfgSleep -a0", {std::string("token=64 adapter=0 action=7 file= offset=0 bytes=0") + NO_SCHEDULE}},
        {"-AdpBbuCmd -BbuMfgSeal -a0", {std::string("token=64 adapter=0 action=8 file= offset=0 bytes=0") + NO_SCHEDULE}},
        {"-AdpBbuCmd -getBbumodes -a0", {std::string("token=64 adapter=0 action=11 file= offset=0 bytes=0") + NO_SCHEDULE}},
    }, battery);
}

TEST(AdpBbuParser, GasGaugeOffsetAndCount)
{
    auto read = [](const char* offset, const char* bytes) {
        return std::vector<std::string>{std::string("token=64 adapter=0 action=9 file= offset=") + offset +
                                        " bytes=" + bytes + NO_SCHEDULE};
    };
    expectLines<AdpBbuPo>({
        {"-AdpBbuCmd -GetGGEEPData -Offset 0x1A -NumBytes 16 -a0", read("26", "16")},
        // Without an offset no word is left over to be reported as unexpected.
        {"-AdpBbuCmd -GetGGEEPData -NumBytes 16 -a0", read("0", "16")},
        {"-AdpBbuCmd -GetGGEEPData -Offset 1a -NumBytes 0 -a0", read("26", "0")},
        {"-AdpBbuCmd -GetGGEEPData -Offset 0XFFFFFFFF -NumBytes 2 -a0", read("4294967295", "2")},
        {"-AdpBbuCmd -GetGGEEPData -Offset 000000000010 -NumBytes 2 -a0", read("16", "2")},
        // An offset that is no 32-bit hexadecimal number is refused, not read in part or as 0.
        {"-AdpBbuCmd -GetGGEEPData -Offset 0x100000000 -NumBytes 2 -a0", REFUSED},
        {"-AdpBbuCmd -GetGGEEPData -Offset 0x1G -NumBytes 2 -a0", REFUSED},
        {"-AdpBbuCmd -GetGGEEPData -Offset zz -NumBytes 2 -a0", REFUSED},
        {"-AdpBbuCmd -GetGGEEPData -Offset 0x -NumBytes 2 -a0", REFUSED},
    }, battery);
}

TEST(AdpBbuParser, LearnSchedule)
{
    expectLines<AdpBbuPo>({
        {"-AdpBbuCmd -ScheduleLearn -STARTTIME mon 22 -a0",
         {"token=64 adapter=0 action=12 file= offset=0 bytes=0 schedule=3 day=1 block=255,255,0,0,22,0,0,0"}},
        {"-AdpBbuCmd -ScheduleLearn -STARTTIME SAT 0 -a0",
         {"token=64 adapter=0 action=12 file= offset=0 bytes=0 schedule=3 day=6 block=255,255,0,0,0,0,0,0"}},
        {"-AdpBbuCmd -ScheduleLearn -STARTTIME Sun 23 -a1",
         {"token=64 adapter=1 action=12 file= offset=0 bytes=0 schedule=3 day=0 block=255,255,0,0,23,0,0,0"}},
        {"-AdpBbuCmd -ScheduleLearn -STARTTIME Monday 22 -a0", REFUSED, "Invalid Day! Check help File.\n"},
        {"-AdpBbuCmd -ScheduleLearn -STARTTIME SUN 24 -a0", REFUSED, "Invalid Hour!\n"},
        {"-AdpBbuCmd -ScheduleLearn -Dsbl -a0",
         {std::string("token=64 adapter=0 action=12 file= offset=0 bytes=0 schedule=1 day=255 block=255,255,0,0,255,0,0,0")}},
        {"-AdpBbuCmd -ScheduleLearn -Info -a0",
         {std::string("token=64 adapter=0 action=12 file= offset=0 bytes=0 schedule=2 day=255 block=255,255,0,0,255,0,0,0")}},
    }, battery);
}

TEST(AppVersionParser, VersionRequestsPerAdapter)
{
    expectLines<AppVersionParsedObject>({
        {"-v", {"token=1 adapter=0 topic="}},
        {"-v -a0,2", {"token=1 adapter=0 topic=", "token=1 adapter=2 topic="}},
        // Every controller's version, not only the first one's.
        {"-v -aALL", {"token=1 adapter=252 topic="}},
        // An adapter number that names no adapter is reported, and the version is still shown:
        // for the adapters accepted before it, or for adapter 0 when there are none.
        {"-v -a0,251", {"token=1 adapter=0 topic="}, "Invalid Adapter number.\n"},
        {"-v -a251", {"token=1 adapter=0 topic="}, "Invalid Adapter number.\n"},
        {"-v -a1,2,251,3", {"token=1 adapter=1 topic=", "token=1 adapter=2 topic="}, "Invalid Adapter number.\n"},
        {"-v -a251,1", {"token=1 adapter=0 topic="}, "Invalid Adapter number.\n"},
    }, version);
}

TEST(AppVersionParser, HelpTopics)
{
    expectLines<AppVersionParsedObject>({
        {"-h", {"token=3 adapter=0 topic=default"}},
        {"-help AdpAllInfo", {"token=2 adapter=0 topic=AdpAllInfo"}},
        {"-? -PdList -a1", {"token=4 adapter=0 topic=-PdList"}},
        {"? cfgldadd", {"token=4 adapter=0 topic=cfgldadd"}},
        {"-h --AdpBbuCmd -a0,1", {"token=3 adapter=0 topic=--AdpBbuCmd"}},
        // An adapter choice right after the help word leaves the topic empty: the full usage.
        {"-h -a0", {"token=3 adapter=0 topic="}},
        {"-h -a0,1", {"token=3 adapter=0 topic="}},
        {"-h -aALL", {"token=3 adapter=0 topic=default"}},
        {"-help default", {"token=2 adapter=0 topic=default"}},
        // A refused adapter number fails the rules' walk: reported, and the full usage shown.
        {"-h AdpAllInfo -a251", {"token=3 adapter=0 topic=default"}, "Invalid Adapter number.\n"},
    }, version);
}
