// "-PDHSP -Set|-Rmv": makes unconfigured disks hot spares (global, or dedicated to arrays; with
// or without enclosure affinity; revertible or not) or turns hot spares back into unconfigured
// drives. It works on the firmware's own drive list and configuration, read once per command,
// checks each drive against them, and builds the spare record itself.
#ifndef PDHSPCP_H
#define PDHSPCP_H

#include <cstdint>

#include "CpMgmt/CmdPro/Drive/PdFirmwareReads.h"
#include "CpMgmt/CmdPro/CpFrame.h"
#include "Parser/TokenIds.h"
#include "RaidManager/Zpr/Records/Drive/ZprDriveInfo.h"
#include "RaidManager/Zpr/Records/Config/ZprSpareRecord.h"

class PdHspParsedObject;
class PdIdListObject;
class RaidManager;

class PdHspCp : public CpFrame<PdHspCp, TOKEN_PDHSP> {
public:
    PdHspCp() {}
    // 0; -1; 9 an array that is not configured; 11 a drive in an array; 12 a drive that is not
    // there or not a disk; or the firmware status of a failed command.
    int process(CpController* cpController, ParsedObject* request) override;
    bool isDone() override { return true; }
    ~PdHspCp() override {}

private:
    // One drive of the request: 0 done, else the command's result.
    int handleDrive(CpController* cpController, const PdHspParsedObject& request, const PdIdListObject& entry);
    // Fills the spare record for the drive just read; 0, or the command's result.
    int buildSpareRecord(CpController* cpController, const PdHspParsedObject& request);
    // The record's array references of a dedicated spare, each array's drives checked for the
    // spare's sector size; 0, or the command's result.
    int addDedicatedArrays(RaidManager* manager, const PdHspParsedObject& request, uint16_t spareSectorSize);
    bool isArrayMember(uint16_t deviceId) const;

    int adapter = 0;
    FirmwareBlock pdList;
    FirmwareBlock config;
    uint8_t driveInfo[ZprDriveInfo::SIZE] = {};
    uint8_t spareRecord[ZprSpareRecord::SIZE] = {};
};

#endif
