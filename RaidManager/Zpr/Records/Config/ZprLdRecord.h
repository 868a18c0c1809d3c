// One logical drive of the configuration buffer: its properties (the first 32 bytes, laid out
// as in the logical-drive information), its parameters (the next 32) and up to eight spans.
// The 32-bit word at offset 0 (target id, a reserved byte, sequence number) is the logical
// drive's reference.
#ifndef ZPRLDRECORD_H
#define ZPRLDRECORD_H

#include <cstddef>
#include <cstdint>

#include "PavUtil/LeView.h"
#include "RaidManager/Zpr/Records/LogicalDrive/ZprLdParameters.h"
#include "RaidManager/Zpr/Records/Config/ZprSpanRecord.h"

class ZprLdRecord {
public:
    static constexpr size_t SIZE = 256;

    // Properties.
    static constexpr size_t TARGET_ID = 0;               // 8-bit
    static constexpr size_t SEQUENCE = 2;                // 16-bit
    static constexpr size_t NAME = 4;                    // text, NUL-terminated within NAME_SIZE
    static constexpr size_t NAME_SIZE = 16;
    static constexpr size_t DEFAULT_CACHE_POLICY = 20;   // 8-bit cache-policy bits
    static constexpr size_t ACCESS_POLICY = 21;          // 8-bit, 0 read/write
    static constexpr size_t DISK_CACHE_POLICY = 22;      // 8-bit
    static constexpr size_t CURRENT_CACHE_POLICY = 23;   // 8-bit cache-policy bits
    static constexpr size_t DEFAULT_POWER_SAVINGS = 26;  // 8-bit
    // Parameters.
    static constexpr size_t PARAMETERS = 32;             // ZprLdParameters
    static constexpr size_t PRIMARY_RAID_LEVEL = 32;     // 8-bit: 0, 1, 5, 6, 17 (mirror of more than two)
    static constexpr size_t RAID_QUALIFIER = 33;         // 8-bit: 3 for levels 5 and 6
    static constexpr size_t SECONDARY_RAID_LEVEL = 34;   // 8-bit: 0 not spanned, 3 spanned
    static constexpr size_t STRIP_EXPONENT = 35;         // 8-bit power of two
    static constexpr size_t DRIVES_PER_SPAN = 36;        // 8-bit
    static constexpr size_t SPAN_COUNT = 37;             // 8-bit span records in use
    static constexpr size_t STATE = 38;                  // 8-bit (3 for a new drive)
    static constexpr size_t INIT_STATE = 39;             // 8-bit (0 for a new drive)
    static constexpr size_t CONSISTENT = 40;             // 8-bit: 1 consistent, 0 not or not applicable
    static constexpr size_t PRESERVED_CACHE = 43;        // 8-bit: nonzero preserved cache data present
    static constexpr size_t ENCRYPTION = 42;             // 8-bit encryption type
    static constexpr size_t SSD_CACHING = 47;            // 8-bit, 1: the drive is an SSD cache
    static constexpr size_t PI_TYPE = 49;                // 8-bit protection-information type
    // Spans.
    static constexpr size_t SPANS = 64;                  // ZprSpanRecord entries
    static constexpr uint32_t MAX_SPANS = 8;

    // Cache-policy bits.
    static constexpr unsigned CACHE_WRITE_BACK = 0;
    static constexpr unsigned CACHE_READ_AHEAD = 2;
    static constexpr unsigned CACHE_ADAPTIVE_READ_AHEAD = 3;
    static constexpr unsigned CACHE_WRITE_BACK_BAD_BATTERY = 4;
    static constexpr uint8_t CACHE_CACHED_IO_MASK = 0x60;   // bits 5 and 6 together

    // An absent record: an empty view.
    ZprLdRecord() {}
    explicit ZprLdRecord(const LeView& bytes) : bytes(bytes) {}

    bool isPresent() const { return bytes.size() != 0; }

