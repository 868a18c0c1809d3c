// The simulated firmware, reached through the simulated driver with hand-built packets. Fields
// are read back at the offsets the record layouts give, written out here as literals.
#include <cerrno>
#include <cstring>
#include <gtest/gtest.h>

#include "SimTestUtil.h"
#include "Simulator/Firmware/SimFirmware.h"
#include "Simulator/SimHost.h"

using namespace simtest;

namespace {

const uint32_t ADP_GET_INFO = 0x01010000, MFC_GET_OEM_DATA = 0x010E8481;
const uint32_t LD_GET_LIST = 0x03010000, LD_GET_INFO = 0x03020000;

struct Firmware : ::testing::Test {
    TempDir tmp;
    std::string dir;

    int send(DcmdPacket& p, unsigned long request = REQ_SAS)
    {
        sim::SimHost host(dir, false);
        if (host.state().load() != 0)
            return -2;
        return host.driver().ioctl(0, request, p.pkt);
    }
};

TEST_F(Firmware, ControllerInformationFieldsSitAtTheirOffsets)
{
    dir = makeHost(tmp, "one", [](sim::HostModel& st) {
        sim::ControllerInfo& info = st.controllers.at(0).info;
        info.vendorId = 0x1234;
        info.deviceId = 0x5678;
        info.subVendorId = 0x9ABC;
        info.subDeviceId = 0xdef0;
        info.maxVirtualDrives = 40;
        info.forwardCompatibility = 0x0102;
        info.backwardCompatibility = 0x0304;
        info.productName = "Test Product";
        info.serialNumber = "SN-42";
        info.patch[0x7a4] = {0x81};
    });
    ASSERT_FALSE(dir.empty());
    DcmdPacket p(2, ADP_GET_INFO, 2048);
    ASSERT_EQ(send(p), 0);
    EXPECT_EQ(p.status(), 0);
    const uint8_t* r = p.data.data();
    EXPECT_EQ(r16(r, 0), 0x1234);
    EXPECT_EQ(r16(r, 2), 0x5678);
    EXPECT_EQ(r16(r, 4), 0x9ABC);
    EXPECT_EQ(r16(r, 6), 0xDEF0);
    EXPECT_EQ(r[0x53F], 40);
    EXPECT_EQ(r16(r, 0x5FC), 0x0102);
    EXPECT_EQ(r16(r, 0x5FE), 0x0304);
    EXPECT_STREQ(reinterpret_cast<const char*>(r + 0x540), "Test Product");
    EXPECT_STREQ(reinterpret_cast<const char*>(r + 0x590), "SN-42");
    EXPECT_EQ(r[0x7A4], 0x81);
    // Device counts: one virtual drive, none degraded or offline, 4 drives + 1 enclosure.
    EXPECT_EQ(r16(r, 0x5C0), 1);
    EXPECT_EQ(r16(r, 0x5C2), 0);
    EXPECT_EQ(r16(r, 0x5C6), 5);
    EXPECT_EQ(r16(r, 0x5C8), 4);
    // The image table: "APP" first, with its version text.
    EXPECT_EQ(r32(r, 0xB4), 3u);
    EXPECT_STREQ(reinterpret_cast<const char*>(r + 0xB8), "APP");
    EXPECT_STREQ(reinterpret_cast<const char*>(r + 0xB8 + 8), "4.800.00-1234");
}

TEST_F(Firmware, OemDataCarriesTheOemIdInByteZero)
{
    dir = makeHost(tmp, "one", [](sim::HostModel& st) {
        st.controllers.at(0).mfcOemData.oemId = 8;
        st.controllers.at(0).mfcOemData.enableSSC = 1;
    });
    DcmdPacket p(2, MFC_GET_OEM_DATA, 24);
    ASSERT_EQ(send(p), 0);
    EXPECT_EQ(p.status(), 0);
    EXPECT_EQ(r32(p.data.data(), 0), 8u);   // the first int and the first byte agree
    EXPECT_EQ(p.data[11], 1);
}

TEST_F(Firmware, LogicalDriveListAndInformation)
{
    dir = makeHost(tmp, "one");
    DcmdPacket list(2, LD_GET_LIST, 1032);
    ASSERT_EQ(send(list), 0);
    ASSERT_EQ(list.status(), 0);
    const uint8_t* l = list.data.data();
    EXPECT_EQ(r32(l, 0), 1u);
    EXPECT_EQ(l[8], 0);                       // target id
    EXPECT_EQ(r16(l, 10), 1);                 // sequence number
    EXPECT_EQ(l[12], 3);                      // optimal
    EXPECT_EQ(r64(l, 16), 1952448512ull);     // size in blocks

    DcmdPacket info(2, LD_GET_INFO, 384, DIR_READ, 0);
    ASSERT_EQ(send(info), 0);
    ASSERT_EQ(info.status(), 0);
    const uint8_t* d = info.data.data();
    EXPECT_EQ(d[0], 0);                       // reference: target id
    EXPECT_EQ(r16(d, 2), 1);                  // reference: sequence number
    EXPECT_EQ(d[32], 1);                      // RAID 1
    EXPECT_EQ(d[36], 2);                      // drives per span
    EXPECT_EQ(d[38], 3);                      // state optimal
    EXPECT_EQ(d[47], 0);                      // not an SSD cache
    EXPECT_EQ(r64(d, 256), 1952448512ull);
    // Device-identification page: page 0x83, length 20, one NAA designator.
    EXPECT_EQ(d[304 + 1], 0x83);
    EXPECT_EQ(d[304 + 3], 20);
    EXPECT_EQ(d[304 + 5] & 0x0F, 3);
    EXPECT_EQ(d[304 + 8] >> 4, 6);
}

// One logical-drive model behind both records: a patch within the first 256 bytes of the
// information record reaches the drive's configuration record too, a configuration patch only
// the configuration record; an array member entry may carry a sequence number and state that
// are not its drive's.
TEST_F(Firmware, LogicalDrivePatchesReachTheirRecordsAndMembersMayDifferFromTheirDrives)
{
    dir = makeHost(tmp, "one", [](sim::HostModel& h) {
        sim::Controller& c = h.controllers[0];
        c.lds[0].patch[0x12] = {0x07};          // parameter byte 18 of both records
        c.lds[0].patch[300] = {0x5a};           // beyond the configuration record
        c.lds[0].configPatch[0x0b] = {0x01};    // parameter byte 11 of the configuration record only
        c.arrays[0].members.push_back(sim::ArrayMember{1, uint16_t(0), uint16_t(0x11)});
    });
    DcmdPacket config(2, 0x04010000, 616);
    ASSERT_EQ(send(config), 0);
    ASSERT_EQ(config.status(), 0);
    const uint8_t* b = config.data.data();
    // The header, one 288-byte array record from 32, the logical drive's record from 320.
    EXPECT_EQ(r16(b, 32 + 32), 8);            // row 0: drive 8, its own sequence number and state
    EXPECT_EQ(r16(b, 32 + 34), 1);
    EXPECT_EQ(r16(b, 32 + 36), 0x18);
    EXPECT_EQ(r16(b, 32 + 40), 9);            // row 1: drive 9, sequence 0, failed
    EXPECT_EQ(r16(b, 32 + 42), 0);
    EXPECT_EQ(r16(b, 32 + 44), 0x11);
    EXPECT_EQ(b[320 + 0x12], 0x07);
    EXPECT_EQ(b[320 + 0x0b], 0x01);

    DcmdPacket info(2, LD_GET_INFO, 384, DIR_READ, 0);
    ASSERT_EQ(send(info), 0);
    ASSERT_EQ(info.status(), 0);
    EXPECT_EQ(info.data[0x12], 0x07);
    EXPECT_EQ(info.data[0x0b], 0x00);
    EXPECT_EQ(info.data[300], 0x5a);
}

TEST_F(Firmware, DeviceIdentificationPagesDifferBetweenControllersAndDrives)
{
    dir = makeHost(tmp, "two");
    std::vector<std::vector<uint8_t>> pages;
    for (unsigned host : {2u, 3u}) {
        DcmdPacket info(host, LD_GET_INFO, 384, DIR_READ, 0);
        ASSERT_EQ(send(info), 0);
        ASSERT_EQ(info.status(), 0);
        pages.emplace_back(info.data.begin() + 304, info.data.begin() + 368);
    }
    EXPECT_NE(pages[0], pages[1]);
}

TEST_F(Firmware, MissingLogicalDriveAnswersNoDeviceAndLeavesTheBuffer)
{
    dir = makeHost(tmp, "one");
    DcmdPacket info(2, LD_GET_INFO, 384, DIR_READ, 7);
    memset(info.data.data(), 0xAB, info.data.size());
    ASSERT_EQ(send(info), 0);
    EXPECT_EQ(info.status(), 0x0C);
    EXPECT_EQ(info.data[0], 0xAB);
}

TEST_F(Firmware, ShortBufferGetsTheCountAndNothingBeyondIt)
{
    dir = makeHost(tmp, "big");
    // Eight bytes asked, but the caller's iovec memory is larger: the firmware must stop at
    // the data length.
    DcmdPacket p(2, LD_GET_LIST, 8);
    std::vector<uint8_t> wide(64, 0xEE);
    w64(p.pkt, 148, reinterpret_cast<uintptr_t>(wide.data()));
    w64(p.pkt, 156, wide.size());
    ASSERT_EQ(send(p), 0);
    EXPECT_EQ(p.status(), 0);
    EXPECT_EQ(r32(wide.data(), 0), 64u);
    EXPECT_EQ(wide[8], 0xEE);
}

TEST_F(Firmware, UnknownOpcodesAndForeignFramesAnswerInvalidCommand)
{
    dir = makeHost(tmp, "one");
    DcmdPacket unknown(2, 0x01990000, 16);
    memset(unknown.data.data(), 0x5A, 16);
    ASSERT_EQ(send(unknown), 0);
    EXPECT_EQ(unknown.status(), 0x02);
    EXPECT_EQ(unknown.data[0], 0x5A);

    DcmdPacket frameOfNoKind(2, 0, 0);
    frameOfNoKind.pkt[20] = 0x7E;
    ASSERT_EQ(send(frameOfNoKind), 0);
    EXPECT_EQ(frameOfNoKind.status(), 0x02);
}

// Handlers of this test program only, keyed where the firmware has none: a driver command and
// a write that must carry its 32-byte record.
const uint32_t TEST_DRIVER_OPCODE = 0xF07F0100, TEST_WRITE_OPCODE = 0x7F7F0200;
std::vector<uint8_t> written;

uint8_t testDriverCommand(sim::SimState&, sim::Controller&, sim::SimCommand& cmd)
{
    return sim::fwReply(cmd, sim::Bytes(4, 0xD7));
}

uint8_t testWrite(sim::SimState&, sim::Controller&, sim::SimCommand& cmd)
{
    written = cmd.data;
    return 0;
}

const sim::FwRegistration testHandlers({
    sim::fwRead(TEST_DRIVER_OPCODE, 4, testDriverCommand, sim::FrameKind::DRIVER),
    sim::fwWrite(TEST_WRITE_OPCODE, 32, testWrite),
});

// A frame whose direction or length does not fit its opcode is refused with "invalid
// argument" before its handler runs, and the command log says why.
TEST_F(Firmware, FramesThatDoNotFitTheirOpcodeAreRefusedAndLogged)
{
    dir = makeHost(tmp, "one");
    struct Case {
        const char* what;
        uint32_t opcode;
        uint32_t length;
        uint16_t flags;
        int status;
        const char* logTail;
    } cases[] = {
        {"a read without direction", ADP_GET_INFO, 2048, DIR_NONE, 0x03, " status=0x03 refused=direction"},
        {"a read sent as a write", ADP_GET_INFO, 2048, DIR_WRITE, 0x03, " status=0x03 refused=direction"},
        {"a write short of its record", TEST_WRITE_OPCODE, 16, DIR_WRITE, 0x03, " status=0x03 refused=length"},
        {"a write of its record", TEST_WRITE_OPCODE, 32, DIR_WRITE, 0x00, " status=0x00"},
        {"a read longer than its record", LD_GET_LIST, 2048, DIR_READ, 0x00, " status=0x00"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        written.clear();
        DcmdPacket p(2, c.opcode, c.length, c.flags);
        memset(p.data.data(), 0x5A, p.data.size());
        ASSERT_EQ(send(p), 0);
        EXPECT_EQ(p.status(), c.status);
        std::string log = readText(dir + "/commands.log");
        std::string last = log.substr(log.rfind('\n', log.size() - 2) + 1);
        EXPECT_EQ(last.substr(last.size() - strlen(c.logTail) - 1), std::string(c.logTail) + "\n");
        if (c.status != 0) {
            EXPECT_EQ(p.data[0], 0x5A) << "a refused frame returns no data";
            EXPECT_TRUE(written.empty()) << "a refused frame never reaches its handler";
        } else if (c.opcode == TEST_WRITE_OPCODE) {
            EXPECT_EQ(written, std::vector<uint8_t>(32, 0x5A));
        }
    }
    // The longer read got the whole list; the rest of the buffer is the caller's.
    DcmdPacket list(2, LD_GET_LIST, 2048);
    memset(list.data.data(), 0x5A, list.data.size());
    ASSERT_EQ(send(list), 0);
    EXPECT_EQ(r32(list.data.data(), 0), 1u);
    EXPECT_EQ(list.data[1031], 0);
    EXPECT_EQ(list.data[1032], 0x5A);
}

// Frames are told apart by kind: a driver command (opcode 0xF0......) reaches the driver
// commands' table, not the controller commands' one; pass-through frames without a handler
// answer "invalid command".
TEST_F(Firmware, FramesAreDispatchedByKind)
{
    dir = makeHost(tmp, "one");
    DcmdPacket driver(2, TEST_DRIVER_OPCODE, 4);
    ASSERT_EQ(send(driver), 0);
    EXPECT_EQ(driver.status(), 0);
    EXPECT_EQ(driver.data, std::vector<uint8_t>(4, 0xD7));

    for (uint8_t frame : {3, 4, 8}) {
        DcmdPacket passThrough(2, 0, 0);
        passThrough.pkt[20] = frame;
        ASSERT_EQ(send(passThrough), 0);
        EXPECT_EQ(passThrough.status(), 0x02) << int(frame);
    }
}

} // namespace
