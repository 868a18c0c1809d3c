// The version and help processor run in-process on hand-built requests: the banner chosen by
// the controller's OEM identifier, the topic word's normalisation and bounds, and the two
// no-match lines. The whole texts are compared end to end (tests/e2e/HelpE2eTest.cpp).
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "CpMgmt/CmdPro/AppVersionCp.h"
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
