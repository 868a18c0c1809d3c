// The exposer against simulated hosts made from the simulator's presets: the controller comes
// from discovery and the Linux controller management over the simulated driver, the disks answer from the
// simulated logical drives, and the simulated host keeps what was written to the kernel's
// SCSI control files. Waits advance the simulated clock.
#include <cstdio>
#include <functional>
#include <gtest/gtest.h>
#include <string>

#include "ControllerMgmt/Controller.h"
#include "ControllerMgmt/LinExpLd.h"
#include "SimHostFixture.h"
#include "Simulator/SimOsBoundary.h"
#include "TestSupport.h"

namespace {

bool endsWith(const std::string& text, const std::string& tail)
{
    return text.size() >= tail.size() && text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
}

// A host directory of a preset, changed by `edit`, with the simulated host installed as the
// OS boundary and its controller (SCSI host 2) discovered and made as adapter 0.
struct SimulatedHost {
    SimulatedHost(const std::string& preset, const simhost::StateEdit& edit) : fixture(preset, edit), dir(fixture.dir())
    {
    }

    std::string file(const std::string& relative) const { return fixture.file(relative); }
    uint64_t clock() const { return fixture.clock(); }

    simhost::SimHostFixture fixture;
    const std::string dir;
    simhost::SimControllers controllers;   // after the host: released while it is installed
    Controller* controller = controllers.controller(0);
};

void noChange(sim::HostModel&) {}

// Adds logical drives with target ids 1 .. n - 1 to the first controller.
std::function<void(sim::HostModel&)> withLds(unsigned n)
{
    return [n](sim::HostModel& s) {
        std::vector<sim::LogicalDrive>& lds = s.controllers.at(0).lds;
        for (unsigned t = 1; t < n; ++t) {
            sim::LogicalDrive ld = lds.at(0);
            ld.targetId = static_cast<uint8_t>(t);
            lds.push_back(ld);
        }
    };
}

LinExpLd* exposer() { return LinExpLd::instance(); }

TEST(SimulatedHost, ControllerWithoutLogicalDrives)
{
    for (const char* preset : {"one", "old-kernel"}) {
        SimulatedHost h(preset, [](sim::HostModel& s) { s.controllers.at(0).lds.clear(); });
        ASSERT_NE(h.controller, nullptr) << preset;
        EXPECT_EQ(exposer()->expose(h.controller, 0, EXPOSE_REMOVE_ALL), 0) << preset;
        EXPECT_EQ(exposer()->expose(h.controller, 0, EXPOSE_ADD_NEW), -1) << preset;
        EXPECT_EQ(exposer()->expose(h.controller, 0, EXPOSE_REMOVE_ONE), -1) << preset;
    }
}

TEST(SimulatedHost, NewKernelAddWritesARescanToTheAdaptersHost)
{
    SimulatedHost h("one", noChange);
    ASSERT_NE(h.controller, nullptr);
    ASSERT_EQ(exposer()->expose(h.controller, 0, EXPOSE_ADD_NEW), 0);
    EXPECT_EQ(h.file("sys/class/scsi_host/host2/scan"), "- - -");
    EXPECT_EQ(h.file("sys/class/scsi_host/host0/scan"), "") << "the unrelated SATA host is left alone";
}

TEST(SimulatedHost, NewKernelRemovalFindsTheDiskWithoutWaiting)
{
    SimulatedHost h("one", withLds(2));
    ASSERT_NE(h.controller, nullptr);
    EXPECT_EQ(exposer()->expose(h.controller, 1, EXPOSE_REMOVE_ONE), 0);
    EXPECT_EQ(exposer()->expose(h.controller, 0, EXPOSE_REMOVE_ALL), 0);
    EXPECT_EQ(h.clock(), 0u);

    // The device found for each drive is its own disk.
    for (uint16_t target = 0; target < 2; ++target) {
        uint8_t page[64];
        ASSERT_EQ(exposer()->get_ld_vpd83(h.controller, target, page), 0);
        char path[256] = {0};
        ASSERT_EQ(exposer()->sysfs_find_ld_device(0, target, path, page, EXPOSE_FIND_COPY_PATH), 0);
        EXPECT_STREQ(path, target == 0 ? "/dev/sda" : "/dev/sdb");
    }
}

TEST(SimulatedHost, NewKernelSkipsABlockEntryThatIsADirectory)
{
    SimulatedHost h("one", [](sim::HostModel& s) { s.controllers.at(0).lds.at(0).blockAsDirectory = true; });
    ASSERT_NE(h.controller, nullptr);
    uint8_t page[64];
    ASSERT_EQ(exposer()->get_ld_vpd83(h.controller, 0, page), 0);
    char path[256] = {0};
    EXPECT_EQ(exposer()->sysfs_find_ld_device(0, 0, path, page, EXPOSE_FIND_COPY_PATH), 0);
    EXPECT_STREQ(path, "") << "no disk was asked";
}

TEST(SimulatedHost, NewKernelSearchRetriesOnTheSimulatedClock)
{
    SimulatedHost h("one", noChange);
    ASSERT_NE(h.controller, nullptr);
    // The disk node now names an address without a logical drive: every INQUIRY fails.
    sim::NodeInfo node;
    ASSERT_TRUE(sim::SimOsBoundary::readNode(h.dir + "/dev/sda", node));
    node.scsi.target = 40;
    ASSERT_EQ(::unlink((h.dir + "/dev/sda").c_str()), 0);
    ASSERT_EQ(sim::SimOsBoundary::writeNode(h.dir + "/dev/sda", node, 0660), 0);

    EXPECT_EQ(exposer()->expose(h.controller, 0, EXPOSE_REMOVE_ONE), -1);
    EXPECT_EQ(h.clock(), 10u) << "ten passes, each followed by a one-second sleep";
}

TEST(SimulatedHost, OldKernelAddWritesOneLinePerLogicalDrive)
{
    SimulatedHost h("old-kernel", withLds(3));
    ASSERT_NE(h.controller, nullptr);
    std::string before = h.file("proc/scsi/scsi");
    ASSERT_EQ(exposer()->expose(h.controller, 0, EXPOSE_ADD_NEW), 0);
    EXPECT_EQ(h.file("proc/scsi/scsi"), before + "scsi add-single-device 2 2 0 0\n"
                                                 "scsi add-single-device 2 2 1 0\n"
                                                 "scsi add-single-device 2 2 2 0\n");
}

TEST(SimulatedHost, OldKernelRemovalWritesTheMatchedDrivesRemoveLines)
{
    SimulatedHost h("old-kernel", withLds(3));
    ASSERT_NE(h.controller, nullptr);
    std::string before = h.file("proc/scsi/scsi");
    ASSERT_EQ(exposer()->expose(h.controller, 1, EXPOSE_REMOVE_ONE), 0);
    EXPECT_EQ(h.file("proc/scsi/scsi"), before + "scsi remove-single-device 2 2 1 0\n");

    ASSERT_EQ(exposer()->expose(h.controller, 0, EXPOSE_REMOVE_ALL), 0);
    EXPECT_TRUE(endsWith(h.file("proc/scsi/scsi"), "scsi remove-single-device 2 2 0 0\n"
                                                   "scsi remove-single-device 2 2 1 0\n"
                                                   "scsi remove-single-device 2 2 2 0\n"));
    EXPECT_EQ(h.clock(), 0u);
}

TEST(SimulatedHost, PageLength70IsMatchedOverItsFirst64Bytes)
{
    // The firmware reports a page whose length byte says 70: only 64 bytes exist on either side.
    std::string hex = "00830046" "0103" "0010";
    for (int i = 8; i < 64; ++i) {
        char b[3];
        snprintf(b, sizeof b, "%02x", (i * 37) & 0xFF);
        hex += b;
    }
    for (const char* preset : {"old-kernel", "one"}) {
        SimulatedHost h(preset, [&hex](sim::HostModel& s) { sim::parseHex(hex, s.controllers.at(0).lds.at(0).vpd83); });
        ASSERT_NE(h.controller, nullptr) << preset;
        char node[16];
        uint8_t identity[8];
        uint8_t buffer[80];
        memset(buffer, 0xEE, sizeof buffer);
        ASSERT_EQ(exposer()->sd_get_vpd83(0, buffer, node, identity), 0) << preset;
        EXPECT_EQ(buffer[3], 70) << preset;
        EXPECT_EQ(buffer[63], (63 * 37) & 0xFF) << preset;
        EXPECT_EQ(buffer[64], 0xEE) << preset;

        std::string before = h.file("proc/scsi/scsi");
        ASSERT_EQ(exposer()->expose(h.controller, 0, EXPOSE_REMOVE_ONE), 0) << preset;
        if (std::string(preset) == "old-kernel") {
            EXPECT_EQ(h.file("proc/scsi/scsi"), before + "scsi remove-single-device 2 2 0 0\n");
        }
    }
}

} // namespace
