// The hosts that the tool can create by name. Each preset is a host description built through
// the typed model (`quillsim create DIR --preset NAME; quillsim show DIR` prints it).
//
//   no-driver   no controller driver loaded (an unrelated SATA host only)
//   one         kernel 3.10.0, one controller found through sysfs, an enclosure with four
//               drives and one RAID 1 virtual drive
//   two         two such controllers
//   old-kernel  kernel 2.4.21-4: the controller is found through /proc/scsi/.../hba_map
//   big         four controllers, each at the largest virtual-drive count (64)
//   mixed       a software-RAID and a hardware-RAID controller
#ifndef SIMPRESETS_H
#define SIMPRESETS_H

#include <string>
#include <vector>

#include "Simulator/SimModel.h"

namespace sim {

class SimPresets {
public:
    static std::vector<std::string> names();
    // The preset's state; false for an unknown name.
    static bool state(const std::string& name, HostModel& out);
};

} // namespace sim

#endif
