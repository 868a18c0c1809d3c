// Hexadecimal numbers and settings-file comments read out of texts.
#include <gtest/gtest.h>

#include <cstring>

#include "PavUtil/TextScan.h"

namespace {

TEST(TextScan, ParseHex)
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

TEST(TextScan, StripComment)
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

}  // namespace
