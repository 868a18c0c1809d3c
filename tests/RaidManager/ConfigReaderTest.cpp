// The configuration reader against simulated hosts whose configurations the tests lay out: the
// snapshot of disk groups, arrays, virtual drives, spans and spares built from the controller's
// configuration buffer, and the answers it refuses.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "PavUtil/IgnoreStatus.h"
#include "RaidManager/Array.h"
#include "RaidManager/DiskGroup.h"
#include "RaidManager/PhysicalDevice.h"
#include "RaidManager/RaidManager.h"
#include "RaidManager/RmCfg.h"
#include "RaidManager/Span.h"
#include "RaidManager/Spare.h"
#include "RaidManager/VirtualDisk.h"
#include "RaidManager/Zpr/ArrayDataZpr.h"
#include "RaidManager/Zpr/RmDataZpr.h"
#include "RaidManager/Zpr/ZprData.h"
#include "ConfigLayouts.h"
#include "SimHostFixture.h"

namespace {

const uint32_t CFG_READ = 0x04010000;

std::vector<uint16_t> refs(ArrayList<Array*>* arrays)
{
    std::vector<uint16_t> out;
    for (unsigned char i = 0; arrays != nullptr && i < arrays->count(); ++i)
        out.push_back(dynamic_cast<ArrayIdZpr*>(arrays->get(i)->getId())->getArrayRef());
    return out;
}

std::vector<unsigned> targetIds(ArrayList<VirtualDisk*>* vds)
{
    std::vector<unsigned> out;
    for (unsigned char i = 0; vds != nullptr && i < vds->count(); ++i)
        out.push_back(dynamic_cast<VdId*>(vds->get(i)->getId())->getTargetId());
    return out;
}

uint16_t deviceIdOf(Spare* spare)
{
    PhysicalDevice* pd = nullptr;
    uint16_t id = 0xFFFF;
    if (spare->getPd(&pd) == 0)
        ignoreStatus(pd->getDeviceId(&id), "an unread id keeps 0xFFFF, which the expectations name");
    return id;
}

ArrayList<PhysicalDevice*>* pdsOf(Array* array)
{
    ArrayList<PhysicalDevice*>* list = nullptr;
    ignoreStatus(array->getPdList(&list), "a missing list shows as an empty result");
    return list;
}

ArrayList<VirtualDisk*>* vdsOf(Array* array)
{
    ArrayList<VirtualDisk*>* list = nullptr;
    ignoreStatus(array->getVdList(&list), "a missing list shows as an empty result");
    return list;
}

ArrayList<Array*>* arraysOf(DiskGroup* group)
{
    ArrayList<Array*>* list = nullptr;
    ignoreStatus(group->getArrays(&list), "a missing list shows as an empty result");
    return list;
}

ArrayList<Span*>* spansOf(VirtualDisk* vd)
{
    ArrayList<Span*>* list = nullptr;
    ignoreStatus(vd->getSpans(&list), "a missing list shows as an empty result");
    return list;
}

std::unique_ptr<RmCfg> read(layouts::ModelHost& sim, int expected = 0)
{
    RmCfg* cfg = nullptr;
    EXPECT_EQ(sim.rmData->readConfig(&cfg), expected);
    return std::unique_ptr<RmCfg>(cfg);
}

TEST(ConfigReader, MirrorAndParityDrivesWithDedicatedAndGlobalSpares)
{
    layouts::ModelHost sim(layouts::describe(layouts::raid1Raid5WithSpares()));
    ASSERT_NE(sim.rmData, nullptr);
    std::unique_ptr<RmCfg> cfg = read(sim);
    ASSERT_NE(cfg, nullptr);

    // Each logical drive brings its array in first: two disk groups.
    ASSERT_EQ(cfg->getDiskGroups()->count(), 2);
    EXPECT_EQ(refs(arraysOf(cfg->getDiskGroups()->get(0))), (std::vector<uint16_t>{0}));
    EXPECT_EQ(refs(arraysOf(cfg->getDiskGroups()->get(1))), (std::vector<uint16_t>{1}));
    ASSERT_EQ(refs(cfg->getArrays()), (std::vector<uint16_t>{0, 1}));
    Array* mirror = cfg->getArrays()->get(0);
    Array* parity = cfg->getArrays()->get(1);
    EXPECT_EQ(layouts::deviceIds(pdsOf(mirror)), (std::vector<uint16_t>{8, 9}));
    EXPECT_EQ(layouts::deviceIds(pdsOf(parity)), (std::vector<uint16_t>{10, 11, 12}));
    EXPECT_EQ(targetIds(vdsOf(mirror)), (std::vector<unsigned>{0}));
    EXPECT_EQ(targetIds(vdsOf(parity)), (std::vector<unsigned>{1}));
    Array* memberOf = nullptr;
    ASSERT_EQ(pdsOf(parity)->get(0)->getArray(&memberOf), 0);
    EXPECT_EQ(memberOf, parity);

    ASSERT_EQ(targetIds(cfg->getVds()), (std::vector<unsigned>{0, 1}));
    ArrayList<Span*>* spans = spansOf(cfg->getVds()->get(1));
    ASSERT_NE(spans, nullptr);
    ASSERT_EQ(spans->count(), 1);
    Array* under = nullptr;
    ASSERT_EQ(spans->get(0)->getArray(&under), 0);
    EXPECT_EQ(under, parity);

    // The global spare is listed by the snapshot; the dedicated one only by its array.
    ASSERT_EQ(cfg->getSpares()->count(), 1);
    Spare* global = cfg->getSpares()->get(0);
    EXPECT_EQ(deviceIdOf(global), 14);
    ArrayList<Array*>* served = nullptr;
    EXPECT_EQ(global->getArrays(&served), -1);
    ArrayList<Spare*>* dedicated = nullptr;
    ASSERT_EQ(parity->getSpares(&dedicated), 0);
    ASSERT_NE(dedicated, nullptr);
    ASSERT_EQ(dedicated->count(), 1);
    EXPECT_EQ(deviceIdOf(dedicated->get(0)), 13);
    ASSERT_EQ(dedicated->get(0)->getArrays(&served), 0);
    EXPECT_EQ(refs(served), (std::vector<uint16_t>{1}));
    PhysicalDevice* spareDrive = nullptr;
    ASSERT_EQ(dedicated->get(0)->getPd(&spareDrive), 0);
    EXPECT_EQ(spareDrive->getSpare(), dedicated->get(0));
    ArrayList<Spare*>* none = nullptr;
    EXPECT_EQ(mirror->getSpares(&none), 0);
    EXPECT_EQ(none, nullptr);
}

// Which disk groups and arrays a layout gives: a drive over two spans brings both arrays into
// one group; a second drive on an array that exists adds no group; an array that no span names
// is not read.
TEST(ConfigReader, DiskGroupsFollowTheDriveThatBringsTheArraysIn)
{
    struct Case {
        const char* what;
        layouts::Layout layout;
        std::vector<std::vector<uint16_t>> groups;   // array references per disk group
        std::vector<std::vector<unsigned>> vdsPerArray;
        std::vector<unsigned> spansPerVd;
    };
    layouts::Layout sharing;
    sharing.drives = 2;
    sharing.arrays = {{0, {8, 9}}};
    sharing.lds = {{0, 1, {0}}, {1, 1, {0}}};
    layouts::Layout unused;
    unused.drives = 4;
    unused.arrays = {{0, {8, 9}}, {1, {10, 11}}};
    unused.lds = {{0, 1, {0}}};
    layouts::Layout mixed;   // the second drive spans an existing and a new array
    mixed.drives = 4;
    mixed.arrays = {{0, {8, 9}}, {1, {10, 11}}};
    mixed.lds = {{0, 1, {0}}, {1, 1, {0, 1}}};
    const Case cases[] = {
        {"spanned", layouts::spannedRaid10(), {{0, 1}}, {{0}, {0}}, {2}},
        {"two drives on one array", sharing, {{0}}, {{0, 1}}, {1, 1}},
        {"array of no span", unused, {{0}}, {{0}}, {1}},
        {"existing and new array", mixed, {{0}, {1}}, {{0, 1}, {1}}, {1, 2}},
        {"empty", layouts::emptyConfiguration(), {}, {}, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        layouts::ModelHost sim(layouts::describe(c.layout));
        ASSERT_NE(sim.rmData, nullptr);
        std::unique_ptr<RmCfg> cfg = read(sim);
        ASSERT_NE(cfg, nullptr);
        std::vector<std::vector<uint16_t>> groups;
        for (unsigned char g = 0; g < cfg->getDiskGroups()->count(); ++g)
            groups.push_back(refs(arraysOf(cfg->getDiskGroups()->get(g))));
        EXPECT_EQ(groups, c.groups);
        std::vector<std::vector<unsigned>> vdsPerArray;
        for (unsigned char a = 0; a < cfg->getArrays()->count(); ++a)
            vdsPerArray.push_back(targetIds(vdsOf(cfg->getArrays()->get(a))));
        EXPECT_EQ(vdsPerArray, c.vdsPerArray);
        std::vector<unsigned> spansPerVd;
        for (unsigned char v = 0; v < cfg->getVds()->count(); ++v)
            spansPerVd.push_back(spansOf(cfg->getVds()->get(v))->count());
        EXPECT_EQ(spansPerVd, c.spansPerVd);
        EXPECT_EQ(cfg->getSpares()->count(), 0);
    }
}

// A dedicated spare whose array no logical drive uses ends the read with -1, and nothing is
// handed out; the drives are left without links into the snapshot given up.
TEST(ConfigReader, DedicatedSpareOfAnArrayOutsideTheConfigurationIsRefused)
{
    layouts::Layout l;
    l.drives = 5;
    l.arrays = {{0, {8, 9}}, {1, {10, 11}}};
    l.lds = {{0, 1, {0}}};
    l.spares = {{12, {1}}};
    layouts::ModelHost sim(layouts::describe(l));
    ASSERT_NE(sim.rmData, nullptr);
    RmCfg* cfg = reinterpret_cast<RmCfg*>(0x1);
    EXPECT_EQ(sim.rmData->readConfig(&cfg), -1);
    EXPECT_EQ(cfg, reinterpret_cast<RmCfg*>(0x1));
    Array* memberOf = reinterpret_cast<Array*>(0x1);
    EXPECT_EQ(sim.rmData->getPdByDeviceId(8)->getArray(&memberOf), 0);
    EXPECT_EQ(memberOf, nullptr);
    EXPECT_EQ(sim.rmData->getPdByDeviceId(12)->getSpare(), nullptr);
}

// The foreign flag gives the drives of the arrays their states from the buffer and marks those
// whose sequence number there is 0; without the flag nothing is marked.
TEST(ConfigReader, ForeignFlagMarksOutdatedDrives)
{
    layouts::ModelHost sim(simhost::both(layouts::describe(layouts::spannedRaid10()), [](sim::HostModel& m) {
        m.controllers.at(0).drives.at(1).sequence = 0;   // drive 9
    }));
    ASSERT_NE(sim.rmData, nullptr);
    ZprConfigBuffer buffer;
    ASSERT_EQ(ZprData::instance(sim.controller)->readConfig(&buffer, 0), 0);
    for (uint8_t foreign : {0, 1}) {
        SCOPED_TRACE(foreign);
        RmCfg* cfg = nullptr;
        ASSERT_EQ(sim.rmData->parseConfig(buffer, &cfg, foreign), 0);
        std::unique_ptr<RmCfg> owned(cfg);
        EXPECT_EQ(sim.rmData->getPdByDeviceId(8)->isOutdated(), 0);
        EXPECT_EQ(sim.rmData->getPdByDeviceId(9)->isOutdated(), foreign);
        uint16_t state = 0;
        EXPECT_EQ(sim.rmData->getPdByDeviceId(10)->getForeignState(&state), 0);
        EXPECT_EQ(state, foreign == 1 ? 0x18 : 0xFFFF);
    }
}

// Counts inside records beyond their room are clamped (array drives 32, spans 8, spare array
// references 16), so nothing is read past a record; a buffer whose header does not match its
// records is refused.
TEST(ConfigReader, CorruptAnswersAreClampedOrRefused)
{
    // The RAID 1 and RAID 5 layout: arrays at 32 and 320, logical drives at 608 and 864,
    // spares at 1120 (dedicated) and 1160.
    struct Case {
        const char* what;
        uint32_t offset;
        sim::Bytes data;
        int status;
        unsigned mirrorDrives;   // drive entries read for array 0
        unsigned firstVdSpans;
        unsigned dedicatedServes;
    };
    const Case cases[] = {
        {"array drive count 200", 32 + 8, {200}, 0, 32, 1, 1},
        {"span count 200", 608 + 37, {200}, 0, 2, 8, 1},
        {"spare reference count 200", 1120 + 7, {200}, 0, 2, 1, 16},
        {"logical-drive count beyond the buffer", 8, {3, 0}, -1, 0, 0, 0},
        {"array record size 24", 6, {24, 0}, -1, 0, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        layouts::ModelHost sim(simhost::both(layouts::describe(layouts::raid1Raid5WithSpares()), [&c](sim::HostModel& m) {
            sim::Fault f;
            f.type = sim::FaultType::CORRUPT;
            f.opcode = CFG_READ;
            f.offset = c.offset;
            f.data = c.data;
            m.faults.push_back(f);
        }));
        ASSERT_NE(sim.rmData, nullptr);
        std::unique_ptr<RmCfg> cfg = read(sim, c.status);
        if (c.status != 0) {
            EXPECT_EQ(cfg, nullptr);
            continue;
        }
        ASSERT_NE(cfg, nullptr);
        Array* mirror = cfg->getArrays()->get(0);
        EXPECT_EQ(pdsOf(mirror)->count(), c.mirrorDrives);
        EXPECT_EQ(spansOf(cfg->getVds()->get(0))->count(), c.firstVdSpans);
        ArrayList<Spare*>* dedicated = nullptr;
        Array* parity = RmDataZpr::findArrayByRef(cfg->getArrays(), 1);
        ASSERT_NE(parity, nullptr);
        ASSERT_EQ(parity->getSpares(&dedicated), 0);
        ArrayList<Array*>* served = nullptr;
        ASSERT_EQ(dedicated->get(0)->getArrays(&served), 0);
        EXPECT_EQ(served->count(), c.dedicatedServes);
    }
}

// Every refresh rebuilds the drive cache and the snapshot read after it; reading again and
// again, and a new manager after the release, leave nothing behind (run under the sanitizers).
TEST(ConfigReader, RepeatedReadsAndANewManager)
{
    layouts::ModelHost sim(layouts::describe(layouts::raid1Raid5WithSpares()));
    ASSERT_NE(sim.rmData, nullptr);
    for (int round = 0; round < 3; ++round) {
        ASSERT_EQ(sim.manager->refresh(), 0);
        std::unique_ptr<RmCfg> cfg = read(sim);
        ASSERT_NE(cfg, nullptr);
        EXPECT_EQ(cfg->getVds()->count(), 2);
    }
    releaseRaidManagers();
    RaidManager* again = getRaidManager(sim.controller);
    ASSERT_NE(again, nullptr);
    ASSERT_EQ(again->refresh(), 0);
    RmCfg* cfg = nullptr;
    ASSERT_EQ(again->getRmData()->readConfig(&cfg), 0);
    EXPECT_EQ(targetIds(cfg->getVds()), (std::vector<unsigned>{0, 1}));
    delete cfg;
}

// An array writes its size back into its record and sends the record; the controller keeps it.
// Without a record there is nothing to write.
TEST(ConfigReader, ArraySizeIsWrittenBackThroughItsRecord)
{
    layouts::ModelHost sim(simhost::both(layouts::describe(layouts::spannedRaid10()), [](sim::HostModel& m) {
        m.controllers.at(0).arrays.at(0).sizeBlocks = 0x200000;
    }));
    ASSERT_NE(sim.rmData, nullptr);
    std::unique_ptr<RmCfg> cfg = read(sim);
    ASSERT_NE(cfg, nullptr);
    Array* first = cfg->getArrays()->get(0);
    uint64_t blocks = 0;
    ASSERT_EQ(first->getSize(&blocks), 0);
    EXPECT_EQ(blocks, 0x200000u);
    EXPECT_EQ(first->setSizeToSmallestPd(), 0);
    EXPECT_EQ(sim.host.count(0x04060000), 1u);
    ZprConfigBuffer reread;
    ASSERT_EQ(ZprData::instance(sim.controller)->readConfig(&reread, 1), 0);
    EXPECT_EQ(reread.arrayRecord(0).sizeBlocks(), 1952448512u);

    ArrayDataZpr unrecorded(nullptr, new ArrayIdZpr(3));
    uint8_t none = 0;
    EXPECT_EQ(unrecorded.hasNoRecord(&none), 0);
    EXPECT_EQ(none, 1);
    EXPECT_EQ(unrecorded.setSize(0x1000), -1);
    EXPECT_EQ(unrecorded.getSize(&blocks), -1);
    EXPECT_STREQ(unrecorded.toString().c_str(), "Span Reference: 0x03\n");
}

} // namespace
