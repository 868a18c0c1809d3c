// The questions the configuration commands ask the RAID manager of a simulated host before a
// change: unconfigured drives by size, room for another virtual drive, drives that can serve
// or replace, and the span lists a command names.
#include <gtest/gtest.h>

#include <vector>

#include "System/PavError.h"
#include "RaidManager/Array.h"
#include "RaidManager/DiskGroup.h"
#include "RaidManager/PhysicalDevice.h"
#include "SpaceLayouts.h"

using simhost::both;

namespace {

const uint64_t M = 0x100000;

// Sets field values of drives by device id.
simhost::StateEdit drives(const std::vector<uint16_t>& ids, const std::function<void(sim::Drive&)>& change)
{
    return [ids, change](sim::HostModel& m) {
        for (sim::Drive& d : m.controllers.at(0).drives)
            for (uint16_t id : ids)
                if (d.deviceId == id)
                    change(d);
    };
}

// Span lists of drives by device id, from the manager (the lists are the test's).
struct SpanDrives {
    ArrayList<ArrayList<PhysicalDevice*>*> spans{4};
    std::vector<ArrayList<PhysicalDevice*>*> owned;

    SpanDrives(RaidManager* manager, const std::vector<std::vector<uint16_t>>& ids)
    {
        for (const auto& span : ids) {
            owned.push_back(new ArrayList<PhysicalDevice*>(4));
            for (uint16_t id : span)
                owned.back()->add(manager->getPdByDeviceId(id));
            spans.add(owned.back());
        }
    }
    ~SpanDrives()
    {
        for (auto* l : owned)
            delete l;
    }
};

}  // namespace

TEST(ConfigQueries, UnconfiguredDrivesSmallestFirst)
{
    layouts::ModelHost m(both(layouts::describe(layouts::Layout{4, {{0, {11}}}, {{0, 0, {0}}}, {}}),
                              both(drives({8}, [](sim::Drive& d) { d.coercedBlocks = 300; }),
                                   both(drives({9}, [](sim::Drive& d) { d.coercedBlocks = 100; }),
                                        drives({10}, [](sim::Drive& d) {
                                            d.coercedBlocks = 200;
                                            d.interface = "SATA";
                                        })))));
    ArrayList<PhysicalDevice*>* list = nullptr;
    ASSERT_EQ(m.manager->getUnconfiguredGoodPdsBySize(&list, 0), 0);
    EXPECT_EQ(layouts::deviceIds(list), (std::vector<uint16_t>{9, 10, 8}));
    delete list;
    ASSERT_EQ(m.manager->getUnconfiguredGoodPdsBySize(&list, 1), 0);
    EXPECT_EQ(layouts::deviceIds(list), (std::vector<uint16_t>{10}));
    delete list;
}

TEST(ConfigQueries, NoUnconfiguredDriveAnswersTwelveOrEleven)
{
    layouts::ModelHost m(layouts::describe(layouts::Layout{2, {{0, {8, 9}}}, {{0, 1, {0}}}, {}}));
    ArrayList<PhysicalDevice*>* list = nullptr;
    EXPECT_EQ(m.manager->getUnconfiguredGoodPdsBySize(&list, 0), 12);
    EXPECT_EQ(list, nullptr);
    uint8_t answer = 9, nonPi = 9;
    EXPECT_EQ(m.manager->canCreateVdOnFreshPds(&answer, &nonPi), 11);
    EXPECT_EQ(answer, 0);
}

TEST(ConfigQueries, FreshDrivesAtTheVirtualDriveMaximum)
{
    layouts::ModelHost m(both(layouts::describe(layouts::raid1Raid5WithSpares()),
                              [](sim::HostModel& h) { h.controllers.at(0).info.maxVirtualDrives = 2; }));
    uint8_t answer = 9, nonPi = 9;
    EXPECT_EQ(m.manager->canCreateVdOnFreshPds(&answer, &nonPi), 26);
    EXPECT_EQ(answer, 0);
    EXPECT_EQ(nonPi, 0);

    layouts::ModelHost room(layouts::describe(layouts::raid1Raid5WithSpares()));
    answer = 9;
    EXPECT_EQ(room.manager->canCreateVdOnFreshPds(&answer, &nonPi), 0);
    EXPECT_EQ(answer, 1);
}

