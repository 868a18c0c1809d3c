// The entry to the RAID model of one controller.
//
// A command processor (and the dispatcher's controller check) gets a controller's RaidManager
// from getRaidManager. The managers live in a process-wide table of at most MAX_RAID_MANAGERS,
// one per controller, until releaseRaidManagers; the dispatcher refreshes a manager before each
// command that needs the controller and releases them all after the last request.
//
// SnapShotRaidManager, the one implementation, keeps a snapshot of the controller read through
// its RmData: the adapter, the drives (all of them, those in no array, those in JBOD state),
// the configuration and the drive-mix matrix. Lookups are answered from the snapshot first;
// everything else goes to the RmData.
//
// Lifetime: every element handed out from the snapshot (adapter, drives, arrays, disk groups,
// virtual drives, spares) and every list the getters hand out belongs to the manager and dies
// at the next refresh or release. Operations return 0, -1 for a request refused before
// anything was sent, or a firmware status; values go out through pointer parameters.
#ifndef RAIDMANAGER_H
#define RAIDMANAGER_H

#include <cstdint>

#include "PavUtil/List.h"
#include "RaidManager/RmStatus.h"

class Adapter;
class Array;
class Controller;
class DiskGroup;
class DriveMixMatrix;
class EnclSlotId;
class PhysicalDevice;
class RmCfg;
class RmData;
class Spare;
class UnConfiguredVd;
class VdId;
class VirtualDisk;
class ZprConfigBuffer;
struct VdOnDrivesRequest;
struct VdOnSpansRequest;

const uint8_t MAX_RAID_MANAGERS = 32;

class RaidManager {
public:
    // Takes ownership of the data access; the controller is not owned.
    RaidManager(RmData* rmData, Controller* controller);

