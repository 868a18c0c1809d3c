// The values of the logical-drive records' fields (ZprLdParameters, ZprLdProperties, ZprLdInfo,
// the configuration's logical-drive record): one declaration each, with the width of the field
// that holds it. Every user includes this header; scripts/check-firmware-values.sh fails when a
// file declares one again.
#ifndef ZPRLDVALUES_H
#define ZPRLDVALUES_H

#include <cstdint>

#include "RaidManager/Zpr/Records/Config/ZprLdRecord.h"

// State of a logical drive (ZprLdParameters::STATE, 8-bit).
constexpr uint8_t LD_STATE_OFFLINE = 0;
constexpr uint8_t LD_STATE_PARTIALLY_DEGRADED = 1;
constexpr uint8_t LD_STATE_DEGRADED = 2;
constexpr uint8_t LD_STATE_OPTIMAL = 3;

// RAID level codes (ZprLdParameters::PRIMARY_RAID_LEVEL, 8-bit) as the model plans them: the spanned
// forms of 1, 5 and 6 are the codes of level 10, 50 and 60.
constexpr uint8_t LEVEL_RAID0 = 0;
constexpr uint8_t LEVEL_RAID1 = 1;
constexpr uint8_t LEVEL_RAID5 = 5;
constexpr uint8_t LEVEL_RAID6 = 6;
constexpr uint8_t LEVEL_SPANNED_RAID1 = 32;
constexpr uint8_t LEVEL_SPANNED_RAID5 = 33;
constexpr uint8_t LEVEL_SPANNED_RAID6 = 34;
constexpr uint8_t LEVEL_35 = 35;
constexpr uint8_t LEVEL_NONE = 255;   // no level chosen yet
// The RAID qualifier of the parity levels (ZprLdParameters::RAID_QUALIFIER, 8-bit). The primary
// level of a mirror of more than two drives is ZprLdParameters::RAID_LEVEL_MULTI_MIRROR.
constexpr uint8_t RAID_QUALIFIER_PARITY = 3;

// Masks of the cache-policy bytes (ZprLdProperties::DEFAULT_CACHE_POLICY and CURRENT_CACHE_POLICY,
// 8-bit), made of the bits that ZprLdRecord names.
constexpr uint8_t CACHE_POLICY_WRITE_BACK = 1u << ZprLdRecord::CACHE_WRITE_BACK;                          // 0x01
constexpr uint8_t CACHE_POLICY_READ_AHEAD = 1u << ZprLdRecord::CACHE_READ_AHEAD;                          // 0x04
constexpr uint8_t CACHE_POLICY_READ_MASK = CACHE_POLICY_READ_AHEAD | 1u << ZprLdRecord::CACHE_ADAPTIVE_READ_AHEAD; // 0x0c
constexpr uint8_t CACHE_POLICY_BAD_BBU = 1u << ZprLdRecord::CACHE_WRITE_BACK_BAD_BATTERY;                 // 0x10
constexpr uint8_t CACHE_POLICY_CACHED_IO = ZprLdRecord::CACHE_CACHED_IO_MASK;                             // 0x60

// Access policy (ZprLdProperties::ACCESS_POLICY, 8-bit).
constexpr uint8_t ACCESS_READ_WRITE = 0;
constexpr uint8_t ACCESS_READ_ONLY = 2;
constexpr uint8_t ACCESS_BLOCKED = 3;

// Disk cache policy (ZprLdProperties::DISK_CACHE_POLICY, 8-bit).
constexpr uint8_t DISK_CACHE_ENABLED = 1;
constexpr uint8_t DISK_CACHE_DISABLED = 2;

// Power-saving policy of a logical drive (ZprLdProperties::DEFAULT_POWER_SAVINGS and
// CURRENT_POWER_SAVINGS; the controller properties' default policy; 8-bit).
constexpr uint8_t POWER_SAVE_DEFAULT = 0;
constexpr uint8_t POWER_SAVE_MAXIMUM = 2;
constexpr uint8_t POWER_SAVE_MAXIMUM_WITHOUT_CACHING = 6;
constexpr uint8_t POWER_SAVE_NONE = 254;

// Encryption type of a logical drive (ZprLdParameters::ENCRYPTION, 8-bit).
constexpr uint8_t ENCRYPTION_FDE = 1;
constexpr uint8_t ENCRYPTION_CTRLBASED = 2;
constexpr uint8_t ENCRYPTION_SECURE = 3;

// Protection-information type of a logical drive (ZprLdParameters::PI_TYPE, ZprLdRecord::PI_TYPE,
// 8-bit; 0 none, 1-7 the standard types): the controller's own type, which a new drive asks for.
constexpr uint8_t PI_TYPE_PROPRIETARY = 8;

// SSD caching of a logical drive (ZprLdParameters::SSD_CACHE, 8-bit): the drive is an SSD cache;
// and its association with one (ZprLdParameters::CACHE_ASSOCIATION, 8-bit).
constexpr uint8_t SSD_CACHE_DRIVE = 1;
constexpr uint8_t CACHE_ASSOCIATED = 1;

#endif
