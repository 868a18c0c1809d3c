// Deleting a logical drive, clearing the configuration, spinning up drives before a
// configuration and choosing a free target id, over simulated hosts: the firmware commands
// from the command log, the operating-system step from what it asks and writes, and the
// controller's state after the change.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "PavUtil/List.h"
#include "RaidManager/PhysicalDevice.h"
#include "RaidManager/RaidElementId.h"
#include "RaidManager/RaidManager.h"
#include "RaidManager/RmData.h"
#include "RaidManager/Zpr/RmDataZpr.h"
#include "SimHostFixture.h"
#include "Simulator/SimHost.h"
#include "Simulator/SimModel.h"
#include "Simulator/SimOsBoundary.h"
#include "Simulator/SimState.h"

namespace {

const uint32_t LD_GET_LIST = 0x03010000;
const uint32_t LD_GET_INFO = 0x03020000;
const uint32_t LD_DELETE = 0x03090000;
const uint32_t CFG_CLEAR = 0x04030000;
const uint32_t GET_ASSOCIATIONS = 0x03100200;
const uint32_t ADP_GET_INFO = 0x01010000;
const uint32_t PD_LIST_OPERATION = 0x020D0200;
const uint32_t LD_LIST_QUERY = 0x03010100;

const sim::Controller& state(simhost::SimHostFixture& host) { return host.host().state().model().controllers.at(0); }

uint8_t driveState(simhost::SimHostFixture& host, uint16_t deviceId)
{
    for (const sim::Drive& d : state(host).drives)
        if (d.deviceId == deviceId)
            return d.state;
    return 0xEE;
}

// Logical drives 0 .. n - 1, RAID 0, each on an array of one drive (device ids 8, 9, ...).
simhost::StateEdit withRaid0Lds(unsigned n)
{
    return [n](sim::HostModel& model) {
        sim::Controller& c = model.controllers.at(0);
        c.lds.clear();
        c.arrays.clear();
        for (unsigned t = 0; t < n; ++t) {
            const uint16_t drive = static_cast<uint16_t>(8 + t);
            sim::LogicalDrive ld;
            ld.targetId = static_cast<uint8_t>(t);
            ld.sequence = static_cast<uint16_t>(0x20 + t);
            ld.drives = {drive};
            sim::Span span;
            span.array = static_cast<uint16_t>(t);
            ld.spans = {span};
            c.lds.push_back(ld);
            sim::Array array;
            array.ref = static_cast<uint16_t>(t);
            array.drives = {drive};
            c.arrays.push_back(array);
            c.drives.at(t).state = sim::PD_STATE_ONLINE;
        }
    };
}

// The disk node of the first logical drive names an address without a logical drive, so that
// the operating-system step cannot find its disk.
void loseFirstDisk(simhost::SimHostFixture& host)
{
    sim::NodeInfo node;
    ASSERT_TRUE(sim::SimOsBoundary::readNode(host.dir() + "/dev/sda", node));
    node.scsi.target = 40;
    ASSERT_EQ(::unlink((host.dir() + "/dev/sda").c_str()), 0);
    ASSERT_EQ(sim::SimOsBoundary::writeNode(host.dir() + "/dev/sda", node, 0660), 0);
}

struct Manager {
    simhost::SimControllers controllers;
    RaidManager* manager = getRaidManager(controllers.controller(0));
    RmDataZpr* rmData = manager != nullptr ? dynamic_cast<RmDataZpr*>(manager->getRmData()) : nullptr;
};

}  // namespace

TEST(ConfigChange, DeleteWithoutTheOsStepSendsOnlyTheDelete)
{
    simhost::SimHostFixture host("one", withRaid0Lds(3));
    Manager m;
    ASSERT_NE(m.rmData, nullptr);
    host.clearCommands();
    VdIdZpr id(1, VdIdZpr::SEQUENCE_UNKNOWN);
    EXPECT_EQ(m.manager->deleteVd(&id, 1, 7), 0);
    EXPECT_EQ(host.commandsWith(LD_DELETE),
              (std::vector<std::string>{"opcode=0x03090000 mbox=0x00210001,0x00000007,0x00000000 len=0 status=0x00"}));
    EXPECT_EQ(host.count(LD_GET_INFO), 0u) << "the disk was not looked for";
    ASSERT_EQ(state(host).lds.size(), 2u);
    EXPECT_EQ(state(host).lds[1].targetId, 2);
    EXPECT_EQ(state(host).arrays.size(), 2u) << "the array only drive 1 used went with it";
    EXPECT_EQ(driveState(host, 9), sim::PD_STATE_UNCONFIGURED_GOOD);
    EXPECT_EQ(driveState(host, 10), sim::PD_STATE_ONLINE);
}

