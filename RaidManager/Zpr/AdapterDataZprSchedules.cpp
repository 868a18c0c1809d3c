// The adapter data's patrol read and scheduled consistency check. Their properties records are
// read once and cached; unlike the controller properties, every setter writes its record back
// at once. Status records are read on every query. The firmware keeps start times as seconds
// since 1 January 2000 00:00 local time, which these operations convert from and to
// broken-down local time.
#include <cstring>

#include "DataProvider/DcmdOpcodes.h"
#include "RaidManager/Zpr/AdapterDataZpr.h"
#include "RaidManager/Zpr/Records/Controller/ZprCcSchedule.h"
#include "RaidManager/Zpr/Records/Controller/ZprCcScheduleStatus.h"
#include "RaidManager/Zpr/Records/Controller/ZprControllerProperties.h"
#include "RaidManager/Zpr/Records/ZprFirmwareStatus.h"
#include "RaidManager/Zpr/Records/Controller/ZprPatrolReadProperties.h"
#include "RaidManager/Zpr/Records/Controller/ZprPatrolReadStatus.h"

namespace {

typedef ZprPatrolReadProperties PatrolRead;
typedef ZprCcSchedule Schedule;

// What getPatrolReadState answers when the status cannot be read.
const uint8_t PATROL_READ_STATE_UNKNOWN = 3;
// The mailbox byte 0 of DCMD_ADP_PR_SUSPEND_RESUME.
const uint32_t PATROL_READ_SUSPEND = 0;
const uint32_t PATROL_READ_RESUME = 1;
// A delay argument that keeps the stored one.
const uint32_t DELAY_KEEP = 0xFFFFFFFF;
// The patrol-read-on-SSD bit of controller-properties byte 32.
const unsigned PATROL_READ_ON_SSD_BIT = 6;

// The firmware's seconds for a broken-down local time, daylight saving time forced off; false
// when mktime cannot convert it, or the time lies before the epoch or beyond the 32 bits the
// firmware holds (a value that wrapped around would name another date).
bool firmwareSeconds(const struct tm* time, uint32_t* seconds)
{
    struct tm copy = *time;
    copy.tm_isdst = 0;
    const time_t t = mktime(&copy);
    if (t == static_cast<time_t>(-1))
        return false;
    const time_t epoch = AdapterDataZpr::firmwareEpoch();
    if (t < epoch || static_cast<unsigned long long>(t - epoch) > 0xFFFFFFFFull)
        return false;
    *seconds = static_cast<uint32_t>(t - epoch);
    return true;
}

}  // namespace

time_t AdapterDataZpr::firmwareEpoch()
{
    struct tm start;
    memset(&start, 0, sizeof start);
    start.tm_year = 100;
    start.tm_mon = 0;
    start.tm_mday = 1;
    start.tm_isdst = 0;
    return mktime(&start);
}

time_t AdapterDataZpr::daylightSavingOffset()
{
    struct tm start;
    memset(&start, 0, sizeof start);
    start.tm_year = 100;
    start.tm_mday = 1;
    start.tm_isdst = 1;
    const time_t withDst = mktime(&start);
    const time_t without = firmwareEpoch();
    return withDst > without ? withDst - without : without - withDst;
}

int AdapterDataZpr::changeAndWrite(Record record, size_t offset, size_t width, uint32_t value)
{
    if (loadRecord(record) != 0)
        return -1;
    // The record sizes of both records are kept by their views.
    LeView bytes(records[record], record == CC_SCHEDULE ? Schedule::SIZE : PatrolRead::SIZE);
    if (width == 4)
        bytes.setU32(offset, value);
    else
        bytes.setU8(offset, static_cast<uint8_t>(value));
    return writeRecord(record);
}

// ---------------------------------------------------------------------------------------------
// Patrol read.

int AdapterDataZpr::startPatrolRead()
{
    return send(DCMD_ADP_PR_START, nullptr, 0);
}

int AdapterDataZpr::stopPatrolRead()
{
    return send(DCMD_ADP_PR_STOP, nullptr, 0);
}

int AdapterDataZpr::suspendPatrolRead()
{
    return send(DCMD_ADP_PR_SUSPEND_RESUME, nullptr, 0, PATROL_READ_SUSPEND);
}

int AdapterDataZpr::resumePatrolRead()
{
    return send(DCMD_ADP_PR_SUSPEND_RESUME, nullptr, 0, PATROL_READ_RESUME);
}

int AdapterDataZpr::setPatrolReadMode(uint8_t mode)
{
    return changeAndWrite(PATROL_READ_PROPERTIES, PatrolRead::MODE, 1, mode);
}

