// The system summary ("-ShowSummary [-f file]"): a short health overview of one adapter: the
// host's system and driver versions, the controller with an overall status, its battery,
// enclosures and drives, and its virtual drives. With a file name the report goes to that file
// instead of the screen, written as the report goes.
#ifndef SHOWSUMMARYCP_H
#define SHOWSUMMARYCP_H

#include <cstdint>

#include "CpMgmt/CmdPro/CpFrame.h"
#include "Parser/TokenIds.h"
#include "RaidManager/Zpr/Records/Battery/ZprBbuDesignInfo.h"
#include "RaidManager/Zpr/Records/Battery/ZprBbuStatus.h"
#include "RaidManager/Zpr/Records/Controller/ZprControllerInfo.h"
#include "RaidManager/Zpr/Records/Drive/ZprDriveInfo.h"
#include "RaidManager/Zpr/Records/Controller/ZprDriverInfo.h"
#include "RaidManager/Zpr/Records/Drive/ZprEnclosureList.h"
#include "RaidManager/Zpr/Records/LogicalDrive/ZprLdList.h"
#include "RaidManager/Zpr/Records/Mfc/ZprMfcDefaults.h"

class Adapter;
class FileHandle;
class RaidManager;
class ShowSummaryPo;

class ShowSummaryCp : public CpFrame<ShowSummaryCp, TOKEN_SHOWSUMMARY> {
public:
    ShowSummaryCp();
    // 0 success; -1 a failure found here; a firmware status passed on.
    int process(CpController* cpController, ParsedObject* request) override;
    ~ShowSummaryCp() override;

    int printSummary(CpController* cpController, ShowSummaryPo* request);
    // The operating-system line from the kernel's version text (empty when it cannot be read).
    void readOsText(int system);
    // The driver-version line from the driver's sysfs version file (empty when it cannot be read).
    void readDriverText();

private:
    // Output: to the report file in file mode, else to the console. A text goes out unchanged.
    void put(const char* text);
    // The same line in both modes; a printf-style line formatted first.
    void putf(const char* format, ...) __attribute__((format(printf, 2, 3)));
    // Forms that differ: `fileText` to the file in file mode, `screenText` to the screen.
    void putEither(const char* fileText, const char* screenText);
    // A new line on the console in either mode.
    void screenNewline();
    bool toFile() const { return reportFile != nullptr; }

    int openReport(ShowSummaryPo* request);
    int finishReport(int result);
    void printSystem();
    int readRecords(CpController* cpController, Adapter* adapter);
    // A read the summary needs failed: message 0x36017 naming `what`; gives `status` back.
    int readFailed(const char* what, int status) const;
    int readDriveList(CpController* cpController);
    void printHardware();
    void printBattery();
    int printEnclosures(CpController* cpController, RaidManager* manager, int adapterNumber);
    int printDrives(CpController* cpController, RaidManager* manager);
    // One drive of the drive list, named by the list's address in a failure message.
    int printDrive(CpController* cpController, RaidManager* manager, uint16_t deviceId, uint16_t enclosureId,
                   uint8_t slot);
    void printConnector(CpController* cpController, class PhysicalDevice* drive, const ZprDriveInfo& info,
                        int* result);
    int printLogicalDrives(CpController* cpController, Adapter* adapter);
    void printLdOperationsAndLevel(const uint8_t* ldInfo, size_t size);

    uint8_t controllerInfo[ZprControllerInfo::SIZE];
    uint8_t driverInfo[ZprDriverInfo::SIZE];
    uint8_t bbuStatus[ZprBbuStatus::SIZE];
    uint8_t mfcDefaults[ZprMfcDefaults::SIZE];
    uint8_t bbuDesignInfo[ZprBbuDesignInfo::SIZE];
    uint8_t enclosureList[ZprEnclosureList::SIZE];
    uint8_t ldList[ZprLdList::SIZE];
    uint8_t* pdList;
    uint32_t pdListSize;
    FileHandle* reportFile;
    char osText[300];   // room for the label and the whole text read
    char driverText[300];
    bool batteryPresent;
    bool drivesHealthy;
    bool enclosuresHealthy;
    bool ldsOptimal;
    uint8_t adapterNumber;   // the request's, named by the failure messages
};

#endif
