#include "PavUtil/LeView.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <vector>

namespace {

const uint8_t SAMPLE[] = {0x11, 0x22, 0x33, 0x44, 0x55, 0x66, 0x77, 0x88, 0x99, 0xAA};

}  // namespace

TEST(LeView, ReadsLittleEndianFieldsAtAnyOffset)
{
    const LeView view(SAMPLE, sizeof SAMPLE);
    EXPECT_EQ(view.u8(0), 0x11);
    EXPECT_EQ(view.u8(9), 0xAA);
    EXPECT_EQ(view.u16(0), 0x2211);
    EXPECT_EQ(view.u16(1), 0x3322);          // unaligned
    EXPECT_EQ(view.u32(3), 0x77665544u);     // unaligned
    EXPECT_EQ(view.u64(1), 0x9988776655443322ull);
    EXPECT_EQ(view.u64(2), 0xAA99887766554433ull);   // ends on the last byte
    EXPECT_TRUE(view.bit(0, 0));             // 0x11 = 0001 0001
    EXPECT_FALSE(view.bit(0, 1));
    EXPECT_TRUE(view.bit(0, 4));
    EXPECT_FALSE(view.bit(0, 8));            // no ninth bit in a byte
    EXPECT_FALSE(view.wasMissed());
}

TEST(LeView, FieldsNotWhollyInsideReadAsZeroAndAreNoticed)
{
    struct Case { size_t offset; size_t width; };
    const Case cases[] = {
        {10, 1}, {9, 2}, {7, 4}, {3, 8},           // one byte past the end
        {100, 1}, {SIZE_MAX, 1}, {SIZE_MAX - 1, 2}, // far away; offsets that would wrap
        {SIZE_MAX - 3, 4}, {SIZE_MAX - 7, 8},
    };
    for (const Case& c : cases) {
        const LeView view(SAMPLE, sizeof SAMPLE);
        uint64_t value = 1;
        switch (c.width) {
        case 1: value = view.u8(c.offset); break;
        case 2: value = view.u16(c.offset); break;
        case 4: value = view.u32(c.offset); break;
        default: value = view.u64(c.offset); break;
        }
        EXPECT_EQ(value, 0u) << c.offset << "+" << c.width;
        EXPECT_TRUE(view.wasMissed()) << c.offset << "+" << c.width;
        EXPECT_FALSE(view.contains(c.offset, c.width));
    }
    LeView view(SAMPLE, sizeof SAMPLE);
    view.u8(10);
    view.u8(0);
    EXPECT_TRUE(view.wasMissed()) << "a later good read does not hide an earlier miss";
    view.clearMissed();
    EXPECT_FALSE(view.wasMissed());
    EXPECT_TRUE(view.contains(10, 0));
    EXPECT_FALSE(view.contains(11, 0));
}

TEST(LeView, WritesStoreLittleEndianAndNeverReachPastTheView)
{
    uint8_t buffer[12];
    std::memset(buffer, 0xEE, sizeof buffer);
    LeView view(buffer, 10);   // the last two bytes are guards outside the view
    EXPECT_TRUE(view.setU16(1, 0x1234));
    EXPECT_TRUE(view.setU32(3, 0xA1B2C3D4u));
    EXPECT_TRUE(view.setU8(0, 0x7F));
    const uint8_t expected[] = {0x7F, 0x34, 0x12, 0xD4, 0xC3, 0xB2, 0xA1, 0xEE, 0xEE, 0xEE, 0xEE, 0xEE};
    EXPECT_EQ(std::memcmp(buffer, expected, sizeof expected), 0);

    EXPECT_FALSE(view.setU32(7, 0));           // would cover the guards
    EXPECT_FALSE(view.setU64(3, 0));
    EXPECT_FALSE(view.setU8(10, 0));
    EXPECT_FALSE(view.setU16(SIZE_MAX, 0));
    EXPECT_EQ(std::memcmp(buffer, expected, sizeof expected), 0) << "refused writes change nothing";

    EXPECT_TRUE(view.setU64(2, 0x0102030405060708ull));   // ends on the last byte of the view
    const uint8_t after[] = {0x7F, 0x34, 0x08, 0x07, 0x06, 0x05, 0x04, 0x03, 0x02, 0x01, 0xEE, 0xEE};
    EXPECT_EQ(std::memcmp(buffer, after, sizeof after), 0);
}

TEST(LeView, ReadOnlyAndEmptyViewsRefuseEveryWrite)
{
    uint8_t buffer[4] = {1, 2, 3, 4};
    const uint8_t* readOnly = buffer;
    LeView view(readOnly, sizeof buffer);
    EXPECT_FALSE(view.isWritable());
    EXPECT_FALSE(view.setU8(0, 9));
    EXPECT_FALSE(view.writeBytes(0, "x", 1));
    EXPECT_FALSE(view.fill(0, 0, 4));
    EXPECT_FALSE(view.writeText(0, 4, "ab"));
    EXPECT_FALSE(view.sub(0, 2).setU8(0, 9));
    const uint8_t unchanged[] = {1, 2, 3, 4};
    EXPECT_EQ(std::memcmp(buffer, unchanged, 4), 0);

    LeView empty;
    LeView null(static_cast<uint8_t*>(nullptr), 100);
    for (LeView* v : {&empty, &null}) {
        EXPECT_EQ(v->size(), 0u);
        EXPECT_EQ(v->u8(0), 0);
        EXPECT_TRUE(v->wasMissed());
        EXPECT_FALSE(v->setU8(0, 1));
    }
}

