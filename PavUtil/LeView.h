// A bounds-checked little-endian view over a byte buffer that something else owns.
//
// Firmware records, frames and packets are byte blocks whose multi-byte fields are
// little-endian and may sit at any offset. Every field is read and written through this view:
// bytes are assembled one at a time (no unaligned loads, no dependence on the host's byte
// order), and no access reaches outside the buffer. A read of a field that does not lie wholly
// inside the buffer answers 0 (an empty text, zeroed bytes) and marks the view as missed; a
// write of such a field is refused and changes nothing. A view made over const bytes is read
// only: every write to it is refused.
//
// The view is small and copied by value; it never owns nor frees the bytes.
#ifndef LEVIEW_H
#define LEVIEW_H

#include <cstddef>
#include <cstdint>

class LeView {
public:
    // An empty view: every read answers 0, every write is refused.
    LeView() : readable(nullptr), writable(nullptr), length(0), missed(false) {}
    // A view that reads and writes `size` bytes from `data` (a null `data` gives an empty view).
    LeView(uint8_t* data, size_t size)
        : readable(data), writable(data), length(data != nullptr ? size : 0), missed(false) {}
    // A read-only view.
    LeView(const uint8_t* data, size_t size)
        : readable(data), writable(nullptr), length(data != nullptr ? size : 0), missed(false) {}

    size_t size() const { return length; }
    const uint8_t* data() const { return readable; }
    bool isWritable() const { return writable != nullptr; }
    // The bytes for a writer that hands the whole buffer on (a record sent to the controller,
    // a record a data object keeps a pointer to); null for a read-only or empty view.
    uint8_t* writableData() const { return writable; }

    // True when `width` bytes from `offset` lie inside the buffer (no overflow for any inputs).
    bool contains(size_t offset, size_t width) const { return width <= length && offset <= length - width; }

    // True once any read of this view fell outside the buffer; cleared by clearMissed.
    bool wasMissed() const { return missed; }
    void clearMissed() { missed = false; }

    uint8_t u8(size_t offset) const { return static_cast<uint8_t>(load(offset, 1)); }
    uint16_t u16(size_t offset) const { return static_cast<uint16_t>(load(offset, 2)); }
    uint32_t u32(size_t offset) const { return static_cast<uint32_t>(load(offset, 4)); }
    uint64_t u64(size_t offset) const { return load(offset, 8); }
    // Bit `bit` (0 the least significant) of the byte at `offset`.
    bool bit(size_t offset, unsigned bit) const { return bit < 8 && ((u8(offset) >> bit) & 1u) != 0; }

    // Writes answer false, and change nothing, when refused.
    bool setU8(size_t offset, uint8_t value) { return store(offset, value, 1); }
    bool setU16(size_t offset, uint16_t value) { return store(offset, value, 2); }
    bool setU32(size_t offset, uint32_t value) { return store(offset, value, 4); }
    bool setU64(size_t offset, uint64_t value) { return store(offset, value, 8); }

    // Copies `count` bytes from `offset` to `out`; when they are not all inside, `out` is
    // zeroed instead and the result is false.
    bool readBytes(size_t offset, void* out, size_t count) const;
    // Copies `count` bytes from `in` to `offset`; refused unless they all fit.
    bool writeBytes(size_t offset, const void* in, size_t count);
    // Sets `count` bytes from `offset` to `value`; refused unless they all fit.
    bool fill(size_t offset, uint8_t value, size_t count);

    // A fixed-width text field of `width` bytes: its text ends at the first NUL or at the end
    // of the field. readText copies it to `out` (room for `outSize` bytes, NUL included),
    // cut to fit, and answers the number of characters copied; a field not inside the buffer
    // gives the empty text. writeText stores `text` cut to `width` bytes and pads the rest of
    // the field with NUL; refused unless the field fits.
    size_t readText(size_t offset, size_t width, char* out, size_t outSize) const;
    bool writeText(size_t offset, size_t width, const char* text);

    // A view of `count` bytes from `offset`, writable when this view is; an empty view (and
    // this view marked missed) when they are not all inside.
    LeView sub(size_t offset, size_t count) const;

    // How many entries of `entrySize` bytes fit from `offset` to the end of the buffer, at most
    // `maxEntries`.
    size_t room(size_t offset, size_t entrySize, size_t maxEntries = SIZE_MAX) const;

private:
    uint64_t load(size_t offset, size_t width) const;
    bool store(size_t offset, uint64_t value, size_t width);

    const uint8_t* readable;
    uint8_t* writable;
    size_t length;
    mutable bool missed;
};

// The smaller of a count read from a record and the room the record has for it: what bounds a
// loop over the record's entries.
inline uint32_t clampCount(uint32_t count, size_t room)
{
    return count <= room ? count : static_cast<uint32_t>(room);
}

#endif
