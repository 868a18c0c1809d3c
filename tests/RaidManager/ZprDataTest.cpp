// The controller data cache over a controller whose firmware answers from laid-out records.
#include "ScriptedController.h"

#include <gtest/gtest.h>

#include "PavUtil/IgnoreStatus.h"
#include "RaidManager/Zpr/ZprData.h"
#include "RaidManager/Zpr/Records/Drive/ZprEnclosureList.h"
#include "RaidManager/Zpr/Records/LogicalDrive/ZprLdIdList.h"

using scripted::configBuffer;
using scripted::put;

namespace {

const uint32_t CFG_READ = 0x04010000;
const uint32_t PD_GET_LIST = 0x02010000;
const uint32_t PD_LIST_QUERY = 0x02010100;
const uint32_t LD_GET_LIST = 0x03010000;
const uint32_t LD_LIST_QUERY = 0x03010100;
const uint32_t ENCL_GET_LIST = 0x09010000;
const uint32_t PD_LIST_OPERATION = 0x020D0200;

class ZprDataTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ZprData::releaseAll();
        data = ZprData::instance(&controller);
        ASSERT_NE(data, nullptr);
    }
    void TearDown() override { ZprData::releaseAll(); }

    scripted::Firmware firmware;
    scripted::TestController controller{&firmware};
    ZprData* data = nullptr;
};

}  // namespace

TEST_F(ZprDataTest, ConfigurationIsReadAtTheSizeItsRecordsTake)
{
    struct Case {
        const char* what;
        uint16_t arrays, lds, spares;
        std::vector<uint32_t> reads;
        size_t cached;
    } cases[] = {
        {"empty", 0, 0, 0, {616}, 616},
        {"one array, one spare", 1, 0, 1, {616}, 616},
        {"one array, three spares", 1, 0, 3, {616}, 616},
        {"two arrays, no drives, a spare", 2, 0, 1, {616, 648}, 648},
        {"two arrays, no drives, three spares", 2, 0, 3, {616, 728}, 728},
        {"two arrays, three drives, a spare", 2, 3, 1, {616, 1416}, 1416},
        {"one array, one drive, one spare", 1, 1, 1, {616}, 616},
    };
    for (const Case& c : cases) {
        ignoreStatus(data->resetCaches(), "frees the cached records: always 0");
        firmware.sent.clear();
        std::vector<uint8_t> record = configBuffer(c.arrays, c.lds, c.spares);
        // The last spare record's last byte, to see it arrive.
        if (c.spares > 0)
            record.back() = 0x5A;
        firmware.records[CFG_READ] = record;
        ZprConfigBuffer config;
        ASSERT_EQ(data->readConfig(&config, 0), 0) << c.what;
        EXPECT_EQ(firmware.lengths(CFG_READ), c.reads) << c.what;
        EXPECT_EQ(config.view().size(), c.cached) << c.what;
        EXPECT_EQ(config.arrayCount(), c.arrays) << c.what;
        EXPECT_EQ(config.ldCount(), c.lds) << c.what;
        EXPECT_EQ(config.spareCount(), c.spares) << c.what;
        if (c.spares > 0) {
            ZprSpareRecord last = config.spareRecord(c.spares - 1u);
            ASSERT_TRUE(last.isPresent()) << c.what;
            EXPECT_EQ(last.view().u8(39), 0x5A) << c.what;
        }
    }
}

TEST_F(ZprDataTest, SpareOfAConfigurationWithoutDrivesFollowsTheArrays)
{
    std::vector<uint8_t> record = configBuffer(1, 0, 1);
    put(record, 32 + 288, 0x0042, 2);   // the spare's device id
    firmware.records[CFG_READ] = record;
    ZprConfigBuffer config;
    ASSERT_EQ(data->readConfig(&config, 0), 0);
    EXPECT_EQ(config.sparesOffset(), 320u);
    EXPECT_EQ(config.spareRecord(0).deviceId(), 0x42);
}