TEST(ConfigChange, DeleteRemovesTheDiskFirstAndReportsAFailedOsStep)
{
    {
        simhost::SimHostFixture host("one", withRaid0Lds(2));
        Manager m;
        host.clearCommands();
        VdIdZpr id(0, VdIdZpr::SEQUENCE_UNKNOWN);
        EXPECT_EQ(m.manager->deleteVd(&id, 0, 0), 0);
        std::vector<uint32_t> sent = host.opcodes();
        ASSERT_FALSE(sent.empty());
        EXPECT_EQ(sent.back(), LD_DELETE);
        EXPECT_NE(host.count(LD_GET_INFO), 0u) << "the OS step read the drive before the delete";
    }
    {
        simhost::SimHostFixture host("one", withRaid0Lds(2));
        loseFirstDisk(host);
        Manager m;
        VdIdZpr id(0, VdIdZpr::SEQUENCE_UNKNOWN);
        EXPECT_EQ(m.manager->deleteVd(&id, 0, 0), -2) << "deleted, but the disk was not found";
        EXPECT_EQ(state(host).lds.size(), 1u);
    }
}

TEST(ConfigChange, DeleteOfAnUnknownDriveSendsNothing)
{
    simhost::SimHostFixture host("one", withRaid0Lds(2));
    Manager m;
    host.clearCommands();
    VdIdZpr id(5, VdIdZpr::SEQUENCE_UNKNOWN);
    EXPECT_EQ(m.manager->deleteVd(&id, 0, 0), -1);
    EXPECT_EQ(m.manager->deleteVd(nullptr, 0, 0), -1);
    EXPECT_EQ(host.count(LD_DELETE), 0u);
}

TEST(ConfigChange, RefusedDeleteBringsTheDiskBack)
{
    simhost::SimHostFixture host("one", simhost::both(withRaid0Lds(2), simhost::withStatusFault(LD_DELETE, 0x0C)));
    Manager m;
    VdIdZpr id(0, VdIdZpr::SEQUENCE_UNKNOWN);
    EXPECT_EQ(m.manager->deleteVd(&id, 0, 0), 0x0C);
    EXPECT_EQ(host.file("sys/class/scsi_host/host2/scan"), "- - -") << "the host was rescanned";
    EXPECT_EQ(state(host).lds.size(), 2u);
}

