// The firmware commands that adapter command processors send themselves, without the RAID
// model. Each form builds one controller command on the stack (timeout 0, control word 0),
// hands it to the executor's controller and returns the status unchanged: 0 success, the
// firmware status of a completed command, a transport failure, or -1 when there is no
// controller. The command's direction, and its data length unless a form passes one, come from
// the opcode's row of the command catalogue, so the buffer must hold the opcode's whole record.
// A failed command leaves one application-log line with its opcode and status.
#ifndef ADPDCMD_H
#define ADPDCMD_H

#include <cstdint>

class CpController;

// The name the operation-failed message gives a failed read of the controller information
// (DCMD_ADP_GET_INFO).
const char* const INFO_READ_NAME = "AdpAll information";

// Zero mailbox, the opcode's own length.
int sendDcmd(CpController* cpController, uint32_t opcode, void* buffer);

// The BIOS-data form: zero mailbox, the opcode's length; before DCMD_ADP_BIOS_SET_DATA the
// checksum byte of the 64-byte record in `buffer` is set so that its bytes add up to 0.
int sendBiosDcmd(CpController* cpController, uint32_t opcode, void* buffer);

// Mailbox word 0 = `word`; the data length is `length` when it is not 0, else the opcode's.
int sendDcmdWithWord(CpController* cpController, uint32_t opcode, uint32_t word, void* buffer, uint32_t length);

// The three mailbox words given; the data length is `length` when it is not 0, else the opcode's.
int sendDcmdWithMailbox(CpController* cpController, uint32_t opcode, const uint32_t (&mailbox)[3], void* buffer,
                        uint32_t length);

// Mailbox byte 0 = the phy, byte 1 = the speed (the first 8 mailbox bytes given as one value).
int sendDcmdPhySpeed(CpController* cpController, uint32_t opcode, void* buffer, uint8_t phy, uint8_t speed);

// A command to the controller's kernel driver (the opcode's own length), zero mailbox.
int sendDriverCommand(CpController* cpController, uint32_t opcode, void* buffer);

// A controller-private opcode (the private catalogue's length), zero mailbox.
int sendPrivateDcmd(CpController* cpController, uint32_t opcode, void* buffer);

// A controller-private opcode with the three mailbox words given and `length` bytes of data.
int sendPrivateDcmdWithMailbox(CpController* cpController, uint32_t opcode, const uint32_t (&mailbox)[3],
                               void* buffer, uint32_t length);

#endif
