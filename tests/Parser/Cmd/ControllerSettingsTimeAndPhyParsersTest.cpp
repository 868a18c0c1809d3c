// The parsers of the BIOS, automatic-rebuild, boot-drive, controller-time, patrol-read,
// phy-information, settings-verification and terminal-log commands.
#include "LineParseSupport.h"

#include "Parser/AdpParsedObjects.h"

namespace {

std::string bios(const AdpBiosParsedObject& request)
{
    return head(request) + " action=" + std::to_string(request.getAction());
}

std::string autoRebuild(const AdpAutoRbldParsedObject& request)
{
    return head(request) + " action=" + std::to_string(request.getAction());
}

std::string bootDrive(const AdpBootDriveParsedObject& request)
{
    return head(request) + " action=" + std::to_string(request.getAction()) + " ld=" +
           std::to_string(request.getLd()) + " drives=" + driveList(request.getDriveList());
}

std::string controllerTime(const AdpTimeParsedObject& request)
{
    AdpDateTime time = {0, 0, 0, 0, 0, 0};
    if (request.getDateTime(&time) != 0)
        return head(request) + " time=none";
    return head(request) + " time=" + std::to_string(time.year) + "-" + std::to_string(time.month) + "-" +
           std::to_string(time.day) + " " + std::to_string(time.hour) + ":" + std::to_string(time.minute) + ":" +
           std::to_string(time.second);
}

std::string patrolRead(const AdpPrParsedObject& request)
{
    std::string time = startTimeText(request.getStartTime());
    return head(request) + " action=" + std::to_string(request.getAction()) +
           " value=" + std::to_string(request.getValue()) + " start=" + time;
}

std::string phy(const AdpPhyInfoParsedObject& request)
{
    return head(request) + " phy=" + std::to_string(request.getPhyNumber());
}

std::string verify(const AdpSetVerifyPo& request)
{
    return head(request) + " file=" + request.getFileName().c_str();
}

std::string termLog(const AdpTTYLogPo& request)
{
    return head(request) + " action=" + std::to_string(request.getAction());
}

const char* const INVALID_VALUE = "Invalid value provided! Valid values are 0 ~ 65535.\n";

}  // namespace

TEST(AdpBiosParser, EachActionWord)
{
    expectLines<AdpBiosParsedObject>({
        {"-AdpBIOS -Dsply -a0", {"token=13 adapter=0 action=359"}},
        {"-AdpBIOS -HSM -aALL", {"token=13 adapter=252 action=675"}},
        {"-AdpBIOS -Enbl -a0,1", {"token=13 adapter=0 action=355", "token=13 adapter=1 action=355"}},
        {"-AdpBIOS Dsbl -a0", {"token=13 adapter=0 action=356"}},
        {"-AdpBIOS -SOE -a0", {"token=13 adapter=0 action=258"}},
        {"-AdpBIOS -be -a0", {"token=13 adapter=0 action=259"}},
        {"-AdpBIOS -HCOE -a0", {"token=13 adapter=0 action=674"}},
        {"-AdpBIOS EnblAutoSelectBootLd -a0", {"token=13 adapter=0 action=392"}},
        {"-AdpBIOS -DsblAutoSelectBootLd -a0", {"token=13 adapter=0 action=393"}},
        {"-AdpBIOS -Dsply -a251", REFUSED, "Invalid Adapter number.\n"},
    }, bios);
}

TEST(AdpAutoRbldParser, EachActionWord)
{
    expectLines<AdpAutoRbldParsedObject>({
        {"-AdpAutoRbld -Disable -a0,1", {"token=7 adapter=0 action=356", "token=7 adapter=1 action=356"}},
        {"-AdpAutoRbld -Enbl -a0", {"token=7 adapter=0 action=355"}},
        {"-AdpAutoRbld -Dsply -aALL", {"token=7 adapter=252 action=359"}},
        {"-AdpAutoRbld -SOE -a0", REFUSED_BY_GRAMMAR},
    }, autoRebuild);
}

