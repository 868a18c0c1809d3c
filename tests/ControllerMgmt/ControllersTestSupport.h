// Fixtures of the controller tests: a temporary host directory laid out as a kernel would show
// it (proc/, sys/, dev/), and an OS boundary over it that stands in for the kernel side the
// discovery touches: /proc, /sys and /dev are looked up in the directory, device nodes are
// small files holding their numbers, uname reports a chosen release, and the driver's ioctl
// answers the controller-information command with the family's PCI ids.
//
// Packet offsets are written out here on purpose, independently of the transport's constants.
#ifndef CONTROLLERS_TEST_SUPPORT_H
#define CONTROLLERS_TEST_SUPPORT_H

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <map>
#include <set>
#include <string>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>
#include <vector>

#include "ControllerMgmt/ControllerMgmt.h"
#include "DataProvider/ControllerId.h"
#include "System/OsBoundary.h"
#include "TestSupport.h"

namespace ctltest {

// Management objects release the process-wide supported-device list when destroyed; declared
// before them, this puts the list back for the tests that follow.
struct KeepSupportedDevices {
    ~KeepSupportedDevices()
    {
        if (ControllerMgmt::vendorDeviceIds() == nullptr) {
            ArrayList<VoVendorDeviceId*>* ids = OrvaneSasHwrController::supportedIds();
            ControllerMgmt::addVendorDeviceIds(ids);
            delete ids;
        }
    }
};

using testsupport::readText;
using testsupport::TempDir;

// Device-node files: "node <major> <minor>".
// Deletes a list of identifiers that discovery handed over, with every identifier in it.
inline void deleteIds(ArrayList<ControllerId*>* ids)
{
    if (ids == nullptr)
        return;
    for (unsigned char i = 0; i < ids->count(); ++i)
        delete ids->get(i);
    delete ids;
}

inline void writeNodeFile(const std::string& path, unsigned major, unsigned minor)
{
    FILE* f = fopen(path.c_str(), "wb");
    if (f != nullptr) {
        fprintf(f, "node %u %u\n", major, minor);
        fclose(f);
    }
}

inline bool readNodeFile(const std::string& path, unsigned& major, unsigned& minor)
{
    FILE* f = fopen(path.c_str(), "rb");
    if (f == nullptr)
        return false;
    bool ok = fscanf(f, "node %u %u", &major, &minor) == 2;
    fclose(f);
    return ok;
}

class HostBoundary : public testsupport::RootedBoundary {
public:
    explicit HostBoundary(const std::string& root) : RootedBoundary(root, "3.10.0") {}

    // Hosts whose controller-information command ends with this firmware status.
    std::map<unsigned, uint8_t> failingHosts;
    // What the boundary saw.
    int mknodCalls = 0;
    mode_t lastMknodMode = 0;
    int unlinkCalls = 0;
    std::vector<unsigned> infoHosts;            // host numbers asked for their information
    std::vector<unsigned long> infoRequests;    // ioctl request codes used for them
    std::vector<int> infoFds;                   // descriptors used for them
    std::set<int> nodeFds;                      // descriptors of opened device nodes

    int open(const char* path, int flags, mode_t mode) override
    {
        int fd = RootedBoundary::open(path, flags, mode);
        unsigned ma, mi;
        if (fd >= 0 && readNodeFile(map(path), ma, mi))
            nodeFds.insert(fd);
        return fd;
    }
    int close(int fd) override
    {
        nodeFds.erase(fd);
        return ::close(fd);
    }
    int mknod(const char* path, mode_t mode, dev_t dev) override
    {
        ++mknodCalls;
        lastMknodMode = mode;
        std::string p = map(path);
        if (::access(p.c_str(), F_OK) == 0) {
            errno = EEXIST;
            return -1;
        }
        writeNodeFile(p, major(dev), minor(dev));
        return 0;
    }
    int stat(const char* path, struct stat* st) override
    {
        std::string p = map(path);
        int rc = ::stat(p.c_str(), st);
        unsigned ma, mi;
        if (rc == 0 && readNodeFile(p, ma, mi)) {
            st->st_mode = S_IFCHR | 0400;
            st->st_rdev = makedev(ma, mi);
        }
        return rc;
    }
    int unlink(const char* path) override
    {
        ++unlinkCalls;
        return ::unlink(map(path).c_str());
    }

