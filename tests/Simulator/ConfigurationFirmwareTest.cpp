// The simulated firmware's configuration buffer and its drive, target-id and device lists,
// read back at the offsets the record layouts give, written out here as literals.
#include <gtest/gtest.h>

#include <algorithm>

#include "SimTestUtil.h"
#include "Simulator/SimHost.h"

using namespace simtest;

namespace {

const uint32_t CFG_READ = 0x04010000;
const uint32_t PD_GET_LIST = 0x02010000, PD_LIST_QUERY = 0x02010100, PD_LIST_OPERATION = 0x020D0200;
const uint32_t LD_LIST_QUERY = 0x03010100, ADP_GET_INFO = 0x01010000;
const uint16_t DIR_BOTH = 0x1F;

struct ConfigurationFirmware : ::testing::Test {
    TempDir tmp;
    std::string dir;

    int send(DcmdPacket& p) { return sendToHost(dir, p); }
};

// Two arrays, a logical drive over both (two spans), a dedicated and a global spare.
void twoSpans(sim::HostModel& st)
{
    sim::Controller& c = st.controllers.at(0);
    c.drives.clear();
    for (uint16_t id = 8; id < 14; ++id) {
        sim::Drive d;
        d.deviceId = id;
        d.sequence = static_cast<uint16_t>(id + 100);
        d.enclosureId = 252;
        d.slot = static_cast<uint8_t>(id - 8);
        d.state = id < 12 ? 0x18 : 0x02;
        d.coercedBlocks = 1000 + id;
        c.drives.push_back(d);
    }
    c.arrays.clear();
    sim::Array a0, a1;
    a0.ref = 4;
    a0.drives = {8, 9};
    a1.ref = 5;
    a1.drives = {10, 11};
    a1.sizeBlocks = 0x123456789ULL;
    c.arrays = {a0, a1};
    c.lds.clear();
    sim::LogicalDrive ld;
    ld.targetId = 3;
    ld.sequence = 7;
    ld.name = "spanned";
    ld.raidLevel = 1;
    ld.secondaryRaidLevel = 3;
    ld.drivesPerSpan = 2;
    ld.spanDepth = 2;
    sim::Span s0, s1;
    s0.array = 4;
    s0.startBlock = 0x800;
    s0.blockCount = 0x1000;
    s1.array = 5;
    ld.spans = {s0, s1};
    c.lds = {ld};
    sim::Spare dedicated, global;
    dedicated.deviceId = 12;
    dedicated.dedicated = true;
    dedicated.revertible = true;
    dedicated.arrays = {4, 5};
    global.deviceId = 13;
    global.enclosureAffinity = true;
    c.spares = {dedicated, global};
}

TEST_F(ConfigurationFirmware, BufferHoldsTheDescribedRecords)
{
    dir = makeHost(tmp, "one", twoSpans);
    ASSERT_FALSE(dir.empty());
    // 32 + 2 x 288 + 256 + 2 x 40
    DcmdPacket p(2, CFG_READ, 944);
    ASSERT_EQ(send(p), 0);
    ASSERT_EQ(p.status(), 0);
    const uint8_t* r = p.data.data();
    EXPECT_EQ(r32(r, 0), 944u);
    EXPECT_EQ(r16(r, 4), 2);
    EXPECT_EQ(r16(r, 6), 288);
    EXPECT_EQ(r16(r, 8), 1);
    EXPECT_EQ(r16(r, 10), 256);
    EXPECT_EQ(r16(r, 12), 2);
    EXPECT_EQ(r16(r, 14), 40);
    // Array 0 at 32: its size is the smallest drive's; drive entries carry sequence and state.
    EXPECT_EQ(r64(r, 32), 1008u);
    EXPECT_EQ(r[32 + 8], 2);
    EXPECT_EQ(r16(r, 32 + 10), 4);
    EXPECT_EQ(r16(r, 32 + 32 + 8), 9);
    EXPECT_EQ(r16(r, 32 + 34 + 8), 109);
    EXPECT_EQ(r16(r, 32 + 36 + 8), 0x18);
    // Array 1 at 320.
    EXPECT_EQ(r64(r, 320), 0x123456789ULL);
    EXPECT_EQ(r16(r, 320 + 10), 5);
    // The logical drive at 608: reference, name, levels, span count and spans.
    EXPECT_EQ(r[608], 3);
    EXPECT_EQ(r16(r, 610), 7);
    EXPECT_STREQ(reinterpret_cast<const char*>(r + 612), "spanned");
    EXPECT_EQ(r[608 + 32], 1);
    EXPECT_EQ(r[608 + 34], 3);
    EXPECT_EQ(r[608 + 36], 2);
    EXPECT_EQ(r[608 + 37], 2);
    EXPECT_EQ(r[608 + 38], 3);
    EXPECT_EQ(r64(r, 608 + 64), 0x800u);
    EXPECT_EQ(r64(r, 608 + 72), 0x1000u);
    EXPECT_EQ(r16(r, 608 + 80), 4);
    EXPECT_EQ(r64(r, 608 + 88), 0u);
    EXPECT_EQ(r64(r, 608 + 96), 0x123456789ULL) << "a span without a length takes its array's size";
    EXPECT_EQ(r16(r, 608 + 104), 5);
    // The spares at 864 and 904.
    EXPECT_EQ(r16(r, 864), 12);
    EXPECT_EQ(r16(r, 866), 112);
    EXPECT_EQ(r[868], 0x03);
    EXPECT_EQ(r[871], 2);
    EXPECT_EQ(r16(r, 872), 4);
    EXPECT_EQ(r16(r, 874), 5);
    EXPECT_EQ(r16(r, 904), 13);
    EXPECT_EQ(r[908], 0x04);
    EXPECT_EQ(r[911], 0);
}

TEST_F(ConfigurationFirmware, FramesGetWhatTheyHoldWithWholeHeaders)
{
    dir = makeHost(tmp, "one", twoSpans);
    struct Case {
        uint32_t opcode;
        uint32_t length;
        size_t countAt;
        uint32_t count;
        size_t sizeAt;
        uint32_t size;
    } cases[] = {
        {CFG_READ, 616, 4, 2, 0, 944},      // the default read: the header tells the whole size
        {CFG_READ, 32, 8, 1, 0, 944},
        {PD_GET_LIST, 32, 4, 6, 0, 8 + 6 * 24},
        {PD_GET_LIST, 8, 4, 6, 0, 8 + 6 * 24},
        {PD_LIST_QUERY, 32, 4, 6, 0, 8 + 6 * 24},
        {LD_LIST_QUERY, 12, 4, 0, 0, 12},
    };
    for (const Case& c : cases) {
        // A buffer 8 bytes longer than the frame's data length: bytes past the frame stay the
        // caller's.
        DcmdPacket p(2, c.opcode, c.length + 8);
        std::fill(p.data.begin(), p.data.end(), 0xEE);
        w32(p.pkt, 20 + 20, c.length);
        ASSERT_EQ(send(p), 0);
        ASSERT_EQ(p.status(), 0) << std::hex << c.opcode;
        EXPECT_EQ(r32(p.data.data(), c.sizeAt), c.size) << std::hex << c.opcode << std::dec << " " << c.length;
        EXPECT_EQ(r32(p.data.data(), c.countAt) & (c.opcode == CFG_READ ? 0xFFFF : 0xFFFFFFFF), c.count);
        EXPECT_EQ(p.data[c.length], 0xEE) << "nothing past the frame's length";
    }
}

TEST_F(ConfigurationFirmware, EmptyConfigurationIsAHeaderAlone)
{
    dir = makeHost(tmp, "one", [](sim::HostModel& st) {
        st.controllers.at(0).lds.clear();
        st.controllers.at(0).arrays.clear();
    });
    DcmdPacket p(2, CFG_READ, 616);
    ASSERT_EQ(send(p), 0);
    EXPECT_EQ(r32(p.data.data(), 0), 32u);
    EXPECT_EQ(r16(p.data.data(), 6), 288) << "record sizes are written for empty sections too";
    EXPECT_EQ(r16(p.data.data(), 10), 256);
    EXPECT_EQ(r16(p.data.data(), 14), 40);
}

TEST_F(ConfigurationFirmware, DriveListEntries)
{
    dir = makeHost(tmp, "one", [](sim::HostModel& st) {
        sim::Controller& c = st.controllers.at(0);
        sim::Enclosure second;
        second.deviceId = 253;
        c.enclosures.push_back(second);
        c.drives.resize(3);
        c.drives[1].enclosureId = 253;
        c.drives[1].slot = 6;
        c.drives[2].enclosureId = 0xFFFF;
        c.drives[2].type = 0x0D;
    });
    DcmdPacket p(2, PD_GET_LIST, 80);
    ASSERT_EQ(send(p), 0);
    const uint8_t* r = p.data.data();
    EXPECT_EQ(r32(r, 0), 80u);
    EXPECT_EQ(r32(r, 4), 3u);
    EXPECT_EQ(r16(r, 8), 8);
    EXPECT_EQ(r16(r, 10), 252);
    EXPECT_EQ(r[12], 0);
    EXPECT_EQ(r16(r, 32), 9);
    EXPECT_EQ(r16(r, 34), 253);
    EXPECT_EQ(r[36], 1) << "the enclosure's place in the enclosure list";
    EXPECT_EQ(r[37], 6);
    EXPECT_EQ(r16(r, 58), 0xFFFF);
    EXPECT_EQ(r[60], 0xFF);
    EXPECT_EQ(r[62], 0x0D);
    // Devices that are not disks count as devices, not disks.
    DcmdPacket info(2, ADP_GET_INFO, 2048);
    ASSERT_EQ(send(info), 0);
    EXPECT_EQ(r16(info.data.data(), 0x5C6), 5);
    EXPECT_EQ(r16(info.data.data(), 0x5C8), 2);
}

TEST_F(ConfigurationFirmware, TargetIdListTakesOneUnitPerId)
{
    dir = makeHost(tmp, "one", [](sim::HostModel& st) { st.controllers.at(0).reservedTargetIds = {5, 200, 9}; });
    DcmdPacket first(2, LD_LIST_QUERY, 12, DIR_READ, 2);
    ASSERT_EQ(send(first), 0);
    EXPECT_EQ(r32(first.data.data(), 0), 36u);
    EXPECT_EQ(r32(first.data.data(), 4), 3u);
    EXPECT_EQ(first.data[11], 5);
    DcmdPacket whole(2, LD_LIST_QUERY, 36, DIR_READ, 2);
    ASSERT_EQ(send(whole), 0);
    EXPECT_EQ(whole.data[12], 200);
    EXPECT_EQ(whole.data[13], 9);
}

TEST_F(ConfigurationFirmware, DeviceListComesBackWithTheDrivesSpunUp)
{
    dir = makeHost(tmp, "one");
    DcmdPacket p(2, PD_LIST_OPERATION, 16, DIR_BOTH);
    w32(p.data.data(), 0, 16);
    w32(p.data.data(), 4, 3);
    w16(p.data.data(), 10, 8);
    w16(p.data.data(), 12, 0x77);   // no such drive
    w16(p.data.data(), 14, 11);
    ASSERT_EQ(send(p), 0);
    ASSERT_EQ(p.status(), 0);
    EXPECT_EQ(r32(p.data.data(), 4), 2u);
    EXPECT_EQ(r32(p.data.data(), 0), 16u) << "the rest of the block as sent";
    EXPECT_EQ(r16(p.data.data(), 12), 0x77);

    // A count beyond the block reads no further than the block.
    DcmdPacket lying(2, PD_LIST_OPERATION, 12, DIR_BOTH);
    w32(lying.data.data(), 4, 1000);
    w16(lying.data.data(), 10, 9);
    ASSERT_EQ(send(lying), 0);
    EXPECT_EQ(r32(lying.data.data(), 4), 1u);
}

} // namespace

