#include "PavUtil/Functor.h"
#include "PavUtil/List.h"
#include "PavUtil/Memory.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

namespace {

int compareUnsignedShort(const void* a, const void* b)
{
    unsigned short x = *static_cast<const unsigned short*>(a);
    unsigned short y = *static_cast<const unsigned short*>(b);
    return x < y ? -1 : (x > y ? 1 : 0);
}

struct Item {
    int id;
    static int alive;
    explicit Item(int i) : id(i) { ++alive; }
    ~Item() { --alive; }
};
int Item::alive = 0;

int compareItemsById(const void* a, const void* b)
{
    const Item* x = *static_cast<Item* const*>(a);
    const Item* y = *static_cast<Item* const*>(b);
    return x->id - y->id;
}

int twice(int v) { return 2 * v; }
int thrice(int v) { return 3 * v; }

// Fills the list until add() refuses; returns the number of elements stored.
int fillUntilRefused(ArrayList<unsigned char>& list)
{
    for (int i = 0; i < 400; ++i) {
        if (list.add(static_cast<unsigned char>(i)) != 0)
            return list.count();
    }
    return -1;
}

} // namespace

TEST(List, GrowsByFourFromCapacityZero)
{
    ArrayList<unsigned short> list(0);
    EXPECT_EQ(list.capacity(), 0);
    EXPECT_EQ(list.add(10), 0);
    EXPECT_EQ(list.capacity(), 4);
    for (unsigned short v = 11; v <= 14; ++v)
        EXPECT_EQ(list.add(v), 0);
    // A fifth element in a list of 4 gives capacity 8 with the earlier ones in order.
    EXPECT_EQ(list.capacity(), 8);
    EXPECT_EQ(list.count(), 5);
    for (unsigned char i = 0; i < 5; ++i)
        EXPECT_EQ(list.get(i), 10 + i);
    EXPECT_EQ(list.size(), 5);
    EXPECT_EQ(list.at(4), 14);
}

TEST(List, RefusesInsteadOfWrappingAtItsLargestCapacity)
{
    // initial capacity -> largest capacity (elements stored before add refuses)
    const int cases[][2] = {
        {0, 252}, {4, 252}, {32, 252}, {1, 253}, {2, 254}, {3, 255},
        {251, 255}, {252, 252}, {253, 253}, {255, 255},
    };
    for (const auto& c : cases) {
        ArrayList<unsigned char> list(static_cast<unsigned char>(c[0]));
        EXPECT_EQ(fillUntilRefused(list), c[1]) << "initial capacity " << c[0];
        EXPECT_EQ(list.capacity(), c[1]);
        // Refused again, still intact: first and last elements are where they were.
        EXPECT_EQ(list.add(7), -1);
        EXPECT_EQ(list.get(0), 0);
        EXPECT_EQ(list.get(static_cast<unsigned char>(c[1] - 1)), static_cast<unsigned char>(c[1] - 1));
        // After a removal there is room again.
        list.removeAt(0);
        EXPECT_EQ(list.add(99), 0);
        EXPECT_EQ(list.get(static_cast<unsigned char>(c[1] - 1)), 99);
    }
}

TEST(List, GrowthThatCannotAllocateLeavesTheListUnchanged)
{
    ArrayList<unsigned short> list(1);
    ASSERT_EQ(list.add(5), 0);
    testsupport::StreamCapture captured;
    failNextAllocations(1);
    int result = list.add(6);
    std::fflush(stdout);
    EXPECT_EQ(captured.take(), "!!! SYSTEM IS OUT OF MEMORY !!!\n");
    EXPECT_EQ(result, -1);
    EXPECT_EQ(list.count(), 1);
    EXPECT_EQ(list.capacity(), 1);
    EXPECT_EQ(list.get(0), 5);
    EXPECT_EQ(list.add(6), 0);
    EXPECT_EQ(list.get(1), 6);
}

TEST(List, RemoveAtAndOutOfRangeGet)
{
    ArrayList<const char*> list(4);
    list.add("a");
    list.add("b");
    list.add("c");
    list.removeAt(3);  // index equal to the count: unchanged
    EXPECT_EQ(list.count(), 3);
    list.removeAt(0);
    ASSERT_EQ(list.count(), 2);
    EXPECT_STREQ(list.get(0), "b");
    EXPECT_STREQ(list.get(1), "c");
    list.removeAt(1);
    ASSERT_EQ(list.count(), 1);
    EXPECT_STREQ(list.get(0), "b");
    EXPECT_EQ(list.get(1), nullptr);   // beyond the count: a null value, not stale data
    EXPECT_EQ(list.get(200), nullptr);
}

