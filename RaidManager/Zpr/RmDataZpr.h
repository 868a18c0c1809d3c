// The RmData of every controller of the system (spoken to through DCMD firmware commands):
// the configuration reader, the element builders, and the drive, virtual-drive and enclosure
// lookups over the lists that ZprData caches and a drive cache of its own.
//
// The drive cache holds every drive element that the lookups and the reader hand out; it is
// rebuilt by resetCaches, so those elements die at the next reset. The enclosure list, once
// read, is kept until this object dies.
#ifndef RMDATAZPR_H
#define RMDATAZPR_H

#include "RaidManager/RmData.h"

class Array;
class DiskGroup;
class DiskGroupId;
class ArrayIdZpr;
class PdIdZpr;
class Span;
class Spare;
class UnCfgdVdOnFreeSpOnPd;
class UnCfgdVdOnFreshPd;
class ZprArrayRecord;
class ZprData;
class ZprLdRecord;
class ZprSpanRecord;
class ZprSpareRecord;

class RmDataZpr : public RmData {
public:
    // The most elements an ArrayList holds (its 8-bit capacity grows in steps of 4): a
    // configuration or drive list of more records is refused rather than cut.
    static const uint32_t MAX_LIST_ITEMS = 252;

    explicit RmDataZpr(Controller* controller);
    // Releases the controller's data cache, deletes the drive cache with its drives and the
    // enclosure list.
    ~RmDataZpr() override;

    // The creator registered in RmDataFactory: a new RmDataZpr for any controller; null only
    // when memory runs out.
    static RmData* create(Controller* controller);

    [[nodiscard]] int findPdByEnclSlot(EnclSlotId* address, PhysicalDevice** pd) override;
    PhysicalDevice* getPdByDeviceId(uint16_t deviceId) override;
    [[nodiscard]] int countDiskPds(uint16_t* count) override;
    [[nodiscard]] int countLockedForeignPds(uint16_t* count) override;
    [[nodiscard]] int countEkmAttentionPds(uint16_t* count) override;
    [[nodiscard]] int createVd(RaidElementId* id, VirtualDisk** vd) override;
    [[nodiscard]] int refreshVd(VdIdZpr* id, VirtualDisk* ignored, uint8_t flag) override;
    [[nodiscard]] int getVdCount(uint8_t* count) override;
    [[nodiscard]] int resetCaches() override;
    [[nodiscard]] int getAdapter(Adapter** adapter) override;
    [[nodiscard]] int getAllPdsRaw(ArrayList<PhysicalDevice*>** list) override;
    [[nodiscard]] int getAllPds(ArrayList<PhysicalDevice*>** list) override;
    [[nodiscard]] int getUnusedPds(ArrayList<PhysicalDevice*>** list) override;
    [[nodiscard]] int getEnclosureCount(uint32_t* count) override;
    [[nodiscard]] int getEnclosureId(uint32_t index, uint16_t* enclosureId) override;
    [[nodiscard]] int getEnclosureProperty(uint16_t enclosureId, uint8_t* property) override;
    [[nodiscard]] int readConfig(RmCfg** config) override;
    [[nodiscard]] int getPdsInStateX40(ArrayList<PhysicalDevice*>** list) override;
    [[nodiscard]] int findTargetIdInConfig(uint8_t targetId, uint8_t reread, uint8_t* inConfig) override;
    [[nodiscard]] int sortVdsByTargetId(ArrayList<VirtualDisk*>* list) override;
    [[nodiscard]] int parseConfigBuffer(const ZprConfigBuffer& buffer, RmCfg** config) override;
    [[nodiscard]] int getVdPds(ArrayList<PhysicalDevice*>* list, uint8_t targetId) override;
    // The logical-drive list commands (RmDataZprLdLists.cpp).
    [[nodiscard]] int getTidewellAssociations(uint8_t** block, uint8_t query) override;
    [[nodiscard]] int setTidewellAssociations(uint8_t targetId, uint8_t add) override;
    [[nodiscard]] int isTidewellAssociated(uint8_t targetId, uint8_t* answer) override;
    [[nodiscard]] int countTidewellVds(uint8_t* count) override;
    [[nodiscard]] int getTidewellWritePolicy(uint8_t* value) override;
    [[nodiscard]] int queryReservedLdIds(uint8_t** block) override;
    [[nodiscard]] int readFirstBlockOfVds() override;
    [[nodiscard]] int sendSnapshotSubcmd03(uint32_t value, void* buffer, uint32_t length) override;
    [[nodiscard]] int readSnapshotSubcmd08(uint8_t value, uint8_t** block) override;
    [[nodiscard]] int readSnapshotSubcmd09(uint8_t value, uint8_t* buffer) override;
    [[nodiscard]] int readSnapshotSubcmd0A(uint8_t** block) override;
    // Answer 1, always 0: the model's checks are all there is.
    [[nodiscard]] int canCreateVdOnFreshPds(uint8_t* answer) override;
    [[nodiscard]] int canCreateVdOnFreeSpace(DiskGroup* group, uint8_t* answer) override;
    [[nodiscard]] int addVdOnFreshPds(UnConfiguredVd* plan) override;
    [[nodiscard]] int addVdOnFreeSpace(UnConfiguredVd* plan) override;
    [[nodiscard]] int addVdOnDrives(VdOnDrivesRequest* request) override;
    [[nodiscard]] int addVdOnSpans(VirtualDisk* model, ArrayList<ArrayList<PhysicalDevice*>*>* spans,
                                   VdOnSpansRequest* request) override;
    [[nodiscard]] int createVdElement(VirtualDisk** vd, uint8_t primaryRaidLevel, uint8_t stripExponent, uint8_t currentCachePolicy,
                        uint8_t defaultCachePolicy, uint8_t encryptionType) override;
    // The config-add buffers of a plan: a new buffer (handed out at once, freed by the caller
    // with delete[], also after a failure) and its size.
    [[nodiscard]] int buildVdOnFreshPds(UnCfgdVdOnFreshPd* plan, uint8_t** buffer, uint32_t* size);
    [[nodiscard]] int buildVdOnFreeSpace(UnCfgdVdOnFreeSpOnPd* plan, uint8_t** buffer, uint32_t* size);
    // The cache-policy byte of a new logical drive from the plan's read, write, I/O and
    // bad-battery policies; caching needs the controller's cache memory.
    [[nodiscard]] int cachePolicyFromPlan(UnConfiguredVd* plan, uint8_t* policy);

