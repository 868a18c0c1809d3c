// What the configuration of a simulated controller must hold to be one model: the arrays, the
// logical drives' spans on them and the spares, over the controller's drives. The firmware
// answers (configuration buffer, drive and logical-drive lists, drive information) are all
// made from the same model, so they agree with each other whenever the model is consistent.
#ifndef SIMCONSISTENCY_H
#define SIMCONSISTENCY_H

#include <cstdint>
#include <string>

#include "Simulator/SimModel.h"

namespace sim {

// The drive with the device id, the array with the reference; null when there is none.
const Drive* driveOf(const Controller& c, uint16_t deviceId);
const Array* arrayOf(const Controller& c, uint16_t ref);

// The size of an array in blocks: its own, else the smallest coerced size of its drives.
uint64_t arraySizeOf(const Controller& c, const Array& a);

// The blocks a logical drive holds: its spans' block counts (unset counts as 0) by its level.
uint64_t ldSize(const LogicalDrive& ld);

// What makes the configuration inconsistent, naming it; "" when it is consistent. Checked:
// every array member is a drive of the controller, no drive is in two arrays, every span lies
// on an array of the configuration, within the array's size, and no two spans of an array
// overlap.
std::string checkConfiguration(const Controller& c);

// The "in use" bits of a drive's configuration flags that the configuration gives it: bit 1
// for a hot spare, bit 2 for an array member.
uint8_t inUseFlags(const Controller& c, uint16_t deviceId);

} // namespace sim

#endif
