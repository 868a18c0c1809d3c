// The controller data cache against simulated hosts whose configurations the tests describe:
// what reaches the firmware is read back from the host's command log.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "RaidManager/Zpr/ZprData.h"
#include "SimHostFixture.h"
#include "Simulator/SimModel.h"

namespace {

const uint32_t CFG_READ = 0x04010000;
const uint32_t PD_GET_LIST = 0x02010000;
const uint32_t LD_GET_LIST = 0x03010000;
const uint32_t ENCL_GET_LIST = 0x09010000;
const uint32_t PD_LIST_OPERATION = 0x020D0200;

// The value of `name=` in a command-log line.
long long logField(const std::string& line, const char* name)
{
    const std::string key = std::string(" ") + name + "=";
    size_t at = line.find(key);
    return at == std::string::npos ? -1 : std::strtoll(line.c_str() + at + key.size(), nullptr, 0);
}

// The data lengths of the commands with `opcode` in the host's log, in order.
std::vector<long long> lengths(const simhost::SimHostFixture& host, uint32_t opcode)
{
    std::vector<long long> out;
    for (const std::string& line : host.commands())
        if (static_cast<uint32_t>(logField(line, "opcode")) == opcode)
            out.push_back(logField(line, "len"));
    return out;
}

// A configuration of `arrays` arrays of two drives each, `lds` logical drives (on the first
// array) and `spares` global spares, over enough drives.
simhost::StateEdit configuration(unsigned arrays, unsigned lds, unsigned spares)
{
    return [=](sim::HostModel& model) {
        sim::Controller& c = model.controllers.at(0);
        c.drives.clear();
        c.arrays.clear();
        c.lds.clear();
        c.spares.clear();
        // Drives 8, 9, ... in slots 0, 1, ... of enclosure 252.
        auto addDrive = [&c](uint8_t state) {
            sim::Drive d;
            d.deviceId = static_cast<uint16_t>(8 + c.drives.size());
            d.enclosureId = 252;
            d.slot = static_cast<uint8_t>(c.drives.size());
            d.state = state;
            c.drives.push_back(d);
            return d.deviceId;
        };
        for (unsigned a = 0; a < arrays; ++a) {
            sim::Array array;
            array.ref = static_cast<uint16_t>(a);
            array.drives = {addDrive(0x18), addDrive(0x18)};
            c.arrays.push_back(array);
        }
        for (unsigned t = 0; t < lds; ++t) {
            sim::LogicalDrive ld;
            ld.targetId = static_cast<uint8_t>(t);
            sim::Span span;
            span.array = 0;
            span.startBlock = 0x100000ull * t;
            span.blockCount = 0x100000;
            ld.spans.push_back(span);
            c.lds.push_back(ld);
        }
        for (unsigned s = 0; s < spares; ++s) {
            sim::Spare spare;
            spare.deviceId = addDrive(0x02);
            c.spares.push_back(spare);
        }
    };
}

simhost::StateEdit withFault(sim::FaultType type, uint32_t opcode, uint32_t offset, const sim::Bytes& data)
{
    return [=](sim::HostModel& model) {
        sim::Fault f;
        f.type = type;
        f.opcode = opcode;
        f.offset = offset;
        f.data = data;
        if (type == sim::FaultType::SHORT)
            f.bytes = offset;
        model.faults.push_back(f);
    };
}

// The data cache of the host's first controller, released with the object.
struct Cache {
    simhost::SimControllers controllers;
    ZprData* data = nullptr;

    Cache()
    {
        ZprData::releaseAll();
        Controller* controller = controllers.controller(0);
        EXPECT_NE(controller, nullptr);
        data = controller != nullptr ? ZprData::instance(controller) : nullptr;
        EXPECT_NE(data, nullptr);
    }
    ~Cache() { ZprData::releaseAll(); }
};

}  // namespace

