#include "Output/VoError.h"
#include "Output/VoPrint.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

namespace {

struct TableCase {
    const char* table;
    const string& (*lookup)(uint16_t);
    uint16_t id;
    const char* expected;
};

// Texts by id, including ids the tables do not hold: an unfilled group, a row past 31, a group
// past 7, a row without a text in a filled group.
TEST(TextTables, LookupByGroupAndRow)
{
    const TableCase cases[] = {
        {"error", VolantErrorStrings::text, 0x0001, "Fatal error - Volant invoked with wrong parameters"},
        {"error", VolantErrorStrings::text, 0x0101, "Error - Invalid option %s specified"},
        {"error", VolantErrorStrings::text, 0x0000, ""},
        {"error", VolantErrorStrings::text, 0x0002, ""},
        {"error", VolantErrorStrings::text, 0x0200, ""},
        {"error", VolantErrorStrings::text, 0x0120, ""},
        {"error", VolantErrorStrings::text, 0x0800, ""},
        {"error", VolantErrorStrings::text, 0xFFFF, ""},
        {"appLog", VoAppLogDebugStrings::text, 0x0300, "AdpAllInfo option execution started"},
        {"appLog", VoAppLogDebugStrings::text, 0x0307, "LdAdd option execution completed successfully"},
        {"appLog", VoAppLogDebugStrings::text, 0x0308, ""},
        {"appLog", VoAppLogDebugStrings::text, 0x030A, ""},
        {"appLog", VoAppLogDebugStrings::text, 0x0001, ""},
        {"debug", VolantDebugStrings::text, 0x0000, "Fatal error - cannot get VLN instance"},
        {"debug", VolantDebugStrings::text, 0x0100, "tokenize() method called on Tokenizer "},
        {"debug", VolantDebugStrings::text, 0x0201, "Parser Factory Instance get successfull"},
        {"debug", VolantDebugStrings::text, 0x0302, "Event Opcode: 0x%.8x, seqNum: %d, retCode: %d, Event Count: %d"},
        {"debug", VolantDebugStrings::text, 0x0400, ""},
        {"debug", VolantDebugStrings::text, 0x031F, ""},
    };
    for (const TableCase& c : cases) {
        EXPECT_STREQ(c.expected, c.lookup(c.id).c_str()) << c.table << " 0x" << std::hex << c.id;
    }
    EXPECT_EQ(&emptyTableText(), &VolantErrorStrings::text(0x0800));
    EXPECT_EQ(&emptyTableText(), &VolantDebugStrings::text(0x0120));
}

TEST(TextTables, FreeLookupsUseTheirTables)
{
    EXPECT_STREQ("Error - Invalid option %s specified", errorText(0x0101).c_str());
    EXPECT_STREQ("AdpAlarm option execution started", logMessageText(0x0302).c_str());
    EXPECT_STREQ("ZPR opcode 0x%.8x returned with error code 0x%.8x", debugLogText(0x0301).c_str());
    EXPECT_STREQ("", logMessageText(0x0308).c_str());
}

TEST(TextTables, NoTextEndsInALineFeed)
{
    const TextTableData* tables[] = {&VolantErrorStrings::data, &VoAppLogDebugStrings::data, &VolantDebugStrings::data};
    for (const TextTableData* table : tables) {
        for (size_t i = 0; i < table->rowCount; ++i) {
            std::string text = table->rows[i].text;
            ASSERT_FALSE(text.empty());
            EXPECT_NE('\n', text.back()) << text;
        }
    }
}

std::string format(const char* text, std::initializer_list<TextArg> args, size_t size = TEXT_FORMAT_BUFFER)
{
    std::vector<char> buffer(size + 1, '#');
    size_t length = formatTableText(buffer.data(), size, text, args.begin(), args.size());
    EXPECT_EQ('#', buffer[size]) << "wrote past the buffer";
    std::string result(buffer.data());
    EXPECT_EQ(result.size(), length);
    return result;
}

TEST(TableTextFormatting, ArgumentsThatFitAreFormatted)
{
    EXPECT_EQ("ZPR opcode 0x01010000 returned with error code 0x0000000c",
              format("ZPR opcode 0x%.8x returned with error code 0x%.8x", {0x01010000u, 12}));
    EXPECT_EQ("Event Opcode: 0x0000002a, seqNum: -3, retCode: 0, Event Count: 4",
              format("Event Opcode: 0x%.8x, seqNum: %d, retCode: %d, Event Count: %d", {42, -3, 0, 4}));
    EXPECT_EQ("Error - Invalid option -Foo specified", format("Error - Invalid option %s specified", {"-Foo"}));
    EXPECT_EQ("Error - Invalid option -Bar specified",
              format("Error - Invalid option %s specified", {string("-Bar")}));
    EXPECT_EQ("[  7|7   |A|100%]", format("[%3d|%-4u|%c|%d%%]", {7, 7u, 'A', 100}));
    // Length modifiers in the text do not decide how the argument is read: its own type does.
    EXPECT_EQ("-1 ffffffff 18446744073709551615 -5", format("%ld %lx %llu %hd", {-1, -1, ~0ull, -5LL}));
    EXPECT_EQ("0xffffffffffffffff", format("0x%x", {static_cast<long long>(-1)}));
}

TEST(TableTextFormatting, TextWithoutArgumentsIsWrittenAsItIs)
{
    EXPECT_EQ("Fatal error - failed to open file %s", format("Fatal error - failed to open file %s", {}));
    EXPECT_EQ("100%% done %n %d", format("100%% done %n %d", {}));
}

// A conversion never reads an argument the caller did not pass, nor one of another kind.
TEST(TableTextFormatting, ArgumentsThatDoNotFitFollowTheText)
{
    EXPECT_EQ("Event Opcode: 0x%.8x, seqNum: %d, retCode: %d, Event Count: %d (no event data, -5)",
              format("Event Opcode: 0x%.8x, seqNum: %d, retCode: %d, Event Count: %d", {"no event data", -5}));
    EXPECT_EQ("open file %s (3)", format("open file %s", {3}));
    EXPECT_EQ("a %d b %d (1)", format("a %d b %d", {1}));
    EXPECT_EQ("AdpAllInfo option execution started (0x1, 2)",
              format("AdpAllInfo option execution started", {"0x1", 2u}));
    EXPECT_EQ("%n (5)", format("%n", {5}));
    EXPECT_EQ("%*d (5, 6)", format("%*d", {5, 6}));
    EXPECT_EQ("%1.2.3d (5)", format("%1.2.3d", {5}));
    EXPECT_EQ("[   0042]", format("[%7.4d]", {42}));
    EXPECT_EQ("%p (7)", format("%p", {7}));
    EXPECT_EQ("%s (7)", format("%s", {7}));
    EXPECT_EQ("trailing % (1)", format("trailing %", {1}));
    const char* none = nullptr;
    EXPECT_EQ("[(null)]", format("[%s]", {none}));
}

TEST(TableTextFormatting, LongResultsAreCutToTheBuffer)
{
    std::string longText(3000, 'x');
    EXPECT_EQ(std::string(TEXT_FORMAT_BUFFER - 1, 'x'), format("%s", {longText.c_str()}));
    EXPECT_EQ("open " + std::string(5, 'x'), format("open %s!", {longText.c_str()}, 11));
    EXPECT_EQ("abc", format("abcdef", {}, 4));
    EXPECT_EQ("%q (1", format("%q", {1}, 6));
    char one[1] = {'#'};
    EXPECT_EQ(0u, formatTableText(one, 1, "abc", nullptr, 0));
    EXPECT_EQ('\0', one[0]);
}

// Captures what the error reporter prints; the console log stays off so no file is written.
class ErrorReporter : public ::testing::Test {
protected:
    void SetUp() override
    {
        screen = tmpfile();
        ASSERT_NE(nullptr, screen);
        savedMode = VoPrint::instance()->getMode();
        VoPrint::instance()->setMode(VOPRINT_MODE_SCREEN);
        VoPrint::instance()->setConsoleStreams(screen, nullptr);
    }
    void TearDown() override
    {
        VoPrint::instance()->setConsoleStreams(nullptr, nullptr);
        VoPrint::instance()->setMode(savedMode);
        fclose(screen);
        setLastErrorId(0);
    }
    std::string printed()
    {
        fflush(screen);
        rewind(screen);
        std::string text;
        int c;
        while ((c = fgetc(screen)) != EOF) {
            text += static_cast<char>(c);
        }
        return text;
    }

