// The controller's own drive list and configuration, read by the drive processors that check a
// command against the firmware's records rather than against the model (hot spares, missing
// drives). Each read goes in two passes: a first block of the opcode's default length that
// gives the counts, then the whole record. The blocks belong to the caller.
//
// Every count these records carry is bounded by what was read before it bounds a loop: the
// drive list's entries by its block, the arrays by the configuration's block, the rows by the
// 32 of an array record.
#ifndef PDFIRMWAREREADS_H
#define PDFIRMWAREREADS_H

#include <cstdint>
#include <memory>

#include "RaidManager/Zpr/Records/Config/ZprArrayRecord.h"
#include "RaidManager/Zpr/Records/Config/ZprConfigBuffer.h"
#include "RaidManager/Zpr/Records/Drive/ZprPdList.h"

class CpController;

// A record read from the controller, owned by the processor.
struct FirmwareBlock {
    std::unique_ptr<uint8_t[]> bytes;
    uint32_t size = 0;
};

// The drive list; 0, the firmware status, or -1 when memory runs out or the count cannot be a
// list's.
int readFirmwarePdList(CpController* cpController, FirmwareBlock& list);

// When the configuration's second, whole read is sent.
enum class ConfigSecondRead {
    Always,            // whatever the first block held
    WhenArraysAbove1,  // only when more than one array is configured
    WhenLdsConfigured, // only when a logical drive is configured
};

// The configuration: the first block, then (as `second` says) the whole buffer. 0, the firmware
// status of either read, or -1 when memory runs out.
int readFirmwareConfig(CpController* cpController, ConfigSecondRead second, FirmwareBlock& config);

// Views over the blocks read.
ZprPdList pdListOf(const FirmwareBlock& list);
ZprConfigBuffer configOf(const FirmwareBlock& config);
// The array records to walk: the header's count, bounded by the records the block holds.
uint32_t arraysRead(const FirmwareBlock& config);

// The first entry of the drive list at that enclosure and slot (any device type when `disksOnly`
// is false); false when none.
bool findListedDevice(const ZprPdList& list, uint16_t enclosureId, uint8_t slot, bool disksOnly, uint16_t* deviceId);

#endif
