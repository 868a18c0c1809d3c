// Adding planned logical drives to simulated hosts: the config-add buffers built from plans on
// fresh drives and on free space, what the controller keeps of them, the operating-system
// step, and the cache-policy byte of a plan.
#include <gtest/gtest.h>

#include <memory>
#include <set>
#include <string>
#include <vector>

#include "RaidManager/Array.h"
#include "RaidManager/DiskGroup.h"
#include "RaidManager/PhysicalDevice.h"
#include "RaidManager/RaidElementId.h"
#include "RaidManager/UnConfiguredVd.h"
#include "RaidManager/VirtualDisk.h"
#include "RaidManager/Zpr/RmDataZpr.h"
#include "RaidManager/Zpr/Records/Config/ZprConfigBuffer.h"
#include "SpaceLayouts.h"
#include "Simulator/SimHost.h"
#include "Simulator/SimState.h"

using simhost::both;

namespace {

const uint32_t CFG_ADD = 0x04020000;
const uint64_t M = 0x100000;

const sim::Controller& state(simhost::SimHostFixture& host) { return host.host().state().model().controllers.at(0); }

// A plan on the host's fresh drives: `spans` spans of `perSpan` candidates in candidate order
// (the span lists and the new identifier are the plan holder's).
struct FreshAdd {
    layouts::ModelHost m;
    UnCfgdVdOnFreshPd* plan = nullptr;
    ArrayList<PhysicalDevice*>* candidates = nullptr;
    ArrayList<ArrayList<PhysicalDevice*>*> spans{4};
    std::vector<std::unique_ptr<ArrayList<PhysicalDevice*>>> owned;

    FreshAdd(const simhost::StateEdit& edit, uint8_t level, unsigned spanCount, unsigned perSpan) : m(edit)
    {
        plan = UnCfgdVdOnFreshPd::create(m.controller);
        if (plan == nullptr || plan->getCandidateDrives(&candidates) != 0)
            return;
        EXPECT_EQ(plan->setRaidLevel(level), 0);
        EXPECT_EQ(plan->setStripSize(7), 0);
        EXPECT_EQ(plan->setDrivesPerSpan(static_cast<uint8_t>(perSpan)), 0);
        for (unsigned s = 0; s < spanCount; ++s) {
            owned.emplace_back(new ArrayList<PhysicalDevice*>(4));
            for (unsigned d = 0; d < perSpan; ++d)
                owned.back()->add(candidates->get(static_cast<unsigned char>(s * perSpan + d)));
            spans.add(owned.back().get());
        }
        *plan->getSpans() = &spans;
    }
    ~FreshAdd()
    {
        keepId();
        for (VdId* id : ids)
            delete id;
        delete plan;
    }
    // Each build hands the plan a new identifier, which the plan's holder deletes.
    void keepId()
    {
        if (plan != nullptr && plan->getVdId() != nullptr)
            ids.insert(plan->getVdId());
    }
    std::set<VdId*> ids;
    uint64_t maximum()
    {
        uint64_t size = 0;
        EXPECT_EQ(plan->getMaximumSize(&size), 0);
        return size;
    }
    // The buffer the builder makes for the plan as it stands.
    std::vector<uint8_t> build()
    {
        uint8_t* buffer = nullptr;
        uint32_t size = 0;
        int status = m.rmData->buildVdOnFreshPds(plan, &buffer, &size);
        keepId();
        EXPECT_EQ(status, 0);
        std::vector<uint8_t> out(buffer, buffer + (status == 0 ? size : 0));
        delete[] buffer;
        return out;
    }
};

simhost::StateEdit freshDrives(unsigned count)
{
    return layouts::describe(layouts::Layout{count, {}, {}, {}});
}

}  // namespace

