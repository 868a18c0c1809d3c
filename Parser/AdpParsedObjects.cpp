#include "Parser/AdpParsedObjects.h"

#include <cstring>

namespace {

// A schedule start time is taken only when one was given: a null pointer or a zero year field
// leaves it all zero.
void copyStartTime(struct tm* target, const struct tm* source)
{
    std::memset(target, 0, sizeof(*target));
    if (source != nullptr && source->tm_year != 0)
        *target = *source;
}

// Set while no event-log request has been copied in this command run.
bool eventLogFirstCopyPending = true;

} // namespace

// Requests without fields of their own.

AdpAllInfoParsedObject::AdpAllInfoParsedObject(unsigned short commandToken, unsigned char adapterNumber)
    : ParsedObject(commandToken, adapterNumber)
{
}

ParsedObject* AdpAllInfoParsedObject::clone()
{
    return new (noThrowNew) AdpAllInfoParsedObject(getCommandToken(), getAdapterNumber());
}

AdpCacheFlushParsedObject::AdpCacheFlushParsedObject(unsigned short commandToken, unsigned char adapterNumber)
    : ParsedObject(commandToken, adapterNumber)
{
}

ParsedObject* AdpCacheFlushParsedObject::clone()
{
    return new (noThrowNew) AdpCacheFlushParsedObject(getCommandToken(), getAdapterNumber());
}

AdpFacDefSetPo::AdpFacDefSetPo(unsigned short commandToken, unsigned char adapterNumber)
    : ParsedObject(commandToken, adapterNumber)
{
}

ParsedObject* AdpFacDefSetPo::clone()
{
    return new (noThrowNew) AdpFacDefSetPo(getCommandToken(), getAdapterNumber());
}

AdpShutDownParsedObject::AdpShutDownParsedObject(unsigned short commandToken, unsigned char adapterNumber)
    : ParsedObject(commandToken, adapterNumber)
{
}

ParsedObject* AdpShutDownParsedObject::clone()
{
    return new (noThrowNew) AdpShutDownParsedObject(getCommandToken(), getAdapterNumber());
}

AdpAllInOneLogParsedObject::AdpAllInOneLogParsedObject(unsigned short commandToken, unsigned char adapterNumber)
    : ParsedObject(commandToken, adapterNumber)
{
}

ParsedObject* AdpAllInOneLogParsedObject::clone()
{
    return new (noThrowNew) AdpAllInOneLogParsedObject(getCommandToken(), getAdapterNumber());
}

AdpGetPciInfoParsedObject::AdpGetPciInfoParsedObject(unsigned short commandToken, unsigned char adapterNumber)
    : ParsedObject(commandToken, adapterNumber)
{
}

ParsedObject* AdpGetPciInfoParsedObject::clone()
{
    return new (noThrowNew) AdpGetPciInfoParsedObject(getCommandToken(), getAdapterNumber());
}

AdpDowngradeParsedObject::AdpDowngradeParsedObject(unsigned short commandToken, unsigned char adapterNumber)
    : ParsedObject(commandToken, adapterNumber)
{
}

ParsedObject* AdpDowngradeParsedObject::clone()
{
    return new (noThrowNew) AdpDowngradeParsedObject(getCommandToken(), getAdapterNumber());
}

AdpRestartParsedObject::AdpRestartParsedObject(unsigned short commandToken, unsigned char adapterNumber)
    : ParsedObject(commandToken, adapterNumber)
{
}

ParsedObject* AdpRestartParsedObject::clone()
{
    return new (noThrowNew) AdpRestartParsedObject(getCommandToken(), getAdapterNumber());
}

PhyErrCtParsedObject::PhyErrCtParsedObject(unsigned short commandToken, unsigned char adapterNumber)
    : ParsedObject(commandToken, adapterNumber)
{
}

ParsedObject* PhyErrCtParsedObject::clone()
{
    return new (noThrowNew) PhyErrCtParsedObject(getCommandToken(), getAdapterNumber());
}

AdpCountParsedObject::AdpCountParsedObject(unsigned short commandToken)
    : ParsedObject(commandToken, NO_ADAPTER)
{
}

ParsedObject* AdpCountParsedObject::clone()
{
    return nullptr;
}

// Requests with fields of their own.

AdpPhyInfoParsedObject::AdpPhyInfoParsedObject(unsigned short commandToken, unsigned char phyNumber,
                                               unsigned char adapterNumber)
    : AdpAllInfoParsedObject(commandToken, adapterNumber), phyNumber(phyNumber)
{
}

ParsedObject* AdpPhyInfoParsedObject::clone()
{
    return new (noThrowNew) AdpPhyInfoParsedObject(getCommandToken(), phyNumber, getAdapterNumber());
}

