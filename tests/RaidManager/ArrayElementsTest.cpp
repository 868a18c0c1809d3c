// Arrays, disk groups, spares, spans and extents: their links, the texts they give, the
// foreign-drive and smallest-drive walks over drives of a simulated host, and the unlinking
// destructor of an array.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "RaidManager/Array.h"
#include "RaidManager/DiskGroup.h"
#include "RaidManager/PhysicalDevice.h"
#include "RaidManager/RaidElementId.h"
#include "RaidManager/Span.h"
#include "RaidManager/Spare.h"
#include "RaidManager/Zpr/PdDataZpr.h"
#include "RaidManager/Zpr/SpareDataZpr.h"
#include "RaidManager/Zpr/Records/Config/ZprSpareRecord.h"
#include "SimHostFixture.h"
#include "TestArrayData.h"
#include "Simulator/SimModel.h"

namespace {

// A spare record's bytes, with the flag byte given.
struct SpareRecordBytes {
    uint8_t bytes[ZprSpareRecord::SIZE];
    explicit SpareRecordBytes(uint8_t flags)
    {
        memset(bytes, 0, sizeof bytes);
        bytes[ZprSpareRecord::FLAGS] = flags;
    }
};

Spare* newSpare(SpareRecordBytes* record)
{
    SpareDataZpr* data = new SpareDataZpr(nullptr, nullptr);
    if (record != nullptr)
        data->setRecord(ZprSpareRecord(LeView(record->bytes, sizeof record->bytes)));
    return new Spare(data, nullptr);
}

PhysicalDevice* newDrive(Controller* controller, uint16_t deviceId)
{
    return new PhysicalDevice(new PdDataZpr(controller, new PdIdZpr(0, 0, deviceId, 0xFFFF)), controller);
}

}  // namespace

TEST(SpareElement, Texts)
{
    struct Case {
        const char* what;
        int flags;                      // -1: no record
        std::vector<int> arrays;        // refs of the arrays served; -1 an array without record
        bool dedicated;
        const char* text;
    } cases[] = {
        {"global", 0x00, {}, false, "Hotspare Information: \nType: Global\n\n"},
        {"global with both flags", 0x06, {}, false,
         "Hotspare Information: \nType: Global, with enclosure affinity, is revertible\n\n"},
        {"revertible only", 0x02, {}, false, "Hotspare Information: \nType: Global, is revertible\n\n"},
        {"no record: flags read as 0", -1, {}, false, "Hotspare Information: \nType: Global\n\n"},
        {"dedicated to two arrays", 0x05, {3, 5}, true,
         "Hotspare Information: \nType: Dedicated, with enclosure affinity\nArray #: 3, 5\n"},
        {"an unreadable first array still counts its position", 0x01, {-1, 5}, true,
         "Hotspare Information: \nType: Dedicated\nArray #: , 5\n"},
        {"an unreadable last array", 0x01, {3, -1}, true, "Hotspare Information: \nType: Dedicated\nArray #: 3\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        SpareRecordBytes record(static_cast<uint8_t>(c.flags < 0 ? 0 : c.flags));
        Spare* spare = newSpare(c.flags < 0 ? nullptr : &record);
        std::vector<ArrayHmg*> arrays;
        for (int ref : c.arrays) {
            arrays.push_back(new ArrayHmg(new TestArrayData(static_cast<uint16_t>(ref < 0 ? 0 : ref), ref >= 0), nullptr));
            EXPECT_EQ(spare->addArray(arrays.back()), 0);
        }
        EXPECT_STREQ(spare->toString().c_str(), c.text);
        delete spare;
        for (ArrayHmg* a : arrays)
            delete a;
    }
}

TEST(SpareElement, LinksAndFlags)
{
    SpareRecordBytes record(0x04);
    Spare* spare = newSpare(&record);
    PhysicalDevice* pd = nullptr;
    ArrayList<Array*>* list = nullptr;
    EXPECT_EQ(spare->getPd(&pd), -1);
    EXPECT_EQ(spare->getArrays(&list), -1) << "a global spare has no array list";
    uint8_t flag = 9;
    EXPECT_EQ(spare->hasEnclosureAffinity(&flag), 0);
    EXPECT_EQ(flag, 1);
    EXPECT_EQ(spare->isRevertible(&flag), 0);
    EXPECT_EQ(flag, 0);
    delete spare;

    Spare* bare = newSpare(nullptr);
    EXPECT_EQ(bare->hasEnclosureAffinity(&flag), -1);
    EXPECT_EQ(bare->isRevertible(&flag), -1);
    delete bare;
}

TEST(ArrayElement, TextsCountTheLists)
{
    // The array goes before its spares: its destructor takes itself out of their lists.
    ArrayHmg* array = new ArrayHmg(new TestArrayData(2, true, "Array data\n"), nullptr);
    EXPECT_STREQ(array->toString().c_str(),
                 "Array data\nNumber of PDs: 0\nNumber of VDs: 0\nNumber of dedicated Hotspares: 0\n");
    PhysicalDevice* pd1 = newDrive(nullptr, 1);
    PhysicalDevice* pd2 = newDrive(nullptr, 2);
    Spare* spare = newSpare(nullptr);
    EXPECT_EQ(array->addPd(pd1), 0);
    EXPECT_EQ(array->addPd(pd2), 0);
    EXPECT_EQ(array->addSpare(spare), 0);
    EXPECT_EQ(array->addVirtualDisk(nullptr), 0);
    EXPECT_STREQ(array->toString().c_str(),
                 "Array data\nNumber of PDs: 2\nNumber of VDs: 1\nNumber of dedicated Hotspares: 1\n");
    EXPECT_EQ(array->isHmg(), 1);
    delete array;
    delete pd1;
    delete pd2;
    delete spare;
}

TEST(ArrayElement, ForwardersRefuseAnArrayWithoutRecord)
{
    struct Case {
        bool record;
        int expected;
    } cases[] = {{true, 0}, {false, -1}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.record);
        ArrayHmg array(new TestArrayData(4, c.record), nullptr);
        PhysicalDevice* pd = newDrive(nullptr, 1);
        EXPECT_EQ(array.addPd(pd), 0);
        uint64_t size = 0;
        uint16_t ref = 0;
        uint8_t max = 0;
        uint8_t none = 7;
        ArrayList<PhysicalDevice*>* list = nullptr;
        EXPECT_EQ(array.getSize(&size), c.expected);
        EXPECT_EQ(array.getArrayRef(&ref), c.expected);
        EXPECT_EQ(array.getMaxVdsPerArray(&max), c.expected);
        EXPECT_EQ(array.getPdList(&list), c.expected);
        EXPECT_EQ(array.hasNoRecord(&none), 0);
        EXPECT_EQ(none, c.record ? 0 : 1);
        delete pd;
    }
    ArrayHmg empty(new TestArrayData(4), nullptr);
    ArrayList<PhysicalDevice*>* pds = nullptr;
    ArrayList<VirtualDisk*>* vds = nullptr;
    ArrayList<Spare*>* spares = reinterpret_cast<ArrayList<Spare*>*>(&empty);
    DiskGroup* group = nullptr;
    EXPECT_EQ(empty.getPdList(&pds), -1) << "no drive list";
    EXPECT_EQ(empty.getVdList(&vds), -1);
    EXPECT_EQ(empty.getSpares(&spares), 0);
    EXPECT_EQ(spares, nullptr);
    EXPECT_EQ(empty.getDiskGroup(&group), -1);
}

