// The requests of the two direct adds of a logical drive (RaidManager::addVdOnDrives and
// RaidManager::addVdOnSpans): what the caller chooses, given as values rather than as a plan.
#ifndef VDADDREQUESTS_H
#define VDADDREQUESTS_H

#include <cstdint>

#include "PavUtil/List.h"

class EnclSlotId;
class VdIdZpr;

// One logical drive on one array of the drives named by enclosure and slot.
struct VdOnDrivesRequest {
    uint8_t raidLevel = 0;          // the record's level: 0, 1, 5 or 6
    uint8_t stripExponent = 0;      // strip size as a power-of-two exponent of blocks
    uint8_t readPolicy = 0;         // 0 read-ahead, 1 adaptive read-ahead, else none
    uint8_t writePolicy = 0;        // 0 write-back, else write-through
    uint8_t ioPolicy = 0;           // 0 cached input/output, else direct
    uint8_t badBatteryPolicy = 0;   // 1 write-back also with a bad battery
    uint8_t encryptionType = 0;
    uint32_t piType = 0;            // protection-information type: the record keeps its low byte
    uint8_t ssdCaching = 0;         // 1: the new drive is an SSD cache
    uint64_t startBlock = 0;        // where the span starts on each drive
    uint64_t sizeBlocks = 0;        // the usable size asked for
    ArrayList<EnclSlotId*>* drives = nullptr;
    // Replaced by the new drive's identifier (its target id, sequence number unknown); the
    // request's holder deletes what it holds.
    VdIdZpr* vdId = nullptr;
};

// One logical drive over one new array per span, its settings copied from an existing drive.
struct VdOnSpansRequest {
    uint32_t piType = 0;            // protection-information type: the record keeps its low byte
    uint8_t ssdCaching = 0;
    uint64_t requestedBlocks = 0;   // 0, or not below maximumBlocks: the whole of every span
    uint64_t maximumBlocks = 0;
};

#endif
