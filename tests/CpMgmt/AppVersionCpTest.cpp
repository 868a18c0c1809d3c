// The version and help processor run in-process on hand-built requests: the banner chosen by
// the controller's OEM identifier, the topic word's normalisation and bounds, and the two
// no-match lines. The whole texts are compared end to end (tests/e2e/HelpE2eTest.cpp).
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "CpMgmt/CmdPro/Help/AppVersionCp.h"
#include "CpMgmt/CpController.h"
#include "DispatchFakes.h"
#include "Parser/AdpParsedObjects.h"
#include "Parser/TokenIds.h"
#include "SimHostFixture.h"

namespace {

const std::string QUILL_BANNER = "\n      QuillCLI SAS RAID Management Tool  Ver 1.02.00 Dec 10, 2026\n\n";
const std::string VOLANT_BANNER =
    "\n\tKolvex(R) RAID Command Line Utilities Version 2\n\t\tVer 1.02.00 Dec 10, 2026\n\n";
const std::string NO_MATCH_TAIL = "Use -help to know command name\n";

std::string noMatch(const std::string& word)
{
    return "Invalid input at or near token     " + word + "\n" + NO_MATCH_TAIL;
}

// Runs the processor once on `controller` (none when null) and gives its result and output.
int runProcessor(Controller* controller, unsigned short token, const std::string& topic, std::string& printed,
                 unsigned char* oemSeen = nullptr)
{
    AppVersionParsedObject* request = new AppVersionParsedObject(token, string(topic.c_str()), 0);
    CpController cpController(controller, request);
    AppVersionCp processor;
    OutputCapture capture;
    int result = processor.process(&cpController, request);
    printed = capture.take();
    if (oemSeen != nullptr)
        *oemSeen = processor.getOemId();
    return result;
}

TEST(AppVersionCp, MissingRequestPrintsNothing)
{
    AppVersionCp processor;
    OutputCapture capture;
    EXPECT_EQ(processor.process(nullptr, nullptr), -1);
    EXPECT_EQ(capture.take(), "");
}

TEST(AppVersionCp, TopicWordsWithoutController)
{
    struct Case {
        unsigned short token;
        const char* topic;
        int result;
        std::string out;
    } cases[] = {
        {TOKEN_APPVERSION, "", 0, QUILL_BANNER},
        {TOKEN_APPVERSION, "adpallinfo", 0, QUILL_BANNER},  // a version request has no topic
        {TOKEN_HELP_SHT, "h", -1, QUILL_BANNER + noMatch("H")},
        {TOKEN_Q_MARK, "?", -1, QUILL_BANNER + noMatch("?")},
        {TOKEN_HELP, "--pdlist", -1, QUILL_BANNER + noMatch("-PDLIST")},
        {TOKEN_HELP, "noSuchCommand", -1, QUILL_BANNER + noMatch("NOSUCHCOMMAND")},
        // Without a controller the OEM is 1: the OEM-2 name of the destroy command is no keyword.
        {TOKEN_HELP, "deletesecuritykey", -1, QUILL_BANNER + noMatch("DELETESECURITYKEY")},
        // The user's word is data: conversions in it are printed as typed, never interpreted.
        {TOKEN_HELP, "%s%n%x%%", -1, QUILL_BANNER + noMatch("%S%N%X%%")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.topic);
        std::string out;
        unsigned char oem = 0;
        EXPECT_EQ(runProcessor(nullptr, c.token, c.topic, out, &oem), c.result);
        EXPECT_EQ(out, c.out);
        EXPECT_EQ(oem, 1);
    }
}

TEST(AppVersionCp, OverlongTopicIsCutAndMatchesNothing)
{
    // 47 characters are kept: a cut word is longer than any keyword.
    std::string topic = "-" + std::string(200, 'a') + "%s";
    std::string out;
    EXPECT_EQ(runProcessor(nullptr, TOKEN_HELP, topic, out), -1);
    EXPECT_EQ(out, QUILL_BANNER + noMatch(std::string(47, 'A')));

    std::string keywordPrefixed = "ADPALLINFO" + std::string(100, ' ');
    EXPECT_EQ(runProcessor(nullptr, TOKEN_HELP, keywordPrefixed, out), -1);
    EXPECT_EQ(out, QUILL_BANNER + noMatch("ADPALLINFO" + std::string(37, ' ')));
}

TEST(AppVersionCp, BannerFollowsTheControllersOem)
{
    struct Case {
        int oemId;
        std::string banner;
    } cases[] = {
        {1, QUILL_BANNER},
        {2, QUILL_BANNER},
        {8, VOLANT_BANNER},
        {0, QUILL_BANNER},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.oemId);
        simhost::SimHostFixture host("one", simhost::withOemId(0, static_cast<uint8_t>(c.oemId)));
        ASSERT_TRUE(host.ready());
        simhost::SimControllers controllers;
        std::string out;
        unsigned char oem = 0;
        EXPECT_EQ(runProcessor(controllers.controller(0), TOKEN_APPVERSION, "", out, &oem), 0);
        EXPECT_EQ(out, c.banner);
        EXPECT_EQ(oem, c.oemId);
        EXPECT_EQ(host.count(0x010E8481), 1u) << "the processor asks the controller itself";
    }
}