// Member drives of a simulated host: 8 is foreign (3000 blocks), 9 is not (2000 blocks), 10
// cannot be read (the firmware does not know it) and is passed over.
TEST(ArrayElement, SmallestAndForeignDrivesPassOverUnreadableDrives)
{
    simhost::SimHostFixture host("one", [](sim::HostModel& model) {
        sim::Controller& c = model.controllers.at(0);
        c.lds.clear();
        c.arrays.clear();
        c.spares.clear();
        c.drives.clear();
        sim::Drive a, b;
        a.deviceId = 8;
        a.coercedBlocks = 3000;
        a.configFlags = 0x10;
        b.deviceId = 9;
        b.coercedBlocks = 2000;
        c.drives = {a, b};
    });
    simhost::SimControllers controllers;
    Controller* controller = controllers.controller(0);
    ASSERT_NE(controller, nullptr);
    struct Case {
        std::vector<uint16_t> drives;
        uint64_t smallest;
        uint8_t foreign;
    } cases[] = {
        {{10, 8, 9}, 2000, 1},
        {{9, 10}, 2000, 0},
        {{8}, 3000, 1},
        {{10}, 0, 0},
    };
    for (const Case& c : cases) {
        TestArrayData* data = new TestArrayData(1);
        ArrayHmg array(data, controller);
        std::vector<PhysicalDevice*> pds;
        for (uint16_t id : c.drives) {
            pds.push_back(newDrive(controller, id));
            EXPECT_EQ(array.addPd(pds.back()), 0);
        }
        uint64_t smallest = 99;
        uint8_t foreign = 99;
        EXPECT_EQ(array.getSmallestPdSize(&smallest), 0);
        EXPECT_EQ(smallest, c.smallest);
        EXPECT_EQ(array.hasForeignPd(&foreign), 0);
        EXPECT_EQ(foreign, c.foreign);
        EXPECT_EQ(array.setSizeToSmallestPd(), 0);
        EXPECT_EQ(data->written, std::vector<uint64_t>{c.smallest});

        DiskGroup group(nullptr, controller);
        ArrayHmg bare(new TestArrayData(2, false), controller);
        EXPECT_EQ(group.addArray(&bare), 0);   // without a record: passed over
        EXPECT_EQ(group.addArray(&array), 0);
        foreign = 99;
        EXPECT_EQ(group.hasForeignPd(&foreign), 0);
        EXPECT_EQ(foreign, c.foreign);
        for (PhysicalDevice* pd : pds)
            delete pd;
    }
}

