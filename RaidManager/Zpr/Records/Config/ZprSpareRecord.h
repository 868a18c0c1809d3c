// One hot spare of the configuration buffer (also sent alone to make a drive a hot spare):
// the drive, and for a dedicated spare the arrays it serves.
#ifndef ZPRSPARERECORD_H
#define ZPRSPARERECORD_H

#include <cstddef>
#include <cstdint>

#include "PavUtil/LeView.h"

class ZprSpareRecord {
public:
    static constexpr size_t SIZE = 40;

    static constexpr size_t DEVICE_ID = 0;        // 16-bit
    static constexpr size_t SEQUENCE = 2;         // 16-bit sequence number of the drive's record
    static constexpr size_t FLAGS = 4;            // 8-bit, bits below
    static constexpr size_t ARRAY_REF_COUNT = 7;  // 8-bit number of array references in use
    static constexpr size_t ARRAY_REFS = 8;       // 16-bit array references
    static constexpr uint32_t MAX_ARRAY_REFS = 16;

    static constexpr unsigned FLAG_DEDICATED = 0;           // serves only the listed arrays
    static constexpr unsigned FLAG_REVERTIBLE = 1;
    static constexpr unsigned FLAG_ENCLOSURE_AFFINITY = 2;

    // An absent record: an empty view.
    ZprSpareRecord() {}
    explicit ZprSpareRecord(const LeView& bytes) : bytes(bytes) {}

    bool isPresent() const { return bytes.size() != 0; }

    uint16_t deviceId() const { return bytes.u16(DEVICE_ID); }
    uint16_t sequenceNumber() const { return bytes.u16(SEQUENCE); }
    uint8_t flags() const { return bytes.u8(FLAGS); }
    bool isDedicated() const { return bytes.bit(FLAGS, FLAG_DEDICATED); }
    bool isRevertible() const { return bytes.bit(FLAGS, FLAG_REVERTIBLE); }
    bool hasEnclosureAffinity() const { return bytes.bit(FLAGS, FLAG_ENCLOSURE_AFFINITY); }
    // The count as the firmware reports it: not a loop bound.
    uint8_t arrayRefCount() const { return bytes.u8(ARRAY_REF_COUNT); }
    // The references to walk: the count, clamped to the room of the record.
    uint32_t arrayRefEntryCount() const
    {
        return clampCount(arrayRefCount(), bytes.room(ARRAY_REFS, 2, MAX_ARRAY_REFS));
    }
    uint16_t arrayRef(uint32_t index) const { return bytes.u16(ARRAY_REFS + static_cast<size_t>(index) * 2); }

    // Writers of a record the program builds (over a writable view).
    bool setDeviceId(uint16_t id) { return bytes.setU16(DEVICE_ID, id); }
    bool setSequenceNumber(uint16_t sequence) { return bytes.setU16(SEQUENCE, sequence); }
    bool setFlags(uint8_t flags) { return bytes.setU8(FLAGS, flags); }
    bool setArrayRefCount(uint8_t count) { return bytes.setU8(ARRAY_REF_COUNT, count); }
    bool setArrayRef(uint32_t index, uint16_t ref)
    {
        return index < MAX_ARRAY_REFS && bytes.setU16(ARRAY_REFS + static_cast<size_t>(index) * 2, ref);
    }

    const LeView& view() const { return bytes; }

private:
    LeView bytes;
};

#endif