TEST(AppVersionCp, FailedOemQueryBrandsAsOem1)
{
    simhost::SimHostFixture host("one", simhost::both(simhost::withOemId(0, 8),
                                                      simhost::withStatusFault(0x010E8481, 3)));
    ASSERT_TRUE(host.ready());
    simhost::SimControllers controllers;
    std::string out;
    unsigned char oem = 0;
    EXPECT_EQ(runProcessor(controllers.controller(0), TOKEN_HELP, "nothing", out, &oem), -1);
    EXPECT_EQ(out, QUILL_BANNER + noMatch("NOTHING"));
    EXPECT_EQ(oem, 1);
}

TEST(AppVersionCp, VersionStringService)
{
    char buffer[64];
    memset(buffer, 'x', sizeof buffer);
    ASSERT_LE(versionStringSize(), sizeof buffer);
    copyVersionString(buffer);
    EXPECT_STREQ(buffer, "1.02.00 Dec 10, 2026");
    EXPECT_EQ(versionStringSize(), strlen("1.02.00 Dec 10, 2026") + 1);
}

TEST(AppVersionCp, PrintTextGoesToTheConsolePrinter)
{
    OutputCapture capture;
    printText(string("50% done\n"));
    EXPECT_EQ(capture.take(), "50% done\n");
}

}  // namespace

