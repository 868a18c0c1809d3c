// The simulated controller firmware: one handler per DCMD opcode, kept in a table, over the
// controller's part of the host state. A handler builds the whole record it answers with and
// hands back as much of it as the command's data length holds, so count and size headers
// are filled even when the caller asks with a short buffer first.
#ifndef SIMFIRMWARE_H
#define SIMFIRMWARE_H

#include <cstdint>

#include "Simulator/SimBytes.h"
#include "Simulator/SimState.h"

namespace sim {

// Frame flag bits of the data direction.
const uint16_t FRAME_DIR_WRITE = 0x08;   // data flows to the controller
const uint16_t FRAME_DIR_READ = 0x10;    // data flows from the controller

// Firmware statuses the simulated firmware answers with.
const uint8_t FW_STATUS_OK = 0x00;
const uint8_t FW_STATUS_INVALID_COMMAND = 0x02;    // the opcode is not one the firmware knows
const uint8_t FW_STATUS_INVALID_ARGUMENT = 0x03;
const uint8_t FW_STATUS_NO_DEVICE = 0x0C;          // the addressed drive does not exist

// Opcodes the simulated firmware serves (the firmware's own view of the catalogue).
const uint32_t OP_ADP_GET_INFO = 0x01010000;
const uint32_t OP_ADP_MFC_GET_OEM_DATA = 0x010E8481;
const uint32_t OP_LD_GET_LIST = 0x03010000;
const uint32_t OP_LD_GET_INFO = 0x03020000;

// Record sizes.
const size_t CONTROLLER_INFO_SIZE = 2048;
const size_t OEM_DATA_SIZE = 24;
const size_t LD_LIST_SIZE = 1032;
const size_t LD_LIST_MAX_ENTRIES = 64;
const size_t LD_INFO_SIZE = 384;

// One controller command as the firmware receives it.
struct SimCommand {
    uint8_t frameCommand = 0;      // 5 for DCMD frames
    uint32_t opcode = 0;
    uint32_t mailbox[3] = {0, 0, 0};
    uint16_t flags = 0;            // frame flags: direction bits FRAME_DIR_*
    Bytes data;                    // the transfer buffer: data length bytes, written data in
    bool dataReturned = false;     // set by a handler that filled data for the caller
};

class SimFirmware {
public:
    typedef uint8_t (*Handler)(SimState& state, Json& controller, SimCommand& cmd);

    // Runs one command on `controller`; returns the firmware status.
    static uint8_t execute(SimState& state, Json& controller, SimCommand& cmd);
    // The handler of an opcode, or null.
    static Handler find(uint32_t opcode);

    // The 64-byte SCSI device-identification page (VPD 0x83) a logical drive presents: the
    // state's "vpd83" hex when given, else one NAA designator made from the controller's
    // serial number and the drive's target id.
    static Bytes ldDeviceIdPage(const Json& controller, const Json& ld);
};

} // namespace sim

#endif
