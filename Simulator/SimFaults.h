// Faults the simulated host injects, listed in the description's "faults". Reliability tests
// use them to reach error paths that a healthy controller never takes.
//
// Every fault has a "type":
//   "ioctl"          the driver's ioctl returns "return" (default -1) with errno "errno"
//                    (default EIO when the return is -1); no firmware status is written.
//   "status"         the firmware answers "status" without running the command.
//   "short"          the record read back holds only its first "bytes" bytes, the rest zero.
//   "corrupt"        after the command, the hex bytes "data" replace the record's bytes from
//                    "offset" on.
//   "missing-driver" opening the driver's node (and an ioctl on an open one) fails with
//                    ENODEV; "driverKind" 0 or 1 limits it to one driver.
// Optional filters: "opcode" (one controller or driver command), "host" (one SCSI host),
// "driverKind". Optional "mode": "always" (default), "once", "times" with "count" N (the first
// N matching commands), "from" with "count" N (the Nth matching command and every later one).
// The number of matching commands seen so far is kept in "seen" (for every mode but "always"),
// so a mode holds across program runs.
#ifndef SIMFAULTS_H
#define SIMFAULTS_H

#include <cstdint>
#include <string>

#include "Simulator/SimBytes.h"
#include "Simulator/SimModel.h"
#include "Simulator/SimState.h"

namespace sim {

struct FaultTarget {
    int driverKind = 0;
    unsigned host = 0;
    bool hasOpcode = false;   // false for commands without an opcode (pass-through frames)
    uint32_t opcode = 0;
    bool hasMailbox = false;             // false for frames without a mailbox (pass-through)
    uint32_t mailbox[3] = {0, 0, 0};
};

class SimFaults {
public:
    explicit SimFaults(SimState& state) : state_(state) {}

    // Each query counts the command against every fault of its type that matches and
    // answers from the first one that fires.
    bool ioctlFault(const FaultTarget& t, int& rc, int& err);
    bool statusFault(const FaultTarget& t, uint8_t& status);
    // Applies the short and corrupt faults that fire to a record read back.
    void applyRecordFaults(const FaultTarget& t, Bytes& data);
    bool driverMissing(int driverKind) const;

private:
    static bool matches(const Fault& f, FaultType type, const FaultTarget& t);
    // The fault's mailbox bytes, where it gives some, are the command's.
    static bool mailboxMatches(const Fault& f, const FaultTarget& t);
    bool fires(Fault& f);
    // The first fault of `type` that matches and fires, after counting the command against
    // every matching one; null when none fires.
    Fault* firstFiring(FaultType type, const FaultTarget& t);

    SimState& state_;
};

} // namespace sim

#endif
