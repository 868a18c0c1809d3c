// The version report ("-Version -Ctrl|-Cli|-Driver|-Pd"): one kind of version information per
// adapter: the controller's firmware, the program's own banner, the driver, or the firmware
// revision of every drive.
#ifndef CLIVERSIONCP_H
#define CLIVERSIONCP_H

#include <cstdint>

#include "CpMgmt/CmdPro/CpFrame.h"
#include "Parser/TokenIds.h"
#include "RaidManager/Zpr/Records/Controller/ZprControllerInfo.h"

class CliVersionCp : public CpFrame<CliVersionCp, TOKEN_CLIVERSION> {
public:
    CliVersionCp();
    // 0 success; -1 for a request of another class, a kind without a report or no RAID
    // manager; the firmware status when the controller information cannot be read.
    int process(CpController* cpController, ParsedObject* request) override;
    ~CliVersionCp() override {}

private:
    void printController() const;
    void printDriver() const;
    // The location, model and firmware revision of every drive of the model, after the heading
    // (the heading alone when the drive list cannot be read).
    void printDrives(RaidManager* manager) const;

    uint8_t controllerInfo[ZprControllerInfo::SIZE];
};

#endif
