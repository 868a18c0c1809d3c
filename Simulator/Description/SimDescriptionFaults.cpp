// The host description's faults and file faults, and one fault read on its own.
#include "Simulator/Description/SimDescription.h"

#include "Simulator/Description/SimDescriptionFormat.h"
#include "Simulator/Firmware/SimFirmware.h"

namespace sim {
namespace description {

const std::vector<std::pair<const char*, FaultType>> FAULT_TYPES = {
    {"ioctl", FaultType::IOCTL}, {"status", FaultType::STATUS}, {"short", FaultType::SHORT},
    {"corrupt", FaultType::CORRUPT}, {"missing-driver", FaultType::MISSING_DRIVER},
};
const std::vector<std::pair<const char*, FaultMode>> FAULT_MODES = {
    {"always", FaultMode::ALWAYS}, {"once", FaultMode::ONCE}, {"times", FaultMode::TIMES}, {"from", FaultMode::FROM},
};

const std::vector<std::pair<const char*, FileFailure>> FILE_FAILURES = {
    {"write", FileFailure::WRITE}, {"close", FileFailure::CLOSE},
};
const std::vector<std::pair<const char*, FileError>> FILE_ERRORS = {
    {"no-space", FileError::NO_SPACE}, {"io", FileError::IO},
};

template <class V>
void visit(V& v, Fault& f)
{
    v.choice("type", f.type, FAULT_TYPES, REQUIRED);
    v.num("opcode", f.opcode, HEX);
    v.num("host", f.host);
    v.num("driverKind", f.driverKind, PLAIN, DRIVER_KIND_SAS, DRIVER_KIND_SWR);
    v.patch("mailbox", f.mailbox, FAULT_MAILBOX_SIZE);
    v.num("return", f.returnValue);
    v.num("errno", f.errnoValue, PLAIN, 0, 4095);
    v.num("status", f.status, HEX);
    v.num("bytes", f.bytes);
    v.num("offset", f.offset);
    v.hex("data", f.data, 65536);
    v.choice("mode", f.mode, FAULT_MODES);
    v.num("count", f.count);
    v.num("seen", f.seen);
}

// The longest file name a file fault names.
const size_t FILE_PATH_LENGTH = 4095;

template <class V>
void visit(V& v, FileFault& f)
{
    v.text("path", f.path, FILE_PATH_LENGTH);
    v.choice("fail", f.fail, FILE_FAILURES);
    v.choice("error", f.error, FILE_ERRORS);
}

SIM_DESCRIPTION_PART(Fault);
SIM_DESCRIPTION_PART(FileFault);

} // namespace description

using namespace description;

bool readFault(const std::string& text, Fault& out, std::string& error)
{
    error.clear();
    Json doc;
    if (!parseJson(text.data(), text.size(), doc, error))
        return false;
    if (!doc.is_object()) {
        error = "a fault is a JSON object, not " + describe(doc);
        return false;
    }
    out = Fault();
    Reader r(doc, error);
    visit(r, out);
    r.finish<Fault>();
    if (r.ok()) {
        std::string problem = checkFault(out);
        if (!problem.empty())
            r.fail(problem);
    }
    return r.ok();
}

std::string checkFault(const Fault& f)
{
    if (f.type == FaultType::STATUS && !f.status)
        return "a status fault needs \"status\"";
    if (f.type == FaultType::SHORT && !f.bytes)
        return "a short fault needs \"bytes\"";
    if (f.type == FaultType::CORRUPT && f.data.empty())
        return "a corrupt fault needs \"data\" (hex bytes)";
    if ((f.mode == FaultMode::TIMES || f.mode == FaultMode::FROM) && f.count == 0)
        return std::string("mode \"") + (f.mode == FaultMode::TIMES ? "times" : "from") +
               "\" needs a count of at least 1";
    return "";
}

} // namespace sim
