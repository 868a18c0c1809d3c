// The per-controller cache of the controller's configuration reads: the configuration buffer,
// the drive list, the drive query, the logical-drive list; and the reads and sends around them
// (enclosure list, target-id lists, device lists).
//
// One object per controller, in a process-wide table of MAX_OBJECTS (ZprData::instance). A
// cached block stays valid until resetCaches or the object's release: the model's data objects
// point into the cached configuration buffer, so the buffer outlives the model built from it.
// A buffer replaced by a reread is kept, unused, until then for the same reason.
//
// Every operation returns 0 on success, the status of a failed firmware command unchanged, or
// -1 when memory runs out, nothing fits, or the controller answered with a record that cannot
// be walked (a bad record). Out-parameters are written only on success; the blocks handed out
// stay owned here unless an operation says otherwise.
#ifndef ZPRDATA_H
#define ZPRDATA_H

#include <cstdint>

#include "PavUtil/List.h"
#include "RaidManager/Zpr/Records/Config/ZprConfigBuffer.h"
#include "RaidManager/Zpr/Records/LogicalDrive/ZprLdList.h"
#include "RaidManager/Zpr/Records/Drive/ZprPdList.h"

class Controller;
class PhysicalDevice;
class VirtualDisk;
struct VdOnDrivesRequest;
struct VdOnSpansRequest;

class ZprData {
public:
    static const uint8_t MAX_OBJECTS = 8;
    // Mailbox byte 0 of the drive query whose result is cached here.
    static const uint8_t PD_QUERY_TYPE = 5;

    // The object of the controller, made on first use; null when memory runs out or the table
    // holds MAX_OBJECTS live objects already.
    static ZprData* instance(Controller* controller);
    // Deletes the object of the controller and empties its slot; -1 when there is none.
    [[nodiscard]] static int release(Controller* controller);
    // Slots taken so far: a released object leaves its slot empty and a new one is appended,
    // until the table's end is reached and emptied slots are taken again.
    static uint8_t tableCount();
    // Deletes every object and empties the table.
    static void releaseAll();

    // Sends one controller command (mailbox word 0 as given, words 1 and 2 zero) with `data`
    // of `length` bytes; the firmware or transport status, -1 without a controller or memory.
    [[nodiscard]] static int sendCommand(Controller* controller, uint32_t opcode, uint32_t mailbox0, void* data, uint32_t length);

    // What sizeOf answers for a head that cannot be read further.
    static const uint32_t BAD_HEAD = 0xFFFFFFFFu;
    // Reads a block in two passes: `first` bytes, then the length `sizeOf` gives for that head,
    // into a new block handed out (freed by the caller with delete[]). A length of 0 hands out
    // nothing and answers 0; BAD_HEAD answers -1.
    [[nodiscard]] static int readInTwoPasses(Controller* controller, uint32_t opcode, uint32_t mailbox0, uint32_t first,
                               uint32_t (*sizeOf)(const LeView& head), uint8_t** block);

    explicit ZprData(Controller* controller);
    virtual ~ZprData();

    // Frees and forgets every cached block; 0.
    [[nodiscard]] int resetCaches();

    // The drive list, read (in two passes) when not cached.
    [[nodiscard]] int getPdList(ZprPdList* list);
    // The result of the drive query of type PD_QUERY_TYPE, read (in two passes) when not cached.
    [[nodiscard]] int queryPdList(ZprPdList* list);
    // The logical-drive list, read when not cached. A count beyond its 64 entries is a bad record.
    [[nodiscard]] int getLdList(ZprLdList* list);
    // A new enclosure list of ZprEnclosureList::SIZE bytes, owned by the caller (not cached). A
    // count beyond its 32 entries is a bad record.
    [[nodiscard]] int getEnclosureList(uint8_t** list);
    // The configuration buffer: the cached one, or read when absent or when `reread` is not 0.
    // Only a buffer whose layout checks out is cached and handed out.
    [[nodiscard]] int readConfig(ZprConfigBuffer* config, uint8_t reread);
    // A new target-id list (ZprLdIdList) read in two passes with `opcode` and mailbox word 0,
    // owned by the caller (freed with delete[]), and its length.
    [[nodiscard]] int readLdIdList(uint32_t opcode, uint32_t mailbox0, uint8_t** list, uint32_t* size);
    // Sends the device ids as a device list; the firmware's count of drives it acted on goes
    // to `firmwareCount`. Then pauses 5 seconds, whatever the status. A count of 0 sends
    // nothing and returns 0; a count beyond the 16-bit device ids is refused with -1.
    [[nodiscard]] int sendDeviceList(uint32_t count, const uint16_t* deviceIds, uint32_t* firmwareCount);

    // The device id of the disk in the cached drive list at that enclosure and slot, else -1.
    [[nodiscard]] int findDeviceId(uint16_t enclosureId, uint8_t slot);
    // 1 when the disk at that enclosure and slot is a member of an array of the cached
    // configuration (its index is then kept, see foundArrayIndex), else 0.
    [[nodiscard]] int findArrayOfDrive(uint16_t enclosureId, uint8_t slot);
    uint16_t foundArrayIndex() const { return arrayIndex; }

