// The common ground of the model: identifiers, the element factories and the span data.
#include <gtest/gtest.h>

#include <vector>

#include "RaidManager/Adapter.h"
#include "RaidManager/Array.h"
#include "RaidManager/DiskGroup.h"
#include "RaidManager/PhysicalDevice.h"
#include "RaidManager/RaidElementFactory.h"
#include "RaidManager/RaidElementId.h"
#include "RaidManager/RaidManager.h"
#include "RaidManager/RmData.h"
#include "RaidManager/Spare.h"
#include "RaidManager/Span.h"
#include "RaidManager/VirtualDisk.h"
#include "RaidManager/Zpr/PdDataZpr.h"
#include "RaidManager/Zpr/SpanDataZpr.h"
#include "RaidManager/Zpr/SpareDataZpr.h"
#include "RaidManager/Zpr/VdDataZpr.h"

namespace {

// Data objects of each interface that count their destruction.
int dataDeleted = 0;

template <class Interface>
class CountingData : public Interface {
public:
    CountingData() : Interface(nullptr, new DiskGroupId(1)) {}
    ~CountingData() override { ++dataDeleted; }
    string toString() override { return string("data"); }
};

// Data objects of the interfaces with operations of their own, counted the same way.
class CountingArrayData : public ArrayData {
public:
    CountingArrayData() : ArrayData(nullptr, new ArrayIdZpr(0)) {}
    ~CountingArrayData() override { ++dataDeleted; }
    string toString() override { return string("data"); }
    int getSize(uint64_t*) override { return -1; }
    int getArrayRef(uint16_t*) override { return -1; }
    int getMaxVdsPerArray(uint8_t*) override { return -1; }
    int hasNoRecord(uint8_t*) override { return -1; }
    int setSize(uint64_t) override { return -1; }
};

class CountingVdData : public VdDataZpr {
public:
    CountingVdData() : VdDataZpr(nullptr, new VdIdZpr(1, 1)) {}
    ~CountingVdData() override { ++dataDeleted; }
};

class CountingSpareData : public SpareDataZpr {
public:
    CountingSpareData() : SpareDataZpr(nullptr, nullptr) {}
    ~CountingSpareData() override { ++dataDeleted; }
};

class CountingPdData : public PdDataZpr {
public:
    CountingPdData() : PdDataZpr(nullptr, new PdIdZpr(0, 0, 1, 0xFFFF)) {}
    ~CountingPdData() override { ++dataDeleted; }
};

class TestSpanData : public SpanData {
public:
    TestSpanData() : SpanData(nullptr, nullptr) {}
    string toString() override { return string(); }
    int getStartBlock(uint64_t*) override { return -1; }
    int getBlockCount(uint64_t*) override { return -1; }
};

RaidElement* refuseAll(RaidElementData*, Controller*)
{
    return nullptr;
}

// The process-wide factory with the model's creators in it (the first manager registers them).
RaidElementFactory* registeredFactory()
{
    static bool registered = false;
    if (!registered) {
        getRaidManager(nullptr);
        releaseRaidManagers();
        registered = true;
    }
    return RaidElementFactory::instance();
}

}  // namespace

TEST(VdIdZpr, EightBitIdIsTheLowByte)
{
    VdIdZpr id(0x0105, 7);
    EXPECT_EQ(id.getTargetId(), 5);
    EXPECT_EQ(id.getTargetId16(), 0x0105);
    EXPECT_EQ(id.getSequenceNumber(), 7);
    id.setTargetId(static_cast<uint16_t>(0x0203));
    EXPECT_EQ(id.getTargetId(), 3);
    EXPECT_EQ(id.getTargetId16(), 0x0203);
}

TEST(VdIdZpr, EqualityByTargetIdOnly)
{
    // A VdId of another class, never equal to a VdIdZpr with the same number.
    class OtherVdId : public VdId {
    public:
        OtherVdId() : VdId(5) {}
        string toString() override { return string(); }
        uint16_t getTargetId16() override { return 5; }
        bool equals(VdId*) override { return false; }
    };
    VdIdZpr a(5, 1), b(5, 2), c(6, 1), wide(0x0105, 1);
    OtherVdId other;
    EXPECT_TRUE(a.equals(&b)) << "the sequence number is not compared";
    EXPECT_FALSE(a.equals(&c));
    EXPECT_FALSE(a.equals(&wide)) << "all 16 bits count";
    EXPECT_FALSE(a.equals(nullptr));
    EXPECT_FALSE(a.equals(&other));
}

