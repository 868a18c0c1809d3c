// The settings verification command ("-AdpSetVerify -f file"): compares the controller's
// manufacturing records (feature data, defaults, PCI ids) with a KEY = value file of the kind the
// adapter settings command programs from, and lists the fields that differ. It changes nothing.
#ifndef ADPSETVERIFYCP_H
#define ADPSETVERIFYCP_H

#include <cstdint>

#include "CpMgmt/CmdPro/CpFrame.h"
#include "Parser/TokenIds.h"
#include "RaidManager/Zpr/Records/Mfc/ZprMfcDefaults.h"
#include "RaidManager/Zpr/Records/Mfc/ZprMfcOemData.h"
#include "RaidManager/Zpr/Records/Mfc/ZprMfcPciIds.h"

class AdpSetVerifyPo;

// The OEM a file names, by number or by name.
class OemManager {
public:
    // A text starting with a digit is a number (above 10 taken as 10); otherwise the name's
    // weighted sum is looked up in the table of OEM names; a name not in it gives 10.
    static uint8_t oemNumber(const char* text);
    // The sum of each character (as a signed byte) times its position counted from 1.
    static uint32_t nameSum(const char* text);
};

class AdpSetVerifyCp : public CpFrame<AdpSetVerifyCp, TOKEN_ADPSETVERIFY> {
public:
    AdpSetVerifyCp();
    // 0 no difference; -1 differences, or a file that cannot be read; a firmware status when a
    // record cannot be read.
    int process(CpController* cpController, ParsedObject* request) override;
    ~AdpSetVerifyCp() override {}

    int compareWithFile(AdpSetVerifyPo* request, int featureLevel);

    static void trim(char* text);

private:
    enum class Compared { Same, Differs, UnknownKey };
    Compared compareKey(const char* key, const char* value, int featureLevel);

    uint8_t oemData[ZprMfcOemData::SIZE];
    uint8_t defaults[ZprMfcDefaults::SIZE];
    uint8_t pciIds[ZprMfcPciIds::SIZE];
};

#endif
