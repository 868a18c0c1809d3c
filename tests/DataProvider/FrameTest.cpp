#include "DataProvider/DcmdOpcodes.h"
#include "DataProvider/DpParams.h"
#include "DataProvider/ZprFrame.h"
#include "FakeDriver.h"
#include "PavUtil/Memory.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <vector>

namespace {

std::vector<uint8_t> image(const ZprDpParams& p)
{
    const uint8_t* a = p.frame()->address();
    return std::vector<uint8_t>(a, a + 64);
}

uint64_t addr(const void* p)
{
    return static_cast<uint64_t>(reinterpret_cast<uintptr_t>(p));
}

// ---- the frame buffer -------------------------------------------------------------------------

TEST(ZprFrame, FrameSitsOnTheNextMultipleOf256)
{
    EXPECT_EQ(ZprFrame::alignedAddress(0x10000), 0x10000u);
    EXPECT_EQ(ZprFrame::alignedAddress(0x10001), 0x10100u);
    EXPECT_EQ(ZprFrame::alignedAddress(0x100FF), 0x10100u);

    ZprFrame f;
    ASSERT_TRUE(f.isValid());
    EXPECT_EQ(reinterpret_cast<uintptr_t>(f.address()) % 256, 0u);
    for (uint8_t i = 0; i < 64; ++i) {
        EXPECT_EQ(f.readByte(i), 0);
    }
}

TEST(ZprFrame, MisalignedAndOutOfFrameWritesAreDropped)
{
    ZprFrame f;
    std::vector<uint8_t> before(f.address(), f.address() + 64);
    f.writeDword(64, 0xFFFFFFFF);
    f.writeDword(62, 0xFFFFFFFF);
    f.writeDword(2, 0xFFFFFFFF);
    f.writeWord(5, 0xFFFF);
    f.writeWord(64, 0xFFFF);
    f.writeQword(60, ~0ull);
    f.writeQword(4, ~0ull);
    f.writeByte(64, 0xFF);
    f.writeByte(static_cast<uint8_t>(300), 0xFF);   // 300 reduces to 44: stored
    before[44] = 0xFF;
    EXPECT_EQ(std::vector<uint8_t>(f.address(), f.address() + 64), before);

    f.writeByte(63, 0x7E);
    f.writeWord(62, 0x1234);
    f.writeDword(60, 0xA1B2C3D4);
    f.writeQword(56, 0x0102030405060708ull);
    EXPECT_EQ(f.readDword(56), 0x05060708u);
    EXPECT_EQ(f.readDword(60), 0x01020304u);
    f.writeByte(63, 0x7E);
    EXPECT_EQ(f.readByte(63), 0x7E);
}

// ---- request frames ---------------------------------------------------------------------------

TEST(RequestFrames, ControllerCommandLayout)
{
    uint8_t record[512];
    DcmdZprDpParams p(DCMD_PD_GET_INFO, 5, 0x11223344, 0x55667788, record, 0, 0, 0);
    std::vector<uint8_t> f = image(p);
    EXPECT_EQ(f[0], 5);
    EXPECT_EQ(f[1], 0);
    EXPECT_EQ(f[2], 0xFF);
    for (int i = 3; i <= 6; ++i) EXPECT_EQ(f[i], 0) << i;
    EXPECT_EQ(f[7], 1);
    EXPECT_EQ(le64(&f[8]), addr(p.frame()->address()));
    EXPECT_EQ(le16(&f[16]), 0x17);
    EXPECT_EQ(le16(&f[18]), 0);
    EXPECT_EQ(le32(&f[20]), 512u);
    EXPECT_EQ(le32(&f[24]), 0x02020000u);
    EXPECT_EQ(le32(&f[28]), 5u);
    EXPECT_EQ(le32(&f[32]), 0x11223344u);
    EXPECT_EQ(le32(&f[36]), 0x55667788u);
    EXPECT_EQ(le64(&f[40]), addr(record));
    EXPECT_EQ(le32(&f[48]), 512u);
    for (int i = 52; i < 64; ++i) EXPECT_EQ(f[i], 0) << i;

    EXPECT_EQ(p.type(), DP_KIND_DCMD);
    EXPECT_EQ(p.frameCommand(), 5u);
    EXPECT_EQ(p.getMailbox0(), 5u);
    EXPECT_EQ(p.getMailbox1(), 0x11223344u);
    EXPECT_EQ(p.getMailbox2(), 0x55667788u);
}

TEST(RequestFrames, SixtyFourBitMailboxFormSplitsIntoWordsZeroAndOne)
{
    DcmdZprDpParams p(DCMD_PD_SET_STATE, 0x0000000900000007ull, 3, nullptr, 0, 0, 0);
    std::vector<uint8_t> f = image(p);
    EXPECT_EQ(le32(&f[28]), 7u);
    EXPECT_EQ(le32(&f[32]), 9u);
    EXPECT_EQ(le32(&f[36]), 3u);
    EXPECT_EQ(le16(&f[16]), 0x07);
    EXPECT_EQ(le32(&f[20]), 0u);
    EXPECT_EQ(le64(&f[40]), 0u);
}

TEST(RequestFrames, UnlistedOpcodeIsBuiltAsAReadOf0xFFFFButNotSendable)
{
    DcmdZprDpParams p(0x01FF0000, 0u, 0u, 0u, nullptr, 16, 0, 0);
    EXPECT_EQ(p.frameFlags(), 0x17);
    EXPECT_EQ(p.dataLength(), 0xFFFFu);
    EXPECT_EQ(le32(&image(p)[20]), 0xFFFFu);
    EXPECT_FALSE(p.isSendable());

    DcmdZprDpParams listed(DCMD_ADP_GET_INFO, 0u, 0u, 0u, nullptr, 0, 0, 0);
    EXPECT_TRUE(listed.isSendable());
}

TEST(RequestFrames, PrivateVariantKeepsGeneralFlagsAndPatchesBothLengths)
{
    uint8_t data[8] = {};
    DcmdZprDpPrvParams p(DCMD_ADP_MFC_SUBCMD_0182, 0u, 0u, 0u, data, 0, 0, 0);
    std::vector<uint8_t> f = image(p);
    EXPECT_EQ(le16(&f[16]), 0x17);      // general default: opcode not in the general catalogue
    EXPECT_EQ(le32(&f[20]), 8u);
    EXPECT_EQ(le32(&f[48]), 8u);
    EXPECT_EQ(p.frameFlags(), 0x09);    // private direction: write
    EXPECT_EQ(p.dataLength(), 8u);
    EXPECT_TRUE(p.isSendable());

    DcmdZprDpPrvParams raw(DCMD_ADP_BBU_RAW_WRITE, 0u, 0u, 0u, data, 6, 0, 0);
    EXPECT_EQ(le16(&image(raw)[16]), 0x0F);
    EXPECT_EQ(le32(&image(raw)[20]), 6u);

    DcmdZprDpPrvParams unlisted(DCMD_ADP_GET_INFO, 0u, 0u, 0u, data, 0, 0, 0);
    EXPECT_FALSE(unlisted.isSendable());
}

TEST(RequestFrames, DriverCommandLeavesSgeCountAndLengthToTheTransport)
{
    uint8_t info[112];
    DriverZprDPParams p(DCMD_DRIVER_GET_INFO, 1u, 2u, 3u, info, 0, 77, 0x1234);
    std::vector<uint8_t> f = image(p);
    EXPECT_EQ(f[0], 5);
    EXPECT_EQ(f[2], 0xFF);
    EXPECT_EQ(f[7], 0);
    EXPECT_EQ(le16(&f[16]), 0x17);
    EXPECT_EQ(le16(&f[18]), 0);
    EXPECT_EQ(le32(&f[20]), 112u);
    EXPECT_EQ(le32(&f[24]), DCMD_DRIVER_GET_INFO);
    EXPECT_EQ(le32(&f[28]), 1u);
    EXPECT_EQ(le64(&f[40]), addr(info));
    EXPECT_EQ(le32(&f[48]), 0u);
    EXPECT_EQ(p.type(), DP_KIND_DRIVER);
    EXPECT_EQ(p.controlCode(), 0xF0010000u);
    EXPECT_EQ(p.timeout(), 180);
}

TEST(RequestFrames, ScsiPassThroughLayout)
{
    const uint8_t cdb[6] = { 0x1C, 1, 2, 0, 0x40, 0 };
    uint8_t data[64];
    DcdbZprDpParams p(4, 0x21, 3, 6, cdb, sizeof data, data, DP_DIRECTION_READ, 32,
                      0x1122334455667788ull, 0, 0);
    std::vector<uint8_t> f = image(p);
    EXPECT_EQ(f[0], 4);
    EXPECT_EQ(f[1], 32);
    EXPECT_EQ(f[2], 0xFF);
    EXPECT_EQ(f[4], 0x21);
    EXPECT_EQ(f[5], 3);
    EXPECT_EQ(f[6], 6);
    EXPECT_EQ(f[7], 1);
    EXPECT_EQ(le64(&f[8]), addr(p.frame()->address()));
    EXPECT_EQ(le16(&f[16]), 0x17);
    EXPECT_EQ(le16(&f[18]), 30);
    EXPECT_EQ(le32(&f[20]), 64u);
    EXPECT_EQ(le64(&f[24]), 0x1122334455667788ull);
    for (int i = 0; i < 6; ++i) EXPECT_EQ(f[32 + i], cdb[i]);
    for (int i = 38; i < 48; ++i) EXPECT_EQ(f[i], 0) << i;
    EXPECT_EQ(le64(&f[48]), addr(data));
    EXPECT_EQ(le32(&f[56]), 64u);
    EXPECT_EQ(le32(&f[60]), 0u);
    EXPECT_EQ(p.type(), DP_KIND_DCDB);
    EXPECT_EQ(p.firstCdbByte(), 0x1C);

    DcdbZprDpParams ld(3, 7, 0, 6, cdb, 0, nullptr, DP_DIRECTION_NONE, 0, 0, 0, 0);
    EXPECT_EQ(image(ld)[0], 3);
}

TEST(RequestFrames, PassThroughLimitsCdbFisAndSenseToTheirAreas)
{
    uint8_t cdb[20];
    for (int i = 0; i < 20; ++i) cdb[i] = static_cast<uint8_t>(0x80 + i);
    DcdbZprDpParams p(4, 0, 0, 20, cdb, 0, nullptr, 0, 200, 0, 0, 0);
    EXPECT_EQ(p.cdbLength(), 16);
    EXPECT_EQ(image(p)[6], 16);
    for (int i = 0; i < 16; ++i) EXPECT_EQ(image(p)[32 + i], cdb[i]);
    EXPECT_EQ(p.senseLength(), 32);
    EXPECT_EQ(image(p)[1], 32);

    uint8_t fis[24];
    for (int i = 0; i < 24; ++i) fis[i] = static_cast<uint8_t>(i + 1);
    StpZprDpParams s(8, 2, 0, fis, 24, 0, 0, nullptr, 0, 0, 0, 0, 0, 0);
    EXPECT_EQ(s.fisLength(), 20u);
    EXPECT_EQ(image(s)[43], 20);
    EXPECT_EQ(le32(&image(s)[44]), 0u);    // the 21st FIS byte is not kept
}

TEST(RequestFrames, PassThroughFlagsComeFromTheTwoLowDirectionBits)
{
    const struct { uint8_t direction; uint16_t flags; } cases[] = {
        { 0, 0x07 }, { 1, 0x0F }, { 2, 0x17 }, { 3, 0x1F }, { 7, 0x1F }, { 6, 0x17 },
    };
    for (const auto& c : cases) {
        DcdbZprDpParams d(4, 0, 0, 0, nullptr, 0, nullptr, c.direction, 0, 0, 0, 0);
        StpZprDpParams s(8, 0, 0, nullptr, 0, 0, 0, nullptr, c.direction, 0, 0, 0, 0, 0);
        EXPECT_EQ(d.frameFlags(), c.flags) << int(c.direction);
        EXPECT_EQ(le16(&image(d)[16]), c.flags);
        EXPECT_EQ(s.frameFlags(), c.flags) << int(c.direction);
    }
}

TEST(RequestFrames, SataPassThroughLayout)
{
    uint8_t fis[20];
    for (int i = 0; i < 20; ++i) fis[i] = static_cast<uint8_t>(0x40 + i);
    uint8_t data[512];
    StpZprDpParams p(8, 9, 4, fis, 20, 0xAABBCCDD11223344ull, sizeof data, data, DP_DIRECTION_READ,
                     0xCAFEF00D, 0x77, 0x99, 5, 0x42);
    std::vector<uint8_t> f = image(p);
    EXPECT_EQ(f[0], 8);
    EXPECT_EQ(f[1], 0);
    EXPECT_EQ(f[2], 0xFF);
    EXPECT_EQ(f[4], 9);
    EXPECT_EQ(f[5], 0);    // the LUN is not sent
    EXPECT_EQ(f[6], 0);
    EXPECT_EQ(f[7], 2);
    EXPECT_EQ(le16(&f[16]), 0x17);
    EXPECT_EQ(le16(&f[18]), 30);
    EXPECT_EQ(le32(&f[20]), 512u);
    for (int i = 0; i < 20; ++i) EXPECT_EQ(f[24 + i], fis[i]);
    EXPECT_EQ(le32(&f[44]), 0xCAFEF00Du);
    EXPECT_EQ(le64(&f[48]), 0xAABBCCDD11223344ull);
    EXPECT_EQ(le32(&f[56]), 20u);
    EXPECT_EQ(le32(&f[60]), static_cast<uint32_t>(addr(data)));
    EXPECT_EQ(p.type(), DP_KIND_STP);
    EXPECT_EQ(p.controlCode(), 0x42u);
    EXPECT_EQ(p.responseAddress(), 0xAABBCCDD11223344ull);
}

TEST(RequestFrames, ControllerIdIsStoredNotOwned)
{
    DcmdZprDpParams p(DCMD_ADP_GET_INFO, 0u, 0u, 0u, nullptr, 0, 0, 0);
    EXPECT_EQ(p.controllerId(), nullptr);
    ArraykitIr2DpParams a(nullptr);
    EXPECT_EQ(a.type(), DP_KIND_AK_IR2);
    EXPECT_EQ(a.dataBuffer(), nullptr);
}

TEST(RequestFrames, FrameThatCannotBeAllocatedLeavesNoFrame)
{
    failNextAllocations(1);
    testsupport::StreamCapture captured;
    DcmdZprDpParams p(DCMD_ADP_GET_INFO, 0u, 0u, 0u, nullptr, 0, 0, 0);
    std::string out = captured.take();
    failNextAllocations(0);
    EXPECT_EQ(p.frame(), nullptr);
    EXPECT_EQ(out, "!!! SYSTEM IS OUT OF MEMORY !!!\n");
}

} // namespace
