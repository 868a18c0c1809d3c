#include "Output/PavaneLog.h"
#include "Output/VoPrint.h"

#include "LogsTestUtil.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>

namespace {

using logstest::fileExists;
using logstest::readFile;
using logstest::writeFile;

// 7 March 2026, 09:05:03 local time.
time_t fixedTime()
{
    struct tm local = {};
    local.tm_year = 2026 - 1900;
    local.tm_mon = 2;
    local.tm_mday = 7;
    local.tm_hour = 9;
    local.tm_min = 5;
    local.tm_sec = 3;
    local.tm_isdst = -1;
    return mktime(&local);
}

const char* const STAMP = "03/07/2026 09:05:03 ";

void resetLogs()
{
    setAppLogMode(LOGMODE_APPEND);
    setDebugLogMode(LOGMODE_APPEND);
    applicationLogger()->setOpenMode(0);
    debugLogger()->setOpenMode(0);
    setDebugLogLevel(LOGLEVEL_DEBUG);
    setAppLogFileName(string(APP_LOG_FILE_NAME));
}

// Every test runs in a directory of its own, where "./Volant.log" and "./VoDbg.log" land.
class LogFiles : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_FALSE(dir.path().empty());
        enter.reset(new logstest::InDirectory(dir.path()));
        ASSERT_TRUE(enter->entered());
        resetLogs();
        setLogClock(fixedTime);
    }
    void TearDown() override
    {
        setLogClock(nullptr);
        resetLogs();
        enter.reset();
    }
    std::string appLogFile() const { return dir.file("Volant.log"); }
    std::string debugLogFile() const { return dir.file("VoDbg.log"); }

    logstest::TempDir dir;
    std::unique_ptr<logstest::InDirectory> enter;
};

TEST_F(LogFiles, TimestampHasItsFixedWidths)
{
    struct tm local = {};
    local.tm_year = 2026 - 1900;
    local.tm_mon = 11;
    local.tm_mday = 31;
    local.tm_hour = 23;
    local.tm_min = 0;
    local.tm_sec = 9;
    char buffer[64];
    formatLogTimestamp(local, buffer, sizeof buffer);
    EXPECT_STREQ("12/31/2026 23:00:09 ", buffer);
    local.tm_year = 5 - 1900;
    local.tm_mon = 0;
    local.tm_mday = 1;
    local.tm_hour = 0;
    formatLogTimestamp(local, buffer, sizeof buffer);
    EXPECT_STREQ("01/01/0005 00:00:09 ", buffer);
    char small[8];
    formatLogTimestamp(local, small, sizeof small);
    EXPECT_STREQ("01/01/0", small);
}

TEST_F(LogFiles, LineShowsTimeModuleLevelSourceAndText)
{
    appLogText("CpAdp.cpp", 42, LOG_MODULE_VOLANT, LOGLEVEL_ERROR, string("adapter 0 failed"));
    EXPECT_EQ(std::string(STAMP) + " (Volant)(Error) CpAdp.cpp 42 : adapter 0 failed\n", readFile(appLogFile()));
    EXPECT_FALSE(fileExists(debugLogFile()));
}

TEST_F(LogFiles, ModuleAndLevelNames)
{
    struct Case {
        uint8_t module;
        uint8_t level;
        const char* expected;
    } cases[] = {
        {0, 0, " (Pavane Monitor)(Debug) f 1 : t\n"},
        {1, 1, " (Controller Mgmt)(Info) f 1 : t\n"},
        {2, 2, " (Quilllib Wrapper)(Warning) f 1 : t\n"},
        {4, 3, " (Pavane Log)(Error) f 1 : t\n"},
        {5, 4, " (Popup Log)(Fatal) f 1 : t\n"},
        {6, 5, " (Email Log)(Fatal) f 1 : t\n"},
        {7, 7, " (Unknown Module)(Fatal) f 1 : t\n"},
        {12, 255, " (Unknown Module)(Fatal) f 1 : t\n"},
    };
    for (const Case& c : cases) {
        setAppLogMode(LOGMODE_NEWFILE);
        appLogText("f", 1, c.module, c.level, string("t"));
        EXPECT_EQ(std::string(STAMP) + c.expected, readFile(appLogFile()));
    }
    EXPECT_STREQ("Unknown Module", PavaneLog::instance()->moduleName(8).c_str());
    EXPECT_STREQ("Fatal", PavaneLog::instance()->levelName(5).c_str());
}

// The text is data: a '%' in it is never read as a conversion.
TEST_F(LogFiles, TextIsWrittenVerbatim)
{
    appLogText(nullptr, -1, LOG_MODULE_VOLANT, LOGLEVEL_INFO, string("100% %s %n done"));
    EXPECT_EQ(std::string(STAMP) + " (Volant)(Info)  -1 : 100% %s %n done\n", readFile(appLogFile()));
}

