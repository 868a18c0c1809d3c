// The space map of an array read back from a simulated host's configuration: the extents of
// its virtual drives in block order, the gaps as free extents, what a new drive could hold in
// a gap, and whether the array is redundant.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "RaidManager/Array.h"
#include "RaidManager/RaidElementId.h"
#include "RaidManager/VirtualDisk.h"
#include "SpaceLayouts.h"
#include "TestArrayData.h"

using space::ArrayAt;
using space::LdAt;
using space::SpanAt;

namespace {

// One extent as the test states it: start, size and the target id of its drive (-1 free).
struct Extent {
    uint64_t start;
    uint64_t size;
    int targetId;
    bool operator==(const Extent& o) const { return start == o.start && size == o.size && targetId == o.targetId; }
};

std::ostream& operator<<(std::ostream& os, const Extent& e)
{
    return os << "{" << e.start << ", " << e.size << ", " << e.targetId << "}";
}

// Takes the list (and its extents) from the caller.
std::vector<Extent> extentsOf(ArrayList<ArraySpaceInfo*>* list)
{
    std::vector<Extent> out;
    for (unsigned char i = 0; list != nullptr && i < list->count(); ++i) {
        ArraySpaceInfo* e = list->get(i);
        VirtualDisk* vd = e->getVirtualDisk();
        int target = vd == nullptr ? -1 : dynamic_cast<VdId*>(vd->getId())->getTargetId();
        out.push_back({e->getStart(), e->getSize(), target});
        delete e;
    }
    delete list;
    return out;
}

const uint64_t M = 0x100000;

}  // namespace

TEST(ArraySpace, AnArrayWithoutVirtualDrivesHasNoMapAndNoFreeExtents)
{
    ArrayHmg array(new TestArrayData(0), nullptr);
    ArrayList<ArraySpaceInfo*>* list = nullptr;
    EXPECT_EQ(array.getSpaceMap(&list), -1);
    EXPECT_EQ(array.getFreeExtents(&list), -1);
    EXPECT_EQ(list, nullptr);
    uint8_t redundant = 7;
    EXPECT_EQ(array.isRedundant(&redundant), -1);
}

TEST(ArraySpace, TwoDrivesInReverseOrderWithAHoleAndRoomAtTheEnd)
{
    // Target 0 lies behind target 1 and a hole; the array has room after target 0.
    layouts::ModelHost m(space::layout(2, {{0, {8, 9}, 5 * M}},
                                       {{0, 1, 2, {{0, 3 * M, M}}}, {1, 1, 2, {{0, 0, M}}}}));
    Array* array = space::arrayByRef(m.manager, 0);
    ASSERT_NE(array, nullptr);
    ArrayList<ArraySpaceInfo*>* list = nullptr;
    ASSERT_EQ(array->getSpaceMap(&list), 0);
    EXPECT_EQ(extentsOf(list),
              (std::vector<Extent>{{0, M, 1}, {M, 2 * M, -1}, {3 * M, M, 0}, {4 * M, M, -1}}));
    ASSERT_EQ(array->getFreeExtents(&list), 0);
    EXPECT_EQ(extentsOf(list), (std::vector<Extent>{{M, 2 * M, -1}, {4 * M, M, -1}}));
}

TEST(ArraySpace, ADriveStartingBelowThePositionIsPlacedAtThePosition)
{
    // Target 1 claims to start inside target 0: no gap, and its extent follows target 0's.
    layouts::ModelHost m(space::layout(2, {{0, {8, 9}, 3 * M}},
                                       {{0, 1, 2, {{0, 0, 2 * M}}}, {1, 1, 2, {{0, M, M}}}}));
    Array* array = space::arrayByRef(m.manager, 0);
    ASSERT_NE(array, nullptr);
    ArrayList<ArraySpaceInfo*>* list = nullptr;
    ASSERT_EQ(array->getSpaceMap(&list), 0);
    EXPECT_EQ(extentsOf(list), (std::vector<Extent>{{0, 2 * M, 0}, {2 * M, M, 1}}));
    EXPECT_EQ(array->getFreeExtents(&list), NO_ROOM);
}

