// The battery backup unit command ("-AdpBbuCmd"): the information displays (status with the
// battery's state, capacity, design, properties, backup charge time, all of them at once, and
// a raw read of the gas gauge's memory) and the commands that act on the battery (learn cycle,
// manufacturing sleep and seal, the mode list, the learn schedule, properties from a file).
//
// Every display reads its records afresh; a failed read leaves an application-log line and
// "Adapter N: <what failed>". Results: status and capacity displays give the failed read's
// status, the other displays -1; the commands give 0, -1 or the firmware status as each says.
//
// The displays are in AdpBbuDisplay.cpp, the commands in AdpBbuCommands.cpp.
#ifndef ADPBBUCP_H
#define ADPBBUCP_H

#include <cstddef>
#include <cstdint>
#include <memory>

#include "CpMgmt/CmdPro/CpFrame.h"
#include "Parser/TokenIds.h"
#include "RaidManager/Zpr/Records/Battery/ZprBbuDesignInfo.h"

class Adapter;
class AdpBbuPo;
class ZprBbuCapacityInfo;
class ZprBbuDesignInfo;
class ZprBbuProperties;
class ZprBbuStatus;
class ZprMfcFruData;

class AdpBbuCp : public CpFrame<AdpBbuCp, TOKEN_ADPBBUCMD> {
public:
    // The battery's state as the status display names it.
    enum class BatteryState {
        MISSING,
        OPTIMAL,
        FAILED,
        LEARNING,
        NEEDS_MANUAL_LEARN,
        FIRMWARE_CORRUPTED,
        ABOUT_TO_FAIL,
        DEGRADED_CHARGING,
        COMMUNICATION_FAILURE,
        UNKNOWN,
    };

    // A mode list as read: the bytes and the records they hold (the smaller of the counts of
    // the two reads, clamped to the room).
    struct ModeList {
        std::unique_ptr<uint8_t[]> bytes;
        size_t size = 0;
    };

    // The buffer of one formatted line or value of the battery displays.
    static const size_t TEXT_SIZE = 256;

    AdpBbuCp() : batteryBackupPresent(0) {}
    int process(CpController* cpController, ParsedObject* request) override;
    ~AdpBbuCp() override {}

    // The displays.
    int showStatus(CpController* cpController, AdpBbuPo* request);
    int showCapacityInfo(CpController* cpController, AdpBbuPo* request);
    int showDesignInfo(CpController* cpController, AdpBbuPo* request);
    int showProperties(CpController* cpController, AdpBbuPo* request);
    int showChargeTime(CpController* cpController, AdpBbuPo* request);
    int showGasGaugeData(CpController* cpController, AdpBbuPo* request);

    // The commands.
    int runBatteryOperation(CpController* cpController, AdpBbuPo* request);
    int showModes(CpController* cpController, AdpBbuPo* request);
    int scheduleLearn(CpController* cpController, AdpBbuPo* request);
    int setPropertiesFromFile(CpController* cpController, AdpBbuPo* request);

    // The state of a battery from its status record and the controller's battery-backup flag.
    BatteryState batteryState(const ZprBbuStatus& status) const;
    void setBatteryBackupPresent(uint8_t present) { batteryBackupPresent = present; }

    // "%d Day, %d Hour, %d Min." with the parts that are not 0 (0 minutes: empty).
    static void formatMinutes(uint16_t minutes, char* text, size_t size);
    // A controller time stamp as the C library's 25-character date line ("...\n"); "None"
    // when the library cannot convert it.
    static void formatControllerTime(uint32_t seconds, char* text, size_t size);
    // The seconds that daylight-saving time moves the clock (0 in a zone without it).
    static int getDstOffset();
    // The controller time stamp of the next learn cycle on week day `day` (0 Sunday) at
    // `hour`, with the controller's clock at `controllerSeconds`; false within the first
    // minute of that hour on that day.
    static bool nextLearnTime(uint32_t controllerSeconds, int day, int hour, uint32_t* next);
    // The words of a mode record: its retention (one of the three texts given: 24 hours, 48
    // hours, any other), its service life, and the auto-learn mode's name.
    static const char* retentionText(uint8_t hours, const char* text24, const char* text48, const char* other);
    static const char* serviceLifeText(uint8_t code);
    static const char* learnModeText(uint8_t mode, uint8_t transparentLearn);
    // Removes white space at both ends, in place.
    static void trim(char* text);

private:
    // Reads a record into the zeroed buffer; a failure is reported with `failText`.
    int readRecord(CpController* cpController, uint32_t opcode, uint8_t* buffer, size_t size, const char* failText);
    // The properties, status and design records, in that order (buffers of their sizes); -1
    // after the first failed read is reported.
    int readSettingsRecords(CpController* cpController, uint8_t* properties, uint8_t* status, uint8_t* design);
    // 0 and the type byte of the status record, or the failed read's status.
    int getBatteryType(CpController* cpController, uint8_t* type);
    // 0 and the list; else the firmware status cut to 8 bits, or 255 when memory runs out.
    uint8_t getModeList(CpController* cpController, ModeList* list);
    int dispatch(CpController* cpController, AdpBbuPo* request, uint8_t batteryType);
    int showAll(CpController* cpController, AdpBbuPo* request, uint8_t batteryType);

    void printStatus(CpController* cpController, const ZprBbuStatus& status, const ZprBbuDesignInfo& design);
    void printStatusDetails(const ZprBbuStatus& status);
    void printDesignMode(CpController* cpController);
    void printCapacityInfo(CpController* cpController, const ZprBbuCapacityInfo& capacity);
    void printDesignInfo(const ZprBbuDesignInfo& design, const ZprMfcFruData* fru, uint8_t batteryType);
    void printProperties(const ZprBbuProperties& properties, uint8_t batteryType, uint8_t transparentLearn,
                         bool modesSupported);
    void printLearnSchedule(const ZprBbuProperties& properties, const ZprBbuDesignInfo& design);
    void printModeList(const ModeList& list);
    int writeLearnSchedule(CpController* cpController, uint8_t* properties, uint8_t scheduleAction);
    // One line of a properties file; 1 when it set a key, 0 when it was skipped, -1 refused.
    int applyPropertyLine(char* line, uint8_t* properties, uint8_t batteryType, const ZprBbuDesignInfo& design);
    void printAdapterText(const char* text);
    // The controller's RAID manager refreshed and its adapter element; null after the failing
    // step's message.
    Adapter* refreshedAdapter(CpController* cpController);

    uint8_t batteryBackupPresent;
    uint8_t adapterNumber = 0;
};

// The name of the battery's kind: types 0 to 4, and type 5 of variant 0, by the table of
// battery kinds; any other battery by the device name of its design record, copied into
// `deviceName`. Every display that shows the battery's kind names it so.
const size_t BATTERY_DEVICE_NAME_SIZE = ZprBbuDesignInfo::DEVICE_NAME_WIDTH + 1;
const char* batteryTypeName(const ZprBbuStatus& status, const ZprBbuDesignInfo& design,
                            char (&deviceName)[BATTERY_DEVICE_NAME_SIZE]);

#endif
