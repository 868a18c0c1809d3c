#include "Simulator/SimFaults.h"

#include <cerrno>

namespace sim {

bool SimFaults::matches(const Json& f, const char* type, const FaultTarget& t) const
{
    if (getS(f, "type") != type)
        return false;
    if (f.contains("opcode") && (!t.hasOpcode || getU(f, "opcode", 0) != t.opcode))
        return false;
    if (f.contains("host") && getU(f, "host", 0) != t.host)
        return false;
    if (f.contains("driverKind") && getI(f, "driverKind", 0) != t.driverKind)
        return false;
    return true;
}

bool SimFaults::fires(Json& f)
{
    uint64_t seen = getU(f, "seen", 0) + 1;
    f["seen"] = seen;
    state_.markChanged();
    std::string mode = getS(f, "mode", "always");
    uint64_t count = getU(f, "count", 1);
    if (mode == "once")
        return seen == 1;
    if (mode == "times")
        return seen <= count;
    if (mode == "from")
        return seen >= count;
    return true;
}

Json* SimFaults::firstFiring(const char* type, const FaultTarget& t)
{
    Json* faults = getArray(state_.doc(), "faults");
    if (!faults)
        return nullptr;
    Json* fired = nullptr;
    for (Json& f : *faults) {
        if (matches(f, type, t) && fires(f) && !fired)
            fired = &f;
    }
    return fired;
}

bool SimFaults::ioctlFault(const FaultTarget& t, int& rc, int& err)
{
    Json* f = firstFiring("ioctl", t);
    if (!f)
        return false;
    rc = static_cast<int>(getI(*f, "return", -1));
    err = static_cast<int>(getI(*f, "errno", rc == -1 ? EIO : 0));
    return true;
}

bool SimFaults::statusFault(const FaultTarget& t, uint8_t& status)
{
    Json* f = firstFiring("status", t);
    if (!f)
        return false;
    status = static_cast<uint8_t>(getU(*f, "status", 1));
    return true;
}

void SimFaults::applyRecordFaults(const FaultTarget& t, Bytes& data)
{
    Json* faults = getArray(state_.doc(), "faults");
    if (!faults)
        return;
    for (Json& f : *faults) {
        if (matches(f, "short", t) && fires(f)) {
            uint64_t keep = getU(f, "bytes", 0);
            for (size_t i = keep < data.size() ? static_cast<size_t>(keep) : data.size(); i < data.size(); ++i)
                data[i] = 0;
        } else if (matches(f, "corrupt", t) && fires(f)) {
            Bytes patch;
            if (parseHex(getS(f, "data"), patch))
                putBytes(data, static_cast<size_t>(getU(f, "offset", 0)), patch);
        }
    }
}

bool SimFaults::driverMissing(int driverKind) const
{
    const Json* faults = getArray(state_.doc(), "faults");
    if (!faults)
        return false;
    for (const Json& f : *faults)
        if (getS(f, "type") == "missing-driver" &&
            (!f.contains("driverKind") || getI(f, "driverKind", 0) == driverKind))
            return true;
    return false;
}

std::string SimFaults::validate(const Json& f)
{
    if (!f.is_object())
        return "a fault is a JSON object";
    std::string type = getS(f, "type");
    if (type != "ioctl" && type != "status" && type != "short" && type != "corrupt" &&
        type != "missing-driver")
        return "unknown fault type \"" + type + "\"";
    uint64_t v = 0;
    for (const char* key : {"opcode", "host", "status", "bytes", "offset", "count"})
        if (f.contains(key) && !toU64(f[key], v))
            return std::string("\"") + key + "\" is not a number";
    if (f.contains("opcode") && getU(f, "opcode", 0) > 0xFFFFFFFFull)
        return "an opcode is 32 bits";
    if (f.contains("status") && getU(f, "status", 0) > 0xFF)
        return "a firmware status is one byte";
    std::string mode = getS(f, "mode", "always");
    if (mode != "always" && mode != "once" && mode != "times" && mode != "from")
        return "unknown mode \"" + mode + "\"";
    if ((mode == "times" || mode == "from") && getU(f, "count", 0) == 0)
        return "mode \"" + mode + "\" needs a count of at least 1";
    Bytes patch;
    if (type == "corrupt" && (!parseHex(getS(f, "data"), patch) || patch.empty()))
        return "\"data\" must be hex bytes";
    if (type == "status" && !f.contains("status"))
        return "a status fault needs \"status\"";
    if (type == "short" && !f.contains("bytes"))
        return "a short fault needs \"bytes\"";
    return "";
}

} // namespace sim
