#include "ConsoleFixture.h"
#include "TestSupport.h"

#include <fcntl.h>
#include <unistd.h>

#include <cstring>
#include <vector>

using PrintTest = ConsoleFixture;

TEST_F(PrintTest, StartsWithBothModeBitsAndTheDefaultLogName)
{
    EXPECT_EQ(VOPRINT_MODE_SCREEN, 0x01);
    EXPECT_EQ(VOPRINT_MODE_LOG, 0x02);
    // A fresh printer (not the shared one, whose state the fixture changed).
    OsVoPrint fresh;
    EXPECT_EQ(fresh.getMode(), 3);
    EXPECT_EQ(fresh.getPageLength(), 0);
    EXPECT_EQ(fresh.getLineCount(), 0);
    EXPECT_STREQ(fresh.getLogFileName().c_str(), "QuillSAS.log");
    EXPECT_EQ(VoPrint::instance(), VoPrint::instance());
}

TEST_F(PrintTest, WithoutPagingATextIsWrittenWholeAndTheCounterStays)
{
    VoPrint::instance()->setLineCount(5);
    setInput("xyz");
    print("one\ntwo\nthree\nfour\n");
    EXPECT_EQ(screen(), "one\ntwo\nthree\nfour\n");
    EXPECT_EQ(VoPrint::instance()->getLineCount(), 5);
    EXPECT_EQ(unreadInput(), "xyz");
}

struct PagingCase {
    const char* name;
    unsigned char pageLength;
    unsigned short startCount;
    std::vector<const char*> texts;
    const char* input;
    std::string screen;
    unsigned short endCount;
    const char* unread;
};

TEST_F(PrintTest, PagingCountsCompletedLinesAcrossTexts)
{
    const std::string P = PROMPT;
    const std::vector<PagingCase> cases = {
        {"prompt after the second of three lines", 2, 0, {"first\nsecond\nthird"}, "\n",
         "first\nsecond\n" + P + "third", 0, ""},
        {"two one-line texts fill one page", 2, 0, {"a\n", "b\n"}, "\n\n", "a\n" "b\n" + P, 0, "\n"},
        {"a text without a line feed never prompts", 1, 0, {"cell  "}, "", "cell  ", 0, ""},
        {"partial lines join across texts", 1, 0, {"ab", "c\nd", "e"}, "xy",
         "abc\n" + P + "de", 0, "y"},
        {"carriage returns count for nothing", 2, 0, {"\r 10%\r 20%\r", "\n"}, "", "\r 10%\r 20%\r\n", 1, ""},
        {"the completing line feed prompts even at the very end", 3, 1, {"x\ny\n"}, "q",
         "x\ny\n" + P, 0, ""},
        {"end of input does not stop printing", 1, 0, {"1\n2\n3\n"}, "k",
         "1\n" + P + "2\n" + P + "3\n" + P, 0, ""},
        {"a counter beyond the page prompts at the next line feed", 2, 7, {"tail", "\nmore"}, "!",
         "tail\n" + P + "more", 0, ""},
        {"an empty text writes nothing", 1, 0, {""}, "z", "", 0, "z"},
    };
    for (const PagingCase& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_EQ(ftruncate(fileno(out), 0), 0);
        rewind(out);
        setInput(c.input);
        VoPrint::instance()->setPageLength(c.pageLength);
        VoPrint::instance()->setLineCount(c.startCount);
        for (const char* text : c.texts)
            print(text);
        EXPECT_EQ(screen(), c.screen);
        EXPECT_EQ(VoPrint::instance()->getLineCount(), c.endCount);
        EXPECT_EQ(unreadInput(), c.unread);
    }
}

TEST_F(PrintTest, EachPromptReadsExactlyOneCharacterOfATypedLine)
{
    VoPrint::instance()->setPageLength(1);
    setInput("yes\n");
    print("a\n");
    EXPECT_EQ(unreadInput(), "es\n");
}

