// Requests of the adapter-level commands: information and properties, firmware flashing,
// time, event log, battery, patrol read and consistency-check schedules, diagnostics,
// performance monitoring, phy and PCI link settings, version and help, adapter count.
//
// Every constructor takes the command token first and the adapter number last, the class's
// own fields in between. Fields without an accessor are public: their processor reads them.
#ifndef ADPPARSEDOBJECTS_H
#define ADPPARSEDOBJECTS_H

#include <ctime>

#include "Parser/ParsedObject.h"

// Requests without fields of their own.

class AdpAllInfoParsedObject : public ParsedObject {
public:
    AdpAllInfoParsedObject(unsigned short commandToken, unsigned char adapterNumber);
    ParsedObject* clone() override;
};

class AdpCacheFlushParsedObject : public ParsedObject {
public:
    AdpCacheFlushParsedObject(unsigned short commandToken, unsigned char adapterNumber);
    ParsedObject* clone() override;
};

class AdpFacDefSetPo : public ParsedObject {
public:
    AdpFacDefSetPo(unsigned short commandToken, unsigned char adapterNumber);
    ParsedObject* clone() override;
};

class AdpShutDownParsedObject : public ParsedObject {
public:
    AdpShutDownParsedObject(unsigned short commandToken, unsigned char adapterNumber);
    ParsedObject* clone() override;
};

class AdpAllInOneLogParsedObject : public ParsedObject {
public:
    AdpAllInOneLogParsedObject(unsigned short commandToken, unsigned char adapterNumber);
    ParsedObject* clone() override;
};

class AdpGetPciInfoParsedObject : public ParsedObject {
public:
    AdpGetPciInfoParsedObject(unsigned short commandToken, unsigned char adapterNumber);
    ParsedObject* clone() override;
};

class AdpDowngradeParsedObject : public ParsedObject {
public:
    AdpDowngradeParsedObject(unsigned short commandToken, unsigned char adapterNumber);
    ParsedObject* clone() override;
};

class AdpRestartParsedObject : public ParsedObject {
public:
    AdpRestartParsedObject(unsigned short commandToken, unsigned char adapterNumber);
    ParsedObject* clone() override;
};

class PhyErrCtParsedObject : public ParsedObject {
public:
    PhyErrCtParsedObject(unsigned short commandToken, unsigned char adapterNumber);
    ParsedObject* clone() override;
};

// The adapter count is answered by the dispatcher itself: the request addresses no adapter
// (NO_ADAPTER) and is never cloned (clone gives null).
class AdpCountParsedObject : public ParsedObject {
public:
    explicit AdpCountParsedObject(unsigned short commandToken);
    ParsedObject* clone() override;
};

// Requests with fields of their own.

class AdpPhyInfoParsedObject : public AdpAllInfoParsedObject {
public:
    AdpPhyInfoParsedObject(unsigned short commandToken, unsigned char phyNumber, unsigned char adapterNumber);
    ParsedObject* clone() override;
    unsigned char getPhyNumber() const { return phyNumber; }

private:
    unsigned char phyNumber;
};

class AdpPhySetLinkSpeedParsedObject : public ParsedObject {
public:
    AdpPhySetLinkSpeedParsedObject(unsigned short commandToken, unsigned char phyNumber,
                                   unsigned char linkSpeed, unsigned char adapterNumber);
    ParsedObject* clone() override;
    unsigned char getPhyNumber() const { return phyNumber; }
    unsigned char getLinkSpeed() const { return linkSpeed; }

private:
    unsigned char phyNumber;
    unsigned char linkSpeed;
};

class PciLinkSpeedParsedObject : public ParsedObject {
public:
    PciLinkSpeedParsedObject(unsigned short commandToken, unsigned char linkSpeed, unsigned char adapterNumber);
    ParsedObject* clone() override;
    unsigned char getLinkSpeed() const { return linkSpeed; }

private:
    unsigned char linkSpeed;
};

// Version kind: 0 all, 1 controller, 2 this tool, 3 UEFI driver, 4 OS driver, 5 drives.
class CliVersionPo : public ParsedObject {
public:
    CliVersionPo(unsigned short commandToken, unsigned char versionKind, unsigned char adapterNumber);
    ParsedObject* clone() override;
    unsigned char getVersionKind() const { return versionKind; }

private:
    unsigned char versionKind;
};

