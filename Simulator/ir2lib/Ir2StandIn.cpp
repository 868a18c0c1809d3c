// The integrated-RAID library stand-in of the simulated host.
//
// It answers the bridge's entry point from the "ir2Library" section of the host's state.json
// (the host directory is QUILLCLI_SIM_HOST), read afresh on every call:
//
//   "ir2Library": {
//     "controllers": [5, 9],          library controller ids, in list order
//     "count": 2,                     optional: the count to report (default: the list's size)
//     "cardCount": 0,                 optional: the card list's count (default: as "count")
//     "initStatus": 0,                status of the initialization call (type 0, code 0)
//     "listStatus": 0,                status of the controller lists (type 0, codes 10 and 3)
//     "commands": [ {"type": 11, "code": 3, "status": "0x6001"} ]   a status that replaces
//                                     the answer of a command (nothing is filled or changed)
//     "hostCache": {...},             the host-cache driver (Ir2HostCache.cpp)
//     "controllerInfo": [...]         the controllers' records (Ir2Cards.cpp)
//   }
//
// A missing section is a library with no controllers and a host-cache driver without devices.
// A command that changes the host-cache driver's devices writes the section back into
// state.json (a temporary file renamed over it), so the next run sees the change. Every call is
// appended to <host>/commands.log ("ir2 type=.. code=.. controller=.. length=.. status=..")
// and, with QUILLCLI_SIM_TRACE=1, printed on standard error.
#include "Ir2StandIn.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

namespace ir2 {

int64_t number(const Json& obj, const char* key, int64_t def)
{
    if (!obj.is_object() || !obj.contains(key)) {
        return def;
    }
    const Json& v = obj[key];
    if (v.is_number_integer()) {
        return v.get<int64_t>();
    }
    if (v.is_string()) {
        const std::string text = v.get<std::string>();
        char* end = nullptr;
        long long parsed = strtoll(text.c_str(), &end, 0);
        if (end != text.c_str() && *end == '\0') {
            return parsed;
        }
    }
    return def;
}

std::string text(const Json& obj, const char* key, const std::string& def)
{
    if (!obj.is_object() || !obj.contains(key) || !obj[key].is_string()) {
        return def;
    }
    return obj[key].get<std::string>();
}

bool flag(const Json& obj, const char* key, bool def)
{
    if (!obj.is_object() || !obj.contains(key) || !obj[key].is_boolean()) {
        return def;
    }
    return obj[key].get<bool>();
}

void Reply::put(size_t offset, uint64_t value, size_t width)
{
    if (out == nullptr || offset > size || width > size - offset) {
        return;
    }
    for (size_t i = 0; i < width; ++i) {
        out[offset + i] = static_cast<uint8_t>(value >> (8 * i));
    }
}

void Reply::putText(size_t offset, size_t width, const std::string& value)
{
    if (out == nullptr || width == 0 || offset > size || width > size - offset) {
        return;
    }
    const size_t n = value.size() < width - 1 ? value.size() : width - 1;
    memcpy(out + offset, value.data(), n);
    out[offset + n] = 0;
}

} // namespace ir2

