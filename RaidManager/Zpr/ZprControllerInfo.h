// The controller-information record (DCMD_ADP_GET_INFO): 2048 bytes, little-endian. Only the
// offsets the model reads are named here; the readers below serve every little-endian record.
#ifndef ZPRCONTROLLERINFO_H
#define ZPRCONTROLLERINFO_H

#include <cstdint>

const uint32_t ZPR_CONTROLLER_INFO_SIZE = 2048;

const uint32_t ZPR_INFO_MAX_VIRTUAL_DRIVES = 0x53F;   // 8-bit
const uint32_t ZPR_INFO_SECURITY_FLAGS = 0x5F8;       // bit 6: the security bit
const uint32_t ZPR_INFO_FW_FORWARD_COMPAT = 0x5FC;    // 16-bit firmware forward-compatibility level
const uint32_t ZPR_INFO_FW_BACKWARD_COMPAT = 0x5FE;   // 16-bit firmware backward-compatibility level

// The length of the OEM-data answer (DCMD_ADP_MFC_GET_OEM_DATA); its first byte is the OEM id.
const uint32_t ZPR_OEM_DATA_SIZE = 24;

// This application's own compatibility levels.
const uint16_t APPLICATION_FORWARD_COMPAT_LEVEL = 0;
const uint16_t APPLICATION_BACKWARD_COMPAT_LEVEL = 0;

inline uint16_t zprReadU16(const uint8_t* record, uint32_t offset)
{
    return static_cast<uint16_t>(record[offset] | (record[offset + 1] << 8));
}

inline uint32_t zprReadU32(const uint8_t* record, uint32_t offset)
{
    return static_cast<uint32_t>(record[offset]) | (static_cast<uint32_t>(record[offset + 1]) << 8) |
           (static_cast<uint32_t>(record[offset + 2]) << 16) | (static_cast<uint32_t>(record[offset + 3]) << 24);
}

#endif
