// Creating virtual drives on drives named on the command line: "-CfgLdAdd" (one array, RAID
// 0, 1, 5 or 6) and "-CfgSpanAdd" (two or more arrays spanned as RAID 10, 50 or 60).
//
// The named drives are either all unconfigured, and the first virtual drive is built on them
// as new arrays, or exactly the drives of one disk group, and every virtual drive is cut from
// the group's free space. Each size given with -sz makes one virtual drive, in order; the
// slices after the first are cut from the free space that remains, each right after the
// previous one when -AfterLd is given. -Hsp adds hot spares dedicated to the new drive's
// arrays, -Cache assigns each new drive to the SSD cache, and spun-down drives are spun up
// before the first drive is made. Nothing created is undone when a later step fails.
//
// The processors of all free drives and of SSD caches derive from this one and reuse its
// drive lists and its add steps.
#ifndef LDADDCP_H
#define LDADDCP_H

#include <cstddef>
#include <cstdint>

#include "CpMgmt/CmdPro/Config/ConfigurationCp.h"
#include "CpMgmt/CmdPro/Config/DriveSpinUp.h"
#include "CpMgmt/CmdPro/CpFrame.h"
#include "Parser/TokenIds.h"
#include "RaidManager/RmStatus.h"
#include "RaidManager/Zpr/Records/LogicalDrive/ZprLdValues.h"

class Array;
class ArraySpaceInfo;
class CfgAddParsedObject;
class DiskGroup;
class PdIdListObject;
class PhysicalDevice;
class UnCfgdVdOnFreeSpOnPd;
class UnCfgdVdOnFreshPd;
class UnConfiguredVd;
class VdId;

class LdAddCp : public CpFrameOver<ConfigurationCp, LdAddCp, TOKEN_ADPCFGADD, TOKEN_ADPCFGSPANADD> {
public:
    // Result of the two add steps beside 0, the model's OS_STEP_FAILED and the failures: made,
    // but the SSD-cache assignment failed.
    static const int ADDED_NOT_CACHED = -3;
    // No "-AfterLd" given; the room a new drive list starts with.
    static const uint8_t AFTER_LD_NONE = 255;
    static const unsigned char LIST_ROOM = 4;

    LdAddCp() : driveLists(nullptr), readFailureReported(false) {}
    // 0 after "Configured the Adapter!!"; -1 for the processor's own refusals; 3, 9, 11, 12,
    // 13, 26, 30, 38 as the checks decide; OS_STEP_FAILED when the last virtual drive was made
    // but the operating system could not be told; else the status of the step that failed.
    int process(CpController* cpController, ParsedObject* request) override;
    // Deletes the drive lists (not their drives).
    ~LdAddCp() override;

    // The power-save rules of a new virtual drive: `requested` as typed (25 when no word was
    // typed) against the controller's support of power savings and of the maximum level
    // without caching and the manufacturing defaults' power-saving options byte. 0 with the
    // level to plan, or -1 with the refusal's text in `refusal`.
    static int decidePowerSavePolicy(uint8_t requested, bool supported, bool maximumWithoutCaching,
                                     uint8_t defaultsOptions, uint8_t* level, const char** refusal);

protected:
    // Turns the request's drive addresses into the drive lists (one per array, in order) and
    // sets the solid-state flags. 0, -1 (no lists in the request, shielded drive, no memory),
    // 9 (arrays of unequal sizes), 12 (an address that names no disk, by a drive list that was
    // read), or the status of the enclosure resolution or, after message 0x33006, of the drive
    // list or drive information that could not be read.
    int buildDriveLists(CpController* cpController, CfgAddParsedObject* request);
    // Deletes the drive lists held (inner lists, then the outer list) and forgets them.
    void deleteDriveLists();
    // The "-Hsp" drives become hot spares dedicated to the arrays of the virtual drive `vdId`,
    // in order, until one is not found (the rest skipped, the result that of the last spare
    // set) or fails (its status), or a read it depends on fails (its status after its line).
    // Without a virtual drive (null: it was made but not handed out) no spare is set: each is
    // reported as failed and the result is 0, so that the caller's result stands.
    int addDedicatedHotSpares(CpController* cpController, ArrayList<PdIdListObject*>* hotSpares, VdId* vdId);
    // The message of a code of the model's span check (RmSpanCheck) above SPANS_VALID; 0 for
    // a code the check does not give.
    static unsigned spanCheckMessage(int code);

