// The plan of a new virtual drive, filled by a configuration command before the drive is
// made: UnCfgdVdOnFreshPd for a drive of unconfigured drives grouped into spans,
// UnCfgdVdOnFreeSpOnPd for a drive in a free extent of the arrays of a disk group.
//
// The plan holds the RAID level, strip size, policies, name and requested size; it answers
// which levels are possible, what size the drive will get and whether the request is valid.
// Sizes are in blocks; every drive's share is aligned down to whole strips, and a request
// below MIN_VD_BLOCKS is raised to it before it is fitted.
//
// Operations return 0, -1 for a missing prerequisite (no candidates, level, spans or extent),
// or the status of a failed adapter or drive read; values go out through pointers.
#ifndef UNCONFIGUREDVD_H
#define UNCONFIGUREDVD_H

#include <cstdint>

#include "PavUtil/List.h"
#include "RaidManager/Zpr/Records/LogicalDrive/ZprLdValues.h"

class Adapter;
class ArrayHmg;
class ArraySpaceInfo;
class Controller;
class DiskGroup;
class PhysicalDevice;
class VdId;

class UnConfiguredVd {
public:
    // RAID level codes of a plan: the four single-span levels and the spanned ones (declared with
    // the logical-drive record's values; named here too for the plan's users).
    static constexpr uint8_t LEVEL_RAID0 = ::LEVEL_RAID0;
    static constexpr uint8_t LEVEL_RAID1 = ::LEVEL_RAID1;
    static constexpr uint8_t LEVEL_RAID5 = ::LEVEL_RAID5;
    static constexpr uint8_t LEVEL_RAID6 = ::LEVEL_RAID6;
    static constexpr uint8_t LEVEL_SPANNED_RAID1 = ::LEVEL_SPANNED_RAID1;
    static constexpr uint8_t LEVEL_SPANNED_RAID5 = ::LEVEL_SPANNED_RAID5;
    static constexpr uint8_t LEVEL_SPANNED_RAID6 = ::LEVEL_SPANNED_RAID6;
    static constexpr uint8_t LEVEL_NONE = ::LEVEL_NONE;
    // The smallest virtual drive, and the smallest usable free extent offered.
    static constexpr uint64_t MIN_VD_BLOCKS = 204800;
    static constexpr size_t NAME_SIZE = 16;

    // Parameter 31 (drive cache) starts as the adapter's default, 0 when it cannot be had.
    UnConfiguredVd(Controller* controller, uint8_t stripSize, uint8_t parameter27, uint8_t parameter29,
                   uint8_t parameter28, uint8_t parameter30);

    // A new list of level codes, owned by the caller.
    [[nodiscard]] virtual int getPossibleRaidLevels(ArrayList<unsigned char>** levels) = 0;
    // The size the drive gets for the requested size: the request itself when it is the
    // maximum, else the request fitted to whole strips of the layout; -1 without a request or
    // a level.
    [[nodiscard]] virtual int getVdSize(uint64_t* size);
    // 1 when the requested size is what the drive will get, within the maximum; -1 otherwise.
    [[nodiscard]] virtual int isSizeValid(uint8_t* answer) = 0;
    // Deletes neither the drives, the span lists nor the identifier.
    virtual ~UnConfiguredVd();

    // The largest drive the plan allows, and a request fitted to the layout.
    [[nodiscard]] virtual int getMaximumSize(uint64_t* size) = 0;
    [[nodiscard]] virtual int fitSize(uint64_t requested, uint64_t* size) = 0;

