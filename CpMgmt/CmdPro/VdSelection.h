// The selection of virtual drives by the logical-drive list of a request ("-Lx|-L0,1,2|-Lall"),
// shared by the processors of the logical-drive commands. The numbers a user gives with -L, and
// that the displays print as "Virtual Drive: %d", are target ids.
#ifndef VDSELECTION_H
#define VDSELECTION_H

#include <cstdint>

#include "PavUtil/List.h"

class LdParsedObject;
class RaidManager;
class VirtualDisk;

// True when the request asks for every virtual drive (its first entry is ALL_LDS).
bool selectsAllVds(const LdParsedObject* request);

// The number of configured virtual drives: 0, or, after message 0x32001, the status of the
// logical-drive list read that failed (-1 without a manager).
int readVdCount(RaidManager* manager, uint8_t adapterNumber, uint8_t* count);

// The model's virtual drives sorted by target id, ascending (the list is the model's): 0, or,
// after message 0x30025, the status of the configuration read that failed (-1 without a
// manager). A configuration that could not be read is never an empty one.
int sortedVds(RaidManager* manager, ArrayList<VirtualDisk*>** vds);

// The drive's target id; 255 when it has no identifier.
uint8_t targetIdOf(VirtualDisk* vd);

// The first drive of the list with the target id; null when none carries it.
VirtualDisk* findVdByTargetId(ArrayList<VirtualDisk*>* vds, uint8_t targetId);

// The virtual drive of a target id as RaidManager::getVd gives it (looked up by a new id whose
// sequence number the model fills in). A drive of the model's snapshot stays the model's; one
// the model made for the lookup alone is deleted with the lookup.
class VdLookup {
public:
    VdLookup() : vd(nullptr), owned(false) {}
    ~VdLookup() { release(); }
    // 0 with the drive, else the lookup's status (the drive is then null).
    int lookUp(RaidManager* manager, uint8_t targetId);
    VirtualDisk* get() const { return vd; }

    VdLookup(const VdLookup&) = delete;
    VdLookup& operator=(const VdLookup&) = delete;

private:
    void release();

    VirtualDisk* vd;
    bool owned;
};

// True when the cached configuration holds the target id the user named. False with `failure`
// 0 after message 0x32005 when it does not; false with `failure` the read's status (never 0)
// after message 0x30025 when the configuration cannot be read.
bool configHoldsTargetId(RaidManager* manager, uint8_t adapterNumber, uint8_t targetId, int* failure);

// The drive number of step i of a walk: with `all` the target id of the i-th drive of the
// sorted list; otherwise the request's i-th entry, which the cached configuration must hold.
// False with `failure` 0 after message 0x32005 when the configuration does not hold it; false
// with `failure` the read's status (never 0) after message 0x30025 when the configuration
// cannot be read: the caller then stops its walk and ends with that status.
bool walkTargetId(const LdParsedObject* request, ArrayList<VirtualDisk*>* vds, bool all, unsigned i,
                  RaidManager* manager, uint8_t adapterNumber, uint8_t* targetId, int* failure);

#endif