    // One virtual drive on the unconfigured drives of the drive lists, as new arrays; the new
    // drive's identifier (owned by the caller) goes to *vdId, null when none was made.
    // 0, OS_STEP_FAILED, ADDED_NOT_CACHED, or 1, 3, 13, 30, -1, a model or firmware status.
    int addVdOnFreshDrives(CpController* cpController, CfgAddParsedObject* request, VdId** vdId);
    // One virtual drive in the free space of the disk group: size number `slice` of the
    // request, in the first free extent, or in the extent right after the virtual drive
    // `afterLd` (255: none given). Results as addVdOnFreshDrives.
    int addVdOnFreeSpace(CpController* cpController, CfgAddParsedObject* request, DiskGroup* group, VdId** vdId,
                         uint8_t slice, uint8_t afterLd);
    // Spins up the spun-down drives of the lists, waiting at most MAX_SPIN_UP_ROUNDS rounds.
    // 0 when every drive runs; -1 when some stayed down or the rounds ran out; else the
    // firmware's status.
    int spinUpDrives(CpController* cpController, CfgAddParsedObject* request,
                     ArrayList<ArrayList<PhysicalDevice*>*>* lists);
    // The power-save rules on the controller's data, set on the plan: 0 or -1 after the
    // refusal's text (also when the defaults or the controller information cannot be read).
    int applyPowerSave(CpController* cpController, CfgAddParsedObject* request, UnConfiguredVd* plan);

    // The command's own steps: the request checks before any drive is looked up; the first
    // virtual drive on unconfigured drives with its hot spares; the slices cut from the disk
    // group's free space from `firstSlice` on (`result` the command's result so far); an add
    // step's result as the command takes it (OS_STEP_FAILED stands after its message,
    // ADDED_NOT_CACHED becomes -1, another failure prints "Configure Adapter Failed" and sets
    // `stop`); whether a slice may be cut from the group (0, or the command's result after its
    // message). Each returns the
    // command's result.
    int checkRequest(CfgAddParsedObject* request, uint8_t adapterNumber);
    int addFirstVdOnFreshDrives(CpController* cpController, CfgAddParsedObject* request, VdId** vdId, bool* stop);
    int addSlices(CpController* cpController, CfgAddParsedObject* request, DiskGroup* group, uint8_t firstSlice,
                  VdId** vdId, int result);
    static int takeAddResult(int result, int adapterNumber, bool* stop);
    int checkFreeSpace(DiskGroup* group, uint8_t force, int adapterNumber);
    // One array's drive addresses into `drives` (see buildDriveLists).
    int fillDriveList(CpController* cpController, ArrayList<PdIdListObject*>* entries, unsigned char index,
                      ArrayList<PhysicalDevice*>* drives);
    // The hot-spare entries made spares of `arrays`, each of `blockSize`-byte blocks.
    int setHotSpares(CpController* cpController, ArrayList<PdIdListObject*>* hotSpares, ArrayList<Array*>* arrays,
                     uint16_t blockSize);

    // Steps of the two add steps: the level checks of a plan on unconfigured drives; the drive
    // lists into its spans; the strip size, policies and drive cache of a plan; its size
    // (`slice` of the request's sizes in the drives' blocks, refused with 13 above `largest`;
    // a missing size, or with `zeroTakesLargest` a size of 0, takes `largest`); the free-space
    // plan filled from the request; the report of a new drive and its SSD-cache assignment.
    int checkFreshLevel(CfgAddParsedObject* request, Adapter* adapter, UnCfgdVdOnFreshPd* plan, uint8_t code);
    int fillFreshSpans(CfgAddParsedObject* request, UnCfgdVdOnFreshPd* plan,
                       ArrayList<ArrayList<PhysicalDevice*>*>* spans);
    int applyCreationParameters(CfgAddParsedObject* request, Adapter* adapter, UnConfiguredVd* plan,
                                uint16_t blockSize);
    static int applySize(CfgAddParsedObject* request, UnConfiguredVd* plan, size_t slice, uint16_t blockSize,
                         uint64_t largest, bool zeroTakesLargest);
    int planOnFreeSpace(CpController* cpController, CfgAddParsedObject* request, UnCfgdVdOnFreeSpOnPd* plan,
                        ArraySpaceInfo* extent, Array* first, uint8_t slice);
    int reportNewVd(CpController* cpController, CfgAddParsedObject* request, VdId* vdId, int status);

    // The drive lists against the configuration (the disk groups read first): 0 with the disk
    // group whose free space they name (null: unconfigured drives), else the command's result
    // after its message.
    int takeSpans(DiskGroup** group);
    // A read the command depends on failed and its line is printed: the status given, and the
    // command's own "Configure Adapter Failed" is no longer printed after it.
    int readFailed(int status);
    // "Configure Adapter Failed" unless a failed read has been reported.
    void reportFailure(int adapterNumber);

    // One inner list per array (span), in request order; the lists are owned, the drives
    // belong to the model.
    ArrayList<ArrayList<PhysicalDevice*>*>* driveLists;
    // A failed read was reported with its own line (see readFailed).
    bool readFailureReported;
};

#endif
