#include "CpMgmt/CmdPro/Adapter/AdpBbuCp.h"

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <new>

#include "CpMgmt/CmdPro/AdpCpSteps.h"
#include "CpMgmt/CmdPro/AdpDcmd.h"
#include "CpMgmt/CpFactoryRegistry.h"
#include "DataProvider/DcmdOpcodes.h"
#include "Parser/AdpParsedObjects.h"
#include "Parser/TokenIds.h"
#include "RaidManager/Adapter.h"
#include "RaidManager/RaidManager.h"
#include "RaidManager/Zpr/Records/Battery/ZprBbuModeList.h"
#include "RaidManager/Zpr/Records/Battery/ZprBbuProperties.h"
#include "RaidManager/Zpr/Records/Battery/ZprBbuStatus.h"

namespace {

// The sub-command codes of the request.
enum SubCommand : uint8_t {
    SHOW_STATUS = 1,
    SHOW_CAPACITY = 2,
    SHOW_DESIGN = 3,
    LEARN = 4,
    SHOW_PROPERTIES = 5,
    SET_PROPERTIES = 6,
    MFG_SLEEP = 7,
    MFG_SEAL = 8,
    GAS_GAUGE_DATA = 9,
    SHOW_ALL = 10,
    SHOW_MODES = 11,
    SCHEDULE_LEARN = 12,
};

const uint8_t RETENTION_24_HOURS = 24;
const uint8_t RETENTION_48_HOURS = 48;
const uint8_t SERVICE_LIFE_BALANCED = 3;
const uint8_t SERVICE_LIFE_BEST = 5;
const uint8_t MODE_LIST_NO_MEMORY = 255;

const int DAYS_PER_WEEK = 7;
// asctime's line: 24 characters, the line end and the NUL.
const size_t DATE_LINE_SIZE = 26;

// 2000-01-01 00:00:00 local standard time, where controller time stamps count from.
time_t controllerEpoch(int dstFlag)
{
    struct tm start;
    std::memset(&start, 0, sizeof start);
    start.tm_year = 100;
    start.tm_mday = 1;
    start.tm_isdst = dstFlag;
    return mktime(&start);
}

} // namespace

int AdpBbuCp::process(CpController* cpController, ParsedObject* parsed)
{
    CpQuietRefresh<CpStart<AdpBbuPo>> start(cpController, parsed, "AdpBbuPo *");
    adapterNumber = start.number();
    if (!start)
        return -1;
    AdpBbuPo* request = start.request();
    batteryBackupPresent = start.adapter()->getBatteryBackupFlag();

    uint8_t batteryType = 0;
    if (getBatteryType(cpController, &batteryType) != 0)
        batteryType = 0;
    return dispatch(cpController, request, batteryType);
}

int AdpBbuCp::dispatch(CpController* cpController, AdpBbuPo* request, uint8_t batteryType)
{
    switch (request->getAction()) {
    case SHOW_STATUS:
        return showStatus(cpController, request);
    case SHOW_CAPACITY:
        return showCapacityInfo(cpController, request);
    case SHOW_DESIGN:
        return showDesignInfo(cpController, request);
    case SHOW_PROPERTIES:
        return showProperties(cpController, request);
    case GAS_GAUGE_DATA:
        return showGasGaugeData(cpController, request);
    case SHOW_ALL:
        return showAll(cpController, request, batteryType);
    case LEARN:
    case MFG_SLEEP:
    case MFG_SEAL:
        return runBatteryOperation(cpController, request);
    case SET_PROPERTIES:
        return setPropertiesFromFile(cpController, request);
    case SHOW_MODES:
        return showModes(cpController, request);
    case SCHEDULE_LEARN:
        return scheduleLearn(cpController, request);
    default:
        return -1;
    }
}

