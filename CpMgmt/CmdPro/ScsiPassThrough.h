// SCSI commands that a processor sends to a drive or an enclosure device itself, through the
// controller (frame command 4): the target is the low 8 bits of the device's id, LUN 0, with a
// 32-byte sense area whose contents nobody reads.
#ifndef SCSIPASSTHROUGH_H
#define SCSIPASSTHROUGH_H

#include <cstdint>

class CpController;

// The firmware or transport status; -1 after message 0x36016 when the controller's data
// provider is not there, or without a controller.
int sendScsiPassThrough(CpController* cpController, uint8_t target, uint8_t direction, const uint8_t* cdb,
                        uint8_t cdbLength, void* data, uint32_t length);

#endif