TEST_F(PrintTest, ConsoleLogGetsEveryTextInOrderWithoutPrompts)
{
    {
        FILE* f = fopen(logPath.c_str(), "w");
        ASSERT_NE(f, nullptr);
        fputs("earlier run\n", f);
        fclose(f);
    }
    VoPrint::instance()->setPageLength(1);
    setInput("\n\n\n");
    print("Adapter #0\n\n");
    print("cell ");
    print("100%% done\r\n");
    EXPECT_EQ(screen(), "Adapter #0\n" + std::string(PROMPT) + "\n" + PROMPT + "cell 100%% done\r\n" + PROMPT);
    EXPECT_EQ(logText(), "earlier run\nAdapter #0\n\ncell 100%% done\r\n");
}

TEST_F(PrintTest, ScreenOffStillLogsAndNeverPrompts)
{
    VoPrint::instance()->setMode(VOPRINT_MODE_LOG);
    VoPrint::instance()->setPageLength(1);
    setInput("abc");
    print("one\ntwo\n");
    EXPECT_EQ(screen(), "");
    EXPECT_EQ(unreadInput(), "abc");
    EXPECT_EQ(logText(), "one\ntwo\n");
}

TEST_F(PrintTest, LogOffLeavesTheFileUntouched)
{
    VoPrint::instance()->setMode(VOPRINT_MODE_SCREEN);
    print("shown\n");
    EXPECT_EQ(screen(), "shown\n");
    EXPECT_FALSE(exists(logPath));

    VoPrint::instance()->setMode(0);
    print("nowhere\n");
    EXPECT_EQ(screen(), "shown\n");
    EXPECT_FALSE(exists(logPath));
}

TEST_F(PrintTest, AnEmptyTextStillCreatesTheLog)
{
    print("");
    EXPECT_EQ(screen(), "");
    EXPECT_TRUE(exists(logPath));
    EXPECT_EQ(logText(), "");
}

TEST_F(PrintTest, LogNameChangeTakesEffectWithTheNextText)
{
    const std::string other = dir + "/other.log";
    print("first\n");
    VoPrint::instance()->setLogFileName(string(other.c_str()));
    EXPECT_STREQ(VoPrint::instance()->getLogFileName().c_str(), other.c_str());
    print("second\n");
    EXPECT_EQ(logText(), "first\n");
    EXPECT_EQ(fileText(other), "second\n");
}

TEST_F(PrintTest, AnUnopenableLogIsSkippedSilently)
{
    const std::string bad = dir + "/no-such-dir/console.log";
    VoPrint::instance()->setLogFileName(string(bad.c_str()));
    print("still shown\n");
    EXPECT_EQ(screen(), "still shown\n");
    EXPECT_FALSE(exists(bad));
}

TEST_F(PrintTest, DefaultStreamIsStdioStdoutInCallOrder)
{
    // Characters other code writes through stdout (the scanner's echo) stay in order with
    // the printer's texts.
    VoPrint::instance()->setConsoleStreams(nullptr, nullptr);
    VoPrint::instance()->setMode(VOPRINT_MODE_SCREEN);
    testsupport::StreamCapture captured;
    fputs("echo ", stdout);
    print("message\n");
    fputs("after", stdout);
    EXPECT_EQ(captured.take(), "echo message\nafter");
}

class StdinPipe {
public:
    StdinPipe()
    {
        savedStdin = dup(0);
        if (pipe(fds) == 0)
            dup2(fds[0], 0);
    }
    ~StdinPipe()
    {
        dup2(savedStdin, 0);
        close(savedStdin);
        close(fds[0]);
        close(fds[1]);
    }
    void type(const char* text) { (void)!write(fds[1], text, strlen(text)); }
    std::string pending()
    {
        char buf[64];
        int flags = fcntl(0, F_GETFL);
        fcntl(0, F_SETFL, flags | O_NONBLOCK);
        ssize_t n = read(0, buf, sizeof(buf));
        fcntl(0, F_SETFL, flags);
        return n > 0 ? std::string(buf, static_cast<size_t>(n)) : std::string();
    }

private:
    int savedStdin = -1;
    int fds[2] = {-1, -1};
};

TEST(KeyPressed, ReportsAWaitingCharacterWithoutConsumingIt)
{
    StdinPipe input;
    EXPECT_EQ(keyPressed(), 0);
    input.type("\x1b");
    EXPECT_EQ(keyPressed(), 1);
    EXPECT_EQ(keyPressed(), 1);
    EXPECT_EQ(input.pending(), "\x1b");
    EXPECT_EQ(keyPressed(), 0);
}