TEST(ArraySpace, TheOnlySpannedDriveIsOneExtentOfItsWholeSize)
{
    // A RAID 10 over two arrays of two drives, spans of M blocks from block 5: the drive's
    // size is 2 M, and no free extent is offered although the arrays have room.
    layouts::ModelHost m(space::layout(4, {{0, {8, 9}, 8 * M}, {1, {10, 11}, 8 * M}},
                                       {{0, 1, 2, {{0, 5, M}, {1, 5, M}}}}));
    Array* array = space::arrayByRef(m.manager, 0);
    ASSERT_NE(array, nullptr);
    ArrayList<ArraySpaceInfo*>* list = nullptr;
    ASSERT_EQ(array->getSpaceMap(&list), 0);
    EXPECT_EQ(extentsOf(list), (std::vector<Extent>{{5, 2 * M, 0}}));
    list = nullptr;
    EXPECT_EQ(array->getFreeExtents(&list), 26);
    EXPECT_EQ(list, nullptr);
}

TEST(ArraySpace, ExtentLengthIsTheSizeOverTheDataDrives)
{
    struct Case {
        const char* what;
        uint8_t level;
        unsigned drives;
        uint64_t spanBlocks;
        uint64_t vdSize;     // the drive's size as the model reads it
        uint64_t length;     // its extent on each drive
    } cases[] = {
        {"RAID 1 of two: the size", 1, 2, 3000, 3000, 3000},
        {"RAID 5 of four: a third", 5, 4, 3000, 9000, 3000},
        {"RAID 6 of four: a half", 6, 4, 3000, 6000, 3000},
        {"RAID 0 of three", 0, 3, 3000, 9000, 3000},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::vector<uint16_t> members;
        for (unsigned i = 0; i < c.drives; ++i)
            members.push_back(static_cast<uint16_t>(8 + i));
        layouts::ModelHost m(space::layout(c.drives, {{0, members, 10000}},
                                           {{0, c.level, static_cast<uint8_t>(c.drives), {{0, 0, c.spanBlocks}}}}));
        Array* array = space::arrayByRef(m.manager, 0);
        ASSERT_NE(array, nullptr);
        ArrayList<VirtualDisk*>* vds = nullptr;
        ASSERT_EQ(array->getVdList(&vds), 0);
        uint64_t size = 0;
        ASSERT_EQ(vds->get(0)->getSize(&size), 0);
        EXPECT_EQ(size, c.vdSize);
        ArrayList<ArraySpaceInfo*>* list = nullptr;
        ASSERT_EQ(array->getSpaceMap(&list), 0);
        EXPECT_EQ(extentsOf(list), (std::vector<Extent>{{0, c.length, 0}, {c.length, 10000 - c.length, -1}}));
    }
}

TEST(ArraySpace, ALayoutWithoutDataDrivesEndsTheMap)
{
    // A RAID 5 whose record gives one drive per span: no data drive to divide by.
    layouts::ModelHost m(space::layout(3, {{0, {8, 9, 10}, 10000}}, {{0, 5, 1, {{0, 0, 3000}}}, {1, 0, 3, {{0, 4000, 10}}}}));
    Array* array = space::arrayByRef(m.manager, 0);
    ASSERT_NE(array, nullptr);
    ArrayList<ArraySpaceInfo*>* list = nullptr;
    EXPECT_EQ(array->getSpaceMap(&list), -1);
    EXPECT_EQ(array->getFreeExtents(&list), -1);
    EXPECT_EQ(list, nullptr);
}

TEST(ArraySpace, ExtentCapacityAndRedundancyFollowTheFirstDrivesLevel)
{
    struct Case {
        const char* what;
        uint8_t level;
        unsigned drives;
        uint64_t capacity;   // of an extent of 1001 blocks
        uint8_t redundant;
    } cases[] = {
        {"RAID 1 of three truncates the half", 1, 3, 1501, 1},
        {"RAID 0", 0, 3, 3003, 0},
        {"RAID 5", 5, 3, 2002, 1},
        {"RAID 6", 6, 4, 2002, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::vector<uint16_t> members;
        for (unsigned i = 0; i < c.drives; ++i)
            members.push_back(static_cast<uint16_t>(8 + i));
        layouts::ModelHost m(space::layout(c.drives, {{0, members, 10000}},
                                           {{0, c.level, static_cast<uint8_t>(c.drives), {{0, 0, 1000}}}}));
        ArrayHmg* array = dynamic_cast<ArrayHmg*>(space::arrayByRef(m.manager, 0));
        ASSERT_NE(array, nullptr);
        ArraySpaceInfo extent(1000, 1001, nullptr);
        uint64_t capacity = 0;
        ASSERT_EQ(array->getExtentCapacity(&extent, &capacity), 0);
        EXPECT_EQ(capacity, c.capacity);
        uint8_t redundant = 9;
        ASSERT_EQ(array->isRedundant(&redundant), 0);
        EXPECT_EQ(redundant, c.redundant);
    }
}
