// The logical drives' SCSI disks: the identification the program matches against the firmware.
#include <cerrno>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <scsi/scsi.h>
#include <scsi/scsi_ioctl.h>
#include <scsi/sg.h>

#include "SimTestUtil.h"
#include "Simulator/SimHost.h"

using namespace simtest;

namespace {

struct Disk : ::testing::Test {
    TempDir tmp;
    std::string dir = makeHost(tmp, "two");
    sim::SimHost host{dir, false};
    sim::SimOsBoundary& b = host.boundary();

    std::vector<uint8_t> firmwarePage(unsigned scsiHost)
    {
        DcmdPacket info(scsiHost, 0x03020000, 384, DIR_READ, 0);
        if (host.driver().ioctl(0, REQ_SAS, info.pkt) != 0 || info.status() != 0)
            return {};
        return std::vector<uint8_t>(info.data.begin() + 304, info.data.begin() + 304 + 4 + info.data[307]);
    }

    int sgInquiry(int fd, uint8_t evpd, uint8_t page, uint8_t* out, sg_io_hdr_t& h, uint8_t* sense)
    {
        uint8_t cdb[6] = {0x12, evpd, page, 0, 96, 0};
        memset(&h, 0, sizeof h);
        h.interface_id = 'S';
        h.dxfer_direction = SG_DXFER_FROM_DEV;
        h.cmd_len = 6;
        h.cmdp = cdb;
        h.dxfer_len = 96;
        h.dxferp = out;
        h.mx_sb_len = 32;
        h.sbp = sense;
        h.timeout = 20000;
        return b.ioctl(fd, SG_IO, &h);
    }
};

TEST_F(Disk, EachDiskAnswersItsLogicalDrivesIdentificationPage)
{
    ASSERT_EQ(host.state().load(), 0);
    const char* nodes[] = {"/dev/sda", "/dev/sdb"};
    const unsigned hosts[] = {2, 3};
    for (int i = 0; i < 2; ++i) {
        int fd = b.open(nodes[i], O_RDONLY);
        ASSERT_GT(fd, 0) << nodes[i];
        int version = 0;
        ASSERT_EQ(b.ioctl(fd, SG_GET_VERSION_NUM, &version), 0);
        EXPECT_GE(version, 30000);

        uint8_t out[96] = {0}, sense[32] = {0};
        sg_io_hdr_t h;
        ASSERT_EQ(sgInquiry(fd, 1, 0x83, out, h, sense), 0);
        EXPECT_EQ(h.status, 0);
        EXPECT_EQ(out[1], 0x83);
        EXPECT_EQ(out[5] & 0x0F, 3);
        std::vector<uint8_t> fw = firmwarePage(hosts[i]);
        ASSERT_FALSE(fw.empty());
        EXPECT_EQ(std::vector<uint8_t>(out, out + fw.size()), fw) << nodes[i];

        uint32_t idlun[2] = {0, 0};
        ASSERT_EQ(b.ioctl(fd, SCSI_IOCTL_GET_IDLUN, idlun), 0);
        EXPECT_EQ(idlun[0], (hosts[i] << 24) | (2u << 16)) << nodes[i];
        EXPECT_EQ(b.close(fd), 0);
    }
}

TEST_F(Disk, OlderInterfaceAndUnservedPages)
{
    int fd = b.open("/dev/sda", O_RDONLY);
    ASSERT_GT(fd, 0);
    // SCSI_IOCTL_SEND_COMMAND: input length, output length, the CDB; the answer replaces it.
    uint8_t block[8 + 96] = {0};
    w32(block, 4, 96);
    uint8_t cdb[6] = {0x12, 1, 0x83, 0, 96, 0};
    memcpy(block + 8, cdb, 6);
    ASSERT_EQ(b.ioctl(fd, SCSI_IOCTL_SEND_COMMAND, block), 0);
    EXPECT_EQ(block[8 + 1], 0x83);
    EXPECT_EQ(block[8 + 3], 20);

    uint8_t out[96] = {0}, sense[32] = {0};
    sg_io_hdr_t h;
    ASSERT_EQ(sgInquiry(fd, 1, 0xB0, out, h, sense), 0);
    EXPECT_EQ(h.status, 0x02);               // CHECK CONDITION
    EXPECT_EQ(sense[2] & 0x0F, 0x05);        // ILLEGAL REQUEST
    errno = 0;
    EXPECT_EQ(b.ioctl(fd, 0x1234, nullptr), -1);
    EXPECT_EQ(errno, ENOTTY);
    b.close(fd);
}

TEST_F(Disk, ADeletedLogicalDrivesNodeOpensNothing)
{
    ASSERT_EQ(host.state().load(), 0);
    host.state().model().controllers.at(1).lds.clear();
    errno = 0;
    EXPECT_EQ(b.open("/dev/sdb", O_RDONLY), -1);
    EXPECT_EQ(errno, ENXIO);
}

} // namespace
