// The cache data that the controller keeps for virtual drives that went offline or missing:
// "-GetPreservedCacheList" lists those drives (PreservedCacheListCp), "-DiscardPreservedCache"
// discards it (DiscardPreservedCacheCp); with "-force" an offline drive whose cache is
// discarded is deleted as well.
//
// Results: 0 success (also when no drive has preserved cache), -1 a failure the processor found
// itself, else the firmware status of the failed discard or deletion.
#ifndef PRESERVEDCACHECP_H
#define PRESERVEDCACHECP_H

#include <cstdint>

#include "CpMgmt/CmdPro/CpFrame.h"
#include "Parser/TokenIds.h"

class Adapter;
class RaidManager;
class VirtualDisk;

class PreservedCacheListCp : public CpFrame<PreservedCacheListCp, TOKEN_PRESERVEDCACHELIST> {
public:
    PreservedCacheListCp() {}
    int process(CpController* cpController, ParsedObject* request) override;
    ~PreservedCacheListCp() override {}
};

class DiscardPreservedCacheCp : public CpFrame<DiscardPreservedCacheCp, TOKEN_DISCARDPRESERVEDCACHE> {
public:
    DiscardPreservedCacheCp() {}
    int process(CpController* cpController, ParsedObject* request) override;
    ~DiscardPreservedCacheCp() override {}

private:
    // What one run works with: the drives named, the mask of those with preserved cache.
    struct Run {
        RaidManager* manager;
        Adapter* adapter;
        ArrayList<VirtualDisk*>* vds;   // null: every drive counts as missing
        uint64_t mask;
        bool all;
        bool force;
        int adapterNumber;
    };

    // The first pass: blocked access taken away; an offline drive without "-force" stops the
    // command. True when the command goes on; otherwise *result is its result.
    static bool prepare(Run& run, uint8_t targetId, int* result);
    // The second pass for one drive: discard, then delete an offline drive. 0 or the status
    // that ends the command.
    static int discard(Run& run, uint8_t targetId);
};

#endif
