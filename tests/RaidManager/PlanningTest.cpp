// The plans of new virtual drives over simulated hosts: the candidates and levels of a plan on
// unconfigured drives, its span checks and sizes; the level, extents and sizes of a plan on a
// disk group's free space.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "PavUtil/IgnoreStatus.h"
#include "RaidManager/Array.h"
#include "RaidManager/DiskGroup.h"
#include "RaidManager/PhysicalDevice.h"
#include "RaidManager/UnConfiguredVd.h"
#include "SpaceLayouts.h"

using simhost::both;
using space::LdAt;

namespace {

std::vector<unsigned> levelsOf(ArrayList<unsigned char>* list)
{
    std::vector<unsigned> out;
    for (unsigned char i = 0; list != nullptr && i < list->count(); ++i)
        out.push_back(list->get(i));
    delete list;
    return out;
}

// Every drive of the host `coerced` blocks large.
simhost::StateEdit driveSizes(uint64_t coerced)
{
    return [coerced](sim::HostModel& model) {
        for (sim::Drive& d : model.controllers.at(0).drives)
            d.coercedBlocks = coerced;
    };
}

// The plan's spans: `perSpan` candidates each, in candidate order. The lists are the test's.
struct Spans {
    ArrayList<ArrayList<PhysicalDevice*>*> spans{4};
    std::vector<ArrayList<PhysicalDevice*>*> owned;

    Spans(ArrayList<PhysicalDevice*>* candidates, unsigned count, unsigned perSpan)
    {
        for (unsigned s = 0; s < count; ++s) {
            owned.push_back(new ArrayList<PhysicalDevice*>(4));
            for (unsigned d = 0; d < perSpan; ++d)
                owned.back()->add(candidates->get(static_cast<unsigned char>(s * perSpan + d)));
            spans.add(owned.back());
        }
    }
    ~Spans()
    {
        for (auto* l : owned)
            delete l;
    }
};

// A plan on the host's fresh drives with its candidates loaded.
struct FreshPlan {
    explicit FreshPlan(const simhost::StateEdit& edit) : m(edit)
    {
        plan = UnCfgdVdOnFreshPd::create(m.controller);
        if (plan != nullptr)
            status = plan->getCandidateDrives(&candidates);
    }
    ~FreshPlan() { delete plan; }

    layouts::ModelHost m;
    UnCfgdVdOnFreshPd* plan = nullptr;
    ArrayList<PhysicalDevice*>* candidates = nullptr;
    int status = -1;
};

}  // namespace