// Everything about the battery; only a failed status display ends it early.
int AdpBbuCp::showAll(CpController* cpController, AdpBbuPo* request, uint8_t batteryType)
{
    int status = showStatus(cpController, request);
    if (status != 0)
        return status;
    showChargeTime(cpController, request);
    if (batteryType != ZprBbuStatus::TYPE_CAPACITOR_MODULE)
        showCapacityInfo(cpController, request);
    showDesignInfo(cpController, request);
    showProperties(cpController, request);
    return 0;
}

Adapter* AdpBbuCp::refreshedAdapter(CpController* cpController)
{
    CpQuietRefresh<CpModelSteps> model(cpController, adapterNumber);
    return model.adapter();
}

void AdpBbuCp::printAdapterText(const char* text)
{
    printMessage(MSG_ADAPTER_TEXT, static_cast<int>(adapterNumber), text);
}

int AdpBbuCp::readRecord(CpController* cpController, uint32_t opcode, uint8_t* buffer, size_t size,
                         const char* failText)
{
    std::memset(buffer, 0, size);
    int status = sendDcmd(cpController, opcode, buffer);
    if (status != 0)
        printAdapterText(failText);
    return status;
}

int AdpBbuCp::getBatteryType(CpController* cpController, uint8_t* type)
{
    uint8_t record[ZprBbuStatus::SIZE] = {};
    int status = sendDcmd(cpController, DCMD_BBU_GET_STATUS, record);
    if (status == 0)
        *type = ZprBbuStatus(record, sizeof record).type();
    return status;
}

// The list is read twice: the count with one record, then the whole list. Its count is the
// firmware's word, so it is clamped before it sizes the buffer, and the second reply may not
// claim more records than the first one announced.
uint8_t AdpBbuCp::getModeList(CpController* cpController, ModeList* list)
{
    uint8_t probe[ZprBbuModeList::PROBE_SIZE] = {};
    int status = sendDcmdWithWord(cpController, DCMD_BBU_GET_DATA_RECORDS, 0, probe, sizeof probe);
    if (status != 0)
        return static_cast<uint8_t>(status);
    uint32_t announced = static_cast<uint32_t>(ZprBbuModeList(probe, sizeof probe).countWord());
    if (announced > ZprBbuModeList::MAX_RECORDS)
        announced = ZprBbuModeList::MAX_RECORDS;

    size_t size = ZprBbuModeList::sizeFor(announced);
    std::unique_ptr<uint8_t[]> bytes(new (std::nothrow) uint8_t[size]);
    if (bytes == nullptr) {
        printMessage(MSG_TEXT, "Failed to allocate memory\n");
        return MODE_LIST_NO_MEMORY;
    }
    std::memset(bytes.get(), 0, size);
    status = sendDcmdWithWord(cpController, DCMD_BBU_GET_DATA_RECORDS, 0, bytes.get(), static_cast<uint32_t>(size));
    if (status != 0)
        return static_cast<uint8_t>(status);
    LeView view(bytes.get(), size);
    if (view.u32(ZprBbuModeList::COUNT) > announced)
        view.setU32(ZprBbuModeList::COUNT, announced);
    list->bytes = std::move(bytes);
    list->size = size;
    return 0;
}

int AdpBbuCp::getDstOffset()
{
    long long difference = static_cast<long long>(controllerEpoch(1)) - static_cast<long long>(controllerEpoch(0));
    return static_cast<int>(difference < 0 ? -difference : difference);
}

void AdpBbuCp::formatControllerTime(uint32_t seconds, char* text, size_t size)
{
    time_t base = controllerEpoch(0);
    time_t when = base + static_cast<time_t>(seconds);
    struct tm local;
    if (localtime_r(&when, &local) != nullptr && local.tm_isdst > 0)
        when -= getDstOffset();
    char line[DATE_LINE_SIZE];
    // A time the library cannot convert is shown as none rather than read through a null.
    if (localtime_r(&when, &local) == nullptr || asctime_r(&local, line) == nullptr)
        std::snprintf(text, size, "%s", "None");
    else
        std::snprintf(text, size, "%s", line);
}

