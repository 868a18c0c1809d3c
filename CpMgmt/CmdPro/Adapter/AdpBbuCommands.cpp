// The commands of AdpBbuCp that act on the battery: learn cycle, manufacturing sleep and seal,
// the mode list, the learn schedule and the properties file.
#include "CpMgmt/CmdPro/Adapter/AdpBbuCp.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>

#include "CpMgmt/CmdPro/AdpCpSteps.h"
#include "CpMgmt/CmdPro/AdpDcmd.h"
#include "DataProvider/DcmdOpcodes.h"
#include "Parser/AdpParsedObjects.h"
#include "PavUtil/FileIO.h"
#include "RaidManager/Adapter.h"
#include "RaidManager/Zpr/Records/Battery/ZprBbuDesignInfo.h"
#include "RaidManager/Zpr/Records/Battery/ZprBbuModeList.h"
#include "RaidManager/Zpr/Records/Battery/ZprBbuProperties.h"
#include "RaidManager/Zpr/Records/Battery/ZprBbuStatus.h"
#include "RaidManager/Zpr/Records/Controller/ZprControllerSeconds.h"

namespace {

struct BatteryOperation {
    uint8_t action;
    uint32_t opcode;
    const char* name;
};

const BatteryOperation BATTERY_OPERATIONS[] = {
    {4, DCMD_BBU_START_LEARN, "BBU Learn"},
    {7, DCMD_BBU_MFG_DORMANT, "BBU MFG Sleep"},
    {8, DCMD_BBU_MFG_SEAL, "BBU MFG SEAL"},
};

const char* const LEARN_DAY_NAMES[] = {"SUN", "MON", "TUE", "WED", "THU", "FRI", "SAT"};
const char* const MONTH_NAMES[] = {"January", "February", "March",     "April",   "May",      "June",
                                   "July",    "August",   "September", "October", "November", "December"};

const uint8_t SCHEDULE_DISABLE = 1;
const uint8_t SCHEDULE_INFO = 2;
const uint8_t SCHEDULE_START_TIME = 3;
const uint8_t MODE_LIST_UNAVAILABLE = 2;
const uint32_t SECONDS_PER_WEEK = 604800;
// A piece of a properties file: at most 254 characters and the NUL.
const int PIECE_SIZE = 255;

// atoi's reading of a decimal text, without its undefined overflow.
int decimalValue(const char* text)
{
    return static_cast<int>(std::strtol(text, nullptr, 10));
}

// The next field between '=' signs from *cursor (runs of '=' skipped), cut off in place; null
// when none is left.
char* nextField(char** cursor)
{
    char* start = *cursor;
    while (*start == '=')
        ++start;
    if (*start == '\0')
        return nullptr;
    char* end = start;
    while (*end != '\0' && *end != '=')
        ++end;
    *cursor = *end == '\0' ? end : end + 1;
    *end = '\0';
    return start;
}

void appendText(char* text, size_t size, const char* more)
{
    size_t used = std::strlen(text);
    if (used < size)
        std::snprintf(text + used, size - used, " %s", more);
}

} // namespace

int AdpBbuCp::runBatteryOperation(CpController* cpController, AdpBbuPo* request)
{
    for (const BatteryOperation& operation : BATTERY_OPERATIONS) {
        if (operation.action != request->getAction())
            continue;
        char text[TEXT_SIZE];
        int status = sendDcmd(cpController, operation.opcode, nullptr);
        std::snprintf(text, sizeof text, status != 0 ? "%s Failed" : "%s Succeeded.", operation.name);
        printAdapterText(text);
        return status != 0 ? -1 : 0;
    }
    return -1;
}

int AdpBbuCp::showModes(CpController* cpController, AdpBbuPo*)
{
    uint8_t properties[ZprBbuProperties::SIZE];
    if (readRecord(cpController, DCMD_BBU_GET_PROPERTIES, properties, sizeof properties,
                   "Get BBU Properties Failed.") != 0)
        return -1;
    if (ZprBbuProperties(properties, sizeof properties).bbuMode() == 0) {
        printMessage(MSG_TEXT, "Undefined BBU Modes.");
        printMessage(MSG_NEWLINE);
    }
    ModeList list;
    uint8_t result = getModeList(cpController, &list);
    if (result == MODE_LIST_UNAVAILABLE)
        printAdapterText("BBU Mode Information not available.");
    else if (result != 0)
        printAdapterText("Get BBU Modes Failed.");
    else
        printModeList(list);
    return result;
}

