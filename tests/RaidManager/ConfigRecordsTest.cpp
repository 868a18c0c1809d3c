// The configuration buffer and the drive, target-id and device lists, read from bytes placed
// at the offsets the firmware uses.
#include "RaidManager/Zpr/Records/Config/ZprConfigBuffer.h"
#include "RaidManager/Zpr/Records/Drive/ZprDeviceList.h"
#include "RaidManager/Zpr/Records/Drive/ZprEnclosureList.h"
#include "RaidManager/Zpr/Records/LogicalDrive/ZprLdIdList.h"
#include "RaidManager/Zpr/Records/LogicalDrive/ZprLdList.h"
#include "RaidManager/Zpr/Records/Drive/ZprPdList.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

void put(std::vector<uint8_t>& bytes, size_t offset, uint64_t value, int width)
{
    for (int i = 0; i < width; ++i)
        bytes[offset + i] = static_cast<uint8_t>(value >> (8 * i));
}

// A configuration buffer with these counts and header fields.
std::vector<uint8_t> configBuffer(size_t length, uint32_t total, uint16_t arrays, uint16_t lds, uint16_t spares,
                                  uint16_t arraySize = 288, uint16_t ldSize = 256, uint16_t spareSize = 40)
{
    std::vector<uint8_t> b(length, 0);
    put(b, 0, total, 4);
    put(b, 4, arrays, 2);
    put(b, 6, arraySize, 2);
    put(b, 8, lds, 2);
    put(b, 10, ldSize, 2);
    put(b, 12, spares, 2);
    put(b, 14, spareSize, 2);
    return b;
}

// What a list's sizeForCount answers for each count: whether a list can have that many entries
// and, when it can, the length it is read with.
struct SizeCase {
    uint32_t count;
    bool ok;
    uint32_t size;
};

template <class List>
void expectSizes(std::initializer_list<SizeCase> cases)
{
    for (const SizeCase& c : cases) {
        uint32_t size = 0;
        EXPECT_EQ(List::sizeForCount(c.count, &size), c.ok) << c.count;
        if (c.ok) {
            EXPECT_EQ(size, c.size) << c.count;
        }
    }
}

}  // namespace

TEST(ConfigBuffer, Sizes)
{
    EXPECT_EQ(ZprConfigHeader::SIZE, 32u);
    EXPECT_EQ(ZprArrayRecord::SIZE, 288u);
    EXPECT_EQ(ZprArrayDrive::SIZE, 8u);
    EXPECT_EQ(ZprLdRecord::SIZE, 256u);
    EXPECT_EQ(ZprSpanRecord::SIZE, 24u);
    EXPECT_EQ(ZprSpareRecord::SIZE, 40u);
    EXPECT_EQ(ZprConfigBuffer::FIRST_READ_SIZE, 616u);
    EXPECT_EQ(ZprConfigBuffer::sizeFor(2, 3, 1), 1416u);
    EXPECT_EQ(ZprConfigBuffer::sizeFor(0, 0, 3), 152u);
    EXPECT_EQ(ZprConfigBuffer::sizeFor(65535, 65535, 65535), 32u + 65535u * 584u) << "no 32-bit wrap";
}

