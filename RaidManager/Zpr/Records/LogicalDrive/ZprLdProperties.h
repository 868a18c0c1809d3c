// The 32-byte adjustable settings of a logical drive, at the start of its information record
// and of its configuration record; written back with DCMD_LD_SET_PROPERTIES.
#ifndef ZPRLDPROPERTIES_H
#define ZPRLDPROPERTIES_H

#include <cstddef>
#include <cstdint>

#include "PavUtil/LeView.h"

class ZprLdProperties {
public:
    static constexpr size_t SIZE = 32;

    static constexpr size_t REFERENCE = 0;                // ZprLdRef: target id, reserved, sequence
    static constexpr size_t TARGET_ID = 0;                // 8-bit
    static constexpr size_t SEQUENCE = 2;                 // 16-bit
    static constexpr size_t NAME = 4;                     // NUL-terminated text
    static constexpr size_t NAME_SIZE = 16;
    static constexpr size_t DEFAULT_CACHE_POLICY = 20;    // 8-bit cache-policy bits
    static constexpr size_t ACCESS_POLICY = 21;           // 8-bit: 0 read/write, 2 read only, 3 blocked
    static constexpr size_t DISK_CACHE_POLICY = 22;       // 8-bit: 0 default, 1 enabled, 2 disabled
    static constexpr size_t CURRENT_CACHE_POLICY = 23;    // 8-bit cache-policy bits
    static constexpr size_t BGI_DISABLED = 24;            // 8-bit: nonzero disabled
    static constexpr size_t FLAGS = 25;                   // 8-bit: bits 0 and 1
    static constexpr size_t DEFAULT_POWER_SAVINGS = 26;   // 8-bit
    static constexpr size_t CURRENT_POWER_SAVINGS = 27;   // 8-bit

    // The longest name the field holds with its terminating NUL.
    static constexpr size_t NAME_MAX_LENGTH = NAME_SIZE - 1;

    explicit ZprLdProperties(const LeView& bytes) : bytes(bytes) {}

    // The logical-drive reference as one word: target id, reserved byte, sequence number.
    static uint32_t makeReference(uint8_t targetId, uint16_t sequence)
    {
        return static_cast<uint32_t>(targetId) | (static_cast<uint32_t>(sequence) << 16);
    }

    uint32_t reference() const { return bytes.u32(REFERENCE); }
    size_t name(char* out, size_t outSize) const { return bytes.readText(NAME, NAME_SIZE, out, outSize); }
    // Stores the text and pads the field with NUL; refused (false) for a text of more than
    // NAME_MAX_LENGTH characters, which would leave no terminating NUL.
    bool setName(const char* text);
    uint8_t byteAt(size_t offset) const { return bytes.u8(offset); }
    bool setByteAt(size_t offset, uint8_t value) { return bytes.setU8(offset, value); }
    bool flagBit(unsigned bit) const { return bytes.bit(FLAGS, bit); }
    // Sets bit `bit` of the flag byte to bit 0 of `value`, keeping the others.
    bool setFlagBit(unsigned bit, uint8_t value)
    {
        const uint8_t mask = static_cast<uint8_t>(1u << bit);
        return bytes.setU8(FLAGS, static_cast<uint8_t>((bytes.u8(FLAGS) & ~mask) | ((value & 1u) << bit)));
    }

    const LeView& view() const { return bytes; }

private:
    LeView bytes;
};

inline bool ZprLdProperties::setName(const char* text)
{
    size_t length = 0;
    while (text != nullptr && length <= NAME_MAX_LENGTH && text[length] != '\0')
        ++length;
    if (text == nullptr || length > NAME_MAX_LENGTH)
        return false;
    return bytes.writeText(NAME, NAME_SIZE, text);
}

#endif
