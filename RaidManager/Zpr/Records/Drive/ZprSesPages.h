// The SCSI Enclosure Services diagnostic pages that an enclosure device answers to RECEIVE
// DIAGNOSTIC RESULTS: the configuration page (01h), which lists the element types the enclosure
// has and how many of each, and the enclosure status page (02h), which holds one 4-byte status
// element per element, type after type, each type's overall element first. Their multi-byte
// fields are big-endian.
//
// An enclosure answers what it likes: every field is read through the bounds-checked view, and
// only from the bytes that both the page's own length field and the buffer cover. A header or
// element outside them counts as absent.
#ifndef ZPRSESPAGES_H
#define ZPRSESPAGES_H

#include <cstddef>
#include <cstdint>

#include "PavUtil/LeView.h"

// The RECEIVE DIAGNOSTIC RESULTS command block (6 bytes).
struct ZprReceiveDiagnosticCdb {
    static constexpr size_t SIZE = 6;
    static constexpr uint8_t OPCODE = 0x1C;
    static constexpr uint8_t PAGE_CODE_VALID = 0x01;   // byte 1: a page is asked for

    // Byte 1 PCV unless the page code is 0, byte 2 the page, bytes 3-4 the allocation length.
    static void build(uint8_t (&cdb)[SIZE], uint8_t pageCode, uint16_t allocation)
    {
        cdb[0] = OPCODE;
        cdb[1] = pageCode != 0 ? PAGE_CODE_VALID : 0;
        cdb[2] = pageCode;
        cdb[3] = static_cast<uint8_t>(allocation >> 8);
        cdb[4] = static_cast<uint8_t>(allocation);
        cdb[5] = 0;
    }
};

// What the two pages share: the page code, the big-endian page length of the bytes after the
// first four, and the end of what may be read.
class ZprSesPage {
public:
    static constexpr size_t PAGE_CODE = 0;
    static constexpr size_t PAGE_LENGTH = 2;       // 16-bit big-endian: the bytes after byte 3
    static constexpr size_t HEADER_SIZE = 4;
    static constexpr size_t ELEMENT_SIZE = 4;      // one status element

    explicit ZprSesPage(const LeView& bytes) : bytes(bytes) {}

    uint8_t pageCode() const { return bytes.u8(PAGE_CODE); }
    uint16_t pageLength() const
    {
        return static_cast<uint16_t>((bytes.u8(PAGE_LENGTH) << 8) | bytes.u8(PAGE_LENGTH + 1));
    }
    // The bytes the page covers: its length field, cut to the buffer.
    size_t end() const
    {
        const size_t reported = HEADER_SIZE + pageLength();
        return reported < bytes.size() ? reported : bytes.size();
    }
    // True when `width` bytes from `offset` lie inside what the page covers.
    bool covers(size_t offset, size_t width) const { return width <= end() && offset <= end() - width; }

    const LeView& view() const { return bytes; }

protected:
    LeView bytes;
};

// The configuration page: one enclosure descriptor (the primary subenclosure; secondary ones
// are not taken into account), then the type descriptor headers, 4 bytes each: the element type
// and the number of possible elements of that type.
class ZprSesConfigPage : public ZprSesPage {
public:
    static constexpr uint8_t CODE = 0x01;
    static constexpr uint16_t ALLOCATION = 1008;

    static constexpr size_t TYPE_HEADER_COUNT = 10;          // 8-bit
    static constexpr size_t ENCLOSURE_DESCRIPTOR_LENGTH = 11;   // 8-bit: the bytes after byte 11
    static constexpr size_t ENCLOSURE_DESCRIPTOR_END = 12;
    static constexpr size_t TYPE_HEADER_SIZE = 4;
    static constexpr size_t HEADER_TYPE = 0;                 // within a type descriptor header
    static constexpr size_t HEADER_ELEMENTS = 1;

    // Where the enclosure status page's elements begin: 8 bytes of page header.
    static constexpr uint32_t STATUS_ELEMENTS = 8;

    explicit ZprSesConfigPage(const LeView& bytes) : ZprSesPage(bytes) {}

    size_t typeHeadersOffset() const { return ENCLOSURE_DESCRIPTOR_END + bytes.u8(ENCLOSURE_DESCRIPTOR_LENGTH); }
    // The page's number of type descriptor headers, clamped to the headers that lie wholly
    // inside what the page covers.
    uint32_t typeHeaderCount() const
    {
        const size_t from = typeHeadersOffset();
        const size_t room = from < end() ? (end() - from) / TYPE_HEADER_SIZE : 0;
        return clampCount(bytes.u8(TYPE_HEADER_COUNT), room);
    }
    // Header `index` (below typeHeaderCount).
    uint8_t elementType(uint32_t index) const { return bytes.u8(headerAt(index) + HEADER_TYPE); }
    uint8_t elementCount(uint32_t index) const { return bytes.u8(headerAt(index) + HEADER_ELEMENTS); }

    // The offset in the enclosure status page of the `index`-th individual element of `type`:
    // 8 + 4 x (E + T + 1 + index), where T headers come before the first header of the type and
    // E is the sum of their element counts. 0 when this is not a configuration page, when no
    // header has the type, when the type has no `index`-th element, or when the offset does not
    // fit 16 bits.
    uint16_t elementOffset(uint8_t type, uint32_t index) const
    {
        if (pageCode() != CODE)
            return 0;
        const uint32_t headers = typeHeaderCount();
        uint32_t elementsBefore = 0;
        for (uint32_t t = 0; t < headers; ++t) {
            if (elementType(t) != type) {
                elementsBefore += elementCount(t);
                continue;
            }
            if (index >= elementCount(t))
                return 0;
            const uint32_t offset =
                STATUS_ELEMENTS + static_cast<uint32_t>(ELEMENT_SIZE) * (elementsBefore + t + 1 + index);
            return offset <= 0xFFFF ? static_cast<uint16_t>(offset) : 0;
        }
        return 0;
    }

private:
    size_t headerAt(uint32_t index) const { return typeHeadersOffset() + static_cast<size_t>(index) * TYPE_HEADER_SIZE; }
};

// The enclosure status page: after its 8-byte header, per element type one overall status
// element and then the individual elements, 4 bytes each. The low 4 bits of an element's first
// byte are its status code.
class ZprSesStatusPage : public ZprSesPage {
public:
    static constexpr uint8_t CODE = 0x02;
    static constexpr size_t STATUS_CODE = 0;       // bits 0-3 of the element's byte 0
    static constexpr uint8_t STATUS_CODE_MASK = 0x0F;

    explicit ZprSesStatusPage(const LeView& bytes) : ZprSesPage(bytes) {}

    // Copies the status element at `offset` to `out`; false, and nothing copied, when the
    // offset is 0 or the element does not lie inside what the page covers.
    bool element(size_t offset, uint8_t (&out)[ELEMENT_SIZE]) const
    {
        return offset != 0 && covers(offset, ELEMENT_SIZE) && bytes.readBytes(offset, out, ELEMENT_SIZE);
    }
};

// The buffer the configuration page is read into: four 32-bit words that record where the type
// descriptor headers begin and how many of them the page covers, then the page itself.
struct ZprSesConfigBuffer {
    static constexpr size_t SIZE = 1024;
    static constexpr size_t TYPE_HEADERS_OFFSET = 0;   // 32-bit: within the page
    static constexpr size_t TYPE_HEADERS = 4;          // 32-bit: headers the page covers
    static constexpr size_t PAGE = 16;
    static constexpr size_t PAGE_SIZE = ZprSesConfigPage::ALLOCATION;
};

#endif
