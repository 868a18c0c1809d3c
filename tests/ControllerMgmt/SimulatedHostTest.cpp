// Discovery and the library bridge against simulated hosts laid out by the simulator itself.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <sys/stat.h>
#include <vector>

#include "ControllerMgmt/AkIr2ControllerMgmt.h"
#include "ControllerMgmt/LinExpLd.h"
#include "ControllerMgmt/LinuxControllerExplorer.h"
#include "ControllerMgmt/LinuxControllerMgmt.h"
#include "ControllersTestSupport.h"
#include "DataProvider/ArraykitIr2Dp.h"
#include "SimHostFixture.h"
#include "DataProvider/ControllerId.h"
#include "Simulator/SimOsBoundary.h"
#include "System/SystemLinux.h"

using ctltest::TempDir;

namespace {

struct HostSeen {
    unsigned host;
    unsigned kind;
    bool operator==(const HostSeen& o) const { return host == o.host && kind == o.kind; }
};

std::ostream& operator<<(std::ostream& os, const HostSeen& h) { return os << "{" << h.host << ", " << h.kind << "}"; }

// A simulated host made from a preset (changed by `edit`) and installed as the OS boundary.
struct SimulatedHost {
    explicit SimulatedHost(const std::string& preset, const simhost::StateEdit& edit = simhost::StateEdit())
        : fixture(preset, edit), dir(fixture.dir())
    {
    }

    simhost::SimHostFixture fixture;
    const std::string dir;
};

struct Discovery {
    std::vector<HostSeen> ids;
    std::vector<unsigned> controllers;   // host numbers of the controllers made, in order
    std::vector<int> fds;
    std::vector<HostRecord> table;       // the explorer's sorted host records
};

// Explores with a fresh explorer and makes the controllers, as the dispatcher would.
Discovery discover()
{
    Discovery d;
    ctltest::KeepSupportedDevices keep;
    ArrayList<VoVendorDeviceId*> supported(4);
    LinuxControllerExplorer explorer;
    ArrayList<ControllerId*>* ids = explorer.explore(&supported);
    if (ids == nullptr)
        return d;
    for (unsigned char i = 0; i < ids->count(); ++i) {
        LinuxCtrlId* id = static_cast<LinuxCtrlId*>(ids->get(i));
        d.ids.push_back({id->getHostNumber(), id->getKind()});
        d.fds.push_back(id->getFd());
    }
    HostRecord table[MAX_HOSTS];
    if (explorer.getHostTable(table) == 0)
        d.table.assign(table, table + ids->count());
    LinuxControllerMgmt mgmt;
    ArrayList<Controller*>* controllers = mgmt.createControllers(ids);
    if (controllers != nullptr) {
        for (unsigned char i = 0; i < controllers->count(); ++i) {
            d.controllers.push_back(static_cast<LinuxCtrlId*>(controllers->get(i)->controllerId())->getHostNumber());
            controllers->get(i)->release();
        }
        delete controllers;
    }
    for (unsigned char i = 0; i < ids->count(); ++i)
        delete ids->get(i);
    delete ids;
    return d;
}

sim::Controller controllerOnHost(const sim::Controller& model, unsigned host, unsigned bus)
{
    sim::Controller c = model;
    c.host = static_cast<uint16_t>(host);
    c.pci.bus = static_cast<uint8_t>(bus);
    return c;
}

} // namespace

TEST(SimulatedHost, BothDriversComeOutByHostNumberWithTheirKinds)
{
    SimulatedHost sim("mixed");
    Discovery d = discover();
    EXPECT_EQ(d.ids, (std::vector<HostSeen>{{1, LINUX_DRIVER_SWR}, {3, LINUX_DRIVER_HWR}}));
    EXPECT_EQ(d.controllers, (std::vector<unsigned>{1, 3}));
    ASSERT_EQ(d.fds.size(), 2u);
    EXPECT_NE(d.fds[0], d.fds[1]);   // each kind has its own node
}

// Current kernels link each scsi_host class entry into the device tree; older ones give it a
// directory of its own. Both lead to the same hosts at the same PCI locations, and the exposure
// of logical drives finds the same hosts and rescans through the class entry.
TEST(SimulatedHost, LinkedAndPlainClassEntriesGiveTheSamePciLocations)
{
    for (bool linked : {true, false}) {
        SCOPED_TRACE(linked ? "linked class entries" : "plain class entries");
        SimulatedHost sim("two", [linked](sim::HostModel& state) {
            state.sysfsLinkedClass = linked;
            state.controllers.at(1).pci.device = 2;
            state.controllers.at(1).pci.function = 1;
        });
        struct stat st;
        ASSERT_EQ(::lstat((sim.dir + "/sys/class/scsi_host/host3").c_str(), &st), 0);
        EXPECT_EQ(S_ISLNK(st.st_mode), linked);

        Discovery d = discover();
        EXPECT_EQ(d.ids, (std::vector<HostSeen>{{2, LINUX_DRIVER_HWR}, {3, LINUX_DRIVER_HWR}}));
        EXPECT_EQ(d.controllers, (std::vector<unsigned>{2, 3}));
        ASSERT_EQ(d.table.size(), 2u);
        EXPECT_EQ(d.table[0].hostNumber, 2);
        EXPECT_EQ(d.table[0].pciBus, 3);
        EXPECT_EQ(d.table[0].pciDevice, 0);
        EXPECT_EQ(d.table[0].pciFunction, 0);
        EXPECT_EQ(d.table[1].hostNumber, 3);
        EXPECT_EQ(d.table[1].pciBus, 4);
        EXPECT_EQ(d.table[1].pciDevice, 2);
        EXPECT_EQ(d.table[1].pciFunction, 1);

        std::vector<int> exposed = {LinExpLd::instance()->sysfs_get_host(0), LinExpLd::instance()->sysfs_get_host(1)};
        std::sort(exposed.begin(), exposed.end());
        EXPECT_EQ(exposed, (std::vector<int>{2, 3}));
        EXPECT_EQ(LinExpLd::instance()->sysfs_get_host(2), -1);
        const int first = LinExpLd::instance()->sysfs_get_host(0);
        ASSERT_EQ(LinExpLd::instance()->sysfs_scan_host(0), 0);
        EXPECT_EQ(ctltest::readText(sim.dir + "/sys/class/scsi_host/host" + std::to_string(first) + "/scan"), "- - -");
    }
}