int AdapterDataZpr::setPatrolReadMaxConcurrentPds(uint8_t count)
{
    return changeAndWrite(PATROL_READ_PROPERTIES, PatrolRead::MAX_CONCURRENT_PDS, 1, count);
}

int AdapterDataZpr::setPatrolReadExecutionDelay(uint32_t hours)
{
    return changeAndWrite(PATROL_READ_PROPERTIES, PatrolRead::EXECUTION_DELAY, 4, hours);
}

int AdapterDataZpr::setPatrolReadOnSsdMode(uint8_t mode)
{
    int status = loadRecord(PROPERTIES);
    if (status != 0)
        return status;
    status = loadRecord(PATROL_READ_PROPERTIES);
    if (status != 0)
        return status;
    // Only a controller that patrols SSDs takes a mode for them.
    if (!ZprControllerProperties(records[PROPERTIES], ZprControllerProperties::SIZE)
             .view().bit(ZprControllerProperties::DRIVE_FLAGS, PATROL_READ_ON_SSD_BIT))
        return -1;
    return changeAndWrite(PATROL_READ_PROPERTIES, PatrolRead::ON_SSD, 1, mode);
}

int AdapterDataZpr::setPatrolReadStartTime(struct tm* start)
{
    if (start == nullptr || loadRecord(PATROL_READ_PROPERTIES) != 0)
        return -1;
    uint32_t seconds = 0;
    if (firmwareSeconds(start, &seconds))
        PatrolRead(records[PATROL_READ_PROPERTIES], PatrolRead::SIZE).view().setU32(PatrolRead::NEXT_START, seconds);
    // Sent also when the time could not be converted: the record then goes back as it was.
    return writeRecord(PATROL_READ_PROPERTIES);
}

uint8_t AdapterDataZpr::getPatrolReadMode()
{
    if (loadRecord(PATROL_READ_PROPERTIES) != 0)
        return 0;
    return PatrolRead(records[PATROL_READ_PROPERTIES], PatrolRead::SIZE).mode();
}

uint32_t AdapterDataZpr::getPatrolReadExecutionDelay()
{
    if (loadRecord(PATROL_READ_PROPERTIES) != 0)
        return 0;
    return PatrolRead(records[PATROL_READ_PROPERTIES], PatrolRead::SIZE).executionDelay();
}

int AdapterDataZpr::getPatrolReadOnSsdMode(uint8_t* mode)
{
    int status = loadRecord(PROPERTIES);
    if (status != 0)
        return status;
    status = loadRecord(PATROL_READ_PROPERTIES);
    if (status == 0 && mode != nullptr)
        *mode = PatrolRead(records[PATROL_READ_PROPERTIES], PatrolRead::SIZE).onSsd();
    return status;
}

uint8_t AdapterDataZpr::getPatrolReadState()
{
    uint8_t status[ZprPatrolReadStatus::SIZE] = {};
    if (send(DCMD_ADP_PR_GET_STATUS, status, sizeof status) != 0)
        return PATROL_READ_STATE_UNKNOWN;
    return ZprPatrolReadStatus(status, sizeof status).state();
}

uint32_t AdapterDataZpr::getPatrolReadIterations()
{
    uint8_t status[ZprPatrolReadStatus::SIZE] = {};
    if (send(DCMD_ADP_PR_GET_STATUS, status, sizeof status) != 0)
        return 0;
    return ZprPatrolReadStatus(status, sizeof status).iterations();
}

uint8_t AdapterDataZpr::getPatrolReadPdsCompleted()
{
    uint8_t status[ZprPatrolReadStatus::SIZE] = {};
    if (send(DCMD_ADP_PR_GET_STATUS, status, sizeof status) != 0)
        return 0;
    const ZprPatrolReadStatus read(status, sizeof status);
    // The count belongs to a run: none is under way unless the state is active.
    return read.state() == ZprPatrolReadStatus::STATE_ACTIVE ? read.pdsCompleted() : 0;
}

// ---------------------------------------------------------------------------------------------
// The scheduled consistency check.

uint8_t AdapterDataZpr::reloadCcSchedule()
{
    delete[] records[CC_SCHEDULE];
    records[CC_SCHEDULE] = nullptr;
    return loadRecord(CC_SCHEDULE) == STATUS_INVALID_COMMAND ? 0 : 1;
}