// Version and help commands. An all-adapters version request is copied per controller, so that
// each controller shows the banner of its own OEM.
class AppVersionParsedObject : public ParsedObject {
public:
    AppVersionParsedObject(unsigned short commandToken, const string& helpTopic, unsigned char adapterNumber);
    ParsedObject* clone() override;
    string getHelpTopic() const { return helpTopic; }

private:
    string helpTopic;
};

class AdpBiosParsedObject : public ParsedObject {
public:
    AdpBiosParsedObject(unsigned short commandToken, unsigned short action, unsigned char adapterNumber);
    ParsedObject* clone() override;
    unsigned short getAction() const { return action; }

private:
    unsigned short action;
};

class AdpAutoRbldParsedObject : public ParsedObject {
public:
    AdpAutoRbldParsedObject(unsigned short commandToken, unsigned short action, unsigned char adapterNumber);
    ParsedObject* clone() override;
    unsigned short getAction() const { return action; }

private:
    unsigned short action;
};

// Action: 0 clear, 1 display, 2 battery on, 3 battery off, 4 battery off temporarily,
// 5 battery state; 15 none given.
class AdpTTYLogPo : public ParsedObject {
public:
    AdpTTYLogPo(unsigned short commandToken, unsigned char action, unsigned char adapterNumber);
    ParsedObject* clone() override;
    unsigned char getAction() const { return action; }

private:
    unsigned char action;
};

class AdpDiagParsedObject : public ParsedObject {
public:
    AdpDiagParsedObject(unsigned short commandToken, unsigned int value, unsigned char adapterNumber);
    ParsedObject* clone() override;
    unsigned int getValue() const { return value; }

private:
    unsigned int value;
};

// Set or get one controller property. The second to fourth values are 255 when not given;
// the three constructor forms set the values their command gives.
class AdpPropertyPo : public ParsedObject {
public:
    AdpPropertyPo(unsigned short commandToken, unsigned short property, int value, unsigned char adapterNumber);
    AdpPropertyPo(unsigned short commandToken, unsigned short property, int value, int value3,
                  unsigned char adapterNumber);
    AdpPropertyPo(unsigned short commandToken, unsigned short property, int value, unsigned char value2,
                  int value3, unsigned char value4, unsigned char adapterNumber);
    ParsedObject* clone() override;
    unsigned short getProperty() const { return property; }
    int getValue() const { return value; }
    unsigned char getValue2() const { return value2; }
    int getValue3() const { return value3; }
    unsigned char getValue4() const { return value4; }

private:
    unsigned short property;
    int value;
    unsigned char value2;
    int value3;
    unsigned char value4;
};

// Direction: 0 read the settings file, 1 write it.
class AdpSettingsPo : public ParsedObject {
public:
    AdpSettingsPo(unsigned short commandToken, const string& fileName, unsigned char direction,
                  unsigned char adapterNumber);
    ParsedObject* clone() override;
    string getFileName() const { return fileName; }
    unsigned char getDirection() const { return direction; }

private:
    string fileName;
    unsigned char direction;
};

class AdpSetVerifyPo : public ParsedObject {
public:
    AdpSetVerifyPo(unsigned short commandToken, const string& fileName, unsigned char adapterNumber);
    ParsedObject* clone() override;
    string getFileName() const { return fileName; }

private:
    string fileName;
};

class ShowSummaryPo : public ParsedObject {
public:
    ShowSummaryPo(unsigned short commandToken, unsigned char fileGiven, const string& fileName,
                  unsigned char adapterNumber);
    ParsedObject* clone() override;
    string getFileName() const { return fileName; }

    // 1 when "-f" named an output file.
    unsigned char fileGiven;

private:
    string fileName;
};

class AdpFwFlashPo : public ParsedObject {
public:
    AdpFwFlashPo(unsigned short commandToken, const string& fileName, unsigned char resetNow,
                 unsigned char noSignatureCheck, unsigned char noVersionCheck, unsigned char adapterNumber,
                 unsigned char fwType);
    ParsedObject* clone() override;
    string getFileName() const { return fileName; }
    unsigned char getFwType() const { return fwType; }
    unsigned char getFlag1() const { return resetNow; }
    unsigned char getFlag2() const { return noSignatureCheck; }
    unsigned char getFlag3() const { return noVersionCheck; }

private:
    string fileName;
    unsigned char fwType;
    unsigned char resetNow;
    unsigned char noSignatureCheck;
    unsigned char noVersionCheck;
};