TEST(ConfigAdd, MirrorOfMoreThanTwoDrivesIsLevelSeventeen)
{
    struct Case {
        const char* what;
        unsigned drives;
        uint8_t recordLevel;
    } cases[] = {
        {"two drives", 2, 1},
        {"four drives", 4, 17},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        // A controller whose mirrors take up to 32 drives.
        FreshAdd a(both(freshDrives(4), [](sim::HostModel& m) { m.controllers.at(0).info.driveLimits.raid1.max = 32; }),
                   UnConfiguredVd::LEVEL_RAID1, 1, c.drives);
        ASSERT_NE(a.plan, nullptr);
        EXPECT_EQ(a.plan->setRequestedSize(a.maximum()), 0);
        EXPECT_EQ(a.plan->setName("mirror"), 0);
        ASSERT_EQ(a.m.manager->addVdOnFreshPds(a.plan), 0);
        const sim::Controller& after = state(a.m.host);
        ASSERT_EQ(after.lds.size(), 1u);
        EXPECT_EQ(after.lds[0].raidLevel, c.recordLevel);
        EXPECT_EQ(after.lds[0].name, "mirror");
        EXPECT_EQ(after.lds[0].drivesPerSpan, c.drives);
        ASSERT_EQ(after.arrays.size(), 1u);
        EXPECT_EQ(after.arrays[0].ref, 0);
        EXPECT_EQ(after.arrays[0].drives.size(), c.drives);
        VdIdZpr* id = dynamic_cast<VdIdZpr*>(a.plan->getVdId());
        ASSERT_NE(id, nullptr);
        EXPECT_EQ(id->getTargetId(), 0);

        // A later listing shows the drive.
        ASSERT_EQ(a.m.manager->refresh(), 0);
        ArrayList<VirtualDisk*>* vds = nullptr;
        ASSERT_EQ(a.m.manager->getVds(&vds), 0);
        EXPECT_EQ(vds->count(), 1);
    }
}

TEST(ConfigAdd, SpannedRaidFiveSpansBelowOrAtTheMaximum)
{
    // Two spans of three drives of 1000100 blocks, strips of 128: a full span takes 1000064.
    FreshAdd a(both(freshDrives(6), [](sim::HostModel& m) {
                   for (sim::Drive& d : m.controllers.at(0).drives)
                       d.coercedBlocks = 1000100;
               }),
               UnConfiguredVd::LEVEL_SPANNED_RAID5, 2, 3);
    ASSERT_NE(a.plan, nullptr);
    struct Case {
        const char* what;
        uint64_t request;
        uint64_t spanBlocks;
    } cases[] = {
        {"1000 blocks: (1000 / 2) / 2 each", 1000, 250},
        {"the maximum: the aligned smallest drive", a.maximum(), 1000064},
        {"above the maximum: the same", a.maximum() + 5, 1000064},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(a.plan->setRequestedSize(c.request), 0);
        std::vector<uint8_t> bytes = a.build();
        ZprConfigBuffer buffer(bytes.data(), bytes.size());
        ASSERT_EQ(buffer.checkLayout(), ZprConfigBuffer::LAYOUT_OK);
        ASSERT_EQ(buffer.arrayCount(), 2);
        ZprLdRecord ld = buffer.ldRecord(0);
        EXPECT_EQ(ld.primaryRaidLevel(), 5);
        EXPECT_EQ(ld.raidQualifier(), 3);
        EXPECT_EQ(ld.spanCount(), 2);
        EXPECT_EQ(ld.drivesPerSpan(), 3);
        for (uint32_t k = 0; k < 2; ++k) {
            EXPECT_EQ(ld.span(k).startBlock(), 0u);
            EXPECT_EQ(ld.span(k).blockCount(), c.spanBlocks);
            EXPECT_EQ(ld.span(k).arrayRef(), k);
            EXPECT_EQ(buffer.arrayRecord(k).sizeBlocks(), 1000064u);
            EXPECT_EQ(buffer.arrayRecord(k).drive(0).state(), 0x18);
        }
    }
}

