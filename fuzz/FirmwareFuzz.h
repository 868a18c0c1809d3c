// Shared part of the firmware-answer targets: a controller whose firmware answers each opcode
// with a record cut from the fuzz input (the scripted controller of the RAID model's tests),
// made fresh for every input so that no cache or command log outlives it.
//
// The input is cut into the targets' records in the order given: each but the last takes a
// length (at most its record's size) from the end of the input and that many bytes from its
// front; the last takes what is left. A record shorter than the frame leaves the rest of the
// caller's buffer as the caller set it, as a short answer of the firmware does.
#ifndef FUZZ_FIRMWAREFUZZ_H
#define FUZZ_FIRMWAREFUZZ_H

#include "ScriptedController.h"

#include "DataProvider/DcmdOpcodes.h"
#include "RaidManager/Zpr/Records/Battery/ZprBbuCapacityInfo.h"
#include "RaidManager/Zpr/Records/Battery/ZprBbuDesignInfo.h"
#include "RaidManager/Zpr/Records/Battery/ZprBbuModeList.h"
#include "RaidManager/Zpr/Records/Battery/ZprBbuProperties.h"
#include "RaidManager/Zpr/Records/Battery/ZprBbuStatus.h"
#include "RaidManager/Zpr/Records/Controller/ZprBiosData.h"
#include "RaidManager/Zpr/Records/Controller/ZprControllerInfo.h"
#include "RaidManager/Zpr/Records/Controller/ZprControllerTime.h"
#include "RaidManager/Zpr/Records/Security/ZprKeyValueBlock.h"
#include "RaidManager/Zpr/Records/Mfc/ZprMfcDefaults.h"
#include "RaidManager/Zpr/Records/Mfc/ZprMfcFruData.h"
#include "RaidManager/Zpr/Records/Mfc/ZprMfcMfgData.h"
#include "RaidManager/Zpr/Records/Drive/ZprDriveInfo.h"
#include "RaidManager/Zpr/Records/Drive/ZprEnclosureList.h"
#include "RaidManager/Zpr/Records/LogicalDrive/ZprLdIdList.h"
#include "RaidManager/Zpr/Records/LogicalDrive/ZprLdInfo.h"
#include "RaidManager/Zpr/Records/LogicalDrive/ZprLdList.h"
#include "RaidManager/Zpr/Records/Mfc/ZprMfcOemData.h"
#include "RaidManager/Zpr/Records/Drive/ZprPdList.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

// The scripted firmware without its command log: a fuzz run sends millions of commands, some
// of them with buffers of megabytes, and never looks back at them.
class UnloggedFirmware : public scripted::Firmware {
public:
    int execute(DpParams* request) override
    {
        DcmdZprDpParams* dcmd = dynamic_cast<DcmdZprDpParams*>(request);
        if (dcmd == nullptr)
            return -1;
        uint32_t length = dcmd->dataLength();
        uint32_t room = dcmd->bufferLength() < length ? dcmd->bufferLength() : length;
        uint8_t* data = static_cast<uint8_t*>(request->dataBuffer());
        auto record = records.find(dcmd->getOpcode());
        if (record != records.end() && data != nullptr) {
            size_t n = record->second.size() < room ? record->second.size() : room;
            if (n != 0)
                std::memcpy(data, record->second.data(), n);
        }
        return 0;
    }
};

struct FuzzedRecord {
    uint32_t opcode;
    size_t size;  // the most the record can hold
};
typedef std::vector<FuzzedRecord> FuzzedLayout;