TEST(ConfigBuffer, LayoutChecks)
{
    struct Case {
        const char* what;
        size_t length;
        uint32_t total;
        uint16_t arrays, lds, spares, arraySize, ldSize, spareSize;
        ZprConfigBuffer::Layout layout;
    } cases[] = {
        {"empty, in a 616-byte block", 616, 32, 0, 0, 0, 288, 256, 40, ZprConfigBuffer::LAYOUT_OK},
        {"empty sections may leave their size 0", 616, 32, 0, 0, 0, 0, 0, 0, ZprConfigBuffer::LAYOUT_OK},
        {"two arrays, three drives, a spare", 1416, 1416, 2, 3, 1, 288, 256, 40, ZprConfigBuffer::LAYOUT_OK},
        {"no drives, two arrays, a spare", 648, 648, 2, 0, 1, 288, 256, 40, ZprConfigBuffer::LAYOUT_OK},
        {"array size 0 with arrays", 616, 320, 1, 0, 0, 0, 256, 40, ZprConfigBuffer::LAYOUT_BAD_RECORD_SIZE},
        {"array size 290", 1000, 322, 1, 0, 0, 290, 256, 40, ZprConfigBuffer::LAYOUT_BAD_RECORD_SIZE},
        {"drive size 128", 1000, 160, 0, 1, 0, 288, 128, 40, ZprConfigBuffer::LAYOUT_BAD_RECORD_SIZE},
        {"spare size 48", 1000, 80, 0, 0, 1, 288, 256, 48, ZprConfigBuffer::LAYOUT_BAD_RECORD_SIZE},
        {"total below the records", 1416, 1000, 2, 3, 1, 288, 256, 40, ZprConfigBuffer::LAYOUT_SIZE_MISMATCH},
        {"total above the records", 2000, 2000, 2, 3, 1, 288, 256, 40, ZprConfigBuffer::LAYOUT_SIZE_MISMATCH},
        {"total 0", 616, 0, 0, 0, 0, 288, 256, 40, ZprConfigBuffer::LAYOUT_SIZE_MISMATCH},
        {"records beyond the bytes at hand", 616, 1416, 2, 3, 1, 288, 256, 40, ZprConfigBuffer::LAYOUT_TRUNCATED},
        {"not even a header", 20, 32, 0, 0, 0, 288, 256, 40, ZprConfigBuffer::LAYOUT_SHORT_HEADER},
    };
    for (const Case& c : cases) {
        std::vector<uint8_t> b = configBuffer(c.length < 32 ? 32 : c.length, c.total, c.arrays, c.lds, c.spares,
                                              c.arraySize, c.ldSize, c.spareSize);
        EXPECT_EQ(ZprConfigBuffer(b.data(), c.length).checkLayout(), c.layout) << c.what;
    }
}