TEST(ConfigQueries, FreeSpaceOfADiskGroup)
{
    struct Case {
        const char* what;
        simhost::StateEdit change;
        int status;
        uint8_t answer;
        bool maxInLastError;   // the firmware's status for the maximum kept for the entry point
    } cases[] = {
        {"room after the drive", [](sim::HostModel&) {}, 0, 1, false},
        {"a member rebuilds: nothing answered", drives({9}, [](sim::Drive& d) { d.state = 0x14; }), 28, 9, false},
        {"the array holds its maximum", [](sim::HostModel& h) { h.controllers.at(0).info.maxVdsPerArray = 1; }, 26, 0,
         true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        layouts::ModelHost m(both(space::layout(2, {{0, {8, 9}, 4 * M}}, {{0, 1, 2, {{0, 0, M}}}}), c.change));
        ArrayList<DiskGroup*>* groups = nullptr;
        ASSERT_EQ(m.manager->getDiskGroups(&groups), 0);
        PavError::takeLastError();
        uint8_t answer = 9;
        EXPECT_EQ(m.manager->canCreateVdOnFreeSpace(groups->get(0), &answer), c.status);
        EXPECT_EQ(answer, c.answer);
        EXPECT_EQ(PavError::takeLastError() == 0x0201001Au, c.maxInLastError);
    }
}

TEST(ConfigQueries, AFullArrayHasNoFreeSpace)
{
    layouts::ModelHost m(space::layout(2, {{0, {8, 9}, M}}, {{0, 1, 2, {{0, 0, M}}}}));
    ArrayList<DiskGroup*>* groups = nullptr;
    ASSERT_EQ(m.manager->getDiskGroups(&groups), 0);
    uint8_t answer = 9;
    EXPECT_EQ(m.manager->canCreateVdOnFreeSpace(groups->get(0), &answer), 26);
}

TEST(ConfigQueries, DrivesServingAnArray)
{
    // Array 0 is a RAID 1, array 1 a RAID 0; drive 12 is unconfigured and as large as the rest.
    layouts::ModelHost m(space::layout(5, {{0, {8, 9}, 0}, {1, {10, 11}, 0}},
                                       {{0, 1, 2, {{0, 0, M}}}, {1, 0, 2, {{1, 0, M}}}}));
    PhysicalDevice* fresh = m.manager->getPdByDeviceId(12);
    uint8_t answer = 9;
    ASSERT_EQ(m.manager->isPdUsableForArray(fresh, space::arrayByRef(m.manager, 0), &answer), 0);
    EXPECT_EQ(answer, 1);
    ASSERT_EQ(m.manager->isPdUsableForArray(fresh, space::arrayByRef(m.manager, 1), &answer), 0);
    EXPECT_EQ(answer, 0);
    // An online member is no unconfigured drive.
    ASSERT_EQ(m.manager->isPdUsableForArray(m.manager->getPdByDeviceId(10), space::arrayByRef(m.manager, 0), &answer),
              0);
    EXPECT_EQ(answer, 0);
}

TEST(ConfigQueries, ReplacingAnOnlineDriveNeedsAsManyBlocks)
{
    const uint64_t size = 1952448512ull;
    struct Case {
        const char* what;
        uint64_t candidateBlocks;
        uint8_t answer;
    } cases[] = {
        {"one block smaller", size - 1, 0},
        {"as large", size, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        layouts::ModelHost m(both(layouts::describe(layouts::Layout{3, {{0, {8, 9}}}, {{0, 1, {0}}}, {}}),
                                  drives({10}, [&c](sim::Drive& d) { d.coercedBlocks = c.candidateBlocks; })));
        uint8_t answer = 9;
        EXPECT_EQ(m.manager->canReplacePd(m.manager->getPdByDeviceId(8), m.manager->getPdByDeviceId(10), &answer), 0);
        EXPECT_EQ(answer, c.answer);
    }
}

TEST(ConfigQueries, SpanListsOfFreshDrivesOrOfOneDiskGroup)
{
    // Two RAID 10 drives one after the other over arrays 0 and 1; drives 12 and 13 unconfigured.
    layouts::ModelHost m(space::layout(6, {{0, {8, 9}, 4 * M}, {1, {10, 11}, 4 * M}},
                                       {{0, 1, 2, {{0, 0, M}, {1, 0, M}}}, {1, 1, 2, {{0, M, M}, {1, M, M}}}}));
    struct Case {
        const char* what;
        std::vector<std::vector<uint16_t>> spans;
        int code;
    } cases[] = {
        {"spans of 2 and 3 drives", {{12, 13}, {8, 9, 10}}, 3},
        {"unconfigured and online drives", {{12, 8}}, 1},
        {"a span that is not its array", {{8, 10}, {9, 11}}, 5},
        {"one of the group's two arrays", {{8, 9}}, 10},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        SpanDrives spans(m.manager, c.spans);
        uint64_t out = 77;
        EXPECT_EQ(m.manager->validateSpanDrives(&spans.spans, &out), c.code);
    }
    uint64_t out = 77;
    {
        SpanDrives fresh(m.manager, {{12, 13}});
        EXPECT_EQ(m.manager->validateSpanDrives(&fresh.spans, &out), 0);
        EXPECT_EQ(out, 0u);
    }
    SpanDrives group(m.manager, {{9, 8}, {10, 11}});
    ASSERT_EQ(m.manager->validateSpanDrives(&group.spans, &out), 0);
    ArrayList<DiskGroup*>* groups = nullptr;
    ASSERT_EQ(m.manager->getDiskGroups(&groups), 0);
    EXPECT_EQ(out, static_cast<uint64_t>(reinterpret_cast<uintptr_t>(groups->get(0))));
    uint64_t none = 5;
    EXPECT_EQ(m.manager->validateSpanDrives(nullptr, &none), 6);
}