TEST(List, SortWithCallersComparator)
{
    ArrayList<unsigned short> list(2);
    const unsigned short values[] = {40, 7, 65535, 0, 7, 12};
    for (unsigned short v : values)
        list.add(v);
    list.sort(&compareUnsignedShort);
    const unsigned short sorted[] = {0, 7, 7, 12, 40, 65535};
    ASSERT_EQ(list.count(), 6);
    for (unsigned char i = 0; i < 6; ++i)
        EXPECT_EQ(list.get(i), sorted[i]);

    ArrayList<unsigned short> empty(0);
    empty.sort(&compareUnsignedShort);  // no item array: nothing to do
    EXPECT_EQ(empty.count(), 0);
}

TEST(List, NeverDeletesItsElements)
{
    Item::alive = 0;
    Item a(3), b(1), c(2);
    {
        ArrayList<Item*> list(0);
        list.add(&a);
        list.add(&b);
        list.add(&c);
        list.sort(&compareItemsById);
        EXPECT_EQ(list.get(0)->id, 1);
        EXPECT_EQ(list.get(2)->id, 3);
        list.removeAt(1);
    }
    EXPECT_EQ(Item::alive, 3);

    ArrayList<Item*>* heapList = new ArrayList<Item*>(4);
    heapList->add(new Item(9));
    delete heapList->get(0);  // the filler deletes the objects, then the list
    delete heapList;
    EXPECT_EQ(Item::alive, 3);
}

TEST(List, IteratorWalksFromAnyPosition)
{
    ArrayList<unsigned char> list(4);
    list.add(10);
    list.add(20);
    ArrayListIterator<unsigned char> it(&list, 3);
    EXPECT_TRUE(it.isDone());
    it.first();
    ASSERT_FALSE(it.isDone());
    EXPECT_EQ(it.current(), 10);
    it.next();
    EXPECT_EQ(it.getPosition(), 1);
    EXPECT_EQ(it.current(), 20);
    it.next();
    EXPECT_TRUE(it.isDone());

    // A full 255-element list: the walk ends, and stepping on at the end stays done.
    ArrayList<unsigned char> full(3);
    ASSERT_EQ(fillUntilRefused(full), 255);
    int seen = 0;
    ArrayListIterator<unsigned char> walk(&full, 0);
    for (; !walk.isDone() && seen < 1000; walk.next())
        ++seen;
    EXPECT_EQ(seen, 255);
    walk.next();
    EXPECT_TRUE(walk.isDone());
    EXPECT_EQ(walk.getPosition(), 255);
}

TEST(List, ContainsAndAddUnique)
{
    ArrayList<unsigned char> list(4);
    for (unsigned char v : {2, 0, 5})
        list.addUnique(v, true);
    EXPECT_EQ(list.addUnique(2, true), 0);
    EXPECT_EQ(list.count(), 3);  // not appended again
    EXPECT_EQ(list.addUnique(2, false), 0);
    EXPECT_EQ(list.count(), 4);  // duplicates without the flag

    EXPECT_TRUE(list.contains(5, 0, 3));
    EXPECT_TRUE(list.contains(5, 2, 200));   // last lowered to count - 1
    EXPECT_FALSE(list.contains(5, 0, 1));
    EXPECT_FALSE(list.contains(2, 4, 9));    // first not below the count
    EXPECT_FALSE(list.contains(2, 3, 1));    // last below first
}

TEST(List, FunctorElements)
{
    typedef CBFunctor1wRet<int, int> IntFunctor;
    ArrayList<IntFunctor> list(1);
    list.add(makeFunctor(&twice));
    list.add(makeFunctor(&thrice));  // grows: slots of the new array start empty
    EXPECT_EQ(list.capacity(), 5);
    EXPECT_EQ(list.get(0).call(5), 10);
    EXPECT_EQ(list.get(1).call(5), 15);

    // get() returns a copy: changing it leaves the stored functor alone.
    IntFunctor copy = list.get(0);
    copy.clear();
    EXPECT_TRUE(copy == IntFunctor());
    EXPECT_EQ(list.get(0).call(4), 8);
    EXPECT_TRUE(list.get(4) == IntFunctor());  // beyond the count: empty
    EXPECT_TRUE(list.contains(makeFunctor(&thrice), 0, 1));
}