int AdapterDataZpr::setCcSchedule(uint8_t mode, ArrayList<unsigned short>* excluded, struct tm* start, uint32_t delay)
{
    if (loadRecord(CC_SCHEDULE) != 0)
        return -1;
    // A list longer than the record holds is refused before anything changes.
    uint16_t targetIds[Schedule::MAX_EXCLUDED];
    const unsigned count = excluded != nullptr ? excluded->count() : 0;
    if (count > Schedule::MAX_EXCLUDED)
        return -1;
    for (unsigned i = 0; i < count; ++i)
        targetIds[i] = excluded->get(static_cast<unsigned char>(i));

    Schedule schedule(records[CC_SCHEDULE], Schedule::SIZE);
    schedule.view().setU8(Schedule::MODE, mode);
    if (excluded != nullptr)
        schedule.setExcluded(targetIds, count);
    // A time without day and year keeps the stored start.
    uint32_t seconds = 0;
    if (start != nullptr && (start->tm_mday != 0 || start->tm_year != 0) && firmwareSeconds(start, &seconds))
        schedule.view().setU32(Schedule::NEXT_START, seconds);
    if (delay != DELAY_KEEP)
        schedule.view().setU32(Schedule::EXECUTION_DELAY, delay == 0 ? DELAY_CONTINUOUS : delay);
    return writeRecord(CC_SCHEDULE);
}

int AdapterDataZpr::setCcStartTime(struct tm* start)
{
    if (start == nullptr || loadRecord(CC_SCHEDULE) != 0)
        return -1;
    uint32_t seconds = 0;
    if (firmwareSeconds(start, &seconds))
        Schedule(records[CC_SCHEDULE], Schedule::SIZE).view().setU32(Schedule::NEXT_START, seconds);
    return writeRecord(CC_SCHEDULE);
}

int AdapterDataZpr::setCcExecutionDelay(uint32_t delay)
{
    return changeAndWrite(CC_SCHEDULE, Schedule::EXECUTION_DELAY, 4, delay == 0 ? DELAY_CONTINUOUS : delay);
}

int AdapterDataZpr::getCcMode(uint8_t* mode)
{
    if (loadRecord(CC_SCHEDULE) != 0)
        return -1;
    if (mode != nullptr)
        *mode = Schedule(records[CC_SCHEDULE], Schedule::SIZE).mode();
    return 0;
}

int AdapterDataZpr::getCcExecutionDelay(uint32_t* delay)
{
    if (loadRecord(CC_SCHEDULE) != 0)
        return -1;
    const uint32_t stored = Schedule(records[CC_SCHEDULE], Schedule::SIZE).executionDelay();
    if (delay != nullptr)
        *delay = stored == DELAY_CONTINUOUS ? 0 : stored;
    return 0;
}

int AdapterDataZpr::getCcNextStartTime(struct tm* start)
{
    if (loadRecord(CC_SCHEDULE) != 0 || start == nullptr)
        return -1;
    const uint32_t seconds = Schedule(records[CC_SCHEDULE], Schedule::SIZE).nextStart();
    time_t t = firmwareEpoch() + static_cast<time_t>(seconds);
    struct tm local;
    if (localtime_r(&t, &local) == nullptr)
        return -1;
    // The stored seconds count from an epoch without daylight saving time.
    if (local.tm_isdst > 0) {
        t -= daylightSavingOffset();
        if (localtime_r(&t, &local) == nullptr)
            return -1;
    }
    *start = local;
    return 0;
}

int AdapterDataZpr::getCcState(uint8_t* state)
{
    uint8_t status[ZprCcScheduleStatus::SIZE] = {};
    if (send(DCMD_ADP_CC_SCHEDULE_GET_STATUS, status, sizeof status) != 0)
        return -1;
    if (state != nullptr)
        *state = ZprCcScheduleStatus(status, sizeof status).state();
    return 0;
}

int AdapterDataZpr::getCcIterations(uint32_t* iterations)
{
    uint8_t status[ZprCcScheduleStatus::SIZE] = {};
    if (send(DCMD_ADP_CC_SCHEDULE_GET_STATUS, status, sizeof status) != 0)
        return -1;
    if (iterations != nullptr)
        *iterations = ZprCcScheduleStatus(status, sizeof status).iterations();
    return 0;
}

int AdapterDataZpr::getCcVdsCompleted(uint8_t* count)
{
    uint8_t status[ZprCcScheduleStatus::SIZE] = {};
    if (send(DCMD_ADP_CC_SCHEDULE_GET_STATUS, status, sizeof status) != 0)
        return -1;
    if (count != nullptr)
        *count = ZprCcScheduleStatus(status, sizeof status).vdsCompleted();
    return 0;
}

int AdapterDataZpr::getCcExcludedVirtualDrives(ArrayList<unsigned short>* targetIds)
{
    if (targetIds == nullptr || loadRecord(CC_SCHEDULE) != 0)
        return -1;
    const Schedule schedule(records[CC_SCHEDULE], Schedule::SIZE);
    // The count is kept to the record's room.
    const uint8_t count = schedule.excludedCount();
    for (uint8_t i = 0; i < count; ++i)
        if (targetIds->add(schedule.excluded(i)) != 0)
            return -1;
    return 0;
}