    // Configuration changes (RmDataZprConfigChange.cpp).
    [[nodiscard]] int deleteVd(VdId* id, uint8_t skipOs, uint8_t mailbox4) override;
    [[nodiscard]] int clearConfig(uint8_t force) override;
    [[nodiscard]] int spinUpDrives(ArrayList<ArrayList<PhysicalDevice*>*>* spans, uint32_t* spunUp, uint32_t* total) override;
    // Foreign configurations (RmDataZprForeign.cpp).
    [[nodiscard]] int scanForeignConfigs() override;
    [[nodiscard]] int previewForeignConfig(RmCfg** config, uint8_t index, uint8_t preview) override;
    [[nodiscard]] int importForeignConfig(uint8_t index) override;
    [[nodiscard]] int clearForeignConfigs(uint8_t index) override;
    [[nodiscard]] int getForeignPdsOutsidePreview(ArrayList<PhysicalDevice*>* list) override;

    // The saved-configuration file (RmDataZprSavedConfig.cpp).
    [[nodiscard]] int saveConfig(const char* fileName) override;
    [[nodiscard]] int restoreConfig(const char* fileName) override;
    // The lowest target id below the adapter's virtual-drive limit that no logical drive of the
    // configuration has and that is not reserved; -1 when there is none (or no adapter).
    [[nodiscard]] int findFreeTargetId();
    // 1 when new logical drives must not take the target id: the controller supports snapshots
    // or SSD caching and lists the id among its reserved ones. A list or capability that
    // cannot be read counts as reserved, so that a new drive never takes an id in use.
    [[nodiscard]] int isTargetIdReserved(uint8_t targetId);

    // The reader: a new snapshot of the buffer. With `foreign` 1 the drives of the arrays
    // learn the state the buffer gives them, and those with sequence number 0 are marked
    // outdated. -1 for a buffer whose layout does not check out, a configuration with more
    // arrays or logical drives than a list holds, an array element that cannot be built, a
    // spare without drive element or a dedicated spare whose array is not in the
    // configuration; nothing is handed out then.
    [[nodiscard]] int parseConfig(const ZprConfigBuffer& buffer, RmCfg** config, uint8_t foreign);
    // Links the drives of the first array record with the reference to `array`; -1 at the
    // first drive entry without drive element (the drives before it stay linked).
    [[nodiscard]] int linkArrayDrives(const ZprConfigBuffer& buffer, uint16_t arrayRef, Array* array, uint8_t foreign);
    // The first array of the list with the reference; null for a null list or no match.
    static Array* findArrayByRef(ArrayList<Array*>* arrays, uint16_t arrayRef);

