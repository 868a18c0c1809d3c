// The simulated controller firmware.
//
// Each opcode group has a file of its own (SimFwAdapter.cpp, SimFwLogicalDrive.cpp,
// SimFwLdOperations.cpp, SimFwEnclosure.cpp, ...; drive, configuration, battery, event and pass-through join as their
// commands land) whose handlers register beside them in one keyed table:
//
//     const FwRegistration registration({
//         fwRead(OP_LD_GET_LIST, LD_LIST_SIZE, ldGetList),
//         fwRead(OP_LD_GET_INFO, LD_INFO_SIZE, ldGetInfo),
//     });
//
// A frame is dispatched by its kind (controller command, driver command, SCSI pass-through,
// SATA pass-through) and its code (the opcode; the CDB's operation code; the FIS command).
// Before a handler runs, the frame's direction and data length are checked against the
// registration; a frame that does not fit is answered with "invalid argument" and noted in
// commands.log, as real firmware refuses it. A code without a handler answers "invalid
// command". A handler builds the whole record it answers with and hands back as much of it as
// the data length holds, so count and size headers are filled even when the caller asks with
// a short buffer first. It writes the record's fields with the small writers of SimBytes.h,
// at offsets written out in its own file, independently of the program's record types.
#ifndef SIMFIRMWARE_H
#define SIMFIRMWARE_H

#include <cstdint>
#include <string>
#include <vector>

#include "Simulator/Firmware/SimFirmwareValues.h"
#include "Simulator/SimBytes.h"
#include "Simulator/SimModel.h"

namespace sim {

class SimState;

// Frame flag bits of the data direction.
const uint16_t FRAME_DIR_WRITE = 0x08;   // data flows to the controller
const uint16_t FRAME_DIR_READ = 0x10;    // data flows from the controller

// Frame commands.
const uint8_t FRAME_LD_SCSI_IO = 3;
const uint8_t FRAME_PD_SCSI_IO = 4;
const uint8_t FRAME_DCMD = 5;
const uint8_t FRAME_STP = 8;

// Sizes of the records that a description's "patch" may lay bytes over.
const size_t CONTROLLER_INFO_SIZE = 2048;
const size_t OEM_DATA_SIZE = 24;
const size_t LD_INFO_SIZE = 384;
const size_t PD_INFO_SIZE = 512;
const size_t PD_MAX_PORTS = 4;
const size_t SCSI_PAGE_SIZE = 256;       // an inquiry page read by pass-through
const size_t PD_VPD83_SIZE = 128;         // the drive's identification data, in two parts
const size_t PD_DIAGNOSTICS_DATE_PARTS = 6;
const size_t ENCL_ENTRY_SIZE = 144;
// An enclosure's SES pages: at most 2048 bytes each, 4-byte elements, at most 64 element types.
const size_t SES_PAGE_SIZE = 2048;
const size_t SES_ELEMENT_SIZE = 4;
const size_t SES_MAX_ELEMENT_TYPES = 64;
const size_t VPD83_PAGE_SIZE = 64;
const size_t MFC_DEFAULTS_SIZE = 72;
const size_t PROPERTIES_SIZE = 64;
const size_t BIOS_DATA_SIZE = 64;
const size_t MFG_DATA_SIZE = 32;
const size_t FRU_DATA_SIZE = 32;
const size_t KEY_VALUES_SIZE = 1024;
const size_t TERM_LOG_MAX_TEXT = 65536;
const size_t PR_PROPERTIES_SIZE = 208;
const size_t CC_SCHEDULE_SIZE = 168;
const size_t CC_SCHEDULE_MAX_EXCLUDED = 74;
const size_t MUX_MODES_SIZE = 5;
const size_t MUX_MAX_CONNECTORS = 4;
const size_t CONNECTOR_INFO_SIZE = 168;
const size_t CONNECTOR_MAX_ENTRIES = 8;
const size_t CONNECTOR_NAME_LENGTH = 15;
const size_t PHY_LIST_SIZE = 264;
const size_t PHY_MAX_ENTRIES = 16;
const size_t PHY_CONTROL_MAX_RESPONSE = 255;   // a phy-control response's length is one byte
const size_t PERF_MODE_VALUES_SIZE = 8;
const size_t EVENT_RECORD_SIZE = 256;
const size_t EVENT_ARGS_SIZE = 96;
const size_t EVENT_DESCRIPTION_LENGTH = 127;
const size_t BBU_STATUS_SIZE = 64;
const size_t BBU_STATUS_READINGS = 6;
const size_t BBU_CAPACITY_SIZE = 48;
const size_t BBU_DESIGN_SIZE = 64;
const size_t BBU_PROPERTIES_SIZE = 32;
const size_t BBU_MAX_MODES = 255;
const size_t BBU_GAS_GAUGE_MEMORY_SIZE = 65536;
const size_t CFG_ARRAY_SIZE = 288;
const size_t CFG_LD_SIZE = 256;
const size_t CFG_SPARE_SIZE = 40;
const size_t CFG_LD_MAX_SPANS = 8;
const size_t CFG_ARRAY_MAX_DRIVES = 32;
const size_t CFG_SPARE_MAX_ARRAYS = 16;

enum class FrameKind { DCMD, DRIVER, DCDB, STP };
enum class DataDir { NONE, READ, WRITE, BOTH };

const char* frameKindName(FrameKind kind);

// One frame as the firmware receives it.
struct SimCommand {
    uint8_t frameCommand = 0;      // FRAME_*
    FrameKind kind = FrameKind::DCMD;
    uint32_t code = 0;             // the key of the handler table
    uint32_t opcode = 0;           // the controller-command opcode word (frame bytes 24-27)
    uint32_t mailbox[3] = {0, 0, 0};
    uint8_t target = 0;            // SCSI pass-through: the addressed target
    uint8_t cdb[16] = {};          // SCSI pass-through: the command block
    Bytes block;                   // the command block as sent: a SCSI pass-through's CDB (its
                                   // CDB length), a SATA pass-through's FIS; empty for others
    uint16_t flags = 0;            // frame flags: direction bits FRAME_DIR_*
    uint32_t frameLength = 0;      // the frame's data length
    Bytes data;                    // the transfer buffer: data length bytes, written data in;
                                   // what the firmware returns, cut to its length
    bool dataReturned = false;     // set by a handler that filled data for the caller
    std::string note;              // why the frame was refused, for the command log
};

// A SCSI command that reads in one form and writes in another (ATA PASS-THROUGH) registers its
// writing form under its operation code plus this key.
const uint32_t DCDB_WRITE_FORM = 0x100;

typedef uint8_t (*FwHandler)(SimState& state, Controller& controller, SimCommand& cmd);

// What a handler takes: its frame kind and code, the direction and the size of its record. A
// read fits any data length (a short first read of a list's header; a longer buffer gets the
// record and keeps the rest); a write must carry the whole record.
struct FwHandlerSpec {
    FrameKind kind;
    uint32_t code;
    DataDir dir;
    uint32_t recordSize;
    FwHandler handler;
};

FwHandlerSpec fwRead(uint32_t opcode, uint32_t size, FwHandler handler, FrameKind kind = FrameKind::DCMD);
FwHandlerSpec fwWrite(uint32_t opcode, uint32_t size, FwHandler handler, FrameKind kind = FrameKind::DCMD);
// A command without data.
// Data both ways: the command carries at least `size` bytes and the firmware writes back into them.
FwHandlerSpec fwBoth(uint32_t opcode, uint32_t size, FwHandler handler, FrameKind kind = FrameKind::DCMD);
FwHandlerSpec fwNoData(uint32_t opcode, FwHandler handler, FrameKind kind = FrameKind::DCMD);

// The keyed table of every handler. A second handler for a key is refused (and kept in
// refused(), which a test checks is empty).
class FwHandlerTable {
public:
    static FwHandlerTable& instance();

