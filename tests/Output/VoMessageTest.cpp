#include "ConsoleFixture.h"

#include <functional>
#include <vector>

#include "Output/VoMessage.h"
#include "PavUtil/FileIO.h"

using MessageTest = ConsoleFixture;

TEST(VoMessage, LooksUpTheFirstRowWithTheIdOrGivesAnEmptyText)
{
    VoMessage known(MSG_ADAPTER_HEADER);
    EXPECT_EQ(known.id(), 0x12u);
    string* text = known.text();
    ASSERT_NE(text, nullptr);
    EXPECT_STREQ(text->c_str(), "Adapter #%d\n\n");
    // A second lookup replaces the first text and finds the same row.
    EXPECT_STREQ(known.text()->c_str(), "Adapter #%d\n\n");

    VoMessage unknown(0x3fffe);
    ASSERT_NE(unknown.text(), nullptr);
    EXPECT_EQ(unknown.text()->length(), 0);

    VoMessage last(0xFFFFFFFFu);
    EXPECT_STREQ(last.text()->c_str(), "Last Message String.");
}

// The lookup goes through an index: every row of the table must be reachable by its id, and
// ids next to the table's find nothing.
TEST(VoMessage, EveryRowIsFoundByItsId)
{
    for (unsigned int row = 0; row < VT_MESSAGES_COUNT; ++row) {
        VoMessage message(VT_MESSAGES[row].id);
        EXPECT_STREQ(message.text()->c_str(), VT_MESSAGES[row].text)
            << std::hex << VT_MESSAGES[row].id;
    }
    for (unsigned int id : {0x10002u, 0x7FFFFFFFu, 0xFFFFFFFEu})
        EXPECT_EQ(VoMessage(id).text()->length(), 0) << std::hex << id;
}

TEST_F(MessageTest, PrintsByIdWithArguments)
{
    struct Case {
        const char* name;
        std::function<void()> call;
        std::string expected;
    };
    const std::vector<Case> cases = {
        {"plain text unchanged", [] { printMessage(MSG_TEXT, "50% of %s\n"); }, "50% of %s\n"},
        {"line feed", [] { printMessage(MSG_NEWLINE); }, "\n"},
        {"last row", [] { printMessage(0xFFFFFFFFu); }, "Last Message String."},
        {"adapter text", [] { printMessage(MSG_ADAPTER_TEXT, 3, "Done"); }, "Adapter 3: Done\n"},
        {"percent sign", [] { printMessage(0x31c03, 0, 30); }, "Adapter 0: Rebuild Rate = 30%\n"},
        {"exit code", [] { printMessage(MSG_EXIT_CODE, 12); }, "\nExit Code: 0x0c\n"},
        {"64-bit hex", [] { printMessage(MSG_HEX64, 0x1122334455667788ULL); }, "1122334455667788 "},
        {"64-bit decimal", [] { printMessage(MSG_DECIMAL64, 42LL); }, "0000000000000042 "},
        {"precision cut", [] { printMessage(0x34007, std::string(200, 'e').c_str()); },
         "Event Description: " + std::string(127, 'e') + "\n"},
        {"left-aligned cell", [] { printMessage(MSG_COLUMN_10, "PD"); }, "PD        "},
        {"character", [] { printMessage(0x37203, 'Y'); }, "Y"},
        {"scanner complaint",
         [] { printMessage(0x10001, "-Foo"); },
         "\rInvalid input at or near token -Foo" + std::string(43, ' ') + "\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_EQ(ftruncate(fileno(out), 0), 0);
        rewind(out);
        c.call();
        EXPECT_EQ(screen(), c.expected);
    }
}

TEST_F(MessageTest, EveryPrintedTextIsPagedAndLogged)
{
    VoPrint::instance()->setPageLength(2);
    setInput("\n");
    printMessage(MSG_ADAPTER_HEADER, 1);
    printMessage(MSG_TEXT, "tail");
    EXPECT_EQ(screen(), "Adapter #1\n\n" + std::string(PROMPT) + "tail");
    EXPECT_EQ(logText(), "Adapter #1\n\ntail");
}

TEST_F(MessageTest, AnUnknownIdPrintsNothingAndLeavesTheLogAlone)
{
    printMessage(0x3fffe, 1, "x");
    printMessage(0x8, 1);
    EXPECT_EQ(screen(), "");
    EXPECT_FALSE(exists(logPath));
}

TEST_F(MessageTest, LongUserTextIsCutNotOverrun)
{
    // A file name typed by the user may be far longer than the format buffer.
    const std::string name(5000, 'n');
    printMessage(MSG_FILE_OPEN_FAILED, name.c_str());
    const std::string expected = ("ERROR: Failed to open file " + name).substr(0, VOMESSAGE_PRINT_BUFFER - 1);
    EXPECT_EQ(screen(), expected);
    EXPECT_EQ(logText(), expected);
}

TEST_F(MessageTest, UserTextIsDataNotAFormat)
{
    printMessage(MSG_TEXT, "key %s%n%x%%\n");
    EXPECT_EQ(screen(), "key %s%n%x%%\n");
}

class MessageFileTest : public ConsoleFixture {
protected:
    void SetUp() override
    {
        ConsoleFixture::SetUp();
        path = dir + "/events.txt";
        handle = FileIO::instance()->open(path.c_str(), "w");
        ASSERT_NE(handle, nullptr);
    }
    void TearDown() override
    {
        if (handle != nullptr)
            FileIO::instance()->close(handle);
        ConsoleFixture::TearDown();
    }
    std::string closeAndRead()
    {
        FileIO::instance()->close(handle);
        handle = nullptr;
        return fileText(path);
    }

    std::string path;
    FileHandle* handle = nullptr;
};

TEST_F(MessageFileTest, WritesFormattedTextsToTheFileOnly)
{
    EXPECT_EQ(printMessageToFile(handle, 0x34003, 0x1a2bu), 0);
    EXPECT_EQ(printMessageToFile(handle, 0x31c03, 2, 15), 0);
    EXPECT_EQ(printMessageToFile(handle, 0x34007, "disk %s failed 100%%"), 0);
    EXPECT_EQ(printMessageToFile(handle, 0x3fffe, 1), 0);
    EXPECT_EQ(closeAndRead(),
              "\n\nseqNum: 0x00001a2b\n"
              "Adapter 2: Rebuild Rate = 15%\n"
              "Event Description: disk %s failed 100%%\n");
    EXPECT_EQ(screen(), "");
    EXPECT_FALSE(exists(logPath));
}

TEST_F(MessageFileTest, LongTextIsCutAtTheFileBuffer)
{
    const std::string text(3000, 't');
    EXPECT_EQ(printMessageToFile(handle, MSG_TEXT, text.c_str()), 0);
    EXPECT_EQ(closeAndRead(), text.substr(0, VOMESSAGE_FILE_BUFFER - 1));
}

TEST_F(MessageFileTest, AFailedWriteGivesMinusOne)
{
    FileIO::instance()->close(handle);
    handle = FileIO::instance()->open(path.c_str(), "r");
    ASSERT_NE(handle, nullptr);
    EXPECT_EQ(printMessageToFile(handle, MSG_TEXT, "x"), -1);
    // An id without a row writes nothing, so nothing can fail.
    EXPECT_EQ(printMessageToFile(handle, 0x3fffe), 0);
}
