// The cache data that the controller keeps for virtual drives that went offline or missing:
// "-GetPreservedCacheList" lists those drives (PreservedCacheListCp).
//
// Results: 0 success (also when no drive has preserved cache), -1 a failure the processor found
// itself.
#ifndef PRESERVEDCACHECP_H
#define PRESERVEDCACHECP_H

#include <cstdint>

#include "CpMgmt/CommandProcessor.h"

class PreservedCacheListCp : public CommandProcessor {
public:
    static CommandProcessor* create(unsigned short kind);
    static ArrayList<unsigned short>* commandIds();

    PreservedCacheListCp() {}
    int process(CpController* cpController, ParsedObject* request) override;
    ~PreservedCacheListCp() override {}
};

#endif