TEST(AdpBootDriveParser, LogicalOrPhysicalDrive)
{
    expectLines<AdpBootDriveParsedObject>({
        {"-AdpBootDrive -Set -L2 -a0", {"token=14 adapter=0 action=360 ld=2 drives=none"}},
        {"-AdpBootDrive -Unset -PhysDrv[32:4] -a0", {"token=14 adapter=0 action=651 ld=255 drives=32:4"}},
        {"-AdpBootDrive -Set -PhysDrv[?:4] -a0,1",
         {"token=14 adapter=0 action=360 ld=255 drives=52428:4", "token=14 adapter=1 action=360 ld=255 drives=52428:4"}},
        {"-AdpBootDrive -Get -a0,1", {"token=14 adapter=0 action=361 ld=255 drives=none",
                                      "token=14 adapter=1 action=361 ld=255 drives=none"}},
        // One drive only: a second one is refused, not dropped.
        {"-AdpBootDrive -Set -PhysDrv[32:4,32:5] -a0", REFUSED},
        {"-AdpBootDrive -Set -PhysDrv[32:256] -a0", REFUSED},
        {"-AdpBootDrive -Set -PhysDrv[32] -a0", REFUSED_BY_GRAMMAR},
        {"-AdpBootDrive -Set -L256 -a0", REFUSED, "Invalid Logical Drive number.\n"},
    }, bootDrive);
}

TEST(AdpTimeParser, DatesAndTimes)
{
    expectLines<AdpTimeParsedObject>({
        {"-AdpGetTime -a0", {"token=16 adapter=0 time=none"}},
        {"-AdpGetTime -a0,1", {"token=16 adapter=0 time=none", "token=16 adapter=1 time=none"}},
        {"-AdpSetTime 20240229 13:05:00 -a0", {"token=15 adapter=0 time=2024-2-29 13:5:0"}},
        {"-AdpSetTime 20230229 13:05:00 -a0", REFUSED},
        // The only leap-year rule is divisibility by 4, as the controllers count.
        {"-AdpSetTime 21000229 13:05:00 -a0", {"token=15 adapter=0 time=2100-2-29 13:5:0"}},
        {"-AdpSetTime 13:05:00 20240229 -aALL", {"token=15 adapter=252 time=2024-2-29 13:5:0"}},
        {"-AdpSetTime 20241231 23:59:59 -a0", {"token=15 adapter=0 time=2024-12-31 23:59:59"}},
        {"-AdpSetTime 20240101 0:0:0 -a0", {"token=15 adapter=0 time=2024-1-1 0:0:0"}},
        // 24 is read as a second date.
        {"-AdpSetTime 20240229 24:00:00 -a0", REFUSED},
        {"-AdpSetTime 20240229 23:60:00 -a0", REFUSED},
        {"-AdpSetTime 20240229 23:00:60 -a0", REFUSED},
        {"-AdpSetTime 20241301 1:00:00 -a0", REFUSED},
        {"-AdpSetTime 20240001 1:00:00 -a0", REFUSED},
        {"-AdpSetTime 20240100 1:00:00 -a0", REFUSED},
        {"-AdpSetTime 20240431 1:00:00 -a0", REFUSED},
        // Each of the date and the time exactly once.
        {"-AdpSetTime 1:00:00 2 -a0", REFUSED},
        {"-AdpSetTime 20240101 20240102 1 2 -a0", REFUSED},
        // A year of four digits at most, and not 0: beyond them the clock's field would wrap.
        {"-AdpSetTime 00010101 1:00:00 -a0", {"token=15 adapter=0 time=1-1-1 1:0:0"}},
        {"-AdpSetTime 99991231 1:00:00 -a0", {"token=15 adapter=0 time=9999-12-31 1:0:0"}},
        {"-AdpSetTime 00000229 1:00:00 -a0", REFUSED},
        {"-AdpSetTime 100000101 1:00:00 -a0", REFUSED},
        {"-AdpSetTime 655360101 1:00:00 -a0", REFUSED},
    }, controllerTime);
}

TEST(AdpPrParser, ActionsAndValues)
{
    expectLines<AdpPrParsedObject>({
        {"-AdpPR -Info -a0", {"token=24 adapter=0 action=341 value=255 start=none"}},
        {"-AdpPR -EnblAuto -a0", {"token=24 adapter=0 action=336 value=255 start=none"}},
        {"-AdpPR -EnblMan -a0,1",
         {"token=24 adapter=0 action=337 value=255 start=none", "token=24 adapter=1 action=337 value=255 start=none"}},
        {"-AdpPR -Dsbl -aALL", {"token=24 adapter=252 action=356 value=255 start=none"}},
        {"-AdpPR -Start -a0", {"token=24 adapter=0 action=353 value=255 start=none"}},
        {"-AdpPR -Stop -a0", {"token=24 adapter=0 action=354 value=255 start=none"}},
        {"-AdpPR -Suspend -a0", {"token=24 adapter=0 action=627 value=255 start=none"}},
        {"-AdpPR -Resume -a0", {"token=24 adapter=0 action=628 value=255 start=none"}},
        {"-AdpPR -SSDPatrolReadEnbl -a0", {"token=24 adapter=0 action=649 value=255 start=none"}},
        {"-AdpPR -SSDPatrolReadDsbl -a0", {"token=24 adapter=0 action=650 value=255 start=none"}},
        {"-AdpPR -SetDelay 65535 -a0", {"token=24 adapter=0 action=342 value=65535 start=none"}},
        {"-AdpPR -SetDelay 0 -a0", {"token=24 adapter=0 action=342 value=0 start=none"}},
        {"-AdpPR -SetDelay 65536 -a0", REFUSED, INVALID_VALUE},
        {"-AdpPR -maxConcurrentPD 4 -a0", {"token=24 adapter=0 action=343 value=4 start=none"}},
        {"-AdpPR -maxConcurrentPD 70000 -a0", REFUSED, INVALID_VALUE},
    }, patrolRead);
}

