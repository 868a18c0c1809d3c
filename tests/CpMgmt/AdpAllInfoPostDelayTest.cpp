// The POST delay that the adapter information display takes from the controller's key=value
// texts.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "CpMgmt/CmdPro/Reports/AdpAllInfoCp.h"

namespace {

// A block holding the texts, each with its NUL, after the 4-byte word.
std::vector<uint8_t> block(const std::vector<std::string>& texts)
{
    std::vector<uint8_t> b(ZprKeyValueBlock::SIZE, 0);
    size_t at = 4;
    for (const std::string& t : texts) {
        std::memcpy(b.data() + at, t.data(), t.size());
        at += t.size() + 1;
    }
    return b;
}

int delayOf(const std::vector<uint8_t>& b)
{
    return AdpAllInfoCp::postDelayFrom(ZprKeyValueBlock(b.data(), b.size()), 90);
}

TEST(AdpAllInfoPostDelay, FromTheFirstTextThatHoldsTheKey)
{
    struct Case {
        std::vector<std::string> texts;
        int delay;
    } cases[] = {
        {{"a=1", "delaySOD=30", "b=2"}, 30},
        {{"a=1", "b=2"}, 90},
        {{"xdelaySODy=7"}, 7},                   // the key anywhere in the text
        {{"delaySOD==12=5"}, 12},                // a run of '=' counts as one; the piece ends at the next
        {{"delaySOD"}, 90},                      // no value: the default stays
        {{"delaySOD="}, 90},
        {{"delaySOD= -4x"}, -4},                 // blanks and a sign; digits up to the first other character
        {{"delaySOD=abc"}, 0},                   // no digits
        {{"delaySOD=5", "delaySOD=6"}, 5},       // the first one wins
        {{"a=1", "", "delaySOD=5"}, 90},         // an empty text ends the list
        {{"delaySOD=99999999999"}, 2147483647},  // kept within int
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.texts.empty() ? "" : c.texts[0]);
        EXPECT_EQ(delayOf(block(c.texts)), c.delay);
    }
}

// A last text that runs to the block's end without a NUL is read up to the end, never past it.
TEST(AdpAllInfoPostDelay, UnterminatedLastTextEndsAtTheBlock)
{
    std::vector<uint8_t> b(ZprKeyValueBlock::SIZE, 'x');
    const std::string tail = "delaySOD=42";
    std::memcpy(b.data() + b.size() - tail.size(), tail.data(), tail.size());
    EXPECT_EQ(delayOf(b), 42);
}

} // namespace
