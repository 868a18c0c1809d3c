// A drive or enclosure firmware download: the prepare command (its 40-byte block: the number
// of transfers at 0, the image size at 4; mailbox bytes 0-1 the device id) and the transfers
// that follow it through SCSI pass-through, WRITE BUFFER for SAS devices and ATA PASS-THROUGH(12)
// with DOWNLOAD MICROCODE for SATA devices. Each is answered for a device of the drive list and
// noted in the command log: the prepare block's values, and each transfer's whole command
// block. A device it does not have answers 0x0C; a busy controller or a refusal is a `status`
// fault on the opcode.
#include "Simulator/Firmware/SimFirmware.h"

#include <cstdio>
#include <string>

namespace sim {

namespace {

const uint32_t OP_PD_FW_DOWNLOAD_PREPARE = 0x01130200;
const uint32_t CDB_WRITE_BUFFER = 0x3B;
const uint32_t CDB_ATA_PASS_THROUGH_12 = 0xA1;
const uint8_t ATA_DOWNLOAD_MICROCODE = 0x92;
const size_t PREPARE_SIZE = 40;

uint8_t prepare(SimState&, Controller& c, SimCommand& cmd)
{
    if (findDriveById(c, static_cast<uint16_t>(cmd.mailbox[0] & 0xFFFF)) == nullptr)
        return FW_STATUS_NO_DEVICE;
    cmd.note = "transfers=" + std::to_string(get8(cmd.data, 0)) + " size=" + std::to_string(get32(cmd.data, 4));
    return FW_STATUS_OK;
}

// The addressed device, with the command block written into the log's note.
uint8_t transfer(Controller& c, SimCommand& cmd, size_t cdbLength)
{
    std::string note = "target=" + std::to_string(cmd.target) + " cdb=";
    for (size_t i = 0; i < cdbLength; ++i) {
        char hex[3];
        snprintf(hex, sizeof hex, "%02x", cmd.cdb[i]);
        note += hex;
    }
    cmd.note = note;
    if (cmd.frameCommand != FRAME_PD_SCSI_IO)
        return FW_STATUS_NO_DEVICE;
    for (const Drive& d : c.drives)
        if ((d.deviceId & 0xFF) == cmd.target)
            return FW_STATUS_OK;
    return FW_STATUS_NO_DEVICE;
}

uint8_t writeBuffer(SimState&, Controller& c, SimCommand& cmd)
{
    return transfer(c, cmd, 10);
}

uint8_t downloadMicrocode(SimState&, Controller& c, SimCommand& cmd)
{
    const uint8_t status = transfer(c, cmd, 12);
    return status == FW_STATUS_OK && cmd.cdb[9] != ATA_DOWNLOAD_MICROCODE ? FW_STATUS_SCSI_ERROR : status;
}

const FwRegistration registration({
    fwWrite(OP_PD_FW_DOWNLOAD_PREPARE, PREPARE_SIZE, prepare),
    fwWrite(CDB_WRITE_BUFFER, 0, writeBuffer, FrameKind::DCDB),
    // ATA PASS-THROUGH also reads (identify): its writing form has a key of its own.
    fwWrite(CDB_ATA_PASS_THROUGH_12 | DCDB_WRITE_FORM, 0, downloadMicrocode, FrameKind::DCDB),
});

} // namespace

} // namespace sim