    bool add(const FwHandlerSpec& spec);
    const FwHandlerSpec* find(FrameKind kind, uint32_t code) const;
    const std::vector<FwHandlerSpec>& refused() const { return refused_; }
    size_t size() const { return specs_.size(); }

private:
    std::vector<FwHandlerSpec> specs_;   // kept sorted by kind, then code
    std::vector<FwHandlerSpec> refused_;
};

// Registers a group's handlers during static initialization.
struct FwRegistration {
    FwRegistration(std::initializer_list<FwHandlerSpec> specs);
};

class SimFirmware {
public:
    // Runs one frame on `controller`; returns the firmware status.
    static uint8_t execute(SimState& state, Controller& controller, SimCommand& cmd);
    // Fills cmd.kind and cmd.code from the frame command and the 128-byte frame area;
    // false for a frame command the firmware does not take.
    static bool classify(SimCommand& cmd, const uint8_t* frame, size_t frameSize);
};

// Marks the host's state as changed, to be saved after the command.
void markStateChanged(SimState& state);

// Hands the first data-length bytes of a finished record to the caller (a shorter record
// leaves the rest of the caller's buffer as it was).
uint8_t fwReply(SimCommand& cmd, const Bytes& record);
// A list record of `size` bytes: a 32-bit count at 0, then one entry of `entrySize` bytes per
// item from offset `first`, at most `maxEntries`; `write(entry, item)` fills each entry (its
// offsets are the entry's own).
template <typename T, typename Write>
Bytes listRecord(size_t size, size_t first, size_t entrySize, size_t maxEntries, const std::vector<T>& items,
                 Write write)
{
    Bytes r(size, 0);
    size_t n = 0;
    for (const T& item : items) {
        if (n == maxEntries)
            break;
        Bytes e(entrySize, 0);
        write(e, item);
        putBytes(r, first + entrySize * n++, e);
    }
    put32(r, 0, n);
    return r;
}

// Lays a description's raw bytes over a record.
void applyPatch(Bytes& record, const Patch& patch);

// The runs of `wanted` that differ from `built`, by offset: what a record written by the
// program keeps as its patch once its named fields were taken from it, so that the record
// built again is the one written.
Patch patchOfDifferences(const Bytes& wanted, const Bytes& built);

// Stores a record the program wrote: its named fields into `part` (by `decode`), the rest as
// the part's patch (against what `build` makes of the part without one).
template <typename Part>
void storeWritten(const Bytes& written, Part& part, void (*decode)(const Bytes&, Part&), Bytes (*build)(const Part&))
{
    decode(written, part);
    part.patch.clear();
    part.patch = patchOfDifferences(written, build(part));
}

// The handlers of a record kept in a part of the controller's model: the read answers the record
// `build` makes of it; the write stores the record written (storeWritten) and saves the state.
template <typename Part, Part Controller::*part, Bytes (*build)(const Part&)>
uint8_t fwReadPart(SimState&, Controller& c, SimCommand& cmd)
{
    return fwReply(cmd, build(c.*part));
}
template <typename Part, Part Controller::*part, void (*decode)(const Bytes&, Part&), Bytes (*build)(const Part&)>
uint8_t fwWritePart(SimState& state, Controller& c, SimCommand& cmd)
{
    storeWritten(cmd.data, c.*part, decode, build);
    markStateChanged(state);
    return FW_STATUS_OK;
}

// The newest sequence number of the event log: the description's mark, else the largest held
// (0 when the log is empty) (SimFwEvent.cpp).
uint32_t newestEventSequence(const EventLog& log);

// The controller properties as their 64-byte record (also laid into the controller
// information at 0x600).
Bytes propertiesRecord(const ControllerProperties& p);

// Writes a logical drive's properties and parameters (the first 64 bytes of its information
// record, and of its configuration record) into `r` from offset `at` (SimFwLogicalDrive.cpp).
void putLdPropertiesAndParameters(Bytes& r, size_t at, const LogicalDrive& ld);
// Writes the span count at 37 and the 24-byte span records from 64 (start, length, array
// reference) of a logical drive's record that starts at `at` (SimFwConfig.cpp).
void putLdSpans(Bytes& r, size_t at, const Controller& c, const LogicalDrive& ld);

// The configuration buffer of the records given: a 32-byte header, then the array, logical-drive
// and spare records, of exactly the size they take (SimFwConfig.cpp).
Bytes configBuffer(const Controller& c, const std::vector<Array>& arrays, const std::vector<LogicalDrive>& lds,
                   const std::vector<Spare>& spares);

// Runs the logical drives' operations for `seconds` of simulated time: progress grows by each
// one's rate unless it is suspended, and an operation that reaches its end takes its effect
// (SimFwLdOperations.cpp).
void advanceLdOperations(Controller& c, uint64_t seconds);

// The 64-byte SCSI device-identification page (VPD 0x83) a logical drive presents: the
// description's "vpd83" when given, else one NAA designator made from the controller's serial
// number and the drive's target id (SimFwLogicalDrive.cpp).
Bytes ldDeviceIdPage(const Controller& controller, const LogicalDrive& ld);

// Brings the drive operations the firmware started (rebuild, clear, copyback, secure erase)
// up to the simulated clock; those that reach their end change the drives, arrays and logical
// drives as they end (SimFwDriveOperations.cpp).
void advanceDriveOperations(SimState& state, Controller& controller);

// Deletes a logical drive: its record (and with it its place in the association list), the
// arrays no other logical drive uses (their drives unconfigured good) and the references of
// dedicated spares to those arrays (a spare left without arrays is unconfigured good too)
// (SimFwLogicalDrive.cpp). Nothing happens for a target id no drive has.
void deleteLogicalDrive(Controller& c, uint8_t targetId);

// The drive with `deviceId`, or null.
Drive* findDriveById(Controller& controller, uint16_t deviceId);
// Bit 4 of a drive's configuration flags when a foreign configuration the controller sees
// holds the drive (SimFwForeign.cpp).
uint8_t foreignFlag(const Controller& c, uint16_t deviceId);


// A spare record (40 bytes at `at`) as a hot spare to make: an unconfigured-good drive named
// with its sequence number, in none of `newArrays` and not named by `newSpares` already; a
// dedicated spare's array references (at most 16) must name arrays old or new. FW_STATUS_OK
// with the spare in `spare`, or the status to answer (SimFwConfigAdd.cpp).
uint8_t readSpareRecord(const Controller& c, const Bytes& b, size_t at, const std::vector<Array>& newArrays,
                        const std::vector<Spare>& newSpares, Spare& spare);
// Makes the spare's drive a hot spare and keeps the spare.
void keepSpare(Controller& c, const Spare& spare);

} // namespace sim

#endif