TEST(ConfigBuffer, SectionsFollowTheHeaderCounts)
{
    // Two arrays, one logical drive, one spare: 32 + 576 + 256 + 40 = 904 bytes.
    std::vector<uint8_t> b = configBuffer(904, 904, 2, 1, 1);
    // Array 1 at 32 + 288: size, drive count, reference, drive entry 1 at +32 + 8.
    put(b, 320, 0x123456789AULL, 8);
    b[328] = 2;
    put(b, 330, 0x0011, 2);
    put(b, 320 + 40, 0x0021, 2);
    put(b, 320 + 42, 0x0003, 2);
    put(b, 320 + 44, 0x0018, 2);
    // The logical drive at 608.
    b[608] = 4;
    put(b, 610, 0x0102, 2);
    const char name[] = "data0";
    for (size_t i = 0; i < sizeof name; ++i)
        b[612 + i] = static_cast<uint8_t>(name[i]);
    b[608 + 20] = 0x05;
    b[608 + 23] = 0x01;
    b[608 + 32] = 5;
    b[608 + 33] = 3;
    b[608 + 35] = 7;
    b[608 + 36] = 3;
    b[608 + 37] = 2;
    b[608 + 38] = 3;
    b[608 + 47] = 1;
    // Span 1 at 608 + 64 + 24.
    put(b, 608 + 88, 0x800, 8);
    put(b, 608 + 96, 0x100000, 8);
    put(b, 608 + 104, 0x0011, 2);
    // The spare at 864: dedicated, revertible, one array.
    put(b, 864, 0x0030, 2);
    put(b, 866, 0x0009, 2);
    b[868] = 0x03;
    b[871] = 1;
    put(b, 872, 0x0011, 2);

    ZprConfigBuffer config(b.data(), b.size());
    ASSERT_EQ(config.checkLayout(), ZprConfigBuffer::LAYOUT_OK);
    EXPECT_EQ(config.ldsOffset(), 608u);
    EXPECT_EQ(config.sparesOffset(), 864u);

    ZprArrayRecord array = config.arrayRecord(1);
    EXPECT_EQ(array.sizeBlocks(), 0x123456789AULL);
    EXPECT_EQ(array.driveCount(), 2);
    EXPECT_EQ(array.arrayRef(), 0x11);
    EXPECT_EQ(array.drive(1).deviceId(), 0x21);
    EXPECT_EQ(array.drive(1).sequenceNumber(), 3);
    EXPECT_EQ(array.drive(1).state(), 0x18);

    ZprLdRecord ld = config.ldRecord(0);
    EXPECT_EQ(ld.targetId(), 4);
    EXPECT_EQ(ld.sequenceNumber(), 0x0102);
    EXPECT_EQ(ld.reference(), 0x01020004u);
    char text[32];
    EXPECT_EQ(ld.name(text, sizeof text), 5u);
    EXPECT_STREQ(text, "data0");
    EXPECT_EQ(ld.defaultCachePolicy(), 0x05);
    EXPECT_EQ(ld.currentCachePolicy(), 0x01);
    EXPECT_EQ(ld.primaryRaidLevel(), 5);
    EXPECT_EQ(ld.raidQualifier(), 3);
    EXPECT_EQ(ld.stripExponent(), 7);
    EXPECT_EQ(ld.drivesPerSpan(), 3);
    EXPECT_EQ(ld.spanCount(), 2);
    EXPECT_EQ(ld.state(), 3);
    EXPECT_EQ(ld.parameters().state(), 3) << "the parameters start at 32";
    EXPECT_TRUE(ld.isSsdCache());
    EXPECT_EQ(ld.span(1).startBlock(), 0x800u);
    EXPECT_EQ(ld.span(1).blockCount(), 0x100000u);
    EXPECT_EQ(ld.span(1).arrayRef(), 0x11);

    ZprSpareRecord spare = config.spareRecord(0);
    EXPECT_EQ(spare.deviceId(), 0x30);
    EXPECT_EQ(spare.sequenceNumber(), 9);
    EXPECT_TRUE(spare.isDedicated());
    EXPECT_TRUE(spare.isRevertible());
    EXPECT_FALSE(spare.hasEnclosureAffinity());
    EXPECT_EQ(spare.arrayRefCount(), 1);
    EXPECT_EQ(spare.arrayRef(0), 0x11);

    EXPECT_FALSE(config.spareRecord(1).isPresent()) << "past the buffer";
}

TEST(ConfigBuffer, CountsInsideRecordsAreClamped)
{
    std::vector<uint8_t> b(288 + 256 + 40, 0);
    ZprArrayRecord array(LeView(b.data(), 288));
    ZprLdRecord ld(LeView(b.data() + 288, 256));
    ZprSpareRecord spare(LeView(b.data() + 544, 40));
    b[8] = 200;          // drives in the array record
    b[288 + 37] = 9;     // spans in the logical-drive record
    b[544 + 7] = 40;     // array references of the spare
    EXPECT_EQ(array.driveEntryCount(), 32u);
    EXPECT_EQ(ld.spanEntryCount(), 8u);
    EXPECT_EQ(spare.arrayRefEntryCount(), 16u);
    b[8] = 3;
    b[288 + 37] = 2;
    b[544 + 7] = 1;
    EXPECT_EQ(array.driveEntryCount(), 3u);
    EXPECT_EQ(ld.spanEntryCount(), 2u);
    EXPECT_EQ(spare.arrayRefEntryCount(), 1u);
}

