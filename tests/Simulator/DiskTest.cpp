// The logical drives' SCSI disks: the identification the program matches against the firmware.
#include <cerrno>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <scsi/scsi.h>
#include <scsi/scsi_ioctl.h>
#include <scsi/sg.h>
#include <unistd.h>

#include "SimTestUtil.h"
#include "Simulator/QuillSim.h"
#include "Simulator/Description/SimDescription.h"
#include "Simulator/SimHost.h"

using namespace simtest;

namespace {

std::string readlinkText(const std::string& path)
{
    char buf[512] = {0};
    ssize_t n = ::readlink(path.c_str(), buf, sizeof buf - 1);
    return n > 0 ? std::string(buf, static_cast<size_t>(n)) : std::string();
}

bool endsWith(const std::string& text, const std::string& tail)
{
    return text.size() >= tail.size() && text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
}

// An INQUIRY through SG_IO as the program sends it (96 bytes asked for).
int sgInquiry(sim::SimOsBoundary& b, int fd, uint8_t evpd, uint8_t page, uint8_t* out, sg_io_hdr_t& h, uint8_t* sense)
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
        return ::sgInquiry(b, fd, evpd, page, out, h, sense);
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

// A host of one controller on SCSI host 7 whose logical drives' disks are described.
struct DescribedDisks : ::testing::Test {
    TempDir tmp;
    std::string dir = tmp.path() + "/host";
    const std::string description = R"({"controllers": [{"host": 7, "lds": [
      {"targetId": 0, "disk": {"name": "sdc", "channel": 1, "target": 4, "lun": 1}},
      {"targetId": 1, "disk": {"present": false}},
      {"targetId": 2},
      {"targetId": 3, "disk": {"name": "sda", "vpd83": "00830002aabb", "sgVersion": 29999}},
      {"targetId": 4, "disk": {"rejectsInquiry": true}},
      {"targetId": 5, "disk": {"ioctlFails": true}}]}]})";

    // An INQUIRY of page 0x83: the ioctl's result, and the SCSI status in `status`.
    int sgInquiry(sim::SimOsBoundary& b, int fd, uint8_t* out, uint8_t& status)
    {
        uint8_t sense[32] = {0};
        sg_io_hdr_t h;
        int rc = ::sgInquiry(b, fd, 1, 0x83, out, h, sense);
        status = h.status;
        return rc;
    }
};

// A named disk takes its name, an absent one none, the others the first names left; each sits
// at its address in sysfs and /proc/scsi/scsi, and the description shows and reads back the same.
TEST_F(DescribedDisks, AreLaidOutWithTheirNamesAndAddresses)
{
    ASSERT_EQ(sim::createHostFromDescription(dir, description), 0);
    EXPECT_EQ(readlinkText(dir + "/sys/bus/scsi/devices/7:1:4:1/block").substr(0, 3), "../");
    EXPECT_TRUE(endsWith(readlinkText(dir + "/sys/bus/scsi/devices/7:1:4:1/block"), "/block/sdc"));
    EXPECT_TRUE(endsWith(readlinkText(dir + "/sys/bus/scsi/devices/7:2:2:0/block"), "/block/sdb"));
    EXPECT_TRUE(endsWith(readlinkText(dir + "/sys/bus/scsi/devices/7:2:4:0/block"), "/block/sdd"));
    EXPECT_TRUE(endsWith(readlinkText(dir + "/sys/bus/scsi/devices/7:2:5:0/block"), "/block/sde"));
    EXPECT_EQ(access((dir + "/sys/bus/scsi/devices/7:2:1:0").c_str(), F_OK), -1) << "drive 1 shows no disk";
    for (const char* node : {"sda", "sdb", "sdc", "sdd", "sde"})
        EXPECT_EQ(access((dir + "/dev/" + node).c_str(), F_OK), 0) << node;
    EXPECT_EQ(access((dir + "/dev/sdf").c_str(), F_OK), -1);
    const std::string scsi = readText(dir + "/proc/scsi/scsi");
    EXPECT_NE(scsi.find("Host: scsi7 Channel: 01 Id: 04 Lun: 01\n"), std::string::npos) << scsi;
    EXPECT_EQ(scsi.find("Id: 01 Lun"), std::string::npos) << scsi;

    const std::string shown = readText(dir + "/state.json");
    ASSERT_EQ(runQuillSim({"create", tmp.path() + "/second", "--from", dir + "/state.json"}), 0);
    EXPECT_EQ(readText(tmp.path() + "/second/state.json"), shown);
    EXPECT_NE(shown.find("\"disk\": {\"name\": \"sdc\", \"channel\": 1, \"target\": 4, \"lun\": 1}"),
              std::string::npos) << shown;
    EXPECT_EQ(shown.find("\"disk\": {}"), std::string::npos) << "a default disk is left out";

    std::string error;
    sim::HostModel model;
    EXPECT_FALSE(sim::readDescription(R"({"controllers": [{"host": 7, "lds": [{"targetId": 0, "disk": {"sgVersion": -1}}]}]})",
                                      model, error));
    EXPECT_NE(error.find("controllers[0].lds[0].disk.sgVersion"), std::string::npos) << error;
    EXPECT_NE(sim::createHostFromDescription(tmp.path() + "/third",
                                             R"({"controllers": [{"host": 7, "lds": [{"targetId": 0, "disk": {"name": "hda"}}]}]})"),
              0) << "a name that is no disk's";
}

