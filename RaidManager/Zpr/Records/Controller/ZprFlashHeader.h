// The component header of a controller firmware image file: the 1,084 bytes the image reader
// takes from the header's first byte. A component's header stands at one of a few offsets from
// the component's start; the version text and the key=value area lie inside these bytes at
// offsets the header gives.
#ifndef ZPRFLASHHEADER_H
#define ZPRFLASHHEADER_H

#include <cstddef>
#include <cstdint>

#include "PavUtil/LeView.h"

class ZprFlashHeader {
public:
    static constexpr size_t SIZE = 1084;

    static constexpr size_t SIGNATURE = 0;           // 32-bit, one of IMAGE_SIGNATURE_WORDS
    static constexpr size_t COMPONENT_TAG = 16;      // 4 characters, then a NUL at 20
    static constexpr size_t COMPONENT_TAG_WIDTH = 5;
    static constexpr size_t COMPONENT_LENGTH = 24;   // 32-bit, bytes from the component's start
    static constexpr size_t VERSION_OFFSET = 28;     // 32-bit, from the header's first byte
    static constexpr size_t KEY_VALUE_OFFSET = 40;   // 32-bit, from the header's first byte
    static constexpr size_t FIXED_FIELDS = 44;       // the fields above; the texts follow

    // The key=value area: a 32-bit length of its text part, then KEY=value texts, each ended
    // by a NUL; an empty text ends the area early.
    static constexpr size_t KEY_VALUE_LENGTH = 0;
    static constexpr size_t KEY_VALUE_TEXTS = 4;

    // Where a header may stand from a component's start, tried in this order, in each 64 KiB
    // block from the search position on.
    static constexpr uint32_t HEADER_OFFSETS[4] = {0x0000, 0x0020, 0x2020, 0xFF80};
    static constexpr uint32_t BLOCK_SIZE = 0x10000;

    explicit ZprFlashHeader(const LeView& bytes) : bytes(bytes) {}
    ZprFlashHeader(const uint8_t* header, size_t size) : bytes(header, size) {}

    uint32_t signature() const { return bytes.u32(SIGNATURE); }
    uint32_t componentLength() const { return bytes.u32(COMPONENT_LENGTH); }
    uint32_t versionOffset() const { return bytes.u32(VERSION_OFFSET); }
    uint32_t keyValueOffset() const { return bytes.u32(KEY_VALUE_OFFSET); }
    // The tag as a NUL-terminated text of at most 5 characters.
    size_t componentTag(char* out, size_t outSize) const
    {
        return bytes.readText(COMPONENT_TAG, COMPONENT_TAG_WIDTH, out, outSize);
    }

    const LeView& view() const { return bytes; }

private:
    LeView bytes;
};

#endif