AdpPhySetLinkSpeedParsedObject::AdpPhySetLinkSpeedParsedObject(unsigned short commandToken,
                                                               unsigned char phyNumber, unsigned char linkSpeed,
                                                               unsigned char adapterNumber)
    : ParsedObject(commandToken, adapterNumber), phyNumber(phyNumber), linkSpeed(linkSpeed)
{
}

ParsedObject* AdpPhySetLinkSpeedParsedObject::clone()
{
    return new (noThrowNew) AdpPhySetLinkSpeedParsedObject(getCommandToken(), phyNumber, linkSpeed,
                                                           getAdapterNumber());
}

PciLinkSpeedParsedObject::PciLinkSpeedParsedObject(unsigned short commandToken, unsigned char linkSpeed,
                                                   unsigned char adapterNumber)
    : ParsedObject(commandToken, adapterNumber), linkSpeed(linkSpeed)
{
}

ParsedObject* PciLinkSpeedParsedObject::clone()
{
    return new (noThrowNew) PciLinkSpeedParsedObject(getCommandToken(), linkSpeed, getAdapterNumber());
}

CliVersionPo::CliVersionPo(unsigned short commandToken, unsigned char versionKind, unsigned char adapterNumber)
    : ParsedObject(commandToken, adapterNumber), versionKind(versionKind)
{
}

ParsedObject* CliVersionPo::clone()
{
    return new (noThrowNew) CliVersionPo(getCommandToken(), versionKind, getAdapterNumber());
}

AppVersionParsedObject::AppVersionParsedObject(unsigned short commandToken, const string& helpTopic,
                                               unsigned char adapterNumber)
    : ParsedObject(commandToken, adapterNumber), helpTopic(helpTopic)
{
}

ParsedObject* AppVersionParsedObject::clone()
{
    return new (noThrowNew) AppVersionParsedObject(getCommandToken(), helpTopic, getAdapterNumber());
}

AdpBiosParsedObject::AdpBiosParsedObject(unsigned short commandToken, unsigned short action,
                                         unsigned char adapterNumber)
    : ParsedObject(commandToken, adapterNumber), action(action)
{
}

ParsedObject* AdpBiosParsedObject::clone()
{
    return new (noThrowNew) AdpBiosParsedObject(getCommandToken(), action, getAdapterNumber());
}

AdpAutoRbldParsedObject::AdpAutoRbldParsedObject(unsigned short commandToken, unsigned short action,
                                                 unsigned char adapterNumber)
    : ParsedObject(commandToken, adapterNumber), action(action)
{
}

ParsedObject* AdpAutoRbldParsedObject::clone()
{
    return new (noThrowNew) AdpAutoRbldParsedObject(getCommandToken(), action, getAdapterNumber());
}

AdpTTYLogPo::AdpTTYLogPo(unsigned short commandToken, unsigned char action, unsigned char adapterNumber)
    : ParsedObject(commandToken, adapterNumber), action(action)
{
}

ParsedObject* AdpTTYLogPo::clone()
{
    return new (noThrowNew) AdpTTYLogPo(getCommandToken(), action, getAdapterNumber());
}

AdpDiagParsedObject::AdpDiagParsedObject(unsigned short commandToken, unsigned int value, unsigned char adapterNumber)
    : ParsedObject(commandToken, adapterNumber), value(value)
{
}

ParsedObject* AdpDiagParsedObject::clone()
{
    return new (noThrowNew) AdpDiagParsedObject(getCommandToken(), value, getAdapterNumber());
}

AdpPropertyPo::AdpPropertyPo(unsigned short commandToken, unsigned short property, int value,
                             unsigned char adapterNumber)
    : ParsedObject(commandToken, adapterNumber), property(property), value(value), value2(255), value3(255),
      value4(255)
{
}

AdpPropertyPo::AdpPropertyPo(unsigned short commandToken, unsigned short property, int value, int value3,
                             unsigned char adapterNumber)
    : ParsedObject(commandToken, adapterNumber), property(property), value(value), value2(255), value3(value3),
      value4(255)
{
}

AdpPropertyPo::AdpPropertyPo(unsigned short commandToken, unsigned short property, int value,
                             unsigned char value2, int value3, unsigned char value4, unsigned char adapterNumber)
    : ParsedObject(commandToken, adapterNumber), property(property), value(value), value2(value2),
      value3(value3), value4(value4)
{
}

ParsedObject* AdpPropertyPo::clone()
{
    // The full form carries all five values, whichever form built the source.
    return new (noThrowNew) AdpPropertyPo(getCommandToken(), property, value, value2, value3, value4,
                                          getAdapterNumber());
}

AdpSettingsPo::AdpSettingsPo(unsigned short commandToken, const string& fileName, unsigned char direction,
                             unsigned char adapterNumber)
    : ParsedObject(commandToken, adapterNumber), fileName(fileName), direction(direction)
{
}

