#include <gtest/gtest.h>

#include <algorithm>
#include <dirent.h>
#include <memory>
#include <string>
#include <vector>

#include "ControllerMgmt/LinuxControllerExplorer.h"
#include "ControllerMgmt/LinuxControllerMgmt.h"
#include "ControllersTestSupport.h"
#include "DataProvider/ControllerId.h"

using ctltest::BoundaryScope;
using ctltest::HostBoundary;
using ctltest::KernelHost;

namespace {

struct Found {
    unsigned host;
    unsigned kind;
    int fd;
    bool operator==(const Found& o) const { return host == o.host && kind == o.kind && fd == o.fd; }
};

std::ostream& operator<<(std::ostream& os, const Found& f)
{
    return os << "{host " << f.host << ", kind " << f.kind << ", fd " << f.fd << "}";
}

// Takes over an identifier list: its contents as values, the ids and the list deleted.
std::vector<Found> take(ArrayList<ControllerId*>* ids)
{
    std::vector<Found> found;
    if (ids == nullptr)
        return found;
    for (unsigned char i = 0; i < ids->count(); ++i) {
        LinuxCtrlId* id = dynamic_cast<LinuxCtrlId*>(ids->get(i));
        if (id != nullptr)
            found.push_back({id->getHostNumber(), id->getKind(), id->getFd()});
        delete ids->get(i);
    }
    delete ids;
    return found;
}

class LinuxDiscovery : public ::testing::Test {
protected:
    KernelHost host;
    HostBoundary boundary{host.dir.path()};
    BoundaryScope scope{&boundary};
    ArrayList<VoVendorDeviceId*> supported{4};
};

} // namespace

TEST_F(LinuxDiscovery, DriverNodeFollowsTheMajorInProcDevices)
{
    struct Case {
        const char* name;
        const char* devices;
        int existingMajor;     // -1: no node yet
        bool opens;
        int mknods;
        int unlinks;
        unsigned finalMajor;
    };
    const Case cases[] = {
        {"driver not listed", "Character devices:\n  1 mem\n", -1, false, 0, 0, 0},
        {"node made", "250 quillraid_sas_ioctl\n", -1, true, 1, 0, 250},
        {"wrong major remade", "250 quillraid_sas_ioctl\n", 240, true, 1, 1, 250},
        {"right major kept", "250 quillraid_sas_ioctl\n", 250, true, 0, 0, 250},
        {"first naming line wins", "  9 other\n251 quillraid_sas_ioctl\n252 quillraid_sas_ioctl\n", -1, true, 1, 0, 251},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        host.devices(c.devices);
        const std::string node = host.path("dev/quillraid_sas_ioctl_node");
        ::unlink(node.c_str());
        if (c.existingMajor >= 0)
            ctltest::writeNodeFile(node, static_cast<unsigned>(c.existingMajor), 0);
        boundary.mknodCalls = 0;
        boundary.unlinkCalls = 0;

        LinuxControllerExplorer explorer;
        testsupport::StreamCapture captured;
        int fd = explorer.openDriverNode(LINUX_DRIVER_HWR);
        EXPECT_EQ(captured.take(), "");   // never a message
        EXPECT_EQ(fd >= 0, c.opens);
        EXPECT_EQ(explorer.descriptor(LINUX_DRIVER_HWR), fd);
        EXPECT_EQ(explorer.descriptor(LINUX_DRIVER_SWR), -1);
        EXPECT_EQ(boundary.mknodCalls, c.mknods);
        EXPECT_EQ(boundary.unlinkCalls, c.unlinks);
        if (c.mknods > 0) {
            EXPECT_EQ(boundary.lastMknodMode, static_cast<mode_t>(S_IFCHR | S_IRUSR));
        }
        unsigned major = 0, minor = 0;
        if (c.finalMajor != 0) {
            ASSERT_TRUE(ctltest::readNodeFile(node, major, minor));
            EXPECT_EQ(major, c.finalMajor);
            EXPECT_EQ(minor, 0u);
        }
    }
}