TEST(RaidElementFactory, CreatesByTypeCodeWithTheRegisteredCreators)
{
    RaidElementFactory* factory = registeredFactory();
    struct Case {
        unsigned char code;
        RaidElementData* data;   // handed over to the element when one is built
        bool built;
    };
    std::vector<Case> cases = {
        {ELEMENT_TYPE_PD, nullptr, false},
        {ELEMENT_TYPE_VD, nullptr, false},
        {ELEMENT_TYPE_ARRAY, nullptr, false},
        {ELEMENT_TYPE_SPARE, nullptr, false},
        {ELEMENT_TYPE_SPAN, nullptr, false},
        {ELEMENT_TYPE_ADAPTER, nullptr, false},
        {ELEMENT_TYPE_DISK_GROUP, nullptr, true},   // the one creator that needs no data object
        {7, nullptr, false},                        // a code without creators
        {15, nullptr, false},
        {200, nullptr, false},                      // beyond the table
        {ELEMENT_TYPE_PD, new CountingPdData(), true},
        {ELEMENT_TYPE_VD, new CountingVdData(), true},
        {ELEMENT_TYPE_ARRAY, new CountingArrayData(), true},
        {ELEMENT_TYPE_DISK_GROUP, new CountingData<DgData>(), true},
        {ELEMENT_TYPE_SPARE, new CountingSpareData(), true},
    };
    for (const Case& c : cases) {
        dataDeleted = 0;
        RaidElement* element = factory->create(c.code, c.data, nullptr);
        EXPECT_EQ(element != nullptr, c.built) << "code " << int(c.code);
        if (element != nullptr) {
            EXPECT_EQ(element->getId(), c.data != nullptr ? c.data->getId() : nullptr);
            delete element;
            EXPECT_EQ(dataDeleted, c.data != nullptr ? 1 : 0) << "the element owns its data object";
        }
    }
}

TEST(RaidElementFactory, ElementKindsFollowTheirCodes)
{
    RaidElementFactory* factory = registeredFactory();
    RaidElement* pd = factory->create(ELEMENT_TYPE_PD, new CountingPdData(), nullptr);
    RaidElement* array = factory->create(ELEMENT_TYPE_ARRAY, new CountingArrayData(), nullptr);
    RaidElement* group = factory->create(ELEMENT_TYPE_DISK_GROUP, nullptr, nullptr);
    RaidElement* span = factory->create(ELEMENT_TYPE_SPAN, new TestSpanData(), nullptr);
    EXPECT_NE(dynamic_cast<PhysicalDevice*>(pd), nullptr);
    EXPECT_NE(dynamic_cast<ArrayHmg*>(array), nullptr);
    ASSERT_NE(dynamic_cast<DiskGroup*>(group), nullptr);
    EXPECT_EQ(group->getId(), nullptr) << "a disk group built without data has none";
    EXPECT_STREQ(group->toString().c_str(), "");
    EXPECT_NE(dynamic_cast<Span*>(span), nullptr);
    // A data object of another interface is not taken: the span creator refuses a drive's.
    CountingPdData* wrong = new CountingPdData();
    EXPECT_EQ(factory->create(ELEMENT_TYPE_SPAN, wrong, nullptr), nullptr);
    delete wrong;
    delete pd;
    delete array;
    delete group;
    delete span;
}

TEST(RaidElementFactory, FirstNonNullCreatorWins)
{
    RaidElementFactory factory;
    EXPECT_EQ(factory.create(ELEMENT_TYPE_PD, nullptr, nullptr), nullptr) << "no creator registered";
    EXPECT_EQ(factory.registerCreator(ELEMENT_TYPE_DISK_GROUP, makeFunctor(&refuseAll)), 0);
    EXPECT_EQ(factory.create(ELEMENT_TYPE_DISK_GROUP, nullptr, nullptr), nullptr) << "every creator gave null";
    EXPECT_EQ(factory.registerCreator(ELEMENT_TYPE_DISK_GROUP, makeFunctor(&DiskGroup::create)), 0);
    RaidElement* group = factory.create(ELEMENT_TYPE_DISK_GROUP, nullptr, nullptr);
    EXPECT_NE(dynamic_cast<DiskGroup*>(group), nullptr) << "the next creator of the code is tried";
    delete group;
    EXPECT_EQ(factory.registerCreator(16, makeFunctor(&DiskGroup::create)), -1) << "beyond the table";
}

TEST(RmDataFactory, NoCreatorGivesNull)
{
    RmDataFactory factory;
    EXPECT_EQ(factory.create(nullptr), nullptr);
}

TEST(SpanDataZpr, AnswersFromItsRecordOnly)
{
    SpanDataZpr data(nullptr, nullptr);
    uint64_t start = 99, count = 99;
    EXPECT_EQ(data.getStartBlock(&start), -1);
    EXPECT_EQ(data.getBlockCount(&count), -1);
    EXPECT_EQ(start, 99u);
    EXPECT_EQ(count, 99u);
    EXPECT_STREQ(data.toString().c_str(), "");

    uint8_t record[24] = {0};
    record[0] = 0x00;
    record[1] = 0x08;                       // start block 0x800
    record[8] = 0x00;
    record[9] = 0x00;
    record[10] = 0x10;                      // block count 0x100000
    record[15] = 0x01;                      // high byte: 0x0100000000100000
    data.setRecord(ZprSpanRecord(LeView(record, sizeof record)));
    EXPECT_EQ(data.getStartBlock(&start), 0);
    EXPECT_EQ(data.getBlockCount(&count), 0);
    EXPECT_EQ(start, 0x800u);
    EXPECT_EQ(count, 0x0100000000100000u);
}
