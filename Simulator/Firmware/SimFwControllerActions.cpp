// Controller actions and monitors of the simulated firmware: cache flush, shutdown and restart
// (one opcode, told apart by the mailbox byte that carries the argument), downgrade, the timed
// diagnostic (its seconds advance the simulated clock instead of being waited for), the drive
// performance monitor's configuration, the preserved-cache mask and its discard, and the
// SSD-cache association write (the list is read in SimFwLogicalDrive.cpp). What each command was asked to do is also in the command log, with
// its mailbox.
#include "Simulator/Firmware/SimFirmware.h"

#include <algorithm>

#include "Simulator/SimState.h"

namespace sim {

namespace {

const uint32_t OP_ADP_SHUTDOWN = 0x01050000;
const uint32_t OP_ADP_CACHE_FLUSH = 0x01101000;
const uint32_t OP_ADP_DIAG_START = 0x01120100;
const uint32_t OP_ADP_DIAG_SUBCMD_02 = 0x01120200;
const uint32_t OP_ADP_DOWNGRADE = 0x01190000;
const uint32_t OP_LD_GET_PRESERVED_CACHE_LIST = 0x030D0000;
const uint32_t OP_LD_DISCARD_PRESERVED_CACHE = 0x030D0100;
const uint32_t OP_LD_TIDEWELL_SET_ASSOCIATIONS = 0x03100100;
const uint32_t OP_DPM_GET_CONFIG = 0x0A010000;
const uint32_t OP_DPM_SET_CONFIG = 0x0A030000;

const uint32_t DPM_CONFIG_SIZE = 16;
const uint32_t PRESERVED_CACHE_LIST_SIZE = 8;
// The target-id list: size at 0, count at 4, one 8-bit id per entry from 11, read in units.
const uint32_t ID_LIST_UNIT = 12;
const size_t ID_LIST_IDS = 11;

uint8_t cacheFlush(SimState&, Controller&, SimCommand& cmd)
{
    cmd.note = "flushed";
    return FW_STATUS_OK;
}

// DCMD_ADP_SHUTDOWN: mailbox byte 0 asks for a shutdown, byte 1 for a restart. A shutdown marks
// the newest event as the last one before it; a restart starts a new boot after it.
uint8_t shutdown(SimState& state, Controller& c, SimCommand& cmd)
{
    const uint8_t shutdownByte = static_cast<uint8_t>(cmd.mailbox[0]);
    const uint8_t restartByte = static_cast<uint8_t>(cmd.mailbox[0] >> 8);
    const uint32_t newest = newestEventSequence(c.eventLog);
    if (restartByte != 0) {
        cmd.note = "restart";
        c.eventLog.shutdown = newest;
        c.eventLog.boot = newest + 1;
    } else if (shutdownByte != 0) {
        cmd.note = "shutdown";
        c.eventLog.shutdown = newest;
    }
    markStateChanged(state);
    return FW_STATUS_OK;
}

uint8_t downgrade(SimState&, Controller&, SimCommand& cmd)
{
    cmd.note = "downgraded";
    return FW_STATUS_OK;
}

// DCMD_ADP_DIAG_START: word 0 the seconds the diagnostic runs; the command ends after them.
uint8_t diagStart(SimState& state, Controller&, SimCommand& cmd)
{
    state.advanceClock(cmd.mailbox[0]);
    markStateChanged(state);
    return FW_STATUS_OK;
}

uint8_t diagSubcommand2(SimState&, Controller&, SimCommand&)
{
    return FW_STATUS_OK;
}

// DCMD_DPM_GET_CONFIG: the configuration byte at 0, the value at 1, the averaging limits at 2
// and 4, the timer's ticks per second at 8.
uint8_t dpmGetConfig(SimState&, Controller& c, SimCommand& cmd)
{
    Bytes r(DPM_CONFIG_SIZE, 0);
    put8(r, 0, c.dpm.configuration);
    put8(r, 1, c.dpm.value);
    put16(r, 2, c.dpm.maxAveragingCommands);
    put16(r, 4, c.dpm.maxLatencyCommands);
    put32(r, 8, c.dpm.ticksPerSecond);
    return fwReply(cmd, r);
}

// DCMD_DPM_SET_CONFIG: word 0 the action: 0 off, 1 on, 2 clear the statistics of word 1's mask.
uint8_t dpmSetConfig(SimState& state, Controller& c, SimCommand& cmd)
{
    if (cmd.mailbox[0] > 2) {
        cmd.note = "refused=mode";
        return FW_STATUS_INVALID_ARGUMENT;
    }
    if (cmd.mailbox[0] == 2)
        c.dpm.cleared |= cmd.mailbox[1];
    else
        c.dpm.configuration = static_cast<uint8_t>(cmd.mailbox[0]);
    markStateChanged(state);
    return FW_STATUS_OK;
}

// DCMD_LD_GET_PRESERVED_CACHE_LIST: bit t of the 64-bit mask for target id t.
uint8_t preservedCacheList(SimState&, Controller& c, SimCommand& cmd)
{
    uint64_t mask = 0;
    for (const LogicalDrive& ld : c.lds)
        if (ld.preservedCache != 0 && ld.targetId < 64)
            mask |= uint64_t(1) << ld.targetId;
    Bytes r(PRESERVED_CACHE_LIST_SIZE, 0);
    put64(r, 0, mask);
    return fwReply(cmd, r);
}

// DCMD_LD_DISCARD_PRESERVED_CACHE: byte 0 the target id; a drive without preserved cache is
// not found.
uint8_t preservedCacheDiscard(SimState& state, Controller& c, SimCommand& cmd)
{
    const uint8_t targetId = static_cast<uint8_t>(cmd.mailbox[0]);
    for (LogicalDrive& ld : c.lds) {
        if (ld.targetId == targetId && ld.preservedCache != 0) {
            ld.preservedCache = 0;
            markStateChanged(state);
            return FW_STATUS_OK;
        }
    }
    return FW_STATUS_NO_DEVICE;
}

// DCMD_LD_TIDEWELL_SET_ASSOCIATIONS: a target-id list; the drives it names are cached, the other
// drives that are no SSD cache are not.
uint8_t ssdCacheSet(SimState& state, Controller& c, SimCommand& cmd)
{
    const size_t count = get32(cmd.data, 4);
    if (ID_LIST_IDS + count > cmd.data.size()) {
        cmd.note = "refused=count";
        return FW_STATUS_INVALID_ARGUMENT;
    }
    const Bytes ids(cmd.data.begin() + ID_LIST_IDS, cmd.data.begin() + ID_LIST_IDS + count);
    for (LogicalDrive& ld : c.lds)
        if (ld.sscCache != 1)
            ld.cacheAssociation = std::find(ids.begin(), ids.end(), ld.targetId) != ids.end() ? 1 : 0;
    markStateChanged(state);
    return FW_STATUS_OK;
}

const FwRegistration registration({
    fwNoData(OP_ADP_CACHE_FLUSH, cacheFlush),
    fwNoData(OP_ADP_SHUTDOWN, shutdown),
    fwNoData(OP_ADP_DOWNGRADE, downgrade),
    fwNoData(OP_ADP_DIAG_START, diagStart),
    fwNoData(OP_ADP_DIAG_SUBCMD_02, diagSubcommand2),
    fwRead(OP_DPM_GET_CONFIG, DPM_CONFIG_SIZE, dpmGetConfig),
    fwNoData(OP_DPM_SET_CONFIG, dpmSetConfig),
    fwRead(OP_LD_GET_PRESERVED_CACHE_LIST, PRESERVED_CACHE_LIST_SIZE, preservedCacheList),
    fwNoData(OP_LD_DISCARD_PRESERVED_CACHE, preservedCacheDiscard),
    fwWrite(OP_LD_TIDEWELL_SET_ASSOCIATIONS, ID_LIST_UNIT, ssdCacheSet),
});

} // namespace

} // namespace sim