    [[nodiscard]] int setRequestedSize(uint64_t v) { requestedSize = v; return 0; }
    [[nodiscard]] int getRequestedSize(uint64_t* v) const { return out(v, requestedSize); }
    // Stores the level; on an adapter of OEM 2 the write-policy code becomes 0.
    [[nodiscard]] int setRaidLevel(uint8_t level);
    [[nodiscard]] int getRaidLevel(uint8_t* v) const { return out(v, raidLevel); }
    [[nodiscard]] int setStripSize(uint8_t v) { stripSize = v; return 0; }
    [[nodiscard]] int getStripSize(uint8_t* v) const { return out(v, stripSize); }
    [[nodiscard]] int setParameter26(uint8_t v) { parameter26 = v; return 0; }
    [[nodiscard]] int getParameter26(uint8_t* v) const { return out(v, parameter26); }
    [[nodiscard]] int setParameter27(uint8_t v) { parameter27 = v; return 0; }
    [[nodiscard]] int getParameter27(uint8_t* v) const { return out(v, parameter27); }
    [[nodiscard]] int setParameter28(uint8_t v) { parameter28 = v; return 0; }
    [[nodiscard]] int getParameter28(uint8_t* v) const { return out(v, parameter28); }
    [[nodiscard]] int setParameter29(uint8_t v) { parameter29 = v; return 0; }
    [[nodiscard]] int getParameter29(uint8_t* v) const { return out(v, parameter29); }
    [[nodiscard]] int setParameter30(uint8_t v) { parameter30 = v; return 0; }
    [[nodiscard]] int getParameter30(uint8_t* v) const { return out(v, parameter30); }
    [[nodiscard]] int setParameter31(uint8_t v) { parameter31 = v; return 0; }
    [[nodiscard]] int getParameter31(uint8_t* v) const { return out(v, parameter31); }
    // -1, the name unchanged, for a null text or one of more than 15 characters.
    [[nodiscard]] int setName(const char* text);
    const char* getName() const { return name; }
    // -1 for a null identifier; the identifier is not owned.
    [[nodiscard]] int setVdId(VdId* id);
    VdId* getVdId() const { return vdId; }
    [[nodiscard]] int setParameter56(uint8_t v) { parameter56 = v; return 0; }
    [[nodiscard]] int getParameter56(uint8_t* v) const { return out(v, parameter56); }
    [[nodiscard]] int setParameter57(uint8_t v) { parameter57 = v; return 0; }
    [[nodiscard]] int getParameter57(uint8_t* v) const { return out(v, parameter57); }
    [[nodiscard]] int setParameter58(uint8_t v) { parameter58 = v; return 0; }
    [[nodiscard]] int getParameter58(uint8_t* v) const { return out(v, parameter58); }

    // All ones shifted left by the strip-size exponent: aligns a block count down to strips.
    uint64_t getStripMask() const;
    Controller* getController() const { return controller; }

    // The usable blocks of `drives` drives with a per-drive `share` (aligned first) at a level
    // code; -1 for a level without a rule or a span too small for it.
    [[nodiscard]] int usableBlocks(uint8_t level, uint64_t share, uint8_t drives, uint64_t* blocks) const;
    // The aligned per-drive share that holds `blocks` usable blocks on `drives` drives.
    [[nodiscard]] int driveShareFor(uint8_t level, uint64_t blocks, uint8_t drives, uint64_t* share) const;

    UnConfiguredVd(const UnConfiguredVd&) = delete;
    UnConfiguredVd& operator=(const UnConfiguredVd&) = delete;

protected:
    template <class T>
    [[nodiscard]] static int out(T* to, T value)
    {
        if (to != nullptr)
            *to = value;
        return 0;
    }
    // The controller's adapter; null when the manager or the adapter cannot be had.
    Adapter* adapter() const;
    // 0 when the request is within the maximum (handed out) and is what the drive will get;
    // else -1 or the failure of a size step.
    [[nodiscard]] int checkRequestFits(uint64_t* maximum);
    // 1 when the plan's level is a spanned one on the adapter (0 without an adapter).
    uint8_t isSpannedLevel() const;

    Controller* controller;
    uint64_t requestedSize;
    uint8_t raidLevel;
    uint8_t stripSize;
    uint8_t parameter26;   // protection information: PI_TYPE_PROPRIETARY asks for it
    uint8_t parameter27;   // I/O policy: 0 cached, 1 direct
    uint8_t parameter28;   // read policy: 0 read-ahead, 1 adaptive, 2 none
    uint8_t parameter29;   // write-policy code
    uint8_t parameter30;   // 1: keep the write cache with a bad battery
    uint8_t parameter31;   // drive cache: 0 unchanged, 1 enabled, 2 disabled
    char name[NAME_SIZE];
    VdId* vdId;
    uint8_t parameter56;   // encryption type
    uint8_t parameter57;   // power-savings policy
    uint8_t parameter58;   // 1: the drive is an SSD cache
};