TEST(ConfigChange, ClearTakesTheOsStepUnlessAPlainClearMeetsSsdCacheData)
{
    struct Case {
        const char* what;
        bool associated;
        bool associationReadFails;
        uint8_t force;
        int result;
        const char* clearLine;
        bool osStep;
    } cases[] = {
        {"plain clear", false, false, 0, 0, "opcode=0x04030000 mbox=0x00000000,0x00000000,0x00000000 len=0 status=0x00",
         true},
        {"plain clear with SSD-cache data", true, false, 0, 0x66,
         "opcode=0x04030000 mbox=0x00000000,0x00000000,0x00000000 len=0 status=0x66", false},
        {"forced clear with SSD-cache data", true, false, 1, 0,
         "opcode=0x04030000 mbox=0x00000001,0x00000000,0x00000000 len=0 status=0x00", true},
        {"unreadable association list", false, true, 0, 0,
         "opcode=0x04030000 mbox=0x00000000,0x00000000,0x00000000 len=0 status=0x00", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        simhost::SimHostFixture host("one", [&c](sim::HostModel& model) {
            withRaid0Lds(2)(model);
            model.controllers.at(0).lds.at(1).cacheAssociation = c.associated ? 1 : 0;
            if (c.associationReadFails)
                simhost::withStatusFault(GET_ASSOCIATIONS, 0x0C)(model);
        });
        Manager m;
        host.clearCommands();
        EXPECT_EQ(m.manager->clearConfig(c.force), c.result);
        EXPECT_EQ(host.commandsWith(CFG_CLEAR), std::vector<std::string>{c.clearLine});
        EXPECT_EQ(host.count(LD_GET_LIST) != 0, c.osStep);
        EXPECT_EQ(state(host).lds.empty(), c.result == 0);
        EXPECT_EQ(driveState(host, 8), c.result == 0 ? sim::PD_STATE_UNCONFIGURED_GOOD : sim::PD_STATE_ONLINE);
    }
}

TEST(ConfigChange, ClearKeepsJbodDrivesAndFreesSpares)
{
    simhost::SimHostFixture host("one", [](sim::HostModel& model) {
        withRaid0Lds(1)(model);
        sim::Controller& c = model.controllers.at(0);
        c.drives.at(2).state = 0x40;
        c.drives.at(3).state = 0x02;
        sim::Spare spare;
        spare.deviceId = c.drives.at(3).deviceId;
        c.spares = {spare};
    });
    Manager m;
    EXPECT_EQ(m.manager->clearConfig(0), 0);
    EXPECT_TRUE(state(host).spares.empty());
    EXPECT_EQ(driveState(host, 10), 0x40);
    EXPECT_EQ(driveState(host, 11), sim::PD_STATE_UNCONFIGURED_GOOD);
}

TEST(ConfigChange, SpinUpWithoutTheCapabilityReturnsAtOnce)
{
    simhost::SimHostFixture host("one", [](sim::HostModel& model) { model.controllers.at(0).drives.at(2).powerState = 1; });
    Manager m;
    host.clearCommands();
    ArrayList<ArrayList<PhysicalDevice*>*> spans;
    ArrayList<PhysicalDevice*> drives;
    drives.add(m.manager->getPdByDeviceId(10));
    spans.add(&drives);
    uint32_t spunUp = 0xEEEE;
    uint32_t total = 0xEEEE;
    EXPECT_EQ(m.manager->spinUpDrives(&spans, &spunUp, &total), 0);
    EXPECT_EQ(host.opcodes(), std::vector<uint32_t>{ADP_GET_INFO});
    EXPECT_EQ(spunUp, 0xEEEEu);
    EXPECT_EQ(total, 0xEEEEu);
}

TEST(ConfigChange, SpinUpSendsThePendingListAgainWhileTheControllerIsBusy)
{
    simhost::SimHostFixture host("one", [](sim::HostModel& model) {
        sim::Controller& c = model.controllers.at(0);
        c.info.powerFeatures = 0x02;
        c.drives.at(2).powerState = 1;
        c.drives.at(3).powerState = 1;
        sim::Fault busy;
        busy.opcode = PD_LIST_OPERATION;
        busy.status = 0x55;
        busy.mode = sim::FaultMode::ONCE;
        model.faults.push_back(busy);
    });
    Manager m;
    ArrayList<ArrayList<PhysicalDevice*>*> spans;
    ArrayList<PhysicalDevice*> first;
    ArrayList<PhysicalDevice*> second;
    first.add(m.manager->getPdByDeviceId(8));
    first.add(m.manager->getPdByDeviceId(10));
    second.add(m.manager->getPdByDeviceId(11));
    spans.add(&first);
    spans.add(&second);
    host.clearCommands();
    uint32_t spunUp = 0;
    uint32_t total = 0;
    EXPECT_EQ(m.manager->spinUpDrives(&spans, &spunUp, &total), 0x55);
    EXPECT_EQ(total, 2u) << "drives 10 and 11 are spun down";
    const uint64_t before = host.clock();
    total = 0xEEEE;
    EXPECT_EQ(m.manager->spinUpDrives(&spans, &spunUp, &total), 0);
    EXPECT_EQ(spunUp, 2u);
    EXPECT_EQ(total, 0xEEEEu) << "the pending list was not collected again";
    EXPECT_EQ(host.clock() - before, 5u) << "a five-second pause after the list";
    EXPECT_EQ(host.count(ADP_GET_INFO), 1u);
    EXPECT_EQ(host.commandsWith(PD_LIST_OPERATION),
              (std::vector<std::string>{"opcode=0x020d0200 mbox=0x00000000,0x00000000,0x00000000 len=14 status=0x55",
                                        "opcode=0x020d0200 mbox=0x00000000,0x00000000,0x00000000 len=14 status=0x00"}));
    EXPECT_EQ(state(host).drives.at(2).powerState, 0);
    // The list is empty again: the next call asks the controller afresh.
    ArrayList<ArrayList<PhysicalDevice*>*> none;
    EXPECT_EQ(m.manager->spinUpDrives(&none, &spunUp, &total), 0);
    EXPECT_EQ(total, 0u);
    EXPECT_EQ(host.count(ADP_GET_INFO), 2u);
}

TEST(ConfigChange, FreeTargetIdSkipsUsedAndReservedIds)
{
    struct Case {
        const char* what;
        uint8_t storageFeatures;
        std::vector<uint8_t> reserved;
        bool listFails;
        int expected;
    } cases[] = {
        {"ids 0 and 1 used, 2 reserved with snapshots", 0x40, {2}, false, 3},
        {"without snapshots or SSD caching the list is not asked", 0x00, {2}, false, 2},
        {"an unreadable list reserves every id", 0x40, {}, true, -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        simhost::SimHostFixture host("one", [&c](sim::HostModel& model) {
            withRaid0Lds(2)(model);
            model.controllers.at(0).info.storageFeatures = c.storageFeatures;
            model.controllers.at(0).reservedTargetIds = c.reserved;
            if (c.listFails)
                simhost::withStatusFault(LD_LIST_QUERY, 0x0C)(model);
        });
        Manager m;
        ASSERT_NE(m.rmData, nullptr);
        host.clearCommands();
        EXPECT_EQ(m.rmData->findFreeTargetId(), c.expected);
        EXPECT_EQ(host.count(LD_LIST_QUERY) != 0, c.storageFeatures != 0);
    }
}

TEST(ConfigChange, FreeTargetIdIsTheLowestAndStopsAtTheLimit)
{
    simhost::SimHostFixture host("one", [](sim::HostModel& model) {
        withRaid0Lds(3)(model);
        sim::Controller& c = model.controllers.at(0);
        c.lds.erase(c.lds.begin() + 1);
        c.info.maxVirtualDrives = 3;
    });
    Manager m;
    EXPECT_EQ(m.rmData->findFreeTargetId(), 1) << "the gap, not the highest plus one";
    host.change([](sim::HostModel& model) { model.controllers.at(0).info.maxVirtualDrives = 1; });
    EXPECT_EQ(m.manager->refresh(), 0);
    EXPECT_EQ(m.rmData->findFreeTargetId(), -1);
}
