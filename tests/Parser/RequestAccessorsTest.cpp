// Accessors and construction rules of particular requests.
#include <cstring>

#include <gtest/gtest.h>

#include "RequestTestSupport.h"

namespace {

ArrayList<unsigned char> bytes(std::initializer_list<unsigned char> values)
{
    ArrayList<unsigned char> list(4);
    for (unsigned char v : values)
        list.add(v);
    return list;
}

TEST(EnclSlotIdTest, HoldsFullWidthValuesUnchanged)
{
    EnclSlotId highest(0xFFFE, 255);
    EXPECT_EQ(highest.getEnclosureId(), 0xFFFE);
    EXPECT_EQ(highest.getSlotNumber(), 255);
    EnclSlotId none(ENCLOSURE_ID_NONE, 0);
    EXPECT_EQ(none.getEnclosureId(), 0xFFFF);
}

TEST(EnclSlotIdTest, TypedAddressMustFitAndAvoidTheReservedIds)
{
    struct Case {
        long enclosure;
        long slot;
        bool valid;
    } cases[] = {
        {0, 0, true},         {252, 255, true},    {65534, 7, true},     {0xCCCB, 1, true},
        {32, 256, false},     {65536, 1, false},   {0xFFFF, 1, false},   {0xCCCC, 1, false},
        {-1, 1, false},       {1, -1, false},      {4294967296L, 0, false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(EnclSlotId::isTypedAddressValid(c.enclosure, c.slot), c.valid) << c.enclosure << ":" << c.slot;
}

TEST(LdParsedObjectTest, IndexPastTheListGivesAllDrives)
{
    ArrayList<unsigned char> given = bytes({4, 9, 4});
    LdInfoParsedObject r(27, &given, 0);
    EXPECT_EQ(r.getLdCount(), 3);
    EXPECT_EQ(r.getLd(0), 4);
    EXPECT_EQ(r.getLd(2), 4);  // duplicates are kept
    EXPECT_EQ(r.getLd(3), ALL_LDS);
    EXPECT_EQ(r.getLd(255), ALL_LDS);

    ArrayList<unsigned char> all = bytes({ALL_LDS});
    LdOperationParsedObject lall(28, &all, 353, 0, 0, 0);
    EXPECT_EQ(lall.getLdCount(), 1);
    EXPECT_EQ(lall.getLd(0), 64);

    LdBBMClearParsedObject none(99, nullptr, 0);
    EXPECT_EQ(none.getLdCount(), 0);
}

TEST(LdInfoParsedObjectTest, FormWithoutForceGivesForceZeroAlsoInCopies)
{
    ArrayList<unsigned char> given = bytes({1});
    LdInfoParsedObject r(27, &given, 2);
    EXPECT_EQ(r.getForce(), 0);
    ParsedObject* copy = r.clone();
    EXPECT_EQ(static_cast<LdInfoParsedObject*>(copy)->getForce(), 0);
    delete copy;
}

TEST(AdpEventLogPoTest, CopiesOfOneRunAreFirstThenFollowing)
{
    AdpEventLogPo::restartCloneSequence();
    AdpEventLogPo all(20, string("log.txt"), 4, 0, 0, nullptr, 0, ALL_ADAPTERS);
    ParsedObject* copies[3];
    for (int i = 0; i < 3; ++i)
        copies[i] = all.clone();
    EXPECT_EQ(static_cast<AdpEventLogPo*>(copies[0])->getFollowingAdapter(), 0);
    EXPECT_EQ(static_cast<AdpEventLogPo*>(copies[1])->getFollowingAdapter(), 1);
    EXPECT_EQ(static_cast<AdpEventLogPo*>(copies[2])->getFollowingAdapter(), 1);
    EXPECT_EQ(static_cast<AdpEventLogPo*>(copies[0])->getLdList(), nullptr);
    for (ParsedObject* c : copies)
        delete c;

    AdpEventLogPo::restartCloneSequence();
    AdpEventLogPo later(20, string(""), 4, 0, 0, nullptr, 1, 1);
    ParsedObject* first = later.clone();
    EXPECT_EQ(static_cast<AdpEventLogPo*>(first)->getFollowingAdapter(), 0);
    delete first;
}

TEST(AdpTimeParsedObjectTest, NoTimeGivenLeavesTheCallersRecordAlone)
{
    AdpDateTime none = {0xFFFF, 0, 0, 0xFF, 0, 0};
    AdpTimeParsedObject get(16, &none, 0);
    AdpDateTime out;
    std::memset(&out, 0x5A, sizeof(out));
    EXPECT_EQ(get.getDateTime(&out), 1);
    EXPECT_EQ(out.year, 0x5A5A);
    EXPECT_EQ(out.second, 0x5A);

    AdpTimeParsedObject missing(16, nullptr, 0);
    EXPECT_EQ(missing.getDateTime(&out), 1);

    AdpDateTime when = {2031, 12, 31, 0, 0, 1};
    AdpTimeParsedObject set(15, &when, 0);
    EXPECT_EQ(set.getDateTime(&out), 0);
    EXPECT_EQ(out.year, 2031);
    EXPECT_EQ(out.month, 12);
    EXPECT_EQ(out.day, 31);
    EXPECT_EQ(out.hour, 0);
    EXPECT_EQ(out.second, 1);
}

TEST(MuxModeParsedObjectTest, IndexPastTheConnectorsGives255)
{
    ArrayList<unsigned char> given = bytes({0, 2});
    MuxModeParsedObject r(76, 410, &given, 0);
    EXPECT_EQ(r.getMuxCount(), 2);
    EXPECT_EQ(r.getMux(1), 2);
    EXPECT_EQ(r.getMux(2), 255);

    MuxModeParsedObject none(75, 412, nullptr, 0);
    EXPECT_EQ(none.getMuxCount(), 0);
    EXPECT_EQ(none.getMux(0), 255);
}

TEST(ScheduleStartTimeTest, TakenOnlyWithAYear)
{
    struct tm zeroYear;
    std::memset(&zeroYear, 0, sizeof(zeroYear));
    zeroYear.tm_hour = 5;
    zeroYear.tm_mday = 3;
    struct tm given = zeroYear;
    given.tm_year = 125;

    ArrayList<unsigned char> empty(4);
    AdpCCSchedParsedObject cc(80, 2, 3, -1, &zeroYear, &empty, 0);
    EXPECT_EQ(cc.getLdList(), nullptr);
    EXPECT_EQ(cc.getStartTime()->tm_hour, 0);
    EXPECT_EQ(cc.getStartTime()->tm_mday, 0);

    AdpCCSchedParsedObject ccNull(80, 4, 3, -1, nullptr, nullptr, 0);
    EXPECT_EQ(ccNull.getStartTime()->tm_year, 0);
    EXPECT_EQ(ccNull.getLdList(), nullptr);

    AdpPrParsedObject pr(24, 1, 255, &given, 0);
    EXPECT_EQ(pr.getStartTime()->tm_year, 125);
    EXPECT_EQ(pr.getStartTime()->tm_hour, 5);
    AdpPrParsedObject prZero(24, 1, 255, &zeroYear, 0);
    EXPECT_EQ(prZero.getStartTime()->tm_hour, 0);
}

TEST(AdpPropertyPoTest, ShortFormsLeaveTheOtherValuesNotGivenAndCopiesKeepThem)
{
    AdpPropertyPo one(11, 300, 5, 0);
    EXPECT_EQ(one.getValue(), 5);
    EXPECT_EQ(one.getValue2(), 255);
    EXPECT_EQ(one.getValue3(), 255);
    EXPECT_EQ(one.getValue4(), 255);

    AdpPropertyPo two(11, 301, 1, 30, 0);
    EXPECT_EQ(two.getValue2(), 255);
    EXPECT_EQ(two.getValue3(), 30);
    EXPECT_EQ(two.getValue4(), 255);

    ParsedObject* copy = two.clone();
    AdpPropertyPo* p = static_cast<AdpPropertyPo*>(copy);
    EXPECT_EQ(p->getProperty(), 301);
    EXPECT_EQ(p->getValue(), 1);
    EXPECT_EQ(p->getValue2(), 255);
    EXPECT_EQ(p->getValue3(), 30);
    EXPECT_EQ(p->getValue4(), 255);
    delete copy;
}

TEST(AdpBbuPoTest, MissingScheduleMeansNoStartHour)
{
    AdpBbuPo r(64, string(""), 10, 0, 0, 0, 0, nullptr, 255);
    EXPECT_EQ(r.getLearnSchedule()[AdpBbuPo::LEARN_SCHEDULE_HOUR], 255);
    EXPECT_EQ(r.learnDay, 255);
}

// Copies for two controllers own distinct lists at every level, with equal contents.
TEST(CfgAddParsedObjectTest, CopiesOwnDistinctListsWithEqualContents)
{
    ParserLists lists;
    CfgAddParsedObject source(49, 5, 0, 0, 0, 0, 0, 1, 64, lists.sizes(), lists.arrays(), lists.pds(), 0, 25, 0, 255, ALL_ADAPTERS);
    ParsedObject* a = source.clone();
    ParsedObject* b = source.clone();
    CfgAddParsedObject* copies[2] = {static_cast<CfgAddParsedObject*>(a), static_cast<CfgAddParsedObject*>(b)};
    CfgAddParsedObject* all[3] = {&source, copies[0], copies[1]};
    for (int i = 0; i < 3; ++i) {
        for (int j = i + 1; j < 3; ++j) {
            EXPECT_NE(all[i]->getArrayList(), all[j]->getArrayList());
            EXPECT_NE(all[i]->getArrayList()->get(1), all[j]->getArrayList()->get(1));
            EXPECT_NE(all[i]->getArrayList()->get(1)->get(2), all[j]->getArrayList()->get(1)->get(2));
            EXPECT_NE(all[i]->getSizeList()->get(0), all[j]->getSizeList()->get(0));
            EXPECT_NE(all[i]->getHotSpareList()->get(0), all[j]->getHotSpareList()->get(0));
        }
    }
    EXPECT_NE(source.getArrayList(), lists.arrays());
    EXPECT_EQ(copies[1]->getArrayList()->count(), 2);
    EXPECT_EQ(copies[1]->getArrayList()->get(1)->get(2)->getEnclosureId(), 11);
    EXPECT_EQ(copies[1]->getArrayList()->get(1)->get(2)->getSlot(), 2);
    EXPECT_EQ(*copies[1]->getSizeList()->get(1), 0x1FFFFFFFFFFULL);
    EXPECT_EQ(copies[1]->getHotSpareList()->get(1)->getEnclosureId(), ENCLOSURE_ID_NONE);
    delete a;
    delete b;
}

TEST(CfgAutoParsedObjectTest, CarriesNoListsNoForceAndNoAfterLd)
{
    CfgAutoParsedObject r(82, 1, 255, 255, 255, 255, 0xFFFF, 0, 1, 0, 0, 0, 1, 0, 25, 1, 1, 0);
    EXPECT_EQ(r.force, 0);
    EXPECT_EQ(r.getAfterLd(), 255);
    EXPECT_EQ(r.getArrayList(), nullptr);
    EXPECT_EQ(r.getSizeList(), nullptr);
    EXPECT_EQ(r.getHotSpareList(), nullptr);
    EXPECT_EQ(r.getEnablePi(), 1);
    EXPECT_EQ(r.cache, 1);
    EXPECT_EQ(r.getSpanCount(), 1);
    EXPECT_EQ(r.getRevertible(), 1);
    EXPECT_EQ(r.getPowerSavePolicy(), 25);
}

TEST(CfgSSCDAddParsedObjectTest, NoNameGivesNullAlsoInCopies)
{
    const char* noName[] = {nullptr, ""};
    for (const char* name : noName) {
        CfgSSCDAddParsedObject r(111, nullptr, name, 0, 0, 1, 0, nullptr, 0);
        EXPECT_EQ(r.getName(), nullptr);
        EXPECT_EQ(r.getLdList()->count(), 0);
        ParsedObject* copy = r.clone();
        EXPECT_EQ(static_cast<CfgSSCDAddParsedObject*>(copy)->getName(), nullptr);
        delete copy;
    }

    char typed[] = "Cache1";
    CfgSSCDAddParsedObject named(111, nullptr, typed, 0, 0, 1, 0, nullptr, 0);
    typed[0] = 'X';
    EXPECT_STREQ(named.getName(), "Cache1");
    ParsedObject* copy = named.clone();
    EXPECT_STREQ(static_cast<CfgSSCDAddParsedObject*>(copy)->getName(), "Cache1");
    EXPECT_NE(static_cast<CfgSSCDAddParsedObject*>(copy)->getName(), named.getName());
    delete copy;
}

TEST(LdPropParsedObjectTest, NameIsOwnCopyOrNull)
{
    ArrayList<unsigned char> given = bytes({0});
    LdPropParsedObject none(34, &given, 0x2a0, 0, nullptr, 0);
    EXPECT_EQ(none.getName(), nullptr);

    // An empty name is a name: it renames the drive to nothing.
    LdPropParsedObject empty(34, &given, 0x2a0, 0, "", 0);
    ASSERT_NE(empty.getName(), nullptr);
    EXPECT_STREQ(empty.getName(), "");

    char typed[] = "Data";
    LdPropParsedObject named(34, &given, 0x2a0, 1, typed, 0);
    EXPECT_NE(named.getName(), typed);
    EXPECT_STREQ(named.getName(), "Data");
}

TEST(TidexCmdParsedObjectTest, AddressesTheHostAndCopiesTheNames)
{
    ArrayList<string*> names(4);
    string sdb("sdb");
    names.add(&sdb);
    TidexCmdParsedObject r(137, 11, 6, &names, 0, 0, 1, 0, 0);
    EXPECT_EQ(r.getAdapterNumber(), 0);
    EXPECT_NE(r.getNameList()->get(0), &sdb);

    ParsedObject* copy = r.clone();
    EXPECT_EQ(copy->getAdapterNumber(), 0);
    TidexCmdParsedObject* t = static_cast<TidexCmdParsedObject*>(copy);
    EXPECT_NE(t->getNameList()->get(0), r.getNameList()->get(0));
    EXPECT_STREQ(t->getNameList()->get(0)->c_str(), "sdb");
    delete copy;
}

TEST(PdHspParsedObjectTest, CopiesHoldIndependentDriveAndArrayLists)
{
    ParserLists lists;
    PdHspParsedObject source(47, lists.pds(), lists.arrayNumbers(), 0, 1, 1, 1, ALL_ADAPTERS);
    ParsedObject* a = source.clone();
    ParsedObject* b = source.clone();
    PdHspParsedObject* pa = static_cast<PdHspParsedObject*>(a);
    PdHspParsedObject* pb = static_cast<PdHspParsedObject*>(b);
    EXPECT_NE(pa->driveList, pb->driveList);
    EXPECT_NE(pa->arrayNumbers, pb->arrayNumbers);
    EXPECT_NE(pa->arrayNumbers->get(1), pb->arrayNumbers->get(1));
    EXPECT_NE(pa->arrayNumbers->get(1), source.arrayNumbers->get(1));
    EXPECT_EQ(*pb->arrayNumbers->get(1), 2);
    delete a;
    delete b;

    PdHspParsedObject global(47, lists.pds(), nullptr, 0, 0, 1, 1, 0);
    EXPECT_EQ(global.arrayNumbers, nullptr);
}

TEST(PdIdListObjectTest, CopyKeepsOrderAndPositions)
{
    ArrayList<PdIdListObject*> given(4);
    PdIdListObject source(8, 3, -1, -1);
    PdIdListObject destination(9, 4, -1, -1);
    given.add(&source);
    given.add(nullptr);
    given.add(&destination);
    ArrayList<PdIdListObject*>* copy = PdIdListObject::copyList(&given);
    ASSERT_NE(copy, nullptr);
    ASSERT_EQ(copy->count(), 3);
    EXPECT_EQ(copy->get(0)->getEnclosureId(), 8);
    EXPECT_EQ(copy->get(1), nullptr);
    EXPECT_EQ(copy->get(2)->getSlot(), 4);
    PdIdListObject::deleteList(copy);
    EXPECT_EQ(PdIdListObject::copyList(nullptr), nullptr);
}

// Out of memory while copying: the request holds no list rather than a wrong one.
TEST(RequestMemoryTest, FailedCopyLeavesNoList)
{
    ParserLists lists;
    failNextAllocations(1);
    PdRebuildParsedObject r(40, lists.pds(), 353, 0);
    failNextAllocations(0);
    EXPECT_EQ(r.driveList, nullptr);
}

} // namespace