namespace {

// One array of two 10000-block drives, 5000 blocks large, wholly taken by a logical drive
// whose span has no length of its own.
void oneFullArray(sim::HostModel& st)
{
    sim::Controller& c = st.controllers.at(0);
    c.drives.clear();
    for (uint16_t id = 8; id < 10; ++id) {
        sim::Drive d;
        d.deviceId = id;
        d.enclosureId = 252;
        d.slot = static_cast<uint8_t>(id - 8);
        d.state = 0x18;
        d.coercedBlocks = 10000;
        c.drives.push_back(d);
    }
    sim::Array a;
    a.ref = 4;
    a.drives = {8, 9};
    a.sizeBlocks = 5000;
    c.arrays = {a};
    sim::LogicalDrive ld;
    ld.targetId = 0;
    ld.raidLevel = 1;
    ld.drivesPerSpan = 2;
    sim::Span s;
    s.array = 4;
    ld.spans = {s};
    c.lds = {ld};
    c.spares.clear();
}

} // namespace

TEST_F(ConfigurationFirmware, ArraySizeWrittenWithinItsDrivesAndSpans)
{
    dir = makeHost(tmp, "one", oneFullArray);
    ASSERT_FALSE(dir.empty());
    const uint32_t CFG_SET_ARRAY = 0x04060000;
    struct Case {
        uint16_t ref;
        uint64_t size;
        uint8_t status;
        uint64_t arraySize;   // read back afterwards
    } cases[] = {
        {4, 12000, 0x09, 5000},   // more than a drive holds
        {4, 4000, 0x09, 5000},    // would cut the span short
        {7, 8000, 0x0c, 5000},    // no such array
        {4, 8000, 0x00, 8000},
        {4, 10000, 0x00, 10000},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.size);
        DcmdPacket set(2, CFG_SET_ARRAY, 288, DIR_WRITE);
        w64(set.data.data(), 0, c.size);
        w16(set.data.data(), 10, c.ref);
        ASSERT_EQ(send(set), 0);
        EXPECT_EQ(set.status(), c.status);
        DcmdPacket read(2, CFG_READ, 576);
        ASSERT_EQ(send(read), 0);
        ASSERT_EQ(read.status(), 0);
        EXPECT_EQ(r64(read.data.data(), 32), c.arraySize);
        // The span keeps the 5000 blocks it had, whatever the array's size.
        EXPECT_EQ(r64(read.data.data(), 320 + 72), 5000u);
    }
}
