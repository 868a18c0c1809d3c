// The simulated kernel driver behind the controllers' ioctl nodes.
//
// It takes the 404-byte ioctl packet, follows its iovecs into the caller's memory as a kernel
// would (a bad address fails with EFAULT instead of crashing), hands the frame to the firmware
// of the packet's SCSI host, writes the firmware status into the packet's frame and returns 0.
// Every command is appended to <host>/commands.log (and with its data to transcript.log) and, with QUILLCLI_SIM_TRACE=1, printed on
// standard error.
#ifndef SIMDRIVER_H
#define SIMDRIVER_H

#include <cstdint>
#include <string>

#include "Simulator/SimModel.h"
#include "Simulator/SimState.h"

namespace sim {

// The drivers' ioctl requests (read-write, 404-byte argument, type 'M' or 'R').
const unsigned long IOCTL_REQUEST_SAS = 0xC1944D01UL;
const unsigned long IOCTL_REQUEST_SWR = 0xC1945201UL;

// Layout of the ioctl packet.
const size_t IOCTL_PACKET_SIZE = 404;
const size_t PKT_HOST = 0;          // 16-bit SCSI host number
const size_t PKT_SGE_COUNT = 8;     // 32-bit
const size_t PKT_FRAME = 20;        // 128-byte frame area
const size_t PKT_FRAME_SIZE = 128;
const size_t PKT_IOVEC = 148;       // 16 iovecs of (64-bit address, 64-bit length)
const size_t PKT_MAX_IOVECS = 16;
// Offsets inside the frame.
const size_t FRM_COMMAND = 0;
const size_t FRM_STATUS = 2;
const size_t FRM_FLAGS = 16;
const size_t FRM_DATA_LENGTH = 20;
const size_t FRM_OPCODE = 24;
const size_t FRM_MAILBOX = 28;

class SimDriver {
public:
    SimDriver(SimState& state, bool trace) : state_(state), trace_(trace) {}

    static unsigned long requestFor(int driverKind);

    // The ioctl on a node of driver kind `driverKind`: 0, or -1 (or a faulted value) with
    // errno set.
    int ioctl(int driverKind, unsigned long request, void* arg);

private:
    void record(const std::string& line);
    // A command the driver refused or a fault answered before the firmware saw it: in both logs.
    void refuse(const std::string& head, const std::string& outcome);

    SimState& state_;
    bool trace_;
};

// Copies between the simulator and the caller's memory without trusting the address: false
// (and nothing copied) when the range is not mapped.
bool copyFromCaller(void* dst, uint64_t src, size_t n);
bool copyToCaller(uint64_t dst, const void* src, size_t n);

} // namespace sim

#endif