bool AdpBbuCp::nextLearnTime(uint32_t controllerSeconds, int day, int hour, uint32_t* next)
{
    if (day < 0 || day >= DAYS_PER_WEEK || hour < 0 || hour > 23)
        return false;
    time_t base = controllerEpoch(0);
    time_t now = base + static_cast<time_t>(controllerSeconds);
    struct tm local;
    if (localtime_r(&now, &local) == nullptr)
        return false;
    int weekDay = local.tm_wday;
    int daysAhead = 0;
    if (weekDay < day)
        daysAhead = day - weekDay;
    else if (weekDay > day)
        daysAhead = DAYS_PER_WEEK - weekDay + day;

    // The day and hour of the next learn, in local wall-clock time; the library finds the
    // moment, so a change to or from daylight-saving time on the way does not move the hour.
    if (daysAhead == 0 && (local.tm_hour > hour || (local.tm_hour == hour && local.tm_min != 0)))
        daysAhead = DAYS_PER_WEEK;
    else if (daysAhead == 0 && local.tm_hour == hour)
        return false;
    struct tm wanted = local;
    wanted.tm_mday += daysAhead;
    wanted.tm_hour = hour;
    wanted.tm_min = 0;
    wanted.tm_sec = 0;
    wanted.tm_isdst = -1;
    time_t wantedTime = mktime(&wanted);
    if (wantedTime == static_cast<time_t>(-1))
        return false;

    uint32_t target = static_cast<uint32_t>(wantedTime);
    time_t targetTime = static_cast<time_t>(target);
    if (localtime_r(&targetTime, &local) != nullptr && local.tm_isdst > 0)
        target += static_cast<uint32_t>(getDstOffset());
    *next = static_cast<uint32_t>(target - static_cast<uint32_t>(base));
    return true;
}

void AdpBbuCp::formatMinutes(uint16_t minutes, char* text, size_t size)
{
    int days = minutes / 1440;
    int rest = minutes % 1440;
    int hours = rest / 60;
    int mins = rest % 60;
    size_t used = 0;
    text[0] = '\0';
    if (days != 0)
        used += static_cast<size_t>(std::snprintf(text + used, size - used, "%d Day, ", days));
    if (hours != 0 && used < size)
        used += static_cast<size_t>(std::snprintf(text + used, size - used, "%d Hour, ", hours));
    if (mins != 0 && used < size)
        std::snprintf(text + used, size - used, "%d Min.", mins);
}

const char* AdpBbuCp::retentionText(uint8_t hours, const char* text24, const char* text48, const char* other)
{
    if (hours == RETENTION_24_HOURS)
        return text24;
    return hours == RETENTION_48_HOURS ? text48 : other;
}

const char* AdpBbuCp::serviceLifeText(uint8_t code)
{
    if (code == SERVICE_LIFE_BALANCED)
        return "balanced";
    return code == SERVICE_LIFE_BEST ? "best" : "moderate";
}

const char* AdpBbuCp::learnModeText(uint8_t mode, uint8_t transparentLearn)
{
    if (mode == ZprBbuProperties::AUTO_LEARN_ENABLED)
        return transparentLearn != 0 ? "Transparent" : "Enabled";
    return mode == ZprBbuProperties::AUTO_LEARN_WARN ? "Warn via Event" : "Disabled";
}

void AdpBbuCp::trim(char* text)
{
    size_t length = std::strlen(text);
    while (length > 0 && std::isspace(static_cast<unsigned char>(text[length - 1])))
        text[--length] = '\0';
    size_t start = 0;
    while (std::isspace(static_cast<unsigned char>(text[start])))
        ++start;
    if (start != 0)
        std::memmove(text, text + start, length - start + 1);
}

namespace {

const CpRegistration<AdpBbuCp> registration;

} // namespace