    // A drive of the snapshot at the address (device type 0 or 1), else the RmData's: 0 with
    // the drive, or with null when a drive list that was read has none there; the drive list's
    // status when it cannot be read.
    [[nodiscard]] virtual int findPdByEnclSlot(EnclSlotId* address, PhysicalDevice** pd) = 0;
    // A drive of the snapshot with the device id, else the RmData's.
    virtual PhysicalDevice* getPdByDeviceId(uint16_t deviceId) = 0;
    // The adapter's single enclosure: 0 with its id (ENCLOSURE_ID_NONE when there is none),
    // SEVERAL_ENCLOSURES, DRIVE_WITHOUT_ENCLOSURE (RmStatus.h), -1 when the enclosures cannot
    // be counted.
    [[nodiscard]] virtual int getOnlyEnclosureId(uint16_t* enclosureId) = 0;
    // Drops the snapshot and reads the controller again. 0, or the status of reading the
    // adapter. The other parts that cannot be read stay unknown, not empty: the lookups that
    // need them read them again and return that read's status when it fails again.
    [[nodiscard]] virtual int refresh() = 0;
    // The cached configuration, read first when there is none.
    [[nodiscard]] virtual int getConfig(RmCfg** config) = 0;
    // The adapter element, read on first use and kept.
    [[nodiscard]] virtual int getAdapter(Adapter** adapter) = 0;
    // The lists of the cached configuration, read first when there is none (its status when
    // that read fails).
    [[nodiscard]] virtual int getDiskGroups(ArrayList<DiskGroup*>** list) = 0;
    // The virtual drive with the id's target id: the snapshot's (the id completed from the
    // logical-drive list), else a new element owned by the caller; -1 when there is none; the
    // configuration read's status when no configuration is cached and it cannot be read.
    [[nodiscard]] virtual int getVd(VdId* id, VirtualDisk** vd) = 0;
    [[nodiscard]] virtual int getVdCount(uint8_t* count) = 0;
    // The virtual drives that are SSD caches (each drive's information read anew); a failed
    // read of the list or of one drive's information returns its status.
    [[nodiscard]] virtual int getSsdCacheVdCount(uint8_t* count) = 0;
    [[nodiscard]] virtual int getVds(ArrayList<VirtualDisk*>** list) = 0;
    [[nodiscard]] virtual int getArrays(ArrayList<Array*>** list) = 0;
    [[nodiscard]] virtual int getSpares(ArrayList<Spare*>** list) = 0;
    // With a cached configuration the snapshot's lists (the JBOD list may then be absent);
    // else new lists from the RmData. Either way the manager keeps the list: the caller
    // borrows it until the next refresh or the manager's release, and never deletes it.
    [[nodiscard]] virtual int getAllPds(ArrayList<PhysicalDevice*>** list) = 0;
    [[nodiscard]] virtual int getUnusedPds(ArrayList<PhysicalDevice*>** list) = 0;
    [[nodiscard]] virtual int getPdsInStateX40(ArrayList<PhysicalDevice*>** list) = 0;
    [[nodiscard]] virtual int countDiskPds(uint16_t* count) = 0;
    [[nodiscard]] virtual int getEnclosureCount(uint32_t* count) = 0;
    [[nodiscard]] virtual int getEnclosureId(uint32_t index, uint16_t* enclosureId) = 0;
    [[nodiscard]] virtual int getEnclosureProperty(uint16_t enclosureId, uint8_t* property) = 0;
    // PhysicalDevice::isUnconfiguredGoodDisk of the drive.
    [[nodiscard]] virtual int isPdUnconfiguredGood(PhysicalDevice* pd, uint8_t* answer) = 0;
    // 1 when the two drives' kinds may share a virtual drive.
    virtual uint8_t checkDriveMix(PhysicalDevice* pd, PhysicalDevice* other) = 0;
    // 0 when a drive of the list whose information can be read may not be mixed with `pd`;
    // else 1 (also for an empty list).
    virtual uint8_t checkDriveMixList(PhysicalDevice* pd, ArrayList<PhysicalDevice*>* list) = 0;
    [[nodiscard]] virtual int countLockedForeignPds(uint16_t* count) = 0;
    [[nodiscard]] virtual int countEkmAttentionPds(uint16_t* count) = 0;
    // Takes (and clears) the last-error word; the firmware status it holds, else 0.
    [[nodiscard]] virtual int takeFirmwareStatus() = 0;
    // 0 with `inConfig` 1 when a logical drive of the configuration (read again with `reread`)
    // has the target id, 0 when none has; the configuration read's status when it cannot be
    // read.
    [[nodiscard]] virtual int findTargetIdInConfig(uint8_t targetId, uint8_t reread, uint8_t* inConfig) = 0;
    [[nodiscard]] virtual int sortVdsByTargetId(ArrayList<VirtualDisk*>* list) = 0;
    // The snapshot of the buffer replaces the cached configuration; the one it replaces lives
    // on, with its elements, until the next refresh or release.
    [[nodiscard]] virtual int parseConfigBuffer(const ZprConfigBuffer& buffer) = 0;
    [[nodiscard]] virtual int getVdPds(ArrayList<PhysicalDevice*>* list, uint8_t targetId) = 0;
    // The configuration changes of the RmData; the snapshot keeps what it holds until the
    // next refresh.
    [[nodiscard]] virtual int deleteVd(VdId* id, uint8_t skipOs, uint8_t mailbox4) = 0;
    [[nodiscard]] virtual int clearConfig(uint8_t force) = 0;
    [[nodiscard]] virtual int spinUpDrives(ArrayList<ArrayList<PhysicalDevice*>*>* spans, uint32_t* spunUp, uint32_t* total) = 0;
    // The RmData's saved-configuration file: neither changes the snapshot.
    [[nodiscard]] virtual int saveConfig(const char* fileName) = 0;
    [[nodiscard]] virtual int restoreConfig(const char* fileName) = 0;

