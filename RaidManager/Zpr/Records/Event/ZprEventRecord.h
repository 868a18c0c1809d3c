// One event of the controller's log, as DCMD_ADP_EVENT_GET hands it out: 256 bytes, the
// argument area laid out by the argument type, the controller's own description at 128.
#ifndef ZPREVENTRECORD_H
#define ZPREVENTRECORD_H

#include <cstddef>
#include <cstdint>

#include "PavUtil/LeView.h"

class ZprEventRecord {
public:
    static constexpr size_t SIZE = 256;

    static constexpr size_t SEQ_NUM = 0;
    static constexpr size_t TIME_STAMP = 4;        // a controller time stamp (ZprTimeStamp.h)
    static constexpr size_t CODE = 8;
    static constexpr size_t LOCALE = 12;           // 16-bit
    static constexpr size_t EVENT_CLASS = 15;      // signed
    static constexpr size_t ARG_TYPE = 16;
    static constexpr size_t ARGS = 32;
    static constexpr size_t ARGS_END = 128;        // the argument area ends where the text begins
    static constexpr size_t DESCRIPTION = 128;
    static constexpr size_t DESCRIPTION_SIZE = 128;

    // The two references the arguments hold: a drive (device id, enclosure index, slot) and a
    // logical drive (its first 16 bits the target id).
    static constexpr size_t DRIVE_DEVICE_ID = 0;   // 16-bit, within the reference
    static constexpr size_t DRIVE_ENCLOSURE_INDEX = 2;
    static constexpr size_t DRIVE_SLOT = 3;

    // The logical-drive property record of argument type 21 (32 bytes).
    static constexpr size_t LD_PROPS_NAME = 0;
    static constexpr size_t LD_PROPS_NAME_SIZE = 16;
    static constexpr size_t LD_PROPS_DEFAULT_CACHE = 16;
    static constexpr size_t LD_PROPS_ACCESS = 17;
    static constexpr size_t LD_PROPS_DISK_CACHE = 18;
    static constexpr size_t LD_PROPS_CURRENT_CACHE = 19;
    static constexpr size_t LD_PROPS_NO_BGI = 20;

    // The consistency-check inconsistency: the code and argument type it is logged with, and
    // the logical drive's target id within its arguments.
    static constexpr uint32_t CODE_CC_INCONSISTENCY = 0x3F;
    static constexpr uint8_t ARG_TYPE_LD_STRIP = 9;
    static constexpr size_t CC_TARGET_ID = 40;
    // Argument type 1: a command block and the drive's sense data.
    static constexpr uint8_t ARG_TYPE_CDB_SENSE = 1;
    static constexpr size_t SENSE_LENGTH = 37;     // 8-bit
    static constexpr size_t SENSE_DATA = 56;
    static constexpr size_t SENSE_DATA_SIZE = 64;  // room up to the argument area's end

    explicit ZprEventRecord(const uint8_t* record) : bytes(record, SIZE) {}

    uint32_t seqNum() const { return bytes.u32(SEQ_NUM); }
    uint32_t timeStamp() const { return bytes.u32(TIME_STAMP); }
    uint32_t code() const { return bytes.u32(CODE); }
    uint16_t locale() const { return bytes.u16(LOCALE); }
    int8_t eventClass() const { return static_cast<int8_t>(bytes.u8(EVENT_CLASS)); }
    uint8_t argType() const { return bytes.u8(ARG_TYPE); }
    // The target id of the logical drive the arguments of type 9 refer to.
    uint16_t ccTargetId() const { return bytes.u16(CC_TARGET_ID); }
    // A consistency check's inconsistency on the logical drive with `targetId`.
    bool isCcInconsistencyOn(uint16_t targetId) const
    {
        return code() == CODE_CC_INCONSISTENCY && argType() == ARG_TYPE_LD_STRIP && ccTargetId() == targetId;
    }

    const LeView& view() const { return bytes; }

private:
    LeView bytes;
};

#endif