// The disks answer as described, and every SCSI command, open and close is in the transcript.
TEST_F(DescribedDisks, AnswerAsDescribedAndAreRecorded)
{
    ASSERT_EQ(sim::createHostFromDescription(dir, description), 0);
    sim::SimHost host(dir, false);
    sim::SimOsBoundary& b = host.boundary();

    int fd = b.open("/dev/sda", O_RDONLY);
    ASSERT_GT(fd, 0);
    int version = 0;
    ASSERT_EQ(b.ioctl(fd, SG_GET_VERSION_NUM, &version), 0);
    EXPECT_EQ(version, 29999);
    uint8_t out[96];
    memset(out, 0xEE, sizeof out);
    uint8_t status = 0xFF;
    ASSERT_EQ(sgInquiry(b, fd, out, status), 0);
    EXPECT_EQ(status, 0);
    EXPECT_EQ(std::vector<uint8_t>(out, out + 7), (std::vector<uint8_t>{0x00, 0x83, 0x00, 0x02, 0xaa, 0xbb, 0xEE}))
        << "the described page, whole, whatever its length byte says";
    // The old interface: header and command.
    uint8_t block[8 + 96] = {0};
    w32(block, 4, 96);
    uint8_t cdb[6] = {0x12, 1, 0x83, 0, 96, 0};
    memcpy(block + 8, cdb, 6);
    ASSERT_EQ(b.ioctl(fd, SCSI_IOCTL_SEND_COMMAND, block), 0);
    EXPECT_EQ(b.close(fd), 0);

    fd = b.open("/dev/sdc", O_RDONLY);
    ASSERT_GT(fd, 0);
    uint32_t idlun[2] = {0, 0};
    ASSERT_EQ(b.ioctl(fd, SCSI_IOCTL_GET_IDLUN, idlun), 0);
    EXPECT_EQ(idlun[0], (7u << 24) | (1u << 16) | (1u << 8) | 4u);
    b.close(fd);

    fd = b.open("/dev/sdd", O_RDONLY);
    ASSERT_GT(fd, 0);
    ASSERT_EQ(sgInquiry(b, fd, out, status), 0);
    EXPECT_EQ(status, 0x02) << "CHECK CONDITION";
    memset(block, 0, sizeof block);
    w32(block, 4, 96);
    memcpy(block + 8, cdb, 6);
    EXPECT_NE(b.ioctl(fd, SCSI_IOCTL_SEND_COMMAND, block), 0);
    b.close(fd);

    fd = b.open("/dev/sde", O_RDONLY);
    ASSERT_GT(fd, 0);
    errno = 0;
    EXPECT_EQ(b.ioctl(fd, SG_GET_VERSION_NUM, &version), -1);
    EXPECT_EQ(errno, EIO);
    EXPECT_EQ(sgInquiry(b, fd, out, status), -1);
    EXPECT_EQ(errno, EIO);
    b.close(fd);

    EXPECT_EQ(simhost::transcriptLines(dir),
              (std::vector<std::string>{
                  "open /dev/sda",
                  "visibility find host=7 channel=2 target=3 lun=0 via=sysfs",
                  "disk host=7 channel=2 target=3 lun=0 request=sg-io cdb=120183006000 dir=from-device length=96 "
                  "sense=32 timeout=20000 status=0x00",
                  "disk host=7 channel=2 target=3 lun=0 request=send-command block=0000000060000000120183006000 "
                  "status=0x00",
                  "close /dev/sda",
                  "open /dev/sdc",
                  "close /dev/sdc",
                  "open /dev/sdd",
                  "visibility find host=7 channel=2 target=4 lun=0 via=sysfs",
                  "disk host=7 channel=2 target=4 lun=0 request=sg-io cdb=120183006000 dir=from-device length=96 "
                  "sense=32 timeout=20000 status=0x02",
                  "disk host=7 channel=2 target=4 lun=0 request=send-command block=0000000060000000120183006000 "
                  "status=0x02",
                  "close /dev/sdd",
                  "open /dev/sde",
                  "close /dev/sde",
              }));
}

// What the program writes to the kernel's control files is recorded with the files' opens and
// closes.
TEST(ControlFiles, OpensAndClosesAreRecorded)
{
    TempDir tmp;
    const std::string dir = makeHost(tmp, "old-kernel");
    ASSERT_FALSE(dir.empty());
    sim::SimHost host(dir, false);
    sim::SimOsBoundary& b = host.boundary();
    for (int i = 0; i < 2; ++i) {
        int fd = b.open("/proc/scsi/scsi", O_RDWR);
        ASSERT_GE(fd, 0);
        const char line[] = "scsi add-single-device 2 2 0 0\n";
        EXPECT_EQ(b.write(fd, line, sizeof line - 1), static_cast<ssize_t>(sizeof line - 1));
        EXPECT_EQ(b.close(fd), 0);
    }
    int fd = b.open("/proc/scsi/scsi", O_RDONLY);
    ASSERT_GE(fd, 0);
    b.close(fd);
    EXPECT_EQ(simhost::transcriptLines(dir),
              (std::vector<std::string>{"open /proc/scsi/scsi",
                                        "visibility add host=2 channel=2 target=0 lun=0 via=proc",
                                        "close /proc/scsi/scsi", "open /proc/scsi/scsi",
                                        "visibility add host=2 channel=2 target=0 lun=0 via=proc",
                                        "close /proc/scsi/scsi", "open /proc/scsi/scsi", "close /proc/scsi/scsi"}))
        << "a read-only open is recorded, but writes nothing";
}

} // namespace