// The records of each firmware target, in the order the input is cut into them.
namespace layout {
// Drive lists and configuration buffers up to these sizes: a few records of each kind, and
// room for counts that lie.
const size_t DRIVE_LIST_SIZE = 8 + 256 * ZprPdListEntry::SIZE;
const size_t CONFIG_SIZE = 16384;
const size_t LD_ID_LIST_SIZE = ZprLdIdList::MAX_ENTRIES * ZprLdIdList::UNIT;

const FuzzedLayout CONTROLLER_INFO = {{DCMD_ADP_MFC_GET_OEM_DATA, ZprMfcOemData::SIZE},
                                      {DCMD_ADP_GET_INFO, ZprControllerInfo::SIZE}};
const FuzzedLayout LD_LIST = {{DCMD_LD_LIST_QUERY, LD_ID_LIST_SIZE}, {DCMD_LD_GET_LIST, ZprLdList::SIZE}};
const FuzzedLayout LD_INFO = {{DCMD_LD_GET_LIST, ZprLdList::SIZE},
                              {DCMD_ADP_GET_INFO, ZprControllerInfo::SIZE},
                              {DCMD_LD_GET_INFO, ZprLdInfo::SIZE}};
const FuzzedLayout ENCLOSURE_LIST = {{DCMD_ENCL_GET_LIST, ZprEnclosureList::SIZE}};
const FuzzedLayout CONFIG = {{DCMD_PD_GET_LIST, DRIVE_LIST_SIZE}, {DCMD_CFG_READ, CONFIG_SIZE}};
const FuzzedLayout DRIVE_LIST = {{DCMD_PD_LIST_QUERY, DRIVE_LIST_SIZE}, {DCMD_PD_GET_LIST, DRIVE_LIST_SIZE}};
const FuzzedLayout DRIVE_INFO = {{DCMD_PD_GET_INFO, ZprDriveInfo::SIZE}};
const FuzzedLayout ADP_ALL_INFO = {{DCMD_ADP_MFC_GET_MFG_DATA, ZprMfcMfgData::SIZE},
                                   {DCMD_ADP_GET_KEY_VALUES, ZprKeyValueBlock::SIZE},
                                   {DCMD_ADP_MFC_GET_OEM_DATA, ZprMfcOemData::SIZE},
                                   {DCMD_ADP_MFC_GET_DEFAULTS, ZprMfcDefaults::SIZE},
                                   {DCMD_ADP_BIOS_GET_DATA, ZprBiosData::SIZE},
                                   {DCMD_ADP_GET_TIME, ZprControllerTime::SIZE},
                                   {DCMD_ADP_MFC_GET_FRU_DATA, ZprMfcFruData::SIZE},
                                   {DCMD_ADP_GET_INFO, ZprControllerInfo::SIZE}};
// The mode list up to a count that fills its clamp, and room beyond.
const size_t BBU_MODE_LIST_SIZE = ZprBbuModeList::sizeFor(ZprBbuModeList::MAX_RECORDS) + 64;
const FuzzedLayout BBU = {{DCMD_BBU_GET_DESIGN_INFO, ZprBbuDesignInfo::SIZE},
                          {DCMD_BBU_GET_PROPERTIES, ZprBbuProperties::SIZE},
                          {DCMD_BBU_GET_CAPACITY_INFO, ZprBbuCapacityInfo::SIZE},
                          {DCMD_ADP_MFC_GET_FRU_DATA, ZprMfcFruData::SIZE},
                          {DCMD_ADP_MFC_GET_OEM_DATA, ZprMfcOemData::SIZE},
                          {DCMD_ADP_GET_INFO, ZprControllerInfo::SIZE},
                          {DCMD_BBU_GET_DATA_RECORDS, BBU_MODE_LIST_SIZE},
                          {DCMD_BBU_GET_STATUS, ZprBbuStatus::SIZE}};
}  // namespace layout

class FuzzedFirmware {
public:
    FuzzedFirmware(const uint8_t* data, size_t size, const FuzzedLayout& records)
        : controller(&firmware)
    {
        FuzzedDataProvider input(data, size);
        size_t left = records.size();
        for (const FuzzedRecord& record : records) {
            --left;
            size_t length = left == 0 ? input.remaining_bytes()
                                      : input.ConsumeIntegralInRange<size_t>(0, record.size);
            firmware.records[record.opcode] = input.ConsumeBytes<uint8_t>(length);
        }
    }

    UnloggedFirmware firmware;
    scripted::TestController controller;
};

// Calls visit(index) for the first four and the last four of `count` entries (each once): a
// list may hold 65536 entries, and walking all of them on every input would make the run
// crawl without reaching anything new. The last ones are where a count that lies shows.
template <typename Visit>
void visitEnds(uint32_t count, Visit visit)
{
    for (uint32_t i = 0; i < count && i < 4; ++i)
        visit(i);
    for (uint32_t i = count > 8 ? count - 4 : 4; i < count; ++i)
        visit(i);
}

// The input that FuzzedFirmware cuts into these records: the inverse of its cut, for seeds and
// regression tests. Each record but the last is cut to its layout's size.
inline std::vector<uint8_t> fuzzInputFor(const FuzzedLayout& layout,
                                         const std::vector<std::vector<uint8_t>>& records)
{
    std::vector<uint8_t> front;
    std::vector<uint8_t> lengths;  // the lengths, the first one last: they are read from the end
    size_t index = 0;
    for (const FuzzedRecord& record : layout) {
        std::vector<uint8_t> bytes = index < records.size() ? records[index] : std::vector<uint8_t>();
        if (++index < layout.size()) {
            if (bytes.size() > record.size)
                bytes.resize(record.size);
            // As many bytes as the size needs, the most significant read first (that is, last).
            std::vector<uint8_t> length;
            for (size_t range = record.size, value = bytes.size(); range != 0; range >>= 8, value >>= 8)
                length.push_back(static_cast<uint8_t>(value));
            lengths.insert(lengths.begin(), length.begin(), length.end());
        }
        front.insert(front.end(), bytes.begin(), bytes.end());
    }
    front.insert(front.end(), lengths.begin(), lengths.end());
    return front;
}

#endif
