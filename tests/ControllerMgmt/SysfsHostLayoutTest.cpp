// The PCI location of the drivers' SCSI hosts in both sysfs layouts: class entries that are
// directories of their own (older kernels) and class entries that are links into the device
// tree, whose "device" link leads back up to the host (current kernels).
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "ControllerMgmt/LinuxControllerExplorer.h"
#include "ControllersTestSupport.h"
#include "DataProvider/ControllerId.h"

using ctltest::BoundaryScope;
using ctltest::HostBoundary;
using ctltest::KernelHost;

namespace {

struct Location {
    unsigned host;
    unsigned bus;
    unsigned device;
    unsigned function;
    bool operator==(const Location& o) const
    {
        return host == o.host && bus == o.bus && device == o.device && function == o.function;
    }
};

std::ostream& operator<<(std::ostream& os, const Location& l)
{
    return os << "{host " << l.host << ", " << std::hex << l.bus << ":" << l.device << "." << l.function << std::dec
              << "}";
}

// The used records of a host table, in table order.
std::vector<Location> locations(const HostRecord* table, unsigned count)
{
    std::vector<Location> out;
    for (unsigned i = 0; i < count; ++i)
        out.push_back({table[i].hostNumber, table[i].pciBus, table[i].pciDevice, table[i].pciFunction});
    return out;
}

} // namespace

TEST(SysfsHostLayout, BothLayoutsGiveThePciLocation)
{
    KernelHost host;
    HostBoundary boundary(host.dir.path());
    BoundaryScope scope(&boundary);
    host.bothDrivers();

    host.sysfsHost(1, "quillsr", 0x02, 0x00, 0x1);                      // a directory of its own
    host.linkedSysfsHost(3, "quillraid_sas\n", 0x81, 0x1f, 0x3);        // a link into the tree
    host.linkedSysfsHost(4, "quillraid_sas\n", 0x06, 0x02, 0x0,         // behind two bridges
                         "0000:00:03.0/0000:05:00.0");
    host.linkedSysfsHost(6, "quillraid_sas\n", 0x0a, 0x00, 0x0, "0000:00:1c.0",
                         "../..//devices/./pci0000:00/0000:00:1c.0/0000:0a:00.0/host6/scsi_host/host6/");
    host.linkedSysfsHost(0, "ahci\n", 0x00, 0x1f, 0x2);                 // not ours
    // A link text too long to be read whole: the host is still found where it is listed, only
    // its PCI location is not known.
    std::string longText = "../../devices/";
    for (int i = 0; i < 130; ++i)
        longText += "./";
    longText += "pci0000:00/0000:00:1c.0/0000:0b:00.0/host8/scsi_host/host8";
    host.linkedSysfsHost(8, "quillraid_sas\n", 0x0b, 0x00, 0x0, "0000:00:1c.0", longText);
    // A linked entry without a device link records nothing, as a plain one does.
    host.linkedSysfsHost(9, "quillraid_sas\n", 0x0c);
    ASSERT_EQ(::unlink(host.path("sys/devices/pci0000:00/0000:00:1c.0/0000:0c:00.0/host9/scsi_host/host9/device").c_str()), 0);

    LinuxControllerExplorer explorer;
    ArrayList<VoVendorDeviceId*> supported(4);
    ArrayList<ControllerId*>* ids = explorer.explore(&supported);
    ASSERT_NE(ids, nullptr);
    std::vector<unsigned> found;
    for (unsigned char i = 0; i < ids->count(); ++i)
        found.push_back(static_cast<LinuxCtrlId*>(ids->get(i))->getHostNumber());
    ctltest::deleteIds(ids);
    EXPECT_EQ(found, (std::vector<unsigned>{1, 3, 4, 6, 8}));

    HostRecord table[MAX_HOSTS];
    ASSERT_EQ(explorer.getHostTable(table), 0);
    EXPECT_EQ(locations(table, 5), (std::vector<Location>{{1, 0x02, 0x00, 0x1},
                                                          {3, 0x81, 0x1f, 0x3},
                                                          {4, 0x06, 0x02, 0x0},
                                                          {6, 0x0a, 0x00, 0x0},
                                                          {8, 0x00, 0x00, 0x0}}));
}

// A class link with an absolute text, under a sysfs root named by SYSFS_PATH and read through
// the C library.
TEST(SysfsHostLayout, AbsoluteClassLinkUnderAnotherRoot)
{
    ctltest::TempDir dir;
    const std::string root = dir.path() + "/sys";
    const std::string entry = root + "/devices/pci0000:00/0000:00:02.0/0000:42:00.5/host7/scsi_host/host7";
    dir.write("sys/devices/pci0000:00/0000:00:02.0/0000:42:00.5/host7/scsi_host/host7/proc_name", "quillraid_sas\n");
    dir.link("sys/devices/pci0000:00/0000:00:02.0/0000:42:00.5/host7/scsi_host/host7/device", "../../../host7");
    dir.link("sys/class/scsi_host/host7", entry);

    const char* saved = getenv("SYSFS_PATH");
    const std::string savedValue = saved != nullptr ? saved : "";
    setenv("SYSFS_PATH", (root + "/").c_str(), 1);
    setOsBoundary(nullptr);
    uint32_t count = 0;
    HostRecord table[MAX_HOSTS] = {};
    int32_t kinds[MAX_HOSTS] = {};
    const int scan = scanSysfsHosts(&count, table, kinds);
    if (saved != nullptr)
        setenv("SYSFS_PATH", savedValue.c_str(), 1);
    else
        unsetenv("SYSFS_PATH");

    ASSERT_EQ(scan, 0);
    ASSERT_EQ(count, 1u);
    EXPECT_EQ(locations(table, 1), (std::vector<Location>{{7, 0x42, 0x00, 0x5}}));
    EXPECT_EQ(kinds[0], static_cast<int32_t>(LINUX_DRIVER_HWR));
}
