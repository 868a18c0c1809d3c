// What the parts of the integrated-RAID library stand-in share: the "ir2Library" section of the
// host's state.json as JSON, and writers of little-endian fields into the caller's buffer.
#ifndef IR2STANDIN_H
#define IR2STANDIN_H

#include <cstdint>
#include <string>

#include <nlohmann/json.hpp>

#include "DataProvider/AkLibCommand.h"

namespace ir2 {

typedef nlohmann::json Json;

// A number written as a JSON number or as a "0x..." / decimal string; def otherwise.
int64_t number(const Json& obj, const char* key, int64_t def);
// A text member; def when missing or not a text.
std::string text(const Json& obj, const char* key, const std::string& def = std::string());
// A true/false member; def when missing.
bool flag(const Json& obj, const char* key, bool def = false);

// The caller's buffer, written only within its data length.
class Reply {
public:
    explicit Reply(_AK_LIB_CMD_PARAM_T* block)
        : out(static_cast<uint8_t*>(block->data)), size(block->data != nullptr ? block->dataLength : 0)
    {
    }
    void put(size_t offset, uint64_t value, size_t width);
    // At most width - 1 characters and a NUL.
    void putText(size_t offset, size_t width, const std::string& value);
    const uint8_t* data() const { return out; }
    size_t length() const { return size; }

private:
    uint8_t* out;
    size_t size;
};

// The host-cache driver's commands (type 11). `changed` is set when the section was changed
// and must be written back.
int hostCacheCommand(Json& lib, _AK_LIB_CMD_PARAM_T* block, bool& changed);
// The controller-information (type 1 code 0) and card-health (type 10 code 2) commands.
int controllerInfoCommand(const Json& lib, _AK_LIB_CMD_PARAM_T* block);
int cardHealthCommand(const Json& lib, _AK_LIB_CMD_PARAM_T* block);

} // namespace ir2

#endif
