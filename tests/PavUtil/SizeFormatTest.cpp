#include "PavUtil/SizeFormat.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstring>

TEST(SizeFormat, CapacityTextsAreCutNotRounded)
{
    struct Case { unsigned long long kb; const char* text; };
    const Case cases[] = {
        {0, "0 KB"},
        {1, "1 KB"},
        {1023, "1023 KB"},
        {1024, "1.0 MB"},
        {1025, "1.000 MB"},        // trailing zeros stay while the remainder lasts
        {1280, "1.25 MB"},
        {1536, "1.5 MB"},
        {2047, "1.999 MB"},
        {1048575, "1023.999 MB"},  // cut: never 1024.0
        {1048576, "1.0 GB"},
        {143374000, "136.731 GB"},
        {524288000, "500.0 GB"},
        {1073741823, "1023.999 GB"},
        {1073741824, "1.0 TB"},
        {1ULL << 40, "1.0 PB"},
        {1ULL << 50, "1.0 EB"},
        {1ULL << 60, "1.0 ZB"},
        {ULLONG_MAX, "15.999 ZB"},
    };
    for (const Case& c : cases) {
        char buf[CAPACITY_TEXT_SIZE + 4];
        std::memset(buf, '#', sizeof buf);
        EXPECT_EQ(formatCapacity(c.kb, buf), 0);
        EXPECT_STREQ(buf, c.text) << c.kb;
        EXPECT_LT(std::strlen(buf), CAPACITY_TEXT_SIZE);
    }
}

TEST(SizeFormat, FractionStepAndItsRange)
{
    char buf[CAPACITY_TEXT_SIZE];
    EXPECT_EQ(formatWithFraction(1536, buf), 0);
    EXPECT_STREQ(buf, "1.5 ");
    EXPECT_EQ(formatWithFraction(1048575, buf), 0);
    EXPECT_STREQ(buf, "1023.999 ");
    // Outside its range the step writes nothing instead of overrunning the buffer.
    EXPECT_EQ(formatWithFraction(1023, buf), -1);
    EXPECT_STREQ(buf, "");
    EXPECT_EQ(formatWithFraction(1048576, buf), -1);
    EXPECT_STREQ(buf, "");
}

TEST(SizeFormat, UnsignedToTextAndTextLength)
{
    char buf[UNSIGNED_TEXT_SIZE];
    const struct { unsigned int v; const char* text; } cases[] = {
        {0, "0"}, {7, "7"}, {10, "10"}, {1000000, "1000000"}, {4294967295u, "4294967295"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(unsignedToText(c.v, buf), 0);
        EXPECT_STREQ(buf, c.text);
        EXPECT_EQ(textLength(buf), std::strlen(c.text));
    }
    EXPECT_EQ(textLength(""), 0u);
    EXPECT_EQ(textLength(nullptr), 0u);
}

TEST(SizeFormat, ParseSizeWithFraction)
{
    const struct { const char* text; unsigned long long whole; unsigned int thousandths; } cases[] = {
        {"1.5", 1, 500},   {"1.05", 1, 50},   {"1.25", 1, 250}, {"1.10", 1, 100},
        {"1.500", 1, 500}, {"1.050", 1, 50},  {"1.005", 1, 5},  {"1.0", 1, 0},
        {"1.125", 1, 125}, {".5", 0, 500},    {"0.07", 0, 70},  {"12.", 12, 0},
        {"1.1234", 1, 123},  // digits beyond the third are cut
        {"18446744073709551615.9", ULLONG_MAX, 900},
    };
    for (const auto& c : cases) {
        unsigned long long whole = 77;
        unsigned int thousandths = 77;
        EXPECT_EQ(parseSizeWithFraction(c.text, &whole, &thousandths), 0) << c.text;
        EXPECT_EQ(whole, c.whole) << c.text;
        EXPECT_EQ(thousandths, c.thousandths) << c.text;
    }

    // Without a point the thousandths keep the caller's value.
    unsigned long long whole = 0;
    unsigned int thousandths = 42;
    EXPECT_EQ(parseSizeWithFraction("300", &whole, &thousandths), 0);
    EXPECT_EQ(whole, 300u);
    EXPECT_EQ(thousandths, 42u);

    // A whole part beyond 64 bits, or no digit at all, is refused with nothing written.
    for (const char* bad : {"18446744073709551616", "99999999999999999999999.5", "", ".", "abc"}) {
        whole = 5;
        thousandths = 6;
        EXPECT_EQ(parseSizeWithFraction(bad, &whole, &thousandths), -1) << bad;
        EXPECT_EQ(whole, 5u) << bad;
        EXPECT_EQ(thousandths, 6u) << bad;
    }
}

TEST(SizeFormat, SizeToBlocks)
{
    const struct {
        unsigned short unit; unsigned long long whole; unsigned int thousandths;
        unsigned char flag; unsigned long long blocks;
    } cases[] = {
        {SIZE_UNIT_GB, 1, 500, 1, 3145728ULL},
        {SIZE_UNIT_TB, 1, 500, 1, 3221225472ULL},
        {SIZE_UNIT_MB, 100, 0, 0, 204800ULL},
        {SIZE_UNIT_GB, 2, 250, 1, 4718592ULL},
        {SIZE_UNIT_MB, 1, 1, 1, 2050ULL},          // 2048 + 2048 / 1000, remainder dropped
        {SIZE_UNIT_GB, 3, 999, 0, 6291456ULL},     // flag 0: thousandths ignored
        {SIZE_UNIT_TB, 8589934591ULL, 999, 1, 18446744071562067968ULL + 2145336164ULL},
    };
    for (const auto& c : cases) {
        unsigned long long blocks = 1;
        EXPECT_EQ(sizeToBlocks(c.unit, c.whole, c.thousandths, c.flag, &blocks), 0);
        EXPECT_EQ(blocks, c.blocks) << c.unit << " " << c.whole << "." << c.thousandths;
    }

    // Unknown units and counts beyond 64 bits ("-sz9000000000TB") are refused, never wrapped.
    const struct {
        unsigned short unit; unsigned long long whole; unsigned int thousandths; unsigned char flag;
    } refused[] = {
        {3, 1, 0, 0},
        {0xFFFF, 1, 0, 0},
        {SIZE_UNIT_TB, 9000000000ULL, 0, 0},
        {SIZE_UNIT_TB, 8589934592ULL, 0, 0},  // exactly 2^64 blocks
        {SIZE_UNIT_MB, ULLONG_MAX / 2048, 4000000000u, 1},  // the fraction part tips it over
        {SIZE_UNIT_GB, ULLONG_MAX, 0, 0},
    };
    for (const auto& c : refused) {
        unsigned long long blocks = 123;
        EXPECT_EQ(sizeToBlocks(c.unit, c.whole, c.thousandths, c.flag, &blocks), -1)
            << c.unit << " " << c.whole;
        EXPECT_EQ(blocks, 123u);
    }
}