TEST_F(ZprDataTest, CachedConfigurationIsReadAgainOnlyWhenAsked)
{
    firmware.records[CFG_READ] = configBuffer(2, 3, 1);
    ZprConfigBuffer first, again, fresh;
    ASSERT_EQ(data->readConfig(&first, 0), 0);
    ASSERT_EQ(data->readConfig(&again, 0), 0);
    EXPECT_EQ(firmware.lengths(CFG_READ), (std::vector<uint32_t>{616, 1416}));
    EXPECT_EQ(again.view().data(), first.view().data());
    firmware.records[CFG_READ][32 + 288 * 2] = 9;   // the first drive's target id changes
    ASSERT_EQ(data->readConfig(&fresh, 1), 0);
    EXPECT_EQ(firmware.lengths(CFG_READ), (std::vector<uint32_t>{616, 1416, 616, 1416}));
    EXPECT_NE(fresh.view().data(), first.view().data());
    EXPECT_EQ(fresh.ldRecord(0).targetId(), 9);
    // The model built from the first buffer may still point into it: it stays readable.
    EXPECT_EQ(first.ldRecord(0).targetId(), 0);
}

TEST_F(ZprDataTest, BuffersThatCannotBeWalkedAreRefused)
{
    struct Case {
        const char* what;
        size_t offset;     // header field changed
        uint64_t value;
        int width;
    } cases[] = {
        {"array records of 289 bytes", 6, 289, 2},
        {"drive records of 0 bytes", 10, 0, 2},
        {"spare records of 48 bytes", 14, 48, 2},
        {"total size below the records", 0, 1400, 4},
        {"total size above the records", 0, 1424, 4},
    };
    for (const Case& c : cases) {
        ignoreStatus(data->resetCaches(), "frees the cached records: always 0");
        firmware.sent.clear();
        std::vector<uint8_t> record = configBuffer(2, 3, 1);
        put(record, c.offset, c.value, c.width);
        firmware.records[CFG_READ] = record;
        ZprConfigBuffer config;
        EXPECT_EQ(data->readConfig(&config, 0), -1) << c.what;
        EXPECT_FALSE(config.isPresent()) << c.what;
        EXPECT_EQ(firmware.lengths(CFG_READ), std::vector<uint32_t>{616}) << c.what << ": refused at once";
    }
    // Nothing was cached: the next read asks again.
    firmware.records[CFG_READ] = configBuffer(0, 0, 0);
    ZprConfigBuffer config;
    EXPECT_EQ(data->readConfig(&config, 0), 0);
}

TEST_F(ZprDataTest, ConfigurationThatGrowsBetweenTheReadsIsRefused)
{
    firmware.records[CFG_READ] = configBuffer(2, 3, 1);
    firmware.afterCall = [](uint32_t, std::vector<uint8_t>& record) { record = configBuffer(2, 4, 1); };
    ZprConfigBuffer config;
    EXPECT_EQ(data->readConfig(&config, 0), -1);
    EXPECT_EQ(firmware.lengths(CFG_READ), (std::vector<uint32_t>{616, 1416}));
}

TEST_F(ZprDataTest, FailedReadsKeepTheEarlierBuffer)
{
    firmware.records[CFG_READ] = configBuffer(2, 3, 1);
    ZprConfigBuffer cached;
    ASSERT_EQ(data->readConfig(&cached, 0), 0);
    firmware.failures[CFG_READ] = {0x0C, 3};   // the first read of the reread fails
    ZprConfigBuffer config;
    EXPECT_EQ(data->readConfig(&config, 1), 0x0C);
    EXPECT_FALSE(config.isPresent());
    firmware.failures[CFG_READ] = {0x2D, 5};   // the second read of the next reread fails
    EXPECT_EQ(data->readConfig(&config, 1), 0x2D);
    EXPECT_FALSE(config.isPresent());
    EXPECT_EQ(data->readConfig(&config, 0), 0);
    EXPECT_EQ(config.view().data(), cached.view().data());
}

TEST_F(ZprDataTest, DriveListsAreReadInTwoPasses)
{
    struct Case {
        uint32_t count;
        std::vector<uint32_t> reads;
    } cases[] = {{0, {32, 8}}, {1, {32, 32}}, {3, {32, 80}}, {40, {32, 968}}};
    for (const Case& c : cases) {
        ignoreStatus(data->resetCaches(), "frees the cached records: always 0");
        firmware.sent.clear();
        firmware.records[PD_GET_LIST] = scripted::pdList(c.count);
        ZprPdList list;
        ASSERT_EQ(data->getPdList(&list), 0) << c.count;
        ASSERT_EQ(data->getPdList(&list), 0) << c.count;
        EXPECT_EQ(firmware.lengths(PD_GET_LIST), c.reads) << c.count << ": read once, then cached";
        EXPECT_EQ(list.view().size(), c.reads[1]);
        EXPECT_EQ(list.entryCount(), c.count);
        if (c.count > 0) {
            EXPECT_EQ(list.entry(c.count - 1).deviceId(), 0x10 + c.count - 1);
        }
    }
}