    // The driver: answers the controller-information command (opcode 0x01010000) of the host
    // in the packet with vendor 0x1E7A, device 0x0040, subsystem 0x1E7A:0x4080.
    int ioctl(int fd, unsigned long request, void* arg) override
    {
        uint8_t* packet = static_cast<uint8_t*>(arg);
        if (nodeFds.count(fd) == 0) {
            errno = ENOTTY;
            return -1;
        }
        unsigned host = packet[0] | (packet[1] << 8);
        const uint8_t* frame = packet + 20;
        uint32_t opcode = 0;
        memcpy(&opcode, frame + 24, 4);
        uint64_t address = 0;
        uint64_t length = 0;
        memcpy(&address, packet + 148, 8);
        memcpy(&length, packet + 156, 8);
        uint8_t status = 0;
        if (opcode == 0x01010000u) {
            infoHosts.push_back(host);
            infoRequests.push_back(request);
            infoFds.push_back(fd);
            auto failing = failingHosts.find(host);
            if (failing != failingHosts.end()) {
                status = failing->second;
            } else if (address != 0 && length >= 8) {
                uint8_t* data = reinterpret_cast<uint8_t*>(static_cast<uintptr_t>(address));
                const uint8_t ids[8] = {0x7A, 0x1E, 0x40, 0x00, 0x7A, 0x1E, 0x80, 0x40};
                memcpy(data, ids, sizeof ids);
            }
        } else {
            status = 0x01;  // an opcode the stand-in does not know
        }
        packet[22] = status;
        return 0;
    }
};

using testsupport::BoundaryScope;

// A kernel-side layout: the drivers' majors, sysfs hosts and /proc hba_map entries.
class KernelHost {
public:
    TempDir dir;

    KernelHost()
    {
        dir.mkdirs("proc");
        dir.mkdirs("sys/class/scsi_host");
        dir.mkdirs("dev");
    }

    void devices(const std::string& text) { dir.write("proc/devices", text); }
    void bothDrivers()
    {
        devices("Character devices:\n  1 mem\n250 quillraid_sas_ioctl\n251 quillraid_swr_ioctl\n\nBlock devices:\n  8 sd\n");
    }

    // sys/class/scsi_host/host<N> with its proc_name and a device link into the PCI tree.
    void sysfsHost(unsigned host, const std::string& procName, unsigned bus, unsigned device = 0,
                   unsigned function = 0)
    {
        std::string entry = "sys/class/scsi_host/host" + std::to_string(host);
        dir.write(entry + "/proc_name", procName);
        char pci[64];
        snprintf(pci, sizeof pci, "0000:%02x:%02x.%x", bus, device, function);
        dir.link(entry + "/device",
                 "../../../devices/pci0000:00/0000:00:1c.0/" + std::string(pci) + "/host" + std::to_string(host));
    }

    // The same host as current kernels show it: sys/class/scsi_host/host<N> is a link to the
    // host's scsi_host/host<N> directory in the PCI tree (behind `bridges`), which holds the
    // proc_name and a device link back up to the host. `classLink` replaces the class link's
    // text when given.
    void linkedSysfsHost(unsigned host, const std::string& procName, unsigned bus, unsigned device = 0,
                         unsigned function = 0, const std::string& bridges = "0000:00:1c.0",
                         const std::string& classLink = std::string())
    {
        const std::string name = "host" + std::to_string(host);
        char pci[64];
        snprintf(pci, sizeof pci, "0000:%02x:%02x.%x", bus, device, function);
        const std::string hostDir = "devices/pci0000:00/" + bridges + "/" + pci + "/" + name;
        const std::string entry = hostDir + "/scsi_host/" + name;
        dir.write("sys/" + entry + "/proc_name", procName);
        dir.link("sys/" + entry + "/device", "../../../" + name);
        dir.link("sys/class/scsi_host/" + name, classLink.empty() ? "../../" + entry : classLink);
    }

    // proc/scsi/<driver>/hba_map/<name>/bus_devfn holding (bus << 16 | device << 8 | function).
    void hbaMapHost(const std::string& driver, const std::string& name, unsigned busDevFn)
    {
        dir.write("proc/scsi/" + driver + "/hba_map/" + name + "/bus_devfn", std::to_string(busDevFn) + "\n");
    }

    std::string path(const std::string& rel) const { return dir.path() + "/" + rel; }
};

} // namespace ctltest

#endif