ParsedObject* AdpSettingsPo::clone()
{
    return new (noThrowNew) AdpSettingsPo(getCommandToken(), fileName, direction, getAdapterNumber());
}

AdpSetVerifyPo::AdpSetVerifyPo(unsigned short commandToken, const string& fileName, unsigned char adapterNumber)
    : ParsedObject(commandToken, adapterNumber), fileName(fileName)
{
}

ParsedObject* AdpSetVerifyPo::clone()
{
    return new (noThrowNew) AdpSetVerifyPo(getCommandToken(), fileName, getAdapterNumber());
}

ShowSummaryPo::ShowSummaryPo(unsigned short commandToken, unsigned char fileGiven, const string& fileName,
                             unsigned char adapterNumber)
    : ParsedObject(commandToken, adapterNumber), fileGiven(fileGiven), fileName(fileName)
{
}

ParsedObject* ShowSummaryPo::clone()
{
    return new (noThrowNew) ShowSummaryPo(getCommandToken(), fileGiven, fileName, getAdapterNumber());
}

AdpFwFlashPo::AdpFwFlashPo(unsigned short commandToken, const string& fileName, unsigned char resetNow,
                           unsigned char noSignatureCheck, unsigned char noVersionCheck,
                           unsigned char adapterNumber, unsigned char fwType)
    : ParsedObject(commandToken, adapterNumber), fileName(fileName), fwType(fwType), resetNow(resetNow),
      noSignatureCheck(noSignatureCheck), noVersionCheck(noVersionCheck)
{
}

ParsedObject* AdpFwFlashPo::clone()
{
    return new (noThrowNew) AdpFwFlashPo(getCommandToken(), fileName, resetNow, noSignatureCheck, noVersionCheck,
                                         getAdapterNumber(), fwType);
}

AdpTimeParsedObject::AdpTimeParsedObject(unsigned short commandToken, const AdpDateTime* dateTime,
                                         unsigned char adapterNumber)
    : ParsedObject(commandToken, adapterNumber)
{
    if (dateTime != nullptr) {
        this->dateTime = *dateTime;
    } else {
        std::memset(&this->dateTime, 0, sizeof(this->dateTime));
        this->dateTime.year = 0xFFFF;
    }
}

ParsedObject* AdpTimeParsedObject::clone()
{
    return new (noThrowNew) AdpTimeParsedObject(getCommandToken(), &dateTime, getAdapterNumber());
}

int AdpTimeParsedObject::getDateTime(AdpDateTime* target) const
{
    if (dateTime.year == 0xFFFF)
        return 1;
    if (target == nullptr)
        return -1;
    target->year = dateTime.year;
    target->month = dateTime.month;
    target->day = dateTime.day;
    target->hour = dateTime.hour;
    target->minute = dateTime.minute;
    target->second = dateTime.second;
    return 0;
}

AdpEventLogPo::AdpEventLogPo(unsigned short commandToken, const string& fileName, unsigned char action,
                             unsigned char classFilter, unsigned short latestCount,
                             const ArrayList<unsigned char>* ldList, unsigned char followingAdapter,
                             unsigned char adapterNumber)
    : ParsedObject(commandToken, adapterNumber), fileName(fileName), action(action), classFilter(classFilter),
      followingAdapter(followingAdapter), latestCount(latestCount), ldList(copyByteValues(ldList))
{
}

AdpEventLogPo::~AdpEventLogPo()
{
    delete ldList;
}

ParsedObject* AdpEventLogPo::clone()
{
    AdpEventLogPo* copy = new (noThrowNew) AdpEventLogPo(getCommandToken(), fileName, action, classFilter,
                                                         latestCount, ldList, followingAdapter, getAdapterNumber());
    if (copy == nullptr)
        return nullptr;
    copy->followingAdapter = eventLogFirstCopyPending ? 0 : 1;
    eventLogFirstCopyPending = false;
    return copy;
}

void AdpEventLogPo::restartCloneSequence()
{
    eventLogFirstCopyPending = true;
}

AdpBbuPo::AdpBbuPo(unsigned short commandToken, const string& fileName, unsigned char action, unsigned int offset,
                   unsigned int byteCount, unsigned char adapterNumber, unsigned char scheduleAction,
                   const unsigned char* learnSchedule, unsigned char learnDay)
    : ParsedObject(commandToken, adapterNumber), learnDay(learnDay), fileName(fileName), action(action),
      offset(offset), byteCount(byteCount), scheduleAction(scheduleAction)
{
    if (learnSchedule != nullptr) {
        std::memcpy(this->learnSchedule, learnSchedule, LEARN_SCHEDULE_SIZE);
    } else {
        std::memset(this->learnSchedule, 0, LEARN_SCHEDULE_SIZE);
        this->learnSchedule[LEARN_SCHEDULE_HOUR] = 255;
    }
}