// The controller clock values a time request carries. Year 0xFFFF means none was given.
struct AdpDateTime {
    unsigned short year;
    unsigned char month;
    unsigned char day;
    unsigned char hour;
    unsigned char minute;
    unsigned char second;
};

class AdpTimeParsedObject : public ParsedObject {
public:
    // Copies the record; a null record counts as none given (year 0xFFFF).
    AdpTimeParsedObject(unsigned short commandToken, const AdpDateTime* dateTime, unsigned char adapterNumber);
    ParsedObject* clone() override;
    // 1, leaving the record untouched, when no date and time were given; otherwise copies the
    // six values into the record and gives 0.
    int getDateTime(AdpDateTime* dateTime) const;

private:
    AdpDateTime dateTime;
};

// Event-log request. Action: 0 clear, 1 since reboot, 2 since shutdown, 3 log information,
// 4 events, 5 including deleted, 6 latest N, 7 consistency-check inconsistencies.
class AdpEventLogPo : public ParsedObject {
public:
    AdpEventLogPo(unsigned short commandToken, const string& fileName, unsigned char action,
                  unsigned char classFilter, unsigned short latestCount, const ArrayList<unsigned char>* ldList,
                  unsigned char followingAdapter, unsigned char adapterNumber);
    ~AdpEventLogPo() override;

    // The first copy made in the process gets following-adapter flag 0 and every later one 1:
    // the event log of the first controller of "-aALL" starts the output file, the others
    // append to it.
    ParsedObject* clone() override;
    // Starts the copy sequence again, for a new command run in the same process.
    static void restartCloneSequence();

    string getFileName() const { return fileName; }
    unsigned char getAction() const { return action; }
    unsigned char getClassFilter() const { return classFilter; }
    unsigned char getFollowingAdapter() const { return followingAdapter; }
    unsigned short getLatestCount() const { return latestCount; }
    // The request's own copy of the "-L" list, or null when none was given.
    ArrayList<unsigned char>* getLdList() const { return ldList; }

private:
    string fileName;
    unsigned char action;
    unsigned char classFilter;
    unsigned char followingAdapter;
    unsigned short latestCount;
    ArrayList<unsigned char>* ldList;
};

// Battery request. Action: 1 status, 2 capacity, 3 design, 4 learn, 5 get properties,
// 6 set properties, 7 manufacturing sleep, 8 manufacturing seal, 9 gas-gauge EEPROM data,
// 10 no sub-command, 11 modes, 12 learn schedule. Schedule action: 1 disable, 2 show,
// 3 start time.
class AdpBbuPo : public ParsedObject {
public:
    static const int LEARN_SCHEDULE_SIZE = 8;
    // Byte of the learn schedule that holds the start hour (255 = not given).
    static const int LEARN_SCHEDULE_HOUR = 4;

    // Copies the 8-byte learn schedule; a null schedule gives zeroes with the hour not given.
    AdpBbuPo(unsigned short commandToken, const string& fileName, unsigned char action, unsigned int offset,
             unsigned int byteCount, unsigned char adapterNumber, unsigned char scheduleAction,
             const unsigned char* learnSchedule, unsigned char learnDay);
    ParsedObject* clone() override;

    string getFileName() const { return fileName; }
    unsigned char getAction() const { return action; }
    unsigned int getOffset() const { return offset; }
    unsigned int getByteCount() const { return byteCount; }
    unsigned char getScheduleAction() const { return scheduleAction; }
    const unsigned char* getLearnSchedule() const { return learnSchedule; }

    // Day of the learn cycle, 0 Sunday to 6 Saturday as the C library counts; 255 not given.
    unsigned char learnDay;

private:
    string fileName;
    unsigned char action;
    unsigned int offset;
    unsigned int byteCount;
    unsigned char scheduleAction;
    unsigned char learnSchedule[LEARN_SCHEDULE_SIZE];
};

// Consistency-check schedule. Action: 0 information, 1 mode, 2 start time, 3 delay, 4 none.
// Mode: 0 disabled, 1 sequential, 2 concurrent, 3 not given. Delay -1: not given.
class AdpCCSchedParsedObject : public ParsedObject {
public:
    // The start time is copied only when given with a non-zero year field, else all zero; the
    // LD list is copied only when it holds at least one number, else the request has none.
    AdpCCSchedParsedObject(unsigned short commandToken, int action, int mode, int delay,
                           const struct tm* startTime, const ArrayList<unsigned char>* ldList,
                           unsigned char adapterNumber);
    ~AdpCCSchedParsedObject() override;
    ParsedObject* clone() override;

