// The key=value texts of the controller, read with DCMD_ADP_GET_KEY_VALUES: a 32-bit word,
// then texts of the form key=value, each ending with a NUL, up to an empty text or the end of
// the block. The last text need not end with a NUL: every text ends at the block's end.
#ifndef ZPRKEYVALUEBLOCK_H
#define ZPRKEYVALUEBLOCK_H

#include <cstddef>
#include <cstdint>

#include "PavUtil/LeView.h"

class ZprKeyValueBlock {
public:
    static constexpr size_t SIZE = 1024;

    static constexpr size_t HEADER = 0;   // 32-bit
    static constexpr size_t TEXTS = 4;

    explicit ZprKeyValueBlock(const LeView& bytes) : bytes(bytes) {}
    ZprKeyValueBlock(const uint8_t* record, size_t size) : bytes(record, size) {}

    // The offset of the first text.
    size_t firstText() const { return TEXTS; }
    // The length of the text at `offset`, up to its NUL or the block's end; 0 for the empty
    // text that ends the list, and past the block.
    size_t textLength(size_t offset) const
    {
        size_t length = 0;
        while (offset + length < bytes.size() && bytes.u8(offset + length) != 0)
            ++length;
        return length;
    }
    // The offset of the text after the one at `offset` (of length `length`).
    size_t nextText(size_t offset, size_t length) const { return offset + length + 1; }
    // The character at `offset` of the block.
    char charAt(size_t offset) const { return static_cast<char>(bytes.u8(offset)); }

    const LeView& view() const { return bytes; }

private:
    LeView bytes;
};

#endif