    // Element builders: the new element, or null (the identifier is deleted then).
    PhysicalDevice* createPd(PdIdZpr* id);
    // Always 0; the element (null when it cannot be built) goes to `vd`.
    [[nodiscard]] int createVdWithRecord(VdIdZpr* id, const ZprLdRecord* record, VirtualDisk** vd);
    Array* createArray(ArrayIdZpr* id, const ZprArrayRecord& record);
    DiskGroup* createDiskGroup(DiskGroupId* id);
    Spare* createSpare(const ZprSpareRecord& record);
    Span* createSpan(const ZprSpanRecord& record);

private:
    // Steps of the config-add builders (RmDataZprConfigAdd.cpp).
    [[nodiscard]] int fillLdRecord(UnConfiguredVd* plan, ZprLdRecord& ld, uint8_t drivesPerSpan, uint8_t spanCount, bool freeSpace);
    [[nodiscard]] int putFreshSpans(UnCfgdVdOnFreshPd* plan, ZprLdRecord& ld, uint8_t spanCount, uint16_t base, uint8_t perSpan,
                      uint64_t fullSpan);
    [[nodiscard]] int putFreeSpaceArray(ZprArrayRecord& record, Array* array, const ZprConfigBuffer& current);
    // Checks the plan's size, builds the buffer of the plan's kind (the other one null) and
    // sends it.
    [[nodiscard]] int addPlannedVd(UnConfiguredVd* plan, UnCfgdVdOnFreshPd* fresh, UnCfgdVdOnFreeSpOnPd* onFreeSpace);
    // Sends the buffer (and frees it); the operating-system step after a successful add.
    [[nodiscard]] int sendAdd(uint8_t* buffer, uint32_t size, bool exposeToOs);

    // Makes new logical drives visible to the operating system: 0, or OS_STEP_FAILED when that fails.
    [[nodiscard]] int exposeNewLds();
    // Builds the drive cache when it does not exist yet: 0, or -1 when it cannot be built.
    [[nodiscard]] int ensureDriveCache();
    // The size of a foreign configuration from the header of its first block; 0 when there is
    // nothing to read, -1 when it cannot be read.
    static int64_t foreignConfigSize(const ZprConfigBuffer& head);
    // Steps of the restore: the saved buffer fitted to the drives in `drives` (the current
    // sequence numbers written, the logical drives' cleared) once every check passed; then
    // the spin-up of its array drives.
    [[nodiscard]] int fitSavedConfig(ZprConfigBuffer& config, ArrayList<PhysicalDevice*>* drives);
    [[nodiscard]] int spinUpSavedDrives(const ZprConfigBuffer& config, ArrayList<PhysicalDevice*>* drives);

    // Reads the enclosure list on first use; a failed read is tried again next time.
    [[nodiscard]] int loadEnclosureList();
    // New drive elements for the drive-list entries whose device type `accept` takes.
    template <class Accept>
    [[nodiscard]] int buildPdList(ArrayList<PhysicalDevice*>** list, Accept accept);
    // The cached drives that match; null when none (or when a query fails on the way).
    PhysicalDevice* findCachedPdByEnclSlot(uint16_t enclosureId, uint8_t slot);
    PhysicalDevice* findCachedPdByDeviceId(uint16_t deviceId);
    // Enters a drive in the drive cache (made on first use): the drive, or null (the drive
    // deleted) when it cannot be kept.
    PhysicalDevice* keepInCache(PhysicalDevice* pd);
    void deleteDriveCache();
    // Counts the drives of a new full drive list for which every one of `asks` succeeds with
    // a nonzero answer.
    template <class Ask>
    [[nodiscard]] int countDrivesWhere(uint16_t* count, Ask ask);
    // The reader's steps.
    [[nodiscard]] int readLogicalDrive(const ZprConfigBuffer& buffer, const ZprLdRecord& ld, RmCfg* cfg, uint8_t* groupCounter,
                         uint8_t foreign);
    [[nodiscard]] int addSpanOfLd(const ZprConfigBuffer& buffer, const ZprSpanRecord& spanRecord, VirtualDisk* vd, RmCfg* cfg,
                    DiskGroup** group, uint8_t* groupCounter, uint8_t foreign);
    // Reads the information record of every logical drive of the list, in list order, and hands
    // it to `visit` until that answers false; the first failure is returned.
    template <class Visit>
    [[nodiscard]] int walkLdInfos(Visit visit);
    // Reads one spare into the snapshot; `built` collects every spare built.
    [[nodiscard]] int readSpare(const ZprSpareRecord& record, RmCfg* cfg, ArrayList<Spare*>* built);

    // The controller's data cache, released by controller when this object dies; null when the
    // process already holds as many caches as it can (every read is then refused with -1).
    ZprData* zprData;
    ArrayList<PhysicalDevice*>* driveCache;   // owned with its drives; null until built
    uint8_t* enclosureList;  // ZprEnclosureList::SIZE bytes, or null; kept until this object dies
};

#endif
