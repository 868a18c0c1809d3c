// Patrol read and the scheduled consistency check of the adapter data over described
// controllers: setters write their record at once, start times in the firmware's epoch of
// 1 January 2000 local time under fixed time zones (one with daylight saving time), the status
// records, and the patrol-read run of the simulated controller over its clock.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <ctime>
#include <string>
#include <vector>

#include "DescribedAdapter.h"
#include "PavUtil/IgnoreStatus.h"
#include "TestSupport.h"

namespace {

using testsupport::TimeZone;

const uint32_t ADP_GET_PROPERTIES = 0x01020100;
const uint32_t ADP_PR_GET_STATUS = 0x01070100;
const uint32_t ADP_PR_GET_PROPERTIES = 0x01070200;
const uint32_t ADP_PR_SET_PROPERTIES = 0x01070300;
const uint32_t ADP_PR_START = 0x01070400;
const uint32_t ADP_PR_SUSPEND_RESUME = 0x01070600;
const uint32_t ADP_CC_SCHEDULE_GET_PROPERTIES = 0x01140200;
const uint32_t ADP_CC_SCHEDULE_SET_PROPERTIES = 0x01140300;

using describedadapter::DescribedAdapter;
using describedadapter::failing;

// The time zones the conversions run under: one without daylight saving time, one with it.
const char* const ZONES[] = {"UTC0", "CET-1CEST,M3.5.0,M10.5.0/3"};

struct tm localTime(int year, int month, int day, int hour, int minute)
{
    struct tm t;
    memset(&t, 0, sizeof t);
    t.tm_year = year - 1900;
    t.tm_mon = month - 1;
    t.tm_mday = day;
    t.tm_hour = hour;
    t.tm_min = minute;
    t.tm_isdst = -1;
    return t;
}

// Three online disks: a patrol read scans them in 60 s each.
const std::string THREE_DISKS =
    "\"drives\": [{\"deviceId\": 8, \"state\": \"0x18\"}, {\"deviceId\": 9, \"state\": \"0x18\"},"
    " {\"deviceId\": 10, \"state\": \"0x2\"}, {\"deviceId\": 11, \"state\": \"0x18\", \"media\": \"SSD\"},"
    " {\"deviceId\": 12}]";

simhost::StateEdit advance(uint64_t seconds)
{
    return [seconds](sim::HostModel& m) { m.clock += seconds; };
}

}  // namespace

TEST(AdapterSchedules, StartTimesCountFromTheFirstOfJanuary2000LocalTime)
{
    struct Case {
        struct tm start;
        uint32_t stored;
    } cases[] = {
        {localTime(2000, 1, 1, 0, 0), 0},
        {localTime(2000, 1, 2, 1, 30), 86400 + 5400},
        // Summer: daylight saving is forced off for the conversion.
        {localTime(2000, 7, 1, 12, 0), 182 * 86400 + 12 * 3600},
    };
    for (const char* zone : ZONES) {
        TimeZone tz(zone);
        for (Case& c : cases) {
            SCOPED_TRACE(std::string(zone) + " " + std::to_string(c.stored));
            DescribedAdapter a("");
            ASSERT_EQ(a.data->setPatrolReadStartTime(&c.start), 0);
            ASSERT_EQ(a.data->setCcStartTime(&c.start), 0);
            EXPECT_EQ(a.saved().patrolRead.nextStart, c.stored);
            EXPECT_EQ(a.saved().ccSchedule.nextStart, c.stored);
        }
    }
}

TEST(AdapterSchedules, NextStartTimeComesBackAsLocalTime)
{
    struct Case {
        uint32_t stored;
        int month, day, hour;
    } cases[] = {
        {0, 1, 1, 0},
        {182 * 86400 + 12 * 3600, 7, 1, 12},
    };
    for (const char* zone : ZONES) {
        TimeZone tz(zone);
        for (const Case& c : cases) {
            SCOPED_TRACE(std::string(zone) + " " + std::to_string(c.stored));
            DescribedAdapter a("\"ccSchedule\": {\"nextStart\": " + std::to_string(c.stored) + "}");
            struct tm start = localTime(1999, 1, 1, 0, 0);
            ASSERT_EQ(a.data->getCcNextStartTime(&start), 0);
            EXPECT_EQ(start.tm_year, 100);
            EXPECT_EQ(start.tm_mon + 1, c.month);
            EXPECT_EQ(start.tm_mday, c.day);
            EXPECT_EQ(start.tm_hour, c.hour);
            EXPECT_EQ(start.tm_min, 0);
        }
    }
}