TEST(List, CopiesAreIndependent)
{
    ArrayList<unsigned short> list(4);
    list.add(1);
    list.add(2);
    ArrayList<unsigned short> copy(list);
    copy.add(3);
    EXPECT_EQ(list.count(), 2);
    EXPECT_EQ(copy.count(), 3);
    EXPECT_EQ(copy.get(1), 2);

    // Assigning a fresh empty list of capacity 0 empties the target, without an item array.
    copy = ArrayList<unsigned short>(0);
    EXPECT_EQ(copy.count(), 0);
    EXPECT_EQ(copy.capacity(), 0);
    EXPECT_EQ(list.get(1), 2);
    EXPECT_EQ(copy.add(8), 0);
    EXPECT_EQ(copy.capacity(), 4);
}

TEST(List, UsableThroughTheAbstractBase)
{
    List<unsigned short>* list = new ArrayList<unsigned short>(0);
    EXPECT_EQ(list->add(3), 0);
    EXPECT_EQ(list->add(1), 0);
    list->sort(&compareUnsignedShort);
    EXPECT_EQ(list->get(0), 1);
    list->removeAt(0);
    EXPECT_EQ(list->count(), 1);
    delete list;
}

TEST(OwnedList, DeepCopyKeepsPositionsAndOwnsItsEntries)
{
    Item::alive = 0;
    Item a(1), c(3);
    ArrayList<Item*> given(2);
    given.add(&a);
    given.add(nullptr);
    given.add(&c);

    ArrayList<Item*>* copy =
        copyOwnedList(&given, [](const Item* item) { return new (noThrowNew) Item(item->id); });
    ASSERT_NE(copy, nullptr);
    ASSERT_EQ(copy->count(), 3);
    EXPECT_NE(copy->get(0), &a);
    EXPECT_EQ(copy->get(0)->id, 1);
    EXPECT_EQ(copy->get(1), nullptr);
    EXPECT_EQ(copy->get(2)->id, 3);
    EXPECT_EQ(Item::alive, 4);
    deleteOwnedList(copy);
    EXPECT_EQ(Item::alive, 2);

    EXPECT_EQ(copyOwnedList(static_cast<const ArrayList<int*>*>(nullptr), copyOwnedValue<int>), nullptr);
    deleteOwnedList(static_cast<ArrayList<int*>*>(nullptr));
}

// A copy that runs out of memory half-way gives nothing back and leaves nothing behind: a list
// silently short of an entry would act on other items than the ones given.
TEST(OwnedList, CopyThatRunsOutOfMemoryReleasesWhatItMade)
{
    Item::alive = 0;
    Item a(1), b(2), c(3);
    ArrayList<Item*> given(4);
    given.add(&a);
    given.add(&b);
    given.add(&c);
    int copied = 0;
    ArrayList<Item*>* copy = copyOwnedList(&given, [&copied](const Item* item) {
        return ++copied == 3 ? nullptr : new (noThrowNew) Item(item->id);
    });
    EXPECT_EQ(copy, nullptr);
    EXPECT_EQ(Item::alive, 3);
}

// Nested lists are copied and released with the inner list's own helpers.
TEST(OwnedList, NestedListsUseTheGivenCopyAndRelease)
{
    ArrayList<int*> inner(4);
    int one = 1;
    inner.add(&one);
    ArrayList<ArrayList<int*>*> outer(4);
    outer.add(&inner);
    outer.add(nullptr);

    auto copyInner = [](const ArrayList<int*>* list) { return copyOwnedList(list, copyOwnedValue<int>); };
    auto dropInner = [](ArrayList<int*>* list) { deleteOwnedList(list); };
    ArrayList<ArrayList<int*>*>* copy = copyOwnedList(&outer, copyInner, dropInner);
    ASSERT_NE(copy, nullptr);
    ASSERT_EQ(copy->count(), 2);
    ASSERT_NE(copy->get(0), &inner);
    EXPECT_NE(copy->get(0)->get(0), &one);
    EXPECT_EQ(*copy->get(0)->get(0), 1);
    EXPECT_EQ(copy->get(1), nullptr);
    deleteOwnedList(copy, dropInner);  // the sanitizer build reports anything left behind
}
