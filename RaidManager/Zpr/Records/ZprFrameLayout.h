// The 64-byte firmware-interface frame of one request (DataProvider/ZprFrame holds its bytes):
// the offsets of its fields, the frame kinds' scatter-gather entries, and the status byte's
// value before the firmware answers. The request builders write these fields and the transport
// reads and rewrites them; no other file declares a frame offset.
#ifndef ZPRFRAMELAYOUT_H
#define ZPRFRAMELAYOUT_H

#include <cstdint>

namespace zprframe {

// Fields of every frame.
constexpr uint8_t FRAME_COMMAND = 0;          // 8-bit frame command
constexpr uint8_t FRAME_BYTE1 = 1;            // 8-bit: sense length of a SCSI pass-through
constexpr uint8_t FRAME_STATUS = 2;           // 8-bit firmware status
constexpr uint8_t FRAME_TARGET = 4;           // 8-bit
constexpr uint8_t FRAME_LUN = 5;              // 8-bit
constexpr uint8_t FRAME_CDB_LENGTH = 6;       // 8-bit
constexpr uint8_t FRAME_SGE_COUNT = 7;        // 8-bit number of scatter-gather entries
constexpr uint8_t FRAME_SELF_ADDRESS = 8;     // 64-bit, as two 32-bit halves
constexpr uint8_t FRAME_FLAGS = 16;           // 16-bit
constexpr uint8_t FRAME_TIMEOUT = 18;         // 16-bit
constexpr uint8_t FRAME_DATA_LENGTH = 20;     // 32-bit

// Controller command (and driver command) frame.
constexpr uint8_t DCMD_OPCODE = 24;           // 32-bit
constexpr uint8_t DCMD_MAILBOX = 28;          // 12 bytes
constexpr uint8_t DCMD_SGE_ADDRESS = 40;      // the scatter-gather entry: 64-bit address
constexpr uint8_t DCMD_SGE_LENGTH = 48;       // and 32-bit length

// SCSI pass-through frame.
constexpr uint8_t DCDB_SENSE_ADDRESS = 24;    // 64-bit
constexpr uint8_t DCDB_CDB = 32;              // 16 bytes
constexpr uint8_t DCDB_SGE_ADDRESS = 48;      // the scatter-gather entry: 64-bit address
constexpr uint8_t DCDB_SGE_LENGTH = 56;       // and 32-bit length

// SATA pass-through frame: the response entry, then the data entry.
constexpr uint8_t STP_FIS = 24;               // 20 bytes
constexpr uint8_t STP_WORD44 = 44;            // 32-bit
constexpr uint8_t STP_RESPONSE_ADDRESS = 48;  // the response entry: 64-bit address
constexpr uint8_t STP_RESPONSE_LENGTH = 56;   // and 32-bit length
constexpr uint8_t STP_DATA_ADDRESS_LOW = 60;  // the data entry

// The first of two scatter-gather entries of frame command 7, which no request builds.
constexpr uint8_t TWO_ENTRY_SGE_ADDRESS = 32;

// The sense bytes a SCSI command keeps: the room of the driver packet's sense area, so the
// most a pass-through frame asks for (FRAME_BYTE1); the requests through the operating
// system's SCSI interface keep as many.
constexpr uint8_t SENSE_SIZE = 32;

// The status byte as a request writes it, before the firmware answers.
constexpr uint8_t FRESH_STATUS = 0xFF;

} // namespace zprframe

#endif
