// The configuration buffer: the controller's whole configuration in one block, read with
// DCMD_CFG_READ, written with DCMD_CFG_ADD, kept in the saved-configuration file and returned
// by the foreign-configuration commands. A ZprConfigHeader, then the array records, then the
// logical-drive records, then the spare records, each section stepping by its fixed record
// size.
//
// A buffer is used only once checkLayout has accepted it: its record sizes are the fixed ones
// and its total size is exactly what its records take, within the bytes at hand. The section
// offsets below then always lie inside the buffer.
#ifndef ZPRCONFIGBUFFER_H
#define ZPRCONFIGBUFFER_H

#include <cstddef>
#include <cstdint>

#include "PavUtil/LeView.h"
#include "RaidManager/Zpr/Records/Config/ZprArrayRecord.h"
#include "RaidManager/Zpr/Records/Config/ZprConfigHeader.h"
#include "RaidManager/Zpr/Records/Config/ZprLdRecord.h"
#include "RaidManager/Zpr/Records/Config/ZprSpareRecord.h"

class ZprConfigBuffer {
public:
    static constexpr size_t ARRAYS = ZprConfigHeader::SIZE;
    // What DCMD_CFG_READ answers by default: a header and one record of each kind.
    static constexpr size_t FIRST_READ_SIZE =
        ZprConfigHeader::SIZE + ZprArrayRecord::SIZE + ZprLdRecord::SIZE + ZprSpareRecord::SIZE;

    enum Layout {
        LAYOUT_OK = 0,
        LAYOUT_SHORT_HEADER,      // fewer bytes than a header
        LAYOUT_BAD_RECORD_SIZE,   // a section's record size is not its fixed size
        LAYOUT_SIZE_MISMATCH,     // the total size is not what the records take
        LAYOUT_TRUNCATED,         // the records do not fit in the bytes at hand
    };

    // An absent buffer: an empty view.
    ZprConfigBuffer() {}
    explicit ZprConfigBuffer(const LeView& bytes) : bytes(bytes) {}
    ZprConfigBuffer(const uint8_t* buffer, size_t size) : bytes(buffer, size) {}
    // A buffer whose records the model may change and send back.
    ZprConfigBuffer(uint8_t* buffer, size_t size) : bytes(buffer, size) {}

    // The size a buffer with these counts takes.
    static uint64_t sizeFor(uint32_t arrays, uint32_t lds, uint32_t spares)
    {
        return ZprConfigHeader::SIZE + static_cast<uint64_t>(arrays) * ZprArrayRecord::SIZE +
               static_cast<uint64_t>(lds) * ZprLdRecord::SIZE + static_cast<uint64_t>(spares) * ZprSpareRecord::SIZE;
    }

    ZprConfigHeader header() const { return ZprConfigHeader(bytes.sub(0, ZprConfigHeader::SIZE)); }
    // The size the header's counts call for.
    uint64_t requiredSize() const
    {
        ZprConfigHeader h = header();
        return sizeFor(h.arrayCount(), h.ldCount(), h.spareCount());
    }

    // Whether the header describes a buffer that can be walked. The record sizes must be the
    // fixed ones (a section without records may leave its size 0), the total size must equal
    // the size the counts call for, and that many bytes must be at hand.
    Layout checkLayout() const
    {
        if (!bytes.contains(0, ZprConfigHeader::SIZE))
            return LAYOUT_SHORT_HEADER;
        ZprConfigHeader h = header();
        if (!sectionSizeOk(h.arrayCount(), h.arrayRecordSize(), ZprArrayRecord::SIZE) ||
            !sectionSizeOk(h.ldCount(), h.ldRecordSize(), ZprLdRecord::SIZE) ||
            !sectionSizeOk(h.spareCount(), h.spareRecordSize(), ZprSpareRecord::SIZE))
            return LAYOUT_BAD_RECORD_SIZE;
        if (h.totalSize() != requiredSize())
            return LAYOUT_SIZE_MISMATCH;
        if (requiredSize() > bytes.size())
            return LAYOUT_TRUNCATED;
        return LAYOUT_OK;
    }

    uint16_t arrayCount() const { return header().arrayCount(); }
    uint16_t ldCount() const { return header().ldCount(); }
    uint16_t spareCount() const { return header().spareCount(); }

    size_t ldsOffset() const { return ARRAYS + static_cast<size_t>(arrayCount()) * ZprArrayRecord::SIZE; }
    size_t sparesOffset() const { return ldsOffset() + static_cast<size_t>(ldCount()) * ZprLdRecord::SIZE; }

    // Record `index` of a section; a record outside the buffer is absent.
    ZprArrayRecord arrayRecord(uint32_t index) const
    {
        return ZprArrayRecord(bytes.sub(ARRAYS + static_cast<size_t>(index) * ZprArrayRecord::SIZE, ZprArrayRecord::SIZE));
    }
    ZprLdRecord ldRecord(uint32_t index) const
    {
        return ZprLdRecord(bytes.sub(ldsOffset() + static_cast<size_t>(index) * ZprLdRecord::SIZE, ZprLdRecord::SIZE));
    }
    ZprSpareRecord spareRecord(uint32_t index) const
    {
        return ZprSpareRecord(
            bytes.sub(sparesOffset() + static_cast<size_t>(index) * ZprSpareRecord::SIZE, ZprSpareRecord::SIZE));
    }

    bool isPresent() const { return bytes.size() != 0; }
    const LeView& view() const { return bytes; }

private:
    static bool sectionSizeOk(uint16_t count, uint16_t recordSize, size_t fixedSize)
    {
        return recordSize == fixedSize || (count == 0 && recordSize == 0);
    }

    LeView bytes;
};

#endif