class UnCfgdVdOnFreshPd : public UnConfiguredVd {
public:
    // A plan with the adapter's defaults; null when they cannot be read or the adapter has
    // both span slicing and the per-span size flag.
    static UnCfgdVdOnFreshPd* create(Controller* controller);

    UnCfgdVdOnFreshPd(Controller* controller, uint8_t stripSize, uint8_t parameter27, uint8_t parameter29,
                      uint8_t parameter28, uint8_t parameter30);
    // Deletes the candidate-list container.
    ~UnCfgdVdOnFreshPd() override;

    // -1 without candidates.
    [[nodiscard]] int getPossibleRaidLevels(ArrayList<unsigned char>** levels) override;
    [[nodiscard]] int isSizeValid(uint8_t* answer) override;
    // -1 when the span layout is not valid.
    [[nodiscard]] int getMaximumSize(uint64_t* size) override;
    [[nodiscard]] int fitSize(uint64_t requested, uint64_t* size) override;

    // The unconfigured-good drives in no array, kept in the plan (which owns the container).
    [[nodiscard]] int getCandidateDrives(ArrayList<PhysicalDevice*>** list);
    uint8_t isDriveAcceptable(PhysicalDevice* pd);
    uint8_t hasEnoughMixableCandidates(PhysicalDevice* pd);
    uint8_t canJoinLastSpan(PhysicalDevice* pd);
    uint8_t hasRoomInLastSpan();
    // The address of the span list the command builds (one drive list per span, not owned).
    ArrayList<ArrayList<PhysicalDevice*>*>** getSpans() { return &spans; }
    // Even for the mirror levels (bit 0 cleared).
    [[nodiscard]] int setDrivesPerSpan(uint8_t count);
    [[nodiscard]] int getDrivesPerSpan(uint8_t* v) const { return out(v, drivesPerSpan); }
    // Answer 1 when the spans fit the level's limits; -1 when they do not.
    [[nodiscard]] int isSpanLayoutValid(uint8_t* answer);
    // The smallest coerced size of the drives of one span, and over all spans.
    [[nodiscard]] int getSmallestDriveSize(ArrayList<PhysicalDevice*>* drives, uint64_t* size);
    [[nodiscard]] int getSmallestSpanDriveSize(uint64_t* size);

private:
    uint8_t drivesPerSpan;
    ArrayList<ArrayList<PhysicalDevice*>*>* spans;   // not owned
    ArrayList<PhysicalDevice*>* candidates;           // container owned
};

class UnCfgdVdOnFreeSpOnPd : public UnConfiguredVd {
public:
    // A plan over the group's free space; null without a controller or group, or as
    // UnCfgdVdOnFreshPd::create refuses. The encryption type is that of the existing drives.
    static UnCfgdVdOnFreeSpOnPd* create(Controller* controller, DiskGroup* group);

    UnCfgdVdOnFreeSpOnPd(Controller* controller, uint8_t stripSize, uint8_t parameter27, uint8_t parameter29,
                         uint8_t parameter28, uint8_t parameter30, DiskGroup* group);
    ~UnCfgdVdOnFreeSpOnPd() override;

    // The one level of the drives already there.
    [[nodiscard]] int getPossibleRaidLevels(ArrayList<unsigned char>** levels) override;
    [[nodiscard]] int isSizeValid(uint8_t* answer) override;
    [[nodiscard]] int getMaximumSize(uint64_t* size) override;
    [[nodiscard]] int fitSize(uint64_t requested, uint64_t* size) override;

    // The free extents of the group's first array that can hold the smallest drive; a new list
    // owned by the caller with its extents (possibly empty).
    [[nodiscard]] int getFreeExtents(ArrayList<ArraySpaceInfo*>** list);
    [[nodiscard]] int setExtent(ArraySpaceInfo* chosen);
    ArraySpaceInfo* getExtent() const { return extent; }
    DiskGroup* getDiskGroup() const { return diskGroup; }
    bool alwaysTrue() const { return true; }

private:
    // The group's first array; null when there is none or it is of another kind.
    ArrayHmg* firstArray() const;
    [[nodiscard]] int getExistingEncryptionType(uint8_t* type);

    DiskGroup* diskGroup;      // not owned
    ArraySpaceInfo* extent;    // not owned
};

#endif