TEST(LeView, ByteRanges)
{
    uint8_t buffer[8] = {0};
    LeView view(buffer, sizeof buffer);
    EXPECT_TRUE(view.writeBytes(5, "abc", 3));
    EXPECT_FALSE(view.writeBytes(6, "abc", 3));
    EXPECT_TRUE(view.fill(0, 0x5A, 2));
    EXPECT_FALSE(view.fill(7, 0x5A, 2));
    const uint8_t expected[] = {0x5A, 0x5A, 0, 0, 0, 'a', 'b', 'c'};
    EXPECT_EQ(std::memcmp(buffer, expected, 8), 0);

    uint8_t out[4];
    EXPECT_TRUE(view.readBytes(4, out, 4));
    const uint8_t read[] = {0, 'a', 'b', 'c'};
    EXPECT_EQ(std::memcmp(out, read, 4), 0);
    std::memset(out, 0xFF, sizeof out);
    EXPECT_FALSE(view.readBytes(5, out, 4));
    const uint8_t zeroes[4] = {0};
    EXPECT_EQ(std::memcmp(out, zeroes, 4), 0) << "a range not inside reads as zeroes";
    EXPECT_TRUE(view.wasMissed());
}

TEST(LeView, FixedWidthTextFields)
{
    // "AB" NUL-terminated in a 4-byte field at 0; "WXYZ" filling a 4-byte field at 4.
    const uint8_t record[] = {'A', 'B', 0, 'q', 'W', 'X', 'Y', 'Z', 'n', 'e', 'x', 't'};
    const LeView view(record, sizeof record);
    struct Case { size_t offset; size_t width; size_t outSize; const char* text; };
    const Case cases[] = {
        {0, 4, 16, "AB"},       // ends at its NUL
        {4, 4, 16, "WXYZ"},     // fills the field: ends at the field's end
        {4, 4, 3, "WX"},        // cut to the caller's room
        {4, 8, 16, "WXYZnext"}, // the field's width, not a NUL, ends it at the record's end
        {4, 9, 16, ""},         // not inside: empty
        {20, 2, 16, ""},
    };
    for (const Case& c : cases) {
        char out[16];
        std::memset(out, '#', sizeof out);
        size_t n = view.readText(c.offset, c.width, out, c.outSize);
        EXPECT_STREQ(out, c.text) << c.offset << "+" << c.width;
        EXPECT_EQ(n, std::strlen(c.text));
    }

    uint8_t buffer[10];
    std::memset(buffer, '#', sizeof buffer);
    LeView writable(buffer, 8);
    EXPECT_TRUE(writable.writeText(0, 4, "hi"));
    EXPECT_TRUE(writable.writeText(4, 4, "toolong"));
    EXPECT_FALSE(writable.writeText(6, 4, "x"));
    const uint8_t expected[] = {'h', 'i', 0, 0, 't', 'o', 'o', 'l', '#', '#'};
    EXPECT_EQ(std::memcmp(buffer, expected, sizeof expected), 0);
}

TEST(LeView, PartsOfAViewAndTheRoomForEntries)
{
    uint8_t buffer[20] = {0};
    LeView view(buffer, sizeof buffer);
    LeView part = view.sub(8, 8);
    EXPECT_EQ(part.size(), 8u);
    EXPECT_TRUE(part.setU16(0, 0xBEEF));
    EXPECT_EQ(buffer[8], 0xEF);
    EXPECT_EQ(buffer[9], 0xBE);
    EXPECT_FALSE(part.setU8(8, 1)) << "the part ends where it was cut";
    EXPECT_EQ(buffer[16], 0);

    EXPECT_EQ(view.sub(16, 8).size(), 0u) << "a part not inside is empty";
    EXPECT_TRUE(view.wasMissed());

    EXPECT_EQ(view.room(8, 4), 3u);
    EXPECT_EQ(view.room(8, 5), 2u);
    EXPECT_EQ(view.room(20, 1), 0u);
    EXPECT_EQ(view.room(21, 1), 0u);
    EXPECT_EQ(view.room(0, 0), 0u);
    EXPECT_EQ(view.room(0, 4, 3), 3u) << "at most the maximum";
    EXPECT_EQ(view.room(8, 4, 5), 3u);

    EXPECT_EQ(clampCount(3, 64), 3u);
    EXPECT_EQ(clampCount(64, 64), 64u);
    EXPECT_EQ(clampCount(65, 64), 64u);
    EXPECT_EQ(clampCount(0xFFFFFFFFu, 0), 0u);
}
