#include "Simulator/Description/SimDescription.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "Simulator/Description/SimDescriptionFormat.h"
#include "Simulator/Firmware/SimFirmware.h"

namespace sim {
namespace description {

std::string hexText(uint64_t v)
{
    char buf[24];
    snprintf(buf, sizeof buf, "0x%llx", static_cast<unsigned long long>(v));
    return buf;
}

// What a value is, for messages: `the string "x"`, `an array`, ...
std::string describe(const Json& v)
{
    if (v.is_string())
        return "the string " + quoted(v.get_ref<const std::string&>());
    if (v.is_number())
        return "the number " + v.dump();
    if (v.is_boolean())
        return v.get<bool>() ? "true" : "false";
    if (v.is_array())
        return "an array";
    if (v.is_object())
        return "an object";
    return "null";
}

// A whole number written as a JSON integer or as a string: "123", "0x7b", "-5". Decimal
// unless "0x" says otherwise (a leading zero is not octal).
bool numberOf(const Json& v, bool& negative, uint64_t& magnitude)
{
    negative = false;
    if (v.is_number_unsigned()) {
        magnitude = v.get<uint64_t>();
        return true;
    }
    if (v.is_number_integer()) {
        int64_t s = v.get<int64_t>();
        negative = s < 0;
        magnitude = negative ? 0 - static_cast<uint64_t>(s) : static_cast<uint64_t>(s);
        return true;
    }
    if (!v.is_string())
        return false;
    const std::string& t = v.get_ref<const std::string&>();
    size_t at = 0;
    if (!t.empty() && t[0] == '-') {
        negative = true;
        at = 1;
    }
    int base = 10;
    if (t.size() > at + 2 && t[at] == '0' && (t[at + 1] == 'x' || t[at + 1] == 'X')) {
        base = 16;
        at += 2;
    }
    if (at >= t.size() || !isxdigit(static_cast<unsigned char>(t[at])))
        return false;
    errno = 0;
    char* end = nullptr;
    magnitude = strtoull(t.c_str() + at, &end, base);
    return errno == 0 && end && *end == '\0';
}

// Parses JSON text; false with the position of the first fault in `error`.
bool parseJson(const char* text, size_t size, Json& out, std::string& error)
{
    try {
        out = Json::parse(text, text + size);
    } catch (const Json::exception& e) {
        // "[json.exception.parse_error.101] parse error at line 3, column 1: ..." without
        // the library's bracketed id.
        const char* what = e.what();
        const char* close = strstr(what, "] ");
        error = close ? close + 2 : what;
        return false;
    }
    return true;
}

// The longest kernel release a description gives, as uname holds it.
const size_t RELEASE_LENGTH = 64;

template <class V>
void visit(V& v, PciLocation& p)
{
    v.num("domain", p.domain);
    v.num("bus", p.bus);
    v.num("device", p.device, PLAIN, 0, 31);
    v.num("function", p.function, PLAIN, 0, 7);
}

template <class V>
void visit(V& v, Driver& d)
{
    v.num("kind", d.kind, PLAIN, DRIVER_KIND_SAS, DRIVER_KIND_SWR);
    v.text("name", d.name, ATTRIBUTE_LENGTH);
    v.num("major", d.major, PLAIN, 1, 4095);
}

template <class V>
void visit(V& v, OtherHost& h)
{
    v.num("host", h.host, REQUIRED);
    v.text("procName", h.procName, ATTRIBUTE_LENGTH);
    v.object("pci", h.pci);
    v.flag("sysfsLinkedClass", h.sysfsLinkedClass);
}

SIM_DESCRIPTION_PART(PciLocation);

// The longest host file text a description gives.
const size_t HOST_TEXT_LENGTH = 255;
// The longest /proc/meminfo or /proc/cpuinfo text a description gives.
const size_t HOST_FILE_LENGTH = 65536;

template <class V>
void visit(V& v, HostModel& h)
{
    v.num("format", h.format, ALWAYS, 1, 1);
    v.text("kernelRelease", h.kernelRelease, RELEASE_LENGTH);
    v.text("procVersion", h.procVersion, HOST_TEXT_LENGTH);
    v.text("driverVersionFile", h.driverVersionFile, HOST_TEXT_LENGTH);
    v.text("procMeminfo", h.procMeminfo, HOST_FILE_LENGTH);
    v.text("procCpuinfo", h.procCpuinfo, HOST_FILE_LENGTH);
    v.num("hostTime", h.hostTime);
    v.num("clock", h.clock);
    v.flag("sysfsLinkedClass", h.sysfsLinkedClass);
    v.list("drivers", h.drivers);
    v.list("otherHosts", h.otherHosts);
    v.list("controllers", h.controllers);
    v.list("faults", h.faults);
    v.object("ir2Library", h.ir2Library);
    v.list("fileFaults", h.fileFaults);
}

} // namespace description

using namespace description;

namespace {

// ---------------------------------------------------------------------------------------------
// Checks across entries, once every value has been read.

template <typename T, typename Key>
void checkUnique(Reader& r, const std::vector<T>& items, const std::string& path, const char* name, Key key)
{
    for (size_t i = 0; i < items.size() && r.ok(); ++i)
        for (size_t j = 0; j < i; ++j)
            if (key(items[i]) == key(items[j])) {
                r.fail(path + "[" + std::to_string(i) + "]." + name + ": " + std::to_string(key(items[i])) +
                       " is already " + path + "[" + std::to_string(j) + "]'s");
                return;
            }
}

void checkHost(Reader& r, const HostModel& h)
{
    // One controller per SCSI host of a driver.
    for (size_t i = 0; i < h.controllers.size() && r.ok(); ++i)
        for (size_t j = 0; j < i; ++j)
            if (h.controllers[i].host == h.controllers[j].host &&
                h.controllers[i].driverKind == h.controllers[j].driverKind) {
                r.fail("controllers[" + std::to_string(i) + "].host: " + std::to_string(h.controllers[i].host) +
                       " is already controllers[" + std::to_string(j) + "]'s");
                break;
            }
    for (size_t i = 0; i < h.controllers.size() && r.ok(); ++i) {
        const Controller& c = h.controllers[i];
        const std::string at = "controllers[" + std::to_string(i) + "]";
        checkUnique(r, c.enclosures, at + ".enclosures", "deviceId", [](const Enclosure& e) { return e.deviceId; });
        checkUnique(r, c.drives, at + ".drives", "deviceId", [](const Drive& d) { return d.deviceId; });
        checkUnique(r, c.lds, at + ".lds", "targetId", [](const LogicalDrive& l) { return l.targetId; });
        checkUnique(r, c.arrays, at + ".arrays", "ref", [](const Array& a) { return a.ref; });
        checkUnique(r, c.spares, at + ".spares", "deviceId", [](const Spare& s) { return s.deviceId; });
    }
    for (size_t i = 0; i < h.faults.size() && r.ok(); ++i) {
        std::string problem = checkFault(h.faults[i]);
        if (!problem.empty())
            r.fail("faults[" + std::to_string(i) + "]: " + problem);
    }
    for (size_t i = 0; i < h.fileFaults.size() && r.ok(); ++i)
        if (h.fileFaults[i].path.empty())
            r.fail("fileFaults[" + std::to_string(i) + "].path: a file fault names its file");
}

// Whether a value holds no object: it is printed on one line.
bool isFlat(const Json& v)
{
    if (v.is_object())
        return false;
    if (v.is_array())
        for (const Json& e : v)
            if (!isFlat(e) || e.is_array())
                return false;
    return true;
}

// Indented JSON whose innermost objects (a drive, a PCI location) and number lists take one
// line each: a description reads as a list of things.
void print(const Json& v, int depth, std::string& out)
{
    const auto dump = [](const Json& x) { return x.dump(-1, ' ', false, Json::error_handler_t::replace); };
    const bool object = v.is_object();
    if (!(object || v.is_array()) || v.empty()) {
        out += dump(v);
        return;
    }
    bool oneLine = true;
    for (const Json& e : v)
        oneLine = oneLine && isFlat(e);
    const std::string indent(2 * static_cast<size_t>(depth + 1), ' ');
    out += object ? "{" : "[";
    bool first = true;
    for (auto it = v.begin(); it != v.end(); ++it) {
        out += first ? "" : ",";
        out += oneLine ? (first ? "" : " ") : "\n" + indent;
        if (object)
            out += dump(it.key()) + ": ";
        print(it.value(), depth + 1, out);
        first = false;
    }
    out += oneLine ? "" : "\n" + std::string(2 * static_cast<size_t>(depth), ' ');
    out += object ? "}" : "]";
}

} // namespace

bool readDescription(const char* text, size_t size, HostModel& out, std::string& error)
{
    error.clear();
    Json doc;
    if (!parseJson(text, size, doc, error))
        return false;
    if (!doc.is_object()) {
        error = "expected a JSON object at the top, found " + describe(doc);
        return false;
    }
    out = HostModel();
    Reader r(doc, error);
    visit(r, out);
    r.finish<HostModel>();
    if (r.ok())
        checkHost(r, out);
    return r.ok();
}

bool readDescription(const std::string& text, HostModel& out, std::string& error)
{
    return readDescription(text.data(), text.size(), out, error);
}

std::string writeDescription(const HostModel& model)
{
    std::string out;
    print(sparse(model), 0, out);
    return out + "\n";
}

} // namespace sim
