#include "Simulator/SimDescription.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <utility>

#include <nlohmann/json.hpp>

#include "Simulator/SimFirmware.h"

namespace sim {

namespace {

// Keys keep the order in which the visit functions below name them.
typedef nlohmann::ordered_json Json;

// Field flags.
const unsigned PLAIN = 0;
const unsigned HEX = 1;        // written as a "0x..." string (read in either form)
const unsigned REQUIRED = 2;   // must be given; always written
const unsigned ALWAYS = 4;     // always written, even at its default

const size_t NO_LIMIT = std::numeric_limits<size_t>::max();

std::string hexText(uint64_t v)
{
    char buf[24];
    snprintf(buf, sizeof buf, "0x%llx", static_cast<unsigned long long>(v));
    return buf;
}

// An object's members in their order (the ordered map is a vector of them).
typedef std::vector<Json::object_t::value_type> Members;
const Members& membersOf(const Json& obj) { return static_cast<const Members&>(obj.get_ref<const Json::object_t&>()); }

std::string quoted(const std::string& s) { return "\"" + s + "\""; }

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

// The keys a visit function names (to find the one of an object that it does not).
struct KeyLister {
    std::vector<const char*> keys;
    template <typename... Rest>
    void num(const char* key, Rest&&...) { keys.push_back(key); }
    template <typename... Rest>
    void flag(const char* key, Rest&&...) { keys.push_back(key); }
    template <typename F>
    void text(const char* key, F&, size_t = 0, std::initializer_list<const char*> = {}) { keys.push_back(key); }
    template <typename... Rest>
    void choice(const char* key, Rest&&...) { keys.push_back(key); }
    template <typename... Rest>
    void hex(const char* key, Rest&&...) { keys.push_back(key); }
    template <typename... Rest>
    void patch(const char* key, Rest&&...) { keys.push_back(key); }
    template <typename... Rest>
    void object(const char* key, Rest&&...) { keys.push_back(key); }
    template <typename... Rest>
    void list(const char* key, Rest&&...) { keys.push_back(key); }
    template <typename... Rest>
    void numbers(const char* key, Rest&&...) { keys.push_back(key); }
};

// ---------------------------------------------------------------------------------------------
// Reading: each method takes one key of the object, checks it and stores it in the model.
// After the first refusal every call does nothing; `error` holds the message.

class Reader {
public:
    // The top object, and an object inside another (at parent.key, or parent.key[index]).
    Reader(const Json& obj, std::string& error) : obj_(obj), error_(error) {}
    Reader(const Json& obj, const Reader& parent, const char* key, long index = -1)
        : obj_(obj), error_(parent.error_), parent_(&parent), key_(key), index_(index)
    {
    }

    template <typename T>
    void num(const char* key, T& field, unsigned flags = PLAIN,
             int64_t lo = static_cast<int64_t>(std::numeric_limits<T>::min()),
             uint64_t hi = static_cast<uint64_t>(std::numeric_limits<T>::max()))
    {
        if (const Json* v = take(key, flags))
            readNumber(*v, key, -1, field, flags, lo, hi);
    }

    template <typename T>
    void num(const char* key, std::optional<T>& field, unsigned flags = PLAIN,
             int64_t lo = static_cast<int64_t>(std::numeric_limits<T>::min()),
             uint64_t hi = static_cast<uint64_t>(std::numeric_limits<T>::max()))
    {
        T value{};
        if (const Json* v = take(key, flags))
            if (readNumber(*v, key, -1, value, flags, lo, hi))
                field = value;
    }

    void flag(const char* key, bool& field)
    {
        if (const Json* v = take(key, PLAIN)) {
            if (v->is_boolean())
                field = v->get<bool>();
            else
                fail(at(key) + ": expected true or false, found " + describe(*v));
        }
    }

    void flag(const char* key, std::optional<bool>& field)
    {
        bool value = false;
        if (has(key)) {
            flag(key, value);
            field = value;
        }
    }

    // A text of at most maxLength characters; one of `allowed` when that is not empty.
    void text(const char* key, std::string& field, size_t maxLength = NO_LIMIT,
              std::initializer_list<const char*> allowed = {})
    {
        const Json* v = take(key, PLAIN);
        if (!v)
            return;
        if (!v->is_string()) {
            fail(at(key) + ": expected a string, found " + describe(*v));
            return;
        }
        const std::string& s = v->get_ref<const std::string&>();
        if (s.size() > maxLength) {
            fail(at(key) + ": " + quoted(s) + " is longer than " + std::to_string(maxLength) + " characters");
            return;
        }
        bool listed = allowed.size() == 0;
        for (const char* a : allowed)
            listed = listed || s == a;
        if (!listed) {
            std::string names;
            for (const char* a : allowed)
                names += (names.empty() ? "" : ", ") + quoted(a);
            fail(at(key) + ": " + quoted(s) + " is not one of " + names);
            return;
        }
        field = s;
    }

    void text(const char* key, std::optional<std::string>& field, size_t maxLength = NO_LIMIT)
    {
        std::string value;
        if (has(key)) {
            text(key, value, maxLength);
            field = value;
        }
    }

    template <typename E>
    void choice(const char* key, E& field, const std::vector<std::pair<const char*, E>>& names, unsigned flags = PLAIN)
    {
        const Json* v = take(key, flags);
        if (!v)
            return;
        for (const auto& n : names)
            if (v->is_string() && v->get_ref<const std::string&>() == n.first) {
                field = n.second;
                return;
            }
        std::string list;
        for (const auto& n : names)
            list += (list.empty() ? "" : ", ") + quoted(n.first);
        fail(at(key) + ": " + describe(*v) + " is not one of " + list);
    }

    // Hex digits, two per byte: "5a00ff".
    void hex(const char* key, Bytes& field, size_t maxBytes)
    {
        const Json* v = take(key, PLAIN);
        if (!v)
            return;
        Bytes bytes;
        if (!v->is_string() || !parseHex(v->get_ref<const std::string&>(), bytes)) {
            fail(at(key) + ": expected hex bytes (\"5a00ff\"), found " + describe(*v));
            return;
        }
        if (bytes.size() > maxBytes) {
            fail(at(key) + ": " + std::to_string(bytes.size()) + " bytes are more than the " +
                 std::to_string(maxBytes) + " it holds");
            return;
        }
        field = bytes;
    }

    // {"0x7a4": "81", ...}: bytes by offset, each run within a record of recordSize bytes.
    void patch(const char* key, Patch& field, size_t recordSize)
    {
        const Json* v = take(key, PLAIN);
        if (!v)
            return;
        if (!v->is_object()) {
            fail(at(key) + ": expected an object of offsets and hex bytes, found " + describe(*v));
            return;
        }
        field.clear();
        for (auto it = v->begin(); it != v->end() && ok(); ++it) {
            const std::string where = at(key) + "." + quoted(it.key());   // for messages only
            bool negative = false;
            uint64_t offset = 0;
            Bytes bytes;
            if (!numberOf(Json(it.key()), negative, offset) || negative)
                fail(where + ": the key is not an offset");
            else if (!it->is_string() || !parseHex(it->get_ref<const std::string&>(), bytes) || bytes.empty())
                fail(where + ": expected hex bytes (\"5a00ff\"), found " + describe(*it));
            else if (offset >= recordSize || bytes.size() > recordSize - offset)
                fail(where + ": " + std::to_string(bytes.size()) + " bytes from offset " + hexText(offset) +
                     " run past the record's " + std::to_string(recordSize) + " bytes");
            else
                field[static_cast<uint32_t>(offset)] = bytes;
        }
    }