TEST(AdapterSchedules, TimesBeforeTheEpochAreNotStored)
{
    TimeZone tz("UTC0");
    DescribedAdapter a("\"patrolRead\": {\"nextStart\": 500}");
    struct tm before = localTime(1999, 12, 31, 23, 0);
    EXPECT_EQ(a.data->setPatrolReadStartTime(&before), 0) << "the record is still sent";
    EXPECT_EQ(a.sent(ADP_PR_SET_PROPERTIES), 1u);
    EXPECT_EQ(a.saved().patrolRead.nextStart, 500u);
    EXPECT_EQ(a.data->setPatrolReadStartTime(nullptr), -1);
    EXPECT_EQ(a.sent(ADP_PR_SET_PROPERTIES), 1u);
}

TEST(AdapterSchedules, CcDelayZeroIsStoredAsContinuous)
{
    DescribedAdapter a("\"ccSchedule\": {\"executionDelay\": 3600}");
    uint32_t delay = 7;
    ASSERT_EQ(a.data->getCcExecutionDelay(&delay), 0);
    EXPECT_EQ(delay, 3600u);
    ASSERT_EQ(a.data->setCcExecutionDelay(0), 0);
    EXPECT_EQ(a.saved().ccSchedule.executionDelay, 0xFFFFFFFFu);
    ASSERT_EQ(a.data->getCcExecutionDelay(&delay), 0);
    EXPECT_EQ(delay, 0u);
    EXPECT_EQ(a.sent(ADP_CC_SCHEDULE_GET_PROPERTIES), 1u);
    EXPECT_EQ(a.sent(ADP_CC_SCHEDULE_SET_PROPERTIES), 1u);
}

TEST(AdapterSchedules, SetCcScheduleKeepsWhatItIsNotGiven)
{
    TimeZone tz("UTC0");
    DescribedAdapter a("\"ccSchedule\": {\"mode\": 1, \"excluded\": [4], \"nextStart\": 777, \"executionDelay\": 3600}");
    struct tm noDate;
    memset(&noDate, 0, sizeof noDate);
    noDate.tm_hour = 5;
    ArrayList<unsigned short> excluded;
    excluded.add(3);
    excluded.add(5);
    ASSERT_EQ(a.data->setCcSchedule(2, &excluded, &noDate, 0xFFFFFFFF), 0);
    sim::CcSchedule saved = a.saved().ccSchedule;
    EXPECT_EQ(saved.mode, 2);
    EXPECT_EQ(saved.excluded, (std::vector<uint16_t>{3, 5}));
    EXPECT_EQ(saved.nextStart, 777u) << "day and year 0: the start is kept";
    EXPECT_EQ(saved.executionDelay, 3600u) << "0xFFFFFFFF: the delay is kept";

    struct tm start = localTime(2000, 1, 1, 0, 10);
    ASSERT_EQ(a.data->setCcSchedule(1, nullptr, &start, 0), 0);
    saved = a.saved().ccSchedule;
    EXPECT_EQ(saved.excluded, (std::vector<uint16_t>{3, 5})) << "no list: the list is kept";
    EXPECT_EQ(saved.nextStart, 600u);
    EXPECT_EQ(saved.executionDelay, 0xFFFFFFFFu);

    // The next run reads the schedule as written.
    a.renew();
    ArrayList<unsigned short> read;
    ASSERT_EQ(a.data->getCcExcludedVirtualDrives(&read), 0);
    ASSERT_EQ(read.count(), 2);
    EXPECT_EQ(read.get(0), 3);
    EXPECT_EQ(read.get(1), 5);
}

TEST(AdapterSchedules, ExcludedListsBeyondTheRecordsRoom)
{
    // Set: 75 target ids do not fit between offsets 4 and 152; nothing changes, nothing is sent.
    {
        DescribedAdapter a("\"ccSchedule\": {\"mode\": 1}");
        ArrayList<unsigned short> excluded;
        for (unsigned short i = 0; i < 75; ++i)
            excluded.add(i);
        EXPECT_EQ(a.data->setCcSchedule(2, &excluded, nullptr, 0xFFFFFFFF), -1);
        EXPECT_EQ(a.sent(ADP_CC_SCHEDULE_SET_PROPERTIES), 0u);
        uint8_t mode = 0;
        ASSERT_EQ(a.data->getCcMode(&mode), 0);
        EXPECT_EQ(mode, 1);
    }
    // Read: a count byte of 200 is kept to the 74 that fit.
    DescribedAdapter a("\"ccSchedule\": {\"patch\": {\"3\": \"c8\"}}");
    ArrayList<unsigned short> read;
    ASSERT_EQ(a.data->getCcExcludedVirtualDrives(&read), 0);
    EXPECT_EQ(read.count(), 74);
}

