// The per-controller access to the controller's configuration: it reads what the controller
// reports and builds the model elements. RaidManager forwards to it; one implementation per
// controller family (RmDataZpr).
//
// Operations return 0 on success, -1 for a request refused before anything was sent, or a
// firmware status passed on unchanged; values go out through pointer parameters, written only
// on success. Drive elements that the lookups hand out belong to the RmData's drive cache and
// die at the next resetCaches; lists that the listing operations hand out are new, and the
// caller owns the container and (for the listings that say so) the elements.
#ifndef RMDATA_H
#define RMDATA_H

#include <cstdint>

#include "PavUtil/List.h"

class Adapter;
class Controller;
class ControllerId;
class DiskGroup;
class EnclSlotId;
class PhysicalDevice;
class RaidElementId;
class RmCfg;
class UnConfiguredVd;
class VdId;
class VdIdZpr;
class VirtualDisk;
class ZprConfigBuffer;
struct VdOnDrivesRequest;
struct VdOnSpansRequest;

class RmData {
public:
    explicit RmData(Controller* controller);

    // The disk (device type 0) at an enclosure and slot: 0 with the cached element, else a new
    // one entered in the drive cache, or with null when the drive list has none; the drive
    // list's status when it cannot be read (then nothing is known of the drive).
    [[nodiscard]] virtual int findPdByEnclSlot(EnclSlotId* address, PhysicalDevice** pd) = 0;
    // The drive with a device id: the cached element, else a new one entered in the drive
    // cache (also for an id no drive has); null only when memory runs out.
    virtual PhysicalDevice* getPdByDeviceId(uint16_t deviceId) = 0;
    // Drive-list entries of device type 0 or 1.
    [[nodiscard]] virtual int countDiskPds(uint16_t* count) = 0;
    // Drives that are locked and foreign-locked; and those that also need key-management
    // attention.
    [[nodiscard]] virtual int countLockedForeignPds(uint16_t* count) = 0;
    [[nodiscard]] virtual int countEkmAttentionPds(uint16_t* count) = 0;
    // A new virtual-drive element (owned by the caller) for the logical drive the id names;
    // the id's unknown sequence number is completed from the logical-drive list.
    [[nodiscard]] virtual int createVd(RaidElementId* id, VirtualDisk** vd) = 0;
    // Completes the id's unknown sequence number from the logical-drive list.
    [[nodiscard]] virtual int refreshVd(VdIdZpr* id, VirtualDisk* ignored, uint8_t flag) = 0;
    [[nodiscard]] virtual int getVdCount(uint8_t* count) = 0;
    // Forgets every record read so far, so that the next reads ask the controller again, and
    // rebuilds the drive cache (every drive element handed out before dies here).
    [[nodiscard]] virtual int resetCaches() = 0;
    // A new Adapter element of the controller (owned by the caller); -1 when none can be built.
    [[nodiscard]] virtual int getAdapter(Adapter** adapter) = 0;
    // New lists of new drive elements, owned by the caller with their elements: every entry
    // of the drive list; the entries of device type 0 or 1.
    [[nodiscard]] virtual int getAllPdsRaw(ArrayList<PhysicalDevice*>** list) = 0;
    [[nodiscard]] virtual int getAllPds(ArrayList<PhysicalDevice*>** list) = 0;
    // A new list (the container owned by the caller, the drives by the drive cache) of the
    // drives in no array whose state is not JBOD or shielded; DRIVE_ELEMENT_MISSING when a
    // drive element cannot be had.
    [[nodiscard]] virtual int getUnusedPds(ArrayList<PhysicalDevice*>** list) = 0;
    // Number of enclosures the controller reports.
    [[nodiscard]] virtual int getEnclosureCount(uint32_t* count) = 0;
    // Enclosure device id of entry `index` of the controller's enclosure list; -1 for an index
    // at or beyond the count.
    [[nodiscard]] virtual int getEnclosureId(uint32_t index, uint16_t* enclosureId) = 0;
    // The property byte of the enclosure; 0 with `property` untouched for an unknown one.
    [[nodiscard]] virtual int getEnclosureProperty(uint16_t enclosureId, uint8_t* property) = 0;
    // A new snapshot (owned by the caller) of the controller's configuration.
    [[nodiscard]] virtual int readConfig(RmCfg** config) = 0;
    // A new list (as getUnusedPds) of the drives of the drive query in state JBOD (0x40).
    [[nodiscard]] virtual int getPdsInStateX40(ArrayList<PhysicalDevice*>** list) = 0;
    virtual ~RmData();
    // 0 with `inConfig` 1 when a logical-drive record of the configuration (read again with
    // `reread`) has the target id, 0 when none has; the configuration read's status when it
    // cannot be read (`inConfig` untouched).
    [[nodiscard]] virtual int findTargetIdInConfig(uint8_t targetId, uint8_t reread, uint8_t* inConfig) = 0;
    // 1 when the configuration has the target id, else 0 (also when it cannot be read).
    [[nodiscard]] int isTargetIdInConfig(uint8_t targetId, uint8_t reread);
    // Sorts the list in place by ascending target id; -1 for a null list.
    [[nodiscard]] virtual int sortVdsByTargetId(ArrayList<VirtualDisk*>* list) = 0;
    // A new snapshot of a given configuration buffer, which the caller keeps alive as long as
    // the snapshot.
    [[nodiscard]] virtual int parseConfigBuffer(const ZprConfigBuffer& buffer, RmCfg** config) = 0;
    // Appends the cached member drives of the logical drive with the target id to `list`.
    [[nodiscard]] virtual int getVdPds(ArrayList<PhysicalDevice*>* list, uint8_t targetId) = 0;

