// Controller performance-monitor commands of the simulated firmware: start (with its collection
// period), stop, and the results.
#include "Simulator/Firmware/SimFirmware.h"

#include <algorithm>

namespace sim {

namespace {

const uint32_t OP_ADP_PERF_MON_START = 0x01170100;
const uint32_t OP_ADP_PERF_MON_GET_RESULTS = 0x01170200;
// The shortest results buffer: the header and the virtual-drive section's head.
const uint32_t PERF_MON_RESULTS_HEAD = 48;

// DCMD_ADP_PERF_MON_START: mailbox bytes 0-1 the collection period; a zero mailbox stops.
uint8_t perfMonStart(SimState& state, Controller& c, SimCommand& cmd)
{
    const uint16_t period = static_cast<uint16_t>(cmd.mailbox[0] & 0xFFFF);
    c.perfMon.running = period != 0 ? 1 : 0;
    c.perfMon.interval = period;
    markStateChanged(state);
    return FW_STATUS_OK;
}

// DCMD_ADP_PERF_MON_GET_RESULTS: the described results, cut to the length asked for, zeros after.
uint8_t perfMonGetResults(SimState&, Controller& c, SimCommand& cmd)
{
    Bytes r(std::max<size_t>(cmd.data.size(), PERF_MON_RESULTS_HEAD), 0);
    std::copy_n(c.perfMon.results.begin(), std::min(r.size(), c.perfMon.results.size()), r.begin());
    return fwReply(cmd, r);
}

const FwRegistration registration({
    fwNoData(OP_ADP_PERF_MON_START, perfMonStart),
    fwRead(OP_ADP_PERF_MON_GET_RESULTS, PERF_MON_RESULTS_HEAD, perfMonGetResults),
});

} // namespace

} // namespace sim