TEST(ZprDataOnSimulatedHost, ConfigurationIsReadAtItsComputedSize)
{
    struct Case {
        const char* what;
        unsigned arrays, lds, spares;
        std::vector<long long> reads;
        size_t size;
    } cases[] = {
        {"empty", 0, 0, 0, {616}, 616},
        {"one array, one logical drive", 1, 1, 0, {616}, 616},
        {"two arrays, three logical drives, a spare", 2, 3, 1, {616, 1416}, 1416},
        {"no logical drives, two arrays, a spare", 2, 0, 1, {616, 648}, 648},
        {"no logical drives, two arrays, three spares", 2, 0, 3, {616, 728}, 728},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        simhost::SimHostFixture host("one", configuration(c.arrays, c.lds, c.spares));
        Cache cache;
        ASSERT_NE(cache.data, nullptr);
        host.clearCommands();
        ZprConfigBuffer config;
        ASSERT_EQ(cache.data->readConfig(&config, 0), 0);
        EXPECT_EQ(lengths(host, CFG_READ), c.reads);
        EXPECT_EQ(config.view().size(), c.size);
        EXPECT_EQ(config.arrayCount(), c.arrays);
        EXPECT_EQ(config.ldCount(), c.lds);
        EXPECT_EQ(config.spareCount(), c.spares);
        if (c.spares > 0) {
            EXPECT_EQ(config.spareRecord(c.spares - 1u).deviceId(), 8 + 2 * c.arrays + c.spares - 1);
        }
        if (c.lds > 0) {
            EXPECT_EQ(config.ldRecord(c.lds - 1u).span(0).startBlock(), 0x100000ull * (c.lds - 1));
        }
    }
}

TEST(ZprDataOnSimulatedHost, RereadFlagReadsAnew)
{
    simhost::SimHostFixture host("one", configuration(2, 3, 1));
    Cache cache;
    ASSERT_NE(cache.data, nullptr);
    host.clearCommands();
    ZprConfigBuffer first, cached, fresh;
    ASSERT_EQ(cache.data->readConfig(&first, 0), 0);
    ASSERT_EQ(cache.data->readConfig(&cached, 0), 0);
    EXPECT_EQ(lengths(host, CFG_READ), (std::vector<long long>{616, 1416}));
    ASSERT_EQ(cache.data->readConfig(&fresh, 1), 0);
    EXPECT_EQ(lengths(host, CFG_READ), (std::vector<long long>{616, 1416, 616, 1416}));
    EXPECT_NE(fresh.view().data(), first.view().data());
    EXPECT_EQ(first.ldRecord(2).targetId(), 2) << "the replaced buffer stays readable";
}

TEST(ZprDataOnSimulatedHost, EmptyDriveListRereadsItsHeader)
{
    simhost::SimHostFixture host("one", [](sim::HostModel& model) {
        model.controllers.at(0).drives.clear();
        model.controllers.at(0).arrays.clear();
        model.controllers.at(0).lds.clear();
    });
    Cache cache;
    ASSERT_NE(cache.data, nullptr);
    host.clearCommands();
    ZprPdList list;
    ASSERT_EQ(cache.data->getPdList(&list), 0);
    EXPECT_EQ(lengths(host, PD_GET_LIST), (std::vector<long long>{32, 8}));
    EXPECT_EQ(list.entryCount(), 0u);
}

TEST(ZprDataOnSimulatedHost, ReleaseThenInstanceTakesANewSlot)
{
    simhost::SimHostFixture host("one");
    Cache cache;
    ASSERT_NE(cache.data, nullptr);
    Controller* controller = cache.data->getController();
    EXPECT_EQ(ZprData::tableCount(), 1);
    EXPECT_EQ(ZprData::release(controller), 0);
    ZprData* again = ZprData::instance(controller);
    ASSERT_NE(again, nullptr);
    EXPECT_EQ(ZprData::tableCount(), 2);
    // The new object reads afresh: nothing was kept across the release.
    host.clearCommands();
    ZprLdList list;
    ASSERT_EQ(again->getLdList(&list), 0);
    EXPECT_EQ(lengths(host, LD_GET_LIST), std::vector<long long>{1032});
}

