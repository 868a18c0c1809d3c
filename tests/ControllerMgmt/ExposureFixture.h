// Test equipment for making logical drives visible: a controller whose firmware answers the
// three records read (logical-drive list, logical-drive information, controller information)
// from a small table, and an OS boundary that keeps /proc, /sys and /dev in a temporary
// directory, answers the SCSI ioctls of a few fake disks, records what is written to
// /proc/scsi/scsi and counts sleeps instead of sleeping.
//
// Record offsets and SCSI layouts are written out here on purpose, independently of the
// product's constants, so that a mistake on either side shows.
#ifndef EXPOSURE_FIXTURE_H
#define EXPOSURE_FIXTURE_H

#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <map>
#include <memory>
#include <scsi/scsi.h>
#include <scsi/scsi_ioctl.h>
#include <scsi/sg.h>
#include <set>
#include <sys/ioctl.h>
#include <string>
#include <unistd.h>
#include <vector>

#include "ControllerMgmt/Controller.h"
#include "ControllerMgmt/LinExpLd.h"
#include "DataProvider/ControllerId.h"
#include "DataProvider/DataProvider.h"
#include "DataProvider/DpParams.h"
#include "System/OsBoundary.h"
#include "TestSupport.h"

namespace exposure {

namespace fs = std::filesystem;

typedef std::vector<uint8_t> Bytes;

// A device-identification page with one 16-byte NAA designator derived from `seed`.
inline Bytes naaPage(uint8_t seed)
{
    Bytes p(24, 0);
    p[1] = 0x83;
    p[3] = 20;      // page length: one 4-byte descriptor header and 16 bytes of name
    p[4] = 0x01;    // binary code set
    p[5] = 0x03;    // designator type NAA
    p[7] = 16;
    p[8] = 0x60;    // NAA 6
    for (int i = 9; i < 24; ++i)
        p[i] = static_cast<uint8_t>(seed * 7 + i);
    return p;
}

inline void put32(uint8_t* p, uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        p[i] = static_cast<uint8_t>(v >> (8 * i));
}

// ---------------------------------------------------------------------------------------------
// Firmware

struct FakeLd {
    uint8_t target = 0;
    uint8_t state = 3;         // 0 offline, 3 optimal
    bool ssdCache = false;
    Bytes page;                // the identification page the firmware reports (first 64 bytes kept)
};

class FakeFirmware : public DataProvider {
public:
    std::vector<FakeLd> lds;
    uint8_t maxLds = 64;
    bool overrideCount = false;
    uint32_t count = 0;                     // reported count when overrideCount is set
    std::map<uint32_t, int> failWith;       // opcode -> status answered instead
    std::vector<std::pair<uint32_t, uint32_t>> calls;   // opcode, mailbox word 0

    bool supports(uint8_t kind) override { return kind == DP_KIND_DCMD; }

    int execute(DpParams* request) override
    {
        DcmdZprDpParams* dcmd = dynamic_cast<DcmdZprDpParams*>(request);
        if (!dcmd)
            return -1;
        calls.emplace_back(dcmd->getOpcode(), dcmd->getMailbox0());
        auto fail = failWith.find(dcmd->getOpcode());
        if (fail != failWith.end())
            return fail->second;
        uint8_t* data = static_cast<uint8_t*>(request->dataBuffer());
        switch (dcmd->getOpcode()) {
        case 0x03010000: {   // logical-drive list: count at 0, 16-byte entries from 8
            memset(data, 0, 1032);
            put32(data, overrideCount ? count : static_cast<uint32_t>(lds.size()));
            for (size_t i = 0; i < lds.size() && i < 64; ++i)
                data[8 + 16 * i] = lds[i].target;
            return 0;
        }
        case 0x03020000: {   // logical-drive information
            for (const FakeLd& ld : lds) {
                if (ld.target != dcmd->getMailbox0())
                    continue;
                memset(data, 0, 384);
                data[38] = ld.state;
                data[47] = ld.ssdCache ? 1 : 0;
                memcpy(data + 304, ld.page.data(), ld.page.size() < 64 ? ld.page.size() : 64);
                return 0;
            }
            return 0x0C;
        }
        case 0x01010000:     // controller information
            memset(data, 0, 2048);
            data[0x53F] = maxLds;
            return 0;
        }
        return 0x01;
    }

