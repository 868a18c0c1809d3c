// The program's containers: the abstract list List<T>, its growable-array implementation
// ArrayList<T> and the forward iterator ArrayListIterator<T>.
//
// Counts and capacities are 8-bit, so a list holds at most 255 elements. A list stores values
// of its element type; for pointer types it stores the pointers only and never deletes what
// they point to: the code that fills a list with objects deletes them itself.
//
// A full list grows by 4 slots. A list made with capacity c therefore reaches the capacities
// c, c + 4, c + 8, ... and its largest capacity is the largest of these not above 255 (252 for
// a multiple of 4). At that capacity add() refuses the element and returns -1 instead of
// growing past the 8-bit range; it also returns -1, with the list unchanged, when the larger
// item array cannot be allocated.
#ifndef PAVUTIL_LIST_H
#define PAVUTIL_LIST_H

#include "PavUtil/Memory.h"

#include <cstdlib>
#include <type_traits>

// Comparison function of List::sort, as for the C library's qsort: pointers to two elements,
// result negative, zero or positive.
typedef int (*ListCompareFunction)(const void*, const void*);

template <class T>
class List {
public:
    explicit List(unsigned char capacity) : itemCount(0), itemCapacity(capacity) {}
    virtual ~List() {}

    // The element at index, by value; a default value (null, 0, an empty functor) for an index
    // not below the count.
    virtual T get(unsigned char index) const = 0;
    // Appends; 0 when stored, -1 when the list is full at its largest capacity or out of memory.
    virtual int add(T element) = 0;
    // Sorts the elements with the C library's qsort; the order of equal elements is undefined.
    virtual void sort(ListCompareFunction compare) = 0;
    // Removes the element at index (not deleting it); an index not below the count does nothing.
    virtual void removeAt(unsigned char index) = 0;

    unsigned char count() const { return itemCount; }
    unsigned char size() const { return itemCount; }
    unsigned char capacity() const { return itemCapacity; }

protected:
    unsigned char itemCount;     // number of elements
    unsigned char itemCapacity;  // number of slots of the item array
};

template <class T>
class ArrayList : public List<T> {
public:
    // Growth step of a full list.
    static const unsigned char GROWTH = 4;

    explicit ArrayList(unsigned char capacity = 0) : List<T>(capacity), items(nullptr)
    {
        if (capacity > 0) {
            items = new (noThrowNew) T[capacity]();
            if (items == nullptr)
                this->itemCapacity = 0;
        }
    }

    // Copies are deep: each list owns its own item array (the elements themselves, pointers
    // included, are copied as values).
    ArrayList(const ArrayList& other) : List<T>(0), items(nullptr) { copyFrom(other); }

    ArrayList& operator=(const ArrayList& other)
    {
        if (this != &other) {
            delete[] items;
            items = nullptr;
            this->itemCount = 0;
            this->itemCapacity = 0;
            copyFrom(other);
        }
        return *this;
    }

    ~ArrayList() override { delete[] items; }

    T get(unsigned char index) const override
    {
        if (index >= this->itemCount)
            return T();
        return items[index];
    }

    int add(T element) override
    {
        if (this->itemCount >= this->itemCapacity) {
            // Growth is computed in full int so that it can never wrap the 8-bit capacity.
            int grown = static_cast<int>(this->itemCapacity) + GROWTH;
            if (grown > 255)
                return -1;
            T* larger = new (noThrowNew) T[grown]();
            if (larger == nullptr)
                return -1;
            for (unsigned char i = 0; i < this->itemCount; ++i)
                larger[i] = items[i];
            delete[] items;
            items = larger;
            setCapacity(static_cast<unsigned char>(grown));
        }
        items[this->itemCount] = element;
        ++this->itemCount;
        return 0;
    }

    void sort(ListCompareFunction compare) override
    {
        static_assert(std::is_trivially_copyable<T>::value,
                      "qsort moves elements byte-wise: the element type must be trivially copyable");
        if (compare == nullptr || this->itemCount < 2)
            return;
        std::qsort(items, this->itemCount, sizeof(T), compare);
    }

    void removeAt(unsigned char index) override
    {
        if (index >= this->itemCount)
            return;
        for (unsigned char i = index; i + 1 < this->itemCount; ++i)
            items[i] = items[i + 1];
        --this->itemCount;
    }

