// Patrol-read and consistency-check schedule commands of the simulated firmware: the two
// properties records, the status records, and the start, stop, suspend and resume of patrol
// read. A started patrol read runs over the simulated clock: it scans one eligible drive (a disk
// that is online or a hot spare; an SSD only while the properties' onSsd byte is set) per
// `secondsPerDrive`, stands still while suspended, and when every drive is done it stops and
// counts one iteration more. Starting with no eligible drive answers 0x58.
#include "Simulator/Firmware/SimFirmware.h"
#include "Simulator/Firmware/SimFirmwareValues.h"
#include "Simulator/SimState.h"

#include <algorithm>

namespace sim {

namespace {

const uint32_t OP_ADP_PR_GET_STATUS = 0x01070100;
const uint32_t OP_ADP_PR_GET_PROPERTIES = 0x01070200;
const uint32_t OP_ADP_PR_SET_PROPERTIES = 0x01070300;
const uint32_t OP_ADP_PR_START = 0x01070400;
const uint32_t OP_ADP_PR_STOP = 0x01070500;
const uint32_t OP_ADP_PR_SUSPEND_RESUME = 0x01070600;
const uint32_t OP_ADP_CC_SCHEDULE_GET_STATUS = 0x01140100;
const uint32_t OP_ADP_CC_SCHEDULE_GET_PROPERTIES = 0x01140200;
const uint32_t OP_ADP_CC_SCHEDULE_SET_PROPERTIES = 0x01140300;

const size_t STATUS_SIZE = 16;
const uint32_t MAILBOX_SUSPEND = 0;
const uint32_t MAILBOX_RESUME = 1;

// ---------------------------------------------------------------------------------------------
// The properties records.

Bytes patrolReadRecord(const PatrolReadProperties& p)
{
    Bytes r(PR_PROPERTIES_SIZE, 0);
    put8(r, 0, p.mode);
    put8(r, 1, p.maxConcurrentPds);
    put8(r, 2, p.onSsd);
    put32(r, 196, p.nextStart);
    put32(r, 200, p.executionDelay);
    applyPatch(r, p.patch);
    return r;
}

void decodePatrolRead(const Bytes& r, PatrolReadProperties& p)
{
    p.mode = get8(r, 0);
    p.maxConcurrentPds = get8(r, 1);
    p.onSsd = get8(r, 2);
    p.nextStart = get32(r, 196);
    p.executionDelay = get32(r, 200);
}

Bytes ccScheduleRecord(const CcSchedule& s)
{
    Bytes r(CC_SCHEDULE_SIZE, 0);
    put8(r, 0, s.mode);
    const size_t excluded = std::min(s.excluded.size(), CC_SCHEDULE_MAX_EXCLUDED);
    put8(r, 3, excluded);
    for (size_t i = 0; i < excluded; ++i)
        put16(r, 4 + 2 * i, s.excluded[i]);
    put32(r, 152, s.nextStart);
    put32(r, 156, s.executionDelay);
    applyPatch(r, s.patch);
    return r;
}

void decodeCcSchedule(const Bytes& r, CcSchedule& s)
{
    s.mode = get8(r, 0);
    s.excluded.clear();
    const size_t excluded = std::min<size_t>(get8(r, 3), CC_SCHEDULE_MAX_EXCLUDED);
    for (size_t i = 0; i < excluded; ++i)
        s.excluded.push_back(get16(r, 4 + 2 * i));
    s.nextStart = get32(r, 152);
    s.executionDelay = get32(r, 156);
}

// ---------------------------------------------------------------------------------------------
// The patrol-read run.

size_t eligibleDrives(const Controller& c)
{
    size_t n = 0;
    for (const Drive& d : c.drives)
        if (d.type == 0 && (d.state == PD_STATE_ONLINE || d.state == PD_STATE_HOT_SPARE) &&
            (d.media != "SSD" || c.patrolRead.onSsd != 0))
            ++n;
    return n;
}

// Brings the run up to the simulated clock.
void settle(SimState& state, Controller& c)
{
    PatrolReadProperties& p = c.patrolRead;
    if (p.state != PR_STATE_ACTIVE || p.suspendedAt)
        return;
    const uint64_t now = state.clock();
    const uint64_t done = now > p.startedAt ? (now - p.startedAt) / p.secondsPerDrive : 0;
    if (done >= eligibleDrives(c)) {
        p.state = PR_STATE_STOPPED;
        p.pdsCompleted = 0;
        ++p.iterations;
        markStateChanged(state);
    } else if (p.pdsCompleted != done) {
        p.pdsCompleted = static_cast<uint8_t>(done);
        markStateChanged(state);
    }
}

uint8_t adpPrGetStatus(SimState& state, Controller& c, SimCommand& cmd)
{
    settle(state, c);
    Bytes r(STATUS_SIZE, 0);
    put32(r, 0, c.patrolRead.iterations);
    put8(r, 4, c.patrolRead.state);
    put8(r, 5, c.patrolRead.pdsCompleted);
    return fwReply(cmd, r);
}

uint8_t adpPrStart(SimState& state, Controller& c, SimCommand&)
{
    settle(state, c);
    PatrolReadProperties& p = c.patrolRead;
    if (eligibleDrives(c) == 0)
        return FW_STATUS_NO_PATROL_READ_DRIVES;
    if (p.state == PR_STATE_ACTIVE)
        return FW_STATUS_OK;
    p.state = PR_STATE_ACTIVE;
    p.startedAt = state.clock();
    p.pdsCompleted = 0;
    p.suspendedAt.reset();
    markStateChanged(state);
    return FW_STATUS_OK;
}

uint8_t adpPrStop(SimState& state, Controller& c, SimCommand&)
{
    settle(state, c);
    PatrolReadProperties& p = c.patrolRead;
    if (p.state != PR_STATE_STOPPED || p.suspendedAt) {
        p.state = PR_STATE_STOPPED;
        p.pdsCompleted = 0;
        p.suspendedAt.reset();
        markStateChanged(state);
    }
    return FW_STATUS_OK;
}

// Mailbox byte 0: 0 suspends a run, 1 resumes it; either is accepted without a run to act on.
uint8_t adpPrSuspendResume(SimState& state, Controller& c, SimCommand& cmd)
{
    const uint32_t action = cmd.mailbox[0] & 0xFF;
    if (action != MAILBOX_SUSPEND && action != MAILBOX_RESUME) {
        cmd.note = "refused=action";
        return FW_STATUS_INVALID_ARGUMENT;
    }
    settle(state, c);
    PatrolReadProperties& p = c.patrolRead;
    if (p.state != PR_STATE_ACTIVE)
        return FW_STATUS_OK;
    if (action == MAILBOX_SUSPEND && !p.suspendedAt) {
        p.suspendedAt = state.clock();
        markStateChanged(state);
    } else if (action == MAILBOX_RESUME && p.suspendedAt) {
        p.startedAt += state.clock() - *p.suspendedAt;
        p.suspendedAt.reset();
        markStateChanged(state);
    }
    return FW_STATUS_OK;
}

// ---------------------------------------------------------------------------------------------
// The consistency-check schedule: a controller without it answers "invalid command".

uint8_t adpCcGetProperties(SimState& state, Controller& c, SimCommand& cmd)
{
    if (!c.ccSchedule.supported)
        return FW_STATUS_INVALID_COMMAND;
    return fwReadPart<CcSchedule, &Controller::ccSchedule, ccScheduleRecord>(state, c, cmd);
}

uint8_t adpCcSetProperties(SimState& state, Controller& c, SimCommand& cmd)
{
    if (!c.ccSchedule.supported)
        return FW_STATUS_INVALID_COMMAND;
    return fwWritePart<CcSchedule, &Controller::ccSchedule, decodeCcSchedule, ccScheduleRecord>(state, c, cmd);
}

uint8_t adpCcGetStatus(SimState&, Controller& c, SimCommand& cmd)
{
    if (!c.ccSchedule.supported)
        return FW_STATUS_INVALID_COMMAND;
    Bytes r(STATUS_SIZE, 0);
    put32(r, 0, c.ccSchedule.iterations);
    put8(r, 4, c.ccSchedule.state);
    put8(r, 5, c.ccSchedule.vdsCompleted);
    return fwReply(cmd, r);
}

const FwRegistration registration({
    fwRead(OP_ADP_PR_GET_STATUS, STATUS_SIZE, adpPrGetStatus),
    fwRead(OP_ADP_PR_GET_PROPERTIES, PR_PROPERTIES_SIZE,
           fwReadPart<PatrolReadProperties, &Controller::patrolRead, patrolReadRecord>),
    fwWrite(OP_ADP_PR_SET_PROPERTIES, PR_PROPERTIES_SIZE,
            fwWritePart<PatrolReadProperties, &Controller::patrolRead, decodePatrolRead, patrolReadRecord>),
    fwNoData(OP_ADP_PR_START, adpPrStart),
    fwNoData(OP_ADP_PR_STOP, adpPrStop),
    fwNoData(OP_ADP_PR_SUSPEND_RESUME, adpPrSuspendResume),
    fwRead(OP_ADP_CC_SCHEDULE_GET_STATUS, STATUS_SIZE, adpCcGetStatus),
    fwRead(OP_ADP_CC_SCHEDULE_GET_PROPERTIES, CC_SCHEDULE_SIZE, adpCcGetProperties),
    fwWrite(OP_ADP_CC_SCHEDULE_SET_PROPERTIES, CC_SCHEDULE_SIZE, adpCcSetProperties),
});

} // namespace

} // namespace sim
