// Shared parsing rules: drive lists and the file-name option.
#include "ParserTestSupport.h"

#include "RaidManager/EnclSlotId.h"
#include "Parser/ParserUtil.h"
#include "PavUtil/Functor.h"

#include <gtest/gtest.h>

#include <utility>

namespace {

typedef std::vector<std::pair<int, int>> Drives;

struct DriveListCase {
    const char* name;
    const char* text;
    bool accepted;
    Drives drives;  // (enclosure, slot)
};

const DriveListCase driveListCases[] = {
    {"pairs", "32:1,32:2", true, {{32, 1}, {32, 2}}},
    {"noEnclosure", ":5", true, {{ENCLOSURE_ID_NONE, 5}}},
    {"resolveEnclosure", "?:5", true, {{ENCLOSURE_ID_RESOLVE, 5}}},
    {"mixedSeparators", "32:1,32:2, :3,?:4", true, {{32, 1}, {32, 2}, {ENCLOSURE_ID_NONE, 3},
                                                    {ENCLOSURE_ID_RESOLVE, 4}}},
    {"blanksAndRuns", " 1:2 \t3:4 ,, 5:6 ", true, {{1, 2}, {3, 4}, {5, 6}}},
    {"largestValues", "65534:255", true, {{65534, 255}}},
    {"zeros", "0:0,007:010", true, {{0, 0}, {7, 10}}},
    {"emptyText", "", true, {}},
    {"malformedItem", "32:1,x", false, {}},
    {"noColon", "32", false, {}},
    {"noSlotDigits", "32:", false, {}},
    {"slotNotDecimal", "32:1x", false, {}},
    {"enclosureNotDecimal", "3a:1", false, {}},
    {"questionMarkWithDigits", "?3:1", false, {}},
    // Cut to 8 bits slot 300 would be slot 44: another drive than the one typed.
    {"slotAboveByte", "1:300", false, {}},
    {"slotWouldCutToZero", "1:256", false, {}},
    {"enclosureAbove16Bits", "65536:1", false, {}},
    {"enclosureWouldWrapToZero", "4294967296:1", false, {}},
    {"typedNoneValue", "65535:1", false, {}},
    {"typedResolveValue", "52428:1", false, {}},
    {"longSlotNumber", "1:99999999999999999999999", false, {}},
};

}  // namespace

class DriveList : public ::testing::TestWithParam<DriveListCase> {};

TEST_P(DriveList, ReadsEveryItemOrRefusesTheWholeList)
{
    const DriveListCase& c = GetParam();
    ArrayList<EnclSlotId*>* list = ParserUtil::parseEnclSlotList(c.text);
    if (!c.accepted) {
        EXPECT_EQ(list, nullptr);
        return;
    }
    ASSERT_NE(list, nullptr);
    Drives read;
    for (unsigned char i = 0; i < list->count(); ++i)
        read.push_back({list->get(i)->getEnclosureId(), list->get(i)->getSlotNumber()});
    EXPECT_EQ(read, c.drives);
    ParserUtil::deleteEnclSlotList(list);
}

INSTANTIATE_TEST_SUITE_P(Texts, DriveList, ::testing::ValuesIn(driveListCases),
                         [](const ::testing::TestParamInfo<DriveListCase>& info) {
                             return std::string(info.param.name);
                         });

TEST(DriveListText, NullTextGivesNull)
{
    EXPECT_EQ(ParserUtil::parseEnclSlotList(nullptr), nullptr);
}

TEST(DriveListText, MoreItemsThanAListHoldsAreRefusedWhole)
{
    std::string text;
    for (int i = 0; i < 300; ++i)
        text += "1:" + std::to_string(i % 200) + ",";
    EXPECT_EQ(ParserUtil::parseEnclSlotList(text.c_str()), nullptr);
}

TEST(DriveItem, ReadsOneItemAfterLeadingBlanks)
{
    unsigned short enclosure = 0;
    unsigned char slot = 0;
    EXPECT_EQ(ParserUtil::parseEnclSlot("  32:7", &enclosure, &slot), 0);
    EXPECT_EQ(enclosure, 32);
    EXPECT_EQ(slot, 7);
    EXPECT_EQ(ParserUtil::parseEnclSlot(nullptr, &enclosure, &slot), 1);
    EXPECT_EQ(ParserUtil::parseEnclSlot("no colon", &enclosure, &slot), 1);
}

TEST(DriveItem, RefusedItemLeavesTheOutputsAsTheyWere)
{
    unsigned short enclosure = 9;
    unsigned char slot = 9;
    EXPECT_EQ(ParserUtil::parseEnclSlot("1:256", &enclosure, &slot), 1);
    EXPECT_EQ(enclosure, 9);
    EXPECT_EQ(slot, 9);
}