    size_t callsOf(uint32_t opcode) const
    {
        size_t n = 0;
        for (const auto& c : calls)
            n += c.first == opcode;
        return n;
    }
};

class TestController : public Controller {
public:
    explicit TestController(ControllerId* id) : Controller(id) {}
    const string& name() const override
    {
        static const string text("Test Controller");
        return text;
    }
    uint8_t adapterNumberBase() const override { return 0; }
    string vendorName() const override { return string("Test"); }
};

// ---------------------------------------------------------------------------------------------
// Host

struct FakeDisk {
    unsigned host = 0, channel = 2, target = 0, lun = 0;
    Bytes page;                    // answer to an INQUIRY of page 0x83
    int sgVersion = 30536;
    bool rejectInquiry = false;    // CHECK CONDITION for every INQUIRY
    bool failIoctl = false;        // the SCSI ioctls fail outright
};

struct SgRequest {
    Bytes cdb;
    int interfaceId = 0;
    int direction = 0;
    unsigned dxferLength = 0;
    unsigned senseLength = 0;
    unsigned timeout = 0;
};

class FakeHost : public testsupport::RootedBoundary {
public:
    std::map<std::string, FakeDisk> disks;     // "/dev/sdb" -> disk
    bool procScsiMissing = false;

    // Observations.
    unsigned sleeps = 0;
    unsigned procScsiOpens = 0;
    std::vector<std::string> procScsiLines;
    std::vector<SgRequest> sgRequests;
    std::vector<Bytes> sendCommandBlocks;
    unsigned inquiries = 0;

    FakeHost() : RootedBoundary("", "3.10.0-957.el7.x86_64"), dir("exposure")
    {
        root = dir.path();
        fs::create_directories(root + "/proc/scsi");
        fs::create_directories(root + "/sys/class/scsi_host");
        fs::create_directories(root + "/sys/bus/scsi/devices");
        fs::create_directories(root + "/dev");
    }
    ~FakeHost() override
    {
        for (int fd : openFds)
            ::close(fd);
    }

    size_t openDescriptors() const { return openFds.size(); }

    // --- building the host ---------------------------------------------------------------

    void writeFile(const std::string& relative, const std::string& text) { dir.write(relative, text); }
    std::string readFile(const std::string& relative) const { return dir.read(relative); }
    void link(const std::string& relative, const std::string& target) { dir.link(relative, target); }

    // A SCSI host of a driver in the sysfs class directory, with its device link and scan file.
    void addSysfsHost(unsigned host, const std::string& procName)
    {
        std::string dev = "sys/devices/pci0000:00/0000:00:03.0/host" + std::to_string(host);
        fs::create_directories(root + "/" + dev);
        std::string cls = "sys/class/scsi_host/host" + std::to_string(host);
        writeFile(cls + "/proc_name", procName);
        writeFile(cls + "/scan", "");
        link(cls + "/device", "../../../devices/pci0000:00/0000:00:03.0/host" + std::to_string(host));
    }

    // A disk of a logical drive: the node /dev/sd<letters>, and on the SCSI bus of sysfs the
    // device <host>:<channel>:<target>:<lun> whose "block" entry is a link to the block device
    // (or, with blockAsDirectory, a directory holding it).
    void addDisk(const std::string& letters, const FakeDisk& disk, bool onBus = true, bool blockAsDirectory = false)
    {
        std::string node = "/dev/sd" + letters;
        disks[node] = disk;
        writeFile("dev/sd" + letters, "");
        if (!onBus)
            return;
        std::string addr = std::to_string(disk.host) + ":" + std::to_string(disk.channel) + ":" +
                           std::to_string(disk.target) + ":" + std::to_string(disk.lun);
        std::string dev = "devices/pci0000:00/0000:00:03.0/host" + std::to_string(disk.host) + "/target" +
                          std::to_string(disk.host) + ":" + std::to_string(disk.channel) + ":" +
                          std::to_string(disk.target) + "/" + addr;
        fs::create_directories(root + "/sys/" + dev);
        if (blockAsDirectory)
            fs::create_directories(root + "/sys/" + dev + "/block/sd" + letters);
        else
            link("sys/" + dev + "/block", "../../../../../../block/sd" + letters);
        link("sys/bus/scsi/devices/" + addr, "../../../" + dev);
    }

    void addHbaMap(const std::string& driver, const std::vector<std::string>& hosts)
    {
        for (const std::string& h : hosts)
            writeFile("proc/scsi/" + driver + "/hba_map/" + h + "/bus_devfn", "196608\n");
    }

    // --- the boundary ----------------------------------------------------------------------

    int open(const char* path, int flags, mode_t mode) override
    {
        std::string p = path ? path : "";
        if (p == "/proc/scsi/scsi") {
            if (procScsiMissing) {
                errno = ENOENT;
                return -1;
            }
            ++procScsiOpens;
            return reserve(-1, "/proc/scsi/scsi");
        }
        if (disks.count(p))
            return reserve(0, p);
        return RootedBoundary::open(path, flags, mode);
    }

    int close(int fd) override
    {
        if (openFds.erase(fd)) {
            fdNames.erase(fd);
            return ::close(fd);
        }
        return ::close(fd);
    }

    ssize_t write(int fd, const void* buf, size_t count) override
    {
        auto it = fdNames.find(fd);
        if (it != fdNames.end() && it->second == "/proc/scsi/scsi") {
            procScsiLines.emplace_back(static_cast<const char*>(buf), count);
            return static_cast<ssize_t>(count);
        }
        return ::write(fd, buf, count);
    }