TEST(FreshPlan, RaidFiveOfFourDrivesSizesAlignedToStrips)
{
    // Drives of 1000100 blocks, strips of 128 blocks: 1000064 blocks per drive, 3 of data.
    FreshPlan p(both(layouts::describe(layouts::emptyConfiguration()), driveSizes(1000100)));
    ASSERT_NE(p.plan, nullptr);
    ASSERT_EQ(p.status, 0);
    ASSERT_EQ(p.candidates->count(), 4);
    EXPECT_EQ(p.plan->setStripSize(7), 0);
    EXPECT_EQ(p.plan->setRaidLevel(UnConfiguredVd::LEVEL_RAID5), 0);
    Spans spans(p.candidates, 1, 4);
    *p.plan->getSpans() = &spans.spans;
    uint64_t maximum = 0;
    ASSERT_EQ(p.plan->getMaximumSize(&maximum), 0);
    EXPECT_EQ(maximum, 3000192u);

    struct Case {
        const char* what;
        uint64_t request;
        uint64_t size;       // what getVdSize gives
        int validStatus;
        uint8_t valid;
    } cases[] = {
        {"the maximum is taken as it is", 3000192, 3000192, 0, 1},
        {"a little above the maximum fits to it, and is refused", 3000292, 3000192, -1, 0},
        {"below the smallest drive: fitted as 204800", 1000, 204672, -1, 0},
        {"204800 itself", 204800, 204672, -1, 0},
        {"a whole number of stripes", 204672, 204672, 0, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(p.plan->setRequestedSize(c.request), 0);
        uint64_t size = 0;
        ASSERT_EQ(p.plan->getVdSize(&size), 0);
        EXPECT_EQ(size, c.size);
        uint8_t valid = 9;
        EXPECT_EQ(p.plan->isSizeValid(&valid), c.validStatus);
        EXPECT_EQ(valid, c.valid);
    }
}

TEST(FreshPlan, SpannedLevelWithoutDrivesPerSpanHasNoSizeYet)
{
    // Judging the layout needs the drives per span; without them there is no maximum to give.
    FreshPlan p(layouts::describe(layouts::emptyConfiguration()));
    ASSERT_EQ(p.status, 0);
    EXPECT_EQ(p.plan->setRaidLevel(UnConfiguredVd::LEVEL_SPANNED_RAID1), 0);
    Spans spans(p.candidates, 2, 2);
    *p.plan->getSpans() = &spans.spans;
    uint8_t valid = 9;
    EXPECT_EQ(p.plan->isSpanLayoutValid(&valid), 0);
    EXPECT_EQ(valid, 0);
    uint64_t size = 12345;
    EXPECT_EQ(p.plan->getMaximumSize(&size), -1);
    EXPECT_EQ(p.plan->setRequestedSize(300000), 0);
    EXPECT_EQ(p.plan->getVdSize(&size), -1);
    EXPECT_EQ(size, 12345u);
    EXPECT_EQ(p.plan->setDrivesPerSpan(2), 0);
    EXPECT_EQ(p.plan->isSpanLayoutValid(&valid), 0);
    EXPECT_EQ(valid, 1);
}

TEST(FreshPlan, SpanLayoutChecksTheLevelsLimits)
{
    FreshPlan p(layouts::describe(layouts::emptyConfiguration()));
    ASSERT_EQ(p.status, 0);
    struct Case {
        const char* what;
        uint8_t level;
        unsigned spans, perSpan;
        uint8_t drivesPerSpan;
        int status;
    } cases[] = {
        {"RAID 1 of two", UnConfiguredVd::LEVEL_RAID1, 1, 2, 0, 0},
        {"RAID 1 of three is odd", UnConfiguredVd::LEVEL_RAID1, 1, 3, 0, -1},
        {"RAID 5 of two is too few", UnConfiguredVd::LEVEL_RAID5, 1, 2, 0, -1},
        {"RAID 0 in two spans", UnConfiguredVd::LEVEL_RAID0, 2, 2, 0, -1},
        {"RAID 10 of two spans of two", UnConfiguredVd::LEVEL_SPANNED_RAID1, 2, 2, 2, 0},
        {"RAID 10 with another drives-per-span count", UnConfiguredVd::LEVEL_SPANNED_RAID1, 2, 2, 4, -1},
        {"RAID 10 of one span", UnConfiguredVd::LEVEL_SPANNED_RAID1, 1, 2, 2, -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(p.plan->setRaidLevel(c.level), 0);
        EXPECT_EQ(p.plan->setDrivesPerSpan(c.drivesPerSpan), 0);
        Spans spans(p.candidates, c.spans, c.perSpan);
        *p.plan->getSpans() = &spans.spans;
        uint8_t valid = 9;
        EXPECT_EQ(p.plan->isSpanLayoutValid(&valid), c.status);
        EXPECT_EQ(valid, c.status == 0 ? 1 : 0);
        *p.plan->getSpans() = nullptr;
    }
}

TEST(FreshPlan, MirrorDrivesPerSpanAreEvenAndNamesShort)
{
    FreshPlan p(layouts::describe(layouts::emptyConfiguration()));
    ASSERT_NE(p.plan, nullptr);
    EXPECT_EQ(p.plan->setRaidLevel(UnConfiguredVd::LEVEL_RAID1), 0);
    EXPECT_EQ(p.plan->setDrivesPerSpan(5), 0);
    uint8_t count = 0;
    ignoreStatus(p.plan->getDrivesPerSpan(&count), "a field of the plan: always 0");
    EXPECT_EQ(count, 4);
    EXPECT_EQ(p.plan->setRaidLevel(UnConfiguredVd::LEVEL_RAID5), 0);
    EXPECT_EQ(p.plan->setDrivesPerSpan(5), 0);
    ignoreStatus(p.plan->getDrivesPerSpan(&count), "a field of the plan: always 0");
    EXPECT_EQ(count, 5);

    EXPECT_EQ(p.plan->setName("fifteen_chars_x"), 0);
    EXPECT_EQ(p.plan->setName("sixteen_chars_xx"), -1);
    EXPECT_STREQ(p.plan->getName(), "fifteen_chars_x");
}

TEST(FreshPlan, InterfacesThatMayNotMixLeaveTheSmallerGroupOut)
{
    // Two SAS and three SATA rotating drives, no mixing allowed: 3 usable drives, so the
    // spanned levels (4 and 6 drives at least) are not offered.
    FreshPlan p(both(layouts::describe(layouts::Layout{5, {}, {}, {}}), [](sim::HostModel& m) {
        for (sim::Drive& d : m.controllers.at(0).drives)
            if (d.deviceId >= 10)
                d.interface = "SATA";
    }));
    ASSERT_EQ(p.status, 0);
    ArrayList<unsigned char>* levels = nullptr;
    ASSERT_EQ(p.plan->getPossibleRaidLevels(&levels), 0);
    EXPECT_EQ(levelsOf(levels), (std::vector<unsigned>{0, 1, 5, 6}));

    // A SAS drive finds two mixable candidates: RAID 5 (three drives) cannot take it.
    EXPECT_EQ(p.plan->setRaidLevel(UnConfiguredVd::LEVEL_RAID5), 0);
    EXPECT_EQ(p.plan->isDriveAcceptable(p.candidates->get(0)), 0);
    EXPECT_EQ(p.plan->isDriveAcceptable(p.candidates->get(4)), 1);
    EXPECT_EQ(p.plan->setRaidLevel(UnConfiguredVd::LEVEL_RAID1), 0);
    EXPECT_EQ(p.plan->isDriveAcceptable(p.candidates->get(0)), 1);
}

TEST(FreshPlan, ADriveJoinsTheLastSpanWhileItHasRoom)
{
    FreshPlan p(layouts::describe(layouts::emptyConfiguration()));
    ASSERT_EQ(p.status, 0);
    EXPECT_EQ(p.plan->setRaidLevel(UnConfiguredVd::LEVEL_RAID1), 0);
    EXPECT_EQ(p.plan->canJoinLastSpan(p.candidates->get(0)), 1);   // no span yet
    Spans one(p.candidates, 1, 1);
    *p.plan->getSpans() = &one.spans;
    EXPECT_EQ(p.plan->canJoinLastSpan(p.candidates->get(1)), 1);
    Spans full(p.candidates, 1, 2);
    *p.plan->getSpans() = &full.spans;
    EXPECT_EQ(p.plan->canJoinLastSpan(p.candidates->get(2)), 0);   // RAID 1: two drives, one span
    *p.plan->getSpans() = nullptr;
}

TEST(FreeSpacePlan, TheLevelIsThatOfTheDrivesThere)
{
    const uint64_t M = 0x100000;
    struct Case {
        const char* what;
        LdAt ld;
        unsigned level;
    } cases[] = {
        {"RAID 1 over two arrays is spanned", {0, 1, 2, {{0, 0, M}, {1, 0, M}}}, 32},
        {"RAID 1 of one array", {0, 1, 2, {{0, 0, M}}}, 1},
        {"RAID 5 over two arrays", {0, 5, 2, {{0, 0, M}, {1, 0, M}}}, 33},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        layouts::ModelHost m(space::layout(4, {{0, {8, 9}, 4 * M}, {1, {10, 11}, 4 * M}}, {c.ld}));
        ArrayList<DiskGroup*>* groups = nullptr;
        ASSERT_EQ(m.manager->getDiskGroups(&groups), 0);
        UnCfgdVdOnFreeSpOnPd* plan = UnCfgdVdOnFreeSpOnPd::create(m.controller, groups->get(0));
        ASSERT_NE(plan, nullptr);
        ArrayList<unsigned char>* levels = nullptr;
        ASSERT_EQ(plan->getPossibleRaidLevels(&levels), 0);
        EXPECT_EQ(levelsOf(levels), (std::vector<unsigned>{c.level}));
        delete plan;
    }
}

TEST(FreeSpacePlan, ExtentsTooSmallForTheSmallestDriveAreDropped)
{
    // A RAID 1 of two drives: an extent holds its own size. Gaps of 204799 and 204800 blocks.
    const uint64_t M = 0x100000;
    layouts::ModelHost m(space::layout(2, {{0, {8, 9}, 2 * M + 204799 + 204800}},
                                       {{0, 1, 2, {{0, 0, M}}}, {1, 1, 2, {{0, M + 204799, M}}}}));
    ArrayList<DiskGroup*>* groups = nullptr;
    ASSERT_EQ(m.manager->getDiskGroups(&groups), 0);
    UnCfgdVdOnFreeSpOnPd* plan = UnCfgdVdOnFreeSpOnPd::create(m.controller, groups->get(0));
    ASSERT_NE(plan, nullptr);
    ArrayList<ArraySpaceInfo*>* extents = nullptr;
    ASSERT_EQ(plan->getFreeExtents(&extents), 0);
    ASSERT_EQ(extents->count(), 1);
    EXPECT_EQ(extents->get(0)->getStart(), 2 * M + 204799);
    EXPECT_EQ(extents->get(0)->getSize(), 204800u);

    // The new drive: RAID 1 in that extent, of the whole extent or fitted to strips of 128.
    EXPECT_EQ(plan->setStripSize(7), 0);
    EXPECT_EQ(plan->setRaidLevel(UnConfiguredVd::LEVEL_RAID1), 0);
    ASSERT_EQ(plan->setExtent(extents->get(0)), 0);
    uint64_t maximum = 0;
    ASSERT_EQ(plan->getMaximumSize(&maximum), 0);
    EXPECT_EQ(maximum, 204800u);
    EXPECT_EQ(plan->setRequestedSize(204800), 0);
    uint8_t valid = 0;
    EXPECT_EQ(plan->isSizeValid(&valid), 0);
    EXPECT_EQ(valid, 1);
    EXPECT_EQ(plan->setRequestedSize(1000), 0);
    uint64_t size = 0;
    ASSERT_EQ(plan->getVdSize(&size), 0);
    EXPECT_EQ(size, 204800u);
    EXPECT_EQ(plan->isSizeValid(&valid), -1);
    delete extents->get(0);
    delete extents;
    delete plan;
}
