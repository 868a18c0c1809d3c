// A controller whose firmware answers from records a test lays out: each controller command is
// logged (opcode, mailbox word 0, the frame's data length, the bytes written) and answered
// with as much of the opcode's record as the frame holds, or with a scripted failure status.
// The OS boundary it installs records shell commands instead of running them.
#ifndef SCRIPTEDCONTROLLER_H
#define SCRIPTEDCONTROLLER_H

#include <cstdint>
#include <cstring>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "ControllerMgmt/Controller.h"
#include "DataProvider/ControllerId.h"
#include "DataProvider/DataProvider.h"
#include "DataProvider/DpParams.h"
#include "System/OsBoundary.h"

namespace scripted {

inline void put(std::vector<uint8_t>& bytes, size_t offset, uint64_t value, int width)
{
    for (int i = 0; i < width; ++i)
        bytes[offset + i] = static_cast<uint8_t>(value >> (8 * i));
}

inline uint64_t get(const uint8_t* bytes, size_t offset, int width)
{
    uint64_t value = 0;
    for (int i = width - 1; i >= 0; --i)
        value = (value << 8) | bytes[offset + i];
    return value;
}

struct Sent {
    uint32_t opcode;
    uint32_t mailbox0;
    uint32_t length;
    std::vector<uint8_t> written;   // the buffer as the command carried it
};

class Firmware : public DataProvider {
public:
    // The record an opcode answers with; a record shorter than the frame leaves the rest zero.
    std::map<uint32_t, std::vector<uint8_t>> records;
    // A status answered instead of the record, from the call with this number on (1 = every call).
    struct Failure { int status; int fromCall; };
    std::map<uint32_t, Failure> failures;
    // Changes the record of an opcode after each call (a configuration that changes between reads).
    std::function<void(uint32_t opcode, std::vector<uint8_t>& record)> afterCall;
    // Writes into the caller's buffer after the record was copied (device-list answers).
    std::function<void(uint32_t opcode, uint8_t* data, uint32_t length)> writeBack;
    std::vector<Sent> sent;

    int execute(DpParams* request) override
    {
        DcmdZprDpParams* dcmd = dynamic_cast<DcmdZprDpParams*>(request);
        if (dcmd == nullptr)
            return -1;
        uint32_t opcode = dcmd->getOpcode();
        uint32_t length = dcmd->dataLength();
        uint32_t room = dcmd->bufferLength() < length ? dcmd->bufferLength() : length;
        uint8_t* data = static_cast<uint8_t*>(request->dataBuffer());
        sent.push_back({opcode, dcmd->getMailbox0(), length,
                        data != nullptr ? std::vector<uint8_t>(data, data + room) : std::vector<uint8_t>()});
        int calls = 0;
        for (const Sent& s : sent)
            calls += s.opcode == opcode ? 1 : 0;
        auto failing = failures.find(opcode);
        if (failing != failures.end() && calls >= failing->second.fromCall)
            return failing->second.status;
        auto record = records.find(opcode);
        if (record != records.end() && data != nullptr) {
            size_t n = record->second.size() < room ? record->second.size() : room;
            if (n != 0)  // an empty record has no bytes to copy from (its data() may be null)
                memcpy(data, record->second.data(), n);
            if (afterCall)
                afterCall(opcode, record->second);
        }
        if (writeBack && data != nullptr)
            writeBack(opcode, data, room);
        return 0;
    }
    bool supports(uint8_t kind) override { return kind == DP_KIND_DCMD; }

    // The data lengths of the commands sent with `opcode`, in order.
    std::vector<uint32_t> lengths(uint32_t opcode) const
    {
        std::vector<uint32_t> out;
        for (const Sent& s : sent)
            if (s.opcode == opcode)
                out.push_back(s.length);
        return out;
    }
};

class Id : public ControllerId {
public:
    Id() {}
    ~Id() override {}
};

class TestController : public Controller {
public:
    explicit TestController(Firmware* firmware) : Controller(&id) { addDataProvider(firmware); }
    ~TestController() override {}
    const string& name() const override
    {
        static const string text("Scripted Controller");
        return text;
    }
    uint8_t adapterNumberBase() const override { return 0; }
    string vendorName() const override { return string("Test"); }

private:
    Id id;
};

// Records shell commands instead of running them, while it lives.
class ShellLog : public OsBoundary {
public:
    ShellLog() { setOsBoundary(this); }
    ~ShellLog() override { setOsBoundary(nullptr); }
    int system(const char* command) override
    {
        commands.push_back(command != nullptr ? command : "");
        return 0;
    }
    std::vector<std::string> commands;
};

// A configuration buffer with these counts and exactly the size they take; the records are
// zero but for the header.
inline std::vector<uint8_t> configBuffer(uint16_t arrays, uint16_t lds, uint16_t spares)
{
    uint32_t size = 32 + 288u * arrays + 256u * lds + 40u * spares;
    std::vector<uint8_t> b(size, 0);
    put(b, 0, size, 4);
    put(b, 4, arrays, 2);
    put(b, 6, 288, 2);
    put(b, 8, lds, 2);
    put(b, 10, 256, 2);
    put(b, 12, spares, 2);
    put(b, 14, 40, 2);
    return b;
}

// A drive list (or drive-query answer) of `count` entries, device ids 0x10, 0x11, ...
inline std::vector<uint8_t> pdList(uint32_t count)
{
    std::vector<uint8_t> b(8 + 24 * count, 0);
    put(b, 0, b.size(), 4);
    put(b, 4, count, 4);
    for (uint32_t i = 0; i < count; ++i)
        put(b, 8 + 24 * i, 0x10 + i, 2);
    return b;
}

}  // namespace scripted

#endif
