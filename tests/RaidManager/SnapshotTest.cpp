// The RAID manager's snapshot of a controller laid out by description: what a refresh loads,
// the lookups answered from it, the drive-mix matrix, and the single enclosure.
#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "RaidManager/DriveMixMatrix.h"
#include "RaidManager/EnclSlotId.h"
#include "RaidManager/EnclosureIds.h"
#include "RaidManager/PhysicalDevice.h"
#include "RaidManager/RaidManager.h"
#include "RaidManager/RmCfg.h"
#include "RaidManager/VirtualDisk.h"
#include "RaidManager/Zpr/ZprData.h"
#include "ConfigLayouts.h"
#include "SimHostFixture.h"

namespace {

const uint32_t CFG_READ = 0x04010000;

TEST(Snapshot, RefreshLoadsDrivesConfigurationAndMatrix)
{
    // Drive 15 in JBOD state joins the all-drives list after those in no array.
    layouts::ModelHost sim(simhost::both(layouts::describe(layouts::raid1Raid5WithSpares()),
                                   layouts::drive(15, [](sim::Drive& d) { d.state = 0x40; })));
    ASSERT_NE(sim.manager, nullptr);
    ASSERT_EQ(sim.manager->refresh(), 0);
    ArrayList<PhysicalDevice*>* list = nullptr;
    ASSERT_EQ(sim.manager->getUnusedPds(&list), 0);
    EXPECT_EQ(layouts::deviceIds(list), (std::vector<uint16_t>{13, 14}));
    ASSERT_EQ(sim.manager->getPdsInStateX40(&list), 0);
    EXPECT_EQ(layouts::deviceIds(list), (std::vector<uint16_t>{15}));
    ASSERT_EQ(sim.manager->getAllPds(&list), 0);
    EXPECT_EQ(layouts::deviceIds(list), (std::vector<uint16_t>{13, 14, 15, 8, 9, 10, 11, 12}));

    ArrayList<VirtualDisk*>* vds = nullptr;
    ASSERT_EQ(sim.manager->getVds(&vds), 0);
    EXPECT_EQ(vds->count(), 2);
    ArrayList<DiskGroup*>* groups = nullptr;
    ASSERT_EQ(sim.manager->getDiskGroups(&groups), 0);
    EXPECT_EQ(groups->count(), 2);
    ArrayList<Spare*>* spares = nullptr;
    ASSERT_EQ(sim.manager->getSpares(&spares), 0);
    EXPECT_EQ(spares->count(), 1);
    RmCfg* config = nullptr;
    ASSERT_EQ(sim.manager->getConfig(&config), 0);
    EXPECT_EQ(config->getVds(), vds);

    // Lookups answer with the snapshot's own drives.
    EnclSlotId slot3(252, 3);
    PhysicalDevice* pd = nullptr;
    EXPECT_EQ(sim.manager->findPdByEnclSlot(&slot3, &pd), 0);
    EXPECT_EQ(pd, list->get(6));
    EXPECT_EQ(sim.manager->getPdByDeviceId(11), list->get(6));
    ASSERT_NE(dynamic_cast<SnapShotRaidManager*>(sim.manager)->getDriveMixMatrix(), nullptr);
    EXPECT_TRUE(dynamic_cast<SnapShotRaidManager*>(sim.manager)->getDriveMixMatrix()->isBuilt());
}

TEST(Snapshot, UnreadableConfigurationIsUnknownNotEmpty)
{
    layouts::ModelHost sim(simhost::both(layouts::describe(layouts::raid1Raid5WithSpares()),
                                   simhost::withStatusFault(CFG_READ, 0x0C)));
    ASSERT_NE(sim.manager, nullptr);
    EXPECT_EQ(sim.manager->refresh(), 0);
    ArrayList<VirtualDisk*>* vds = nullptr;
    EXPECT_EQ(sim.manager->getVds(&vds), 0x0C) << "read again, failing again: the read's status, not an empty list";
    ArrayList<DiskGroup*>* groups = nullptr;
    EXPECT_EQ(sim.manager->getDiskGroups(&groups), 0x0C);
    RmCfg* config = nullptr;
    EXPECT_EQ(sim.manager->getConfig(&config), 0x0C);
    EXPECT_EQ(config, nullptr);
    EXPECT_TRUE(dynamic_cast<SnapShotRaidManager*>(sim.manager)->getDriveMixMatrix()->isBuilt());
    // Without a snapshot each call builds a list from the data access; the manager keeps
    // every one (with its drives) until the next refresh, so the caller only borrows them and
    // a list taken earlier stays valid. The sanitizer build's leak check holds the manager to it.
    ArrayList<PhysicalDevice*>* all = nullptr;
    ASSERT_EQ(sim.manager->getAllPds(&all), 0);
    EXPECT_EQ(all->count(), 8);
    ArrayList<PhysicalDevice*>* again = nullptr;
    ASSERT_EQ(sim.manager->getAllPds(&again), 0);
    EXPECT_NE(again, all);
    EXPECT_EQ(layouts::deviceIds(all), layouts::deviceIds(again));
    ASSERT_EQ(sim.manager->refresh(), 0);
    ASSERT_EQ(sim.manager->getAllPds(&all), 0);
    EXPECT_EQ(all->count(), 8);
}

TEST(Snapshot, MatrixCells)
{
    struct Case {
        const char* what;
        uint8_t flags[3];
        std::vector<std::vector<uint8_t>> cells;
    };
    const Case cases[] = {
        {"no mixing", {0, 0, 0}, {{1, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, 1, 0}, {0, 0, 0, 1}}},
        {"media mixing only", {1, 0, 0}, {{1, 0, 1, 1}, {0, 1, 1, 1}, {1, 1, 1, 0}, {1, 1, 0, 1}}},
        {"interface mixing only", {0, 1, 1}, {{1, 1, 0, 0}, {1, 1, 0, 0}, {0, 0, 1, 1}, {0, 0, 1, 1}}},
        {"rotating interfaces only", {0, 0, 1}, {{1, 1, 0, 0}, {1, 1, 0, 0}, {0, 0, 1, 0}, {0, 0, 0, 1}}},
        {"media flag 2 is no 1", {2, 0, 0}, {{1, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, 1, 0}, {0, 0, 0, 1}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        DriveMixMatrix matrix;
        matrix.build(c.flags[0], c.flags[1], c.flags[2]);
        matrix.build(1, 1, 1);   // built once: later flags change nothing
        std::vector<std::vector<uint8_t>> cells(4, std::vector<uint8_t>(4));
        for (uint8_t i = 0; i < 4; ++i)
            for (uint8_t j = 0; j < 4; ++j)
                cells[i][j] = matrix.isAllowed(i, j);
        EXPECT_EQ(cells, c.cells);
        EXPECT_EQ(matrix.isAllowed(4, 0), 0);
        EXPECT_EQ(matrix.allowsMediaMix(), c.flags[0]);
    }
}

// The matrix is the process's, built from the first controller refreshed: a second controller
// with other flags gets the same one, unchanged.
TEST(Snapshot, SecondControllerSharesTheFirstMatrix)
{
    layouts::ModelHost sim(
        [](sim::HostModel& m) {
            m.controllers.at(0).info.driveMixing = 0x00;
            m.controllers.at(1).info.driveMixing = 0x68;   // bits 6, 5, 3
        },
        false, "two");
    Controller* second = sim.controllers.controller(1);
    ASSERT_NE(second, nullptr);
    RaidManager* other = getRaidManager(second);
    ASSERT_EQ(sim.manager->refresh(), 0);
    DriveMixMatrix* matrix = dynamic_cast<SnapShotRaidManager*>(sim.manager)->getDriveMixMatrix();
    const uint8_t flags[3] = {matrix->allowsMediaMix(), matrix->allowsSsdInterfaceMix(), matrix->allowsHddInterfaceMix()};
    ASSERT_EQ(other->refresh(), 0);
    EXPECT_EQ(dynamic_cast<SnapShotRaidManager*>(other)->getDriveMixMatrix(), matrix);
    EXPECT_EQ(matrix->allowsMediaMix(), flags[0]);
    EXPECT_EQ(matrix->allowsSsdInterfaceMix(), flags[1]);
    EXPECT_EQ(matrix->allowsHddInterfaceMix(), flags[2]);
}

TEST(Snapshot, DriveMixOfDrives)
{
    // Drive 8 and 9 SAS rotating, 10 SATA solid state; 0x77 is no drive (its information
    // cannot be read).
    layouts::ModelHost sim(simhost::both(layouts::describe(layouts::emptyConfiguration()), layouts::drive(10, [](sim::Drive& d) {
        d.interface = "SATA";
        d.media = "SSD";
    })));
    ASSERT_EQ(sim.manager->refresh(), 0);
    PhysicalDevice* sas = sim.manager->getPdByDeviceId(8);
    PhysicalDevice* sas2 = sim.manager->getPdByDeviceId(9);
    PhysicalDevice* ssd = sim.manager->getPdByDeviceId(10);
    PhysicalDevice* missing = sim.manager->getPdByDeviceId(0x77);
    EXPECT_EQ(sim.manager->checkDriveMix(sas, sas2), 1);
    EXPECT_EQ(DriveMixMatrix::kindOf(sas), DriveMixMatrix::KIND_SAS_HDD);
    EXPECT_EQ(DriveMixMatrix::kindOf(ssd), DriveMixMatrix::KIND_OTHER_SSD);
    EXPECT_EQ(DriveMixMatrix::kindOf(missing), DriveMixMatrix::KIND_OTHER_SSD);

    ArrayList<PhysicalDevice*> list(4);
    EXPECT_EQ(sim.manager->checkDriveMixList(sas, &list), 1) << "an empty list";
    list.add(missing);
    list.add(sas2);
    EXPECT_EQ(sim.manager->checkDriveMixList(sas, &list), 1) << "the unreadable drive is skipped";
    list.add(ssd);
    EXPECT_EQ(sim.manager->checkDriveMixList(sas, &list), sim.manager->checkDriveMix(sas, ssd));
}

TEST(Snapshot, OnlyEnclosure)
{
    struct Case {
        const char* what;
        simhost::StateEdit edit;
        int status;
        uint16_t id;
    };
    const Case cases[] = {
        {"no enclosure", simhost::withEnclosures(0, {}), 0, ENCLOSURE_ID_NONE},
        {"two enclosures", simhost::withEnclosures(0, {252, 253}), 1, 0x1234},
        {"one enclosure and a drive attached directly",
         simhost::both(layouts::describe(layouts::emptyConfiguration()),
                       layouts::drive(9, [](sim::Drive& d) { d.enclosureId = 0xFFFF; })),
         2, 0x1234},
        {"one enclosure", layouts::describe(layouts::spannedRaid10()), 0, 252},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        layouts::ModelHost sim(c.edit);
        ASSERT_NE(sim.manager, nullptr);
        uint16_t id = 0x1234;
        EXPECT_EQ(sim.manager->getOnlyEnclosureId(&id), c.status);
        EXPECT_EQ(id, c.id);
    }
}

// Drives whose information cannot be read tell no enclosure, not "none": with one enclosure
// listed, the only enclosure is the list's.
TEST(Snapshot, OnlyEnclosureWhenNoDriveCanBeRead)
{
    layouts::ModelHost sim(
        simhost::both(layouts::describe(layouts::spannedRaid10()), simhost::withStatusFault(0x02020000, 3)));
    ASSERT_NE(sim.manager, nullptr);
    ASSERT_EQ(sim.manager->refresh(), 0);
    uint16_t id = 0x1234;
    EXPECT_EQ(sim.manager->getOnlyEnclosureId(&id), 0);
    EXPECT_EQ(id, 252);
}

TEST(Snapshot, VirtualDrivesOfTheSnapshotOrNew)
{
    layouts::ModelHost sim(simhost::both(layouts::describe(layouts::raid1Raid5WithSpares()), [](sim::HostModel& m) {
        m.controllers.at(0).lds.at(1).sequence = 9;
    }));
    ASSERT_EQ(sim.manager->refresh(), 0);
    ArrayList<VirtualDisk*>* vds = nullptr;
    ASSERT_EQ(sim.manager->getVds(&vds), 0);
    VdIdZpr one(1, VdIdZpr::SEQUENCE_UNKNOWN);
    VirtualDisk* vd = nullptr;
    ASSERT_EQ(sim.manager->getVd(&one, &vd), 0);
    EXPECT_EQ(vd, vds->get(1));
    EXPECT_EQ(one.getSequenceNumber(), 9);
    VdIdZpr unknown(9, VdIdZpr::SEQUENCE_UNKNOWN);
    vd = nullptr;
    EXPECT_EQ(sim.manager->getVd(&unknown, &vd), -1);
    EXPECT_EQ(vd, nullptr);
    uint8_t inConfig = 0;
    EXPECT_EQ(sim.manager->findTargetIdInConfig(1, 0, &inConfig), 0);
    EXPECT_EQ(inConfig, 1);
    EXPECT_EQ(sim.manager->findTargetIdInConfig(9, 0, &inConfig), 0);
    EXPECT_EQ(inConfig, 0);

    // A parsed buffer replaces the snapshot's configuration; the elements of the one replaced
    // stay usable until the next refresh.
    ZprConfigBuffer buffer;
    ASSERT_EQ(ZprData::instance(sim.controller)->readConfig(&buffer, 0), 0);
    VirtualDisk* old = vds->get(0);
    ASSERT_EQ(sim.manager->parseConfigBuffer(buffer), 0);
    ArrayList<VirtualDisk*>* parsed = nullptr;
    ASSERT_EQ(sim.manager->getVds(&parsed), 0);
    EXPECT_NE(parsed, vds);
    uint8_t level = 0;
    EXPECT_EQ(old->getPrimaryRaidLevel(&level), 0);
    EXPECT_EQ(level, 1);
    ASSERT_EQ(sim.manager->refresh(), 0);
}

} // namespace
