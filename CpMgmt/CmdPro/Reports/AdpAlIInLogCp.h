// The all-in-one diagnostic report ("-AdpAlILog"): for each adapter one long report on the
// console: the host (date, kernel, memory, driver, processor), the controller's identity and
// properties, its battery, every device with its defect counts, every logical drive, the event
// history and the firmware terminal log.
//
// The host's processor and memory lines come from two shell pipelines that write a temporary
// file at the root of the file system; the file is removed before each pipeline and after it
// is read. Two runs at the same moment share that one name.
#ifndef ADPALIINLOGCP_H
#define ADPALIINLOGCP_H

#include <cstddef>
#include <cstdint>

#include "CpMgmt/CmdPro/CpFrame.h"
#include "Parser/TokenIds.h"
#include "RaidManager/Zpr/Records/Battery/ZprBbuDesignInfo.h"
#include "RaidManager/Zpr/Records/Battery/ZprBbuStatus.h"
#include "RaidManager/Zpr/Records/Controller/ZprControllerInfo.h"

class Array;
class RaidManager;

// The PCI vendor id of the OEM whose controllers carry the Kolvex brand: their reports begin
// with the Kolvex banner.
const uint16_t KOLVEX_PCI_VENDOR_ID = 0x1c5a;

class AdpAlIInLogCp : public CpFrame<AdpAlIInLogCp, TOKEN_ADPALILOG> {
public:
    AdpAlIInLogCp();
    // 0 success; -1 without a RAID manager or request; the firmware status when the controller
    // information cannot be read, or that of the section that ended the report.
    int process(CpController* cpController, ParsedObject* request) override;
    ~AdpAlIInLogCp() override {}

    // The whole report in its order; 0 or the result of the section that ended it.
    int printControllerSummary(CpController* cpController, uint8_t adapterNumber);

    // Host lines: each prints one line, or nothing when its source cannot be read.
    void printDateTime();
    void printOsVersion(int system);
    void printPhysicalMemory();
    void printDriverVersion();
    void printProcessor();

    // Report sections: 0, -1 or a firmware status (which ends the report).
    int printDevices(CpController* cpController);
    // A drive's primary and grown defect counts ("---" for a count that cannot be read): 0, or
    // the status of the read that failed.
    [[nodiscard]] int printDefectCounts(CpController* cpController, uint8_t target);
    int printLogicalDrives(CpController* cpController);
    int printRedundantSpace(CpController* cpController, const uint8_t* ldInfo, size_t size);
    int printLdDrives(CpController* cpController, uint8_t targetId);
    int printEventHistory(CpController* cpController);

    // The event history's time text of a controller time stamp into `text` (room for `size`).
    static int formatEventTime(uint32_t stamp, char* text, size_t size);

private:
    void printBanner();
    void printControllerInformation();
    void printControllerProperties();
    void printBattery();
    void printTermLog(CpController* cpController, uint8_t adapterNumber);
    // The first line of the temporary file that `pipeline` fills, from byte `skip`, at most
    // `limit` bytes, leading blanks skipped; false when the file cannot be read.
    bool readPipeline(const char* pipeline, long skip, size_t limit, char* text, size_t size);
    int printDeviceBlock(CpController* cpController, const uint8_t* info, size_t size);
    void printDiskRows(CpController* cpController, const uint8_t* info, size_t size);
    int printLogicalDrive(CpController* cpController, const uint8_t* ldList, size_t listSize, uint32_t index);
    void printLdBlocks(const uint8_t* ldInfo, size_t size);
    uint16_t ldSectorSize(uint8_t targetId);
    int printArrayDrives(Array* array, uint8_t targetId);

    RaidManager* raidManager;
    uint8_t controllerInfo[ZprControllerInfo::SIZE];
    uint8_t bbuStatus[ZprBbuStatus::SIZE];
    uint8_t bbuDesignInfo[ZprBbuDesignInfo::SIZE];
};

// MB of `blocks` blocks of `sectorSize` bytes (0 counts as 512), rounded down.
uint64_t blocksToMb(uint64_t blocks, uint16_t sectorSize);

// A year of the Gregorian calendar: 1 for a leap year, else 0.
int isLeapYear(int year);

#endif
