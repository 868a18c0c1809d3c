// The 88-byte header of a saved-configuration file. The file holds this header, then the
// controller's configuration buffer byte for byte as the controller gave it, then the 64-byte
// controller-properties record, and nothing else; every number is little-endian.
#ifndef SAVEDCONFIGHEADER_H
#define SAVEDCONFIGHEADER_H

#include <cstddef>
#include <cstdint>
#include <cstring>

#include "PavUtil/LeView.h"
#include "RaidManager/Zpr/Records/Controller/ZprControllerProperties.h"

class SavedConfigHeader {
public:
    static constexpr size_t SIZE = 88;

    static constexpr size_t VERSION = 0;        // text, NUL-terminated
    static constexpr size_t VERSION_SIZE = 8;
    static constexpr size_t SIGNATURE = 8;      // text, NUL-terminated, the rest zero
    static constexpr size_t SIGNATURE_SIZE = 32;
    static constexpr size_t CONFIG_SIZE = 40;   // 32-bit: the configuration buffer's length
    static constexpr size_t CHECKSUM = 44;      // 32-bit: see checksumOf
    static constexpr size_t FILE_LENGTH = 48;   // 64-bit: the whole file's length
    static constexpr size_t RESERVED = 56;      // 32 bytes, zero

    // What the file holds besides the configuration buffer: this header and the properties.
    static constexpr size_t FRAME_SIZE = SIZE + ZprControllerProperties::SIZE;

    static constexpr const char* VERSION_TEXT = "1.00.00";
    static constexpr const char* SIGNATURE_TEXT = "ORVANESASCONFIGSTRUCT";

    explicit SavedConfigHeader(const LeView& bytes) : bytes(bytes) {}

    uint32_t configSize() const { return bytes.u32(CONFIG_SIZE); }
    uint32_t checksum() const { return bytes.u32(CHECKSUM); }
    uint64_t fileLength() const { return bytes.u64(FILE_LENGTH); }
    // The signature field holds the signature text, up to its NUL (what follows the NUL is not
    // looked at).
    bool hasSignature() const
    {
        char text[SIGNATURE_SIZE + 1];
        bytes.readText(SIGNATURE, SIGNATURE_SIZE, text, sizeof text);
        return std::strcmp(text, SIGNATURE_TEXT) == 0;
    }

    // Fills a zeroed header for a configuration buffer of `size` bytes with that checksum.
    bool build(uint32_t size, uint32_t sum)
    {
        return bytes.fill(0, 0, SIZE) && bytes.writeText(VERSION, VERSION_SIZE, VERSION_TEXT) &&
               bytes.writeText(SIGNATURE, SIGNATURE_SIZE, SIGNATURE_TEXT) && bytes.setU32(CONFIG_SIZE, size) &&
               bytes.setU32(CHECKSUM, sum) && bytes.setU64(FILE_LENGTH, static_cast<uint64_t>(size) + FRAME_SIZE);
    }

    // The checksum of a configuration buffer: 0 minus the wrapping sum of its first size / 4
    // 32-bit words, so that words and checksum add up to 0. Trailing bytes of a size that is not
    // a multiple of 4 are not covered.
    static uint32_t checksumOf(const LeView& buffer, uint32_t size)
    {
        uint32_t sum = 0;
        for (size_t at = 0; at + 4 <= size; at += 4)
            sum += buffer.u32(at);
        return 0u - sum;
    }

    const LeView& view() const { return bytes; }

private:
    LeView bytes;
};

#endif
