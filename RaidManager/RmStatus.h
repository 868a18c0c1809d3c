// The statuses the RAID model answers of its own, beside 0 (done, or asked and answered), -1
// (refused, or nothing to read) and the firmware statuses it passes up unchanged
// (Zpr/Records/ZprFirmwareStatus.h). The command processors compare them by these names, and
// the configuration commands end with several of them, so each value is also an exit code:
// never renumber one. One name per value and meaning; two meanings may share a value.
#ifndef RMSTATUS_H
#define RMSTATUS_H

enum RmStatus : int {
    // The change is made, but the operating system's view of the logical drives could not be
    // brought up to date (adds, deletes, foreign imports, controller actions).
    OS_STEP_FAILED = -2,
    // getOnlyEnclosureId: the adapter has several enclosures.
    SEVERAL_ENCLOSURES = 1,
    // getOnlyEnclosureId: a drive is attached without an enclosure.
    DRIVE_WITHOUT_ENCLOSURE = 2,
    // canCreateVdOnFreeSpace: the disk group would hold more virtual drives than systems of 16
    // per disk group accept (part of the interface; the model's own check never answers it).
    BEYOND_16_VDS = 2,
    // canCreateVdOnFreeSpace: an array of the disk group has no free space.
    NO_FREE_SPACE = 3,
    // getUnusedPds: a listed drive has no element in the model.
    DRIVE_ELEMENT_MISSING = 3,
    // canCreateVdOnFreshPds: no new virtual drive can be made (no unused drive is unconfigured
    // good; answer 0). The configuration commands end with it too whenever the model answers
    // "not possible".
    NOT_POSSIBLE = 11,
    // getUnconfiguredGoodPdsBySize: no unused unconfigured-good drive to list.
    NO_DRIVE_FOUND = 12,
    // No room for another virtual drive: the controller's or an array's maximum is reached
    // (canCreateVdOnFreshPds, canCreateVdOnFreeSpace), or the array has no free extent
    // (Array::getFreeExtents).
    NO_ROOM = 26,
    // canCreateVdOnFreeSpace: a drive of the disk group is rebuilding.
    DRIVE_REBUILDING = 28,
};

// The codes of validateSpanDrives, the check of the spans a configuration command names: 0
// when they make a configuration, else what is wrong with them. The configuration commands
// print one message per code (in code order).
enum RmSpanCheck : int {
    SPANS_VALID = 0,
    SPANS_MIXED = 1,              // configured and unconfigured drives mixed
    SPANS_NO_ARRAY = 2,           // a drive's state unreadable, or a span on no array
    SPANS_UNEVEN = 3,             // spans of unequal drive counts
    SPANS_NOT_ARRAY_DRIVES = 5,   // a span names other drives than its array's
    SPANS_MISSING = 6,            // no span list, or a span or drive missing
    SPANS_EMPTY = 7,              // an empty list or span
    SPANS_NO_DISK_GROUP = 8,
    SPANS_GROUP_UNREADABLE = 9,
    SPANS_NOT_GROUP = 10,         // the spans do not make up one disk group
    SPANS_NO_FREE_EXTENTS = 11,
    SPANS_EXTENTS_DIFFER = 12,    // the arrays' free extents differ
};

#endif
