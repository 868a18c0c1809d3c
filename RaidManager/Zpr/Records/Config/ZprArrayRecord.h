// One array of the configuration buffer: its size and the drives it is made of.
#ifndef ZPRARRAYRECORD_H
#define ZPRARRAYRECORD_H

#include <cstddef>
#include <cstdint>

#include "PavUtil/LeView.h"
#include "RaidManager/Zpr/Records/Drive/ZprDriveValues.h"

// One drive of an array record.
class ZprArrayDrive {
public:
    static constexpr size_t SIZE = 8;

    static constexpr size_t DEVICE_ID = 0;   // 16-bit; MISSING_DEVICE_ID for a missing drive
    static constexpr size_t SEQUENCE = 2;    // 16-bit sequence number of the drive's record
    static constexpr size_t STATE = 4;       // 16-bit firmware state (PD_STATE_ONLINE in use)

    explicit ZprArrayDrive(const LeView& bytes) : bytes(bytes) {}

    uint16_t deviceId() const { return bytes.u16(DEVICE_ID); }
    uint16_t sequenceNumber() const { return bytes.u16(SEQUENCE); }
    uint16_t state() const { return bytes.u16(STATE); }
    // False, nothing changed, over a read-only entry.
    bool setSequenceNumber(uint16_t sequence) { return bytes.setU16(SEQUENCE, sequence); }

    const LeView& view() const { return bytes; }

private:
    LeView bytes;
};

class ZprArrayRecord {
public:
    static constexpr size_t SIZE = 288;

    static constexpr size_t SIZE_BLOCKS = 0;    // 64-bit array size in blocks
    static constexpr size_t DRIVE_COUNT = 8;    // 8-bit number of drives in use
    static constexpr size_t ARRAY_REF = 10;     // 16-bit: the firmware's array number
    static constexpr size_t DRIVES = 32;        // ZprArrayDrive entries
    static constexpr uint32_t MAX_DRIVES = 32;

    // An absent record: an empty view.
    ZprArrayRecord() {}
    explicit ZprArrayRecord(const LeView& bytes) : bytes(bytes) {}

    bool isPresent() const { return bytes.size() != 0; }

    uint64_t sizeBlocks() const { return bytes.u64(SIZE_BLOCKS); }
    // False, nothing changed, over a read-only record.
    bool setSizeBlocks(uint64_t blocks) { return bytes.setU64(SIZE_BLOCKS, blocks); }
    // The count as the firmware reports it: not a loop bound.
    uint8_t driveCount() const { return bytes.u8(DRIVE_COUNT); }
    // The drives to walk: the count, clamped to the entries the record has room for.
    uint32_t driveEntryCount() const
    {
        return clampCount(driveCount(), bytes.room(DRIVES, ZprArrayDrive::SIZE, MAX_DRIVES));
    }
    uint16_t arrayRef() const { return bytes.u16(ARRAY_REF); }
    // The setters answer false, nothing changed, over a read-only record.
    bool setDriveCount(uint8_t count) { return bytes.setU8(DRIVE_COUNT, count); }
    bool setArrayRef(uint16_t ref) { return bytes.setU16(ARRAY_REF, ref); }
    // Drive entry `index`: false beyond the entries the record has room for.
    bool setDrive(uint32_t index, uint16_t deviceId, uint16_t sequence, uint16_t state)
    {
        const size_t at = DRIVES + static_cast<size_t>(index) * ZprArrayDrive::SIZE;
        return index < MAX_DRIVES && bytes.setU16(at + ZprArrayDrive::DEVICE_ID, deviceId) &&
               bytes.setU16(at + ZprArrayDrive::SEQUENCE, sequence) && bytes.setU16(at + ZprArrayDrive::STATE, state);
    }
    // The whole record copied from another one.
    bool copyFrom(const ZprArrayRecord& other)
    {
        uint8_t copy[SIZE];
        return other.bytes.readBytes(0, copy, SIZE) && bytes.writeBytes(0, copy, SIZE);
    }
    // Drive entry `index`; an entry outside the record reads as zeroes.
    ZprArrayDrive drive(uint32_t index) const
    {
        return ZprArrayDrive(bytes.sub(DRIVES + static_cast<size_t>(index) * ZprArrayDrive::SIZE, ZprArrayDrive::SIZE));
    }

    const LeView& view() const { return bytes; }
    // The record's bytes to send whole; null over a read-only record.
    uint8_t* writableData() const { return bytes.writableData(); }

private:
    LeView bytes;
};

#endif
