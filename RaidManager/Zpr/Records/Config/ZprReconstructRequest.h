// The request that starts a reconstruction of a logical drive (DCMD_LD_RECONSTRUCT_START):
// the drive's reference, what kind of change, the new RAID level and the drives it concerns.
#ifndef ZPRRECONSTRUCTREQUEST_H
#define ZPRRECONSTRUCTREQUEST_H

#include <cstddef>
#include <cstdint>

#include "PavUtil/LeView.h"

class ZprReconstructRequest {
public:
    static constexpr size_t SIZE = 136;

    static constexpr size_t REFERENCE = 0;          // 32-bit ZprLdRef of the drive
    static constexpr size_t OPERATION = 4;          // 8-bit OPERATION_*
    static constexpr size_t NEW_RAID_LEVEL = 5;     // 8-bit
    static constexpr size_t DRIVE_COUNT = 6;        // 8-bit
    static constexpr size_t EXPANSION_PERCENT = 7;  // 8-bit; only with OPERATION_OTHER
    static constexpr size_t DRIVES = 8;             // MAX_DRIVES entries of DRIVE_ENTRY_SIZE
    static constexpr size_t DRIVE_ENTRY_SIZE = 4;
    static constexpr size_t ENTRY_DEVICE_ID = 0;    // 16-bit, within an entry
    static constexpr size_t ENTRY_SEQUENCE = 2;     // 16-bit, within an entry
    static constexpr uint32_t MAX_DRIVES = 32;

    static constexpr uint8_t OPERATION_OTHER = 0;   // level migration or expansion
    static constexpr uint8_t OPERATION_ADD = 1;
    static constexpr uint8_t OPERATION_REMOVE = 2;

    explicit ZprReconstructRequest(const LeView& bytes) : bytes(bytes) {}

    bool setReference(uint32_t reference) { return bytes.setU32(REFERENCE, reference); }
    bool setOperation(uint8_t operation) { return bytes.setU8(OPERATION, operation); }
    bool setNewRaidLevel(uint8_t level) { return bytes.setU8(NEW_RAID_LEVEL, level); }
    bool setDriveCount(uint8_t count) { return bytes.setU8(DRIVE_COUNT, count); }
    bool setExpansionPercent(uint8_t percent) { return bytes.setU8(EXPANSION_PERCENT, percent); }
    // False for an index past the entries.
    bool setDrive(uint32_t index, uint16_t deviceId, uint16_t sequence)
    {
        if (index >= MAX_DRIVES)
            return false;
        const size_t at = DRIVES + DRIVE_ENTRY_SIZE * index;
        return bytes.setU16(at + ENTRY_DEVICE_ID, deviceId) && bytes.setU16(at + ENTRY_SEQUENCE, sequence);
    }

private:
    LeView bytes;
};

#endif
