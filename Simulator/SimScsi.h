// The kernel's SCSI control files on the simulated host: /proc/scsi/scsi (single devices added
// and removed on old kernels) and the scan attributes of sys/class/scsi_host/host<N> (a rescan
// of a host). A real kernel acts on what is written to them; the simulated host keeps every
// write, appended in the order it came, so that tests can read what the program asked for.
#ifndef SIMSCSI_H
#define SIMSCSI_H

#include <string>

namespace sim {

class SimScsi {
public:
    // Whether `path` (as the program names it: "/proc/scsi/scsi", "/sys/class/scsi_host/host2/scan")
    // is a control file whose writes are kept.
    static bool isControlFile(const std::string& path);
    // The open flags for `path`: writes to a control file are appended instead of overwriting
    // the file from its start; every other open keeps its flags.
    static int openFlags(const char* path, int flags);
};

} // namespace sim

#endif