    T at(unsigned char index) const { return get(index); }

    // True when an element from index first to last (lowered to count - 1) equals value; false
    // when first is not below the count or last is below first.
    bool contains(const T& value, unsigned char first, unsigned char last) const
    {
        if (first >= this->itemCount || last < first)
            return false;
        if (last >= this->itemCount)
            last = static_cast<unsigned char>(this->itemCount - 1);
        for (int i = first; i <= last; ++i) {
            if (get(static_cast<unsigned char>(i)) == value)
                return true;
        }
        return false;
    }

    // Appends value unless `unique` is set and the list already holds it. 0 when the value is
    // in the list afterwards, -1 when add() refused it.
    int addUnique(const T& value, bool unique)
    {
        if (unique && this->itemCount > 0 &&
            contains(value, 0, static_cast<unsigned char>(this->itemCount - 1)))
            return 0;
        return add(value);
    }

protected:
    // Stores a new capacity; only add() calls it, together with the new item array.
    void setCapacity(unsigned char capacity) { this->itemCapacity = capacity; }

private:
    void copyFrom(const ArrayList& other)
    {
        if (other.itemCapacity == 0)
            return;
        items = new (noThrowNew) T[other.itemCapacity]();
        if (items == nullptr)
            return;
        for (unsigned char i = 0; i < other.itemCount; ++i)
            items[i] = other.items[i];
        this->itemCapacity = other.itemCapacity;
        this->itemCount = other.itemCount;
    }

    T* items;  // exactly itemCapacity slots; null while the capacity is 0
};

template <class T>
class ArrayListIterator {
public:
    // The position may be anywhere, also beyond the end (the iterator is then done).
    explicit ArrayListIterator(ArrayList<T>* list, unsigned char start = 0)
        : list(list), position(start)
    {
    }
    virtual ~ArrayListIterator() {}

    void first() { position = 0; }
    bool isDone() const { return list == nullptr || position >= list->count(); }
    // Steps to the next element; it stays at 255, which is past the end of every list.
    void next()
    {
        if (position < 255)
            ++position;
    }
    T current() const { return list == nullptr ? T() : list->get(position); }
    unsigned char getPosition() const { return position; }

private:
    ArrayList<T>* list;       // not owned
    unsigned char position;   // index of the current element
};

// Helpers for lists of pointers whose filling code owns the objects pointed to. The default
// release of an entry is delete.
struct DeleteOwnedEntry {
    template <typename T>
    void operator()(T* entry) const { delete entry; }
};

// Releases every entry with dropEntry (null entries are skipped), then the list; nothing for null.
template <typename T, typename Drop = DeleteOwnedEntry>
void deleteOwnedList(ArrayList<T*>* list, Drop dropEntry = Drop())
{
    if (list == nullptr)
        return;
    for (unsigned char i = 0; i < list->count(); ++i) {
        T* entry = list->get(i);
        if (entry != nullptr)
            dropEntry(entry);
    }
    delete list;
}

// A new list holding copyEntry(entry) for each entry of the source, in order. A null entry stays
// null, so that every entry keeps its position. Null for a null source and when memory runs out:
// a partial copy would act on other items than the ones typed.
template <typename T, typename Copy, typename Drop = DeleteOwnedEntry>
ArrayList<T*>* copyOwnedList(const ArrayList<T*>* source, Copy copyEntry, Drop dropEntry = Drop())
{
    if (source == nullptr)
        return nullptr;
    ArrayList<T*>* copy = new (noThrowNew) ArrayList<T*>(source->count() > 4 ? source->count() : 4);
    if (copy == nullptr)
        return nullptr;
    for (unsigned char i = 0; i < source->count(); ++i) {
        T* entry = source->get(i);
        T* own = entry != nullptr ? copyEntry(entry) : nullptr;
        if ((entry != nullptr && own == nullptr) || copy->add(own) != 0) {
            if (own != nullptr)
                dropEntry(own);
            deleteOwnedList(copy, dropEntry);
            return nullptr;
        }
    }
    return copy;
}

// A new copy of a plain value, as copyOwnedList's copyEntry; null when memory runs out.
template <typename T>
T* copyOwnedValue(const T* value)
{
    return new (noThrowNew) T(*value);
}

#endif
