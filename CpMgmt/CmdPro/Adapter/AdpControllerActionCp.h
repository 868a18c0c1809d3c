// The controller actions that act at once, without asking: cache flush ("-AdpCacheFlush"),
// configuration clear ("-CfgClr [-Force]"), shutdown ("-AdpShutDown"), restart ("-AdpRestart"), downgrade ("-AdpDowngrade") and the
// timed diagnostic ("-AdpDiag [seconds]"). Each runs through the controller's adapter element
// and reports its outcome in one line; the factory-default set has a pair of its own.
//
// Results: 0 success, -1 a failure the processor found itself (a failed cache flush counts as
// one), else the firmware status of the action.
#ifndef ADPCONTROLLERACTIONCP_H
#define ADPCONTROLLERACTIONCP_H

#include <cstdint>

#include "CpMgmt/CmdPro/CpFrame.h"
#include "Parser/TokenIds.h"
#include "RaidManager/Zpr/Records/Controller/ZprControllerInfo.h"

class AdpCacheFlushCp : public CpFrame<AdpCacheFlushCp, TOKEN_ADPCACHEFLUSH> {
public:
    AdpCacheFlushCp() {}
    int process(CpController* cpController, ParsedObject* request) override;
    ~AdpCacheFlushCp() override {}
};

// Clears the whole configuration. A plain clear that the controller refuses for the SSD-cache
// data it keeps (0x66) gets a hint to use -Force. Results: 0, OS_STEP_FAILED (-2) when only the
// operating system's view could not be brought up to date, else the clear's status.
class AdpCfgClrCp : public CpFrame<AdpCfgClrCp, TOKEN_ADPCFGCLR> {
public:
    AdpCfgClrCp() {}
    int process(CpController* cpController, ParsedObject* request) override;
    ~AdpCfgClrCp() override {}
};

class AdpShutDownCp : public CpFrame<AdpShutDownCp, TOKEN_ADPSHUTDOWN> {
public:
    AdpShutDownCp() {}
    int process(CpController* cpController, ParsedObject* request) override;
    ~AdpShutDownCp() override {}
};

// Restarts a controller that can update its firmware online (controller information byte 0x7A6
// bit 0); a successful restart prints nothing.
class AdpRestartCp : public CpFrame<AdpRestartCp, TOKEN_ADPRESTART> {
public:
    AdpRestartCp();
    int process(CpController* cpController, ParsedObject* request) override;
    ~AdpRestartCp() override {}

private:
    uint8_t controllerInfo[ZprControllerInfo::SIZE];
};

class AdpDowngradeCp : public CpFrame<AdpDowngradeCp, TOKEN_ADPDOWNGRADE> {
public:
    AdpDowngradeCp() {}
    int process(CpController* cpController, ParsedObject* request) override;
    ~AdpDowngradeCp() override {}
};

// Runs the controller's diagnostic for the request's seconds (20 when none were given; more
// than 180 are refused before anything is sent).
class AdpDiagCp : public CpFrame<AdpDiagCp, TOKEN_ADPDIAG> {
public:
    AdpDiagCp() {}
    int process(CpController* cpController, ParsedObject* request) override;
    ~AdpDiagCp() override {}
};

#endif