void AdpBbuCp::printModeList(const ModeList& list)
{
    ZprBbuModeList modes(list.bytes.get(), list.size);
    for (size_t i = 0; i < modes.count(); ++i)
        printMessage(MSG_BBU_MODE_LINE, retentionText(modes.retentionHours(i), "24+", "48+", "12+"),
                     modes.transparentLearn(i) ? "transparent" : "non-transparent",
                     serviceLifeText(modes.serviceLife(i)));
}

int AdpBbuCp::scheduleLearn(CpController* cpController, AdpBbuPo* request)
{
    uint8_t properties[ZprBbuProperties::SIZE];
    if (readRecord(cpController, DCMD_BBU_GET_PROPERTIES, properties, sizeof properties,
                   "Get BBU Properties Failed.") != 0)
        return -1;
    Adapter* adapter = refreshedAdapter(cpController);
    if (adapter == nullptr)
        return -1;
    if (!adapter->isRealTimeSchedulingSupported()) {
        printMessage(MSG_BBU_NO_REAL_TIME_SCHEDULING, static_cast<int>(adapterNumber));
        return 1;
    }
    uint8_t design[ZprBbuDesignInfo::SIZE];
    if (readRecord(cpController, DCMD_BBU_GET_DESIGN_INFO, design, sizeof design, "Get BBU Design Info Failed.") != 0)
        return -1;
    ZprBbuDesignInfo designInfo(design, sizeof design);
    uint8_t type = 0;
    if (getBatteryType(cpController, &type) != 0)
        type = 0;
    uint8_t action = request->getScheduleAction();
    if (designInfo.transparentLearn() != 0 && type == ZprBbuStatus::TYPE_CAPACITOR_MODULE && action != SCHEDULE_INFO) {
        printAdapterText("Can not set bbu Schedule Learn for KPRB Battery with Transparent Learn.");
        return -1;
    }
    ZprBbuProperties settings(properties, sizeof properties);
    if (action == SCHEDULE_INFO) {
        printLearnSchedule(settings, designInfo);
        return 0;
    }
    if (action == SCHEDULE_DISABLE) {
        settings.setAutoLearnMode(ZprBbuProperties::AUTO_LEARN_DISABLED);
        return writeLearnSchedule(cpController, properties, action);
    }
    if (action != SCHEDULE_START_TIME)
        return -1;

    uint8_t clock[ZprControllerSeconds::SIZE];
    int status = readRecord(cpController, DCMD_ADP_GET_TIME_SECONDS, clock, sizeof clock, "Get FW Time Failed.");
    if (status != 0)
        return status;
    uint32_t next = 0;
    if (!nextLearnTime(ZprControllerSeconds(clock, sizeof clock).seconds(), request->learnDay,
                       request->getLearnSchedule()[AdpBbuPo::LEARN_SCHEDULE_HOUR], &next))
        return -1;
    settings.setNextLearnTime(next);
    settings.setAutoLearnMode(ZprBbuProperties::AUTO_LEARN_ENABLED);
    status = writeLearnSchedule(cpController, properties, action);
    if (status != 0)
        return status;
    if (readRecord(cpController, DCMD_BBU_GET_PROPERTIES, properties, sizeof properties,
                   "Get BBU Properties Failed.") != 0)
        return -1;
    printLearnSchedule(settings, designInfo);
    return 0;
}

int AdpBbuCp::writeLearnSchedule(CpController* cpController, uint8_t* properties, uint8_t scheduleAction)
{
    char text[TEXT_SIZE];
    std::snprintf(text, sizeof text, "%s", scheduleAction == SCHEDULE_DISABLE ? "Disable:" : "");
    int status = sendDcmd(cpController, DCMD_BBU_SET_PROPERTIES, properties);
    appendText(text, sizeof text,
               status != 0 ? "Battery Learn Scheduling Operation Failed." : "Battery Learn Scheduling Operation Successful.");
    printAdapterText(text);
    return status;
}

