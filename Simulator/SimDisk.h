// The SCSI disks that the simulated logical drives present to the host (dev/sd*): the few
// SCSI ioctls the program sends to find which disk is which logical drive. INQUIRY answers
// the standard data and the device-identification page (VPD 0x83, one NAA designator) the
// firmware reports for the drive (or the page its disk is described to answer), through SG_IO
// or the older SCSI_IOCTL_SEND_COMMAND; each such command goes to the host's transcript. A disk
// described so answers an older SCSI generic version, rejects every INQUIRY or fails every
// ioctl.
#ifndef SIMDISK_H
#define SIMDISK_H

#include <vector>

#include "Simulator/SimModel.h"
#include "Simulator/SimState.h"

namespace sim {

struct ScsiAddress {
    unsigned host = 0;
    unsigned channel = 0;
    unsigned target = 0;
    unsigned lun = 0;
};

// The SCSI address of a logical drive's disk: its controller's host, and the channel, target
// and lun of its description (channel 2, its target id and lun 0 unless said otherwise).
ScsiAddress diskAddress(const Controller& controller, const LogicalDrive& ld);

class SimDisk {
public:
    explicit SimDisk(SimState& state) : state_(state) {}

    // Whether a logical drive answers at this address.
    bool exists(const ScsiAddress& addr);
    // An ioctl on the disk's descriptor: 0, or -1 with errno set.
    int ioctl(const ScsiAddress& addr, unsigned long request, void* arg);

private:
    const LogicalDrive* findLd(const ScsiAddress& addr, const Controller** controller);
    // The INQUIRY answer for a 6-byte CDB; false (CHECK CONDITION) for a page not served.
    bool inquiry(const ScsiAddress& addr, const uint8_t* cdb, std::vector<uint8_t>& answer);
    int sgIo(const ScsiAddress& addr, uint64_t user);
    int sendCommand(const ScsiAddress& addr, uint64_t user);

    SimState& state_;
};

} // namespace sim

#endif
