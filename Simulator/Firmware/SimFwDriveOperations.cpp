// Drive commands of the simulated firmware that change a drive: its state, the operations that
// run on it (rebuild, clear, copyback, secure erase) with their progress, locate, mark missing,
// prepare for removal, reprovisioning, and the reads of its progress block and its
// allowed-operations word.
//
// A drive is named by its reference (mailbox word 0: device id, sequence number above) or by
// its device id (mailbox bytes 0-1). An unknown device id answers 0x0C, a reference whose
// sequence number is not the drive's 0x03, a command the drive's state does not allow 0x32.
#include "Simulator/Firmware/SimFirmware.h"

#include <algorithm>

#include "Simulator/Firmware/SimFirmwareValues.h"
#include "Simulator/SimState.h"

namespace sim {

namespace {

const uint32_t OP_PD_SET_STATE = 0x02030100;
const uint32_t OP_PD_REBUILD_START = 0x02040100;
const uint32_t OP_PD_REBUILD_STOP = 0x02040200;
const uint32_t OP_PD_CLEAR_START = 0x02050100;
const uint32_t OP_PD_CLEAR_STOP = 0x02050200;
const uint32_t OP_PD_GET_PROGRESS = 0x02060000;
const uint32_t OP_PD_LOCATE_START = 0x02070100;
const uint32_t OP_PD_LOCATE_STOP = 0x02070200;
const uint32_t OP_PD_MARK_MISSING = 0x02080100;
const uint32_t OP_PD_REPLACE_MISSING = 0x02080200;
const uint32_t OP_PD_PREPARE_REMOVAL = 0x02090100;
const uint32_t OP_PD_UNDO_PREPARE_REMOVAL = 0x02090200;
const uint32_t OP_PD_ALLOWED_OPERATIONS = 0x020A0000;
const uint32_t OP_PD_COPYBACK_START = 0x020B0100;
const uint32_t OP_PD_COPYBACK_STOP = 0x020B0200;
const uint32_t OP_PD_REPROVISION_CHECK = 0x020C0100;
const uint32_t OP_PD_REPROVISION_START = 0x020C0300;
const uint32_t OP_PD_REBUILD_SUSPEND_RESUME = 0x020E0100;
const uint32_t OP_PD_COPYBACK_SUSPEND_RESUME = 0x020E0200;
const uint32_t OP_PD_SECURE_ERASE_START = 0x020F0100;
const uint32_t OP_PD_SECURE_ERASE_STOP = 0x020F0200;

const uint16_t MISSING_ENTRY = 0xFFFF;
const uint8_t SECURITY_SECURED_LOCKED_FOREIGN = 0x1C;   // bits 2-4
const uint8_t SECURE_ERASE_MAX_TYPE = 2;

// The progress block: running bits at 0, the rebuild or copyback entry at 4, the clear or
// secure-erase entry at 12, suspended bits at 16.
const size_t PROGRESS_BLOCK_SIZE = 32;
const size_t ALLOWED_OPERATIONS_SIZE = 4;
// The allowed-operations bit that a running secure erase adds: it may be stopped.
const uint32_t ALLOW_SECURE_ERASE_STOP = 1u << 25;

struct OperationLayout {
    DriveOperation operation;
    uint32_t bit;
    size_t entry;
};
const OperationLayout PROGRESS_LAYOUT[] = {
    {DriveOperation::REBUILD, 0x01, 4},
    {DriveOperation::CLEAR, 0x04, 12},
    {DriveOperation::COPYBACK, 0x08, 4},
    {DriveOperation::SECURE_ERASE, 0x10, 12},
};

// Whether the drive must be a member of an array (1), must not be (0), or either (2).
enum Membership { NOT_MEMBER = 0, MEMBER = 1, EITHER = 2 };
struct Transition {
    uint8_t from;
    uint8_t to;
    Membership membership;
};
const Transition TRANSITIONS[] = {
    {PD_STATE_ONLINE, PD_STATE_OFFLINE, MEMBER},
    {PD_STATE_ONLINE, PD_STATE_FAILED, MEMBER},
    {PD_STATE_OFFLINE, PD_STATE_ONLINE, MEMBER},
    {PD_STATE_FAILED, PD_STATE_ONLINE, MEMBER},
    {PD_STATE_OFFLINE, PD_STATE_FAILED, MEMBER},
    {PD_STATE_UNCONFIGURED_BAD, PD_STATE_UNCONFIGURED_GOOD, NOT_MEMBER},
    {PD_STATE_FAILED, PD_STATE_UNCONFIGURED_GOOD, NOT_MEMBER},
    {PD_STATE_UNCONFIGURED_GOOD, PD_STATE_JBOD, NOT_MEMBER},
    {PD_STATE_JBOD, PD_STATE_UNCONFIGURED_GOOD, NOT_MEMBER},
};

bool isMember(const Controller& c, uint16_t deviceId)
{
    return std::any_of(c.arrays.begin(), c.arrays.end(), [deviceId](const Array& a) {
        return std::find(a.drives.begin(), a.drives.end(), deviceId) != a.drives.end();
    });
}

DriveProgress* findOperation(Drive& d, DriveOperation operation)
{
    for (DriveProgress& p : d.progress)
        if (p.operation == operation)
            return &p;
    return nullptr;
}

void removeOperation(Drive& d, DriveOperation operation)
{
    d.progress.erase(std::remove_if(d.progress.begin(), d.progress.end(),
                                    [operation](const DriveProgress& p) { return p.operation == operation; }),
                     d.progress.end());
}

void startOperation(SimState& state, Drive& d, DriveOperation operation)
{
    removeOperation(d, operation);
    DriveProgress p;
    p.operation = operation;
    p.since = state.clock();
    d.progress.push_back(p);
}

// Each logical drive over the arrays follows its members: optimal when every member is online,
// else degraded (offline for RAID 0).
void updateLdStates(Controller& c)
{
    for (LogicalDrive& ld : c.lds) {
        if (ld.spans.empty())
            continue;
        bool allOnline = true;
        for (const Span& s : ld.spans)
            for (const Array& a : c.arrays)
                if (a.ref == s.array)
                    for (uint16_t id : a.drives) {
                        const Drive* d = findDriveById(c, id);
                        allOnline = allOnline && d != nullptr && d->state == PD_STATE_ONLINE;
                    }
        if (allOnline)
            ld.state = LD_STATE_OPTIMAL;
        else
            ld.state = ld.raidLevel == 0 ? LD_STATE_OFFLINE : LD_STATE_DEGRADED;
    }
}

// The end of an operation: a rebuilt drive is online; a copyback's target takes its source's
// place in the arrays and the source becomes unconfigured good; an erased drive is no longer
// secured.
void finishOperation(Controller& c, Drive& d, const DriveProgress& p)
{
    switch (p.operation) {
    case DriveOperation::REBUILD:
        d.state = PD_STATE_ONLINE;
        break;
    case DriveOperation::COPYBACK:
        d.state = PD_STATE_ONLINE;
        if (p.source) {
            for (Array& a : c.arrays)
                std::replace(a.drives.begin(), a.drives.end(), *p.source, d.deviceId);
            if (Drive* source = findDriveById(c, *p.source))
                source->state = PD_STATE_UNCONFIGURED_GOOD;
        }
        break;
    case DriveOperation::SECURE_ERASE:
        d.security &= static_cast<uint8_t>(~SECURITY_SECURED_LOCKED_FOREIGN);
        break;
    default:
        break;
    }
}

// The drive named by mailbox word 0 as a reference, or null with the status to answer.
Drive* byReference(Controller& c, const SimCommand& cmd, uint8_t& status)
{
    Drive* d = findDriveById(c, static_cast<uint16_t>(cmd.mailbox[0] & 0xFFFF));
    status = d == nullptr ? FW_STATUS_NO_DEVICE
                          : (d->sequence != (cmd.mailbox[0] >> 16) ? FW_STATUS_INVALID_ARGUMENT : FW_STATUS_OK);
    return status == FW_STATUS_OK ? d : nullptr;
}

Drive* byDeviceId(Controller& c, const SimCommand& cmd, uint8_t& status)
{
    Drive* d = findDriveById(c, static_cast<uint16_t>(cmd.mailbox[0] & 0xFFFF));
    status = d == nullptr ? FW_STATUS_NO_DEVICE : FW_STATUS_OK;
    return d;
}

// Runs `change` on the referenced drive and saves the state when it answers OK.
template <typename Change>
uint8_t changeDrive(SimState& state, Controller& c, SimCommand& cmd, bool byId, Change change)
{
    uint8_t status = FW_STATUS_OK;
    Drive* d = byId ? byDeviceId(c, cmd, status) : byReference(c, cmd, status);
    if (d == nullptr)
        return status;
    status = change(*d);
    if (status == FW_STATUS_OK) {
        updateLdStates(c);
        markStateChanged(state);
    }
    return status;
}

// DCMD_PD_SET_STATE (word 1 the new state): the transitions of the table; a drive leaves JBOD
// only while the controller has conversions left.
uint8_t pdSetState(SimState& state, Controller& c, SimCommand& cmd)
{
    const uint32_t to = cmd.mailbox[1];
    return changeDrive(state, c, cmd, false, [&](Drive& d) {
        const bool member = isMember(c, d.deviceId);
        const auto allowed = std::find_if(std::begin(TRANSITIONS), std::end(TRANSITIONS), [&](const Transition& t) {
            return t.from == d.state && t.to == to && (t.membership == EITHER || (t.membership == MEMBER) == member);
        });
        if (allowed == std::end(TRANSITIONS))
            return FW_STATUS_WRONG_STATE;
        if (d.state == PD_STATE_JBOD && c.jbodConversionsLeft) {
            if (*c.jbodConversionsLeft == 0)
                return FW_STATUS_CONVERSION_LIMIT;
            --*c.jbodConversionsLeft;
        }
        d.state = static_cast<uint8_t>(to);
        return FW_STATUS_OK;
    });
}

uint8_t pdRebuildStart(SimState& state, Controller& c, SimCommand& cmd)
{
    return changeDrive(state, c, cmd, false, [&](Drive& d) {
        if (!isMember(c, d.deviceId) || (d.state != PD_STATE_OFFLINE && d.state != PD_STATE_FAILED))
            return FW_STATUS_WRONG_STATE;
        d.state = PD_STATE_REBUILD;
        startOperation(state, d, DriveOperation::REBUILD);
        return FW_STATUS_OK;
    });
}

uint8_t pdRebuildStop(SimState& state, Controller& c, SimCommand& cmd)
{
    return changeDrive(state, c, cmd, false, [](Drive& d) {
        if (findOperation(d, DriveOperation::REBUILD) == nullptr)
            return FW_STATUS_WRONG_STATE;
        removeOperation(d, DriveOperation::REBUILD);
        d.state = PD_STATE_OFFLINE;
        return FW_STATUS_OK;
    });
}

// Clear and secure erase run on unconfigured good drives only.
template <DriveOperation operation>
uint8_t pdStartOnGoodDrive(SimState& state, Controller& c, SimCommand& cmd)
{
    return changeDrive(state, c, cmd, false, [&](Drive& d) {
        if (d.state != PD_STATE_UNCONFIGURED_GOOD || findOperation(d, operation) != nullptr)
            return FW_STATUS_WRONG_STATE;
        if (operation == DriveOperation::SECURE_ERASE && (cmd.mailbox[1] & 0xFF) > SECURE_ERASE_MAX_TYPE)
            return FW_STATUS_INVALID_ARGUMENT;
        startOperation(state, d, operation);
        return FW_STATUS_OK;
    });
}

template <DriveOperation operation>
uint8_t pdStop(SimState& state, Controller& c, SimCommand& cmd)
{
    return changeDrive(state, c, cmd, false, [](Drive& d) {
        if (findOperation(d, operation) == nullptr)
            return FW_STATUS_WRONG_STATE;
        removeOperation(d, operation);
        return FW_STATUS_OK;
    });
}

template <bool on>
uint8_t pdLocate(SimState& state, Controller& c, SimCommand& cmd)
{
    return changeDrive(state, c, cmd, true, [](Drive& d) {
        d.locating = on;
        return FW_STATUS_OK;
    });
}

// DCMD_PD_MARK_MISSING: an offline or failed member leaves its array, whose entry is missing.
uint8_t pdMarkMissing(SimState& state, Controller& c, SimCommand& cmd)
{
    return changeDrive(state, c, cmd, false, [&](Drive& d) {
        if (!isMember(c, d.deviceId) || (d.state != PD_STATE_OFFLINE && d.state != PD_STATE_FAILED))
            return FW_STATUS_WRONG_STATE;
        for (Array& a : c.arrays)
            std::replace(a.drives.begin(), a.drives.end(), d.deviceId, MISSING_ENTRY);
        d.state = PD_STATE_UNCONFIGURED_GOOD;
        return FW_STATUS_OK;
    });
}

// DCMD_PD_REPLACE_MISSING: word 1 names the array (reference, bits 0-15) and the row (bits
// 16-23) whose drive is missing; an unconfigured good drive outside the arrays takes the row
// and goes offline, ready to be rebuilt. An array it does not have answers 0x0C, a row beyond
// the array or one whose drive is there 0x32.
uint8_t pdReplaceMissing(SimState& state, Controller& c, SimCommand& cmd)
{
    const uint16_t ref = static_cast<uint16_t>(cmd.mailbox[1] & 0xFFFF);
    const size_t row = (cmd.mailbox[1] >> 16) & 0xFF;
    return changeDrive(state, c, cmd, false, [&](Drive& d) {
        const auto array = std::find_if(c.arrays.begin(), c.arrays.end(), [ref](const Array& a) { return a.ref == ref; });
        if (array == c.arrays.end())
            return FW_STATUS_NO_DEVICE;
        if (row >= array->drives.size() || array->drives[row] != MISSING_ENTRY || isMember(c, d.deviceId) ||
            d.state != PD_STATE_UNCONFIGURED_GOOD)
            return FW_STATUS_WRONG_STATE;
        array->drives[row] = d.deviceId;
        d.state = PD_STATE_OFFLINE;
        return FW_STATUS_OK;
    });
}

// DCMD_PD_PREPARE_REMOVAL: a drive outside the arrays spins down, ready to be pulled.
template <bool prepare>
uint8_t pdPrepareRemoval(SimState& state, Controller& c, SimCommand& cmd)
{
    return changeDrive(state, c, cmd, false, [&](Drive& d) {
        if (prepare && isMember(c, d.deviceId))
            return FW_STATUS_WRONG_STATE;
        d.preparedForRemoval = prepare;
        d.powerState = prepare ? POWER_SPUN_DOWN : 0;
        return FW_STATUS_OK;
    });
}

// DCMD_PD_COPYBACK_START: word 0 the target's reference, word 1 the source's. An online member
// is copied to an unconfigured good drive or hot spare, which shows the copyback.
uint8_t pdCopybackStart(SimState& state, Controller& c, SimCommand& cmd)
{
    SimCommand sourceCmd = cmd;
    sourceCmd.mailbox[0] = cmd.mailbox[1];
    uint8_t status = FW_STATUS_OK;
    Drive* source = byReference(c, sourceCmd, status);
    if (source == nullptr)
        return status;
    const uint16_t sourceId = source->deviceId;
    const bool sourceReady = isMember(c, sourceId) && source->state == PD_STATE_ONLINE;
    return changeDrive(state, c, cmd, false, [&](Drive& d) {
        if (!sourceReady || (d.state != PD_STATE_UNCONFIGURED_GOOD && d.state != PD_STATE_HOT_SPARE))
            return FW_STATUS_WRONG_STATE;
        d.state = PD_STATE_COPYBACK;
        startOperation(state, d, DriveOperation::COPYBACK);
        findOperation(d, DriveOperation::COPYBACK)->source = sourceId;
        return FW_STATUS_OK;
    });
}

// The drive that shows a copyback: `d` itself when it is the target, else the target whose
// source `d` is.
Drive* copybackTarget(Controller& c, Drive& d)
{
    if (findOperation(d, DriveOperation::COPYBACK) != nullptr)
        return &d;
    for (Drive& other : c.drives) {
        const DriveProgress* p = findOperation(other, DriveOperation::COPYBACK);
        if (p != nullptr && p->source && *p->source == d.deviceId)
            return &other;
    }
    return nullptr;
}

uint8_t pdCopybackStop(SimState& state, Controller& c, SimCommand& cmd)
{
    return changeDrive(state, c, cmd, false, [&](Drive& d) {
        Drive* target = copybackTarget(c, d);
        if (target == nullptr)
            return FW_STATUS_WRONG_STATE;
        removeOperation(*target, DriveOperation::COPYBACK);
        target->state = PD_STATE_UNCONFIGURED_GOOD;
        return FW_STATUS_OK;
    });
}

// Suspend (word 1 = 0) or resume (1) of a running rebuild or copyback.
template <DriveOperation operation>
uint8_t pdSuspendResume(SimState& state, Controller& c, SimCommand& cmd)
{
    const bool resume = (cmd.mailbox[1] & 0xFF) != 0;
    return changeDrive(state, c, cmd, false, [&](Drive& d) {
        Drive* shown = operation == DriveOperation::COPYBACK ? copybackTarget(c, d) : &d;
        DriveProgress* p = shown != nullptr ? findOperation(*shown, operation) : nullptr;
        if (p == nullptr || p->suspended != resume)
            return FW_STATUS_WRONG_STATE;
        p->suspended = !resume;
        p->since = state.clock();
        return FW_STATUS_OK;
    });
}

// Reprovisioning: the drive's security (secured, locked, foreign lock) is gone.
uint8_t pdReprovision(SimState& state, Controller& c, SimCommand& cmd)
{
    return changeDrive(state, c, cmd, false, [](Drive& d) {
        d.security &= static_cast<uint8_t>(~SECURITY_SECURED_LOCKED_FOREIGN);
        return FW_STATUS_OK;
    });
}

// DCMD_PD_GET_PROGRESS (device id): the operations the progress block shows.
uint8_t pdGetProgress(SimState&, Controller& c, SimCommand& cmd)
{
    uint8_t status = FW_STATUS_OK;
    const Drive* d = byDeviceId(c, cmd, status);
    if (d == nullptr)
        return status;
    Bytes r(PROGRESS_BLOCK_SIZE, 0);
    uint32_t running = 0;
    uint32_t suspended = 0;
    for (const DriveProgress& p : d->progress)
        for (const OperationLayout& l : PROGRESS_LAYOUT)
            if (l.operation == p.operation) {
                running |= l.bit;
                suspended |= p.suspended ? l.bit : 0;
                put16(r, l.entry, p.progress);
                put16(r, l.entry + 2, p.elapsed);
            }
    put32(r, 0, running);
    put32(r, 16, suspended);
    return fwReply(cmd, r);
}

// DCMD_PD_SUBCMD_0A (device id): the drive's allowed-operations word, with the stop bit while a
// secure erase runs.
uint8_t pdAllowedOperations(SimState&, Controller& c, SimCommand& cmd)
{
    uint8_t status = FW_STATUS_OK;
    Drive* d = byDeviceId(c, cmd, status);
    if (d == nullptr)
        return status;
    Bytes r(ALLOWED_OPERATIONS_SIZE, 0);
    const DriveProgress* erase = findOperation(*d, DriveOperation::SECURE_ERASE);
    put32(r, 0, d->allowedOperations | (erase != nullptr ? ALLOW_SECURE_ERASE_STOP : 0));
    return fwReply(cmd, r);
}

// One operation brought up to the clock; true when it reached its end.
bool advance(const Controller& c, DriveProgress& p, uint64_t now)
{
    if (!p.since || p.suspended || now <= *p.since)
        return false;
    const uint64_t elapsed = std::min<uint64_t>(p.elapsed + (now - *p.since), 0xFFFF);
    p.elapsed = static_cast<uint16_t>(elapsed);
    p.progress = static_cast<uint16_t>(std::min<uint64_t>(0xFFFF, elapsed * 0xFFFF / c.operationSeconds));
    p.since = now;
    return p.progress == 0xFFFF;
}

const FwRegistration registration({
    fwNoData(OP_PD_SET_STATE, pdSetState),
    fwNoData(OP_PD_REBUILD_START, pdRebuildStart),
    fwNoData(OP_PD_REBUILD_STOP, pdRebuildStop),
    fwNoData(OP_PD_CLEAR_START, pdStartOnGoodDrive<DriveOperation::CLEAR>),
    fwNoData(OP_PD_CLEAR_STOP, pdStop<DriveOperation::CLEAR>),
    fwRead(OP_PD_GET_PROGRESS, PROGRESS_BLOCK_SIZE, pdGetProgress),
    fwNoData(OP_PD_LOCATE_START, pdLocate<true>),
    fwNoData(OP_PD_LOCATE_STOP, pdLocate<false>),
    fwNoData(OP_PD_MARK_MISSING, pdMarkMissing),
    fwNoData(OP_PD_REPLACE_MISSING, pdReplaceMissing),
    fwNoData(OP_PD_PREPARE_REMOVAL, pdPrepareRemoval<true>),
    fwNoData(OP_PD_UNDO_PREPARE_REMOVAL, pdPrepareRemoval<false>),
    fwRead(OP_PD_ALLOWED_OPERATIONS, ALLOWED_OPERATIONS_SIZE, pdAllowedOperations),
    fwNoData(OP_PD_COPYBACK_START, pdCopybackStart),
    fwNoData(OP_PD_COPYBACK_STOP, pdCopybackStop),
    fwNoData(OP_PD_REPROVISION_CHECK, pdReprovision),
    fwNoData(OP_PD_REPROVISION_START, pdReprovision),
    fwNoData(OP_PD_REBUILD_SUSPEND_RESUME, pdSuspendResume<DriveOperation::REBUILD>),
    fwNoData(OP_PD_COPYBACK_SUSPEND_RESUME, pdSuspendResume<DriveOperation::COPYBACK>),
    // The start carries the write direction without data.
    fwWrite(OP_PD_SECURE_ERASE_START, 0, pdStartOnGoodDrive<DriveOperation::SECURE_ERASE>),
    fwNoData(OP_PD_SECURE_ERASE_STOP, pdStop<DriveOperation::SECURE_ERASE>),
});

} // namespace

Drive* findDriveById(Controller& c, uint16_t deviceId)
{
    for (Drive& d : c.drives)
        if (d.deviceId == deviceId)
            return &d;
    return nullptr;
}

void advanceDriveOperations(SimState& state, Controller& c)
{
    bool changed = false;
    for (Drive& d : c.drives) {
        for (size_t i = 0; i < d.progress.size();) {
            const bool moved = d.progress[i].since && !d.progress[i].suspended && state.clock() > *d.progress[i].since;
            changed = changed || moved;
            if (!advance(c, d.progress[i], state.clock())) {
                ++i;
                continue;
            }
            const DriveProgress ended = d.progress[i];
            d.progress.erase(d.progress.begin() + static_cast<long>(i));
            finishOperation(c, d, ended);
            updateLdStates(c);
        }
    }
    if (changed)
        markStateChanged(state);
}

} // namespace sim
