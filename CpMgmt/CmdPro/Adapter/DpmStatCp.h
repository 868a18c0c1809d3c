// The drive performance monitor statistics ("-DpmStat -Dsply|-Clear -RA|-LCT|-HIST|-EXT"):
// shows one kind of statistics for the drive given with -PhysDrv or for every drive of the
// adapter in enclosure and slot order, or clears one kind (or all) on the whole controller.
#ifndef DPMSTATCP_H
#define DPMSTATCP_H

#include <cstdint>

#include "CpMgmt/CmdPro/CpFrame.h"
#include "Parser/TokenIds.h"

class Adapter;
class DpmStatParsedObject;
class PhysicalDevice;
class RaidManager;

class DpmStatCp : public CpFrame<DpmStatCp, TOKEN_DPMSTAT> {
public:
    DpmStatCp() {}
    // 0 success; -1 the processor's own failures (a failed statistics read among them); the
    // firmware status of a failed clear, or of a drive list or drive information that could not
    // be read (after message 0x33006 or 0x36017).
    int process(CpController* cpController, ParsedObject* request) override;
    ~DpmStatCp() override {}

    // One drive's statistics of one kind: 0, or -1 when a read fails.
    static int showRunningAverage(PhysicalDevice* drive, uint32_t ticksPerSecond);
    static int showLongestCommands(PhysicalDevice* drive, uint32_t ticksPerSecond);
    static int showHistogram(PhysicalDevice* drive);
    static int showExtended(PhysicalDevice* drive);

    // Enclosure (no enclosure last), then slot; drives whose place cannot be read are equal.
    static int compareDrives(PhysicalDevice** a, PhysicalDevice** b);
    // "yy-mm-dd,hh:mm:ss " from seconds since 2000-01-01; `out` holds at least TIMESTAMP_SIZE.
    static void formatTimestamp(uint32_t stamp, char* out);
    static const int TIMESTAMP_SIZE = 32;

private:
    static int display(CpController* cpController, RaidManager* manager, Adapter* adapter,
                       DpmStatParsedObject* request, uint8_t adapterNumber);
    static int clear(Adapter* adapter, unsigned short statType);
    // 1 when the drive was shown, 0 when it was skipped, -1 when its statistics could not be read.
    static int showDrive(PhysicalDevice* drive, unsigned short statType, uint32_t ticksPerSecond);
};

#endif