TEST_F(ZprDataTest, DriveQueryCarriesItsTypeAndHasItsOwnCache)
{
    firmware.records[PD_GET_LIST] = scripted::pdList(2);
    firmware.records[PD_LIST_QUERY] = scripted::pdList(1);
    ZprPdList list, query;
    ASSERT_EQ(data->getPdList(&list), 0);
    ASSERT_EQ(data->queryPdList(&query), 0);
    ASSERT_EQ(data->queryPdList(&query), 0);
    EXPECT_EQ(list.entryCount(), 2u);
    EXPECT_EQ(query.entryCount(), 1u);
    EXPECT_EQ(firmware.lengths(PD_LIST_QUERY), (std::vector<uint32_t>{32, 32}));
    for (const scripted::Sent& s : firmware.sent)
        EXPECT_EQ(s.mailbox0, s.opcode == PD_LIST_QUERY ? 5u : 0u);
}

TEST_F(ZprDataTest, DriveListFaults)
{
    struct Case {
        const char* what;
        uint32_t count;        // the count the first block reports
        int failFromCall;      // 0: no failure
        int status;
        size_t reads;
    } cases[] = {
        {"count beyond any device id", 0x10001, 0, -1, 1},
        {"count whose size overflows 32 bits", 0x0AAAAAABu, 0, -1, 1},
        {"all ones", 0xFFFFFFFFu, 0, -1, 1},
        {"first pass fails", 2, 1, 0x0C, 1},
        {"second pass fails", 2, 2, 0x0C, 2},
    };
    for (const Case& c : cases) {
        ignoreStatus(data->resetCaches(), "frees the cached records: always 0");
        firmware.sent.clear();
        firmware.failures.clear();
        std::vector<uint8_t> record = scripted::pdList(2);
        put(record, 4, c.count, 4);
        firmware.records[PD_GET_LIST] = record;
        if (c.failFromCall != 0)
            firmware.failures[PD_GET_LIST] = {0x0C, c.failFromCall};
        ZprPdList list;
        EXPECT_EQ(data->getPdList(&list), c.status) << c.what;
        EXPECT_FALSE(list.isPresent()) << c.what;
        EXPECT_EQ(firmware.lengths(PD_GET_LIST).size(), c.reads) << c.what;
    }
    // A count that drops between the passes is walked as far as the second block holds.
    ignoreStatus(data->resetCaches(), "frees the cached records: always 0");
    firmware.failures.clear();
    firmware.records[PD_GET_LIST] = scripted::pdList(3);
    firmware.afterCall = [](uint32_t, std::vector<uint8_t>& record) { record = scripted::pdList(1); };
    ZprPdList list;
    ASSERT_EQ(data->getPdList(&list), 0);
    EXPECT_EQ(list.view().size(), 80u);
    EXPECT_EQ(list.entryCount(), 1u);
}

TEST_F(ZprDataTest, LogicalDriveAndEnclosureListsCheckTheirCounts)
{
    struct Case {
        uint32_t ldCount;
        int ldStatus;
        uint32_t enclosureCount;
        int enclosureStatus;
    } cases[] = {{0, 0, 0, 0}, {64, 0, 32, 0}, {65, -1, 33, -1}, {0xFFFFFFFFu, -1, 0x80000000u, -1}};
    for (const Case& c : cases) {
        ignoreStatus(data->resetCaches(), "frees the cached records: always 0");
        firmware.sent.clear();
        std::vector<uint8_t> lds(1032, 0), enclosures(4616, 0);
        put(lds, 0, c.ldCount, 4);
        put(enclosures, 0, c.enclosureCount, 4);
        firmware.records[LD_GET_LIST] = lds;
        firmware.records[ENCL_GET_LIST] = enclosures;
        ZprLdList list;
        EXPECT_EQ(data->getLdList(&list), c.ldStatus) << c.ldCount;
        EXPECT_EQ(data->getLdList(&list), c.ldStatus) << c.ldCount;
        // A good list is cached; a bad one is not, and is asked for again.
        EXPECT_EQ(firmware.lengths(LD_GET_LIST), std::vector<uint32_t>(c.ldStatus == 0 ? 1 : 2, 1032));
        uint8_t* enclosureList = nullptr;
        EXPECT_EQ(data->getEnclosureList(&enclosureList), c.enclosureStatus) << c.enclosureCount;
        EXPECT_EQ(enclosureList != nullptr, c.enclosureStatus == 0);
        delete[] enclosureList;
    }
    firmware.failures[LD_GET_LIST] = {0x0C, 1};
    firmware.failures[ENCL_GET_LIST] = {0x0C, 1};
    ignoreStatus(data->resetCaches(), "frees the cached records: always 0");
    ZprLdList list;
    uint8_t* enclosureList = nullptr;
    EXPECT_EQ(data->getLdList(&list), 0x0C);
    EXPECT_EQ(data->getEnclosureList(&enclosureList), 0x0C);
    EXPECT_EQ(enclosureList, nullptr);
}

