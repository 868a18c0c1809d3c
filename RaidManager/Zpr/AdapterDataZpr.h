// The adapter data of the controllers spoken to through DCMD firmware commands. Records are
// read on first use and kept for the life of the object (a RAID-manager refresh builds a new
// one); a failed read caches nothing, so the next use asks again (the phy list excepted: it
// stays, zeroed, after a failed read). Setters change the cached copy and mark it changed; a
// commit writes a changed record back and clears the mark once the controller took it, so a
// commit that failed can be tried again.
#ifndef ADAPTERDATAZPR_H
#define ADAPTERDATAZPR_H

#include <cstddef>
#include <ctime>
#include <type_traits>

#include "RaidManager/Adapter.h"

// This application's own compatibility levels, compared with the firmware's.
const uint16_t APPLICATION_FORWARD_COMPAT_LEVEL = 0;
const uint16_t APPLICATION_BACKWARD_COMPAT_LEVEL = 0;

// What an operation that is not carried out yet answers: refused (-1), or 0 for one that
// answers a value.
template <typename R, typename... Args>
R notCarriedOut(Args&&...)
{
    return std::is_same<R, int>::value ? static_cast<R>(-1) : static_cast<R>(0);
}

class AdapterDataZpr : public AdapterData {
public:
    // The records the object caches, each read by one command (and written by one, where it
    // can be changed).
    enum Record {
        PROPERTIES,
        EVENT_LOG_INFO,
        BIOS_DATA,
        CONTROLLER_INFO,
        MFC_DEFAULTS,
        PATROL_READ_PROPERTIES,
        CONNECTOR_MODES,
        CONNECTOR_INFO,
        CC_SCHEDULE,
        PHY_LIST,
        RECORD_COUNT
    };

    AdapterDataZpr(Controller* controller, RaidElementId* id);
    ~AdapterDataZpr() override;
    string toString() override;

#define ADAPTER_OP(ret, name, params, args) [[nodiscard]] ret name params override;
#define ADAPTER_OP_PENDING(ret, name, params, args) \
    [[nodiscard]] ret name params override { return notCarriedOut<ret> args; }
#define ADAPTER_OP_ELEMENT ADAPTER_OP
#include "RaidManager/AdapterOperations.def"
#undef ADAPTER_OP
#undef ADAPTER_OP_PENDING
#undef ADAPTER_OP_ELEMENT

    // Asks the controller how long the response of a phy-control request with these header
    // fields is: the 4-byte answer (its byte 1 the length) into `answer`; the status.
    [[nodiscard]] int probePhyControlLength(uint8_t operation, uint8_t function, uint8_t selector, uint32_t value,
                              uint8_t* answer);
    // The firmware's epoch: 1 January 2000 00:00:00 local time, daylight saving time not in
    // force, as mktime computes it; and the difference daylight saving time makes to that
    // date, in seconds.
    static time_t firmwareEpoch();
    static time_t daylightSavingOffset();

