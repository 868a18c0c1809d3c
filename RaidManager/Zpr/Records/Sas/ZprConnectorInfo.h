// The SAS connector information, read with DCMD_SAS_GET_CONNECTOR_INFO: a count and up to
// eight entries of a location byte and a name.
#ifndef ZPRCONNECTORINFO_H
#define ZPRCONNECTORINFO_H

#include <cstddef>
#include <cstdint>

#include "PavUtil/LeView.h"

class ZprConnectorInfo {
public:
    static constexpr size_t SIZE = 168;

    static constexpr size_t COUNT = 0;                // 32-bit; only the low byte is used
    static constexpr size_t ENTRIES = 8;
    static constexpr size_t ENTRY_SIZE = 20;
    static constexpr size_t MAX_ENTRIES = 8;
    static constexpr size_t LOCATION = 0;             // within an entry: 0 unknown, 2 internal, 3 external
    static constexpr size_t NAME = 4;                 // within an entry, NUL-terminated
    static constexpr size_t NAME_WIDTH = 16;

    explicit ZprConnectorInfo(const LeView& bytes) : bytes(bytes) {}
    ZprConnectorInfo(const uint8_t* record, size_t size) : bytes(record, size) {}

    uint8_t count() const { return bytes.u8(COUNT); }
    // The count clamped to the entries the record has room for.
    uint8_t entryCount() const { return static_cast<uint8_t>(clampCount(count(), MAX_ENTRIES)); }
    uint8_t location(size_t index) const { return bytes.u8(ENTRIES + ENTRY_SIZE * index + LOCATION); }
    // Entry i's name into `out` (room for `outSize` bytes, NUL included); its length.
    size_t name(size_t index, char* out, size_t outSize) const
    {
        return bytes.readText(ENTRIES + ENTRY_SIZE * index + NAME, NAME_WIDTH, out, outSize);
    }

    const LeView& view() const { return bytes; }

private:
    LeView bytes;
};

#endif