TEST_F(LogFiles, LinesAreAppendedByDefault)
{
    writeFile(appLogFile(), "earlier line\n");
    appLogText("a.cpp", 1, LOG_MODULE_VOLANT, LOGLEVEL_INFO, string("one"));
    appLogText("a.cpp", 2, LOG_MODULE_VOLANT, LOGLEVEL_INFO, string("two"));
    EXPECT_EQ("earlier line\n" + std::string(STAMP) + " (Volant)(Info) a.cpp 1 : one\n" + STAMP +
                  " (Volant)(Info) a.cpp 2 : two\n",
              readFile(appLogFile()));
}

TEST_F(LogFiles, NewFileModeKeepsOnlyTheLastLine)
{
    setAppLogMode(LOGMODE_NEWFILE);
    setDebugLogMode(LOGMODE_NEWFILE);
    for (int i = 1; i <= 3; ++i) {
        appLogFormatted("a.cpp", i, LOG_MODULE_VOLANT, LOGLEVEL_INFO, "line %d", i);
        debugLog("d.cpp", i, LOG_MODULE_VOLANT, LOGLEVEL_INFO, 0x0300, ("file" + std::to_string(i)).c_str());
    }
    EXPECT_EQ(std::string(STAMP) + " (Volant)(Info) a.cpp 3 : line 3\n", readFile(appLogFile()));
    EXPECT_EQ(std::string(STAMP) + " (Volant)(Info) d.cpp 3 : Fatal error - failed to open file file3\n",
              readFile(debugLogFile()));
    EXPECT_EQ(1, applicationLogger()->getOpenMode());
    // Going back to append mode does not reopen the files for appending: the new-file choice
    // holds for the whole run.
    setAppLogMode(LOGMODE_APPEND);
    EXPECT_EQ(1, applicationLogger()->getOpenMode());
}

TEST_F(LogFiles, OffModeTouchesNoFile)
{
    setAppLogMode(LOGMODE_OFF);
    setDebugLogMode(9);
    EXPECT_EQ(LOGMODE_OFF, getDebugLogMode());
    appLogText("a.cpp", 1, LOG_MODULE_VOLANT, LOGLEVEL_FATAL, string("x"));
    appLog("a.cpp", 1, LOG_MODULE_VOLANT, LOGLEVEL_FATAL, 0x0301, 1u, 2u);
    appLogFormatted("a.cpp", 1, LOG_MODULE_VOLANT, LOGLEVEL_FATAL, "%s", "x");
    debugLog("a.cpp", 1, LOG_MODULE_VOLANT, LOGLEVEL_FATAL, 0x0000);
    EXPECT_FALSE(fileExists(appLogFile()));
    EXPECT_FALSE(fileExists(debugLogFile()));
}

TEST_F(LogFiles, PrintingGoesOnWhenTheLogIsOff)
{
    FILE* screen = tmpfile();
    ASSERT_NE(nullptr, screen);
    unsigned char mode = VoPrint::instance()->getMode();
    VoPrint::instance()->setMode(VOPRINT_MODE_SCREEN);
    VoPrint::instance()->setConsoleStreams(screen, nullptr);

    appLogAndPrint("p.cpp", 5, LOG_MODULE_VOLANT, LOGLEVEL_ERROR, string("shown and logged\n"));
    setAppLogMode(LOGMODE_OFF);
    appLogAndPrint("p.cpp", 6, LOG_MODULE_VOLANT, LOGLEVEL_ERROR, string("shown only\n"));

    VoPrint::instance()->setConsoleStreams(nullptr, nullptr);
    VoPrint::instance()->setMode(mode);
    rewind(screen);
    char buffer[128] = {};
    size_t n = fread(buffer, 1, sizeof buffer - 1, screen);
    fclose(screen);
    EXPECT_EQ("shown and logged\nshown only\n", std::string(buffer, n));
    EXPECT_EQ(std::string(STAMP) + " (Volant)(Error) p.cpp 5 : shown and logged\n\n", readFile(appLogFile()));
}

TEST_F(LogFiles, DebugLevelIsLimitedToFatal)
{
    setDebugLogLevel(9);
    EXPECT_EQ(LOGLEVEL_FATAL, debugLogger()->getThreshold());
    debugLog("d.cpp", 1, LOG_MODULE_VOLANT, LOGLEVEL_ERROR, 0x0001);
    EXPECT_FALSE(fileExists(debugLogFile()));
    debugLog("d.cpp", 2, LOG_MODULE_VOLANT, LOGLEVEL_FATAL, 0x0001);
    debugLog("d.cpp", 3, LOG_MODULE_VOLANT, 7, 0x0001);
    EXPECT_EQ(std::string(STAMP) + " (Volant)(Fatal) d.cpp 2 : VLN instance created successfully\n" + STAMP +
                  " (Volant)(Fatal) d.cpp 3 : VLN instance created successfully\n",
              readFile(debugLogFile()));
    // The application log's threshold is its own.
    appLogText("a.cpp", 1, LOG_MODULE_VOLANT, LOGLEVEL_DEBUG, string("kept"));
    EXPECT_TRUE(fileExists(appLogFile()));
}