TEST_F(ZprDataTest, TargetIdListsAreReadInTwelveByteUnits)
{
    struct Case {
        uint32_t count;
        int status;
        std::vector<uint32_t> reads;
        uint32_t size;
    } cases[] = {{0, 0, {12}, 12}, {1, 0, {12, 12}, 12}, {3, 0, {12, 36}, 36}, {257, -1, {12}, 0}};
    for (const Case& c : cases) {
        firmware.sent.clear();
        std::vector<uint8_t> record(c.count * 12 + 12, 0);
        put(record, 0, record.size(), 4);
        put(record, 4, c.count, 4);
        record[11] = 7;
        firmware.records[LD_LIST_QUERY] = record;
        uint8_t* list = nullptr;
        uint32_t size = 0;
        EXPECT_EQ(data->readLdIdList(LD_LIST_QUERY, 2, &list, &size), c.status) << c.count;
        EXPECT_EQ(firmware.lengths(LD_LIST_QUERY), c.reads) << c.count;
        EXPECT_EQ(size, c.size);
        if (list != nullptr) {
            EXPECT_EQ(ZprLdIdList(list, size).targetId(0), 7);
            EXPECT_EQ(ZprLdIdList(list, size).count(), c.count);
        }
        delete[] list;
        for (const scripted::Sent& s : firmware.sent)
            EXPECT_EQ(s.mailbox0, 2u);
    }
}

TEST_F(ZprDataTest, DeviceListIsSentWholeAndPausesAlways)
{
    scripted::ShellLog shell;
    const uint16_t ids[] = {0x0010, 0x0123, 0xFFFE};
    firmware.writeBack = [](uint32_t, uint8_t* bytes, uint32_t length) {
        if (length >= 8)
            bytes[4] = 2;   // two drives spun up
    };
    uint32_t spun = 99;
    EXPECT_EQ(data->sendDeviceList(0, ids, &spun), 0);
    EXPECT_TRUE(firmware.sent.empty());
    EXPECT_TRUE(shell.commands.empty());
    EXPECT_EQ(spun, 99u);

    EXPECT_EQ(data->sendDeviceList(3, ids, &spun), 0);
    ASSERT_EQ(firmware.sent.size(), 1u);
    const scripted::Sent& sent = firmware.sent[0];
    EXPECT_EQ(sent.opcode, PD_LIST_OPERATION);
    EXPECT_EQ(sent.mailbox0, 0u);
    EXPECT_EQ(sent.length, 16u);
    const std::vector<uint8_t> expected = {16, 0, 0, 0, 3, 0, 0, 0, 0, 0, 0x10, 0x00, 0x23, 0x01, 0xFE, 0xFF};
    EXPECT_EQ(sent.written, expected);
    EXPECT_EQ(spun, 2u);
    EXPECT_EQ(shell.commands, std::vector<std::string>{"sleep 5"});

    firmware.failures[PD_LIST_OPERATION] = {0x0C, 1};
    spun = 99;
    EXPECT_EQ(data->sendDeviceList(1, ids, &spun), 0x0C);
    EXPECT_EQ(firmware.sent.back().length, 12u);
    EXPECT_EQ(spun, 99u);
    EXPECT_EQ(shell.commands, (std::vector<std::string>{"sleep 5", "sleep 5"})) << "the pause also follows a failure";

    // More ids than devices can exist: refused before anything is built or sent.
    firmware.sent.clear();
    EXPECT_EQ(data->sendDeviceList(0x80000000u, ids, &spun), -1);
    EXPECT_TRUE(firmware.sent.empty());
}

