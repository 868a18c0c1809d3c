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

#include <cstdint>

#include "CpMgmt/CmdPro/ConfigurationCp.h"

class CfgAddParsedObject;
class DiskGroup;
class PdIdListObject;
class PhysicalDevice;
class UnConfiguredVd;
class VdId;

class LdAddCp : public ConfigurationCp {
public:
    // Results of the two add steps beside 0 and the failures.
    static const int ADDED_NOT_IN_OS = -2;        // made, but not made visible to the OS
    static const int ADDED_NOT_CACHED = -3;       // made, but the SSD-cache assignment failed
    // Spin-up rounds waited for at most (each round waits 5 seconds): a few minutes.
    static const unsigned MAX_SPIN_UP_ROUNDS = 60;

    static CommandProcessor* create(unsigned short kind);
    static ArrayList<unsigned short>* commandIds();

    LdAddCp() : driveLists(nullptr) {}
    // 0 after "Configured the Adapter!!"; -1 for the processor's own refusals; 3, 9, 11, 12,
    // 13, 26, 30, 38 as the checks decide; -2 when the last virtual drive was made but the
    // operating system could not be told; else the status of the step that failed.
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
    // 9 (arrays of unequal sizes), 12 (an address that names no disk), or the status of the
    // enclosure resolution.
    int buildDriveLists(CpController* cpController, CfgAddParsedObject* request);
    // Deletes the drive lists held (inner lists, then the outer list) and forgets them.
    void deleteDriveLists();
    // The "-Hsp" drives become hot spares dedicated to the arrays of the virtual drive `vdId`.
    // Without a virtual drive (null) no spare is set and the result is 3.
    int addDedicatedHotSpares(CpController* cpController, ArrayList<PdIdListObject*>* hotSpares, VdId* vdId);

    // One virtual drive on the unconfigured drives of the drive lists, as new arrays; the new
    // drive's identifier (owned by the caller) goes to *vdId, null when none was made.
    // 0, ADDED_NOT_IN_OS, ADDED_NOT_CACHED, or 1, 3, 13, 30, -1, a model or firmware status.
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

    // One inner list per array (span), in request order; the lists are owned, the drives
    // belong to the model.
    ArrayList<ArrayList<PhysicalDevice*>*>* driveLists;
};

#endif