TEST_F(LogFiles, IdWithoutTextWritesNothing)
{
    appLog("a.cpp", 1, LOG_MODULE_VOLANT, LOGLEVEL_ERROR, 0x0308);
    appLog("a.cpp", 1, LOG_MODULE_VOLANT, LOGLEVEL_ERROR, 0x0303, 5);  // no debug text for this id
    debugLog("d.cpp", 1, LOG_MODULE_VOLANT, LOGLEVEL_ERROR, 0x0006);
    debugLog("d.cpp", 1, LOG_MODULE_VOLANT, LOGLEVEL_ERROR, 0x0800);
    appLogText("a.cpp", 1, LOG_MODULE_VOLANT, LOGLEVEL_ERROR, string(""));
    EXPECT_FALSE(fileExists(appLogFile()));
    EXPECT_FALSE(fileExists(debugLogFile()));
}

// The application-log calls of the command processors: each line carries what the caller
// passed, and a conversion without its argument is never formatted.
TEST_F(LogFiles, ApplicationLogLinesByTextId)
{
    struct Case {
        std::function<void()> call;
        const char* expected;
    } cases[] = {
        {[] { appLog("c", 1, LOG_MODULE_VOLANT, LOGLEVEL_ERROR, 0x0301, 0x01010000u, 0x0Cu); },
         " (Volant)(Error) c 1 : ZPR opcode 0x01010000 returned with error code 0x0000000c\n"},
        {[] { appLog("c", 2, LOG_MODULE_VOLANT, LOGLEVEL_ERROR, 0x0300, "cfg.txt"); },
         " (Volant)(Error) c 2 : Fatal error - failed to open file cfg.txt\n"},
        {[] { appLog("c", 3, LOG_MODULE_VOLANT, LOGLEVEL_DEBUG, 0x0302, 0x0000002Bu, 1000, 0, 12); },
         " (Volant)(Debug) c 3 : Event Opcode: 0x0000002b, seqNum: 1000, retCode: 0, Event Count: 12\n"},
        {[] { appLog("c", 4, LOG_MODULE_VOLANT, LOGLEVEL_DEBUG, 0x0302, "Get event failed", 0xFFFF); },
         " (Volant)(Debug) c 4 : Event Opcode: 0x%.8x, seqNum: %d, retCode: %d, Event Count: %d"
         " (Get event failed, 65535)\n"},
        {[] { appLog("c", 5, LOG_MODULE_VOLANT, LOGLEVEL_DEBUG, 0x0300); },
         " (Volant)(Debug) c 5 : AdpAllInfo option execution started\n"},
    };
    for (const Case& c : cases) {
        setAppLogMode(LOGMODE_NEWFILE);
        c.call();
        EXPECT_EQ(std::string(STAMP) + c.expected, readFile(appLogFile()));
    }
}

TEST_F(LogFiles, DebugLineWithoutArgumentsIsNotFormatted)
{
    debugLog("d.cpp", 9, LOG_MODULE_VOLANT, LOGLEVEL_ERROR, 0x0300);
    EXPECT_EQ(std::string(STAMP) + " (Volant)(Error) d.cpp 9 : Fatal error - failed to open file %s\n",
              readFile(debugLogFile()));
}

TEST_F(LogFiles, FormattedTextIsCutTo1023Characters)
{
    std::string longText(4000, 'y');
    appLogFormatted("a.cpp", 1, LOG_MODULE_VOLANT, LOGLEVEL_INFO, "%s", longText.c_str());
    appLog("a.cpp", 2, LOG_MODULE_VOLANT, LOGLEVEL_INFO, 0x0300, longText.c_str());
    std::string prefix1 = std::string(STAMP) + " (Volant)(Info) a.cpp 1 : ";
    std::string prefix2 = std::string(STAMP) + " (Volant)(Info) a.cpp 2 : ";
    std::string text2 = ("Fatal error - failed to open file " + longText).substr(0, 1023);
    EXPECT_EQ(prefix1 + std::string(1023, 'y') + "\n" + prefix2 + text2 + "\n", readFile(appLogFile()));
}

