// The bad-block management logs of every logical drive, read with DCMD_LD_BBM_GET_LOG_LIST
// (mailbox zero): a count, then one ZprLdBbmLogInfo per target id 0 to 63, by target id.
#ifndef ZPRLDBBMLOGLIST_H
#define ZPRLDBBMLOGLIST_H

#include <cstddef>
#include <cstdint>

#include "PavUtil/LeView.h"
#include "RaidManager/Zpr/Records/LogicalDrive/ZprLdBbmLogInfo.h"

class ZprLdBbmLogList {
public:
    static constexpr size_t ENTRY_COUNT = 0;    // 32-bit
    static constexpr size_t ENTRIES = 8;
    static constexpr uint32_t MAX_TARGET_IDS = 64;
    static constexpr size_t SIZE = ENTRIES + MAX_TARGET_IDS * ZprLdBbmLogInfo::SIZE;

    explicit ZprLdBbmLogList(const LeView& bytes) : bytes(bytes) {}
    ZprLdBbmLogList(const uint8_t* record, size_t size) : bytes(record, size) {}

    uint32_t entryCount() const { return bytes.u32(ENTRY_COUNT); }
    // The log of target id `targetId` (below MAX_TARGET_IDS); an empty view past the record.
    ZprLdBbmLogInfo entry(uint32_t targetId) const
    {
        return ZprLdBbmLogInfo(bytes.sub(ENTRIES + static_cast<size_t>(targetId) * ZprLdBbmLogInfo::SIZE,
                                         ZprLdBbmLogInfo::SIZE));
    }

private:
    LeView bytes;
};

#endif