    // Questions before a configuration change; none changes the controller.
    // The unconfigured-good drives in no array (SATA ones only with `sataOnly`), smallest
    // first: a new list whose container the caller deletes; NO_DRIVE_FOUND when there is none.
    [[nodiscard]] virtual int getUnconfiguredGoodPdsBySize(ArrayList<PhysicalDevice*>** list, uint8_t sataOnly) = 0;
    // Answer 1 when a virtual drive can be made on unconfigured drives; `nonPi` 1 when a drive
    // up to the first usable one cannot take protection information. NO_ROOM at the
    // virtual-drive maximum, NOT_POSSIBLE without an unconfigured-good drive (answer 0).
    [[nodiscard]] virtual int canCreateVdOnFreshPds(uint8_t* answer, uint8_t* nonPi) = 0;
    // Answer 1 when a virtual drive can be made on the group's free space: NO_ROOM at a
    // maximum (the firmware's status then in the last-error word), NO_FREE_SPACE without room,
    // DRIVE_REBUILDING while a drive of the group rebuilds (answer untouched); BEYOND_16_VDS is
    // part of the answer's range, though the model's own check never gives it.
    [[nodiscard]] virtual int canCreateVdOnFreeSpace(DiskGroup* group, uint8_t* answer) = 0;
    // 1 when the unconfigured-good drive (the spare's drive) may join the redundant array: it
    // mixes with the members and is as large as the smallest member (the array's extent).
    [[nodiscard]] virtual int isPdUsableForArray(PhysicalDevice* pd, Array* array, uint8_t* answer) = 0;
    [[nodiscard]] virtual int isSpareUsableForArray(Spare* spare, Array* array, uint8_t* answer) = 0;
    // 1 when the candidate can take the drive's place; always 0.
    [[nodiscard]] virtual int canReplacePd(PhysicalDevice* pd, PhysicalDevice* candidate, uint8_t* answer) = 0;
    // Checks the spans a configuration command names: 0 with `out` 0 for spans of
    // unconfigured-good drives only, 0 with `out` the matched DiskGroup* for spans naming
    // exactly the arrays of one disk group with equal free extents, else a code above 0
    // (RmSpanCheck).
    [[nodiscard]] virtual int validateSpanDrives(ArrayList<ArrayList<PhysicalDevice*>*>* spans, uint64_t* out) = 0;
    // The RmData's adds of a planned logical drive, and its element for a planned drive.
    [[nodiscard]] virtual int addVdOnFreshPds(UnConfiguredVd* plan) = 0;
    [[nodiscard]] virtual int addVdOnFreeSpace(UnConfiguredVd* plan) = 0;
    // The RmData's direct adds of a logical drive from values (no command uses them).
    [[nodiscard]] virtual int addVdOnDrives(VdOnDrivesRequest* request) = 0;
    [[nodiscard]] virtual int addVdOnSpans(VirtualDisk* model, ArrayList<ArrayList<PhysicalDevice*>*>* spans,
                                           VdOnSpansRequest* request) = 0;
    [[nodiscard]] virtual int createVdElement(VirtualDisk** vd, uint8_t primaryRaidLevel, uint8_t stripExponent,
                                uint8_t currentCachePolicy, uint8_t defaultCachePolicy, uint8_t encryptionType) = 0;

    // Foreign configurations (RaidManagerForeign.cpp). The scan asks the controller once per
    // manager and keeps its result across refreshes (-1: the scan failed).
    [[nodiscard]] virtual int scanForeignConfigs() = 0;
    // The RmData's, after a guard: index 255 (all) needs the controller's import-all support;
    // without it -1 and nothing sent. The preview checks it only in mode 1, the import always.
    [[nodiscard]] virtual int previewForeignConfig(RmCfg** config, uint8_t index, uint8_t mode) = 0;
    [[nodiscard]] virtual int importForeignConfig(uint8_t index) = 0;
    [[nodiscard]] virtual int clearForeignConfigs(uint8_t index) = 0;
    [[nodiscard]] virtual int getForeignPdsOutsidePreview(ArrayList<PhysicalDevice*>* list) = 0;

    // Deletes the data access.
    virtual ~RaidManager();

    Controller* getController() const { return controller; }
    RmData* getRmData() const { return rmData; }

    RaidManager(const RaidManager&) = delete;
    RaidManager& operator=(const RaidManager&) = delete;

protected:
    Controller* controller;
    RmData* rmData;
};

