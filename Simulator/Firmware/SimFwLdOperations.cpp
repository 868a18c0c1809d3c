// Logical-drive operations of the simulated firmware: the long operations (consistency check,
// initialization, reconstruction, secure erase) with their progress, suspend and resume, and
// their end on the simulated clock; the allowed-operations word; the one-shot commands (make
// secure, bad blocks, protection information, blocked access, consistency mark, mirrors); the
// one-block read through a drive; the snapshot commands, which this firmware does not support.
//
// Commands that name a drive by reference carry in mailbox word 0 its target id (byte 0) and
// sequence number (bytes 2-3): an unknown target id is answered with 0x0C, a sequence number
// that is not the drive's with 0x03. Commands by target id carry only byte 0.
#include <algorithm>

#include "Simulator/Firmware/SimConsistency.h"
#include "Simulator/Firmware/SimFirmware.h"
#include "Simulator/Firmware/SimFirmwareValues.h"
#include "Simulator/SimState.h"

namespace sim {

namespace {

const uint32_t OP_LD_CC_START = 0x03050100;
const uint32_t OP_LD_CC_ABORT = 0x03050200;
const uint32_t OP_LD_INIT_START = 0x03060100;
const uint32_t OP_LD_INIT_ABORT = 0x03060200;
const uint32_t OP_LD_RECONSTRUCT_START = 0x03070100;
const uint32_t OP_LD_GET_PROGRESS = 0x03080000;
const uint32_t OP_LD_GET_ALLOWED_OPS = 0x030B0000;
const uint32_t OP_LD_MAKE_SECURE = 0x030C0000;
const uint32_t OP_LD_BBM_CLEAR = 0x030E0000;
const uint32_t OP_LD_BBM_GET_LOG_INFO = 0x030E0100;
const uint32_t OP_LD_BBM_GET_LOG_LIST = 0x030E0200;
const uint32_t OP_LD_MIRROR_BREAK = 0x03110100;
const uint32_t OP_LD_MIRROR_VIEW = 0x03110200;
const uint32_t OP_LD_MIRROR_JOIN = 0x03110300;
const uint32_t OP_LD_RECON_SUSPEND_RESUME = 0x03120100;
const uint32_t OP_LD_BGOP_SUSPEND_RESUME = 0x03120200;
const uint32_t OP_LD_SECURE_ERASE_START = 0x03130100;
const uint32_t OP_LD_SECURE_ERASE_STOP = 0x03130200;
const uint32_t OP_LD_PI_DISABLE = 0x03140100;
const uint32_t OP_LD_REMOVE_BLOCKED_ACCESS = 0x03040010;
const uint32_t OP_LD_SET_CONSISTENCY = 0x0305E100;
const uint32_t SCSI_READ_10 = 0x28;

// Mailbox byte 4 of the suspend-resume and initialization commands.
const uint8_t RESUME = 1;
const uint8_t FULL_INIT = 1;
const uint32_t ALL_LDS = 0xFF;

// The progress block: running bits at 0, one entry per operation from 4 (a secure erase in
// the consistency check's), suspended bits at 24.
const size_t PROGRESS_SIZE = 36;
const size_t PROGRESS_SUSPENDED = 24;

// The reconstruction request: reference, operation, new level, drive count, expansion
// percentage, then 4-byte drive entries (device id, sequence number) from 8.
const size_t RECONSTRUCT_SIZE = 136;
const size_t RECONSTRUCT_MAX_DRIVES = 32;

// The first read of a mirror view: a header and one record of each kind.
const size_t MIRROR_FIRST_READ = 616;

const uint32_t FULL_PROGRESS = 65535;

// The bad-block management log of a drive (corrected and uncorrected counts, 64 bits each),
// and the list of them by target id after an 8-byte count.
const size_t BBM_LOG_INFO_SIZE = 32;
const size_t BBM_LOG_LIST_DRIVES = 64;
const size_t BBM_LOG_LIST_SIZE = 8 + BBM_LOG_INFO_SIZE * BBM_LOG_LIST_DRIVES;
const uint8_t BBM_FEATURE = 0x02;     // controller information byte 0x5e5

// Allowed-operations bits made from the drive's state when the description gives no word.
const uint32_t ALLOW_CC = 1u << 2;
const uint32_t ALLOW_EXPANSION = 1u << 4;
const uint32_t ALLOW_MAKE_SECURE = 1u << 6;
const uint32_t ALLOW_BG_SUSPEND = 1u << 17;
const uint32_t ALLOW_BG_RESUME = 1u << 18;
const uint32_t ALLOW_RECON_SUSPEND = 1u << 19;
const uint32_t ALLOW_RECON_RESUME = 1u << 20;
const uint32_t ALLOW_SECURE_ERASE = 1u << 21;
const uint32_t ALLOW_SECURE_ERASE_STOP = 1u << 22;

LogicalDrive* ldByTarget(Controller& c, uint32_t mailbox0)
{
    for (LogicalDrive& ld : c.lds)
        if (ld.targetId == (mailbox0 & 0xFF))
            return &ld;
    return nullptr;
}

// The drive a reference names, or the status that refuses it.
uint8_t ldByReference(Controller& c, uint32_t mailbox0, LogicalDrive*& ld)
{
    ld = ldByTarget(c, mailbox0);
    if (!ld)
        return FW_STATUS_NO_DEVICE;
    if ((mailbox0 >> 16) != ld->sequence)
        return FW_STATUS_INVALID_ARGUMENT;
    return FW_STATUS_OK;
}

LdProgress* running(LogicalDrive& ld, LdOperation op)
{
    for (LdProgress& p : ld.progress)
        if (p.operation == op)
            return &p;
    return nullptr;
}

bool removeOperation(LogicalDrive& ld, LdOperation op)
{
    auto at = std::find_if(ld.progress.begin(), ld.progress.end(),
                           [op](const LdProgress& p) { return p.operation == op; });
    if (at == ld.progress.end())
        return false;
    ld.progress.erase(at);
    return true;
}

// The status that refuses a new long operation while another one runs; 0 when none runs.
uint8_t busyStatus(LogicalDrive& ld)
{
    if (running(ld, LdOperation::CONSISTENCY_CHECK))
        return FW_STATUS_CC_RUNNING;
    if (running(ld, LdOperation::FOREGROUND_INIT))
        return FW_STATUS_INIT_RUNNING;
    if (running(ld, LdOperation::RECONSTRUCTION))
        return FW_STATUS_RECON_RUNNING;
    if (running(ld, LdOperation::SECURE_ERASE))
        return FW_STATUS_IN_USE;
    return FW_STATUS_OK;
}

uint8_t startOperation(SimState& state, LogicalDrive& ld, const LdProgress& p)
{
    ld.progress.push_back(p);
    state.markChanged();
    return FW_STATUS_OK;
}

LdProgress newOperation(LdOperation op)
{
    LdProgress p;
    p.operation = op;
    return p;
}

// DCMD_LD_CC_START: a consistency check of a redundant drive that runs nothing else (a
// background initialization gives way to it).
uint8_t ldCcStart(SimState& state, Controller& c, SimCommand& cmd)
{
    LogicalDrive* ld = nullptr;
    if (uint8_t status = ldByReference(c, cmd.mailbox[0], ld))
        return status;
    if (ld->raidLevel == 0)
        return FW_STATUS_WRONG_LEVEL;
    if (uint8_t status = busyStatus(*ld))
        return status;
    removeOperation(*ld, LdOperation::BACKGROUND_INIT);
    return startOperation(state, *ld, newOperation(LdOperation::CONSISTENCY_CHECK));
}

uint8_t stopOperation(SimState& state, Controller& c, SimCommand& cmd, LdOperation op)
{
    LogicalDrive* ld = nullptr;
    if (uint8_t status = ldByReference(c, cmd.mailbox[0], ld))
        return status;
    if (!removeOperation(*ld, op))
        return FW_STATUS_CANNOT_ABORT;
    state.markChanged();
    return FW_STATUS_OK;
}

// The check's abort also ends a background initialization (a drive runs one or the other).
uint8_t ldCcAbort(SimState& state, Controller& c, SimCommand& cmd)
{
    LogicalDrive* ld = nullptr;
    if (uint8_t status = ldByReference(c, cmd.mailbox[0], ld))
        return status;
    const bool check = removeOperation(*ld, LdOperation::CONSISTENCY_CHECK);
    const bool background = removeOperation(*ld, LdOperation::BACKGROUND_INIT);
    if (!check && !background)
        return FW_STATUS_CANNOT_ABORT;
    state.markChanged();
    return FW_STATUS_OK;
}

uint8_t ldInitAbort(SimState& state, Controller& c, SimCommand& cmd)
{
    return stopOperation(state, c, cmd, LdOperation::FOREGROUND_INIT);
}

uint8_t ldSecureEraseStop(SimState& state, Controller& c, SimCommand& cmd)
{
    return stopOperation(state, c, cmd, LdOperation::SECURE_ERASE);
}

// DCMD_LD_INIT_START (byte 4: 0 fast, 1 full): a fast initialization ends at once; a full one
// runs with progress. Either replaces a background initialization.
uint8_t ldInitStart(SimState& state, Controller& c, SimCommand& cmd)
{
    LogicalDrive* ld = nullptr;
    if (uint8_t status = ldByReference(c, cmd.mailbox[0], ld))
        return status;
    if (uint8_t status = busyStatus(*ld))
        return status;
    removeOperation(*ld, LdOperation::BACKGROUND_INIT);
    if ((cmd.mailbox[1] & 0xFF) != FULL_INIT) {
        ld->initialized = 1;
        state.markChanged();
        return FW_STATUS_OK;
    }
    ld->initialized = 0;
    return startOperation(state, *ld, newOperation(LdOperation::FOREGROUND_INIT));
}

// Suspends (byte 4 = 0) or resumes (1) the running operations of `ops`.
uint8_t suspendOrResume(SimState& state, Controller& c, SimCommand& cmd, std::initializer_list<LdOperation> ops)
{
    LogicalDrive* ld = nullptr;
    if (uint8_t status = ldByReference(c, cmd.mailbox[0], ld))
        return status;
    const bool resume = (cmd.mailbox[1] & 0xFF) == RESUME;
    bool changed = false;
    for (LdProgress& p : ld->progress) {
        if (std::find(ops.begin(), ops.end(), p.operation) == ops.end() || p.suspended == !resume)
            continue;
        p.suspended = !resume;
        changed = true;
    }
    if (!changed)
        return FW_STATUS_WRONG_STATE;
    state.markChanged();
    return FW_STATUS_OK;
}

uint8_t ldBgopSuspendResume(SimState& state, Controller& c, SimCommand& cmd)
{
    return suspendOrResume(state, c, cmd, {LdOperation::CONSISTENCY_CHECK, LdOperation::BACKGROUND_INIT});
}

uint8_t ldReconSuspendResume(SimState& state, Controller& c, SimCommand& cmd)
{
    return suspendOrResume(state, c, cmd, {LdOperation::RECONSTRUCTION});
}

const Drive* findDrive(const Controller& c, uint16_t deviceId)
{
    for (const Drive& d : c.drives)
        if (d.deviceId == deviceId)
            return &d;
    return nullptr;
}

// Whether the drives of a reconstruction request fit it: each one known by device id and
// sequence number; an added one unconfigured, a removed one a member.
uint8_t checkReconstructDrives(const Controller& c, const LogicalDrive& ld, const Bytes& b, LdProgress& p)
{
    const size_t count = std::min<size_t>(get8(b, 6), RECONSTRUCT_MAX_DRIVES);
    for (size_t i = 0; i < count; ++i) {
        const uint16_t id = get16(b, 8 + 4 * i);
        const Drive* d = findDrive(c, id);
        if (!d)
            return FW_STATUS_NO_DEVICE;
        if (d->sequence != get16(b, 10 + 4 * i))
            return FW_STATUS_INVALID_ARGUMENT;
        const bool member = std::find(ld.drives.begin(), ld.drives.end(), id) != ld.drives.end();
        if (p.reconstructKind == ReconstructKind::ADD && (member || d->state != PD_STATE_UNCONFIGURED_GOOD))
            return FW_STATUS_WRONG_STATE;
        if (p.reconstructKind == ReconstructKind::REMOVE && !member)
            return FW_STATUS_WRONG_STATE;
        p.reconstructDrives.push_back(id);
    }
    return FW_STATUS_OK;
}

// DCMD_LD_RECONSTRUCT_START: the request's reference must be the mailbox's; the drive runs
// the reconstruction, which takes its effect at the end.
uint8_t ldReconstructStart(SimState& state, Controller& c, SimCommand& cmd)
{
    LogicalDrive* ld = nullptr;
    if (uint8_t status = ldByReference(c, cmd.mailbox[0], ld))
        return status;
    const Bytes& b = cmd.data;
    if (get32(b, 0) != cmd.mailbox[0] || get8(b, 4) > 2)
        return FW_STATUS_INVALID_ARGUMENT;
    if (uint8_t status = busyStatus(*ld))
        return status;
    LdProgress p = newOperation(LdOperation::RECONSTRUCTION);
    p.reconstructKind = static_cast<ReconstructKind>(get8(b, 4));
    p.newRaidLevel = get8(b, 5);
    p.expansionPercent = get8(b, 7);
    if (p.reconstructKind == ReconstructKind::OTHER && p.expansionPercent > 100)
        return FW_STATUS_INVALID_ARGUMENT;
    if (uint8_t status = checkReconstructDrives(c, *ld, b, p))
        return status;
    removeOperation(*ld, LdOperation::BACKGROUND_INIT);
    return startOperation(state, *ld, p);
}

// DCMD_LD_SECURE_ERASE_START (byte 4 type 0-2, bytes 5-6 patterns, byte 7 delete after).
uint8_t ldSecureEraseStart(SimState& state, Controller& c, SimCommand& cmd)
{
    LogicalDrive* ld = nullptr;
    if (uint8_t status = ldByReference(c, cmd.mailbox[0], ld))
        return status;
    if ((cmd.mailbox[1] & 0xFF) > 2)
        return FW_STATUS_INVALID_ARGUMENT;
    if (uint8_t status = busyStatus(*ld))
        return status;
    LdProgress p = newOperation(LdOperation::SECURE_ERASE);
    p.deleteAfter = ((cmd.mailbox[1] >> 24) & 0xFF) == 1;
    removeOperation(*ld, LdOperation::BACKGROUND_INIT);
    return startOperation(state, *ld, p);
}

// DCMD_LD_GET_PROGRESS (target form): the running operations and their progress.
uint8_t ldGetProgress(SimState&, Controller& c, SimCommand& cmd)
{
    LogicalDrive* ld = ldByTarget(c, cmd.mailbox[0]);
    if (!ld)
        return FW_STATUS_NO_DEVICE;
    Bytes r(PROGRESS_SIZE, 0);
    uint32_t runningBits = 0;
    uint32_t suspendedBits = 0;
    for (const LdProgress& p : ld->progress) {
        const unsigned index = static_cast<unsigned>(p.operation);
        // A secure erase reports in the consistency check's entry.
        const unsigned entry = p.operation == LdOperation::SECURE_ERASE ? 0 : index;
        runningBits |= 1u << index;
        if (p.suspended)
            suspendedBits |= 1u << index;
        put16(r, 4 + 4 * entry, p.progress);
        put16(r, 6 + 4 * entry, p.elapsed);
    }
    put32(r, 0, runningBits);
    put32(r, PROGRESS_SUSPENDED, suspendedBits);
    return fwReply(cmd, r);
}

uint32_t madeAllowedOperations(LogicalDrive& ld)
{
    uint32_t word = 0;
    const bool idle = busyStatus(ld) == FW_STATUS_OK;
    if (idle && ld.raidLevel != 0)
        word |= ALLOW_CC;
    if (idle)
        word |= ALLOW_EXPANSION | ALLOW_SECURE_ERASE;
    if (ld.encryption == 0)
        word |= ALLOW_MAKE_SECURE;
    for (const LdProgress& p : ld.progress) {
        const bool background =
            p.operation == LdOperation::CONSISTENCY_CHECK || p.operation == LdOperation::BACKGROUND_INIT;
        if (background)
            word |= p.suspended ? ALLOW_BG_RESUME : ALLOW_BG_SUSPEND;
        if (p.operation == LdOperation::RECONSTRUCTION)
            word |= p.suspended ? ALLOW_RECON_RESUME : ALLOW_RECON_SUSPEND;
        if (p.operation == LdOperation::SECURE_ERASE)
            word |= ALLOW_SECURE_ERASE_STOP;
    }
    return word;
}

// DCMD_LD_GET_ALLOWED_OPS (target form): the description's word, else one made from the
// drive's state.
uint8_t ldGetAllowedOps(SimState&, Controller& c, SimCommand& cmd)
{
    LogicalDrive* ld = ldByTarget(c, cmd.mailbox[0]);
    if (!ld)
        return FW_STATUS_NO_DEVICE;
    Bytes r(4, 0);
    put32(r, 0, ld->allowedOperations.value_or(madeAllowedOperations(*ld)));
    return fwReply(cmd, r);
}

// The one-shot commands by reference: each changes one field of the drive.
template <void (*Change)(LogicalDrive&)>
uint8_t changeLd(SimState& state, Controller& c, SimCommand& cmd)
{
    LogicalDrive* ld = nullptr;
    if (uint8_t status = ldByReference(c, cmd.mailbox[0], ld))
        return status;
    Change(*ld);
    state.markChanged();
    return FW_STATUS_OK;
}

void makeSecure(LogicalDrive& ld) { ld.encryption = 1; }
void clearBadBlocks(LogicalDrive& ld)
{
    ld.badBlocks = 0;
    ld.bbmCorrected = 0;
    ld.bbmUncorrected = 0;
}
void disablePi(LogicalDrive& ld) { ld.piType = 0; }
void keep(LogicalDrive&) {}

void unblock(LogicalDrive& ld)
{
    if (ld.currentAccessPolicy.value_or(ld.accessPolicy) == ACCESS_BLOCKED)
        ld.currentAccessPolicy = ld.accessPolicy == ACCESS_BLOCKED ? 0 : ld.accessPolicy;
}

// DCMD_LD_REMOVE_BLOCKED_ACCESS: target byte 0xFF unblocks every drive, else the one named.
uint8_t ldRemoveBlockedAccess(SimState& state, Controller& c, SimCommand& cmd)
{
    if ((cmd.mailbox[0] & 0xFF) != ALL_LDS)
        return changeLd<unblock>(state, c, cmd);
    for (LogicalDrive& ld : c.lds)
        unblock(ld);
    state.markChanged();
    return FW_STATUS_OK;
}

// DCMD_LD_SET_CONSISTENCY (private; word 0 the 16-bit target id, word 1 1 or 0).
uint8_t ldSetConsistency(SimState& state, Controller& c, SimCommand& cmd)
{
    LogicalDrive* ld = ldByTarget(c, cmd.mailbox[0]);
    if (!ld || cmd.mailbox[0] > 0xFF)
        return FW_STATUS_NO_DEVICE;
    if (cmd.mailbox[1] > 1)
        return FW_STATUS_INVALID_ARGUMENT;
    ld->initialized = static_cast<uint8_t>(cmd.mailbox[1]);
    state.markChanged();
    return FW_STATUS_OK;
}

// DCMD_LD_MIRROR_VIEW (reference form): a configuration buffer of the drive, its arrays and the
// spares that serve them (global ones too).
uint8_t ldMirrorView(SimState&, Controller& c, SimCommand& cmd)
{
    LogicalDrive* ld = nullptr;
    if (uint8_t status = ldByReference(c, cmd.mailbox[0], ld))
        return status;
    std::vector<Array> arrays;
    for (const Array& a : c.arrays)
        for (const Span& s : ld->spans)
            if (s.array == a.ref && std::none_of(arrays.begin(), arrays.end(), [&](const Array& x) { return x.ref == a.ref; }))
                arrays.push_back(a);
    std::vector<Spare> spares;
    for (const Spare& s : c.spares) {
        bool serves = !s.dedicated;
        for (uint16_t ref : s.arrays)
            serves = serves || std::any_of(arrays.begin(), arrays.end(), [ref](const Array& a) { return a.ref == ref; });
        if (serves)
            spares.push_back(s);
    }
    return fwReply(cmd, configBuffer(c, arrays, {*ld}, spares));
}

// The bad-block management log: refused (0x01) by a controller without bad-block management.
bool bbmEnabled(const Controller& c)
{
    return (c.info.ldFeatures & BBM_FEATURE) != 0;
}

void putBbmLog(Bytes& r, size_t at, const LogicalDrive& ld)
{
    put64(r, at, ld.bbmCorrected);
    put64(r, at + 8, ld.bbmUncorrected);
}

// DCMD_LD_BBM_GET_LOG_INFO (reference form): the counts of the drive's log.
uint8_t ldBbmGetLogInfo(SimState&, Controller& c, SimCommand& cmd)
{
    LogicalDrive* ld = nullptr;
    if (uint8_t status = ldByReference(c, cmd.mailbox[0], ld))
        return status;
    if (!bbmEnabled(c))
        return FW_STATUS_NOT_SUPPORTED;
    Bytes r(BBM_LOG_INFO_SIZE, 0);
    putBbmLog(r, 0, *ld);
    return fwReply(cmd, r);
}

// DCMD_LD_BBM_GET_LOG_LIST: the number of drives, then each drive's log at its target id.
uint8_t ldBbmGetLogList(SimState&, Controller& c, SimCommand& cmd)
{
    if (!bbmEnabled(c))
        return FW_STATUS_NOT_SUPPORTED;
    Bytes r(BBM_LOG_LIST_SIZE, 0);
    put32(r, 0, static_cast<uint32_t>(c.lds.size()));
    for (const LogicalDrive& ld : c.lds)
        if (ld.targetId < BBM_LOG_LIST_DRIVES)
            putBbmLog(r, 8 + BBM_LOG_INFO_SIZE * ld.targetId, ld);
    return fwReply(cmd, r);
}

// READ(10) through a logical drive: a block of zeros.
uint8_t ldScsiRead(SimState&, Controller&, SimCommand& cmd)
{
    return fwReply(cmd, Bytes(cmd.data.size(), 0));
}

uint8_t notSupported(SimState&, Controller&, SimCommand&)
{
    return FW_STATUS_NOT_SUPPORTED;
}

const FwRegistration registration({
    fwNoData(OP_LD_CC_START, ldCcStart),
    fwNoData(OP_LD_CC_ABORT, ldCcAbort),
    fwNoData(OP_LD_INIT_START, ldInitStart),
    fwNoData(OP_LD_INIT_ABORT, ldInitAbort),
    fwWrite(OP_LD_RECONSTRUCT_START, RECONSTRUCT_SIZE, ldReconstructStart),
    fwRead(OP_LD_GET_PROGRESS, PROGRESS_SIZE, ldGetProgress),
    fwRead(OP_LD_GET_ALLOWED_OPS, 4, ldGetAllowedOps),
    fwNoData(OP_LD_MAKE_SECURE, changeLd<makeSecure>),
    fwNoData(OP_LD_BBM_CLEAR, changeLd<clearBadBlocks>),
    fwRead(OP_LD_BBM_GET_LOG_INFO, BBM_LOG_INFO_SIZE, ldBbmGetLogInfo),
    fwRead(OP_LD_BBM_GET_LOG_LIST, BBM_LOG_LIST_SIZE, ldBbmGetLogList),
    fwNoData(OP_LD_MIRROR_BREAK, changeLd<keep>),
    fwRead(OP_LD_MIRROR_VIEW, MIRROR_FIRST_READ, ldMirrorView),
    fwNoData(OP_LD_MIRROR_JOIN, changeLd<keep>),
    fwNoData(OP_LD_RECON_SUSPEND_RESUME, ldReconSuspendResume),
    fwNoData(OP_LD_BGOP_SUSPEND_RESUME, ldBgopSuspendResume),
    fwWrite(OP_LD_SECURE_ERASE_START, 0, ldSecureEraseStart),
    fwNoData(OP_LD_SECURE_ERASE_STOP, ldSecureEraseStop),
    fwNoData(OP_LD_PI_DISABLE, changeLd<disablePi>),
    fwNoData(OP_LD_REMOVE_BLOCKED_ACCESS, ldRemoveBlockedAccess),
    fwRead(OP_LD_SET_CONSISTENCY, 0, ldSetConsistency),
    fwRead(SCSI_READ_10, 0, ldScsiRead, FrameKind::DCDB),
    // The snapshot family, with the directions the commands are sent with.
    fwWrite(0x030F0100, 0, notSupported),
    fwNoData(0x030F0200, notSupported),
    fwBoth(0x030F0300, 0, notSupported),
    fwWrite(0x030F0400, 0, notSupported),
    fwWrite(0x030F0500, 0, notSupported),
    fwWrite(0x030F0600, 0, notSupported),
    fwWrite(0x030F0700, 0, notSupported),
    fwRead(0x030F0800, 0, notSupported),
    fwRead(0x030F0900, 0, notSupported),
    fwRead(0x030F0A00, 0, notSupported),
    fwRead(0x030F0B00, 0, notSupported),
    fwRead(0x030F0C00, 0, notSupported),
    fwNoData(0x030F0D00, notSupported),
});

// --- The operations on the clock ---------------------------------------------------------

void setMembers(Controller& c, LogicalDrive& ld, const LdProgress& p)
{
    Array* array = nullptr;
    for (Array& a : c.arrays)
        if (!ld.spans.empty() && a.ref == ld.spans.front().array)
            array = &a;
    for (uint16_t id : p.reconstructDrives) {
        auto drop = [id](std::vector<uint16_t>& v) { v.erase(std::remove(v.begin(), v.end(), id), v.end()); };
        if (p.reconstructKind == ReconstructKind::ADD) {
            ld.drives.push_back(id);
            if (array)
                array->drives.push_back(id);
        } else {
            drop(ld.drives);
            if (array)
                drop(array->drives);
        }
        for (Drive& d : c.drives)
            if (d.deviceId == id)
                d.state = p.reconstructKind == ReconstructKind::ADD ? PD_STATE_ONLINE : PD_STATE_UNCONFIGURED_GOOD;
    }
}

// An expansion at its end: each span grows by the percentage of the free blocks that follow
// it on its array (up to the next span there, or the array's end); the drive's size follows.
void expand(Controller& c, LogicalDrive& ld, uint8_t percent)
{
    for (Span& s : ld.spans) {
        const Array* a = arrayOf(c, s.array);
        if (a == nullptr)
            continue;
        const uint64_t size = arraySizeOf(c, *a);
        const uint64_t end = s.startBlock + s.blockCount.value_or(size - s.startBlock);
        uint64_t limit = size;
        for (const LogicalDrive& other : c.lds)
            for (const Span& o : other.spans)
                if (o.array == s.array && o.startBlock >= end && o.startBlock < limit)
                    limit = o.startBlock;
        const uint64_t room = limit > end ? limit - end : 0;
        s.blockCount = end - s.startBlock + room * std::min<uint64_t>(percent, 100) / 100;
    }
    ld.sizeBlocks = ldSize(ld);
}

// An operation at its end: what it leaves behind. False when the drive itself is gone.
bool finish(Controller& c, LogicalDrive& ld, const LdProgress& p)
{
    switch (p.operation) {
    case LdOperation::FOREGROUND_INIT:
    case LdOperation::BACKGROUND_INIT:
        ld.initialized = 1;
        break;
    case LdOperation::RECONSTRUCTION:
        if (p.newRaidLevel)
            ld.raidLevel = *p.newRaidLevel;
        if (p.reconstructKind != ReconstructKind::OTHER)
            setMembers(c, ld, p);
        else if (p.expansionPercent != 0)
            expand(c, ld, p.expansionPercent);
        break;
    case LdOperation::SECURE_ERASE:
        if (p.deleteAfter) {
            deleteLogicalDrive(c, ld.targetId);
            return false;
        }
        break;
    case LdOperation::CONSISTENCY_CHECK:
        break;
    }
    return true;
}

} // namespace

void advanceLdOperations(Controller& c, uint64_t seconds)
{
    std::vector<uint8_t> targets;
    for (const LogicalDrive& ld : c.lds)
        targets.push_back(ld.targetId);
    // By target id: a finished operation may delete its drive.
    for (uint8_t target : targets) {
        auto at = std::find_if(c.lds.begin(), c.lds.end(), [target](const LogicalDrive& l) { return l.targetId == target; });
        if (at == c.lds.end())
            continue;
        std::vector<LdProgress> finished;
        for (LdProgress& p : at->progress) {
            if (p.suspended)
                continue;
            const uint64_t done = p.progress + static_cast<uint64_t>(p.rate) * seconds;
            p.progress = static_cast<uint16_t>(std::min<uint64_t>(done, FULL_PROGRESS));
            p.elapsed = static_cast<uint16_t>(std::min<uint64_t>(p.elapsed + seconds, 0xFFFF));
            if (done >= FULL_PROGRESS)
                finished.push_back(p);
        }
        LogicalDrive& ld = *at;
        for (const LdProgress& p : finished) {
            removeOperation(ld, p.operation);
            if (!finish(c, ld, p))
                break;
        }
    }
}

} // namespace sim
