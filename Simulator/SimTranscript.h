// The host's transcript: <host>/transcript.log, beside commands.log, holds in the order they
// happened what a test may want to check beyond the command summary of commands.log: every
// firmware command with its direction and its whole data both ways (and a pass-through's whole
// command block), every shell command the program ran, every step by which the program
// made logical drives visible to the operating system or took them away, every SCSI command
// sent to a logical drive's disk, the opens and closes of the disks and of the kernel's SCSI
// control files, and the program's own sleeps.
//
// One line each, "t=CLOCK KIND ...":
//   t=0 command host=2 opcode=0x01010000 mbox=0x...,0x...,0x... dir=read status=0x00 sent=- returned=HEX
//   t=0 shell sleep 1
//   t=0 visibility add host=2 via=sysfs
//   t=0 visibility add host=2 channel=2 target=0 lun=0 via=proc
//   t=0 visibility remove host=2 channel=2 target=0 lun=0 via=proc
//   t=0 visibility find host=2 channel=2 target=0 lun=0 via=sysfs
//   t=0 disk host=2 channel=2 target=0 lun=0 request=sg-io cdb=120183006000 dir=from-device length=96 sense=32 timeout=20000 status=0x00
//   t=0 disk host=2 channel=2 target=0 lun=0 request=send-command block=0000000060000000120183006000 status=0x00
//   t=0 open /dev/sda
//   t=0 close /dev/sda
//   t=0 sleep 1
#ifndef SIMTRANSCRIPT_H
#define SIMTRANSCRIPT_H

#include <cstddef>
#include <cstdint>
#include <string>

#include "Simulator/SimBytes.h"
#include "Simulator/SimState.h"

namespace sim {

struct SimCommand;

class SimTranscript {
public:
    static const char* const FILE_NAME;   // "transcript.log"

    explicit SimTranscript(SimState& state) : state_(state) {}

    // A firmware command as answered: `head` the command log's description of it (host,
    // opcode, mailbox, length), `sent` and `returned` its data (null: none moved that way).
    void command(const std::string& head, const SimCommand& cmd, const Bytes* sent, const Bytes* returned,
                 uint8_t status);
    // A command refused before the firmware saw it (`outcome` as commands.log gives it).
    void refused(const std::string& head, const std::string& outcome);
    // A shell command, as the program passed it (line breaks written as "\n").
    void shell(const char* command);
    // What the program wrote to a kernel control file (`path` as the program named it).
    void controlWrite(const std::string& path, const char* data, size_t length);
    // A disk asked for its device-identification page through the SCSI generic interface:
    // the lookup by which a removal on a current kernel finds a logical drive's disk.
    void diskLookup(unsigned host, unsigned channel, unsigned target, unsigned lun);
    // A SCSI command sent to the disk at this address: `request` its fields and outcome.
    void diskCommand(unsigned host, unsigned channel, unsigned target, unsigned lun, const std::string& request);
    // A disk node or a kernel control file opened or closed (`path` as the program named it).
    void opened(const std::string& path);
    void closed(const std::string& path);
    // A sleep of the program itself (a shell's "sleep N" is a shell command).
    void slept(unsigned seconds);

private:
    void append(const std::string& line);

    SimState& state_;
};

} // namespace sim

#endif
