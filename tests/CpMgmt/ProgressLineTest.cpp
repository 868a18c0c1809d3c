// The item lines of the progress display: the bar, the percentage over it, ERROR, the elapsed
// time and the drive and virtual-drive prefixes.
#include <gtest/gtest.h>

#include <string>

#include "CpMgmt/CmdPro/Display/ProgressDisplay.h"
#include "Output/VtMessages.h"

namespace {

const ProgressDisplayStyle STARS = {MSG_PD_REBUILD_PROGRESS_TITLE, MSG_PD_PROGRESS_COLUMNS, '*', false,
                                    ElapsedRule::UNTIL_ENDED, false, true};
const ProgressDisplayStyle STARS_ZERO_IS_FULL = {MSG_PD_COPYBACK_PROGRESS_TITLE, MSG_PD_PROGRESS_COLUMNS, '*', true,
                                                 ElapsedRule::UNTIL_ENDED, false, true};
const ProgressDisplayStyle BLANKS = {MSG_VD_PROGRESS_TITLE, MSG_VD_PROGRESS_COLUMNS, ' ', false,
                                     ElapsedRule::UNTIL_ENDED_ONCE_STARTED, true, false};

std::string rest(uint16_t progress, uint16_t elapsed, const ProgressDisplayStyle& style, bool firstRead = true,
                 bool error = false)
{
    char out[128];
    formatProgressBar(ProgressRecord{progress, elapsed}, firstRead, error, style, out, sizeof out);
    return out;
}

std::string repeat(char c, int n) { return std::string(static_cast<size_t>(n), c); }

TEST(ProgressLine, BarAndPercentage)
{
    struct Case {
        uint16_t progress;
        const ProgressDisplayStyle* style;
        std::string bar;
    } cases[] = {
        // 50 %: columns 0-22 '#', then "50 %" and the fill.
        {32768, &STARS, repeat('#', 23) + "50 %" + repeat('*', 23)},
        // ended (0xFFFF) and full: '1' in column 22.
        {0xFFFF, &STARS, repeat('#', 22) + "100 %" + repeat('#', 23)},
        // one short of full: 99 %, '#' everywhere but column 49.
        {0xFFFE, &STARS, repeat('#', 23) + "99 %" + repeat('#', 22) + "*"},
        {0, &STARS, repeat('*', 22) + "*00 %" + repeat('*', 23)},
        {0, &BLANKS, repeat(' ', 22) + " 00 %" + repeat(' ', 23)},
        {6553, &BLANKS, repeat('#', 4) + repeat(' ', 18) + " 09 %" + repeat(' ', 23)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.progress);
        EXPECT_EQ(rest(c.progress, 0, *c.style), c.bar + " 00:00:00\n\r");
    }
}

TEST(ProgressLine, ZeroShowsFullOnlyOnceReadAndOnlyWhereTheMemberSaysSo)
{
    const std::string full = repeat('#', 22) + "100 %" + repeat('#', 23) + " 00:00:00\n\r";
    const std::string none = repeat('*', 22) + "*00 %" + repeat('*', 23) + " 00:00:00\n\r";
    EXPECT_EQ(rest(0, 0, STARS_ZERO_IS_FULL, true), none);
    EXPECT_EQ(rest(0, 0, STARS_ZERO_IS_FULL, false), full);
    EXPECT_EQ(rest(0, 0, STARS, false), none);
}

TEST(ProgressLine, ErrorOverTheLastBar)
{
    EXPECT_EQ(rest(32768, 61, STARS, false, true), repeat('#', 22) + "ERROR" + repeat('*', 23) + " 00:01:01\n\r");
}

TEST(ProgressLine, ElapsedTime)
{
    EXPECT_EQ(rest(0xFFFF, 3725, STARS).substr(50), " 01:02:05\n\r");
    // Hours are not limited to two digits.
    EXPECT_EQ(rest(0xFFFF, 65535, STARS).substr(50), " 18:12:15\n\r");
}

TEST(ProgressLine, Prefixes)
{
    char out[64];
    formatDrivePrefix(252, 3, out, sizeof out);
    EXPECT_EQ(std::string(out), "       252 :03     ");
    formatDrivePrefix(8, 11, out, sizeof out);
    EXPECT_EQ(std::string(out), "       008 :11     ");
    formatDrivePrefix(0xFFFF, 4, out, sizeof out);
    EXPECT_EQ(std::string(out), "       -- :04     ");
    formatVdPrefix(3, out, sizeof out);
    EXPECT_EQ(std::string(out), "          3         ");
    formatVdPrefix(12, out, sizeof out);
    EXPECT_EQ(std::string(out), "         12         ");
}

TEST(ProgressLine, Percent)
{
    EXPECT_EQ(progressPercent(0xFFFF), 100);
    EXPECT_EQ(progressPercent(32767), 49);
    EXPECT_EQ(progressPercent(32768), 50);
    EXPECT_EQ(progressPercent(0xFFFE), 99);
}

}  // namespace
