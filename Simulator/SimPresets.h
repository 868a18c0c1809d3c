// The states of the simulated hosts that the tool can create by name.
//
//   no-driver   no controller driver loaded (an unrelated SATA host only)
//   one         kernel 3.10.0, one controller found through sysfs, an enclosure with four
//               drives and one RAID 1 virtual drive
//   two         two such controllers
//   old-kernel  kernel 2.4.21-4: the controller is found through /proc/scsi/.../hba_map
//   big         four controllers, each at the largest virtual-drive count (64)
#ifndef SIMPRESETS_H
#define SIMPRESETS_H

#include <string>
#include <vector>

#include "Simulator/SimState.h"

namespace sim {

class SimPresets {
public:
    static std::vector<std::string> names();
    // The preset's state; false for an unknown name.
    static bool state(const std::string& name, Json& out);
};

} // namespace sim

#endif