void AdpBbuCp::printLearnSchedule(const ZprBbuProperties& properties, const ZprBbuDesignInfo& design)
{
    char text[TEXT_SIZE];
    size_t used = 0;
    used += std::snprintf(text + used, sizeof text - used, "%s\n\n", "Battery Learn Scheduling Information:");
    used += std::snprintf(text + used, sizeof text - used, "%s %s\n", "Auto Learn Mode: ",
                          learnModeText(properties.autoLearnMode(), design.transparentLearn()));

    struct tm local;
    bool converted = false;
    if (properties.autoLearnMode() == ZprBbuProperties::AUTO_LEARN_ENABLED) {
        struct tm start;
        std::memset(&start, 0, sizeof start);
        start.tm_year = 100;
        start.tm_mday = 1;
        time_t when = mktime(&start) + static_cast<time_t>(properties.nextLearnTime());
        if (localtime_r(&when, &local) != nullptr && local.tm_isdst > 0)
            when -= getDstOffset();
        // A time the library cannot convert is shown as none rather than read through a null.
        converted = localtime_r(&when, &local) != nullptr && local.tm_wday >= 0 && local.tm_wday < 7 &&
                    local.tm_mon >= 0 && local.tm_mon < 12;
    }
    if (converted)
        used += std::snprintf(text + used, sizeof text - used, "%s %s, %s %d, %d at %.2d:%.2d:%.2d \n",
                              "Schedule Time:", LEARN_DAY_NAMES[local.tm_wday], MONTH_NAMES[local.tm_mon],
                              local.tm_mday, local.tm_year + 1900, local.tm_hour, local.tm_min, local.tm_sec);
    else
        used += std::snprintf(text + used, sizeof text - used, "%s %s\n", "Schedule Time:", "None");
    if (used < sizeof text)
        std::snprintf(text + used, sizeof text - used, "%s %d Weeks\n", "Interval :",
                      static_cast<int>(static_cast<uint8_t>(properties.autoLearnPeriod() / SECONDS_PER_WEEK)));
    printMessage(MSG_TEXT, text);
}

int AdpBbuCp::setPropertiesFromFile(CpController* cpController, AdpBbuPo* request)
{
    uint8_t properties[ZprBbuProperties::SIZE];
    uint8_t status[ZprBbuStatus::SIZE];
    uint8_t design[ZprBbuDesignInfo::SIZE];
    if (readSettingsRecords(cpController, properties, status, design) != 0)
        return -1;
    ZprBbuDesignInfo designInfo(design, sizeof design);
    uint8_t type = ZprBbuStatus(status, sizeof status).type();

    FileIO* io = FileIO::instance();
    FileHandle* file = io->open(request->getFileName().c_str(), "r");
    if (file == nullptr) {
        printAdapterText("Failed open file.");
        return -1;
    }
    if (type == ZprBbuStatus::TYPE_CAPACITOR_MODULE && designInfo.transparentLearn() != 0) {
        io->close(file);
        printAdapterText("Can not set bbu properties for KPRB Battery with Transparent Learn.");
        return -1;
    }
    int accepted = 0;
    char piece[PIECE_SIZE];
    while (io->gets(piece, sizeof piece, file) != nullptr) {
        int taken = applyPropertyLine(piece, properties, type, designInfo);
        if (taken < 0) {
            io->close(file);
            return -1;
        }
        accepted += taken;
    }
    io->close(file);

    if (accepted == 0) {
        printAdapterText("No Property match found in File. Set BBU Properties Failed.");
        return -1;
    }
    if (sendDcmd(cpController, DCMD_BBU_SET_PROPERTIES, properties) != 0) {
        printAdapterText("Set BBU Properties Failed.");
        return -1;
    }
    printAdapterText("Set BBU Properties Succeeded.");
    return 0;
}

int AdpBbuCp::applyPropertyLine(char* line, uint8_t* properties, uint8_t batteryType, const ZprBbuDesignInfo& design)
{
    trim(line);
    char* cursor = line;
    char* key = nextField(&cursor);
    char* value = key != nullptr ? nextField(&cursor) : nullptr;
    if (value == nullptr)
        return 0;
    trim(key);
    trim(value);
    ZprBbuProperties settings(properties, ZprBbuProperties::SIZE);
    int number = decimalValue(value);

    if (std::strcmp(key, "learnDelayInterval") == 0) {
        settings.setLearnDelayInterval(static_cast<uint8_t>(number));
        return 1;
    }
    if (std::strcmp(key, "bbuMode") == 0) {
        if (!design.modesSupported() || batteryType != ZprBbuStatus::TYPE_WITH_MODES) {
            printAdapterText("Does not support BBU Mode.");
            return -1;
        }
        if (number < 1 || number > 255) {
            printMessage(MSG_TEXT, "\nInvalid bbuMode mode \n");
            return -1;
        }
        settings.setBbuMode(static_cast<uint8_t>(number));
        return 1;
    }
    if (std::strcmp(key, "autoLearnMode") == 0) {
        uint8_t mode = static_cast<uint8_t>(number);
        settings.setAutoLearnMode(mode);
        if ((mode == ZprBbuProperties::AUTO_LEARN_WARN && design.transparentLearn() != 0) ||
            mode > ZprBbuProperties::AUTO_LEARN_WARN) {
            printAdapterText("Set BBU Properties Failed.");
            printMessage(MSG_TEXT, "\nInvalid AutoLearn mode \n");
            return -1;
        }
        return 1;
    }
    return 0;
}
