// Fault injection: added with the tool, applied by the driver, counted across program runs.
#include <cerrno>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/sysmacros.h>

#include "SimTestUtil.h"
#include "Simulator/QuillSim.h"
#include "Simulator/SimHost.h"

using namespace simtest;

namespace {

struct Faults : ::testing::Test {
    TempDir tmp;
    std::string dir;

    void SetUp() override { dir = makeHost(tmp, "two"); }

    int fault(std::vector<std::string> args)
    {
        args.insert(args.begin(), {"fault", dir});
        return runQuillSim(args);
    }

    // One command as a separate program run would send it: a fresh host object each time.
    int send(DcmdPacket& p)
    {
        sim::SimHost host(dir, false);
        if (host.state().load() != 0)
            return -2;
        return host.driver().ioctl(0, REQ_SAS, p.pkt);
    }

    std::vector<int> statuses(unsigned host, uint32_t opcode, int n)
    {
        std::vector<int> out;
        for (int i = 0; i < n; ++i) {
            DcmdPacket p(host, opcode, 2048);
            out.push_back(send(p) == 0 ? p.status() : -1);
        }
        return out;
    }
};

TEST_F(Faults, StatusModesHoldAcrossRuns)
{
    struct Case {
        std::vector<std::string> mode;
        std::vector<int> expect;
    } cases[] = {
        {{}, {0x2D, 0x2D, 0x2D, 0x2D}},
        {{"--once"}, {0x2D, 0, 0, 0}},
        {{"--times", "2"}, {0x2D, 0x2D, 0, 0}},
        {{"--from", "3"}, {0, 0, 0x2D, 0x2D}},
    };
    for (const Case& c : cases) {
        ASSERT_EQ(fault({"clear"}), 0);
        std::vector<std::string> args = {"status", "0x01010000", "0x2d"};
        args.insert(args.end(), c.mode.begin(), c.mode.end());
        ASSERT_EQ(fault(args), 0);
        EXPECT_EQ(statuses(2, 0x01010000, 4), c.expect) << (c.mode.empty() ? "always" : c.mode[0]);
    }
}

TEST_F(Faults, FiltersLimitAFaultToItsOpcodeAndHost)
{
    ASSERT_EQ(fault({"status", "0x01010000", "4", "--host", "3"}), 0);
    EXPECT_EQ(statuses(2, 0x01010000, 1), std::vector<int>{0});
    EXPECT_EQ(statuses(3, 0x01010000, 1), std::vector<int>{4});
    EXPECT_EQ(statuses(3, 0x03010000, 1), std::vector<int>{0});
}

TEST_F(Faults, IoctlFailuresLeaveTheStatusUnwritten)
{
    ASSERT_EQ(fault({"ioctl", "--once"}), 0);
    ASSERT_EQ(fault({"ioctl", "1", "--from", "2"}), 0);
    DcmdPacket first(2, 0x01010000, 2048);
    errno = 0;
    EXPECT_EQ(send(first), -1);
    EXPECT_EQ(errno, EIO);
    EXPECT_EQ(first.status(), 0xFF);
    DcmdPacket second(2, 0x01010000, 2048);
    EXPECT_EQ(send(second), 1);
    EXPECT_EQ(second.status(), 0xFF);
    EXPECT_EQ(r16(second.data.data(), 0), 0);
}

TEST_F(Faults, ShortAndCorruptRecords)
{
    ASSERT_EQ(fault({"short", "0x03020000", "40"}), 0);
    ASSERT_EQ(fault({"corrupt", "0x03010000", "0", "ff000000"}), 0);
    DcmdPacket info(2, 0x03020000, 384);
    ASSERT_EQ(send(info), 0);
    EXPECT_EQ(info.status(), 0);
    EXPECT_EQ(info.data[38], 3);            // inside the first 40 bytes
    EXPECT_EQ(r64(info.data.data(), 256), 0u);
    EXPECT_EQ(info.data[304 + 1], 0);

    DcmdPacket list(2, 0x03010000, 1032);
    ASSERT_EQ(send(list), 0);
    EXPECT_EQ(r32(list.data.data(), 0), 255u);
    EXPECT_EQ(list.data[12], 3);            // the rest of the record is intact
}

TEST_F(Faults, MissingDriverRefusesTheNode)
{
    ASSERT_EQ(fault({"missing-driver"}), 0);
    sim::SimHost host(dir, false);
    ASSERT_EQ(host.boundary().mknod("/dev/quillraid_sas_ioctl_node", S_IFCHR | 0400, makedev(250, 0)), 0);
    errno = 0;
    EXPECT_EQ(host.boundary().open("/dev/quillraid_sas_ioctl_node", O_RDONLY), -1);
    EXPECT_EQ(errno, ENODEV);
}

TEST_F(Faults, TheToolRejectsUnsoundFaults)
{
    EXPECT_EQ(fault({"status", "0x01010000"}), 2);
    EXPECT_EQ(fault({"status", "0x01010000", "300"}), 2);
    EXPECT_EQ(fault({"corrupt", "0x01010000", "0", "xyz"}), 2);
    EXPECT_EQ(fault({"status", "1", "2", "--times", "0"}), 2);
    EXPECT_EQ(fault({"bogus"}), 2);
    EXPECT_EQ(fault({"json", "{\"type\":\"status\",\"status\":2,\"mode\":\"sometimes\"}"}), 2);
    EXPECT_EQ(fault({"json", "{\"type\":\"status\",\"status\":2,\"opcode\":\"0x01010000\"}"}), 0);
    sim::SimState st(dir);
    ASSERT_EQ(st.load(), 0);
    ASSERT_EQ(st.model().faults.size(), 1u);
}

} // namespace
