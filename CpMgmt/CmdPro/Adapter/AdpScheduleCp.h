// The controller's scheduled background checks. "-AdpPR" sets the patrol read's mode, delay,
// next start, concurrent drives and SSD coverage, starts, stops, suspends or resumes it, or shows
// it (AdpPatrolReadCp); "-AdpCcSched" sets the scheduled consistency check's mode with the
// virtual drives it leaves out, its start time or its delay, or shows it (AdpCCSchedulingCp).
// Every setting goes through the adapter element, which writes its whole record at once.
//
// Results: 0 success, -1 a failure the processor found itself (an unknown value on display,
// refused input), else the firmware status of the failed operation.
#ifndef ADPSCHEDULECP_H
#define ADPSCHEDULECP_H

#include <cstdint>

#include "CpMgmt/CmdPro/CpFrame.h"
#include "Parser/TokenIds.h"

class Adapter;
class AdpCCSchedParsedObject;
class RaidManager;

class AdpPatrolReadCp : public CpFrame<AdpPatrolReadCp, TOKEN_ADPPR> {
public:
    AdpPatrolReadCp() {}
    int process(CpController* cpController, ParsedObject* request) override;
    ~AdpPatrolReadCp() override {}

private:
    static int showInfo(RaidManager* manager, Adapter* adapter, uint8_t adapterNumber);
    static int stop(Adapter* adapter, uint8_t adapterNumber);
    static int suspendOrResume(Adapter* adapter, bool suspend);
};

class AdpCCSchedulingCp : public CpFrame<AdpCCSchedulingCp, TOKEN_CC_SCHEDULING> {
public:
    AdpCCSchedulingCp() {}
    int process(CpController* cpController, ParsedObject* request) override;
    ~AdpCCSchedulingCp() override {}

    int showInfo(CpController* cpController, AdpCCSchedParsedObject* request);
    int setMode(CpController* cpController, AdpCCSchedParsedObject* request);
    int setStartTime(CpController* cpController, AdpCCSchedParsedObject* request);
    int setDelay(CpController* cpController, AdpCCSchedParsedObject* request);

private:
    // The 16-bit target ids of the wanted virtual drives; -1 after the message naming the first
    // that the configuration does not have (or when there is none); the read's status after
    // message 0x30025 when the configuration cannot be read.
    static int collectExcluded(RaidManager* manager, ArrayList<unsigned char>* wanted,
                               ArrayList<unsigned short>* excluded, int adapterNumber);
};

#endif