TEST(ZprDataOnSimulatedHost, DeviceListPausesFiveSecondsAlsoOnFailure)
{
    for (bool fails : {false, true}) {
        SCOPED_TRACE(fails ? "failing" : "succeeding");
        simhost::SimHostFixture host("one", fails ? simhost::withStatusFault(PD_LIST_OPERATION, 0x0C)
                                                  : simhost::StateEdit());
        Cache cache;
        ASSERT_NE(cache.data, nullptr);
        host.clearCommands();
        const uint64_t before = host.clock();
        const uint16_t ids[] = {8, 9, 0x77};
        uint32_t spun = 99;
        EXPECT_EQ(cache.data->sendDeviceList(3, ids, &spun), fails ? 0x0C : 0);
        EXPECT_EQ(lengths(host, PD_LIST_OPERATION), std::vector<long long>{16});
        EXPECT_EQ(host.clock(), before + 5);
        EXPECT_EQ(spun, fails ? 99u : 2u);
    }
}

TEST(ZprDataOnSimulatedHost, FaultsOfTheFirmware)
{
    struct Case {
        const char* what;
        simhost::StateEdit fault;
        int configStatus;
        int pdListStatus;
        int ldListStatus;
        int enclosureStatus;
    } cases[] = {
        {"status on the configuration read", simhost::withStatusFault(CFG_READ, 0x0C), 0x0C, 0, 0, 0},
        {"status on the drive list", simhost::withStatusFault(PD_GET_LIST, 0x2D), 0, 0x2D, 0, 0},
        {"status on the logical-drive list", simhost::withStatusFault(LD_GET_LIST, 0x03), 0, 0, 0x03, 0},
        {"status on the enclosure list", simhost::withStatusFault(ENCL_GET_LIST, 0x0C), 0, 0, 0, 0x0C},
        {"array records of 289 bytes", withFault(sim::FaultType::CORRUPT, CFG_READ, 6, {0x21, 0x01}), -1, 0, 0, 0},
        {"logical-drive records of 128 bytes", withFault(sim::FaultType::CORRUPT, CFG_READ, 10, {0x80, 0x00}), -1, 0, 0, 0},
        {"total size that lies", withFault(sim::FaultType::CORRUPT, CFG_READ, 0, {0x00, 0x10}), -1, 0, 0, 0},
        {"a header cut short", withFault(sim::FaultType::SHORT, CFG_READ, 8, {}), -1, 0, 0, 0},
        {"drive count whose size overflows", withFault(sim::FaultType::CORRUPT, PD_GET_LIST, 4, {0xAB, 0xAA, 0xAA, 0x0A}),
         0, -1, 0, 0},
        {"65 logical drives", withFault(sim::FaultType::CORRUPT, LD_GET_LIST, 0, {65}), 0, 0, -1, 0},
        {"33 enclosures", withFault(sim::FaultType::CORRUPT, ENCL_GET_LIST, 0, {33}), 0, 0, 0, -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        simhost::SimHostFixture host("one", c.fault);
        Cache cache;
        ASSERT_NE(cache.data, nullptr);
        ZprConfigBuffer config;
        ZprPdList drives;
        ZprLdList lds;
        uint8_t* enclosures = nullptr;
        EXPECT_EQ(cache.data->readConfig(&config, 0), c.configStatus);
        EXPECT_EQ(config.isPresent(), c.configStatus == 0);
        EXPECT_EQ(cache.data->getPdList(&drives), c.pdListStatus);
        EXPECT_EQ(cache.data->getLdList(&lds), c.ldListStatus);
        EXPECT_EQ(cache.data->getEnclosureList(&enclosures), c.enclosureStatus);
        EXPECT_EQ(enclosures != nullptr, c.enclosureStatus == 0);
        delete[] enclosures;
    }
}