TEST(SimulatedHost, OldKernelHbaMapIsSortedByHost)
{
    SimulatedHost sim("old-kernel", [](sim::HostModel& state) {
        sim::Controller model = state.controllers.at(0);
        state.controllers = {controllerOnHost(model, 10, 5), controllerOnHost(model, 2, 6),
                             controllerOnHost(model, 9, 7)};
    });
    Discovery d = discover();
    EXPECT_EQ(d.ids, (std::vector<HostSeen>{{2, 0}, {9, 0}, {10, 0}}));
    EXPECT_EQ(d.controllers, (std::vector<unsigned>{2, 9, 10}));
}

TEST(SimulatedHost, NodeWithWrongMajorIsMadeAgain)
{
    SimulatedHost sim("one");
    const std::string node = sim.dir + "/dev/quillraid_sas_ioctl_node";
    sim::NodeInfo wrong;
    wrong.type = 'c';
    wrong.major = 240;
    ASSERT_EQ(sim::SimOsBoundary::writeNode(node, wrong, 0400), 0);

    EXPECT_EQ(discover().controllers, (std::vector<unsigned>{2}));
    sim::NodeInfo made;
    ASSERT_TRUE(sim::SimOsBoundary::readNode(node, made));
    EXPECT_EQ(made.major, 250u);

    // A node with the right major stays as it is.
    struct stat before, after;
    ASSERT_EQ(::stat(node.c_str(), &before), 0);
    EXPECT_EQ(discover().controllers, (std::vector<unsigned>{2}));
    ASSERT_EQ(::stat(node.c_str(), &after), 0);
    EXPECT_EQ(before.st_ino, after.st_ino);
}

TEST(SimulatedHost, NoDriverFindsNothing)
{
    SimulatedHost sim("no-driver");
    Discovery d = discover();
    EXPECT_TRUE(d.ids.empty());
}

TEST(SimulatedHost, ThirtyThreeHostsKeepThirtyTwo)
{
    SimulatedHost sim("one", [](sim::HostModel& state) {
        sim::Controller model = state.controllers.at(0);
        model.lds.clear();
        state.controllers.clear();
        for (unsigned h = 0; h < 33; ++h)
            state.controllers.push_back(controllerOnHost(model, 100 + h, 1 + h));
    });
    Discovery d = discover();
    EXPECT_EQ(d.ids.size(), 32u);
    EXPECT_EQ(d.controllers.size(), 32u);
}

TEST(SimulatedHost, ControllerWhoseInformationFailsIsLeftOut)
{
    SimulatedHost sim("two", [](sim::HostModel& state) {
        sim::Fault f;
        f.type = sim::FaultType::STATUS;
        f.opcode = 0x01010000;
        f.host = 3;
        f.status = 3;
        state.faults.push_back(f);
    });
    Discovery d = discover();
    EXPECT_EQ(d.ids.size(), 2u);
    EXPECT_EQ(d.controllers, (std::vector<unsigned>{2}));
}

#ifdef QUILL_IR2_STANDIN_DIR
TEST(SimulatedHost, LibraryIsFoundInTheHostDirectory)
{
    SimulatedHost sim("one");
    std::string copy = "cp '" QUILL_IR2_STANDIN_DIR "/libarraykitir-2.so' '" + sim.dir + "/lib/'";
    ASSERT_EQ(::system(copy.c_str()), 0);
    setenv("QUILLCLI_SIM_HOST", sim.dir.c_str(), 1);

    ArraykitIr2Dp bridge(AK_IR2_LIBRARY_NAME, AK_IR2_ENTRY_NAME, SystemLinux::instance());
    ASSERT_TRUE(bridge.isLoaded());
    uint8_t answer[AK_LIB_CONTROLLER_LIST_SIZE] = {};
    _AK_LIB_CMD_PARAM_T list;
    memset(&list, 0, sizeof list);
    list.cmdCode = AK_LIB_CMD_CODE_LIST_CONTROLLERS;
    list.dataLength = sizeof answer;
    list.data = answer;
    EXPECT_EQ(bridge.call(&list), 0);
    EXPECT_EQ(answer[0], 1);   // the preset's one host-cache controller
    unsetenv("QUILLCLI_SIM_HOST");
    EXPECT_NE(ctltest::readText(sim.dir + "/commands.log").find("ir2 type=0 code=10"), std::string::npos);
}
#endif