// ---- file name ------------------------------------------------------------------------------

class FileOption : public ::testing::Test {
protected:
    void SetUp() override { ParserUtil::clearFileName(); }
    void TearDown() override { ParserUtil::clearFileName(); }
};

TEST_F(FileOption, KeepsTheNameThatFollowsAndMarksBothTaken)
{
    EXPECT_EQ(std::string(ParserUtil::getFileName().c_str()), "");
    TokenLine line{word(TOKEN_FILE, "f"), word(TOKEN_ALPHANUM_CONSTANT, "out.txt"), adapterOption()};
    EXPECT_EQ(ParserUtil::onFileOption(line.tokens(), 0), 0);
    EXPECT_EQ(std::string(ParserUtil::getFileName().c_str()), "out.txt");
    EXPECT_EQ(line.consumed(), (std::vector<int>{1, 1, 0}));
}

TEST_F(FileOption, LaterNameReplacesTheEarlierOne)
{
    TokenLine line{word(TOKEN_FILE, "f"), word(TOKEN_ALPHANUM_CONSTANT, "first.txt"),
                   word(TOKEN_FILE, "f"), word(TOKEN_ALPHANUM_CONSTANT, "-second.txt")};
    EXPECT_EQ(ParserUtil::onFileOption(line.tokens(), 0), 0);
    EXPECT_EQ(ParserUtil::onFileOption(line.tokens(), 2), 0);
    EXPECT_EQ(std::string(ParserUtil::getFileName().c_str()), "-second.txt");
}

TEST_F(FileOption, RefusesAnotherTokenAndAMissingName)
{
    TokenLine other{word(TOKEN_FORCE, "Force"), word(TOKEN_ALPHANUM_CONSTANT, "x")};
    EXPECT_EQ(ParserUtil::onFileOption(other.tokens(), 0), -1);
    TokenLine last{word(TOKEN_FILE, "f")};
    EXPECT_EQ(ParserUtil::onFileOption(last.tokens(), 0), -1);
    EXPECT_EQ(std::string(ParserUtil::getFileName().c_str()), "");
    EXPECT_EQ(other.consumed(), (std::vector<int>{0, 0}));
}

TEST_F(FileOption, ServesAsAPlainFunctionRule)
{
    TokenHandler rule = makeFunctionHandler(&ParserUtil::onFileOption);
    TokenLine line{word(TOKEN_FILE, "f"), word(TOKEN_ALPHANUM_CONSTANT, "log.txt")};
    EXPECT_EQ(rule.call(line.tokens(), 0), 0);
    EXPECT_EQ(std::string(ParserUtil::getFileName().c_str()), "log.txt");
}

// ---- sizes and bounded numbers ------------------------------------------------------------

TEST(SizeText, WholeAndThousandths)
{
    struct Case {
        const char* text;
        int result;
        unsigned long long whole;
        unsigned int thousandths;
    } cases[] = {
        {"100", 0, 100, 0},   {"1.5", 0, 1, 500},    {"1.05", 0, 1, 50},   {"1.10", 0, 1, 100},
        {"1.125", 0, 1, 125}, {"0.5", 0, 0, 500},    {"2.0", 0, 2, 0},     {"1.2345", -1, 0, 0},
        {"1.0000", -1, 0, 0}, {"99999999999999999999", -1, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        unsigned long long whole = 0;
        unsigned int thousandths = 0;
        EXPECT_EQ(ParserUtil::readSizeText(c.text, &whole, &thousandths), c.result);
        EXPECT_EQ(whole, c.whole);
        EXPECT_EQ(thousandths, c.thousandths);
    }
}

TEST(BoundedNumber, TakesNumbersUpToTheLimitOnly)
{
    TokenLine line{num(255), num(256), num(-1), word(TOKEN_FORCE, "Force")};
    int value = 7;
    EXPECT_EQ(ParserUtil::takeNumber(line.tokens(), 0, 0xFF, &value), 0);
    EXPECT_EQ(value, 255);
    EXPECT_EQ(ParserUtil::takeNumber(line.tokens(), 1, 0xFF, &value), -1);
    EXPECT_EQ(ParserUtil::takeNumber(line.tokens(), 2, 0xFF, &value), -1);
    EXPECT_EQ(ParserUtil::takeNumber(line.tokens(), 3, 0xFF, &value), -1);
    EXPECT_EQ(ParserUtil::takeNumber(line.tokens(), 4, 0xFF, &value), -1);
    EXPECT_EQ(value, 255);
    EXPECT_EQ(line.consumed(), (std::vector<int>{1, 0, 0, 0}));
}