    AdapterDataZpr(const AdapterDataZpr&) = delete;
    AdapterDataZpr& operator=(const AdapterDataZpr&) = delete;

private:
    // Reads a record unless it is cached: 0, or the read status.
    [[nodiscard]] int loadRecord(Record record);
    // Writes a cached record back when its change mark is set; the mark is cleared once the
    // controller took the record.
    [[nodiscard]] int commitRecord(Record record, bool& changed);
    // Writes a cached record with its write command, whatever its change mark; -1 when none
    // is cached.
    [[nodiscard]] int writeRecord(Record record);
    // Drive-security key commands: one key text in its zero-filled block (refused, -1, when it
    // does not fit with its NUL), and a key id read into `keyId` on success; the status.
    [[nodiscard]] int sendKeyText(uint32_t opcode, const string& text, uint32_t mailbox0);
    [[nodiscard]] int readKeyId(uint32_t opcode, uint32_t mailbox0, string* keyId);
    // Changes the cached BIOS data (read once) with `change` and marks it changed; the read
    // status. changeBiosData sets the boot device.
    template <typename F>
    [[nodiscard]] int changeBios(F change);
    [[nodiscard]] int changeBiosData(uint16_t bootDevice, bool physical);
    // Patrol-read properties and schedule: stores a field of the cached record (read once;
    // -1 when it cannot be) and writes the record at once; the write status.
    [[nodiscard]] int changeAndWrite(Record record, size_t offset, size_t width, uint32_t value);
    // Sends one controller command with a buffer (mailbox word 0 as given, the others zero);
    // the firmware or transport status.
    [[nodiscard]] int send(uint32_t opcode, uint8_t* buffer, uint32_t length, uint32_t mailbox0 = 0);
    // Sends one controller command with mailbox words 0-2 and a buffer (length 0: the opcode's
    // own); `mailboxAfter`, when given, receives the request's three mailbox words as they
    // stand after the command. The firmware or transport status.
    [[nodiscard]] int sendWithMailbox(uint32_t opcode, const uint32_t (&mailbox)[3], uint8_t* buffer, uint32_t length,
                        uint32_t* mailboxAfter = nullptr);
    // The event-capture control command with `action` in word 0 (no data).
    [[nodiscard]] int controlEventCapture(uint32_t action, uint32_t word1, uint32_t word2, uint32_t* mailboxAfter = nullptr);
    // Reads the runtime-status word (never cached): 0, or the read status.
    [[nodiscard]] int readRuntimeStatus();

    // An answer from a cached record: reads it once, and on success writes what `value`
    // makes of the record into `out`; the read status.
    template <typename View, typename T, typename F>
    [[nodiscard]] int answerFrom(Record record, T* out, F value);
    // A controller-information flag, byte or word.
    [[nodiscard]] int infoFlag(size_t offset, unsigned bit, uint8_t* out);
    [[nodiscard]] int infoByte(size_t offset, uint8_t* out);
    [[nodiscard]] int infoWord(size_t offset, uint16_t* out);
    // A value of the cached controller information, 0 when it cannot be read.
    uint8_t infoFlagOrZero(size_t offset, unsigned bit);
    // The version text of the first image component whose name begins with `prefix`.
    [[nodiscard]] int imageVersion(const char* prefix, string* version);
    // A text field of the controller information.
    [[nodiscard]] int infoText(size_t offset, size_t width, string* text);
    // A manufacturing-defaults byte.
    [[nodiscard]] int defaultsByte(size_t offset, uint8_t* out);
    [[nodiscard]] int runtimeStatusBit(unsigned bit, uint8_t* out);
    // Sends one phy-control request buffer of `length` bytes (-1 without the Linux data provider).
    [[nodiscard]] int sendPhyControl(uint8_t* request, uint32_t length);
    // The error counters of one phy, its number grouped by eight or flat.
    [[nodiscard]] int readPhyErrorCounters(uint8_t phy, uint8_t* counters, bool flat);

    // Controller-properties fields: a byte or 16-bit word (`width` 1 or 2) or one bit of a
    // byte, read from the cached record; the read status, `out` written on success.
    [[nodiscard]] int propertyValue(size_t offset, size_t width, uint32_t* out);
    [[nodiscard]] int propertyBit(size_t offset, unsigned bit, uint32_t* out);
    // Changes the cached record and marks it changed: a whole field, or the bits of `mask`
    // in one byte (the others kept). The read status; nothing is sent.
    [[nodiscard]] int changeProperty(size_t offset, size_t width, uint32_t value);
    [[nodiscard]] int changePropertyBits(size_t offset, uint8_t mask, uint8_t bits);

    uint8_t* records[RECORD_COUNT];   // each owned, or null until read
    uint32_t runtimeStatus;           // valid only after a successful read
    bool propertiesChanged;
    bool connectorModesChanged;
    bool biosDataChanged;
};

#endif
