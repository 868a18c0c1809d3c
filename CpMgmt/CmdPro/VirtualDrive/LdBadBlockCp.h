// The bad-block management log of virtual drives: "-LDBBMClr" clears the table of each selected
// drive that has bad blocks (LdBBMClearCp); "-GetBbtEntries" shows the numbers of corrected and
// uncorrected entries of each selected drive's table, read from the controller's log
// (LdBbtEntriesCp).
#ifndef LDBADBLOCKCP_H
#define LDBADBLOCKCP_H

#include <cstdint>

#include "CpMgmt/CmdPro/CpFrame.h"
#include "Parser/TokenIds.h"

class LdBbtEntriesParsedObject;
class VirtualDisk;

class LdBBMClearCp : public CpFrame<LdBBMClearCp, TOKEN_LDBBMCLR> {
public:
    LdBBMClearCp() {}
    // The status of the last drive's bad-block test or clear; -1 when none ran (only missing
    // drives), without model, adapter, VD count or VD list, and when the controller does not
    // manage bad blocks; 0 without virtual drives. A failed clear ends the walk with its status.
    int process(CpController* cpController, ParsedObject* request) override;
    ~LdBBMClearCp() override {}
};

class LdBbtEntriesCp : public CpFrame<LdBbtEntriesCp, TOKEN_LDGETBBTENTRIES> {
public:
    LdBbtEntriesCp() {}
    // With -Lall the whole log list read once; otherwise each drive's log in the request's
    // order. The status of the last read (a failed one ends the walk); -1 for a missing drive
    // last named, without model, VD count or VD list; 0 without virtual drives.
    int process(CpController* cpController, ParsedObject* request) override;
    ~LdBbtEntriesCp() override {}

    // One drive's log by its reference (target id in bits 0-7, sequence number in 16-31),
    // printed; the firmware status after its message.
    static int showLogInfo(CpController* cpController, uint32_t reference);
    // Every drive's log, printed for the drives of the sorted list; the firmware status.
    static int showLogList(CpController* cpController, ArrayList<VirtualDisk*>* vds);

private:
    static void printHeader();
    static void printRow(uint8_t targetId, uint64_t corrected, uint64_t uncorrected);
};

#endif
