// The parser's drive list, handed to every request of a command and to every copy: freed
// exactly once, after its last holder, whatever the order of deletion.
#include <gtest/gtest.h>

#include "RequestTestSupport.h"

namespace {

class SharedDriveListTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        CountedEnclSlotId::destroyed = 0;
        CountedDriveList::destroyed = 0;
        usersBefore = sharedDriveListUsers;
    }

    unsigned int usersBefore = 0;
};

// Adapters 0 and 1 named on the command line: two requests, one list; either deletion order.
TEST_F(SharedDriveListTest, TwoAdapterRequestsFreeTheListOnceAfterTheSecond)
{
    for (int firstDeleted = 0; firstDeleted < 2; ++firstDeleted) {
        CountedEnclSlotId::destroyed = 0;
        CountedDriveList::destroyed = 0;
        CountedDriveList* list = makeCountedDriveList();
        ParsedObject* requests[2] = {new PdOffLineParsedObject(38, list, 0, 0), new PdOffLineParsedObject(38, list, 0, 1)};
        EXPECT_EQ(SharedDriveList::holdersOf(list), 2u);
        EXPECT_EQ(sharedDriveListUsers, usersBefore + 2);

        delete requests[firstDeleted];
        EXPECT_EQ(CountedDriveList::destroyed, 0);
        EXPECT_EQ(CountedEnclSlotId::destroyed, 0);
        PdOffLineParsedObject* survivor = static_cast<PdOffLineParsedObject*>(requests[1 - firstDeleted]);
        ASSERT_EQ(survivor->getDriveList(), list);
        EXPECT_EQ(survivor->getDriveList()->get(1)->getEnclosureId(), ENCLOSURE_ID_RESOLVE);
        EXPECT_EQ(survivor->getDriveList()->get(1)->getSlotNumber(), 4);

        delete survivor;
        EXPECT_EQ(CountedEnclSlotId::destroyed, 2);
        EXPECT_EQ(CountedDriveList::destroyed, 1);
        EXPECT_EQ(sharedDriveListUsers, usersBefore);
    }
}

// Requests of different classes holding the same list (as the holders of one command do)
// and the copies of an all-adapters request all count against the one list.
TEST_F(SharedDriveListTest, PerAdapterRequestsAndAllAdapterCopiesShareOneCount)
{
    CountedDriveList* list = makeCountedDriveList();
    PdFwDownloadPo* adapter0 = new PdFwDownloadPo(73, 0, 0, list, string("fw.bin"), 7, 0, 0);
    PdFwDownloadPo* adapter1 = new PdFwDownloadPo(73, 0, 0, list, string("fw.bin"), 7, 0, 1);
    PdFwDownloadPo* all = new PdFwDownloadPo(73, 0, 0, list, string("fw.bin"), 7, 0, ALL_ADAPTERS);
    ParsedObject* copies[3];
    for (unsigned char a = 0; a < 3; ++a) {
        copies[a] = all->clone();
        copies[a]->setAdapterNumber(a);
    }
    EXPECT_EQ(SharedDriveList::holdersOf(list), 6u);

    delete all;
    delete adapter1;
    delete copies[0];
    delete copies[2];
    delete adapter0;
    EXPECT_EQ(CountedDriveList::destroyed, 0);
    EXPECT_EQ(static_cast<PdFwDownloadPo*>(copies[1])->getDeviceList()->count(), 2);
    delete copies[1];
    EXPECT_EQ(CountedDriveList::destroyed, 1);
    EXPECT_EQ(CountedEnclSlotId::destroyed, 2);
    EXPECT_EQ(sharedDriveListUsers, usersBefore);
}

// Without a drive list there is nothing to free, but the holders are still counted.
TEST_F(SharedDriveListTest, NullListIsCountedAndNeverFreed)
{
    PdInfoParsedObject* a = new PdInfoParsedObject(37, nullptr, 0);
    ParsedObject* b = a->clone();
    EXPECT_EQ(sharedDriveListUsers, usersBefore + 2);
    EXPECT_EQ(SharedDriveList::holdersOf(nullptr), 0u);
    EXPECT_EQ(static_cast<PdInfoParsedObject*>(b)->getDriveList(), nullptr);
    delete a;
    delete b;
    EXPECT_EQ(sharedDriveListUsers, usersBefore);
}

// Two lists alive at once (two commands built in one process, as in a test run) do not
// release one another: each goes with its own last holder.
TEST_F(SharedDriveListTest, DistinctListsAreCountedApart)
{
    CountedDriveList* first = makeCountedDriveList();
    CountedDriveList* second = makeCountedDriveList();
    ParsedObject* a = new PdClrParsedObject(41, first, 0, 0);
    ParsedObject* b = new SecureErasePo(124, nullptr, 353, second, 617, 0, 0, 0, 0);
    ParsedObject* c = b->clone();

    delete a;
    EXPECT_EQ(CountedDriveList::destroyed, 1);
    EXPECT_EQ(CountedEnclSlotId::destroyed, 2);
    EXPECT_EQ(SharedDriveList::holdersOf(second), 2u);
    EXPECT_EQ(static_cast<SecureErasePo*>(c)->getDriveList()->get(0)->getSlotNumber(), 1);

    delete c;
    delete b;
    EXPECT_EQ(CountedDriveList::destroyed, 2);
    EXPECT_EQ(CountedEnclSlotId::destroyed, 4);
    EXPECT_EQ(sharedDriveListUsers, usersBefore);
}

// The derived class releases the list through its base, under the same count.
TEST_F(SharedDriveListTest, ReplaceMissingReleasesThroughItsBase)
{
    CountedDriveList* list = makeCountedDriveList();
    PdInfoParsedObject* info = new PdInfoParsedObject(37, list, 0);
    PdReplaceMissingParsedObject* replace = new PdReplaceMissingParsedObject(44, list, 1, 2, 1);
    EXPECT_EQ(SharedDriveList::holdersOf(list), 2u);
    delete info;
    EXPECT_EQ(CountedDriveList::destroyed, 0);
    delete replace;
    EXPECT_EQ(CountedDriveList::destroyed, 1);
    EXPECT_EQ(CountedEnclSlotId::destroyed, 2);
}

// Null entries in a shared list are skipped when it is freed.
TEST_F(SharedDriveListTest, NullEntriesAreSkippedWhenFreed)
{
    CountedDriveList* list = makeCountedDriveList();
    list->add(nullptr);
    delete new PdPrpRmvParsedObject(46, list, 0, 0);
    EXPECT_EQ(CountedDriveList::destroyed, 1);
    EXPECT_EQ(CountedEnclSlotId::destroyed, 2);
}

} // namespace