TEST_F(LinuxDiscovery, KernelReleaseChoosesTheScan)
{
    struct Case {
        const char* release;
        int atLeast25;
    };
    const Case cases[] = {
        {"2.4.21-4", 0}, {"2.6.9", 1}, {"3.10.0", 1}, {"2.5", 1}, {"1.9.9", 0}, {"6", -1}, {"", -1},
    };
    for (const Case& c : cases) {
        boundary.release = c.release;
        EXPECT_EQ(isKernelAtLeast(2, 5), c.atLeast25) << c.release;
    }

    // The same host seen both ways: sysfs says host 4, hba_map says host 6.
    host.bothDrivers();
    host.sysfsHost(4, "quillraid_sas\n", 3);
    host.hbaMapHost("quillraid_sas", "6", 0x030000);
    const struct {
        const char* release;
        std::vector<unsigned> hosts;
    } scans[] = {{"3.10.0", {4}}, {"2.6.9", {4}}, {"2.4.21-4", {6}}, {"3", {}}};
    for (const auto& scan : scans) {
        boundary.release = scan.release;
        LinuxControllerExplorer explorer;
        std::vector<unsigned> hosts;
        for (const Found& f : take(explorer.explore(&supported)))
            hosts.push_back(f.host);
        EXPECT_EQ(hosts, scan.hosts) << scan.release;
    }
}

TEST_F(LinuxDiscovery, SysfsHostsAreSortedWithTheirDriverKinds)
{
    host.bothDrivers();
    host.sysfsHost(3, "quillraid_sas\n", 4);
    host.sysfsHost(1, "quillsr", 2);
    host.sysfsHost(0, "ahci\n", 0, 0x1f, 2);        // not ours
    host.sysfsHost(5, "quillsr\n", 6);              // the software-RAID name must end the text
    host.sysfsHost(7, "quillraid_sas_extra", 7);    // the hardware-RAID name may begin it
    host.dir.mkdirs("sys/class/scsi_host/host9");   // no proc_name: skipped with a message

    LinuxControllerExplorer explorer;
    testsupport::StreamCapture captured;
    std::vector<Found> found = take(explorer.explore(&supported));
    std::string printed = captured.take();

    int hwr = explorer.descriptor(LINUX_DRIVER_HWR);
    int swr = explorer.descriptor(LINUX_DRIVER_SWR);
    ASSERT_GE(hwr, 0);
    ASSERT_GE(swr, 0);
    EXPECT_NE(hwr, swr);
    EXPECT_EQ(found, (std::vector<Found>{{1, LINUX_DRIVER_SWR, swr}, {3, LINUX_DRIVER_HWR, hwr}, {7, LINUX_DRIVER_HWR, hwr}}));
    EXPECT_EQ(printed, "cli_is_path_file: stat on /sys/class/scsi_host/host9/proc_name failed\n");

    // The saved table holds the sorted records with their PCI locations.
    HostRecord table[MAX_HOSTS];
    ASSERT_EQ(explorer.getHostTable(table), 0);
    EXPECT_EQ(table[0].hostNumber, 1);
    EXPECT_EQ(table[0].pciBus, 2);
    EXPECT_EQ(table[1].hostNumber, 3);
    EXPECT_EQ(table[1].pciBus, 4);
    EXPECT_EQ(table[3].hostNumber, 0);
    EXPECT_EQ(explorer.getHostTable(nullptr), -1);
}

TEST_F(LinuxDiscovery, SortOrdersByHostThenPciLocation)
{
    host.bothDrivers();
    host.sysfsHost(2, "quillraid_sas", 9, 1, 1);
    host.sysfsHost(20, "quillraid_sas", 1, 0, 0);
    host.sysfsHost(12, "quillraid_sas", 0x82, 0, 1);
    LinuxControllerExplorer explorer;
    std::vector<unsigned> hosts;
    for (const Found& f : take(explorer.explore(&supported)))
        hosts.push_back(f.host);
    EXPECT_EQ(hosts, (std::vector<unsigned>{2, 12, 20}));
    HostRecord table[MAX_HOSTS];
    explorer.getHostTable(table);
    EXPECT_EQ(table[1].pciBus, 0x82);
    EXPECT_EQ(table[1].pciFunction, 1);
    EXPECT_EQ(table[0].pciDevice, 1);
}