    FILE* screen = nullptr;
    unsigned char savedMode = 0;
};

TEST_F(ErrorReporter, WrongParametersIsPrintedWithoutLineFeed)
{
    reportError(VOERROR_WRONG_PARAMETERS);
    EXPECT_EQ("Fatal error - Volant invoked with wrong parameters", printed());
    EXPECT_EQ(-1, lastErrorId());
}

TEST_F(ErrorReporter, InvalidOptionNamesTheOption)
{
    reportError(VOERROR_INVALID_OPTION, "-Frobnicate%n%s");
    EXPECT_EQ("Error - Invalid option -Frobnicate%n%s specified", printed());
    EXPECT_EQ(-0x101, lastErrorId());
}

TEST_F(ErrorReporter, IdWithoutTextPrintsNothingButIsRecorded)
{
    reportError(0x0002);
    EXPECT_EQ("", printed());
    EXPECT_EQ(-2, lastErrorId());
    reportError(0x0800, "ignored");
    EXPECT_EQ("", printed());
    EXPECT_EQ(-0x800, lastErrorId());
}

TEST_F(ErrorReporter, LastErrorIdIsTheNegatedStoredId)
{
    EXPECT_EQ(0, lastErrorId());
    setLastErrorId(-7);
    EXPECT_EQ(7, lastErrorId());
    setLastErrorId(INT16_MIN);
    EXPECT_EQ(INT16_MIN, lastErrorId());
    reportError(0xFFFF);
    EXPECT_EQ(1, lastErrorId());
}

TEST_F(ErrorReporter, LongOptionTextIsCutWithoutOverrun)
{
    std::string option(5000, 'o');
    reportError(VOERROR_INVALID_OPTION, option.c_str());
    std::string text = printed();
    EXPECT_EQ(TEXT_FORMAT_BUFFER - 1, text.size());
    EXPECT_EQ(0u, text.find("Error - Invalid option ooo"));
}

} // namespace
