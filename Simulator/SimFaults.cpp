#include "Simulator/SimFaults.h"

#include <algorithm>
#include <cerrno>

namespace sim {

bool SimFaults::matches(const Fault& f, FaultType type, const FaultTarget& t)
{
    if (f.type != type)
        return false;
    if (f.opcode && (!t.hasOpcode || *f.opcode != t.opcode))
        return false;
    if (f.host && *f.host != t.host)
        return false;
    if (f.driverKind && *f.driverKind != t.driverKind)
        return false;
    return mailboxMatches(f, t);
}

bool SimFaults::mailboxMatches(const Fault& f, const FaultTarget& t)
{
    if (!f.mailbox.empty() && !t.hasMailbox)
        return false;
    for (const auto& run : f.mailbox)
        for (size_t i = 0; i < run.second.size(); ++i) {
            const size_t at = run.first + i;
            if (at >= FAULT_MAILBOX_SIZE || ((t.mailbox[at / 4] >> (8 * (at % 4))) & 0xFF) != run.second[i])
                return false;
        }
    return true;
}

bool SimFaults::fires(Fault& f)
{
    if (f.mode == FaultMode::ALWAYS)
        return true;   // nothing to count: the state stays unchanged
    ++f.seen;
    state_.markChanged();
    switch (f.mode) {
    case FaultMode::ONCE: return f.seen == 1;
    case FaultMode::TIMES: return f.seen <= f.count;
    case FaultMode::FROM: return f.seen >= f.count;
    default: return true;
    }
}

Fault* SimFaults::firstFiring(FaultType type, const FaultTarget& t)
{
    Fault* fired = nullptr;
    for (Fault& f : state_.model().faults)
        if (matches(f, type, t) && fires(f) && !fired)
            fired = &f;
    return fired;
}

bool SimFaults::ioctlFault(const FaultTarget& t, int& rc, int& err)
{
    Fault* f = firstFiring(FaultType::IOCTL, t);
    if (!f)
        return false;
    rc = f->returnValue;
    err = f->errnoValue.value_or(rc == -1 ? EIO : 0);
    return true;
}

bool SimFaults::statusFault(const FaultTarget& t, uint8_t& status)
{
    Fault* f = firstFiring(FaultType::STATUS, t);
    if (!f)
        return false;
    status = f->status.value_or(1);
    return true;
}

void SimFaults::applyRecordFaults(const FaultTarget& t, Bytes& data)
{
    for (Fault& f : state_.model().faults) {
        if (matches(f, FaultType::SHORT, t) && fires(f)) {
            size_t keep = std::min<size_t>(f.bytes.value_or(0), data.size());
            std::fill(data.begin() + static_cast<std::ptrdiff_t>(keep), data.end(), 0);
        } else if (matches(f, FaultType::CORRUPT, t) && fires(f)) {
            putBytes(data, f.offset, f.data);
        }
    }
}

bool SimFaults::driverMissing(int driverKind) const
{
    for (const Fault& f : state_.model().faults)
        if (f.type == FaultType::MISSING_DRIVER && (!f.driverKind || *f.driverKind == driverKind))
            return true;
    return false;
}

} // namespace sim