TEST(ConfigAdd, NewArraysFollowTheExistingOnesAndTheLowestFreeTargetIdIsTaken)
{
    // Three arrays in use by target ids 0, 2 and 5: new arrays 3 and 4, target id 1.
    layouts::Layout l;
    l.drives = 8;
    l.arrays = {{0, {8}}, {1, {9}}, {2, {10}}};
    l.lds = {{0, 0, {0}}, {2, 0, {1}}, {5, 0, {2}}};
    FreshAdd a(layouts::describe(l), UnConfiguredVd::LEVEL_SPANNED_RAID1, 2, 2);
    ASSERT_NE(a.plan, nullptr);
    EXPECT_EQ(a.plan->setRequestedSize(a.maximum()), 0);
    std::vector<uint8_t> bytes = a.build();
    ZprConfigBuffer buffer(bytes.data(), bytes.size());
    ASSERT_EQ(buffer.checkLayout(), ZprConfigBuffer::LAYOUT_OK);
    EXPECT_EQ(buffer.arrayRecord(0).arrayRef(), 3);
    EXPECT_EQ(buffer.arrayRecord(1).arrayRef(), 4);
    EXPECT_EQ(buffer.ldRecord(0).targetId(), 1);
}

TEST(ConfigAdd, ReservedTargetIdIsPassedOver)
{
    // Ids 0 and 1 in use, 2 reserved on a controller with snapshots: the new drive is 3.
    layouts::Layout l;
    l.drives = 4;
    l.arrays = {{0, {8}}, {1, {9}}};
    l.lds = {{0, 0, {0}}, {1, 0, {1}}};
    FreshAdd a(both(layouts::describe(l),
                    [](sim::HostModel& m) {
                        m.controllers.at(0).info.storageFeatures = 0x40;
                        m.controllers.at(0).reservedTargetIds = {2};
                    }),
               UnConfiguredVd::LEVEL_RAID1, 1, 2);
    ASSERT_NE(a.plan, nullptr);
    EXPECT_EQ(a.plan->setRequestedSize(a.maximum()), 0);
    ASSERT_EQ(a.m.manager->addVdOnFreshPds(a.plan), 0);
    ASSERT_EQ(state(a.m.host).lds.size(), 3u);
    EXPECT_EQ(state(a.m.host).lds[2].targetId, 3);
}