class SnapShotRaidManager : public RaidManager {
public:
    SnapShotRaidManager(RmData* rmData, Controller* controller);
    [[nodiscard]] int findPdByEnclSlot(EnclSlotId* address, PhysicalDevice** pd) override;
    PhysicalDevice* getPdByDeviceId(uint16_t deviceId) override;
    [[nodiscard]] int getOnlyEnclosureId(uint16_t* enclosureId) override;
    [[nodiscard]] int refresh() override;
    [[nodiscard]] int getConfig(RmCfg** config) override;
    [[nodiscard]] int getAdapter(Adapter** adapter) override;
    [[nodiscard]] int getDiskGroups(ArrayList<DiskGroup*>** list) override;
    [[nodiscard]] int getVd(VdId* id, VirtualDisk** vd) override;
    [[nodiscard]] int getVdCount(uint8_t* count) override;
    [[nodiscard]] int getSsdCacheVdCount(uint8_t* count) override;
    [[nodiscard]] int getVds(ArrayList<VirtualDisk*>** list) override;
    [[nodiscard]] int getArrays(ArrayList<Array*>** list) override;
    [[nodiscard]] int getSpares(ArrayList<Spare*>** list) override;
    [[nodiscard]] int getAllPds(ArrayList<PhysicalDevice*>** list) override;
    [[nodiscard]] int getUnusedPds(ArrayList<PhysicalDevice*>** list) override;
    [[nodiscard]] int getPdsInStateX40(ArrayList<PhysicalDevice*>** list) override;
    [[nodiscard]] int countDiskPds(uint16_t* count) override;
    [[nodiscard]] int getEnclosureCount(uint32_t* count) override;
    [[nodiscard]] int getEnclosureId(uint32_t index, uint16_t* enclosureId) override;
    [[nodiscard]] int getEnclosureProperty(uint16_t enclosureId, uint8_t* property) override;
    [[nodiscard]] int isPdUnconfiguredGood(PhysicalDevice* pd, uint8_t* answer) override;
    uint8_t checkDriveMix(PhysicalDevice* pd, PhysicalDevice* other) override;
    uint8_t checkDriveMixList(PhysicalDevice* pd, ArrayList<PhysicalDevice*>* list) override;
    [[nodiscard]] int countLockedForeignPds(uint16_t* count) override;
    [[nodiscard]] int countEkmAttentionPds(uint16_t* count) override;
    [[nodiscard]] int takeFirmwareStatus() override;
    [[nodiscard]] int findTargetIdInConfig(uint8_t targetId, uint8_t reread, uint8_t* inConfig) override;
    [[nodiscard]] int sortVdsByTargetId(ArrayList<VirtualDisk*>* list) override;
    [[nodiscard]] int parseConfigBuffer(const ZprConfigBuffer& buffer) override;
    [[nodiscard]] int getVdPds(ArrayList<PhysicalDevice*>* list, uint8_t targetId) override;
    [[nodiscard]] int deleteVd(VdId* id, uint8_t skipOs, uint8_t mailbox4) override;
    [[nodiscard]] int clearConfig(uint8_t force) override;
    [[nodiscard]] int spinUpDrives(ArrayList<ArrayList<PhysicalDevice*>*>* spans, uint32_t* spunUp, uint32_t* total) override;
    [[nodiscard]] int saveConfig(const char* fileName) override;
    [[nodiscard]] int restoreConfig(const char* fileName) override;
    [[nodiscard]] int getUnconfiguredGoodPdsBySize(ArrayList<PhysicalDevice*>** list, uint8_t sataOnly) override;
    [[nodiscard]] int canCreateVdOnFreshPds(uint8_t* answer, uint8_t* nonPi) override;
    [[nodiscard]] int canCreateVdOnFreeSpace(DiskGroup* group, uint8_t* answer) override;
    [[nodiscard]] int isPdUsableForArray(PhysicalDevice* pd, Array* array, uint8_t* answer) override;
    [[nodiscard]] int isSpareUsableForArray(Spare* spare, Array* array, uint8_t* answer) override;
    [[nodiscard]] int canReplacePd(PhysicalDevice* pd, PhysicalDevice* candidate, uint8_t* answer) override;
    [[nodiscard]] int validateSpanDrives(ArrayList<ArrayList<PhysicalDevice*>*>* spans, uint64_t* out) override;
    [[nodiscard]] int addVdOnFreshPds(UnConfiguredVd* plan) override;
    [[nodiscard]] int addVdOnFreeSpace(UnConfiguredVd* plan) override;
    [[nodiscard]] int addVdOnDrives(VdOnDrivesRequest* request) override;
    [[nodiscard]] int addVdOnSpans(VirtualDisk* model, ArrayList<ArrayList<PhysicalDevice*>*>* spans,
                                   VdOnSpansRequest* request) override;
    [[nodiscard]] int createVdElement(VirtualDisk** vd, uint8_t primaryRaidLevel, uint8_t stripExponent, uint8_t currentCachePolicy,
                        uint8_t defaultCachePolicy, uint8_t encryptionType) override;
    [[nodiscard]] int scanForeignConfigs() override;
    [[nodiscard]] int previewForeignConfig(RmCfg** config, uint8_t index, uint8_t mode) override;
    [[nodiscard]] int importForeignConfig(uint8_t index) override;
    [[nodiscard]] int clearForeignConfigs(uint8_t index) override;
    [[nodiscard]] int getForeignPdsOutsidePreview(ArrayList<PhysicalDevice*>* list) override;
    ~SnapShotRaidManager() override;