TEST_F(LinuxDiscovery, OldKernelReadsHbaMapInAlphasortOrder)
{
    boundary.release = "2.4.21-4";
    host.devices("250 quillraid_sas_ioctl\n");
    host.hbaMapHost("quillraid_sas", "10", (0x0a << 16) | (0x01 << 8) | 0x02);
    host.hbaMapHost("quillraid_sas", "2", 0x030000);
    host.hbaMapHost("quillraid_sas", "9", 0x040000);
    host.dir.mkdirs("proc/scsi/quillraid_sas/hba_map/11");   // no bus_devfn: nothing recorded

    uint32_t count = 0;
    HostRecord table[MAX_HOSTS] = {};
    int32_t kinds[MAX_HOSTS] = {};
    ASSERT_EQ(scanProcHbaMap(&count, table, kinds), 0);
    ASSERT_EQ(count, 3u);
    EXPECT_EQ(table[0].hostNumber, 10);   // "10" sorts before "2" and "9"
    EXPECT_EQ(table[0].pciBus, 0x0a);
    EXPECT_EQ(table[0].pciDevice, 1);
    EXPECT_EQ(table[0].pciFunction, 2);

    LinuxControllerExplorer explorer;
    ArrayList<ControllerId*>* ids = explorer.explore(&supported);
    ASSERT_NE(ids, nullptr);
    ctltest::KeepSupportedDevices keep;
    LinuxControllerMgmt mgmt;
    ArrayList<Controller*>* controllers = mgmt.createControllers(ids);
    ASSERT_NE(controllers, nullptr);
    std::vector<unsigned> hosts;
    for (unsigned char i = 0; i < controllers->count(); ++i) {
        Controller* c = controllers->get(i);
        EXPECT_EQ(c->type(), 7);
        hosts.push_back(static_cast<LinuxCtrlId*>(c->controllerId())->getHostNumber());
        c->release();
    }
    delete controllers;
    EXPECT_EQ(hosts, (std::vector<unsigned>{2, 9, 10}));
    EXPECT_EQ(boundary.infoHosts, (std::vector<unsigned>{2, 9, 10}));
    for (unsigned long request : boundary.infoRequests)
        EXPECT_EQ(request, 0xC1944D01UL);
    take(ids);
}

TEST_F(LinuxDiscovery, NoHostWithoutDriverOrMatchingEntry)
{
    host.sysfsHost(3, "quillraid_sas", 4);
    LinuxControllerExplorer noDriver;
    EXPECT_EQ(noDriver.explore(&supported), nullptr);   // /proc/devices is missing
    EXPECT_EQ(boundary.mknodCalls, 0);

    host.bothDrivers();
    LinuxControllerExplorer nullList;
    EXPECT_EQ(nullList.explore(nullptr), nullptr);

    uint32_t count = 77;
    HostRecord table[MAX_HOSTS] = {};
    int32_t kinds[MAX_HOSTS] = {};
    ::system(("rm -rf '" + host.path("sys/class/scsi_host/host3") + "'").c_str());
    EXPECT_EQ(scanSysfsHosts(&count, table, kinds), 1);
    EXPECT_EQ(count, 77u);
    EXPECT_EQ(scanProcHbaMap(&count, table, kinds), 1);
    ::system(("rm -rf '" + host.path("sys/class") + "'").c_str());
    EXPECT_EQ(scanSysfsHosts(&count, table, kinds), -1);
}

TEST_F(LinuxDiscovery, AtMost32HostsAreKept)
{
    host.bothDrivers();
    for (unsigned h = 0; h < 33; ++h)
        host.sysfsHost(100 + h, "quillraid_sas\n", 1 + h);
    // An entry whose path cannot fit a path buffer is passed over, not cut.
    host.dir.mkdirs("sys/class/scsi_host/" + std::string(250, 'h'));

    // The first 32 in directory order are the ones kept.
    std::vector<unsigned> expected;
    DIR* dir = ::opendir(host.path("sys/class/scsi_host").c_str());
    ASSERT_NE(dir, nullptr);
    while (struct dirent* e = ::readdir(dir)) {
        unsigned h;
        if (sscanf(e->d_name, "host%u", &h) == 1 && expected.size() < 32)
            expected.push_back(h);
    }
    ::closedir(dir);
    std::sort(expected.begin(), expected.end());

    LinuxControllerExplorer explorer;
    std::vector<unsigned> hosts;
    for (const Found& f : take(explorer.explore(&supported)))
        hosts.push_back(f.host);
    EXPECT_EQ(hosts.size(), 32u);
    EXPECT_EQ(hosts, expected);
}

