// An array of drives: the element Array with its kind in use, ArrayHmg, and the data
// interface ArrayData. An array knows its member drives, the virtual drives with a span on
// it, its disk group and the hot spares dedicated to it; it owns the list containers, never
// the elements in them.
#ifndef ARRAY_H
#define ARRAY_H

#include <cstdint>

#include "PavUtil/List.h"
#include "RaidManager/RaidElement.h"
#include "RaidManager/RmStatus.h"

class DiskGroup;
class ArraySpaceInfo;
class PhysicalDevice;
class Spare;
class VirtualDisk;

class ArrayData : public RaidElementData {
public:
    ArrayData(Controller* controller, RaidElementId* id) : RaidElementData(controller, id) {}
    ~ArrayData() override;

    // The usable extent on each member drive, in blocks.
    [[nodiscard]] virtual int getSize(uint64_t* blocks) = 0;
    // The firmware's number of the array.
    [[nodiscard]] virtual int getArrayRef(uint16_t* arrayRef) = 0;
    [[nodiscard]] virtual int getMaxVdsPerArray(uint8_t* count) = 0;
    // 1 when no array record is attached.
    [[nodiscard]] virtual int hasNoRecord(uint8_t* answer) = 0;
    // Stores the size in the array record and writes the record to the controller.
    [[nodiscard]] virtual int setSize(uint64_t blocks) = 0;
};

class Array : public RaidElement {
public:
    Array(ArrayData* data, Controller* controller);
    // The data object's text and the numbers of drives, virtual drives and dedicated spares.
    string toString() override;
    // Takes itself out of the array list of each dedicated spare (the spares stay) and
    // deletes the containers, not their elements.
    ~Array() override;

    [[nodiscard]] virtual int isHmg() = 0;
    [[nodiscard]] virtual int isRedundant(uint8_t* answer) = 0;

    // Every extent of the array in block order (blocks per member drive): each virtual drive's
    // and the gaps, free (no virtual drive). A new list, owned by the caller with its extents;
    // -1 without a record or virtual drives, or when a drive's layout cannot be read.
    [[nodiscard]] int getSpaceMap(ArrayList<ArraySpaceInfo*>** map);
    // The free extents of the space map, as a new list owned by the caller with its extents;
    // NO_ROOM, nothing handed out, when there is none.
    [[nodiscard]] int getFreeExtents(ArrayList<ArraySpaceInfo*>** extents);

    [[nodiscard]] int addPd(PhysicalDevice* pd);
    [[nodiscard]] int addVirtualDisk(VirtualDisk* vd);
    [[nodiscard]] int addSpare(Spare* spare);
    [[nodiscard]] int setDiskGroup(DiskGroup* group);

    // -1 when the array has no record or no drive list.
    [[nodiscard]] int getPdList(ArrayList<PhysicalDevice*>** list);
    [[nodiscard]] int getVdList(ArrayList<VirtualDisk*>** list);
    // The dedicated spares, possibly null; always 0.
    [[nodiscard]] int getSpares(ArrayList<Spare*>** list);
    [[nodiscard]] int getDiskGroup(DiskGroup** group);

    [[nodiscard]] int hasNoRecord(uint8_t* answer);
    // These forwarders refuse (-1) an array without a record.
    [[nodiscard]] int getSize(uint64_t* blocks);
    [[nodiscard]] int getArrayRef(uint16_t* arrayRef);
    [[nodiscard]] int getMaxVdsPerArray(uint8_t* count);
    // The smallest coerced size of the member drives that can be read.
    [[nodiscard]] int getSmallestPdSize(uint64_t* blocks);
    [[nodiscard]] int setSizeToSmallestPd();
    // 1 when a member drive that can be read is foreign.
    [[nodiscard]] int hasForeignPd(uint8_t* answer);
    // The same for an array of a disk group or under a span: -1 for a null array, 0 (answer
    // untouched) for an array without a record.
    [[nodiscard]] static int hasForeignPdIfRecorded(Array* array, uint8_t* answer);

protected:
    // 0 when the array has a record, else -1 or the data object's failure.
    [[nodiscard]] int requireRecord();
    // The space map's walk over the virtual drives sorted by start block.
    [[nodiscard]] int buildSpaceMap(ArrayList<VirtualDisk*>* sorted, ArrayList<ArraySpaceInfo*>* map);

    ArrayData* arrayData;               // the element's data object, seen as its interface
    ArrayList<PhysicalDevice*>* pds;    // null until the first drive is added
    ArrayList<VirtualDisk*>* vds;
    DiskGroup* diskGroup;               // not owned
    ArrayList<Spare*>* spares;
};

// The array of the controllers in use: the one kind of Array the model builds.
class ArrayHmg : public Array {
public:
    ArrayHmg(ArrayData* data, Controller* controller);
    ~ArrayHmg() override;

    [[nodiscard]] int isHmg() override { return 1; }
    // 1 when the first virtual drive's primary level is 1, 5 or 6; -1 without virtual drives.
    [[nodiscard]] int isRedundant(uint8_t* answer) override;
    // The blocks a new virtual drive of the array's level (its first virtual drive's) could
    // hold in the extent, over all member drives; -1 for a level without a rule.
    [[nodiscard]] int getExtentCapacity(ArraySpaceInfo* extent, uint64_t* capacity);

    // The creator registered under ELEMENT_TYPE_ARRAY; null without a data object.
    static RaidElement* create(RaidElementData* data, Controller* controller);
};

// One extent of an array: a run of blocks on each member drive, used by a virtual drive or
// free (null). The virtual drive is not owned.
class ArraySpaceInfo {
public:
    ArraySpaceInfo(uint64_t start, uint64_t size, VirtualDisk* vd) : start(start), size(size), vd(vd) {}
    virtual ~ArraySpaceInfo() {}

    uint64_t getStart() const { return start; }
    uint64_t getSize() const { return size; }
    VirtualDisk* getVirtualDisk() const { return vd; }
    // Equal start and size; the virtual drive is not compared.
    bool equals(const ArraySpaceInfo* other) const;
    string toString() const;

private:
    uint64_t start;
    uint64_t size;
    VirtualDisk* vd;
};

#endif
