// The processors' shared helpers.
#include <gtest/gtest.h>

#include <cstring>

#include "CpMgmt/CpHelpers.h"

namespace {

TEST(CpHelpers, ParseHex)
{
    struct Case {
        const char* text;
        uint64_t value;
    } cases[] = {{"  0x1F", 31},  {"ff", 255}, {"0X10", 16}, {"", 0}, {"12:34", 0x12}, {"0x", 0},
                 {"1g", 1},       {"\t5", 0},  {"FFFFFFFFFFFFFFFF", UINT64_MAX}, {"aBc", 0xABC}};
    for (const Case& c : cases)
        EXPECT_EQ(parseHex(c.text), c.value) << "\"" << c.text << "\"";
    EXPECT_EQ(parseHex(nullptr), 0u);
}

TEST(CpHelpers, StripComment)
{
    char line[] = "KEY = 5 # note";
    stripComment(line);
    EXPECT_STREQ(line, "KEY = 5 ");
    char plain[] = "KEY = 5";
    stripComment(plain);
    EXPECT_STREQ(plain, "KEY = 5");
    char leading[] = "#all comment";
    stripComment(leading);
    EXPECT_STREQ(leading, "");
}

TEST(CpHelpers, FormatEnclosureId)
{
    EXPECT_STREQ(formatEnclosureId(0xFFFF), "N/A");
    EXPECT_STREQ(formatEnclosureId(0), "0");
    EXPECT_STREQ(formatEnclosureId(252), "252");
    EXPECT_STREQ(formatEnclosureId(0xCCCC), "52428");
    EXPECT_STREQ(formatEnclosureId(0xFFFE), "65534");
    const char* first = formatEnclosureId(7);
    formatEnclosureId(9);
    EXPECT_STREQ(first, "9") << "one static buffer";
}

}  // namespace