TEST_F(ZprDataTest, DrivesAndArraysAreFoundInTheCachedRecords)
{
    std::vector<uint8_t> drives = scripted::pdList(3);
    put(drives, 8 + 24 * 1 + 2, 0x0040, 2);   // device 0x11: enclosure 0x40, slot 4
    drives[8 + 24 + 5] = 4;
    put(drives, 8 + 24 * 2 + 2, 0x0040, 2);   // device 0x12: the same place, but no disk
    drives[8 + 48 + 5] = 4;
    drives[8 + 48 + 6] = 0x0D;
    firmware.records[PD_GET_LIST] = drives;
    std::vector<uint8_t> config = configBuffer(2, 0, 0);
    config[32 + 288 + 8] = 2;                 // array 1 holds devices 0x30 and 0x11
    put(config, 32 + 288 + 32, 0x0030, 2);
    put(config, 32 + 288 + 40, 0x0011, 2);
    firmware.records[CFG_READ] = config;
    ZprPdList list;
    ZprConfigBuffer buffer;
    ASSERT_EQ(data->getPdList(&list), 0);
    EXPECT_EQ(data->findDeviceId(0x40, 4), 0x11);
    EXPECT_EQ(data->findDeviceId(0x40, 5), -1);
    EXPECT_EQ(data->findArrayOfDrive(0x40, 4), 0) << "no configuration cached yet";
    ASSERT_EQ(data->readConfig(&buffer, 0), 0);
    EXPECT_EQ(data->findArrayOfDrive(0x40, 4), 1);
    EXPECT_EQ(data->foundArrayIndex(), 1);
    EXPECT_EQ(data->findArrayOfDrive(0x40, 5), 0);
}

TEST(ZprDataTable, OneObjectPerControllerAndReleasedSlotsStayEmpty)
{
    ZprData::releaseAll();
    scripted::Firmware firmware;
    std::vector<std::unique_ptr<scripted::TestController>> controllers;
    for (int i = 0; i < 9; ++i)
        controllers.emplace_back(new scripted::TestController(&firmware));
    ZprData* first = ZprData::instance(controllers[0].get());
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(ZprData::instance(controllers[0].get()), first);
    EXPECT_EQ(first->getController(), controllers[0].get());
    EXPECT_EQ(ZprData::tableCount(), 1);
    EXPECT_EQ(ZprData::release(controllers[0].get()), 0);
    EXPECT_EQ(ZprData::release(controllers[0].get()), -1) << "released already";
    ZprData* again = ZprData::instance(controllers[0].get());
    ASSERT_NE(again, nullptr);
    EXPECT_EQ(ZprData::tableCount(), 2) << "a new slot; the released one stays empty";
    for (int i = 1; i < 7; ++i)
        EXPECT_NE(ZprData::instance(controllers[i].get()), nullptr) << i;
    EXPECT_EQ(ZprData::tableCount(), 8);
    // Seven live objects and the emptied first slot: it is taken again, then the table is full.
    EXPECT_NE(ZprData::instance(controllers[7].get()), nullptr);
    EXPECT_EQ(ZprData::tableCount(), 8);
    EXPECT_EQ(ZprData::instance(controllers[8].get()), nullptr) << "a ninth live object is refused";
    ZprData::releaseAll();
    EXPECT_EQ(ZprData::tableCount(), 0);
}

// A firmware that answers with no bytes at all (found by fuzzing the answers): the buffers keep
// the zeros they were cleared to. An empty list is a list of no entries; a configuration
// header of zeros names a total size of 0, not the 32 bytes of the header, and is refused.
TEST_F(ZprDataTest, EmptyAnswersAreEmptyListsAndARefusedConfiguration)
{
    for (uint32_t opcode : {CFG_READ, PD_GET_LIST, LD_GET_LIST, ENCL_GET_LIST})
        firmware.records[opcode] = std::vector<uint8_t>();
    ZprLdList lds;
    ASSERT_EQ(data->getLdList(&lds), 0);
    EXPECT_EQ(lds.entryCount(), 0u);
    ZprPdList drives;
    ASSERT_EQ(data->getPdList(&drives), 0);
    EXPECT_EQ(drives.entryCount(), 0u);
    uint8_t* enclosures = nullptr;
    ASSERT_EQ(data->getEnclosureList(&enclosures), 0);
    EXPECT_EQ(ZprEnclosureList(enclosures, ZprEnclosureList::SIZE).entryCount(), 0u);
    delete[] enclosures;
    ZprConfigBuffer config;
    EXPECT_EQ(data->readConfig(&config, 0), -1);
    EXPECT_FALSE(config.isPresent());
}