TEST(ConfigAdd, AnSsdCacheIsAddedWithoutTheOsStep)
{
    struct Case {
        const char* what;
        uint8_t ssdCache;
        bool osStep;
    } cases[] = {
        {"a plain drive is made visible", 0, true},
        {"an SSD cache is not", 1, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        FreshAdd a(freshDrives(2), UnConfiguredVd::LEVEL_RAID0, 1, 2);
        ASSERT_NE(a.plan, nullptr);
        EXPECT_EQ(a.plan->setRequestedSize(a.maximum()), 0);
        EXPECT_EQ(a.plan->setParameter58(c.ssdCache), 0);
        a.m.host.clearCommands();
        ASSERT_EQ(a.m.manager->addVdOnFreshPds(a.plan), 0);
        std::vector<uint32_t> sent = a.m.host.opcodes();
        ASSERT_FALSE(sent.empty());
        EXPECT_EQ(sent.back() != CFG_ADD, c.osStep);
        EXPECT_EQ(state(a.m.host).lds.at(0).sscCache, c.ssdCache);
    }
}

TEST(ConfigAdd, ARequestThePlanRefusesSendsNothing)
{
    FreshAdd a(freshDrives(2), UnConfiguredVd::LEVEL_RAID0, 1, 2);
    ASSERT_NE(a.plan, nullptr);
    EXPECT_EQ(a.plan->setRequestedSize(a.maximum() + 1), 0);
    a.m.host.clearCommands();
    EXPECT_EQ(a.m.manager->addVdOnFreshPds(a.plan), -1);
    EXPECT_EQ(a.m.host.count(CFG_ADD), 0u);
    EXPECT_TRUE(state(a.m.host).lds.empty());
}

TEST(ConfigAdd, CachePolicyByteFromThePlan)
{
    struct Case {
        const char* what;
        uint8_t devicesPresent;   // bit 4: cache memory
        uint8_t read, write, io, badBattery;
        uint8_t policy;
    } cases[] = {
        {"adaptive read, write code 3, cached I/O, with cache memory", 0x35, 1, 3, 0, 0, 0x7D},
        {"the same without cache memory", 0x25, 1, 3, 0, 0, 0x1D},
        {"read-ahead, write-back, direct I/O, keep on bad battery", 0x35, 0, 0, 1, 1, 0x15},
        {"no read-ahead, write-through, cached I/O", 0x35, 2, 1, 0, 0, 0x60},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        FreshAdd a(both(freshDrives(2), [&c](sim::HostModel& m) { m.controllers.at(0).info.devicesPresent = c.devicesPresent; }),
                   UnConfiguredVd::LEVEL_RAID0, 1, 2);
        ASSERT_NE(a.plan, nullptr);
        EXPECT_EQ(a.plan->setParameter28(c.read), 0);
        EXPECT_EQ(a.plan->setParameter29(c.write), 0);
        EXPECT_EQ(a.plan->setParameter27(c.io), 0);
        EXPECT_EQ(a.plan->setParameter30(c.badBattery), 0);
        uint8_t policy = 0;
        ASSERT_EQ(a.m.rmData->cachePolicyFromPlan(a.plan, &policy), 0);
        EXPECT_EQ(policy, c.policy);
    }
}

TEST(ConfigAdd, OnTheFreeSpaceOfADiskGroup)
{
    // A RAID 1 over arrays 0 and 1 (spans of M blocks from 0), arrays of 3 M: M free on each.
    layouts::ModelHost m(space::layout(4, {{0, {8, 9}, 3 * M}, {1, {10, 11}, 3 * M}},
                                       {{0, 1, 2, {{0, 0, M}, {1, 0, M}}}, {1, 1, 2, {{0, M, M}, {1, M, M}}}}));
    ArrayList<DiskGroup*>* groups = nullptr;
    ASSERT_EQ(m.manager->getDiskGroups(&groups), 0);
    UnCfgdVdOnFreeSpOnPd* plan = UnCfgdVdOnFreeSpOnPd::create(m.controller, groups->get(0));
    ASSERT_NE(plan, nullptr);
    ArrayList<ArraySpaceInfo*>* extents = nullptr;
    ASSERT_EQ(plan->getFreeExtents(&extents), 0);
    ASSERT_EQ(extents->count(), 1);
    ArrayList<unsigned char>* levels = nullptr;
    ASSERT_EQ(plan->getPossibleRaidLevels(&levels), 0);
    EXPECT_EQ(plan->setRaidLevel(levels->get(0)), 0);
    delete levels;
    EXPECT_EQ(plan->setStripSize(7), 0);
    EXPECT_EQ(plan->setExtent(extents->get(0)), 0);
    // A quarter of the room: M blocks per array, M / 2 on each drive pair.
    EXPECT_EQ(plan->setRequestedSize(M), 0);
    uint64_t size = 0;
    ASSERT_EQ(plan->getVdSize(&size), 0);
    EXPECT_EQ(plan->setRequestedSize(size), 0);
    EXPECT_EQ(m.manager->addVdOnFreeSpace(plan), 0);
    delete plan->getVdId();
    delete extents->get(0);
    delete extents;
    delete plan;

    const sim::Controller& after = state(m.host);
    ASSERT_EQ(after.lds.size(), 3u);
    ASSERT_EQ(after.arrays.size(), 2u);
    const sim::LogicalDrive& added = after.lds[2];
    EXPECT_EQ(added.targetId, 2);
    ASSERT_EQ(added.spans.size(), 2u);
    for (unsigned k = 0; k < 2; ++k) {
        EXPECT_EQ(added.spans[k].array, k);
        EXPECT_EQ(added.spans[k].startBlock, 2 * M);
        EXPECT_EQ(added.spans[k].blockCount.value_or(0), M / 2);
    }
}
