#include "Simulator/Firmware/SimFirmware.h"

#include <algorithm>
#include <cstring>

#include "Simulator/SimState.h"

namespace sim {

namespace {

// Frame offsets of the codes the handler table is keyed by.
const size_t FRM_OPCODE = 24;     // controller and driver commands
const size_t FRM_CDB = 32;        // SCSI pass-through: the CDB's operation code
const size_t FRM_CDB_LENGTH = 6;  // SCSI pass-through: the CDB's length (at most 16 are carried)
const size_t FRM_TARGET = 4;      // SCSI pass-through: the target (a drive's device id, low 8 bits)
const size_t FRM_FIS = 24;        // SATA pass-through: the FIS, command in its byte 2
const size_t FIS_SIZE = 20;
const uint32_t DRIVER_OPCODE_TOP = 0xF0;   // driver commands: opcodes 0xF0xxxxxx

bool before(const FwHandlerSpec& a, FrameKind kind, uint32_t code)
{
    return a.kind < kind || (a.kind == kind && a.code < code);
}

DataDir directionOf(uint16_t flags)
{
    const bool in = flags & FRAME_DIR_WRITE, out = flags & FRAME_DIR_READ;
    return in && out ? DataDir::BOTH : in ? DataDir::WRITE : out ? DataDir::READ : DataDir::NONE;
}

} // namespace

const char* frameKindName(FrameKind kind)
{
    switch (kind) {
    case FrameKind::DCMD: return "DCMD";
    case FrameKind::DRIVER: return "driver";
    case FrameKind::DCDB: return "DCDB";
    case FrameKind::STP: return "STP";
    }
    return "?";
}

FwHandlerSpec fwRead(uint32_t opcode, uint32_t size, FwHandler handler, FrameKind kind)
{
    return FwHandlerSpec{kind, opcode, DataDir::READ, size, handler};
}

FwHandlerSpec fwWrite(uint32_t opcode, uint32_t size, FwHandler handler, FrameKind kind)
{
    return FwHandlerSpec{kind, opcode, DataDir::WRITE, size, handler};
}

FwHandlerSpec fwBoth(uint32_t opcode, uint32_t size, FwHandler handler, FrameKind kind)
{
    return FwHandlerSpec{kind, opcode, DataDir::BOTH, size, handler};
}

FwHandlerSpec fwNoData(uint32_t opcode, FwHandler handler, FrameKind kind)
{
    return FwHandlerSpec{kind, opcode, DataDir::NONE, 0, handler};
}

FwHandlerTable& FwHandlerTable::instance()
{
    static FwHandlerTable table;
    return table;
}

bool FwHandlerTable::add(const FwHandlerSpec& spec)
{
    auto at = std::lower_bound(specs_.begin(), specs_.end(), spec,
                               [](const FwHandlerSpec& a, const FwHandlerSpec& b) { return before(a, b.kind, b.code); });
    if (at != specs_.end() && at->kind == spec.kind && at->code == spec.code) {
        refused_.push_back(spec);
        return false;
    }
    specs_.insert(at, spec);
    return true;
}

const FwHandlerSpec* FwHandlerTable::find(FrameKind kind, uint32_t code) const
{
    auto at = std::lower_bound(specs_.begin(), specs_.end(), code,
                               [kind](const FwHandlerSpec& a, uint32_t c) { return before(a, kind, c); });
    return (at != specs_.end() && at->kind == kind && at->code == code) ? &*at : nullptr;
}

FwRegistration::FwRegistration(std::initializer_list<FwHandlerSpec> specs)
{
    for (const FwHandlerSpec& s : specs)
        FwHandlerTable::instance().add(s);
}

bool SimFirmware::classify(SimCommand& cmd, const uint8_t* frame, size_t frameSize)
{
    switch (cmd.frameCommand) {
    case FRAME_DCMD:
        cmd.code = static_cast<uint32_t>(getN(frame, frameSize, FRM_OPCODE, 4));
        cmd.kind = (cmd.code >> 24) == DRIVER_OPCODE_TOP ? FrameKind::DRIVER : FrameKind::DCMD;
        return true;
    case FRAME_LD_SCSI_IO:
    case FRAME_PD_SCSI_IO:
        cmd.kind = FrameKind::DCDB;
        cmd.code = static_cast<uint32_t>(getN(frame, frameSize, FRM_CDB, 1));
        cmd.target = static_cast<uint8_t>(getN(frame, frameSize, FRM_TARGET, 1));
        for (size_t i = 0; i < sizeof cmd.cdb; ++i)
            cmd.cdb[i] = static_cast<uint8_t>(getN(frame, frameSize, FRM_CDB + i, 1));
        cmd.block.assign(cmd.cdb, cmd.cdb + std::min<size_t>(getN(frame, frameSize, FRM_CDB_LENGTH, 1), sizeof cmd.cdb));
        return true;
    case FRAME_STP:
        cmd.kind = FrameKind::STP;
        cmd.code = static_cast<uint32_t>(getN(frame, frameSize, FRM_FIS + 2, 1));
        for (size_t i = 0; i < FIS_SIZE; ++i)
            cmd.block.push_back(static_cast<uint8_t>(getN(frame, frameSize, FRM_FIS + i, 1)));
        return true;
    default:
        return false;
    }
}

uint8_t SimFirmware::execute(SimState& state, Controller& controller, SimCommand& cmd)
{
    const FwHandlerSpec* spec = FwHandlerTable::instance().find(cmd.kind, cmd.code);
    if (spec && cmd.kind == FrameKind::DCDB && directionOf(cmd.flags) == DataDir::WRITE && spec->dir != DataDir::WRITE) {
        const FwHandlerSpec* writing = FwHandlerTable::instance().find(cmd.kind, cmd.code | DCDB_WRITE_FORM);
        spec = writing ? writing : spec;
    }
    if (!spec)
        return FW_STATUS_INVALID_COMMAND;
    if (directionOf(cmd.flags) != spec->dir) {
        cmd.note = "refused=direction";
        return FW_STATUS_INVALID_ARGUMENT;
    }
    const bool carriesData = spec->dir == DataDir::WRITE || spec->dir == DataDir::BOTH;
    if (carriesData && cmd.frameLength < spec->recordSize) {
        cmd.note = "refused=length";
        return FW_STATUS_INVALID_ARGUMENT;
    }
    // Drive operations that the firmware runs move on with the clock before any command sees them.
    advanceDriveOperations(state, controller);
    return spec->handler(state, controller, cmd);
}

uint8_t fwReply(SimCommand& cmd, const Bytes& record)
{
    size_t n = std::min(cmd.data.size(), record.size());
    if (n > 0)
        memcpy(cmd.data.data(), record.data(), n);
    cmd.data.resize(n);
    cmd.dataReturned = true;
    return FW_STATUS_OK;
}

void applyPatch(Bytes& record, const Patch& patch)
{
    for (const auto& p : patch)
        putBytes(record, p.first, p.second);
}

} // namespace sim

namespace sim {

void markStateChanged(SimState& state)
{
    state.markChanged();
}

Patch patchOfDifferences(const Bytes& wanted, const Bytes& built)
{
    Patch patch;
    size_t i = 0;
    const size_t n = std::min(wanted.size(), built.size());
    while (i < n) {
        if (wanted[i] == built[i]) {
            ++i;
            continue;
        }
        const size_t start = i;
        Bytes run;
        while (i < n && wanted[i] != built[i])
            run.push_back(wanted[i++]);
        patch[static_cast<uint32_t>(start)] = run;
    }
    return patch;
}

} // namespace sim