    int ioctl(int fd, unsigned long request, void* arg) override
    {
        auto it = fdNames.find(fd);
        if (it == fdNames.end() || !disks.count(it->second))
            return ::ioctl(fd, request, arg);
        FakeDisk& disk = disks[it->second];
        if (disk.failIoctl) {
            errno = EIO;
            return -1;
        }
        if (request == SG_GET_VERSION_NUM) {
            *static_cast<int*>(arg) = disk.sgVersion;
            return 0;
        }
        if (request == SCSI_IOCTL_GET_IDLUN) {
            uint32_t* idlun = static_cast<uint32_t*>(arg);
            idlun[0] = (disk.target & 0xFF) | ((disk.lun & 0xFF) << 8) | ((disk.channel & 0xFF) << 16) |
                       ((disk.host & 0xFF) << 24);
            idlun[1] = disk.host;
            return 0;
        }
        if (request == SG_IO) {
            sg_io_hdr_t* h = static_cast<sg_io_hdr_t*>(arg);
            SgRequest r;
            r.cdb.assign(h->cmdp, h->cmdp + h->cmd_len);
            r.interfaceId = h->interface_id;
            r.direction = h->dxfer_direction;
            r.dxferLength = h->dxfer_len;
            r.senseLength = h->mx_sb_len;
            r.timeout = h->timeout;
            sgRequests.push_back(r);
            ++inquiries;
            Bytes answer;
            if (disk.rejectInquiry || !answerInquiry(disk, h->cmdp, answer)) {
                h->status = 0x02;
                h->masked_status = 0x01;
                h->info = SG_INFO_CHECK;
                return 0;
            }
            size_t n = answer.size();
            n = n < h->dxfer_len ? n : h->dxfer_len;
            n = n < h->cmdp[4] ? n : h->cmdp[4];
            memcpy(h->dxferp, answer.data(), n);
            h->resid = static_cast<int>(h->dxfer_len - n);
            h->info = SG_INFO_OK;
            return 0;
        }
        if (request == SCSI_IOCTL_SEND_COMMAND) {
            uint8_t* block = static_cast<uint8_t*>(arg);
            uint32_t outLength;
            memcpy(&outLength, block + 4, 4);
            sendCommandBlocks.emplace_back(block, block + 8 + 6);
            ++inquiries;
            Bytes answer;
            if (disk.rejectInquiry || !answerInquiry(disk, block + 8, answer))
                return (0x08 << 24) | 0x02;
            size_t n = answer.size() < outLength ? answer.size() : outLength;
            memcpy(block + 8, answer.data(), n);
            return 0;
        }
        errno = ENOTTY;
        return -1;
    }

    unsigned int sleep(unsigned int) override
    {
        ++sleeps;
        return 0;
    }

private:
    testsupport::TempDir dir;
    std::set<int> openFds;
    std::map<int, std::string> fdNames;

    int reserve(int, const std::string& name)
    {
        int fd = ::open("/dev/null", O_RDWR | O_CLOEXEC);
        if (fd >= 0) {
            openFds.insert(fd);
            fdNames[fd] = name;
        }
        return fd;
    }

    static bool answerInquiry(const FakeDisk& disk, const uint8_t* cdb, Bytes& answer)
    {
        if (cdb[0] != 0x12)
            return false;
        if (!(cdb[1] & 1)) {
            answer.assign(36, 0);
            memcpy(answer.data() + 8, "QUILL   ", 8);
            return true;
        }
        if (cdb[2] != 0x83)
            return false;
        answer = disk.page;
        return true;
    }
};

// ---------------------------------------------------------------------------------------------
// Fixture: a fake host installed as the boundary and one controller as adapter `adapter`.

class ExposureTest : public ::testing::Test {
protected:
    FakeHost host;
    FakeFirmware firmware;
    LinuxCtrlId id{0, 5, 7};
    TestController controller{&id};
    LinExpLd* exposer = LinExpLd::instance();

    void SetUp() override
    {
        scope.reset(new testsupport::BoundaryScope(&host));
        controller.addDataProvider(&firmware);
        id.setNumber(0);
    }
    void TearDown() override { scope.reset(); }

    std::unique_ptr<testsupport::BoundaryScope> scope;

    FakeLd& addLd(uint8_t target, uint8_t state = 3, bool ssdCache = false)
    {
        FakeLd ld;
        ld.target = target;
        ld.state = state;
        ld.ssdCache = ssdCache;
        ld.page = naaPage(target + 1);
        firmware.lds.push_back(ld);
        return firmware.lds.back();
    }
    // A disk answering the page of logical drive `target`.
    FakeDisk diskOf(unsigned scsiHost, uint8_t target)
    {
        FakeDisk d;
        d.host = scsiHost;
        d.target = target;
        d.page = naaPage(target + 1);
        return d;
    }
};

} // namespace exposure

#endif
