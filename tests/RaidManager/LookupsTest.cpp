// The drive, virtual-drive and enclosure lookups of the controller's RmData against simulated
// hosts laid out by description.
#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "RaidManager/EnclSlotId.h"
#include "RaidManager/PhysicalDevice.h"
#include "RaidManager/RaidManager.h"
#include "RaidManager/VirtualDisk.h"
#include "RaidManager/Zpr/RmDataZpr.h"
#include "RaidManager/Zpr/VdDataZpr.h"
#include "ConfigLayouts.h"
#include "SimHostFixture.h"

namespace {

// Drives 8-9 in array 0, the others outside any array: 10 unconfigured, 11 JBOD, 12-14 the
// shielded states, 15 a tape; 16 is the enclosure's own entry.
simhost::StateEdit drivesOfEveryKind()
{
    layouts::Layout l;
    l.drives = 8;
    l.arrays = {{0, {8, 9}}};
    l.lds = {{0, 1, {0}}};
    simhost::StateEdit edit = layouts::describe(l);
    const std::vector<std::pair<uint16_t, uint8_t>> states = {{11, 0x40}, {12, 0x80}, {13, 0x82}, {14, 0x90}};
    for (const auto& s : states)
        edit = simhost::both(edit, layouts::drive(s.first, [s](sim::Drive& d) { d.state = s.second; }));
    edit = simhost::both(edit, layouts::drive(15, [](sim::Drive& d) { d.type = 1; }));
    return simhost::both(edit, [](sim::HostModel& m) {
        sim::Drive own;
        own.deviceId = 16;
        own.enclosureId = 16;
        own.type = 0x0d;
        m.controllers.at(0).drives.push_back(own);
    });
}

// The drive at the address, from a drive list that can be read.
PhysicalDevice* driveAt(RmDataZpr* rmData, EnclSlotId* address)
{
    PhysicalDevice* pd = nullptr;
    EXPECT_EQ(rmData->findPdByEnclSlot(address, &pd), 0);
    return pd;
}

TEST(Lookups, DrivesByAddressAndById)
{
    layouts::ModelHost sim(drivesOfEveryKind());
    ASSERT_NE(sim.rmData, nullptr);
    EnclSlotId disk(252, 2);
    PhysicalDevice* found = driveAt(sim.rmData, &disk);
    ASSERT_NE(found, nullptr);
    uint16_t id = 0;
    ASSERT_EQ(found->getDeviceId(&id), 0);
    EXPECT_EQ(id, 10);
    EXPECT_EQ(driveAt(sim.rmData, &disk), found) << "the second time from the cache";
    EXPECT_EQ(sim.rmData->getPdByDeviceId(10), found);

    EnclSlotId tape(252, 7);
    EXPECT_EQ(driveAt(sim.rmData, &tape), nullptr);
    EnclSlotId empty(252, 20);
    EXPECT_EQ(driveAt(sim.rmData, &empty), nullptr);

    // An id that no drive has still gives an element, placed nowhere.
    PhysicalDevice* unknown = sim.rmData->getPdByDeviceId(0x77);
    ASSERT_NE(unknown, nullptr);
    PdIdZpr* where = dynamic_cast<PdIdZpr*>(unknown->getId());
    ASSERT_NE(where, nullptr);
    EXPECT_EQ(where->getEnclosureIndex(), 255);
    EXPECT_EQ(where->getSlotNumber(), 255);
    EXPECT_EQ(where->getDeviceId(), 0x77);
    EXPECT_EQ(where->getEnclosureDeviceId(), 0xFFFF);
}

TEST(Lookups, DriveListsAndCounts)
{
    layouts::ModelHost sim(drivesOfEveryKind());
    ASSERT_NE(sim.rmData, nullptr);
    ArrayList<PhysicalDevice*>* unused = nullptr;
    ASSERT_EQ(sim.rmData->getUnusedPds(&unused), 0);
    // Not the array's drives, not JBOD nor shielded, not the enclosure; the tape is listed.
    EXPECT_EQ(layouts::deviceIds(unused), (std::vector<uint16_t>{10, 15}));
    delete unused;

    ArrayList<PhysicalDevice*>* jbod = nullptr;
    ASSERT_EQ(sim.rmData->getPdsInStateX40(&jbod), 0);
    EXPECT_EQ(layouts::deviceIds(jbod), (std::vector<uint16_t>{11}));
    delete jbod;

    for (bool raw : {true, false}) {
        ArrayList<PhysicalDevice*>* all = nullptr;
        ASSERT_EQ(raw ? sim.rmData->getAllPdsRaw(&all) : sim.rmData->getAllPds(&all), 0);
        EXPECT_EQ(all->count(), raw ? 9 : 8);
        for (unsigned char i = 0; i < all->count(); ++i)
            delete all->get(i);
        delete all;
    }
    uint16_t disks = 0;
    ASSERT_EQ(sim.rmData->countDiskPds(&disks), 0);
    EXPECT_EQ(disks, 8);
}

TEST(Lookups, LockedForeignDrivesAreCounted)
{
    // Security bits: 3 locked, 4 foreign lock, 5 key attention.
    layouts::ModelHost sim(simhost::both(
        simhost::both(layouts::describe(layouts::emptyConfiguration()), layouts::drive(8, [](sim::Drive& d) { d.security = 0x18; })),
        layouts::drive(9, [](sim::Drive& d) { d.security = 0x38; })));
    ASSERT_NE(sim.rmData, nullptr);
    uint16_t count = 0;
    ASSERT_EQ(sim.rmData->countLockedForeignPds(&count), 0);
    EXPECT_EQ(count, 2);
    ASSERT_EQ(sim.rmData->countEkmAttentionPds(&count), 0);
    EXPECT_EQ(count, 1);
}

// Logical drives with target ids 0 and 5: an id is found by the entry that carries it.
TEST(Lookups, VirtualDrivesByTargetId)
{
    layouts::Layout l;
    l.drives = 4;
    l.arrays = {{0, {8, 9}}, {1, {10, 11}}};
    l.lds = {{0, 1, {0}}, {5, 1, {1}}};
    layouts::ModelHost sim(simhost::both(layouts::describe(l), [](sim::HostModel& m) {
        m.controllers.at(0).lds.at(1).sequence = 7;
    }));
    ASSERT_NE(sim.rmData, nullptr);
    uint8_t count = 0;
    ASSERT_EQ(sim.rmData->getVdCount(&count), 0);
    EXPECT_EQ(count, 2);

    VirtualDisk* vd = nullptr;
    VdIdZpr two(2, VdIdZpr::SEQUENCE_UNKNOWN);
    EXPECT_EQ(sim.rmData->createVd(&two, &vd), -1);
    VdIdZpr none(255, VdIdZpr::SEQUENCE_UNKNOWN);
    EXPECT_EQ(sim.rmData->createVd(&none, &vd), -1);
    EXPECT_EQ(vd, nullptr);
    VdIdZpr five(5, VdIdZpr::SEQUENCE_UNKNOWN);
    ASSERT_EQ(sim.rmData->createVd(&five, &vd), 0);
    ASSERT_NE(vd, nullptr);
    EXPECT_EQ(five.getSequenceNumber(), 7);
    EXPECT_EQ(dynamic_cast<VdIdZpr*>(vd->getId())->getSequenceNumber(), 7);
    char name[16] = "x";
    EXPECT_EQ(vd->getName(name, sizeof name), 0) << "the element reads its own logical drive";
    delete vd;

    VdIdZpr again(5, VdIdZpr::SEQUENCE_UNKNOWN);
    EXPECT_EQ(sim.rmData->refreshVd(&again, nullptr, 0), -1);
    EXPECT_EQ(sim.rmData->refreshVd(&again, nullptr, 1), 0);
    EXPECT_EQ(again.getSequenceNumber(), 7);

    EXPECT_EQ(sim.rmData->isTargetIdInConfig(5, 0), 1);
    EXPECT_EQ(sim.rmData->isTargetIdInConfig(2, 1), 0);

    ArrayList<PhysicalDevice*> members(4);
    ASSERT_EQ(sim.rmData->getVdPds(&members, 5), 0);
    EXPECT_EQ(layouts::deviceIds(&members), (std::vector<uint16_t>{10, 11}));
    EXPECT_EQ(sim.rmData->getVdPds(nullptr, 5), -1);
}

TEST(Lookups, SortByTargetId)
{
    ArrayList<VirtualDisk*> vds(4);
    std::vector<VirtualDisk*> made;
    for (uint16_t id : {3, 1, 2}) {
        made.push_back(new VirtualDisk(new VdDataZpr(nullptr, new VdIdZpr(id, 0)), nullptr));
        vds.add(made.back());
    }
    layouts::ModelHost sim(layouts::describe(layouts::emptyConfiguration()));
    ASSERT_NE(sim.rmData, nullptr);
    ASSERT_EQ(sim.rmData->sortVdsByTargetId(&vds), 0);
    std::vector<unsigned> order;
    for (unsigned char i = 0; i < vds.count(); ++i)
        order.push_back(dynamic_cast<VdId*>(vds.get(i)->getId())->getTargetId());
    EXPECT_EQ(order, (std::vector<unsigned>{1, 2, 3}));
    for (VirtualDisk* vd : made)
        delete vd;
}

TEST(Lookups, Enclosures)
{
    layouts::ModelHost sim(simhost::both(simhost::withEnclosures(0, {252, 253}), [](sim::HostModel& m) {
        m.controllers.at(0).enclosures.at(1).connector = 5;
    }));
    ASSERT_NE(sim.rmData, nullptr);
    uint32_t count = 0;
    ASSERT_EQ(sim.rmData->getEnclosureCount(&count), 0);
    EXPECT_EQ(count, 2u);
    uint16_t id = 0;
    ASSERT_EQ(sim.rmData->getEnclosureId(1, &id), 0);
    EXPECT_EQ(id, 253);
    id = 0x1234;
    EXPECT_EQ(sim.rmData->getEnclosureId(2, &id), -1);
    EXPECT_EQ(id, 0x1234);
    uint8_t property = 0xAA;
    ASSERT_EQ(sim.rmData->getEnclosureProperty(253, &property), 0);
    EXPECT_EQ(property, 5);
    property = 0xAA;
    EXPECT_EQ(sim.rmData->getEnclosureProperty(31, &property), 0);
    EXPECT_EQ(property, 0xAA);
}

// Counts of the logical-drive and enclosure lists beyond their room refuse the list.
TEST(Lookups, CorruptListCountsAreRefused)
{
    struct Case {
        uint32_t opcode;
        uint32_t offset;
    };
    for (const Case& c : {Case{0x03010000, 0}, Case{0x09010000, 0}}) {
        SCOPED_TRACE(c.opcode);
        layouts::ModelHost sim([&c](sim::HostModel& m) {
            sim::Fault f;
            f.type = sim::FaultType::CORRUPT;
            f.opcode = c.opcode;
            f.offset = c.offset;
            f.data = {200, 0, 0, 0};
            m.faults.push_back(f);
        });
        ASSERT_NE(sim.rmData, nullptr);
        uint8_t vds = 0;
        uint32_t enclosures = 0;
        if (c.opcode == 0x03010000)
            EXPECT_EQ(sim.rmData->getVdCount(&vds), -1);
        else
            EXPECT_EQ(sim.rmData->getEnclosureCount(&enclosures), -1);
    }
}

} // namespace