TEST_F(LinuxDiscovery, HostWhoseInformationFailsGetsNoController)
{
    host.bothDrivers();
    host.sysfsHost(2, "quillraid_sas", 3);
    host.sysfsHost(3, "quillraid_sas", 4);
    host.sysfsHost(4, "quillraid_sas", 5);
    boundary.failingHosts[3] = 0x03;

    LinuxControllerExplorer explorer;
    ArrayList<ControllerId*>* ids = explorer.explore(&supported);
    ASSERT_NE(ids, nullptr);
    ASSERT_EQ(ids->count(), 3);

    LinuxCddp* cddp = LinuxCddp::instance();
    std::unique_ptr<CddpData> data(cddp->getCddpData(ids->get(0)));
    ASSERT_NE(data, nullptr);
    EXPECT_EQ(data->vendorId, 0x1E7A);
    EXPECT_EQ(data->deviceId, 0x0040);
    EXPECT_EQ(data->subVendorId, 0x1E7A);
    EXPECT_EQ(data->subDeviceId, 0x4080);
    EXPECT_EQ(cddp->getCddpData(ids->get(1)), nullptr);
    EXPECT_EQ(cddp->getCddpData(nullptr), nullptr);

    ctltest::KeepSupportedDevices keep;
    LinuxControllerMgmt mgmt;
    ArrayList<Controller*>* controllers = mgmt.createControllers(ids);
    ASSERT_NE(controllers, nullptr);
    ASSERT_EQ(controllers->count(), 2);
    EXPECT_EQ(controllers->get(0)->controllerId(), ids->get(0));
    EXPECT_EQ(controllers->get(1)->controllerId(), ids->get(2));
    for (unsigned char i = 0; i < controllers->count(); ++i)
        controllers->get(i)->release();
    delete controllers;
    take(ids);
}

// The process-wide explorer runs once per process: this is the only test that uses it.
TEST_F(LinuxDiscovery, ProcessWideDiscoveryGivesPciLocations)
{
    host.bothDrivers();
    host.sysfsHost(3, "quillraid_sas\n", 0x04, 0x00, 0x00);
    host.sysfsHost(1, "quillsr", 0x82, 0x1f, 0x3);

    LinuxControllerMgmt* mgmt = LinuxControllerMgmt::instance();
    ArrayList<ControllerId*>* ids = mgmt->detect();
    ASSERT_NE(ids, nullptr);
    ArrayList<Controller*>* controllers = mgmt->createControllers(ids);
    ASSERT_NE(controllers, nullptr);
    ASSERT_EQ(controllers->count(), 2);

    ControllerPciInfo info;
    memset(&info, 0xEE, sizeof info);
    ASSERT_EQ(controllers->get(0)->getPciInfo(&info), 0);
    EXPECT_EQ(info.busNumber, 0x82u);
    EXPECT_EQ(info.deviceNumber, 0x1f);
    EXPECT_EQ(info.functionNumber, 3);
    EXPECT_EQ(info.reserved[0], 0);   // the rest of the record stays zero
    ASSERT_EQ(controllers->get(1)->getPciInfo(&info), 0);
    EXPECT_EQ(info.busNumber, 4u);
    EXPECT_EQ(controllers->get(1)->getPciInfo(nullptr), 255);

    // A host missing from the table leaves the record as it was.
    LinuxCtrlId stranger(0, 5, 42);
    ControllerPciInfo untouched;
    memset(&untouched, 0, sizeof untouched);
    EXPECT_EQ(LinuxCddp::instance()->getPciLocation(&stranger, &untouched), 0);
    EXPECT_EQ(untouched.busNumber, 0u);
    EXPECT_EQ(LinuxCddp::instance()->getPciLocation(nullptr, &untouched), 255);

    for (unsigned char i = 0; i < controllers->count(); ++i)
        controllers->get(i)->release();
    delete controllers;
    take(ids);

    // Once the supported devices are released there is nothing to detect.
    ctltest::KeepSupportedDevices keep;
    ControllerMgmt::releaseVendorDeviceIds();
    EXPECT_EQ(mgmt->detect(), nullptr);
}