    int getAction() const { return action; }
    int getMode() const { return mode; }
    int getDelay() const { return delay; }
    const struct tm* getStartTime() const { return &startTime; }
    ArrayList<unsigned char>* getLdList() const { return ldList; }

private:
    int action;
    int mode;
    int delay;
    struct tm startTime;
    ArrayList<unsigned char>* ldList;
};

// Patrol read. Value: the delay or concurrent-drive number, 255 when none.
class AdpPrParsedObject : public ParsedObject {
public:
    // The start time is copied as in AdpCCSchedParsedObject.
    AdpPrParsedObject(unsigned short commandToken, unsigned short action, unsigned short value,
                      const struct tm* startTime, unsigned char adapterNumber);
    ParsedObject* clone() override;

    unsigned short getAction() const { return action; }
    unsigned short getValue() const { return value; }
    const struct tm* getStartTime() const { return &startTime; }

private:
    unsigned short action;
    unsigned short value;
    struct tm startTime;
};

// Boot drive. The boot LD is 255 until the parser sets it from its LD list.
class AdpBootDriveParsedObject : public ParsedObject {
public:
    AdpBootDriveParsedObject(unsigned short commandToken, ArrayList<EnclSlotId*>* driveList,
                             unsigned short action, unsigned char adapterNumber);
    ParsedObject* clone() override;

    unsigned short getAction() const { return action; }
    unsigned char getLd() const { return bootLd; }
    void setLd(unsigned char ld) { bootLd = ld; }
    ArrayList<EnclSlotId*>* getDriveList() const { return driveList.get(); }

private:
    unsigned short action;
    unsigned char bootLd;
    SharedDriveList driveList;
};

// Drive performance monitor statistics. The statistics type is 255 until the parser sets it.
class DpmStatParsedObject : public ParsedObject {
public:
    DpmStatParsedObject(unsigned short commandToken, ArrayList<EnclSlotId*>* driveList,
                        unsigned short action, unsigned char adapterNumber);
    ParsedObject* clone() override;

    unsigned short getAction() const { return action; }
    unsigned short getStatType() const { return statType; }
    void setStatType(unsigned short type) { statType = type; }
    ArrayList<EnclSlotId*>* getDriveList() const { return driveList.get(); }

private:
    unsigned short action;
    unsigned short statType;
    SharedDriveList driveList;
};

// Performance monitor. Action: 0 start, 1 stop, 2 results. The interval field also carries the
// output format (5 for CSV).
class PerfMonParsedObject : public ParsedObject {
public:
    PerfMonParsedObject(unsigned short commandToken, unsigned char action, unsigned short interval,
                        const string& fileName, unsigned char adapterNumber);
    ParsedObject* clone() override;

    unsigned char getAction() const { return action; }
    unsigned short getInterval() const { return interval; }
    string getFileName() const { return fileName; }

private:
    unsigned char action;
    unsigned short interval;
    string fileName;
};

// Event capture. Action: 1 start, 2 stop, 3 disable, 4 capture mode, 5 get, 6 show, 7 filter,
// 8 clear. Capture mode: 0 continuous, 1 full.
class AdAECPo : public ParsedObject {
public:
    AdAECPo(unsigned short commandToken, unsigned char action, unsigned int eventCount, unsigned char mode,
            unsigned int filterValue, unsigned char group, const string& fileName, unsigned char adapterNumber);
    ParsedObject* clone() override;

    string getFileName() const { return fileName; }
    unsigned char getAction() const { return action; }
    unsigned char getMode() const { return mode; }
    unsigned char getOption() const { return group; }
    unsigned int getValue() const { return eventCount; }
    unsigned int getSecondValue() const { return filterValue; }

private:
    string fileName;
    unsigned char action;
    unsigned char mode;
    unsigned char group;
    unsigned int eventCount;
    unsigned int filterValue;
};

// Connector mode. A connector number of 255 stands for every connector.
class MuxModeParsedObject : public ParsedObject {
public:
    MuxModeParsedObject(unsigned short commandToken, unsigned short mode, const ArrayList<unsigned char>* connectors,
                        unsigned char adapterNumber);
    ParsedObject* clone() override;

    unsigned short getMode() const { return mode; }
    unsigned char getMuxCount() const { return connectors.count(); }
    // The connector number at the index; 255 when the index is not below the count.
    unsigned char getMux(unsigned char index) const;

private:
    unsigned short mode;
    ArrayList<unsigned char> connectors;
};

#endif
