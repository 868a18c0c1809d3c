// A snapshot of one configuration: the disk groups, arrays, virtual drives and global hot
// spares read from a configuration buffer (the controller's own, or a foreign one).
//
// The snapshot owns its list containers and the arrays, disk groups and virtual drives in
// them, and every spare element built for it, global or dedicated (a dedicated spare is
// listed only by the arrays it serves, so the snapshot keeps a list of its own of all spares
// to delete them). Drives are never owned: they belong to the drive cache of the RmData that
// read the configuration. The elements' data objects point into the configuration buffer, so
// the snapshot must not outlive the buffer it was read from.
#ifndef RMCFG_H
#define RMCFG_H

#include <cstdint>

#include "PavUtil/List.h"

class Array;
class DiskGroup;
class Spare;
class VirtualDisk;

class RmCfg {
public:
    RmCfg();
    // Deletes the arrays, then the disk groups, then the virtual drives (each before its
    // container), the spare-list container, every spare, and the buffer. A foreign snapshot
    // first takes its arrays and spares out of the drives that point at them: its drives are the
    // drive cache's and outlive it (so it must be deleted before the cache is rebuilt).
    virtual ~RmCfg();

    // Clears the links from the drives of the snapshot's arrays and spares to them.
    void unlinkDrives();

    // The setters take the lists over; a list already set is deleted with its elements first.
    void setDiskGroups(ArrayList<DiskGroup*>* list);
    void setArrays(ArrayList<Array*>* list);
    void setVds(ArrayList<VirtualDisk*>* list);
    // The global spares (a container only: the spares are owned through adoptSpare).
    void setSpares(ArrayList<Spare*>* list);
    // Takes a spare element over, global or dedicated: 0, or -1 when it cannot be kept (the
    // caller then still owns it).
    [[nodiscard]] int adoptSpare(Spare* spare);

    ArrayList<DiskGroup*>* getDiskGroups() const { return diskGroups; }
    ArrayList<Array*>* getArrays() const { return arrays; }
    ArrayList<VirtualDisk*>* getVds() const { return vds; }
    ArrayList<Spare*>* getSpares() const { return spares; }

    // The raw foreign configuration this snapshot was read from (new[]-allocated, owned).
    void setForeignBuffer(uint8_t* buffer);
    uint8_t* getForeignBuffer() const { return foreignBuffer; }
    void setForeign(uint8_t flag) { foreign = flag; }
    uint8_t isForeign() const { return foreign; }

    RmCfg(const RmCfg&) = delete;
    RmCfg& operator=(const RmCfg&) = delete;

private:
    void deleteArrays();
    void deleteDiskGroups();
    void deleteVds();
    void deleteSpares();

    ArrayList<DiskGroup*>* diskGroups;
    ArrayList<Array*>* arrays;
    ArrayList<VirtualDisk*>* vds;
    ArrayList<Spare*>* spares;       // the global spares; container only
    uint8_t* foreignBuffer;
    uint8_t foreign;
    ArrayList<Spare*>* ownedSpares;  // every spare of the snapshot, deleted last
};

#endif
