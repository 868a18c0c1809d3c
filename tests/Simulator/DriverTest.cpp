// The simulated driver: packet decoding, following iovecs into the caller's memory, the status
// byte, what it refuses, and its command log and trace.
#include <cerrno>
#include <gtest/gtest.h>

#include "SimTestUtil.h"
#include "Simulator/SimHost.h"
#include "TestSupport.h"

using namespace simtest;

namespace {

struct Driver : ::testing::Test {
    TempDir tmp;
    std::string dir = makeHost(tmp, "one");
};

TEST_F(Driver, FollowsTheIovecNotTheFrameAddressAndWritesTheStatusByte)
{
    sim::SimHost host(dir, false);
    ASSERT_EQ(host.state().load(), 0);
    DcmdPacket p(2, 0x01010000, 2048);
    // The frame's own SGE points elsewhere; a kernel moves data through the iovec only.
    std::vector<uint8_t> decoy(2048, 0);
    w64(p.pkt + 20, 40, reinterpret_cast<uintptr_t>(decoy.data()));
    uint8_t before[404];
    memcpy(before, p.pkt, sizeof before);

    errno = 0;
    ASSERT_EQ(host.driver().ioctl(0, REQ_SAS, p.pkt), 0);
    EXPECT_EQ(p.status(), 0);
    EXPECT_EQ(r16(p.data.data(), 0), 0x1E7A);   // the preset's vendor id
    EXPECT_EQ(r16(decoy.data(), 0), 0);
    // Only the status byte of the packet changes.
    before[22] = 0;
    EXPECT_EQ(memcmp(before, p.pkt, sizeof before), 0);
}

TEST_F(Driver, RefusesWhatAKernelDriverWould)
{
    struct Case {
        const char* what;
        unsigned long request;
        unsigned host;
        int sgeCount;          // -1: leave as built
        uint64_t iovecAddress; // 0: leave as built
        bool nullArg;
        int err;
    } cases[] = {
        {"the other driver's request code", 0xC1945201UL, 2, -1, 0, false, ENOTTY},
        {"a host without a controller", REQ_SAS, 9, -1, 0, false, ENODEV},
        {"a null packet", REQ_SAS, 2, -1, 0, true, EFAULT},
        {"an unmapped data address", REQ_SAS, 2, -1, 0x10, false, EFAULT},
        {"more iovecs than the packet holds", REQ_SAS, 2, 17, 0, false, EINVAL},
    };
    sim::SimHost host(dir, false);
    ASSERT_EQ(host.state().load(), 0);
    for (const Case& c : cases) {
        DcmdPacket p(c.host, 0x01010000, 2048);
        if (c.sgeCount >= 0)
            w32(p.pkt, 8, c.sgeCount);
        if (c.iovecAddress)
            w64(p.pkt, 148, c.iovecAddress);
        errno = 0;
        EXPECT_EQ(host.driver().ioctl(0, c.request, c.nullArg ? nullptr : p.pkt), -1) << c.what;
        EXPECT_EQ(errno, c.err) << c.what;
        EXPECT_EQ(p.status(), 0xFF) << c.what;
    }
}

TEST_F(Driver, LogsEveryCommandAndTracesWhenAsked)
{
    {
        sim::SimHost quiet(dir, false);
        ASSERT_EQ(quiet.state().load(), 0);
        DcmdPacket p(2, 0x03020000, 384, DIR_READ, 5);
        testsupport::StreamCapture captured(STDERR_FILENO);
        ASSERT_EQ(quiet.driver().ioctl(0, REQ_SAS, p.pkt), 0);
        EXPECT_EQ(captured.take(), "");
    }
    sim::SimHost traced(dir, true);
    ASSERT_EQ(traced.state().load(), 0);
    DcmdPacket p(2, 0x01010000, 2048);
    testsupport::StreamCapture captured(STDERR_FILENO);
    ASSERT_EQ(traced.driver().ioctl(0, REQ_SAS, p.pkt), 0);
    std::string err = captured.take();
    EXPECT_NE(err.find("opcode=0x01010000"), std::string::npos) << err;
    EXPECT_NE(err.find("status=0x00"), std::string::npos) << err;

    std::string log = readText(dir + "/commands.log");
    EXPECT_NE(log.find("host=2 frame=5 opcode=0x03020000 mbox=0x00000005,0x00000000,0x00000000 len=384 status=0x0c"),
              std::string::npos)
        << log;
    EXPECT_NE(log.find("opcode=0x01010000"), std::string::npos) << log;
}

} // namespace
