// The host description's format, shared by the files that read and write its sections:
//
//   SimDescription.cpp             the host and its kernel side, the checks across entries,
//                                  the printing and the entry points of SimDescription.h
//   SimDescriptionController.cpp   a controller and its records
//   SimDescriptionDrives.cpp       enclosures and drives
//   SimDescriptionConfig.cpp       logical drives, arrays, spares, foreign configurations
//   SimDescriptionFaults.cpp       faults and file faults
//   SimDescriptionIr2.cpp          the integrated-RAID library's answers
//
// One visit function per model part names its keys, in the order they are written. Three
// visitors walk it: the Reader checks each key and stores it in the model, the Writer builds
// the JSON object of a part, the KeyLister lists the keys a part knows. A section's file
// defines the visit functions of its parts; those that another section's file reaches are
// declared at the end of this header and instantiated for the three visitors in their own file.
#ifndef SIMDESCRIPTIONFORMAT_H
#define SIMDESCRIPTIONFORMAT_H

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <initializer_list>
#include <limits>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include <nlohmann/json.hpp>

#include "Simulator/SimModel.h"

namespace sim {
namespace description {

// Keys keep the order in which the visit functions name them.
typedef nlohmann::ordered_json Json;

// Field flags.
const unsigned PLAIN = 0;
const unsigned HEX = 1;        // written as a "0x..." string (read in either form)
const unsigned REQUIRED = 2;   // must be given; always written
const unsigned ALWAYS = 4;     // always written, even at its default

const size_t NO_LIMIT = std::numeric_limits<size_t>::max();

std::string hexText(uint64_t v);

// An object's members in their order (the ordered map is a vector of them).
typedef std::vector<Json::object_t::value_type> Members;
inline const Members& membersOf(const Json& obj) { return static_cast<const Members&>(obj.get_ref<const Json::object_t&>()); }

inline std::string quoted(const std::string& s) { return "\"" + s + "\""; }

// What a value is, for messages: `the string "x"`, `an array`, ...
std::string describe(const Json& v);

// A whole number written as a JSON integer or as a string: "123", "0x7b", "-5". Decimal
// unless "0x" says otherwise (a leading zero is not octal).
bool numberOf(const Json& v, bool& negative, uint64_t& magnitude);

// Parses JSON text; false with the position of the first fault in `error`.
bool parseJson(const char* text, size_t size, Json& out, std::string& error);

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

// The longest sysfs attribute a description gives.
const size_t ATTRIBUTE_LENGTH = 255;

// The parts that one section's file reaches in another's.
template <class V>
void visit(V& v, PciLocation& p);      // SimDescription.cpp
template <class V>
void visit(V& v, Controller& c);       // SimDescriptionController.cpp
template <class V>
void visit(V& v, Enclosure& e);        // SimDescriptionDrives.cpp
template <class V>
void visit(V& v, Drive& d);
template <class V>
void visit(V& v, LogicalDrive& l);     // SimDescriptionConfig.cpp
template <class V>
void visit(V& v, Array& a);
template <class V>
void visit(V& v, Spare& s);
template <class V>
void visit(V& v, ForeignConfig& f);
template <class V>
void visit(V& v, Fault& f);            // SimDescriptionFaults.cpp
template <class V>
void visit(V& v, FileFault& f);
template <class V>
void visit(V& v, Ir2Library& l);       // SimDescriptionIr2.cpp

// Instantiates a section's visit function of Part (defined above the line that names it) for
// the three visitors, so that the other sections' files reach it.
#define SIM_DESCRIPTION_PART(Part)        \
    template void visit(Reader&, Part&);  \
    template void visit(Writer&, Part&);  \
    template void visit(KeyLister&, Part&)

} // namespace description
} // namespace sim

#endif