    template <typename T>
    void object(const char* key, T& field)
    {
        const Json* v = take(key, PLAIN);
        if (!v)
            return;
        if (!v->is_object()) {
            fail(at(key) + ": expected an object, found " + describe(*v));
            return;
        }
        Reader sub(*v, *this, key);
        visit(sub, field);
        sub.finish<T>();
    }

    // A list of objects; it replaces the default list as a whole.
    template <typename T>
    void list(const char* key, std::vector<T>& items, size_t maxItems = NO_LIMIT)
    {
        const Json* v = listOf(key, maxItems);
        if (!v)
            return;
        items.clear();
        items.reserve(v->size());
        for (size_t i = 0; i < v->size() && ok(); ++i) {
            const Json& e = (*v)[i];
            if (!e.is_object()) {
                fail(at(key) + "[" + std::to_string(i) + "]: expected an object, found " + describe(e));
                return;
            }
            items.emplace_back();
            Reader sub(e, *this, key, static_cast<long>(i));
            visit(sub, items.back());
            sub.finish<T>();
        }
    }

    template <typename T>
    void numbers(const char* key, std::vector<T>& items, unsigned flags = PLAIN, size_t maxItems = NO_LIMIT)
    {
        const Json* v = listOf(key, maxItems);
        if (!v)
            return;
        items.clear();
        for (size_t i = 0; i < v->size() && ok(); ++i) {
            T value{};
            if (readNumber((*v)[i], key, static_cast<long>(i), value, flags,
                           static_cast<int64_t>(std::numeric_limits<T>::min()),
                           static_cast<uint64_t>(std::numeric_limits<T>::max())))
                items.push_back(value);
        }
    }

    // Refuses the first key of the object that is not one of T's. Only when the calls above
    // took fewer keys than the object has are T's keys listed.
    template <typename T>
    void finish()
    {
        if (!ok() || taken_ == obj_.size())
            return;
        KeyLister lister;
        T fallback{};
        visit(lister, fallback);
        for (auto it = obj_.begin(); it != obj_.end(); ++it) {
            bool known = false;
            for (const char* k : lister.keys)
                known = known || it.key() == k;
            if (!known) {
                fail(prefix() + "unknown key " + quoted(it.key()));
                return;
            }
        }
    }

    bool ok() const { return error_.empty(); }
    // "controllers[0].pci": spelled out for messages only.
    std::string path() const
    {
        if (!parent_)
            return "";
        std::string up = parent_->path();
        return (up.empty() ? up : up + ".") + key_ + (index_ < 0 ? "" : "[" + std::to_string(index_) + "]");
    }
    void fail(const std::string& message)
    {
        if (ok())
            error_ = message;
    }

private:
    std::string at(const char* key) const
    {
        std::string here = path();
        return here.empty() ? std::string(key) : here + "." + key;
    }
    std::string prefix() const
    {
        std::string here = path();
        return here.empty() ? here : here + ": ";
    }

    bool has(const char* key) { return ok() && find(key); }

    const Json* take(const char* key, unsigned flags)
    {
        if (!ok())
            return nullptr;
        const Json* v = find(key);
        if (!v) {
            if (flags & REQUIRED)
                fail(prefix() + quoted(key) + " is missing");
            return nullptr;
        }
        ++taken_;
        return v;
    }

    // The member named `key`. The visit functions ask for keys in the order a description is
    // written, so the search starts after the member found last; lengths are compared first.
    const Json* find(const char* key)
    {
        const Members& members = membersOf(obj_);
        const size_t length = strlen(key);
        for (size_t n = 0; n < members.size(); ++n) {
            size_t i = (cursor_ + n) % members.size();
            const std::string& name = members[i].first;
            if (name.size() == length && memcmp(name.data(), key, length) == 0) {
                cursor_ = i + 1;
                return &members[i].second;
            }
        }
        return nullptr;
    }

    const Json* listOf(const char* key, size_t maxItems)
    {
        const Json* v = take(key, PLAIN);
        if (!v)
            return nullptr;
        if (!v->is_array()) {
            fail(at(key) + ": expected an array, found " + describe(*v));
            return nullptr;
        }
        if (v->size() > maxItems) {
            fail(at(key) + ": " + std::to_string(v->size()) + " entries are more than the " +
                 std::to_string(maxItems) + " it holds");
            return nullptr;
        }
        return v;
    }

    // Reads obj[key] (or obj[key][index]); the path is spelled out only for a message.
    template <typename T>
    bool readNumber(const Json& v, const char* key, long index, T& field, unsigned flags, int64_t lo, uint64_t hi)
    {
        bool negative = false;
        uint64_t magnitude = 0;
        const auto where = [&]() { return at(key) + (index < 0 ? "" : "[" + std::to_string(index) + "]"); };
        if (!numberOf(v, negative, magnitude)) {
            fail(where() + ": expected a whole number, found " + describe(v));
            return false;
        }
        const bool fits = negative ? (lo < 0 && magnitude <= 0 - static_cast<uint64_t>(lo))
                                   : (magnitude <= hi && (lo <= 0 || magnitude >= static_cast<uint64_t>(lo)));
        if (!fits) {
            std::string shown = (negative ? "-" : "") + ((flags & HEX) ? hexText(magnitude) : std::to_string(magnitude));
            std::string low = (flags & HEX) ? hexText(static_cast<uint64_t>(lo)) : std::to_string(lo);
            std::string high = (flags & HEX) ? hexText(hi) : std::to_string(hi);
            fail(where() + ": " + shown + " is out of range (" + low + ".." + high + ")");
            return false;
        }
        field = negative ? static_cast<T>(0 - static_cast<int64_t>(magnitude - 1) - 1) : static_cast<T>(magnitude);
        return true;
    }

    const Json& obj_;
    std::string& error_;
    const Reader* parent_ = nullptr;
    const char* key_ = nullptr;
    long index_ = -1;
    size_t taken_ = 0;
    size_t cursor_ = 0;
};

// ---------------------------------------------------------------------------------------------
// Writing: the same calls build the JSON object of a model part, leaving out every value equal
// to the one of a default part (`base`), except the REQUIRED and ALWAYS ones.

template <typename T>
Json sparse(const T& part);

class Writer {
public:
    explicit Writer(const Json* base) : base_(base) {}

    Json obj = Json::object();

    template <typename T>
    void num(const char* key, const T& field, unsigned flags = PLAIN, int64_t = 0, uint64_t = 0)
    {
        put(key, number(field, flags), flags);
    }

    template <typename T>
    void num(const char* key, const std::optional<T>& field, unsigned flags = PLAIN, int64_t = 0, uint64_t = 0)
    {
        if (field)
            put(key, number(*field, flags), flags);
    }

