// The parsers of the adapter settings, connector mode, PCI link speed, event capture, drive
// performance monitor, performance monitor, consistency-check schedule and summary commands.
#include "LineParseSupport.h"

#include "Parser/AdpParsedObjects.h"

namespace {

std::string settings(const AdpSettingsPo& request)
{
    return head(request) + " direction=" + std::to_string(request.getDirection()) +
           " file=" + request.getFileName().c_str();
}

std::string connectorMode(const MuxModeParsedObject& request)
{
    std::string connectors;
    for (unsigned char i = 0; i < request.getMuxCount(); ++i)
        connectors += (i ? "," : "") + std::to_string(request.getMux(i));
    return head(request) + " mode=" + std::to_string(request.getMode()) + " connectors=" + connectors;
}

std::string linkSpeed(const PciLinkSpeedParsedObject& request)
{
    return head(request) + " speed=" + std::to_string(request.getLinkSpeed());
}

std::string eventCapture(const AdAECPo& request)
{
    return head(request) + " action=" + std::to_string(request.getAction()) +
           " events=" + std::to_string(request.getValue()) + " mode=" + std::to_string(request.getMode()) +
           " filter=" + std::to_string(request.getSecondValue()) + " group=" + std::to_string(request.getOption()) +
           " file=" + request.getFileName().c_str();
}

std::string driveStatistics(const DpmStatParsedObject& request)
{
    return head(request) + " action=" + std::to_string(request.getAction()) +
           " type=" + std::to_string(request.getStatType()) + " drives=" + driveList(request.getDriveList());
}

std::string performanceMonitor(const PerfMonParsedObject& request)
{
    return head(request) + " action=" + std::to_string(request.getAction()) +
           " interval=" + std::to_string(request.getInterval()) + " file=" + request.getFileName().c_str();
}

std::string schedule(const AdpCCSchedParsedObject& request)
{
    std::string time = startTimeText(request.getStartTime());
    return head(request) + " action=" + std::to_string(request.getAction()) +
           " mode=" + std::to_string(request.getMode()) + " delay=" + std::to_string(request.getDelay()) +
           " start=" + time + " excluded=" + byteList(request.getLdList());
}

std::string summary(const ShowSummaryPo& request)
{
    return head(request) + " toFile=" + std::to_string(request.fileGiven) + " file=" + request.getFileName().c_str();
}

const char* const INVALID_DELAY = "Invalid Delay Value \n";

}  // namespace

TEST(AdpSettingsParser, DirectionAndFileName)
{
    expectLines<AdpSettingsPo>({
        {"-AdpSettings -Read -f settings.txt -a0", {"token=18 adapter=0 direction=0 file=settings.txt"}},
        {"-AdpSettings -Write -f settings.txt -a1", {"token=18 adapter=1 direction=1 file=settings.txt"}},
        {"-AdpSettings -Read -f settings.txt -a0,1", REFUSED_BY_GRAMMAR},
        {"-AdpSettings -Read -f s.txt -a251", REFUSED, "Invalid Adapter number.\n"},
    }, settings);
}

TEST(MuxModeParser, ModeAndConnectorNumbers)
{
    expectLines<MuxModeParsedObject>({
        {"-AdpSetConnectorMode -External -Connector0,1 -a0", {"token=76 adapter=0 mode=411 connectors=0,1"}},
        {"-AdpSetConnectorMode -Internal -Connector1,1 -a0", {"token=76 adapter=0 mode=410 connectors=1,1"}},
        {"-AdpSetConnectorMode -Auto -ConnectorAll -aALL", {"token=76 adapter=252 mode=412 connectors=255"}},
        {"-AdpGetConnectorMode -ConnectorAll -a0,1",
         {"token=75 adapter=0 mode=0 connectors=255", "token=75 adapter=1 mode=0 connectors=255"}},
        {"-AdpGetConnectorMode -Connector2 -a0", {"token=75 adapter=0 mode=0 connectors=2"}},
        // A number that is no connector is refused, never cut (256 would be connector 0).
        {"-AdpGetConnectorMode -Connector256 -a0", REFUSED},
        {"-AdpSetConnectorMode -External -Connector0,300 -a0", REFUSED},
    }, connectorMode);
}

TEST(PciLinkSpeedParser, SpeedWithinItsByte)
{
    expectLines<PciLinkSpeedParsedObject>({
        {"-PciSetLinkSpeed 2 -aALL", {"token=138 adapter=252 speed=2"}},
        {"-PciSetLinkSpeed 255 -a0,1", {"token=138 adapter=0 speed=255", "token=138 adapter=1 speed=255"}},
        {"-PciSetLinkSpeed 258 -a0", REFUSED},
    }, linkSpeed);
}

