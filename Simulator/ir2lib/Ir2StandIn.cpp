// The integrated-RAID library stand-in of the simulated host.
//
// It answers the bridge's entry point from the "ir2Library" section of the host's state.json
// (the host directory is QUILLCLI_SIM_HOST), read afresh on every call:
//
//   "ir2Library": {
//     "controllers": [5, 9],          library controller ids, in list order
//     "count": 2,                     optional: the count to report (default: the list's size)
//     "initStatus": 0,                status of the initialization call (type 0, code 0)
//     "listStatus": 0,                status of the controller-list call (type 0, code 10)
//     "commands": [ {"type": 11, "code": 3, "status": "0x6001"} ]   status of other commands
//   }
//
// A missing section is a library with no controllers that answers every command with 0. Every
// call is appended to <host>/commands.log ("ir2 type=.. code=.. controller=.. length=.. status=..")
// and, with QUILLCLI_SIM_TRACE=1, printed on standard error.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "DataProvider/AkLibCommand.h"

namespace {

typedef nlohmann::json Json;

std::string hostDirectory()
{
    const char* dir = getenv("QUILLCLI_SIM_HOST");
    return dir != nullptr ? std::string(dir) : std::string();
}

Json librarySection(const std::string& host)
{
    if (host.empty()) {
        return Json::object();
    }
    std::ifstream in(host + "/state.json");
    if (!in) {
        return Json::object();
    }
    Json doc = Json::parse(in, nullptr, false);
    if (!doc.is_object() || !doc.contains("ir2Library") || !doc["ir2Library"].is_object()) {
        return Json::object();
    }
    return doc["ir2Library"];
}

// A number written as a JSON number or as a "0x..." / decimal string; def otherwise.
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
    uint16_t count = static_cast<uint16_t>(number(lib, "count", static_cast<int64_t>(ids.size())));
    uint8_t* out = static_cast<uint8_t*>(block->data);
    if (out == nullptr) {
        return 0;
    }
    // Never more than the caller's buffer holds.
    if (block->dataLength >= 2) {
        memcpy(out, &count, 2);
    }
    for (size_t i = 0; i < ids.size(); ++i) {
        size_t at = 4 + 4 * i;
        if (at + 4 > block->dataLength) {
            break;
        }
        memcpy(out + at, &ids[i], 4);
    }
    return 0;
}

int commandStatus(const Json& lib, const _AK_LIB_CMD_PARAM_T* block)
{
    if (!lib.contains("commands") || !lib["commands"].is_array()) {
        return 0;
    }
    for (const Json& command : lib["commands"]) {
        if (number(command, "type", -1) == block->cmdType && number(command, "code", -1) == block->cmdCode) {
            return static_cast<int>(number(command, "status", 0));
        }
    }
    return 0;
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

} // namespace

extern "C" __attribute__((visibility("default"))) int ProcessLibCommandIR2(_AK_LIB_CMD_PARAM_T* block)
{
    if (block == nullptr) {
        return -1;
    }
    const std::string host = hostDirectory();
    const Json lib = librarySection(host);
    int status;
    if (block->cmdType == AK_LIB_CMD_TYPE_GENERAL && block->cmdCode == AK_LIB_CMD_CODE_INIT) {
        status = static_cast<int>(number(lib, "initStatus", 0));
    } else if (block->cmdType == AK_LIB_CMD_TYPE_GENERAL && block->cmdCode == AK_LIB_CMD_CODE_LIST_CONTROLLERS) {
        status = listControllers(lib, block);
    } else {
        status = commandStatus(lib, block);
    }
    record(host, block, status);
    return status;
}