    // Logical-drive lists of the whole controller. Blocks handed out are new, in the
    // ZprLdIdList layout (or the snapshot commands' own), freed by the caller with delete[].
    // The SSD-cache association list asked with mailbox byte 0 = `query`.
    [[nodiscard]] virtual int getTidewellAssociations(uint8_t** block, uint8_t query) = 0;
    // Adds (1) or removes (0) one target id of the association list; 0 and nothing sent when
    // the list already is so.
    [[nodiscard]] virtual int setTidewellAssociations(uint8_t targetId, uint8_t add) = 0;
    [[nodiscard]] virtual int isTidewellAssociated(uint8_t targetId, uint8_t* answer) = 0;
    // The logical drives that are SSD caches.
    [[nodiscard]] virtual int countTidewellVds(uint8_t* count) = 0;
    // 0 no SSD cache, 1 write-through ones only, 2 a write-back one.
    [[nodiscard]] virtual int getTidewellWritePolicy(uint8_t* value) = 0;
    // The target ids new logical drives must not take.
    [[nodiscard]] virtual int queryReservedLdIds(uint8_t** block) = 0;
    // Reads the first block of every virtual drive, in target-id order: 0, or 1 when there is no
    // manager or no transport for a read.
    [[nodiscard]] virtual int readFirstBlockOfVds() = 0;
    // The snapshot commands: part of the interface, called by no command of the system.
    [[nodiscard]] virtual int sendSnapshotSubcmd03(uint32_t value, void* buffer, uint32_t length) = 0;
    [[nodiscard]] virtual int readSnapshotSubcmd08(uint8_t value, uint8_t** block) = 0;
    [[nodiscard]] virtual int readSnapshotSubcmd09(uint8_t value, uint8_t* buffer) = 0;
    [[nodiscard]] virtual int readSnapshotSubcmd0A(uint8_t** block) = 0;

    // Configuration changes (the caller refreshes its manager afterwards to see them). A
    // result of OS_STEP_FAILED (RmStatus.h) means the controller made the change but the
    // operating system's view of the logical drives could not be brought up to date.
    // Deletes the logical drive the id names (its reference from the logical-drive list; -1
    // when none has the target id). Unless `skipOs` is set, its disk leaves the operating
    // system first. `mailbox4` goes to mailbox byte 4 of the delete command.
    [[nodiscard]] virtual int deleteVd(VdId* id, uint8_t skipOs, uint8_t mailbox4) = 0;
    // Clears the whole configuration; `force` 1 asks the controller to clear it even while it
    // keeps SSD-cache data.
    [[nodiscard]] virtual int clearConfig(uint8_t force) = 0;
    // Spins up the spun-down drives of the spans before a configuration is made on them. The
    // pending drives live for the process: the first call collects them (their number goes to
    // `total`), each call sends them and writes the firmware's count to `spunUp`; they are
    // forgotten once a send succeeds. 0x55 and 0x56 mean the controller is still at work: call
    // again. 0 at once on a controller that needs no spin-up step.
    [[nodiscard]] virtual int spinUpDrives(ArrayList<ArrayList<PhysicalDevice*>*>* spans, uint32_t* spunUp, uint32_t* total) = 0;

