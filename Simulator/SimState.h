// The simulated host's state: one JSON document kept in <host>/state.json.
//
// The document is the model itself (kernel release, clock, loaded drivers, controllers with
// their firmware state, faults to inject); the firmware handlers read and change it through
// the small typed accessors below, which never throw: a missing or mistyped field gives the
// caller's default. Numbers may be written as JSON numbers or as "0x..." strings.
#ifndef SIMSTATE_H
#define SIMSTATE_H

#include <cstdint>
#include <string>

#include <nlohmann/json.hpp>

namespace sim {

typedef nlohmann::json Json;

// Typed reads of obj[key]; def when obj is not an object, the key is missing or mistyped.
uint64_t getU(const Json& obj, const char* key, uint64_t def = 0);
int64_t getI(const Json& obj, const char* key, int64_t def = 0);
std::string getS(const Json& obj, const char* key, const std::string& def = std::string());
// obj[key] when it is an array (or object), else null.
Json* getArray(Json& obj, const char* key);
const Json* getArray(const Json& obj, const char* key);
// Parses "123", "0x7b" or a JSON number into v; false when it is neither.
bool toU64(const Json& value, uint64_t& v);
bool parseU64(const std::string& text, uint64_t& v);
bool parseI64(const std::string& text, int64_t& v);
std::string hex32(uint32_t v);   // "0x0101a000"

class SimState {
public:
    static const char* const FILE_NAME;   // "state.json"

    explicit SimState(const std::string& hostDir = std::string());

    const std::string& hostDir() const { return hostDir_; }
    std::string path() const;

    // Reads state.json; 0, or -1 when it is missing or not a JSON object (the document is
    // then empty and a message has been printed on standard error unless quiet).
    int load(bool quiet = false);
    // Loads on the first call only (the host's state is read on first use); the result of
    // that first load.
    int ensureLoaded();
    // Writes the document to a temporary file in the host directory and renames it over
    // state.json, so a reader sees either the old or the new state, never a torn one. A state
    // that was neither loaded nor set is never written (-1).
    int save();
    // Saves only when something changed since the last load or save.
    int saveIfChanged();

    Json& doc() { return doc_; }
    const Json& doc() const { return doc_; }
    void setDoc(const Json& doc)
    {
        doc_ = doc;
        changed_ = true;
        loadTried_ = true;
        loadResult_ = 0;
        valid_ = true;
    }
    void markChanged() { changed_ = true; }
    bool changed() const { return changed_; }

    // The simulated clock, in seconds since the host was created.
    uint64_t clock() const { return getU(doc_, "clock", 0); }
    void advanceClock(uint64_t seconds);

    // The controller answering SCSI host number `host` through driver kind `kind`, or null.
    Json* findController(unsigned host, int kind);

private:
    std::string hostDir_;
    Json doc_;
    bool changed_ = false;
    bool valid_ = false;       // loaded or set: only such a state is ever written
    bool loadTried_ = false;
    int loadResult_ = -1;
};

} // namespace sim

#endif
