// The adapter information display ("-AdpAllInfo"): everything the controller reports about
// itself. process reads eight records in a fixed order into the object and then prints the
// display from them alone; the RAID model is not used.
#ifndef ADPALLINFOCP_H
#define ADPALLINFOCP_H

#include <cstdint>

#include "CpMgmt/CmdPro/CpFrame.h"
#include "Parser/TokenIds.h"
#include "RaidManager/Zpr/Records/Controller/ZprBiosData.h"
#include "RaidManager/Zpr/Records/Controller/ZprControllerInfo.h"
#include "RaidManager/Zpr/Records/Controller/ZprControllerTime.h"
#include "RaidManager/Zpr/Records/Security/ZprKeyValueBlock.h"
#include "RaidManager/Zpr/Records/Mfc/ZprMfcDefaults.h"
#include "RaidManager/Zpr/Records/Mfc/ZprMfcFruData.h"
#include "RaidManager/Zpr/Records/Mfc/ZprMfcMfgData.h"

class AdpAllInfoCp : public CpFrame<AdpAllInfoCp, TOKEN_ADPALLINFO> {
public:
    // The POST delay shown when the key=value texts name none.
    static const int DEFAULT_POST_DELAY = 90;

    AdpAllInfoCp();
    // 0 when the FRU read succeeded, else the status of the clock read (0 when that one
    // succeeded); the status of the defaults, BIOS or information read that ended the command;
    // -1 for a request of another class.
    int process(CpController* cpController, ParsedObject* request) override;
    ~AdpAllInfoCp() override {}

    // The display from the records read (featureLevel: byte 62 of the defaults, 0 counting
    // as 64).
    void printAdapterInfo(uint8_t adapterNumber, int featureLevel);

    // The value of the first key=value text that holds "delaySOD" anywhere: the piece after the
    // first run of '=' up to the next '=', read as a decimal number (no digits: 0). `fallback`
    // when no text holds the key, or when that text has no piece after its '='.
    static int postDelayFrom(const ZprKeyValueBlock& block, int fallback);

private:
    // The reads in their order; a nonzero result ends the command with that status.
    int readRecords(const CpOpening& start, int& featureLevel, int& result);

    // The display's sections.
    void printIdentity();
    void printImages();
    void printPciInfo();
    void printHardware();
    void printSettings();
    void printSettingsFlags();
    void printCapabilities();
    void printLimitations();
    void printOperations();
    void printPdOperations();
    void printDefaults(int featureLevel);

    uint8_t info[ZprControllerInfo::SIZE];
    uint8_t defaults[ZprMfcDefaults::SIZE];
    uint8_t time[ZprControllerTime::SIZE];
    uint8_t mfg[ZprMfcMfgData::SIZE];
    uint8_t fru[ZprMfcFruData::SIZE];
    uint8_t keyValues[ZprKeyValueBlock::SIZE];
    uint8_t bios[ZprBiosData::SIZE];
    uint8_t clusterDisable;
    uint8_t sasDisable;
    int fruStatus;
    int postDelaySeconds;
};

#endif