    void flag(const char* key, const bool& field) { put(key, field, PLAIN); }
    void flag(const char* key, const std::optional<bool>& field)
    {
        if (field)
            put(key, *field, PLAIN);
    }

    void text(const char* key, const std::string& field, size_t = 0, std::initializer_list<const char*> = {})
    {
        put(key, field, PLAIN);
    }
    void text(const char* key, const std::optional<std::string>& field, size_t = 0)
    {
        if (field)
            put(key, *field, PLAIN);
    }

    template <typename E>
    void choice(const char* key, const E& field, const std::vector<std::pair<const char*, E>>& names, unsigned flags = PLAIN)
    {
        for (const auto& n : names)
            if (n.second == field)
                put(key, n.first, flags);
    }

    void hex(const char* key, const Bytes& field, size_t) { put(key, toHex(field), PLAIN); }

    void patch(const char* key, const Patch& field, size_t)
    {
        Json p = Json::object();
        for (const auto& entry : field)
            p[hexText(entry.first)] = toHex(entry.second);
        put(key, p, PLAIN);
    }

    template <typename T>
    void object(const char* key, const T& field)
    {
        put(key, sparse(field), PLAIN);
    }

    template <typename T>
    void list(const char* key, const std::vector<T>& items, size_t = NO_LIMIT)
    {
        Json a = Json::array();
        for (const T& item : items)
            a.push_back(sparse(item));
        put(key, a, PLAIN);
    }

    template <typename T>
    void numbers(const char* key, const std::vector<T>& items, unsigned flags = PLAIN, size_t = NO_LIMIT)
    {
        Json a = Json::array();
        for (const T& item : items)
            a.push_back(number(item, flags));
        put(key, a, PLAIN);
    }

private:
    template <typename T>
    static Json number(const T& v, unsigned flags)
    {
        if (flags & HEX)
            return hexText(static_cast<uint64_t>(v));
        if (std::numeric_limits<T>::is_signed)
            return static_cast<int64_t>(v);
        return static_cast<uint64_t>(v);
    }

    void put(const char* key, Json value, unsigned flags)
    {
        if (base_ && !(flags & (REQUIRED | ALWAYS))) {
            const Json* d = defaultOf(key);
            if (d && *d == value)
                return;
        }
        // Each key is put once: appended without the map's search for an equal key.
        static_cast<Members&>(obj.get_ref<Json::object_t&>()).emplace_back(key, std::move(value));
    }

    // The default's value of a key. The default was written by the same calls, so the key
    // is usually the one after the last found.
    const Json* defaultOf(const char* key)
    {
        const Members& members = membersOf(*base_);
        for (size_t n = 0; n < members.size(); ++n) {
            size_t i = (cursor_ + n) % members.size();
            if (members[i].first == key) {
                cursor_ = i + 1;
                return &members[i].second;
            }
        }
        return nullptr;
    }