    // The saved-configuration file. saveConfig writes the controller's configuration buffer
    // and properties record into the file (whole, or not at all). restoreConfig checks the
    // file, fits its configuration to the drives present now, checks that the controller can
    // take it, and only then spins the drives up, adds the configuration, makes the new
    // logical drives known to the operating system (whose answer does not count) and writes
    // the saved properties back with the controller's current sequence number: 0, -1 for a
    // file or configuration refused before anything was sent, or a firmware status.
    [[nodiscard]] virtual int saveConfig(const char* fileName) = 0;
    [[nodiscard]] virtual int restoreConfig(const char* fileName) = 0;
    // The last word of the capacity queries, once the model found room: answer 1.
    [[nodiscard]] virtual int canCreateVdOnFreshPds(uint8_t* answer) = 0;
    [[nodiscard]] virtual int canCreateVdOnFreeSpace(DiskGroup* group, uint8_t* answer) = 0;
    // Adds the planned logical drive (a plan on fresh drives, or on free space) once the plan
    // finds its size valid (-1 otherwise), and makes it visible to the operating system (not
    // an SSD cache). The new drive's identifier goes to the plan; the caller deletes it.
    [[nodiscard]] virtual int addVdOnFreshPds(UnConfiguredVd* plan) = 0;
    [[nodiscard]] virtual int addVdOnFreeSpace(UnConfiguredVd* plan) = 0;
    // The direct adds of a logical drive from values (VdAddRequests.h), without the operating
    // system's step: on drives named by enclosure and slot, or over new arrays of the spans'
    // drives with the settings of an existing drive.
    [[nodiscard]] virtual int addVdOnDrives(VdOnDrivesRequest* request) = 0;
    [[nodiscard]] virtual int addVdOnSpans(VirtualDisk* model, ArrayList<ArrayList<PhysicalDevice*>*>* spans,
                                           VdOnSpansRequest* request) = 0;
    // A new element (owned by the caller) for a planned logical drive with these values.
    [[nodiscard]] virtual int createVdElement(VirtualDisk** vd, uint8_t primaryRaidLevel, uint8_t stripExponent,
                                uint8_t currentCachePolicy, uint8_t defaultCachePolicy, uint8_t encryptionType) = 0;

    // Foreign configurations: the ones that drives moved from another controller carry.
    // The number the controller reports, or -1 when the scan fails.
    [[nodiscard]] virtual int scanForeignConfigs() = 0;
    // A new snapshot (owned by the caller, with the raw buffer it points into) of foreign
    // configuration `index` (255: all of them together), as stored, or with `preview` 1 as it
    // would be after an import. 0 with `config` untouched when there is nothing to show.
    [[nodiscard]] virtual int previewForeignConfig(RmCfg** config, uint8_t index, uint8_t preview) = 0;
    // Imports configuration `index` (255: all) and makes the new logical drives visible to the
    // operating system: 0, a firmware status, or OS_STEP_FAILED when only that last step failed.
    [[nodiscard]] virtual int importForeignConfig(uint8_t index) = 0;
    // Clears configuration `index` (no value stands for all): -1, nothing sent, for an index at
    // or beyond the scan's count (also when the scan fails).
    [[nodiscard]] virtual int clearForeignConfigs(uint8_t index) = 0;
    // Appends the drives of the drive cache that are foreign and importable but that no array of
    // the all-configurations preview holds.
    [[nodiscard]] virtual int getForeignPdsOutsidePreview(ArrayList<PhysicalDevice*>* list) = 0;

    Controller* getController() const { return controller; }

    RmData(const RmData&) = delete;
    RmData& operator=(const RmData&) = delete;

protected:
    Controller* controller;
    ControllerId* controllerId;
};

#endif
