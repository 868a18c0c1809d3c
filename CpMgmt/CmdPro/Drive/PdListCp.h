// The drive list ("-PDList"): for each disk and tape drive of the adapter its identity block
// (with its hot-spare text), its state block and its security block, each printed whole.
#ifndef PDLISTCP_H
#define PDLISTCP_H

#include "CpMgmt/CmdPro/CpFrame.h"
#include "Parser/TokenIds.h"

class PhysicalDevice;

class PdListCp : public CpFrame<PdListCp, TOKEN_PDLIST> {
public:
    PdListCp() {}
    // Every disk and tape drive of the adapter, by enclosure and then slot, after the adapter
    // header. 0; -1 without model or when it cannot be read afresh; the status of a failed
    // drive-list read, of a configuration that cannot be read (message 0x30024, before the
    // header) or of the first drive whose information cannot be read (message 0x36017, after
    // the drives shown before it).
    int process(CpController* cpController, ParsedObject* request) override;
    ~PdListCp() override {}

    // Orders two drives (pointers to PhysicalDevice*) by enclosure id, unsigned, then slot. A
    // drive whose enclosure or slot cannot be read sorts as enclosure 0xFFFF, slot 255, so the
    // order stays a strict weak ordering.
    static int compareByEnclosureAndSlot(const void* a, const void* b);
};

// The three blocks of one drive, each through message 1.
void printDriveBlocks(PhysicalDevice* drive);

#endif