    Controller* getController() const { return controller; }

    // The direct adds of one logical drive, from values instead of a plan (no command of the
    // program uses them). Each builds a config-add buffer here, sends it with DCMD_CFG_ADD and
    // frees it; the operating system is not told, and the caches are left as they are.
    // On drives named by enclosure and slot: one array (the array of a drive that already
    // belongs to one, else a new one) and one span. -1 for a drive that is not there or a level
    // other than 0, 1, 5 and 6; the request's identifier is replaced by the new drive's.
    [[nodiscard]] int addVdOnDrives(VdOnDrivesRequest* request);
    // Over one new array per span (lists of drive elements), with the level, strip size,
    // encryption and cache policies of `model`, whose identifier takes the new target id.
    // A partial size at a level that cannot span prints a line on standard output and is -1.
    [[nodiscard]] int addVdOnSpans(VirtualDisk* model, ArrayList<ArrayList<PhysicalDevice*>*>* spans, VdOnSpansRequest* request);
    // Their build steps: the buffer stays here, as pendingAdd shows it, until sent or reset.
    [[nodiscard]] int buildVdOnDrives(VdOnDrivesRequest* request);
    [[nodiscard]] int buildVdOnSpans(VirtualDisk* model, ArrayList<ArrayList<PhysicalDevice*>*>* spans, VdOnSpansRequest* request);
    // The config-add buffer built and not yet sent (null when there is none) and its size.
    const uint8_t* pendingAdd(uint32_t* size) const;
    // The cache-policy byte of a direct add: write-back for write value 0, read-ahead for read
    // value 0 (adaptive too for 1), cached input/output for value 0, write-back with a bad
    // battery for value 1.
    static uint8_t cachePolicyFromRequest(const VdOnDrivesRequest& request);
    // The lowest target id below the controller's logical-drive limit that no logical drive of
    // the cached configuration has and the controller does not reserve; -1 when none is free.
    [[nodiscard]] int findFreeTargetId();
    // 1 when a logical-drive record of the cached configuration has the target id, else 0.
    [[nodiscard]] int isTargetIdInConfig(uint8_t targetId);
    // 1 when the controller reserves the target id (its snapshot support is on and the id is in
    // its reserved-id list, or that list cannot be read), else 0.
    [[nodiscard]] int isTargetIdReserved(uint8_t targetId);

    // Shared with the builders of planned drives. A new zeroed config-add buffer for `arrays`
    // array records and one logical drive, its header filled (null when memory runs out).
    static uint8_t* newAddBuffer(uint8_t arrays, uint32_t* size);
    // The reference the first new array takes: past the array count and past every reference in
    // use (a delete leaves gaps, and a new array must not take a reference in use).
    static uint16_t firstNewArrayRef(const ZprConfigBuffer& config);
    // Blocks on each drive of a span of `drives` drives for `blocks` usable ones at a level (0,
    // 1, 5, 6 or the spanned 32, 33, 34); -1 for another level or too few drives for the level.
    [[nodiscard]] static int blocksPerDrive(uint8_t level, uint64_t blocks, uint8_t drives, uint64_t* perDrive);

    ZprData(const ZprData&) = delete;
    ZprData& operator=(const ZprData&) = delete;

private:
    // An owned block of bytes.
    struct Block {
        uint8_t* bytes = nullptr;
        uint32_t size = 0;
        Block* next = nullptr;   // in the list of retired configuration buffers
    };

    static void freeBlock(Block& block);
    // A new zeroed block of `size` bytes; false when memory runs out.
    static bool allocateBlock(Block& block, uint32_t size);

    [[nodiscard]] int send(uint32_t opcode, uint32_t mailbox0, void* data, uint32_t length);
    // Reads a drive list in two passes into `block`.
    [[nodiscard]] int readPdList(uint32_t opcode, uint32_t mailbox0, Block& block);
    // Reads the whole configuration buffer of the header in `first` into `block`.
    [[nodiscard]] int readWholeConfig(const ZprConfigBuffer& first, Block& block);
    // Keeps the cached configuration buffer aside (for the model still pointing into it).
    void retireConfig();
    // Sends the pending config-add buffer when its build succeeded (`built` 0), and frees it;
    // the send's status, else the build's.
    [[nodiscard]] int sendPendingAdd(int built);
    // A new config-add buffer of `arrays` array records in addBuffer; false when memory runs out.
    bool startAdd(uint8_t arrays);
    // The new logical drive's record of the pending buffer, with its identifier.
    [[nodiscard]] int putDrivesLd(const VdOnDrivesRequest& request, uint8_t targetId, uint8_t drives, uint16_t ref);

    Controller* controller;
    Block pdList;
    Block ldList;
    Block pdQuery;
    Block config;
    Block addBuffer;           // a config-add buffer of a direct add, built and not yet sent
    Block* retiredConfigs;     // buffers replaced by a reread, freed by resetCaches
    uint16_t arrayIndex;       // the array found by findArrayOfDrive
};

#endif
