// Lays out a host directory from a state: what a real host would show for its controllers.
//
//   proc/devices                     character majors of the loaded drivers ("250 quillraid_sas_ioctl")
//   proc/scsi/scsi                   the attached SCSI devices
//   proc/scsi/<name>/hba_map/<host>/bus_devfn   old kernels (release below 2.5) only
//   sys/class/scsi_host/host<N>/     proc_name, scan, device -> ../../../devices/<pci path>/host<N>
//                                    or, with "sysfsLinkedClass" true (for the host or the SCSI
//                                    host's entry), as current kernels show it: a link to
//                                    ../../devices/<pci path>/host<N>/scsi_host/host<N>, a directory
//                                    holding proc_name, scan and device -> ../../../host<N>
//   sys/devices/<pci path>/host<N>/target<N>:<C>:<T>/<N>:<C>:<T>:<L>/block -> .../block/sd<x>
//                                    each logical drive's disk at its address (channel 2, the
//                                    drive's target id and lun 0 unless its description says)
//   sys/bus/scsi/devices/<N>:<C>:<T>:<L> -> the device directory above
//   dev/                             empty but for the logical drives' disk nodes (sd<x>)
//   lib/                             where the integrated-RAID library stand-in goes
//   state.json
// Every link is relative, so the tree resolves both in the host directory and as the program
// sees it under /sys.
#ifndef SIMLAYOUT_H
#define SIMLAYOUT_H

#include <string>

#include "Simulator/SimModel.h"

namespace sim {

// File name of the integrated-RAID library stand-in, as quillsim puts it into a host's lib/.
const char* const INTEGRATED_RAID_LIBRARY_FILE = "libarraykitir-2.so";

class SimLayout {
public:
    // Creates `dir` (which must not exist or be empty) with the layout of `state`, and its
    // state.json; 0, or -1 with a message on standard error.
    static int create(const std::string& dir, const HostModel& state);

    // The name of the n-th SCSI disk ("a", "z", "aa" ...); empty from 702 on.
    static std::string diskName(unsigned n);
    // Whether a kernel release is at least 2.5 (found through sysfs rather than /proc).
    static bool isSysfsKernel(const std::string& release);
};

} // namespace sim

#endif