TEST(AdAECParser, ActionsAndTheirValues)
{
    expectLines<AdAECPo>({
        {"-AdpAEC -Start -a0", {"token=123 adapter=0 action=1 events=0 mode=0 filter=0 group=0 file=KWAEC.dat"}},
        {"-AdpAEC -Start -NumEvents 500 -a0",
         {"token=123 adapter=0 action=1 events=500 mode=0 filter=0 group=0 file=KWAEC.dat"}},
        {"-AdpAEC -Stop -a0", {"token=123 adapter=0 action=2 events=0 mode=0 filter=0 group=0 file=KWAEC.dat"}},
        {"-AdpAEC -Disable -a0", {"token=123 adapter=0 action=3 events=0 mode=0 filter=0 group=0 file=KWAEC.dat"}},
        {"-AdpAEC -CaptureMode -Full -a0",
         {"token=123 adapter=0 action=4 events=0 mode=1 filter=0 group=0 file=KWAEC.dat"}},
        {"-AdpAEC -CaptureMode -Continuous -a0",
         {"token=123 adapter=0 action=4 events=0 mode=0 filter=0 group=0 file=KWAEC.dat"}},
        {"-AdpAEC -Get -a0", {"token=123 adapter=0 action=5 events=0 mode=0 filter=0 group=0 file=KWAEC.dat"}},
        {"-AdpAEC -Get -f cap.dat -a0,1",
         {"token=123 adapter=0 action=5 events=0 mode=0 filter=0 group=0 file=cap.dat",
          "token=123 adapter=1 action=5 events=0 mode=0 filter=0 group=0 file=cap.dat"}},
        {"-AdpAEC -Show -aALL", {"token=123 adapter=252 action=6 events=0 mode=0 filter=0 group=0 file=KWAEC.dat"}},
        {"-AdpAEC -Filter 12 -Group 3 -a0",
         {"token=123 adapter=0 action=7 events=0 mode=0 filter=12 group=3 file=KWAEC.dat"}},
        {"-AdpAEC -Clear 12 -Group 255 -a0",
         {"token=123 adapter=0 action=8 events=0 mode=0 filter=12 group=255 file=KWAEC.dat"}},
        // A group that does not fit its byte is refused, never cut (259 would be group 3).
        {"-AdpAEC -Filter 12 -Group 259 -a0", REFUSED},
    }, eventCapture);
}

TEST(DpmStatParser, OperationStatisticsAndOneDrive)
{
    expectLines<DpmStatParsedObject>({
        {"-DpmStat -Dsply -Ra -a0", {"token=122 adapter=0 action=359 type=553 drives=none"}},
        {"-DpmStat -Dsply -Hist -PhysDrv[252:3] -a0", {"token=122 adapter=0 action=359 type=608 drives=252:3"}},
        {"-DpmStat -Dsply -Ext -PhysDrv[:3] -a0,1",
         {"token=122 adapter=0 action=359 type=615 drives=65535:3",
          "token=122 adapter=1 action=359 type=615 drives=65535:3"}},
        {"-DpmStat -Dsply -Hist -PhysDrv[252:3,252:4] -a0", REFUSED},
        {"-DpmStat -Dsply -Hist -PhysDrv[252:300] -a0", REFUSED},
        {"-DpmStat -Clear -Lct -a0,1",
         {"token=122 adapter=0 action=320 type=607 drives=none", "token=122 adapter=1 action=320 type=607 drives=none"}},
        {"-DpmStat -Clear -Lct -PhysDrv[252:3] -a0", REFUSED_BY_GRAMMAR},
    }, driveStatistics);
}

TEST(PerfMonParser, ActionIntervalAndResultsFile)
{
    expectLines<PerfMonParsedObject>({
        {"-PerfMon -Start -a0", {"token=115 adapter=0 action=0 interval=0 file="}},
        {"-PerfMon -Start -Interval 1440 -a0", {"token=115 adapter=0 action=0 interval=1440 file="}},
        {"-PerfMon -Start -Interval 1 -aALL", {"token=115 adapter=252 action=0 interval=1 file="}},
        {"-PerfMon -Start -Interval 0 -a0", REFUSED},
        {"-PerfMon -Start -Interval 1441 -a0", REFUSED},
        // Tested as typed: 65541 is no interval, though it would be 5 cut to 16 bits.
        {"-PerfMon -Start -Interval 65541 -a0", REFUSED},
        {"-PerfMon -Stop -a0", {"token=115 adapter=0 action=1 interval=0 file="}},
        {"-PerfMon -GetResults -f out.txt -a0", {"token=115 adapter=0 action=2 interval=0 file=out.txt"}},
        {"-PerfMon -GetResults -Format CSV -f out.csv -a0", {"token=115 adapter=0 action=2 interval=5 file=out.csv"}},
    }, performanceMonitor);
}