TEST(DriveList, EntriesAndSizes)
{
    std::vector<uint8_t> b(8 + 2 * 24, 0);
    put(b, 0, 56, 4);
    put(b, 4, 2, 4);
    put(b, 32, 0x0017, 2);       // entry 1 at 8 + 24
    put(b, 34, 0xFFFF, 2);
    b[36] = 0xFF;
    b[37] = 4;
    b[38] = 0x0D;
    ZprPdList list(b.data(), b.size());
    EXPECT_EQ(list.size(), 56u);
    EXPECT_EQ(list.count(), 2u);
    EXPECT_EQ(list.entryCount(), 2u);
    EXPECT_EQ(list.entry(1).deviceId(), 0x17);
    EXPECT_EQ(list.entry(1).enclosureId(), 0xFFFF);
    EXPECT_EQ(list.entry(1).enclosureIndex(), 0xFF);
    EXPECT_EQ(list.entry(1).slotNumber(), 4);
    EXPECT_EQ(list.entry(1).deviceType(), 0x0D);
    put(b, 4, 3, 4);
    EXPECT_EQ(list.entryCount(), 2u) << "a count beyond the bytes is clamped";

    expectSizes<ZprPdList>({
        {0, true, 8}, {1, true, 32}, {3, true, 80}, {0x10000, true, 8 + 0x10000 * 24},
        {0x10001, false, 0}, {0x0AAAAAABu, false, 0}, {0xFFFFFFFFu, false, 0},
    });
}

TEST(TargetIdList, UnitsAndIds)
{
    std::vector<uint8_t> b(36, 0);
    put(b, 0, 36, 4);
    put(b, 4, 3, 4);
    b[11] = 4;
    b[12] = 0;
    b[13] = 255;
    ZprLdIdList list(b.data(), b.size());
    EXPECT_EQ(list.count(), 3u);
    EXPECT_EQ(list.entryCount(), 3u);
    EXPECT_EQ(list.targetId(0), 4);
    EXPECT_EQ(list.targetId(2), 255);
    ZprLdIdList shortList(b.data(), 12);
    put(b, 4, 5, 4);
    EXPECT_EQ(shortList.entryCount(), 1u) << "one id fits in the first unit";

    expectSizes<ZprLdIdList>({
        {0, true, 12}, {1, true, 12}, {3, true, 36}, {256, true, 3072}, {257, false, 0}, {0xFFFFFFFFu, false, 0},
    });
}

TEST(DeviceList, Layout)
{
    expectSizes<ZprDeviceList>({{1, true, 12}, {3, true, 16}, {0x10000, true, 10 + 2 * 0x10000},
                                {0x10001, false, 0}, {0x80000000u, false, 0}, {0xFFFFFFFFu, false, 0}});
    std::vector<uint8_t> b(16, 0xEE);
    ZprDeviceList list(LeView(b.data(), b.size()));
    EXPECT_TRUE(list.setSize(16));
    EXPECT_TRUE(list.setCount(3));
    EXPECT_TRUE(list.setDeviceId(2, 0x0A0B));
    EXPECT_FALSE(list.setDeviceId(3, 1)) << "past the block";
    EXPECT_EQ(b[0], 16);
    EXPECT_EQ(b[4], 3);
    EXPECT_EQ(b[14], 0x0B);
    EXPECT_EQ(b[15], 0x0A);
}

TEST(Lists, CountsBeyondTheirRoomAreInvalid)
{
    std::vector<uint8_t> ld(1032, 0), encl(4616, 0);
    struct { uint32_t ldCount; bool ldOk; uint32_t enclCount; bool enclOk; } cases[] = {
        {0, true, 0, true}, {64, true, 32, true}, {65, false, 33, false}, {0xFFFFFFFFu, false, 0xFFFFFFFFu, false},
    };
    for (const auto& c : cases) {
        put(ld, 0, c.ldCount, 4);
        put(encl, 0, c.enclCount, 4);
        EXPECT_EQ(ZprLdList(ld.data(), ld.size()).isCountValid(), c.ldOk) << c.ldCount;
        EXPECT_EQ(ZprEnclosureList(encl.data(), encl.size()).isCountValid(), c.enclOk) << c.enclCount;
    }
    ld[8 + 16 + 2] = 0x34;
    ld[8 + 16 + 3] = 0x12;
    EXPECT_EQ(ZprLdList(ld.data(), ld.size()).sequenceNumber(1), 0x1234);
    encl[8 + 144 + 13] = 0x02;
    EXPECT_EQ(ZprEnclosureList(encl.data(), encl.size()).entry(1).property(), 0x02);
}