TEST(AdapterSchedules, ReloadTellsAControllerWithoutSchedule)
{
    struct Case {
        const char* name;
        const char* fields;
        simhost::StateEdit faults;
        uint8_t expected;
    } cases[] = {
        {"a schedule", "", nullptr, 1},
        {"no schedule: status 2", "\"ccSchedule\": {\"supported\": false}", nullptr, 0},
        {"another failure", "", failing(ADP_CC_SCHEDULE_GET_PROPERTIES, 0x2d), 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        DescribedAdapter a(c.fields, c.faults);
        uint8_t mode = 0;
        ignoreStatus(a.data->getCcMode(&mode), "only the reads it sends matter here");
        EXPECT_EQ(a.data->reloadCcSchedule(), c.expected);
        EXPECT_EQ(a.sent(ADP_CC_SCHEDULE_GET_PROPERTIES), 2u) << "the reload reads again";
    }
    DescribedAdapter none("\"ccSchedule\": {\"supported\": false}");
    uint8_t state = 9;
    EXPECT_EQ(none.data->getCcMode(&state), -1);
    EXPECT_EQ(none.data->setCcExecutionDelay(5), -1);
    EXPECT_EQ(none.data->getCcState(&state), -1);
    EXPECT_EQ(state, 9);
    EXPECT_EQ(none.sent(ADP_CC_SCHEDULE_SET_PROPERTIES), 0u);
}

TEST(AdapterSchedules, CcStatus)
{
    DescribedAdapter a("\"ccSchedule\": {\"state\": 2, \"iterations\": 70000, \"vdsCompleted\": 3}");
    uint8_t state = 0, done = 0;
    uint32_t iterations = 0;
    EXPECT_EQ(a.data->getCcState(&state), 0);
    EXPECT_EQ(a.data->getCcIterations(&iterations), 0);
    EXPECT_EQ(a.data->getCcVdsCompleted(&done), 0);
    EXPECT_EQ(state, 2);
    EXPECT_EQ(iterations, 70000u);
    EXPECT_EQ(done, 3);
}

TEST(AdapterPatrolRead, SettersWriteTheRecordAtOnce)
{
    DescribedAdapter a("\"patrolRead\": {\"mode\": 0, \"executionDelay\": 168}", failing(ADP_PR_SET_PROPERTIES, 0x2d));
    EXPECT_EQ(a.data->setPatrolReadMode(1), 0x2d);
    EXPECT_EQ(a.data->getPatrolReadMode(), 1) << "a failed write keeps the new value in the cache";
    EXPECT_EQ(a.data->setPatrolReadExecutionDelay(24), 0);
    EXPECT_EQ(a.data->setPatrolReadMaxConcurrentPds(4), 0);
    EXPECT_EQ(a.sent(ADP_PR_GET_PROPERTIES), 1u);
    EXPECT_EQ(a.sent(ADP_PR_SET_PROPERTIES), 3u);
    const sim::PatrolReadProperties saved = a.saved().patrolRead;
    EXPECT_EQ(saved.mode, 1);
    EXPECT_EQ(saved.executionDelay, 24u);
    EXPECT_EQ(saved.maxConcurrentPds, 4);

    a.renew();
    EXPECT_EQ(a.data->getPatrolReadMode(), 1);
    EXPECT_EQ(a.data->getPatrolReadExecutionDelay(), 24u);
}

TEST(AdapterPatrolRead, ValueGettersAnswerZeroWhenTheRecordCannotBeRead)
{
    DescribedAdapter a("\"patrolRead\": {\"mode\": 2}, \"properties\": {\"driveFlags\": \"0x40\"}",
                       failing(ADP_PR_GET_PROPERTIES, 0x2d, sim::FaultMode::ALWAYS));
    EXPECT_EQ(a.data->getPatrolReadMode(), 0);
    EXPECT_EQ(a.data->getPatrolReadExecutionDelay(), 0u);
    EXPECT_EQ(a.data->setPatrolReadMode(1), -1);
    uint8_t mode = 9;
    EXPECT_EQ(a.data->getPatrolReadOnSsdMode(&mode), 0x2d);
    EXPECT_EQ(a.data->setPatrolReadOnSsdMode(1), 0x2d);
    EXPECT_EQ(mode, 9);
    EXPECT_EQ(a.sent(ADP_PR_SET_PROPERTIES), 0u);
}

TEST(AdapterPatrolRead, SsdModeNeedsPatrolReadOnSsdsInTheControllerProperties)
{
    {
        DescribedAdapter a("\"properties\": {\"driveFlags\": \"0xbf\"}");
        EXPECT_EQ(a.data->setPatrolReadOnSsdMode(1), -1);
        EXPECT_EQ(a.sent(ADP_PR_SET_PROPERTIES), 0u);
    }
    DescribedAdapter a("\"properties\": {\"driveFlags\": \"0x40\"}, \"patrolRead\": {\"onSsd\": 0}");
    EXPECT_EQ(a.data->setPatrolReadOnSsdMode(1), 0);
    uint8_t mode = 0;
    EXPECT_EQ(a.data->getPatrolReadOnSsdMode(&mode), 0);
    EXPECT_EQ(mode, 1);
    EXPECT_EQ(a.sent(ADP_GET_PROPERTIES), 1u);
    EXPECT_EQ(a.saved().patrolRead.onSsd, 1);
}

TEST(AdapterPatrolRead, ARunOverTheSimulatedClock)
{
    DescribedAdapter a(THREE_DISKS + ", \"patrolRead\": {\"iterations\": 4}");
    EXPECT_EQ(a.data->getPatrolReadState(), 0);
    EXPECT_EQ(a.data->getPatrolReadPdsCompleted(), 0);
    ASSERT_EQ(a.data->startPatrolRead(), 0);
    a.host.change(advance(130));
    EXPECT_EQ(a.data->getPatrolReadState(), 2);
    EXPECT_EQ(a.data->getPatrolReadPdsCompleted(), 2);

    // Suspended, the run stands still; resumed, it finishes its third drive (the SSD and the
    // unconfigured drive are not scanned).
    ASSERT_EQ(a.data->suspendPatrolRead(), 0);
    a.host.change(advance(600));
    EXPECT_EQ(a.data->getPatrolReadPdsCompleted(), 2);
    ASSERT_EQ(a.data->resumePatrolRead(), 0);
    a.host.change(advance(50));
    EXPECT_EQ(a.data->getPatrolReadState(), 0);
    EXPECT_EQ(a.data->getPatrolReadPdsCompleted(), 0) << "no count while the state is not active";
    EXPECT_EQ(a.data->getPatrolReadIterations(), 5u);
    EXPECT_EQ(a.sent(ADP_PR_START), 1u);
    EXPECT_EQ(a.sent(ADP_PR_SUSPEND_RESUME), 2u);
    const std::vector<std::string> log = a.host.commands();
    size_t suspend = 0, resume = 0;
    for (const std::string& line : log) {
        suspend += line.find("opcode=0x01070600 mbox=0x00000000,0x00000000,0x00000000") != std::string::npos;
        resume += line.find("opcode=0x01070600 mbox=0x00000001,0x00000000,0x00000000") != std::string::npos;
    }
    EXPECT_EQ(suspend, 1u);
    EXPECT_EQ(resume, 1u);
}

TEST(AdapterPatrolRead, StopEndsTheRunAndStateSurvivesBetweenRuns)
{
    DescribedAdapter a(THREE_DISKS);
    ASSERT_EQ(a.data->startPatrolRead(), 0);
    a.renew();
    a.host.change(advance(61));
    EXPECT_EQ(a.data->getPatrolReadState(), 2);
    EXPECT_EQ(a.data->getPatrolReadPdsCompleted(), 1);
    ASSERT_EQ(a.data->stopPatrolRead(), 0);
    EXPECT_EQ(a.data->getPatrolReadState(), 0);
    EXPECT_EQ(a.data->getPatrolReadIterations(), 0u);
}

TEST(AdapterPatrolRead, StartWithoutEligibleDrivesAndFailedStatusReads)
{
    DescribedAdapter a("\"drives\": [{\"deviceId\": 8}]", failing(ADP_PR_GET_STATUS, 0x2d, sim::FaultMode::ALWAYS));
    EXPECT_EQ(a.data->startPatrolRead(), 0x58);
    EXPECT_EQ(a.data->getPatrolReadState(), 3);
    EXPECT_EQ(a.data->getPatrolReadIterations(), 0u);
    EXPECT_EQ(a.data->getPatrolReadPdsCompleted(), 0);
}