    uint8_t targetId() const { return bytes.u8(TARGET_ID); }
    uint16_t sequenceNumber() const { return bytes.u16(SEQUENCE); }
    // The logical-drive reference: target id, reserved byte and sequence number as one word.
    uint32_t reference() const { return bytes.u32(TARGET_ID); }
    size_t name(char* out, size_t outSize) const { return bytes.readText(NAME, NAME_SIZE, out, outSize); }
    uint8_t defaultCachePolicy() const { return bytes.u8(DEFAULT_CACHE_POLICY); }
    uint8_t accessPolicy() const { return bytes.u8(ACCESS_POLICY); }
    uint8_t diskCachePolicy() const { return bytes.u8(DISK_CACHE_POLICY); }
    uint8_t currentCachePolicy() const { return bytes.u8(CURRENT_CACHE_POLICY); }
    uint8_t defaultPowerSavings() const { return bytes.u8(DEFAULT_POWER_SAVINGS); }

    ZprLdParameters parameters() const { return ZprLdParameters(bytes.sub(PARAMETERS, ZprLdParameters::SIZE)); }
    uint8_t primaryRaidLevel() const { return bytes.u8(PRIMARY_RAID_LEVEL); }
    uint8_t raidQualifier() const { return bytes.u8(RAID_QUALIFIER); }
    uint8_t secondaryRaidLevel() const { return bytes.u8(SECONDARY_RAID_LEVEL); }
    uint8_t stripExponent() const { return bytes.u8(STRIP_EXPONENT); }
    uint8_t drivesPerSpan() const { return bytes.u8(DRIVES_PER_SPAN); }
    uint8_t state() const { return bytes.u8(STATE); }
    uint8_t encryption() const { return bytes.u8(ENCRYPTION); }
    bool isSsdCache() const { return bytes.u8(SSD_CACHING) == 1; }
    uint8_t piType() const { return bytes.u8(PI_TYPE); }

    // The count as the firmware reports it: not a loop bound.
    uint8_t spanCount() const { return bytes.u8(SPAN_COUNT); }
    // The spans to walk: the count, clamped to the span records the record has room for.
    uint32_t spanEntryCount() const
    {
        return clampCount(spanCount(), bytes.room(SPANS, ZprSpanRecord::SIZE, MAX_SPANS));
    }
    // Span `index`; a span outside the record is absent.
    ZprSpanRecord span(uint32_t index) const
    {
        return ZprSpanRecord(bytes.sub(SPANS + static_cast<size_t>(index) * ZprSpanRecord::SIZE, ZprSpanRecord::SIZE));
    }

    // The setters of a record being built; false, nothing changed, over a read-only record.
    bool setReference(uint8_t targetId, uint16_t sequence)
    {
        return bytes.setU8(TARGET_ID, targetId) && bytes.setU16(SEQUENCE, sequence);
    }
    bool setName(const char* text) { return bytes.writeText(NAME, NAME_SIZE, text); }
    bool setPolicies(uint8_t defaultCache, uint8_t access, uint8_t diskCache, uint8_t currentCache)
    {
        return bytes.setU8(DEFAULT_CACHE_POLICY, defaultCache) && bytes.setU8(ACCESS_POLICY, access) &&
               bytes.setU8(DISK_CACHE_POLICY, diskCache) && bytes.setU8(CURRENT_CACHE_POLICY, currentCache);
    }
    bool setDefaultPowerSavings(uint8_t policy) { return bytes.setU8(DEFAULT_POWER_SAVINGS, policy); }
    bool setLayout(uint8_t primary, uint8_t qualifier, uint8_t secondary, uint8_t stripExponent, uint8_t drivesPerSpan,
                   uint8_t spans)
    {
        return bytes.setU8(PRIMARY_RAID_LEVEL, primary) && bytes.setU8(RAID_QUALIFIER, qualifier) &&
               bytes.setU8(SECONDARY_RAID_LEVEL, secondary) && bytes.setU8(STRIP_EXPONENT, stripExponent) &&
               bytes.setU8(DRIVES_PER_SPAN, drivesPerSpan) && bytes.setU8(SPAN_COUNT, spans);
    }
    bool setStates(uint8_t state, uint8_t initState)
    {
        return bytes.setU8(STATE, state) && bytes.setU8(INIT_STATE, initState);
    }
    bool setEncryption(uint8_t type) { return bytes.setU8(ENCRYPTION, type); }
    bool setSsdCaching(uint8_t flag) { return bytes.setU8(SSD_CACHING, flag); }
    bool setPiType(uint8_t type) { return bytes.setU8(PI_TYPE, type); }

    const LeView& view() const { return bytes; }

private:
    LeView bytes;
};

#endif