    const Json* base_;
    size_t cursor_ = 0;
};

// ---------------------------------------------------------------------------------------------
// The format: one visit function per model part names its keys, in the order they are written.

const std::vector<std::pair<const char*, FaultType>> FAULT_TYPES = {
    {"ioctl", FaultType::IOCTL}, {"status", FaultType::STATUS}, {"short", FaultType::SHORT},
    {"corrupt", FaultType::CORRUPT}, {"missing-driver", FaultType::MISSING_DRIVER},
};
const std::vector<std::pair<const char*, DriveOperation>> DRIVE_OPERATIONS = {
    {"rebuild", DriveOperation::REBUILD}, {"patrolRead", DriveOperation::PATROL_READ},
    {"clear", DriveOperation::CLEAR}, {"copyback", DriveOperation::COPYBACK},
    {"secureErase", DriveOperation::SECURE_ERASE},
};
const std::vector<std::pair<const char*, LdOperation>> LD_OPERATIONS = {
    {"consistencyCheck", LdOperation::CONSISTENCY_CHECK}, {"backgroundInit", LdOperation::BACKGROUND_INIT},
    {"foregroundInit", LdOperation::FOREGROUND_INIT}, {"reconstruction", LdOperation::RECONSTRUCTION},
    {"secureErase", LdOperation::SECURE_ERASE},
};
const std::vector<std::pair<const char*, ReconstructKind>> RECONSTRUCT_KINDS = {
    {"other", ReconstructKind::OTHER}, {"add", ReconstructKind::ADD}, {"remove", ReconstructKind::REMOVE},
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

// Longest texts: the record fields less their terminating NUL, a kernel release as uname
// holds it, a sysfs attribute.
const size_t RELEASE_LENGTH = 64;
const size_t ATTRIBUTE_LENGTH = 255;

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

template <class V>
void visit(V& v, ImageInfo& i)
{
    v.text("name", i.name, 7);
    v.text("version", i.version, 31);
    v.text("buildTime", i.buildTime, 31);
}

template <class V>
void visit(V& v, ControllerInfo& i)
{
    v.num("vendorId", i.vendorId, HEX);
    v.num("deviceId", i.deviceId, HEX);
    v.num("subVendorId", i.subVendorId, HEX);
    v.num("subDeviceId", i.subDeviceId, HEX);
    v.num("controllerId", i.controllerId);
    v.num("hostInterface", i.hostInterface, HEX);
    v.num("deviceInterface", i.deviceInterface, HEX);
    v.num("sasAddress", i.sasAddress, HEX);
    v.num("backendPorts", i.backendPorts, PLAIN, 0, 16);
    v.list("images", i.images, 8);
    v.num("maxArms", i.maxArms);
    v.num("maxSpans", i.maxSpans);
    v.num("maxArrays", i.maxArrays);
    v.num("maxVirtualDrives", i.maxVirtualDrives);
    v.text("productName", i.productName, 79);
    v.text("serialNumber", i.serialNumber, 31);
    v.num("devicesPresent", i.devicesPresent, HEX);
    v.num("memoryMB", i.memoryMB);
    v.num("raidLevels", i.raidLevels, HEX);
    v.num("adapterOperations", i.adapterOperations, HEX);
    v.num("raidFeatures", i.raidFeatures, HEX);
    v.num("ldOperations", i.ldOperations, HEX);
    v.num("minStripExponent", i.minStripExponent);
    v.num("maxStripExponent", i.maxStripExponent);
    v.num("forwardCompatibility", i.forwardCompatibility);
    v.num("backwardCompatibility", i.backwardCompatibility);
    v.text("packageBuild", i.packageBuild, 95);
    v.text("driverVersion", i.driverVersion, 31);
    v.num("maxVdsPerArray", i.maxVdsPerArray);
    v.num("sensorsPresent", i.sensorsPresent, HEX);
    v.num("raidLevelOptions", i.raidLevelOptions, HEX);
    v.num("reportingFeatures", i.reportingFeatures, HEX);
    v.num("storageFeatures", i.storageFeatures, HEX);
    v.num("ldFeatures", i.ldFeatures, HEX);
    v.num("sscFeatures", i.sscFeatures, HEX);
    v.num("pdOperations", i.pdOperations, HEX);
    v.num("powerFeatures", i.powerFeatures, HEX);
    v.num("driveMixing", i.driveMixing, HEX);
    v.num("eccBucketCount", i.eccBucketCount);
    v.num("securityState", i.securityState, HEX);
    v.num("sscAndBootState", i.sscAndBootState, HEX);
    v.object("driveLimits", i.driveLimits);
    v.num("keyManagementState", i.keyManagementState);
    v.num("maxSscSizeGB", i.maxSscSizeGB);
    v.num("sscSizeGB", i.sscSizeGB);
    v.num("piFeatures", i.piFeatures, HEX);
    v.num("spareFeatures", i.spareFeatures, HEX);
    v.num("firmwareFeatures", i.firmwareFeatures, HEX);
    v.num("rocTemperature", i.rocTemperature);
    v.num("controllerTemperature", i.controllerTemperature);
    v.text("chipRevision", i.chipRevision, 2);
    v.num("linkSpeed", i.linkSpeed);
    v.num("pciMaxLinkSpeed", i.pciMaxLinkSpeed);
    v.numbers("frontendPorts", i.frontendPorts, HEX, 8);
    v.list("pendingImages", i.pendingImages, 8);
    v.num("maxParallelCommands", i.maxParallelCommands);
    v.num("maxSgeCount", i.maxSgeCount);
    v.num("maxTransferSectors", i.maxTransferSectors);
    v.num("correctableErrors", i.correctableErrors);
    v.num("uncorrectableErrors", i.uncorrectableErrors);
    v.num("clusterPermitted", i.clusterPermitted);
    v.num("clusterActive", i.clusterActive);
    v.num("maxStripsPerIo", i.maxStripsPerIo);
    v.text("expanderVersion", i.expanderVersion, 12);
    v.num("fwCacheMB", i.fwCacheMB);
    v.num("spinupPerMinute", i.spinupPerMinute);
    v.num("imageCheckWord", i.imageCheckWord, HEX);
    v.patch("patch", i.patch, CONTROLLER_INFO_SIZE);
}

template <class V>
void visit(V& v, DriveLimit& l)
{
    v.num("min", l.min, PLAIN, 0, 15);
    v.num("max", l.max, PLAIN, 0, 4095);
}

template <class V>
void visit(V& v, DriveLimits& l)
{
    v.object("raid0", l.raid0);
    v.object("raid1", l.raid1);
    v.object("raid5", l.raid5);
    v.object("raid6", l.raid6);
    v.object("raid10", l.raid10);
    v.object("raid50", l.raid50);
    v.object("raid60", l.raid60);
    v.object("level35", l.level35);
    v.object("raid10Prl11", l.raid10Prl11);
}

template <class V>
void visit(V& v, MfcDefaults& d)
{
    v.num("sasAddress", d.sasAddress, HEX);
    v.num("stripExponent", d.stripExponent);
    v.num("writePolicy", d.writePolicy);
    v.num("readPolicy", d.readPolicy);
    v.num("cacheWhenBbuBad", d.cacheWhenBbuBad);
    v.num("cachedIo", d.cachedIo);
    v.num("alarm", d.alarm);
    v.num("coercion", d.coercion);
    v.num("uncertifiedDrives", d.uncertifiedDrives);
    v.num("treatR1eAsR10", d.treatR1eAsR10);
    v.num("maxVdsPerArray", d.maxVdsPerArray);
    v.num("powerSavingOptions", d.powerSavingOptions, HEX);
    v.num("spinDownTime", d.spinDownTime);
    v.num("jbod", d.jbod);
    v.num("directPdMapping", d.directPdMapping);
    v.num("features", d.features, HEX);
    v.patch("patch", d.patch, MFC_DEFAULTS_SIZE);
}

template <class V>
void visit(V& v, ControllerProperties& p)
{
    v.num("sequence", p.sequence);
    v.num("predictiveFailPoll", p.predictiveFailPoll);
    v.num("throttleCount", p.throttleCount);
    v.num("throttleTime", p.throttleTime);
    v.num("rebuildRate", p.rebuildRate);
    v.num("patrolReadRate", p.patrolReadRate);
    v.num("bgiRate", p.bgiRate);
    v.num("ccRate", p.ccRate);
    v.num("reconstructionRate", p.reconstructionRate);
    v.num("cacheFlushInterval", p.cacheFlushInterval);
    v.num("spinupDriveCount", p.spinupDriveCount);
    v.num("spinupDelay", p.spinupDelay);
    v.num("clusterEnable", p.clusterEnable);
    v.num("coercionMode", p.coercionMode);
    v.num("alarmEnabled", p.alarmEnabled);
    v.num("autoRebuildDisabled", p.autoRebuildDisabled);
    v.num("batteryWarningDisabled", p.batteryWarningDisabled);
    v.num("eccBucketSize", p.eccBucketSize);
    v.num("eccBucketLeakRate", p.eccBucketLeakRate);
    v.num("restoreHotSpare", p.restoreHotSpare);
    v.num("exposeEnclosureDevices", p.exposeEnclosureDevices);
    v.num("maintainPdFailHistory", p.maintainPdFailHistory);
    v.num("reorderingDisabled", p.reorderingDisabled);
    v.num("abortCcOnError", p.abortCcOnError);
    v.num("loadBalanceMode", p.loadBalanceMode);
    v.num("autoDetectBackplaneDisabled", p.autoDetectBackplaneDisabled);
    v.num("defaultSnapshotSpace", p.defaultSnapshotSpace);
    v.num("driveFlags", p.driveFlags, HEX);
    v.num("controllerFlags", p.controllerFlags, HEX);
    v.num("spareFlags", p.spareFlags, HEX);
    v.num("autoSnapshotSpace", p.autoSnapshotSpace);
    v.num("defaultViewSpace", p.defaultViewSpace);
    v.num("spinDownTime", p.spinDownTime);
    v.num("defaultLdPowerSaving", p.defaultLdPowerSaving);
    v.num("powerSavingDisabledInterval", p.powerSavingDisabledInterval);
    v.num("powerSavingDisabledTime", p.powerSavingDisabledTime);
    v.num("spinupEnclosureDriveCount", p.spinupEnclosureDriveCount);
    v.num("spinupEnclosureDelay", p.spinupEnclosureDelay);
    v.num("perfTunedMode", p.perfTunedMode, HEX);
    v.hex("perfModeValues", p.perfModeValues, PERF_MODE_VALUES_SIZE);
    v.patch("patch", p.patch, PROPERTIES_SIZE);
}

template <class V>
void visit(V& v, MfgData& m)
{
    v.num("mfgYear", m.mfgYear, PLAIN, 0, 127);
    v.num("mfgMonth", m.mfgMonth, PLAIN, 0, 15);
    v.num("mfgDay", m.mfgDay, PLAIN, 0, 31);
    v.num("reworkYear", m.reworkYear, PLAIN, 0, 127);
    v.num("reworkMonth", m.reworkMonth, PLAIN, 0, 15);
    v.num("reworkDay", m.reworkDay, PLAIN, 0, 31);
    v.text("serialNumber", m.serialNumber, 16);
    v.text("revision", m.revision, 8);
    v.patch("patch", m.patch, MFG_DATA_SIZE);
}

template <class V>
void visit(V& v, FruData& f)
{
    v.text("batteryFru", f.batteryFru, 8);
    v.text("cacheModuleFru", f.cacheModuleFru, 24);
    v.patch("patch", f.patch, FRU_DATA_SIZE);
}

template <class V>
void visit(V& v, BbuStatus& b)
{
    v.num("type", b.type);
    v.num("variant", b.variant);
    v.num("voltage", b.voltage);
    v.num("current", b.current);
    v.num("temperature", b.temperature);
    v.num("firmwareStatus", b.firmwareStatus, HEX);
    v.num("gasGauge", b.gasGauge, HEX);
    v.numbers("readings", b.readings, PLAIN, BBU_STATUS_READINGS);
    v.num("chargeTime", b.chargeTime);
    v.patch("patch", b.patch, BBU_STATUS_SIZE);
}

template <class V>
void visit(V& v, BbuCapacity& b)
{
    v.num("relativeCharge", b.relativeCharge);
    v.num("absoluteCharge", b.absoluteCharge);
    v.num("remainingCapacity", b.remainingCapacity);
    v.num("fullChargeCapacity", b.fullChargeCapacity);
    v.num("runTimeToEmpty", b.runTimeToEmpty);
    v.num("averageTimeToEmpty", b.averageTimeToEmpty);
    v.num("averageTimeToFull", b.averageTimeToFull);
    v.num("cycleCount", b.cycleCount);
    v.num("maxError", b.maxError);
    v.num("remainingCapacityAlarm", b.remainingCapacityAlarm);
    v.num("remainingTimeAlarm", b.remainingTimeAlarm);
    v.patch("patch", b.patch, BBU_CAPACITY_SIZE);
}

template <class V>
void visit(V& v, BbuDesign& b)
{
    v.num("year", b.year, PLAIN, 0, 0xFFFF);
    v.num("month", b.month, PLAIN, 0, 15);
    v.num("day", b.day, PLAIN, 0, 31);
    v.num("designCapacity", b.designCapacity);
    v.num("designVoltage", b.designVoltage);
    v.num("specificationInfo", b.specificationInfo);
    v.num("serialNumber", b.serialNumber);
    v.num("packStatConfig", b.packStatConfig, HEX);
    v.text("manufacturerName", b.manufacturerName, 12);
    v.text("deviceName", b.deviceName, 8);
    v.text("deviceChemistry", b.deviceChemistry, 5);
    v.num("modesSupported", b.modesSupported);
    v.num("transparentLearn", b.transparentLearn);
    v.num("appData", b.appData);
    v.patch("patch", b.patch, BBU_DESIGN_SIZE);
}

template <class V>
void visit(V& v, BbuProperties& b)
{
    v.num("autoLearnPeriod", b.autoLearnPeriod);
    v.num("nextLearnTime", b.nextLearnTime);
    v.num("learnDelayInterval", b.learnDelayInterval);
    v.num("autoLearnMode", b.autoLearnMode);
    v.num("bbuMode", b.bbuMode);
    v.patch("patch", b.patch, BBU_PROPERTIES_SIZE);
}

template <class V>
void visit(V& v, BbuMode& m)
{
    v.num("id", m.id);
    v.num("retention", m.retention);
    v.num("serviceLife", m.serviceLife);
    v.num("flags", m.flags, HEX);
}

template <class V>
void visit(V& v, Battery& b)
{
    v.object("status", b.status);
    v.object("capacity", b.capacity);
    v.object("design", b.design);
    v.object("properties", b.properties);
    v.flag("modesAvailable", b.modesAvailable);
    v.list("modes", b.modes, BBU_MAX_MODES);
    v.hex("gasGaugeMemory", b.gasGaugeMemory, BBU_GAS_GAUGE_MEMORY_SIZE);
}

template <class V>
void visit(V& v, KeyValue& k)
{
    v.text("key", k.key, 255);
    v.text("value", k.value, 255);
}

template <class V>
void visit(V& v, ControllerClock& c)
{
    v.num("year", c.year);
    v.num("month", c.month);
    v.num("day", c.day);
    v.num("hour", c.hour);
    v.num("minute", c.minute);
    v.num("second", c.second);
}

template <class V>
void visit(V& v, TermLog& t)
{
    v.text("text", t.text, TERM_LOG_MAX_TEXT);
    v.num("bbuMode", t.bbuMode);
}

template <class V>
void visit(V& v, BiosData& b)
{
    v.num("bootDevice", b.bootDevice, HEX);
    v.num("biosDisabled", b.biosDisabled);
    v.num("errorHandling", b.errorHandling);
    v.num("bootIsPhysical", b.bootIsPhysical);
    v.num("keyManagementMode", b.keyManagementMode, HEX);
    v.num("autoSelectBoot", b.autoSelectBoot);
    v.patch("patch", b.patch, BIOS_DATA_SIZE);
}

template <class V>
void visit(V& v, SecurityKeys& k)
{
    v.text("key", k.key, 35);
    v.text("passPhrase", k.passPhrase, 71);
    v.text("keyId", k.keyId, 255);
    v.text("escrowKey", k.escrowKey, 103);
    v.flag("external", k.external);
    v.flag("changeStaged", k.changeStaged);
    v.text("stagedKey", k.stagedKey, 35);
    v.text("stagedPassPhrase", k.stagedPassPhrase, 71);
    v.text("stagedKeyId", k.stagedKeyId, 255);
    v.flag("stagedExternal", k.stagedExternal);
}

template <class V>
void visit(V& v, PatrolReadProperties& p)
{
    v.num("mode", p.mode);
    v.num("maxConcurrentPds", p.maxConcurrentPds);
    v.num("onSsd", p.onSsd);
    v.num("nextStart", p.nextStart);
    v.num("executionDelay", p.executionDelay);
    v.patch("patch", p.patch, PR_PROPERTIES_SIZE);
    v.num("state", p.state);
    v.num("iterations", p.iterations);
    v.num("pdsCompleted", p.pdsCompleted);
    v.num("startedAt", p.startedAt);
    v.num("suspendedAt", p.suspendedAt);
    v.num("secondsPerDrive", p.secondsPerDrive, PLAIN, 1, UINT32_MAX);
}

template <class V>
void visit(V& v, CcSchedule& c)
{
    v.flag("supported", c.supported);
    v.num("mode", c.mode);
    v.numbers("excluded", c.excluded, PLAIN, CC_SCHEDULE_MAX_EXCLUDED);
    v.num("nextStart", c.nextStart);
    v.num("executionDelay", c.executionDelay, HEX);
    v.patch("patch", c.patch, CC_SCHEDULE_SIZE);
    v.num("state", c.state);
    v.num("iterations", c.iterations);
    v.num("vdsCompleted", c.vdsCompleted);
}

template <class V>
void visit(V& v, Event& e)
{
    v.num("seq", e.seq, REQUIRED | HEX);
    v.num("time", e.time, HEX);
    v.num("code", e.code, HEX);
    v.num("locale", e.locale, HEX);
    v.num("class", e.eventClass);
    v.num("argType", e.argType);
    v.hex("args", e.args, EVENT_ARGS_SIZE);
    v.text("description", e.description, EVENT_DESCRIPTION_LENGTH);
}

template <class V>
void visit(V& v, EventLog& l)
{
    v.num("newest", l.newest, HEX);
    v.num("oldest", l.oldest, HEX);
    v.num("clear", l.clear, HEX);
    v.num("shutdown", l.shutdown, HEX);
    v.num("boot", l.boot, HEX);
    v.list("events", l.events);
}

template <class V>
void visit(V& v, EventCapture& c)
{
    v.num("state", c.state, PLAIN, 0, 2);
    v.num("startValue", c.startValue, HEX);
    v.num("mode", c.mode);
    v.num("filterMask", c.filterMask, HEX);
    v.num("captured", c.captured);
    v.num("segments", c.segments, PLAIN, 0, 64);
}

template <class V>
void visit(V& v, PerfMon& p)
{
    v.num("running", p.running, PLAIN, 0, 1);
    v.num("interval", p.interval);
    v.hex("results", p.results, 4096);
}

template <class V>
void visit(V& v, DpmConfig& d)
{
    v.num("configuration", d.configuration);
    v.num("value", d.value);
    v.num("maxAveragingCommands", d.maxAveragingCommands);
    v.num("maxLatencyCommands", d.maxLatencyCommands);
    v.num("ticksPerSecond", d.ticksPerSecond);
    v.num("cleared", d.cleared, HEX);
}

template <class V>
void visit(V& v, ConnectorModes& m)
{
    v.numbers("modes", m.modes, PLAIN, MUX_MAX_CONNECTORS);
    v.patch("patch", m.patch, MUX_MODES_SIZE);
}

template <class V>
void visit(V& v, Connector& c)
{
    v.num("location", c.location);
    v.text("name", c.name, CONNECTOR_NAME_LENGTH);
}

template <class V>
void visit(V& v, ConnectorInfo& i)
{
    v.list("connectors", i.connectors, CONNECTOR_MAX_ENTRIES);
    v.patch("patch", i.patch, CONNECTOR_INFO_SIZE);
}

template <class V>
void visit(V& v, Phy& p)
{
    v.num("sasAddress", p.sasAddress, HEX);
    v.num("phyId", p.phyId);
    v.flag("disabled", p.disabled);
    v.num("deviceType", p.deviceType, HEX);
    v.num("targetFlags", p.targetFlags, HEX);
    v.num("linkRate", p.linkRate);
    v.num("invalidDwords", p.invalidDwords);
    v.num("disparityErrors", p.disparityErrors);
    v.num("lossOfSync", p.lossOfSync);
    v.num("resetProblems", p.resetProblems);
}

template <class V>
void visit(V& v, PhyControl& c)
{
    v.hex("block", c.block, PHY_CONTROL_MAX_RESPONSE);
    v.hex("list", c.list, PHY_CONTROL_MAX_RESPONSE);
    v.num("listCount", c.listCount);
    v.hex("written", c.written, PHY_CONTROL_MAX_RESPONSE);
}

template <class V>
void visit(V& v, PhyList& l)
{
    v.list("phys", l.phys, PHY_MAX_ENTRIES);
    v.patch("patch", l.patch, PHY_LIST_SIZE);
}

template <class V>
void visit(V& v, OemData& o)
{
    v.num("oemId", o.oemId);
    v.num("clusterDisable", o.clusterDisable);
    v.num("disableSAS", o.disableSAS);
    v.num("maxDisks", o.maxDisks);
    v.num("enableRaid6", o.enableRaid6);
    v.num("disableWideCache", o.disableWideCache);
    v.num("disableRaid5", o.disableRaid5);
    v.num("enableSecurity", o.enableSecurity);
    v.num("enableCTIO", o.enableCTIO);
    v.num("enableSnapShot", o.enableSnapShot);
    v.num("enableSSC", o.enableSSC);
    v.num("enableReducedFeatureSet", o.enableReducedFeatureSet);
    v.num("enableCacheOffload", o.enableCacheOffload);
    v.num("enableSSCWB", o.enableSSCWB);
    v.patch("patch", o.patch, OEM_DATA_SIZE);
}

template <class V>
void visit(V& v, SesElementType& t)
{
    v.num("type", t.type, REQUIRED);
    v.num("count", t.count);
    v.hex("overall", t.overall, SES_ELEMENT_SIZE);
    v.hex("status", t.status, SES_ELEMENT_SIZE * 255);
}

template <class V>
void visit(V& v, Enclosure& e)
{
    v.num("deviceId", e.deviceId, REQUIRED);
    v.num("slots", e.slots);
    v.num("powerSupplies", e.powerSupplies);
    v.num("fans", e.fans);
    v.num("temperatureSensors", e.temperatureSensors);
    v.num("alarms", e.alarms);
    v.num("simModules", e.simModules);
    v.num("status", e.status);
    v.num("type", e.type);
    v.num("position", e.position);
    v.num("connector", e.connector);
    v.num("driveCount", e.driveCount);
    v.patch("patch", e.patch, ENCL_ENTRY_SIZE);
    // The enclosure's SES pages.
    v.list("sesElements", e.sesElements, SES_MAX_ELEMENT_TYPES);
    v.num("sesTypeCount", e.sesTypeCount);
    v.num("sesDescriptorLength", e.sesDescriptorLength);
    v.num("sesConfigLength", e.sesConfigLength);
    v.num("sesStatusLength", e.sesStatusLength);
    v.patch("sesConfigPatch", e.sesConfigPatch, SES_PAGE_SIZE);
    v.patch("sesStatusPatch", e.sesStatusPatch, SES_PAGE_SIZE);
}


template <class V>
void visit(V& v, Drive& d)
{
    v.num("deviceId", d.deviceId, REQUIRED);
    v.num("sequence", d.sequence);
    v.num("enclosureId", d.enclosureId);
    v.num("slot", d.slot);
    v.num("type", d.type, HEX);
    v.num("state", d.state, HEX);
    v.text("interface", d.interface, NO_LIMIT, {"SCSI", "SAS", "SATA", "FC"});
    v.text("media", d.media, NO_LIMIT, {"HDD", "SSD"});
    v.text("vendor", d.vendor, 8);
    v.text("product", d.product, 16);
    v.text("revision", d.revision, 4);
    v.num("rawBlocks", d.rawBlocks);
    v.num("nonCoercedBlocks", d.nonCoercedBlocks);
    v.num("coercedBlocks", d.coercedBlocks);
    v.hex("vpd83", d.vpd83, PD_VPD83_SIZE);
    v.num("unsupported", d.unsupported);
    v.num("notCertified", d.notCertified);
    v.num("connectedPorts", d.connectedPorts, HEX);
    v.num("deviceSpeed", d.deviceSpeed);
    v.num("linkSpeed", d.linkSpeed);
    v.num("secondLinkSpeed", d.secondLinkSpeed);
    v.num("mediaErrors", d.mediaErrors);
    v.num("otherErrors", d.otherErrors);
    v.num("predictiveFailures", d.predictiveFailures);
    v.num("lastPredictiveSeq", d.lastPredictiveSeq);
    v.num("configFlags", d.configFlags, HEX);
    v.flag("widePort", d.widePort);
    v.list("ports", d.ports, PD_MAX_PORTS);
    v.num("powerState", d.powerState, HEX);
    v.num("position", d.position);
    v.num("slotCount", d.slotCount);
    v.num("flags361", d.flags361, HEX);
    v.num("flags362", d.flags362, HEX);
    v.num("partnerId", d.partnerId);
    v.num("security", d.security, HEX);
    v.text("bridgeVendor", d.bridgeVendor, 8);
    v.text("bridgeProduct", d.bridgeProduct, 16);
    v.text("bridgeRevision", d.bridgeRevision, 4);
    v.num("temperature", d.temperature);
    v.text("ataSerial", d.ataSerial, 20);
    v.text("ataModel", d.ataModel, 40);
    v.text("ataFirmware", d.ataFirmware, 8);
    v.text("fruText", d.fruText, 12);
    v.text("enclosureSerial", d.enclosureSerial, 8);
    v.hex("vpd01", d.vpd01, SCSI_PAGE_SIZE);
    v.hex("vpdC3", d.vpdC3, SCSI_PAGE_SIZE);
    v.hex("dpmStatistics", d.dpmStatistics, 400);
    v.num("logTemperature", d.logTemperature);
    v.text("bridgeFirmwareVersion", d.bridgeFirmwareVersion, 12);
    v.text("bridgeBootLoaderVersion", d.bridgeBootLoaderVersion, 12);
    v.text("bridgeConfigVersion", d.bridgeConfigVersion, 8);
    v.num("physicalSectorExponent", d.physicalSectorExponent);
    v.num("sectorSize", d.sectorSize);
    v.num("protection", d.protection, HEX);
    v.num("spareFlags", d.spareFlags, HEX);
    v.numbers("diagnosticsDate", d.diagnosticsDate);
    v.num("shieldCounter", d.shieldCounter);
    v.text("keyId", d.keyId, 255);
    v.list("progress", d.progress);
    v.num("allowedOperations", d.allowedOperations, HEX);
    v.flag("locating", d.locating);
    v.flag("preparedForRemoval", d.preparedForRemoval);
    v.num("spinUpRounds", d.spinUpRounds);
    v.patch("patch", d.patch, PD_INFO_SIZE);
    v.num("primaryDefects", d.primaryDefects);
    v.num("grownDefects", d.grownDefects);
    v.flag("rejectsPrimaryDefects", d.rejectsPrimaryDefects);
    v.flag("rejectsGrownDefects", d.rejectsGrownDefects);
}

template <class V>
void visit(V& v, DrivePort& p)
{
    v.num("sasAddress", p.sasAddress, HEX);
    v.num("connector", p.connector);
    v.flag("passive", p.passive);
}

template <class V>
void visit(V& v, DriveProgress& p)
{
    v.choice("operation", p.operation, DRIVE_OPERATIONS, REQUIRED);
    v.num("progress", p.progress);
    v.num("elapsed", p.elapsed);
    v.flag("suspended", p.suspended);
    v.num("since", p.since);
    v.num("source", p.source);
}

template <class V>
void visit(V& v, Span& s)
{
    v.num("array", s.array, REQUIRED);
    v.num("startBlock", s.startBlock);
    v.num("blockCount", s.blockCount);
}

template <class V>
void visit(V& v, LdDisk& d)
{
    v.flag("present", d.present);
    v.text("name", d.name, 8);
    v.num("channel", d.channel);
    v.num("target", d.target);
    v.num("lun", d.lun);
    v.hex("vpd83", d.vpd83, DISK_VPD83_MAX);
    v.num("sgVersion", d.sgVersion);
    v.flag("rejectsInquiry", d.rejectsInquiry);
    v.flag("ioctlFails", d.ioctlFails);
}

template <class V>
void visit(V& v, LogicalDrive& l)
{
    v.num("targetId", l.targetId, REQUIRED);
    v.num("sequence", l.sequence);
    v.text("name", l.name, 15);
    v.num("defaultCachePolicy", l.defaultCachePolicy, HEX);
    v.num("accessPolicy", l.accessPolicy);
    v.num("diskCachePolicy", l.diskCachePolicy);
    v.num("currentCachePolicy", l.currentCachePolicy, HEX);
    v.num("bgiDisabled", l.bgiDisabled);
    v.num("powerSavingPolicy", l.powerSavingPolicy);
    v.num("currentPowerSavingPolicy", l.currentPowerSavingPolicy);
    v.num("propertyFlags", l.propertyFlags, HEX);
    v.num("raidLevel", l.raidLevel);
    v.num("raidQualifier", l.raidQualifier);
    v.num("secondaryRaidLevel", l.secondaryRaidLevel);
    v.num("stripExponent", l.stripExponent);
    v.num("drivesPerSpan", l.drivesPerSpan);
    v.num("spanDepth", l.spanDepth);
    v.num("state", l.state);
    v.num("initialized", l.initialized);
    v.num("encryption", l.encryption);
    v.num("sscCache", l.sscCache);
    v.num("piType", l.piType);
    v.num("currentAccessPolicy", l.currentAccessPolicy);
    v.num("preservedCache", l.preservedCache);
    v.num("badBlocks", l.badBlocks);
    v.num("bbmCorrected", l.bbmCorrected);
    v.num("bbmUncorrected", l.bbmUncorrected);
    v.num("snapshot", l.snapshot);
    v.num("powerConditions", l.powerConditions, HEX);
    v.num("cacheAssociation", l.cacheAssociation);
    v.num("allowedOperations", l.allowedOperations, HEX);
    v.num("sizeBlocks", l.sizeBlocks);
    v.flag("sizeIsDriveSize", l.sizeIsDriveSize);
    v.list("progress", l.progress);
    v.hex("vpd83", l.vpd83, VPD83_PAGE_SIZE);
    v.flag("blockAsDirectory", l.blockAsDirectory);
    v.object("disk", l.disk);
    v.numbers("drives", l.drives);
    v.list("spans", l.spans, CFG_LD_MAX_SPANS);
    v.patch("patch", l.patch, LD_INFO_SIZE);
    v.patch("configPatch", l.configPatch, CFG_LD_SIZE);
}

template <class V>
void visit(V& v, LdProgress& p)
{
    v.choice("operation", p.operation, LD_OPERATIONS, REQUIRED);
    v.num("progress", p.progress);
    v.num("elapsed", p.elapsed);
    v.num("rate", p.rate);
    v.flag("suspended", p.suspended);
    v.num("newRaidLevel", p.newRaidLevel);
    v.choice("reconstructKind", p.reconstructKind, RECONSTRUCT_KINDS);
    v.numbers("reconstructDrives", p.reconstructDrives);
    v.num("expansionPercent", p.expansionPercent);
    v.flag("deleteAfter", p.deleteAfter);
}

template <class V>
void visit(V& v, ArrayMember& m)
{
    v.num("row", m.row, REQUIRED, 0, CFG_ARRAY_MAX_DRIVES - 1);
    v.num("sequence", m.sequence);
    v.num("state", m.state, HEX);
}

template <class V>
void visit(V& v, Array& a)
{
    v.num("ref", a.ref, REQUIRED);
    v.numbers("drives", a.drives);
    v.num("sizeBlocks", a.sizeBlocks);
    v.list("members", a.members, CFG_ARRAY_MAX_DRIVES);
    v.patch("patch", a.patch, CFG_ARRAY_SIZE);
}

template <class V>
void visit(V& v, Spare& s)
{
    v.num("deviceId", s.deviceId, REQUIRED);
    v.flag("dedicated", s.dedicated);
    v.flag("revertible", s.revertible);
    v.flag("enclosureAffinity", s.enclosureAffinity);
    v.numbers("arrays", s.arrays);
    v.patch("patch", s.patch, CFG_SPARE_SIZE);
}

template <class V>
void visit(V& v, ForeignConfig& f)
{
    v.list("arrays", f.arrays);
    v.list("lds", f.lds);
    v.list("spares", f.spares);
    v.num("memberState", f.memberState, HEX);
    v.numbers("outdated", f.outdated);
    v.text("lockKey", f.lockKey, 103);
}

template <class V>
void visit(V& v, Controller& c)
{
    v.num("host", c.host, REQUIRED);
    v.num("driverKind", c.driverKind, PLAIN, DRIVER_KIND_SAS, DRIVER_KIND_SWR);
    v.object("pci", c.pci);
    v.text("procName", c.procName, ATTRIBUTE_LENGTH);
    v.text("procNameFile", c.procNameFile, ATTRIBUTE_LENGTH);
    v.flag("sysfsLinkedClass", c.sysfsLinkedClass);
    v.object("info", c.info);
    v.object("mfcOemData", c.mfcOemData);
    v.object("mfcDefaults", c.mfcDefaults);
    v.num("runtimeStatus", c.runtimeStatus, HEX);
    v.object("properties", c.properties);
    v.object("bios", c.bios);
    v.object("mfgData", c.mfgData);
    v.object("fruData", c.fruData);
    v.list("keyValues", c.keyValues);
    v.patch("keyValuesPatch", c.keyValuesPatch, KEY_VALUES_SIZE);
    v.object("time", c.time);
    v.object("termLog", c.termLog);
    v.object("securityKeys", c.securityKeys);
    v.object("patrolRead", c.patrolRead);
    v.object("ccSchedule", c.ccSchedule);
    v.object("eventLog", c.eventLog);
    v.object("eventCapture", c.eventCapture);
    v.object("dpm", c.dpm);
    v.object("perfMon", c.perfMon);
    v.object("connectorModes", c.connectorModes);
    v.object("connectorInfo", c.connectorInfo);
    v.object("phyList", c.phyList);
    v.object("phyControl", c.phyControl);
    v.list("enclosures", c.enclosures);
    v.list("drives", c.drives);
    v.list("lds", c.lds);
    v.list("arrays", c.arrays);
    v.list("spares", c.spares);
    v.list("foreignConfigs", c.foreignConfigs);
    v.numbers("reservedTargetIds", c.reservedTargetIds);
    v.text("bbuModuleVersion", c.bbuModuleVersion, 8);
    v.num("operationSeconds", c.operationSeconds, PLAIN, 1, 0xFFFF);
    v.num("jbodConversionsLeft", c.jbodConversionsLeft);
    v.object("battery", c.battery);
    v.flag("hostScan", c.hostScan);
}

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

template <class V>
void visit(V& v, Ir2Command& c)
{
    v.num("type", c.type);
    v.num("code", c.code);
    v.num("status", c.status);
}

template <class V>
void visit(V& v, Ir2HostCacheDevice& d)
{
    v.text("scsiId", d.scsiId, 96);
    v.text("node", d.node, 255);
    v.text("secondNode", d.secondNode, 63);
    v.text("mappedPath", d.mappedPath, 255);
    v.text("vendor", d.vendor, 63);
    v.text("model", d.model, 63);
    v.num("state", d.state);
    v.flag("configured", d.configured);
    v.num("contentWarning", d.contentWarning);
    v.num("blocks", d.blocks);
    v.flag("busy", d.busy);
}

template <class V>
void visit(V& v, Ir2HostCache& c)
{
    v.num("version", c.version, HEX);
    v.text("groupName", c.groupName, 255);
    v.num("maxCacheDevices", c.maxCacheDevices, PLAIN, 0, 256);
    v.num("maxVds", c.maxVds, PLAIN, 0, 256);
    v.num("queueDepth", c.queueDepth);
    v.num("usedBlocks", c.usedBlocks);
    v.num("cacheLineBlocks", c.cacheLineBlocks);
    v.num("cacheWindowBlocks", c.cacheWindowBlocks);
    v.num("reads", c.reads);
    v.num("writes", c.writes);
    v.num("hits", c.hits);
    v.num("misses", c.misses);
    v.list("cacheDevices", c.cacheDevices, 256);
    v.list("vds", c.vds, 256);
    v.num("cacheDeviceListCount", c.cacheDeviceListCount);
    v.num("vdListCount", c.vdListCount);
}

template <class V>
void visit(V& v, Ir2Image& i)
{
    v.text("name", i.name, 8);
    v.text("version", i.version, 31);
    v.text("buildTime", i.buildTime, 31);
}

template <class V>
void visit(V& v, Ir2ControllerInfo& c)
{
    v.num("id", c.id, REQUIRED);
    v.num("deviceId", c.deviceId, HEX);
    v.num("vendorId", c.vendorId, HEX);
    v.num("subVendorId", c.subVendorId, HEX);
    v.text("productName", c.productName, 79);
    v.text("serialNumber", c.serialNumber, 31);
    v.num("hostInterface", c.hostInterface, HEX);
    v.num("sasAddress", c.sasAddress, HEX);
    v.numbers("backendAddresses", c.backendAddresses, HEX, 16);
    v.num("portCount", c.portCount);
    v.list("images", c.images, 8);
    v.num("metadataMB", c.metadataMB);
    v.num("devicesPresent", c.devicesPresent, HEX);
    v.flag("clusterEnable", c.clusterEnable);
    v.flag("clusterActive", c.clusterActive);
    v.num("coercion", c.coercion);
    v.num("driveFlags", c.driveFlags, HEX);
    v.text("packageVersion", c.packageVersion, 95);
    v.num("piFeatures", c.piFeatures, HEX);
    v.flag("securityCapable", c.securityCapable);
    v.num("auxiliaryPower", c.auxiliaryPower);
    v.num("lifeCurveStatus", c.lifeCurveStatus);
    v.num("lifeLeftPercent", c.lifeLeftPercent);
    v.num("controllerStatus", c.controllerStatus);
}

template <class V>
void visit(V& v, Ir2Library& l)
{
    v.numbers("controllers", l.controllers);
    v.num("count", l.count);
    v.num("cardCount", l.cardCount);
    v.num("initStatus", l.initStatus);
    v.num("listStatus", l.listStatus);
    v.list("commands", l.commands);
    v.object("hostCache", l.hostCache);
    v.list("controllerInfo", l.controllerInfo, 16);
}

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

template <typename T>
Json sparse(const T& part)
{
    // The defaults' values, made once per part type.
    static const Json base = [] {
        T fallback{};
        Writer w(nullptr);
        visit(w, fallback);
        return w.obj;
    }();
    Writer w(&base);
    visit(w, const_cast<T&>(part));
    return std::move(w.obj);
}

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