TEST(AdpPrParser, StartTimes)
{
    auto start = [](const char* date, const char* hour) {
        return std::string("-AdpPR -SetStartTime ") + date + " " + hour + " -a0";
    };
    auto accepted = [](const char* time) {
        return std::vector<std::string>{"token=24 adapter=0 action=519 value=255 start=" + std::string(time)};
    };
    expectLines<AdpPrParsedObject>({
        {start("20250301", "23"), accepted("125/2/1 23:0:0")},
        {start("20000101", "0"), accepted("100/0/1 0:0:0")},
        {start("21000229", "5"), accepted("200/1/29 5:0:0")},
        {start("19991231", "23"), REFUSED},
        {start("20250229", "1"), REFUSED},
        {start("20250301", "24"), REFUSED},
        {start("20251301", "1"), REFUSED},
    }, patrolRead);
}

TEST(PhyInfoParser, PhyNumber)
{
    expectLines<AdpPhyInfoParsedObject>({
        {"-PhyInfo -phy3 -a0", {"token=62 adapter=0 phy=3"}},
        {"-PhyInfo -phy255 -a0,1", {"token=62 adapter=0 phy=255", "token=62 adapter=1 phy=255"}},
        // Cut to a byte, 259 would be phy 3.
        {"-PhyInfo -phy259 -a0", REFUSED},
    }, phy);
}

TEST(AdpVerifyParser, FileNameForEveryAdapter)
{
    expectLines<AdpSetVerifyPo>({
        {"-AdpSetVerify -f oem.txt -a0,1", {"token=65 adapter=0 file=oem.txt", "token=65 adapter=1 file=oem.txt"}},
        {"-AdpSetVerify -f oem.txt -aALL", {"token=65 adapter=252 file=oem.txt"}},
        {"-AdpSetVerify -a0", REFUSED_BY_GRAMMAR},
    }, verify);
}

TEST(AdpTTYLogParser, EachOption)
{
    expectLines<AdpTTYLogPo>({
        {"-FwTermLog -BBUGet -a0", {"token=21 adapter=0 action=5"}},
        {"-FwTermLog -Dsply -aALL", {"token=21 adapter=252 action=1"}},
        {"-FwTermLog Clear -a0", {"token=21 adapter=0 action=0"}},
        {"-FwTermLog -BBUon -a0,1", {"token=21 adapter=0 action=2", "token=21 adapter=1 action=2"}},
        {"-FwTermLog -BBUoff -a0", {"token=21 adapter=0 action=3"}},
        {"-FwTermLog BBUoffTemp -a0", {"token=21 adapter=0 action=4"}},
        {"-FwTermLog -a0", REFUSED_BY_GRAMMAR},
    }, termLog);
}

// Lines the grammar never hands over: a second action word asks for two settings at once and
// is refused, whatever stands between the two.
TEST(AdpBiosParser, SecondActionWordRefusesTheLine)
{
    for (unsigned short command : {TOKEN_ADPBIOS, TOKEN_ADPAUTORBLD}) {
        SCOPED_TRACE(command);
        TokenLine line{word(command, "cmd"), word(TOKEN_ENABLE, "Enbl"), adapterOption(), num(0),
                       word(TOKEN_DISPLAY, "Dsply")};
        std::unique_ptr<Parser> parser(ParserFactory::instance()->create(command));
        ASSERT_TRUE(parser);
        ArrayList<ParsedObject*>* requests = parser->parse(line.tokens());
        EXPECT_EQ(requests, nullptr);
        deleteRequests(requests);
    }
}
