// The all-in-one report's own conversions: the event history's time text, the leap-year rule
// and the size rule of its device and logical-drive sections.
#include "CpMgmt/CmdPro/Reports/AdpAlIInLogCp.h"

#include <gtest/gtest.h>

#include <string>

TEST(AdpAlIInLogTime, EventTimeText)
{
    struct Row {
        uint32_t stamp;
        const char* text;
    };
    const Row rows[] = {
        {0, "00-01-01,00:00:00 "},
        {0xFF000E10, "0:1:0 "},                  // one hour after boot
        {0xFF000000u | 90061, "1:1:1 "},         // a day, an hour, a minute and a second: no seconds
        {131328000, "04-02-29,00:00:00 "},       // 29 February 2004
        {157852799, "04-12-31,23:59:59 "},       // the last second of 2004
        {3160857600u, "100-03-01,00:00:00 "},    // 1 March 2100: 2100 is no leap year
        {3160771200u, "100-02-28,00:00:00 "},
        {86399, "00-01-01,23:59:59 "},
        {0xFEFFFFFF, "135-07-28,02:07:59 "},     // the largest stamp that is not boot-relative
    };
    for (const Row& row : rows) {
        char text[100];
        EXPECT_EQ(AdpAlIInLogCp::formatEventTime(row.stamp, text, sizeof text), 0);
        EXPECT_EQ(std::string(text), row.text) << row.stamp;
    }
}

TEST(AdpAlIInLogTime, LeapYears)
{
    EXPECT_EQ(isLeapYear(2000), 1);
    EXPECT_EQ(isLeapYear(2004), 1);
    EXPECT_EQ(isLeapYear(2100), 0);
    EXPECT_EQ(isLeapYear(2001), 0);
    EXPECT_EQ(isLeapYear(2400), 1);
}

// Sizes by the drive's logical sector size, rounded down to MB.
TEST(AdpAlIInLogSize, BlocksToMegabytes)
{
    struct Row {
        uint64_t blocks;
        uint16_t sectorSize;
        uint64_t mb;
    };
    const Row rows[] = {
        {1000000, 4096, 3906},
        {1000000, 512, 488},
        {1000000, 0, 488},                       // no sector size: 512
        {1000000, 520, 495},                     // not a multiple of 1 KB: still its bytes
        {2047, 512, 0},
        {2048, 512, 1},
        {0xFFFFFFFFFFFFFFFFull, 512, 0x1FFFFFFFFFFFFFull},   // no overflow
        {0xFFFFFFFFFFFFFFFFull, 4096, 0xFFFFFFFFFFFFFFull},
    };
    for (const Row& row : rows)
        EXPECT_EQ(blocksToMb(row.blocks, row.sectorSize), row.mb) << row.blocks << " x " << row.sectorSize;
}