TEST(AdpCCSchedParser, SubCommandsGiveTheirRequests)
{
    expectLines<AdpCCSchedParsedObject>({
        {"-AdpCcSched -Info -a0", {"token=80 adapter=0 action=0 mode=3 delay=-1 start=none excluded=none"}},
        {"-AdpCcSched -Dsbl -a0", {"token=80 adapter=0 action=1 mode=0 delay=-1 start=none excluded=none"}},
        {"-AdpCcSched -ModeSeq -a0", {"token=80 adapter=0 action=1 mode=1 delay=-1 start=none excluded=none"}},
        {"-AdpCcSched -ModeConc -ExcludeLD -L1,3 -SetStartTime 20280229 23 -SetDelay 168 -a0",
         {"token=80 adapter=0 action=1 mode=2 delay=168 start=128/1/29 23:0:0 excluded=1,3"}},
        {"-AdpCcSched -SetStartTime 20000101 6 -a0,1",
         {"token=80 adapter=0 action=2 mode=3 delay=-1 start=100/0/1 6:0:0 excluded=none",
          "token=80 adapter=1 action=2 mode=3 delay=-1 start=100/0/1 6:0:0 excluded=none"}},
        {"-AdpCcSched -SetDelay 5 -aALL", {"token=80 adapter=252 action=3 mode=3 delay=5 start=none excluded=none"}},
    }, schedule);
}

TEST(AdpCCSchedParser, StartDatesAndHours)
{
    auto startLine = [](const char* date, const char* hour) {
        return std::string("-AdpCcSched -SetStartTime ") + date + " " + hour + " -a0";
    };
    auto accepted = [](const char* start) {
        return std::vector<std::string>{"token=80 adapter=0 action=2 mode=3 delay=-1 start=" + std::string(start) +
                                        " excluded=none"};
    };
    expectLines<AdpCCSchedParsedObject>({
        {startLine("20280229", "0"), accepted("128/1/29 0:0:0")},
        // The only leap-year rule is divisibility by 4.
        {startLine("21000229", "12"), accepted("200/1/29 12:0:0")},
        {startLine("20270229", "1"), REFUSED},
        {startLine("20280230", "1"), REFUSED},
        {startLine("19991231", "1"), REFUSED},
        {startLine("20281301", "1"), REFUSED},
        {startLine("20280001", "1"), REFUSED},
        {startLine("20280431", "1"), REFUSED},
        {startLine("20280430", "1"), accepted("128/3/30 1:0:0")},
        {startLine("20281231", "23"), accepted("128/11/31 23:0:0")},
        {startLine("20280100", "1"), REFUSED},
        {startLine("20280101", "24"), REFUSED},
    }, schedule);
}

TEST(AdpCCSchedParser, DelayUpToTheLongest)
{
    expectLines<AdpCCSchedParsedObject>({
        {"-AdpCcSched -SetDelay 1193046 -a0",
         {"token=80 adapter=0 action=3 mode=3 delay=1193046 start=none excluded=none"}},
        {"-AdpCcSched -SetDelay 0 -a0", {"token=80 adapter=0 action=3 mode=3 delay=0 start=none excluded=none"}},
        {"-AdpCcSched -SetDelay 1193047 -a0", REFUSED, INVALID_DELAY},
        {"-AdpCcSched -ModeSeq -SetDelay 2147483647 -a0", REFUSED, INVALID_DELAY},
    }, schedule);
}

TEST(AdpCCSchedParser, StartTimeTakesTheDaylightSavingStateOfNow)
{
    time_t now = time(nullptr);
    struct tm local;
    ASSERT_NE(localtime_r(&now, &local), nullptr);
    expectLines<AdpCCSchedParsedObject>({
        {"-AdpCcSched -SetStartTime 20300615 12 -a0", {"dst=" + std::to_string(local.tm_isdst)}},
    }, [](const AdpCCSchedParsedObject& request) {
        return "dst=" + std::to_string(request.getStartTime()->tm_isdst);
    });
}

TEST(ShowSummaryParser, ScreenOrFile)
{
    expectLines<ShowSummaryPo>({
        {"-ShowSummary -a0", {"token=10 adapter=0 toFile=0 file="}},
        {"-ShowSummary -f summary.txt -a0", {"token=10 adapter=0 toFile=1 file=summary.txt"}},
        {"-ShowSummary -a0,1", {"token=10 adapter=0 toFile=0 file=", "token=10 adapter=1 toFile=0 file="}},
    }, summary);
}