TEST(DiskGroupElement, TextAndMissingLinks)
{
    DiskGroup group(nullptr, nullptr);
    uint8_t foreign = 7;
    ArrayList<Array*>* list = nullptr;
    EXPECT_STREQ(group.toString().c_str(), "");
    EXPECT_EQ(group.getArrays(&list), -1);
    EXPECT_EQ(group.hasForeignPd(&foreign), -1);
    ArrayHmg a(new TestArrayData(0), nullptr), b(new TestArrayData(1), nullptr);
    EXPECT_EQ(group.addArray(&a), 0);
    EXPECT_EQ(group.addArray(&b), 0);
    EXPECT_STREQ(group.toString().c_str(), "Number of Spans: 2\n");
    EXPECT_EQ(group.addArray(nullptr), 0);
    EXPECT_EQ(group.hasForeignPd(&foreign), -1) << "a null entry";
    EXPECT_EQ(foreign, 7);
}

// Deleting an array takes it out of its dedicated spares' array lists; the spares survive
// and keep the other arrays they serve.
TEST(ArrayElement, DestructorUnlinksItsDedicatedSpares)
{
    Spare* spare = newSpare(nullptr);
    ArrayHmg* first = new ArrayHmg(new TestArrayData(1), nullptr);
    ArrayHmg* second = new ArrayHmg(new TestArrayData(2), nullptr);
    EXPECT_EQ(spare->addArray(first), 0);
    EXPECT_EQ(spare->addArray(second), 0);
    EXPECT_EQ(first->addSpare(spare), 0);
    EXPECT_EQ(second->addSpare(spare), 0);
    delete first;
    ArrayList<Array*>* served = nullptr;
    ASSERT_EQ(spare->getArrays(&served), 0);
    ASSERT_EQ(served->count(), 1);
    EXPECT_EQ(served->get(0), second);
    EXPECT_STREQ(spare->toString().c_str(), "Hotspare Information: \nType: Dedicated\nArray #: 2\n");
    delete second;
    ASSERT_EQ(spare->getArrays(&served), 0);
    EXPECT_EQ(served->count(), 0) << "a dedicated spare whose arrays are gone keeps its (empty) list";
    delete spare;
}

TEST(SpanElement, LinksAndText)
{
    Span span(nullptr, nullptr);
    Array* array = nullptr;
    uint64_t blocks = 5;
    EXPECT_EQ(span.getArray(&array), -1);
    EXPECT_EQ(span.getStartBlock(&blocks), -1) << "no data object";
    EXPECT_EQ(span.getBlockCount(&blocks), -1);
    EXPECT_EQ(blocks, 5u);
    ArrayHmg under(new TestArrayData(3), nullptr);
    EXPECT_EQ(span.setArray(&under), 0);
    EXPECT_EQ(span.getArray(&array), 0);
    EXPECT_EQ(array, &under);
    EXPECT_STREQ(span.toString().c_str(), "");
}

TEST(ArraySpaceInfo, EqualityAndText)
{
    VirtualDisk* one = reinterpret_cast<VirtualDisk*>(0x10);   // never dereferenced
    VirtualDisk* other = reinterpret_cast<VirtualDisk*>(0x20);
    ArraySpaceInfo a(0x800, 0x200000, one), b(0x800, 0x200000, other), c(0x800, 0x200001, one);
    EXPECT_TRUE(a.equals(&b)) << "the virtual drive is not compared";
    EXPECT_FALSE(a.equals(&c));
    EXPECT_FALSE(a.equals(nullptr));
    EXPECT_STREQ(a.toString().c_str(), "Start: 0x800(1MB)\t Size: 0x200000(1024MB) \n");
    ArraySpaceInfo free(0, 0x7ff, nullptr);
    EXPECT_STREQ(free.toString().c_str(), "Start: 0x0(0MB)\t Size: 0x7ff(0MB) \n");
    EXPECT_EQ(free.getVirtualDisk(), nullptr);
}