    // SPANS_VALID when the two arrays have the same free extents; SPANS_NO_FREE_EXTENTS when
    // either has none (or they cannot be read), SPANS_EXTENTS_DIFFER when they differ.
    [[nodiscard]] int compareFreeExtents(Array* a, Array* b);

    // The drive-mix matrix the last refresh set; null before the first refresh.
    DriveMixMatrix* getDriveMixMatrix() const { return driveMix; }

private:
    // Deletes the snapshot (drive-list containers, configurations, adapter) and forgets it.
    void dropSnapshot();
    // Steps of the refresh after the adapter: the drive lists and the configuration; true
    // when every one was read (the list of JBOD drives may be missing).
    bool loadDrivesAndConfig();
    // The cached configuration, read again when the refresh could not read it: 0, or that
    // read's status.
    [[nodiscard]] int ensureConfig();
    void buildDriveMixMatrix();
    // Steps of the capacity queries.
    [[nodiscard]] int vdCountAndMaximum(uint8_t* count, uint8_t* maximum);
    [[nodiscard]] int checkArrayHasRoom(Array* array, uint8_t* answer);
    [[nodiscard]] int isDriveUsableForArray(PhysicalDevice* pd, Array* array, bool spare, uint8_t* answer);
    // The foreign guard: 0 when the index may be used, else -1 or the capability read's status.
    [[nodiscard]] int checkForeignIndex(uint8_t index);

    DriveMixMatrix* driveMix;                 // process-wide, not owned
    Adapter* adapter;                         // owned
    ArrayList<PhysicalDevice*>* allPds;       // container owned, drives not
    RmCfg* config;                            // owned
    bool snapshotComplete;                    // the refresh read the drive lists and the configuration
    ArrayList<PhysicalDevice*>* unusedPds;    // container owned
    ArrayList<PhysicalDevice*>* jbodPds;      // container owned
    int32_t foreignScan;                      // -1 until the first foreign scan (kept across refreshes)
    bool foreignScanned;                      // the scan was asked (its result may be -1)
    ArrayList<RmCfg*>* replacedConfigs;       // snapshots replaced by parseConfigBuffer, owned
    // The lists handed out while no configuration is cached, kept until the snapshot goes:
    // the all-drives lists own their drives, the others' drives belong to the drive cache.
    ArrayList<ArrayList<PhysicalDevice*>*>* builtDriveLists;   // containers and drives owned
    ArrayList<ArrayList<PhysicalDevice*>*>* builtLists;        // containers owned
    // Hands out a new list of the RmData (`build`) and keeps it in `kept`; -1 when it cannot
    // be kept (the list is then deleted, its drives too when `ownsDrives`).
    int keepBuiltList(int (RmData::*build)(ArrayList<PhysicalDevice*>**), bool ownsDrives,
                      ArrayList<PhysicalDevice*>** list);
};

// The manager of the controller: the cached one, else a new one over the data access that
// RmDataFactory makes for it (not refreshed yet); null when no data access can be made or the
// table is full. The first call registers the model's creators.
RaidManager* getRaidManager(Controller* controller);

// Deletes every cached manager and empties the table.
void releaseRaidManagers();

// Registers the element creators and the data-access creator, once per process.
void registerRaidCreators();

// Number of managers in the table (for tests).
uint8_t raidManagerCount();

#endif
