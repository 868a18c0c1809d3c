// Control bytes in texts from devices are shown as '?'; every other byte is kept.
#include <gtest/gtest.h>

#include <string>

#include "PavUtil/PrintableText.h"

namespace {

struct PrintableCase {
    std::string text;
    const char* shown;
    bool holdsControl;
};

const PrintableCase CASES[] = {
    {"VD-0", "VD-0", false},
    {"", "", false},
    {"\x1b[2J", "?[2J", true},
    {"a\tb\nc\rd", "a?b?c?d", true},
    {std::string("\x01\x1f \x7e\x7f", 5), "?? ~?", true},
    // Bytes above 0x7f are text (UTF-8, Latin-1), not control bytes.
    {"Gr\xc3\xbc\xc3\x9f" "e \x80\xff", "Gr\xc3\xbc\xc3\x9f" "e \x80\xff", false},
};

TEST(PrintableText, ControlBytesAreShownAsQuestionMarks)
{
    for (const PrintableCase& c : CASES) {
        EXPECT_EQ(c.holdsControl, holdsControlByte(c.text.c_str())) << c.shown;
        std::string inPlace = c.text;
        EXPECT_STREQ(c.shown, makePrintable(&inPlace[0])) << c.shown;
        EXPECT_STREQ(c.shown, printableText(c.text.c_str()).c_str()) << c.shown;
    }
}

TEST(PrintableText, CopyStopsAtTheWidthAndTheFirstNul)
{
    EXPECT_STREQ("ab?", printableText("ab\x1b" "cdef", 3).c_str());
    EXPECT_STREQ("ab", printableText(std::string("ab\0\x1b", 4).c_str(), 4).c_str());
    EXPECT_STREQ("", printableText(nullptr).c_str());
    EXPECT_FALSE(holdsControlByte(nullptr));
    EXPECT_EQ(nullptr, makePrintable(nullptr));
}

}  // namespace