TEST_F(LogFiles, FileNameCanBeChanged)
{
    setAppLogFileName(string("custom/app.log"));
    appLogText("a.cpp", 1, LOG_MODULE_VOLANT, LOGLEVEL_INFO, string("lost"));  // folder missing: silent
    ASSERT_EQ(0, mkdir(dir.file("custom").c_str(), 0755));
    appLogText("a.cpp", 2, LOG_MODULE_VOLANT, LOGLEVEL_INFO, string("kept"));
    EXPECT_EQ(std::string(STAMP) + " (Volant)(Info) a.cpp 2 : kept\n", readFile(dir.file("custom/app.log")));
    EXPECT_FALSE(fileExists(appLogFile()));
}

TEST_F(LogFiles, FileSizeOfMissingFileIsUnknown)
{
    FileLogger logger(string("missing.log"), LOG_MODULE_VOLANT, 0);
    EXPECT_EQ(-1, logger.fileSize());
    writeFile(dir.file("missing.log"), "12345");
    EXPECT_EQ(5, logger.fileSize());
}

const std::string LINE = std::string(STAMP) + " (Volant)(Info) r 1 : next\n";

TEST_F(LogFiles, FileAtTheLimitIsAppendedTo)
{
    std::string full(LOG_FILE_ROTATE_SIZE, 'a');
    writeFile(appLogFile(), full);
    appLogText("r", 1, LOG_MODULE_VOLANT, LOGLEVEL_INFO, string("next"));
    EXPECT_EQ(full + LINE, readFile(appLogFile()));
    EXPECT_FALSE(fileExists(appLogFile() + ".1"));
}

TEST_F(LogFiles, FileOverTheLimitIsMovedAside)
{
    std::string over(LOG_FILE_ROTATE_SIZE + 1, 'b');
    writeFile(appLogFile(), over);
    writeFile(appLogFile() + ".1", "older backup\n");
    appLogText("r", 1, LOG_MODULE_VOLANT, LOGLEVEL_INFO, string("next"));
    EXPECT_EQ(LINE, readFile(appLogFile()));
    EXPECT_EQ(over, readFile(appLogFile() + ".1"));

    // The next line goes into the new file; the backup is not touched again.
    appLogText("r", 1, LOG_MODULE_VOLANT, LOGLEVEL_INFO, string("next"));
    EXPECT_EQ(LINE + LINE, readFile(appLogFile()));
    EXPECT_EQ(over, readFile(appLogFile() + ".1"));
}

TEST_F(LogFiles, DebugLogRotatesToo)
{
    std::string over(LOG_FILE_ROTATE_SIZE + 100, 'c');
    writeFile(debugLogFile(), over);
    debugLog("d", 1, LOG_MODULE_VOLANT, LOGLEVEL_INFO, 0x0003);
    EXPECT_EQ(std::string(STAMP) + " (Volant)(Info) d 1 : Created a new tokenizer successfully\n",
              readFile(debugLogFile()));
    EXPECT_EQ(over, readFile(debugLogFile() + ".1"));
}

// A backup that cannot be deleted (here a folder with contents in its place): the log itself is
// deleted so that it starts again with the line being written.
TEST_F(LogFiles, LogIsDeletedWhenTheBackupCannotBeReplaced)
{
    std::string over(LOG_FILE_ROTATE_SIZE + 1, 'd');
    writeFile(appLogFile(), over);
    ASSERT_EQ(0, mkdir((appLogFile() + ".1").c_str(), 0755));
    writeFile(appLogFile() + ".1/keep", "x");
    appLogText("r", 1, LOG_MODULE_VOLANT, LOGLEVEL_INFO, string("next"));
    EXPECT_EQ(LINE, readFile(appLogFile()));
    EXPECT_EQ("x", readFile(appLogFile() + ".1/keep"));
}

TEST_F(LogFiles, LogThatCannotBeOpenedLosesTheLineSilently)
{
    setAppLogFileName(string("adir"));
    ASSERT_EQ(0, mkdir(dir.file("adir").c_str(), 0755));
    appLogText("a.cpp", 1, LOG_MODULE_VOLANT, LOGLEVEL_FATAL, string("lost"));
    EXPECT_FALSE(fileExists(dir.file("adir.1")));
}

TEST(LogDefaults, TwoLogsOnByDefault)
{
    EXPECT_STREQ("./Volant.log", applicationLogger()->getFileName().c_str());
    EXPECT_STREQ("./VoDbg.log", debugLogger()->getFileName().c_str());
    EXPECT_EQ(LOG_MODULE_VOLANT, applicationLogger()->getModule());
    EXPECT_EQ(LOG_MODULE_VOLANT, debugLogger()->getModule());
    EXPECT_EQ(LOGLEVEL_DEBUG, applicationLogger()->getThreshold());
    EXPECT_EQ(LOGMODE_APPEND, getAppLogMode());
    EXPECT_EQ(LOGMODE_APPEND, getDebugLogMode());
}

} // namespace
