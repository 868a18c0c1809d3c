// "-EncInfo" and "-EncStatus": the enclosures (backplanes and external enclosures) of an
// adapter. -EncInfo shows per enclosure the controller's record of it, its identification and
// inquiry data and the status of its voltage sensors, power supplies, fans, temperature sensors
// and chassis; -EncStatus only the element status of its slots, power supplies, fans,
// temperature sensors, alarms and SIM modules.
//
// The controller does not keep the element status: the enclosure reports it itself in its SES
// configuration and enclosure status pages, read through SCSI pass-through
// (EnclosureElementStatus.cpp decodes and shows them).
#ifndef ENCINFOCP_H
#define ENCINFOCP_H

#include <cstdint>

#include "CpMgmt/CmdPro/CpFrame.h"
#include "CpMgmt/CmdPro/Drive/EnclosureElementStatus.h"
#include "Parser/TokenIds.h"

class Adapter;
class PhysicalDevice;
class RaidManager;
class ZprEnclosureEntry;

class EncInfoCp : public CpFrame<EncInfoCp, TOKEN_ENCINFO, TOKEN_ENCSTATUS> {
public:
    EncInfoCp() {}
    // 0 when every enclosure was shown; -1 for a failure before the enclosures are walked; the
    // status of a failed inquiry or page read (after the enclosures before it were shown).
    int process(CpController* cpController, ParsedObject* request) override;
    ~EncInfoCp() override {}

    // A controller command with `value` as mailbox word 0, or for DCMD_PD_GET_INFO as the
    // 16-bit device id in mailbox bytes 0-1; the opcode's own length.
    static int sendDcmd(CpController* cpController, uint32_t opcode, uint32_t value, void* buffer);

    // RECEIVE DIAGNOSTIC RESULTS of `pageCode` from the enclosure device (its target is the low
    // 8 bits of the device id), `allocation` bytes; `buffer` receives them only when the
    // command succeeds. The command's status; -1 after message 0x36016 without the data
    // provider.
    static int receiveDiagnostic(CpController* cpController, uint16_t deviceId, uint8_t pageCode, uint8_t* buffer,
                                 uint16_t allocation);
    // Reads the configuration page into the buffer (ZprSesConfigBuffer, zeroed first): 0, or
    // the read's status after message 0x36025.
    static int readConfigurationPage(uint8_t adapterNumber, uint16_t deviceId, SesConfigBuffer* buffer,
                                     CpController* cpController);
    // The -EncStatus record's element entries from the status page; 0.
    static int fillEnclStatusRecord(const SesConfigBuffer& config, EnclStatusRecord* record, const uint8_t* statusPage,
                                    size_t pageSize);

    static void printEnclStatus(const EnclStatusRecord& record);
    static void printEnclStatusEx(const EnclStatusExRecord& record);
    // The text of an element status code, through message 1.
    static void showElementStatus(uint32_t code);

private:
    struct Walk;
    // One enclosure of the list; nonzero ends the command with that status.
    static int showEnclosure(Walk& walk, const ZprEnclosureEntry& entry, uint32_t index);
    static int showInformation(Walk& walk, const ZprEnclosureEntry& entry, uint32_t index, PhysicalDevice* device);
    // The identification lines; the status of the identification read.
    static int showIdentification(PhysicalDevice* device);
    static int showInquiry(Walk& walk, uint16_t deviceId);
};

#endif