ParsedObject* AdpBbuPo::clone()
{
    return new (noThrowNew) AdpBbuPo(getCommandToken(), fileName, action, offset, byteCount, getAdapterNumber(),
                                     scheduleAction, learnSchedule, learnDay);
}

AdpCCSchedParsedObject::AdpCCSchedParsedObject(unsigned short commandToken, int action, int mode, int delay,
                                               const struct tm* startTime, const ArrayList<unsigned char>* ldList,
                                               unsigned char adapterNumber)
    : ParsedObject(commandToken, adapterNumber), action(action), mode(mode), delay(delay), ldList(nullptr)
{
    copyStartTime(&this->startTime, startTime);
    if (ldList != nullptr && ldList->count() > 0)
        this->ldList = copyByteValues(ldList);
}

AdpCCSchedParsedObject::~AdpCCSchedParsedObject()
{
    delete ldList;
}

ParsedObject* AdpCCSchedParsedObject::clone()
{
    return new (noThrowNew) AdpCCSchedParsedObject(getCommandToken(), action, mode, delay, &startTime, ldList,
                                                   getAdapterNumber());
}

AdpPrParsedObject::AdpPrParsedObject(unsigned short commandToken, unsigned short action, unsigned short value,
                                     const struct tm* startTime, unsigned char adapterNumber)
    : ParsedObject(commandToken, adapterNumber), action(action), value(value)
{
    copyStartTime(&this->startTime, startTime);
}

ParsedObject* AdpPrParsedObject::clone()
{
    return new (noThrowNew) AdpPrParsedObject(getCommandToken(), action, value, &startTime, getAdapterNumber());
}

AdpBootDriveParsedObject::AdpBootDriveParsedObject(unsigned short commandToken, ArrayList<EnclSlotId*>* driveList,
                                                   unsigned short action, unsigned char adapterNumber)
    : ParsedObject(commandToken, adapterNumber), action(action), bootLd(255), driveList(driveList)
{
}

ParsedObject* AdpBootDriveParsedObject::clone()
{
    AdpBootDriveParsedObject* copy = new (noThrowNew) AdpBootDriveParsedObject(getCommandToken(), driveList.get(),
                                                                               action, getAdapterNumber());
    if (copy != nullptr)
        copy->setLd(bootLd);
    return copy;
}

DpmStatParsedObject::DpmStatParsedObject(unsigned short commandToken, ArrayList<EnclSlotId*>* driveList,
                                         unsigned short action, unsigned char adapterNumber)
    : ParsedObject(commandToken, adapterNumber), action(action), statType(255), driveList(driveList)
{
}

ParsedObject* DpmStatParsedObject::clone()
{
    DpmStatParsedObject* copy = new (noThrowNew) DpmStatParsedObject(getCommandToken(), driveList.get(), action,
                                                                     getAdapterNumber());
    if (copy != nullptr)
        copy->setStatType(statType);
    return copy;
}

PerfMonParsedObject::PerfMonParsedObject(unsigned short commandToken, unsigned char action, unsigned short interval,
                                         const string& fileName, unsigned char adapterNumber)
    : ParsedObject(commandToken, adapterNumber), action(action), interval(interval), fileName(fileName)
{
}

ParsedObject* PerfMonParsedObject::clone()
{
    return new (noThrowNew) PerfMonParsedObject(getCommandToken(), action, interval, fileName, getAdapterNumber());
}

AdAECPo::AdAECPo(unsigned short commandToken, unsigned char action, unsigned int eventCount, unsigned char mode,
                 unsigned int filterValue, unsigned char group, const string& fileName, unsigned char adapterNumber)
    : ParsedObject(commandToken, adapterNumber), fileName(fileName), action(action), mode(mode), group(group),
      eventCount(eventCount), filterValue(filterValue)
{
}

ParsedObject* AdAECPo::clone()
{
    return new (noThrowNew) AdAECPo(getCommandToken(), action, eventCount, mode, filterValue, group, fileName,
                                    getAdapterNumber());
}

MuxModeParsedObject::MuxModeParsedObject(unsigned short commandToken, unsigned short mode,
                                         const ArrayList<unsigned char>* connectors, unsigned char adapterNumber)
    : ParsedObject(commandToken, adapterNumber), mode(mode), connectors(4)
{
    appendByteValues(&this->connectors, connectors);
}

ParsedObject* MuxModeParsedObject::clone()
{
    return new (noThrowNew) MuxModeParsedObject(getCommandToken(), mode, &connectors, getAdapterNumber());
}

unsigned char MuxModeParsedObject::getMux(unsigned char index) const
{
    if (index >= connectors.count())
        return 255;
    return connectors.get(index);
}