namespace {

bool contains(const std::string& text, const std::string& part)
{
    return text.find(part) != std::string::npos;
}

TEST(AppVersionCp, UsageTextForEveryOem)
{
    // Lines of the usage text as the administrator sees them; the whole text is compared end to
    // end. OEM 2 words line 21 and the security lines its own way.
    const std::string header =
        "\n\nNOTE: The following options may be given at the end of any command below: \n"
        "\n    [-Silent] [-AppLogFile filename] [-NoLog] [-page[N]] \n";
    const std::string last = "HK -BlazecardInfo -iN | -iALL\n";
    struct Case {
        int oemId;
        std::string banner;
        std::string name;
        const char* perfMode;
        const char* destroy;
    } cases[] = {
        {1, QUILL_BANNER, "QuillCli", "NumIOsToOrder", "-DestroySecurityKey | [-Force] -aN \n"},
        {2, QUILL_BANNER, "QuillCli", "MaxPDLatencyMS", "-DeleteSecurityKey | [-Force] -aN \n"},
        {8, VOLANT_BANNER, "Volant2", "NumIOsToOrder", "-DestroySecurityKey | [-Force] -aN \n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.oemId);
        simhost::SimHostFixture host("one", simhost::withOemId(0, static_cast<uint8_t>(c.oemId)));
        ASSERT_TRUE(host.ready());
        simhost::SimControllers controllers;
        for (const char* topic : {"", "default", "-DeFault"}) {
            std::string out;
            EXPECT_EQ(runProcessor(controllers.controller(0), TOKEN_HELP_SHT, topic, out), 0);
            EXPECT_EQ(out.substr(0, c.banner.size() + header.size()), c.banner + header);
            EXPECT_EQ(out.substr(out.size() - c.name.size() - 1 - last.size()), c.name + " " + last);
            EXPECT_TRUE(contains(out, "\n" + c.name + " -v \n" + c.name + " -help|-h|? \n"));
            EXPECT_TRUE(contains(out, std::string("    | {PerfMode -val \x96MaxFlushLines -val \x96") + c.perfMode +
                                          " -val} -aN|-a0,1,2|-aALL \n"));
            EXPECT_TRUE(contains(out, "\n" + c.name + " " + c.destroy));
            EXPECT_TRUE(contains(out, "|SSDPatrolReadDsbl  \n         |{SetDelay Val}"));
        }
    }
}

}  // namespace

namespace {

struct TopicStart {
    const char* keyword;
    const char* start;
};

const TopicStart TOPIC_STARTS[] = {
#include "HelpTopicsExpected.inc"
};

std::string withName(std::string text, const std::string& name)
{
    size_t at = text.find("%s");
    if (at != std::string::npos)
        text.replace(at, 2, name);
    return text;
}

std::string lowerCase(std::string word)
{
    for (char& c : word)
        c = static_cast<char>(tolower(static_cast<unsigned char>(c)));
    return word;
}

// The texts whose wording changes for OEM 2, checked at the elements that change (from the
// command texts): for OEM 1 and 8 the first fragment, for OEM 2 the second.
struct OemWording {
    const char* keyword;
    const char* otherOem;
    const char* oem2;
};

const OemWording OEM_WORDINGS[] = {
    {"ADPSETPROP", "\n            AdpSetProp\n            ----------\n\nSyntax: %s -AdpSetProp {CacheFlushInterval -val} | { RebuildRate -val} \n",
     "    | {PerfMode -val \x96MaxFlushLines -val \x96MaxPDLatencyMS -val} -aN|-a0,1,2|-aALL \n"},
    {"ADPSETPROP", "    | {PerfMode -val \x96MaxFlushLines -val \x96NumIOsToOrder -val} -aN|-a0,1,2|-aALL \n",
     "       MaxPDLatencyMS: Maximum Physical disk Latency in milli seconds.\n            Values: 0 - 25 \n"},
    {"ADPSETPROP", "    | {EnblSpinDownUnConfigDrvs -val} |{DefaultSnapshotSpace -Val%}|{AutoSnapshotSpace -Val%} \n",
     "    | {EnblSpinDownUnConfigDrvs -val} |{DefaultSnapshotSpace -Val%}|{AutoSnapshotSpace -Val%} \n"},
    {"ADPGETPROP", "       NumIOsToOrder: Frequency at which Ordered I/Os should be issued per disk drive.\n            Values: 0 - 25 \n",
     "       MaxPDLatencyMS: Maximum Physical disk Latency in milli seconds.\n            Values: 0 - 25 \n"},
    {"ADPGETPROP", "\n            AdpGetProp\n            ----------\n\nSyntax: %s -AdpGetProp  CacheFlushInterval | ForceSGPIO | RebuildRate \n",
     "\n            AdpGetProp\n            ----------\n\nSyntax: %s -AdpGetProp  CacheFlushInterval | ForceSGPIO | RebuildRate \n"},
    {"CFGLDADD", "[-AfterLdX] | [FDE|CtrlBased] [-Default| -Automatic| -None| -Maximum| -MaximumWithoutCaching] [-Cache] [-enblPI] [-Force] -aN\n",
     "[-AfterLdX] | Secure  [-Default| -Automatic| -None| -Maximum| -MaximumWithoutCaching] [-Cache] [-enblPI] [-Force]  -aN\n"},
    {"CFGLDADD", "        FDE|CtrlBased: If controller support security feature, this option enables FDE/Ctrl based encryption on virtual disk.  \n",
     "        Secure: If controller support security feature, this option enables FDE based encryption on virtual disk.  \n"},
    {"CFGEACHDSKRAID0", "[-strpszM] [FDE|CtrlBased] [-Default| -Automatic| -None| -Maximum| -MaximumWithoutCaching] [-Cache] [-enblPI] -aN|-a0,1,2|-aALL\n",
     "[-strpszM] Secure [-Default| -Automatic| -None| -Maximum| -MaximumWithoutCaching] [-Cache] [-enblPI] -aN\n"},
    {"CFGSPANADD", "[-AfterLdX]| [FDE|CtrlBased] [-Default| -Automatic| -None| -Maximum| -MaximumWithoutCaching] [-enblPI] [-Force]  -aN\n",
     "[-AfterLdX]| [Secure] [-Default| -Automatic| -None| -Maximum| -MaximumWithoutCaching] [-enblPI] [-Force]  -aN\n"},
    {"CFGSPANADD", "[-AfterLdX] [FDE|CtrlBased] [-Default| -Automatic| -None| -Maximum| -MaximumWithoutCaching] [-enblPI] [-Force]  -aN\nSyntax: %s -CfgSpanAdd -r60",
     "[-AfterLdX] [Secure] [-Default| -Automatic| -None| -Maximum| -MaximumWithoutCaching] [enblPI] [-Force]  -aN\nSyntax: %s -CfgSpanAdd -r60"},
    {"CFGALLFREEDRV", "-nonRevertible]] | [FDE|CtrlBased] [-Default| -Automatic| -None| -Maximum| -MaximumWithoutCaching] [-enblPI] -aN\n",
     "-nonRevertible]] | [Secure] [-Default| -Automatic| -None| -Maximum| -MaximumWithoutCaching] [-enblPI] -aN\n"},
    {"CFGFOREIGN", "Syntax: %s -CfgForeign -Scan | [-SecurityKey sssssssssss] -aN|-a0,1,2|-aALL\n",
     "Syntax: %s -CfgForeign -Scan | [-Passphrase sssssssssss] -aN|-a0,1,2|-aALL\n"},
    {"CFGFOREIGN", "        SecurityKey: Security Key needs to be given if the foreign drive is locked. \n        If multiple keys are required",
     "        Passphrase: Passphrase needs to be given if the foreign drive is locked. \n        If multiple Passphrase are required"},
    {"CREATESECURITYKEY", "Syntax: %s -CreateSecurityKey -SecurityKey sssssssssss | [-Passphrase sssssssssss] |[-KeyID kkkkkkkkkkk] -aN \n",
     "Syntax: %s -CreateSecurityKey -Passphrase sssssssssss [-KeyID kkkkkkkkkkk] -aN \n"},
    {"CREATESECURITYKEY", "        Passphrase: Pass phrase to provide additional security.\n        KeyID: Security key Id.\n",
     "        Passphrase: Passphrase will be used to generate lock key when drive security is enabled.\n        KeyID: Security key Id.\n"},
    {"CHANGESECURITYKEY", "        Note: \n        -\tSecurity key is mandatory and pass phrase is optional.\n",
     "        Note: \n\t\tPassphrase should have 8 - 32 chars"},
    {"DESTROYSECURITYKEY", "\n        \tDestroySecurityKey\n        \t------------------\n\nSyntax: %s -DestroySecurityKey | [-Force] -aN\n",
     "\n\t\t\tDeleteSecurityKey\n\t\t\t------------------\n\nSyntax: %s -DeleteSecurityKey | [-Force] -aN\n"},
    {"VERIFYSECURITYKEY", "Syntax: %s -VerifySecurityKey -SecurityKey sssssssssss -aN\n",
     "Syntax: %s -VerifySecurityKey -Passphrase sssssssssss -aN\n"},
    {"PREVENTPIIMPORT", "Syntax: %s -CfgEachDskRaid0 \x96" "enblPI -aN|-a0,1,2|-aALL\n",
     "Syntax: %s -AdpSetVerify \x96" "f Filename -aN|-a0,1,2|-aALL\n"},
    {"DPMSTAT", "\n                     DPMStat   \n                    ------------\n\n%s -DpmStat -Dsply ",
     "\n                     DPMStat   \n                    ------------\n\n%s -DpmStat -Dsply "},
    {"LDSETPOWERPOLICY", "\n            LdSetPowerPolicy   \n          ----------------\n\nSyntax: %s -LDSetPowerPolicy -Default|",
     "\n            LdSetPowerPolicy   \n          ----------------\n\nSyntax: %s -LDSetPowerPolicy -Default|"},
};

class HelpTopics : public ::testing::TestWithParam<int> {};

TEST_P(HelpTopics, EveryKeywordPrintsItsText)
{
    int oemId = GetParam();
    simhost::SimHostFixture host("one", simhost::withOemId(0, static_cast<uint8_t>(oemId)));
    ASSERT_TRUE(host.ready());
    simhost::SimControllers controllers;
    std::string name = oemId == 8 ? "Volant2" : "QuillCli";
    const std::string& banner = oemId == 8 ? VOLANT_BANNER : QUILL_BANNER;

    for (const TopicStart& topic : TOPIC_STARTS) {
        SCOPED_TRACE(topic.keyword);
        std::string out;
        // Topic words are typed in any case, with or without one dash.
        EXPECT_EQ(runProcessor(controllers.controller(0), TOKEN_HELP, "-" + lowerCase(topic.keyword), out), 0);
        std::string expected = banner + withName(topic.start, name);
        EXPECT_EQ(out.substr(0, expected.size()), expected) << "the text starts right after the banner";
    }
    for (const OemWording& wording : OEM_WORDINGS) {
        SCOPED_TRACE(wording.keyword);
        std::string out;
        EXPECT_EQ(runProcessor(controllers.controller(0), TOKEN_Q_MARK, wording.keyword, out), 0);
        EXPECT_TRUE(contains(out, withName(oemId == 2 ? wording.oem2 : wording.otherOem, name))) << out;
    }

    // The OEM-2 name of the destroy command is a topic word for OEM 2 only.
    std::string out;
    int result = runProcessor(controllers.controller(0), TOKEN_HELP, "-DeleteSecurityKey", out);
    if (oemId == 2) {
        EXPECT_EQ(result, 0);
        EXPECT_TRUE(contains(out, "Syntax: QuillCli -DeleteSecurityKey | [-Force] -aN\n"));
    } else {
        EXPECT_EQ(result, -1);
        EXPECT_EQ(out, banner + noMatch("DELETESECURITYKEY"));
    }
}

INSTANTIATE_TEST_SUITE_P(ForEachOem, HelpTopics, ::testing::Values(1, 2, 8));

TEST(AppVersionCp, TextsThatEndAfterTheirDescription)
{
    struct Case {
        const char* topic;
        std::string ending;
    } cases[] = {
        {"adpcount", "\nDescription: \n        Displays the number of controllers supported on the system and returns \n"
                     "        the number to the operating system.\n"},
        {"v", "\nDescription: \n        Command displays the version number of the QuillCLI utility.\n"},
        {"help", "\nDescription: \n        Displays help for the QuillCLI utility.\n"},
        {"adpm0flash", " For Mode 0 flash, the adapter number is not valid. \n"},
        {"adpfwdump", "        This option will download the firmware dump to the file mentioned in the command.\n"},
        {"perfmon", "interval: Interval is perfomance data capture time in minutes. \n"
                    "          -aN         N specifies the adapter number for the command.\n"},
        {"configinfo", "\nDescription: \n          This command displays information about HK driver.\n"},
        {"blazecardinfo", "              -iALL\tLists info about all Blazecards in the system.\n"},
        {"cfgsave", "\nConvention:   \n          -aN         N specifies the adapter number for the command.\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.topic);
        std::string out;
        EXPECT_EQ(runProcessor(nullptr, TOKEN_HELP, c.topic, out), 0);
        ASSERT_GE(out.size(), c.ending.size());
        EXPECT_EQ(out.substr(out.size() - c.ending.size()), c.ending);
    }
}

TEST(AppVersionCp, HostCacheWordsAndConventionBlocks)
{
    std::string out;
    EXPECT_EQ(runProcessor(nullptr, TOKEN_HELP, "vdlist", out), 0);
    EXPECT_TRUE(contains(out, "\n        \tVdList command\n        \t--------------\n\nSyntax: QuillCli HK -VdList | -configured | -unconfigured\n"));
    EXPECT_FALSE(contains(out, "Convention"));

    EXPECT_EQ(runProcessor(nullptr, TOKEN_HELP, "AddVd", out), 0);
    EXPECT_TRUE(contains(out, "              <devList>  List of devices seperated by \":\" (without leading/trailing space/tab).\n"));

    // Two or more block, then the drive list.
    EXPECT_EQ(runProcessor(nullptr, TOKEN_HELP, "pdonline", out), 0);
    EXPECT_TRUE(contains(out, "\nConvention:   \n"
                              "          -aN         N specifies the adapter number for the command.\n"
                              "          -a0,1,2     Specifies the command is for adapters 0, 1, and 2. You can \n"
                              "             \t      select two or more adapters in this manner.\n"
                              "          -aALL       Specifies the command is for all adapters.\n"
                              "          -PhysDrv[E0:S0,E1:S1....]  List of physical drives, E specifies enclosure \n"
                              "                     id and S specifies Slot number of physical drive.  \n"));
    // The wide block of the shutdown text, with its own headings.
    EXPECT_EQ(runProcessor(nullptr, TOKEN_HELP, "adpshutdown", out), 0);
    EXPECT_TRUE(contains(out, "\n\t\t\tAdpShutDown\t\t\n\t\t\t------------\n\nSyntax: QuillCli -AdpShutDown -aN|-a0,1,2|-aALL\n\nDescritption: \n"));
    EXPECT_TRUE(contains(out, "              \t      select two or more adapters in this manner.\n"
                              "          -aALL      Specifies the command is for all adapters. \n"));
    // The raw apostrophe byte of the enclosure list.
    EXPECT_EQ(runProcessor(nullptr, TOKEN_HELP, "showencllist", out), 0);
    EXPECT_TRUE(contains(out, "        Command lists all the enclosure\x92s connected to the selected adapter(s).\n"));
}

}  // namespace