namespace {

using ir2::Json;
using ir2::number;

std::string hostDirectory()
{
    const char* dir = getenv("QUILLCLI_SIM_HOST");
    return dir != nullptr ? std::string(dir) : std::string();
}

Json readState(const std::string& host)
{
    if (host.empty()) {
        return Json::object();
    }
    std::ifstream in(host + "/state.json");
    if (!in) {
        return Json::object();
    }
    Json doc = Json::parse(in, nullptr, false);
    return doc.is_object() ? doc : Json::object();
}

Json librarySection(const Json& state)
{
    if (!state.contains("ir2Library") || !state["ir2Library"].is_object()) {
        return Json::object();
    }
    return state["ir2Library"];
}

// Writes the changed section back: the whole state to a temporary file, renamed over the old.
void writeBack(const std::string& host, Json state, const Json& lib)
{
    if (host.empty()) {
        return;
    }
    state["ir2Library"] = lib;
    const std::string path = host + "/state.json";
    const std::string temporary = path + ".ir2";
    {
        std::ofstream out(temporary, std::ios::trunc);
        if (!out) {
            return;
        }
        out << state.dump(2) << "\n";
        if (!out.flush()) {
            remove(temporary.c_str());
            return;
        }
    }
    if (rename(temporary.c_str(), path.c_str()) != 0) {
        remove(temporary.c_str());
    }
}

// Library command types and the codes answered with data.
const uint8_t TYPE_CONTROLLER_INFO = 1;
const uint8_t TYPE_CARD = 10;
const uint8_t CODE_CARD_LIST = 3;
const uint8_t CODE_CARD_HEALTH = 2;

// A controller list: discovery (code 10) and the card list (code 3) name the same controllers;
// "cardCount" replaces the card list's count.
int listControllers(const Json& lib, _AK_LIB_CMD_PARAM_T* block)
{
    int status = static_cast<int>(number(lib, "listStatus", 0));
    if (status != 0) {
        return status;
    }
    std::vector<uint32_t> ids;
    if (lib.contains("controllers") && lib["controllers"].is_array()) {
        for (const Json& id : lib["controllers"]) {
            if (id.is_number_integer()) {
                ids.push_back(id.get<uint32_t>());
            }
        }
    }
    ir2::Reply r(block);
    int64_t count = number(lib, "count", static_cast<int64_t>(ids.size()));
    if (block->cmdCode == CODE_CARD_LIST) {
        count = number(lib, "cardCount", count);
    }
    r.put(0, static_cast<uint64_t>(count), 2);
    for (size_t i = 0; i < ids.size(); ++i) {
        r.put(4 + 4 * i, ids[i], 4);
    }
    return 0;
}

// The status a "commands" entry gives the command; false when none does.
bool overriddenStatus(const Json& lib, const _AK_LIB_CMD_PARAM_T* block, int& status)
{
    if (!lib.contains("commands") || !lib["commands"].is_array()) {
        return false;
    }
    for (const Json& command : lib["commands"]) {
        if (number(command, "type", -1) == block->cmdType && number(command, "code", -1) == block->cmdCode) {
            status = static_cast<int>(number(command, "status", 0));
            return true;
        }
    }
    return false;
}

void record(const std::string& host, const _AK_LIB_CMD_PARAM_T* block, int status)
{
    char line[160];
    snprintf(line, sizeof line, "ir2 type=%u code=%u controller=%u length=%u status=0x%x\n",
             static_cast<unsigned>(block->cmdType), static_cast<unsigned>(block->cmdCode),
             static_cast<unsigned>(block->ctrlId), static_cast<unsigned>(block->dataLength),
             static_cast<unsigned>(status));
    const char* trace = getenv("QUILLCLI_SIM_TRACE");
    if (trace != nullptr && strcmp(trace, "1") == 0) {
        fprintf(stderr, "quillsim: %s", line);
    }
    if (host.empty()) {
        return;
    }
    FILE* log = fopen((host + "/commands.log").c_str(), "a");
    if (log != nullptr) {
        fputs(line, log);
        fclose(log);
    }
}

int answer(Json& lib, _AK_LIB_CMD_PARAM_T* block, bool& changed)
{
    const uint8_t type = block->cmdType;
    const uint8_t code = block->cmdCode;
    if (type == AK_LIB_CMD_TYPE_GENERAL && code == AK_LIB_CMD_CODE_INIT) {
        return static_cast<int>(number(lib, "initStatus", 0));
    }
    int status = 0;
    if (overriddenStatus(lib, block, status)) {
        return status;
    }
    if (type == AK_LIB_CMD_TYPE_GENERAL && (code == AK_LIB_CMD_CODE_LIST_CONTROLLERS || code == CODE_CARD_LIST)) {
        return listControllers(lib, block);
    }
    if (type == AK_LIB_CMD_TYPE_CONTROLLER) {
        return ir2::hostCacheCommand(lib, block, changed);
    }
    if (type == TYPE_CONTROLLER_INFO && code == 0) {
        return ir2::controllerInfoCommand(lib, block);
    }
    if (type == TYPE_CARD && code == CODE_CARD_HEALTH) {
        return ir2::cardHealthCommand(lib, block);
    }
    return 0;
}

} // namespace

extern "C" __attribute__((visibility("default"))) int ProcessLibCommandIR2(_AK_LIB_CMD_PARAM_T* block)
{
    if (block == nullptr) {
        return -1;
    }
    const std::string host = hostDirectory();
    const Json state = readState(host);
    Json lib = librarySection(state);
    bool changed = false;
    const int status = answer(lib, block, changed);
    if (changed) {
        writeBack(host, state, lib);
    }
    record(host, block, status);
    return status;
}
