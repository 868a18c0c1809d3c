// The program's own driver transport against the simulated driver: the two meet at the ioctl
// packet, each built from the layout on its own side.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/sysmacros.h>

#include "DataProvider/ControllerId.h"
#include "DataProvider/DpParams.h"
#include "DataProvider/LinuxZprDataProvider.h"
#include "SimTestUtil.h"
#include "Simulator/QuillSim.h"
#include "Simulator/SimHost.h"

using namespace simtest;

namespace {

struct Transport : ::testing::Test {
    TempDir tmp;
    std::string dir = makeHost(tmp, "one");
    sim::SimHost* host = nullptr;
    int fd = -1;

    void SetUp() override
    {
        host = new sim::SimHost(dir, false);
        setOsBoundary(&host->boundary());
        // As discovery does it: make the node from the major in /proc/devices, open it.
        ASSERT_EQ(osBoundary().mknod("/dev/quillraid_sas_ioctl_node", S_IFCHR | 0400, makedev(250, 0)), 0);
        fd = osBoundary().open("/dev/quillraid_sas_ioctl_node", O_RDONLY);
        ASSERT_GT(fd, 0);
    }
    void TearDown() override
    {
        if (fd > 0)
            osBoundary().close(fd);
        setOsBoundary(nullptr);
        delete host;
    }

    int execute(uint32_t opcode, uint32_t mbox0, std::vector<uint8_t>& buf)
    {
        LinuxCtrlId id(0, fd, 2);
        DcmdZprDpParams req(opcode, mbox0, 0, 0, buf.data(), static_cast<uint32_t>(buf.size()), 0, 0);
        req.setControllerId(&id);
        return LinuxZprDataProvider::instance()->execute(&req);
    }
};

TEST_F(Transport, ControllerInformationAndLogicalDriveRecordsArrive)
{
    std::vector<uint8_t> info(2048, 0);
    ASSERT_EQ(execute(0x01010000, 0, info), 0);
    EXPECT_EQ(r16(info.data(), 0), 0x1E7A);
    EXPECT_EQ(info[0x53F], 64);
    EXPECT_STREQ(reinterpret_cast<const char*>(info.data() + 0x540), "QuillRAID SAS 4080-8i");

    std::vector<uint8_t> ld(384, 0);
    ASSERT_EQ(execute(0x03020000, 0, ld), 0);
    EXPECT_EQ(ld[38], 3);
    EXPECT_EQ(ld[304 + 1], 0x83);
}

TEST_F(Transport, AFirmwareStatusReachesTheCallerWithoutData)
{
    ASSERT_EQ(runQuillSim({"fault", dir, "status", "0x03010000", "0x2d", "--once"}), 0);
    host->state().load();
    std::vector<uint8_t> list(1032, 0xAB);
    EXPECT_EQ(execute(0x03010000, 0, list), 0x2D);
    EXPECT_EQ(list[0], 0xAB);
    EXPECT_EQ(execute(0x03010000, 0, list), 0);
    EXPECT_EQ(r32(list.data(), 0), 1u);
}

} // namespace
