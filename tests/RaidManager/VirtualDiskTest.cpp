// The virtual-drive element and its data over simulated hosts: records read once, setters and
// the write-back of changed settings (what reaches the firmware read from the command log and
// the host's state), sizes from the spans, dedicated spares and foreign drives.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "RaidManager/Array.h"
#include "RaidManager/PhysicalDevice.h"
#include "RaidManager/RaidElementId.h"
#include "RaidManager/Span.h"
#include "RaidManager/Spare.h"
#include "RaidManager/VirtualDisk.h"
#include "RaidManager/Zpr/PdDataZpr.h"
#include "RaidManager/Zpr/SpanDataZpr.h"
#include "RaidManager/Zpr/SpareDataZpr.h"
#include "RaidManager/Zpr/VdDataZpr.h"
#include "RaidManager/Zpr/Records/Config/ZprSpanRecord.h"
#include "SimHostFixture.h"
#include "Simulator/SimModel.h"
#include "TestArrayData.h"

namespace {

const uint32_t LD_GET_INFO = 0x03020000;
const uint32_t LD_SET_PROPERTIES = 0x03040000;

// Logical drive 5 (sequence 3): RAID 5 "data" of 4 drives per span with every LD-info field
// given; logical drive 6 (sequence 1) a RAID 1 of more than two drives (level 17).
simhost::StateEdit withLds()
{
    return [](sim::HostModel& model) {
        sim::Controller& c = model.controllers.at(0);
        c.arrays.clear();
        c.spares.clear();
        c.lds.clear();
        sim::LogicalDrive a;
        a.targetId = 5;
        a.sequence = 3;
        a.name = "data";
        a.defaultCachePolicy = 0x65;
        a.accessPolicy = 2;
        a.diskCachePolicy = 1;
        a.currentCachePolicy = 0x64;
        a.bgiDisabled = 1;
        a.propertyFlags = 0x01;
        a.powerSavingPolicy = 2;
        a.currentPowerSavingPolicy = 6;
        a.raidLevel = 5;
        a.raidQualifier = 3;
        a.stripExponent = 8;
        a.drivesPerSpan = 4;
        a.spanDepth = 1;
        a.state = 2;
        a.initialized = 1;
        a.encryption = 1;
        a.badBlocks = 1;
        a.snapshot = 1;
        a.piType = 2;
        a.cacheAssociation = 1;
        a.currentAccessPolicy = 3;
        a.sizeBlocks = 3000;
        a.sizeIsDriveSize = true;
        a.progress = {{sim::LdOperation::RECONSTRUCTION, 0x4000, 60}};
        sim::LogicalDrive b;
        b.targetId = 6;
        b.raidLevel = 17;
        b.sscCache = 1;
        c.lds = {a, b};
    };
}

// The logical-drive record as the program reads it: through a drive of its own.
struct Ld {
    simhost::SimControllers controllers;
    VirtualDisk* vd = nullptr;
    VdDataZpr* data = nullptr;

    Ld(uint8_t targetId, uint16_t sequence)
    {
        Controller* controller = controllers.controller(0);
        EXPECT_NE(controller, nullptr);
        data = new VdDataZpr(controller, new VdIdZpr(targetId, sequence));
        vd = new VirtualDisk(data, controller);
    }
    ~Ld() { delete vd; }
};

// The command-log lines of `opcode`.
std::vector<std::string> linesOf(const simhost::SimHostFixture& host, const char* opcode)
{
    std::vector<std::string> out;
    for (const std::string& line : host.commands())
        if (line.find(std::string("opcode=") + opcode) != std::string::npos)
            out.push_back(line);
    return out;
}

}  // namespace

TEST(VirtualDisk, EveryGetterFromOneInformationRead)
{
    simhost::SimHostFixture host("one", withLds());
    Ld ld(5, 3);
    host.clearCommands();
    VirtualDisk* vd = ld.vd;
    struct Case {
        const char* what;
        int (VirtualDisk::*get)(uint8_t*);
        uint8_t expected;
    } cases[] = {
        {"default cache", &VirtualDisk::getDefaultCachePolicy, 0x65},
        {"access", &VirtualDisk::getAccessPolicy, 2},
        {"disk cache", &VirtualDisk::getDiskCachePolicy, 1},
        {"current cache", &VirtualDisk::getCurrentCachePolicy, 0x64},
        {"bgi disabled", &VirtualDisk::isBgiDisabled, 1},
        {"flag 25 bit 0", &VirtualDisk::getPropertyFlag25Bit0, 1},
        {"flag 25 bit 1", &VirtualDisk::getPropertyFlag25Bit1, 0},
        {"power savings", &VirtualDisk::getPowerSavingsPolicy, 2},
        {"current power savings", &VirtualDisk::getCurrentPowerSavingsPolicy, 6},
        {"primary level", &VirtualDisk::getPrimaryRaidLevel, 5},
        {"qualifier", &VirtualDisk::getRaidLevelQualifier, 3},
        {"secondary level", &VirtualDisk::getSecondaryRaidLevel, 0},
        {"strip", &VirtualDisk::getStripSize, 8},
        {"drives per span", &VirtualDisk::getDrivesPerSpan, 4},
        {"span depth", &VirtualDisk::getSpanDepth, 1},
        {"state", &VirtualDisk::getState, 2},
        {"initialized", &VirtualDisk::isInitialized, 1},
        {"encryption", &VirtualDisk::getEncryptionType, 1},
        {"bad blocks", &VirtualDisk::hasBadBlocks, 1},
        {"PI type", &VirtualDisk::getPiType, 2},
        {"cache association", &VirtualDisk::getCacheAssociation, 1},
        {"current access", &VirtualDisk::getCurrentAccessPolicy, 3},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        uint8_t value = 0xEE;
        EXPECT_EQ((vd->*c.get)(&value), 0);
        EXPECT_EQ(value, c.expected);
    }
    char name[17];
    EXPECT_EQ(vd->getName(name, sizeof name), 0);
    EXPECT_STREQ(name, "data");
    uint64_t blocks = 0;
    EXPECT_EQ(vd->getLdInfoBlock256(&blocks), 0);
    EXPECT_EQ(blocks, 3000u);
    EXPECT_EQ(vd->getLdInfoFlag303(), 1);
    EXPECT_EQ(vd->getLdInfoFlag303b(), 1);
    EXPECT_EQ(vd->isSnapshotEnabled(), 1);
    EXPECT_EQ(vd->isTidewellCache(), 0);
    EXPECT_EQ(vd->returnsZero53(), 0);
    EXPECT_EQ(host.count(LD_GET_INFO), 1u) << "the information is read once and kept";
}

TEST(VirtualDisk, MultiMirrorLevelIsReportedAsOneAndTheRecordKeepsIt)
{
    simhost::SimHostFixture host("one", withLds());
    Ld ld(6, 1);
    uint8_t level = 0;
    EXPECT_EQ(ld.vd->getPrimaryRaidLevel(&level), 0);
    EXPECT_EQ(level, 1);
    EXPECT_EQ(ld.vd->isTidewellCache(), 1) << "an SSD-caching drive";
    // A drive whose parameters point into a configuration record leaves the raw byte alone.
    uint8_t parameters[32] = {17};
    VdDataZpr planned(nullptr, new VdIdZpr(1, 1));
    planned.setParameters(parameters);
    EXPECT_EQ(planned.getPrimaryRaidLevel(&level), 0);
    EXPECT_EQ(level, 1);
    EXPECT_EQ(parameters[0], 17);
}

TEST(VirtualDisk, FailedInformationRead)
{
    simhost::SimHostFixture host("one", simhost::both(withLds(), simhost::withStatusFault(LD_GET_INFO, 0x0C)));
    Ld ld(5, 3);
    host.clearCommands();
    uint8_t state = 0xEE;
    EXPECT_EQ(ld.vd->getState(&state), 0x0C);
    EXPECT_EQ(state, 0xEE) << "untouched";
    EXPECT_EQ(ld.vd->isTidewellCache(), 1) << "answers 1 when the parameters cannot be loaded";
    EXPECT_EQ(ld.vd->getLdInfoFlag303(), 0x0C);
    EXPECT_EQ(ld.vd->isSnapshotEnabled(), 0x0C);
    EXPECT_EQ(ld.vd->beginUpdate(), 0x0C);
    EXPECT_EQ(host.count(LD_GET_INFO), 5u) << "nothing cached: each use reads again";

    // A drive marked foreign reads its missing information as zeros.
    EXPECT_EQ(ld.vd->markForeign(), 0);
    EXPECT_EQ(ld.vd->getState(&state), 0);
    EXPECT_EQ(state, 0);
    EXPECT_EQ(ld.vd->isTidewellCache(), 0);
    EXPECT_EQ(ld.vd->getLdInfoFlag303(), 0);
    EXPECT_EQ(host.count(LD_GET_INFO), 6u) << "and keeps them";
}

// Two setters and one endUpdate send one properties write naming the drive by its reference;
// a second endUpdate sends nothing; the host keeps the new settings.
TEST(VirtualDisk, ChangedSettingsAreWrittenOnce)
{
    simhost::SimHostFixture host("one", withLds());
    Ld ld(5, 3);
    ASSERT_EQ(ld.vd->beginUpdate(), 0);
    host.clearCommands();
    EXPECT_EQ(ld.vd->setName("archive"), 0);
    EXPECT_EQ(ld.vd->setCurrentCachePolicy(0x0D), 0);
    EXPECT_EQ(ld.vd->setDiskCachePolicy(2), 0);
    EXPECT_EQ(ld.vd->endUpdate(), 0);
    EXPECT_EQ(ld.vd->endUpdate(), 0);
    const std::vector<std::string> writes = linesOf(host, "0x03040000");
    ASSERT_EQ(writes.size(), 1u);
    EXPECT_NE(writes[0].find("mbox=0x00030005,"), std::string::npos) << writes[0];
    EXPECT_EQ(host.count(LD_GET_INFO), 0u);
    const std::string state = host.file("state.json");
    EXPECT_NE(state.find("\"name\": \"archive\""), std::string::npos) << state;
    EXPECT_NE(state.find("\"currentCachePolicy\": \"0xd\""), std::string::npos) << state;
    EXPECT_NE(state.find("\"diskCachePolicy\": 2"), std::string::npos) << state;
}

// A write the firmware refuses keeps the change marked: the next endUpdate sends it again.
TEST(VirtualDisk, RefusedWriteIsSentAgain)
{
    simhost::SimHostFixture host("one", simhost::both(withLds(), simhost::withStatusFault(LD_SET_PROPERTIES, 0x2D)));
    Ld ld(5, 3);
    ASSERT_EQ(ld.vd->beginUpdate(), 0);
    EXPECT_EQ(ld.vd->setAccessPolicy(0), 0);
    EXPECT_EQ(ld.vd->endUpdate(), 0x2D);
    host.change(simhost::withoutFaults());
    EXPECT_EQ(ld.vd->endUpdate(), 0);
    EXPECT_EQ(ld.vd->endUpdate(), 0);
    EXPECT_EQ(host.count(LD_SET_PROPERTIES), 2u);
    // Read/write (0) is the default, which the description leaves out.
    EXPECT_EQ(host.file("state.json").find("\"accessPolicy\""), std::string::npos) << host.file("state.json");
}

TEST(VirtualDisk, SettersWithoutLoadedSettings)
{
    simhost::SimHostFixture host("one", withLds());
    struct Case {
        const char* what;
        int (VirtualDisk::*set)(uint8_t);
    } cases[] = {
        {"default cache", &VirtualDisk::setDefaultCachePolicy}, {"access", &VirtualDisk::setAccessPolicy},
        {"disk cache", &VirtualDisk::setDiskCachePolicy},       {"current cache", &VirtualDisk::setCurrentCachePolicy},
        {"bgi", &VirtualDisk::setBgiDisabled},                  {"power savings", &VirtualDisk::setPowerSavingsPolicy},
        {"flag 25 bit 0", &VirtualDisk::setPropertyFlag25Bit0}, {"PI type", &VirtualDisk::setPiType},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Ld ld(5, 3);
        host.clearCommands();
        EXPECT_EQ((ld.vd->*c.set)(1), -1);
        EXPECT_EQ(ld.vd->endUpdate(), -1) << "marked changed, but nothing to send";
        EXPECT_EQ(host.count(LD_SET_PROPERTIES), 0u);
    }
    Ld ld(5, 3);
    EXPECT_EQ(ld.vd->setName("x"), -1);
    EXPECT_EQ(ld.vd->endUpdate(), 0) << "setName refuses before it marks the drive";
}

// A name of more than 15 characters would fill the 16-byte field without its NUL: refused,
// nothing copied, nothing to send.
TEST(VirtualDisk, OverlongNameIsRefused)
{
    simhost::SimHostFixture host("one", withLds());
    Ld ld(5, 3);
    ASSERT_EQ(ld.vd->beginUpdate(), 0);
    host.clearCommands();
    EXPECT_EQ(ld.vd->setName("sixteen-chars-xx"), -1);
    char name[32];
    ASSERT_EQ(ld.vd->getName(name, sizeof name), 0);
    EXPECT_STREQ(name, "data");
    EXPECT_EQ(ld.vd->endUpdate(), 0);
    EXPECT_EQ(host.count(LD_SET_PROPERTIES), 0u);
    EXPECT_EQ(ld.vd->setName("fifteen-chars-x"), 0);
    ASSERT_EQ(ld.vd->getName(name, sizeof name), 0);
    EXPECT_STREQ(name, "fifteen-chars-x");
}

// The second flag bit reads the information and moves the settings into it: the
// configuration's copy is left and the information's settings are what is written.
TEST(VirtualDisk, FlagBit1MovesTheSettingsIntoTheInformation)
{
    simhost::SimHostFixture host("one", withLds());
    Ld ld(5, 3);
    uint8_t config[32] = {};
    memcpy(config + 4, "fromconfig", 11);
    ld.data->setProperties(config);
    char name[17];
    ASSERT_EQ(ld.vd->getName(name, sizeof name), 0);
    EXPECT_STREQ(name, "fromconfig");
    EXPECT_EQ(host.count(LD_GET_INFO), 0u);
    EXPECT_EQ(ld.vd->setPropertyFlag25Bit1(1), 0);
    EXPECT_EQ(host.count(LD_GET_INFO), 1u);
    ASSERT_EQ(ld.vd->getName(name, sizeof name), 0);
    EXPECT_STREQ(name, "data");
    uint8_t bit = 0;
    EXPECT_EQ(ld.vd->getPropertyFlag25Bit1(&bit), 0);
    EXPECT_EQ(bit, 1);
    EXPECT_EQ(ld.vd->getPropertyFlag25Bit0(&bit), 0);
    EXPECT_EQ(bit, 1) << "the other bit is kept";
    EXPECT_EQ(config[25], 0);
    EXPECT_EQ(ld.vd->endUpdate(), 0);
    EXPECT_NE(host.file("state.json").find("\"propertyFlags\": \"0x3\""), std::string::npos);
}

namespace {

// A span over test-owned record bytes.
struct SpanBytes {
    uint8_t bytes[ZprSpanRecord::SIZE] = {};
};

Span* newSpan(SpanBytes& record, uint64_t start, uint64_t count)
{
    LeView v(record.bytes, sizeof record.bytes);
    v.setU64(ZprSpanRecord::START_BLOCK, start);
    v.setU64(ZprSpanRecord::BLOCK_COUNT, count);
    SpanDataZpr* data = new SpanDataZpr(nullptr, nullptr);
    data->setRecord(ZprSpanRecord(v));
    return new Span(data, nullptr);
}

}  // namespace

TEST(VirtualDisk, SizesFromTheSpans)
{
    struct Case {
        const char* what;
        uint8_t level, drivesPerSpan, depth;
        int status;
        uint64_t size, data, redundancy;
    } cases[] = {
        {"RAID 0", 0, 3, 1, 0, 3000, 3000, 0},
        {"RAID 10", 1, 2, 2, 0, 2000, 2000, 2000},
        {"RAID 1 of three drives", 17, 3, 1, 0, 1500, 1500, 1500},
        {"RAID 5", 5, 4, 1, 0, 3000, 3000, 1000},
        {"RAID 50", 5, 3, 2, 0, 4000, 4000, 2000},
        {"RAID 6", 6, 6, 1, 0, 4000, 4000, 2000},
        {"RAID 5 without drives", 5, 0, 1, -1, 0, 0, 0},
        {"RAID 6 of one drive", 6, 1, 1, -1, 0, 0, 0},
        {"unknown level", 7, 2, 2, -1, 0, 0, 0},
        {"no span read", 0, 2, 3, 0, 4000, 4000, 0},   // the third span is missing: counts 0
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        uint8_t parameters[32] = {};
        parameters[0] = c.level;
        parameters[4] = c.drivesPerSpan;
        parameters[5] = c.depth;
        VdDataZpr data(nullptr, new VdIdZpr(1, 1));
        data.setParameters(parameters);
        SpanBytes a, b;
        EXPECT_EQ(data.addSpan(newSpan(a, 0, 1000)), 0);
        EXPECT_EQ(data.addSpan(newSpan(b, 1000, 1000)), 0);
        uint64_t size = 99, dataSize = 99, redundancy = 99;
        EXPECT_EQ(data.getSize(&size), c.status);
        EXPECT_EQ(data.getSizes(&dataSize, &redundancy), c.status);
        EXPECT_EQ(size, c.size);
        EXPECT_EQ(dataSize, c.data);
        EXPECT_EQ(redundancy, c.redundancy);
        uint64_t start = 0;
        EXPECT_EQ(data.getStartBlock(&start), 0);
        EXPECT_EQ(start, 0u);
        EXPECT_EQ(data.getSpanBlockCount(&start, 2), -1);
    }
    VdDataZpr none(nullptr, new VdIdZpr(1, 1));
    uint64_t start = 5;
    ArrayList<Span*>* spans = nullptr;
    EXPECT_EQ(none.getStartBlock(&start), -1);
    EXPECT_EQ(none.getSpans(&spans), -1);
}

TEST(VirtualDisk, PlannedDriveHasRecordsOfItsOwn)
{
    VdDataZpr planned(nullptr, new VdIdZpr(255, 0xFFFF), 6, 7, 0x0D, 0x05, 2, 5);
    uint8_t v = 0;
    EXPECT_EQ(planned.getPrimaryRaidLevel(&v), 0);
    EXPECT_EQ(v, 6);
    EXPECT_EQ(planned.getStripSize(&v), 0);
    EXPECT_EQ(v, 7);
    EXPECT_EQ(planned.getEncryptionType(&v), 0);
    EXPECT_EQ(v, 2);
    EXPECT_EQ(planned.getCurrentCachePolicy(&v), 0);
    EXPECT_EQ(v, 0x0D);
    EXPECT_EQ(planned.getDefaultCachePolicy(&v), 0);
    EXPECT_EQ(v, 0x05);
    EXPECT_EQ(planned.getPowerSavingsPolicy(&v), 0);
    EXPECT_EQ(v, 5);
    EXPECT_EQ(planned.getDrivesPerSpan(&v), 0);
    EXPECT_EQ(v, 0);
    EXPECT_EQ(planned.setName("new"), 0) << "a planned drive's settings are loaded from the start";
}

namespace {

// Two arrays with a spare dedicated to both, a second spare dedicated to the second array,
// and a spare of the same drive as the first listed again on the second array.
struct SpannedDrive {
    simhost::SimControllers controllers;
    Controller* controller = nullptr;
    std::vector<PhysicalDevice*> drives;
    ArrayHmg* arrays[2] = {nullptr, nullptr};
    std::vector<Spare*> spares;
    VirtualDisk* vd = nullptr;

    SpannedDrive()
    {
        controller = controllers.controller(0);
        for (uint16_t id : {8, 9, 10, 11, 20, 21})
            drives.push_back(new PhysicalDevice(new PdDataZpr(controller, new PdIdZpr(0, 0, id, 0xFFFF)), controller));
        VdDataZpr* data = new VdDataZpr(controller, new VdIdZpr(5, 3));
        vd = new VirtualDisk(data, controller);
        for (int a = 0; a < 2; ++a) {
            arrays[a] = new ArrayHmg(new TestArrayData(static_cast<uint16_t>(a)), controller);
            EXPECT_EQ(arrays[a]->addPd(drives[2 * a]), 0);
            EXPECT_EQ(arrays[a]->addPd(drives[2 * a + 1]), 0);
            Span* span = new Span(new SpanDataZpr(controller, nullptr), controller);
            EXPECT_EQ(span->setArray(arrays[a]), 0);
            EXPECT_EQ(data->addSpan(span), 0);
        }
    }
    Spare* spare(PhysicalDevice* pd, std::vector<int> served)
    {
        Spare* s = new Spare(new SpareDataZpr(controller, nullptr), controller);
        EXPECT_EQ(s->setPd(pd), 0);
        for (int a : served) {
            EXPECT_EQ(s->addArray(arrays[a]), 0);
            EXPECT_EQ(arrays[a]->addSpare(s), 0);
        }
        spares.push_back(s);
        return s;
    }
    ~SpannedDrive()
    {
        delete vd;
        for (ArrayHmg* a : arrays)
            delete a;
        for (Spare* s : spares)
            delete s;
        for (PhysicalDevice* pd : drives)
            delete pd;
    }
};

simhost::StateEdit withForeignDrive(int deviceId)
{
    return [deviceId](sim::HostModel& model) {
        sim::Controller& c = model.controllers.at(0);
        c.lds.clear();
        c.arrays.clear();
        c.spares.clear();
        c.drives.clear();
        for (uint16_t id : {8, 9, 10, 11, 20, 21}) {
            sim::Drive d;
            d.deviceId = id;
            d.configFlags = id == deviceId ? 0x10 : 0;
            c.drives.push_back(d);
        }
    };
}

}  // namespace

TEST(VirtualDisk, DedicatedSparesAreListedOncePerDrive)
{
    simhost::SimHostFixture host("one", withForeignDrive(-1));
    SpannedDrive drive;
    Spare* both = drive.spare(drive.drives[4], {0, 1});
    Spare* second = drive.spare(drive.drives[5], {1});
    drive.spare(drive.drives[4], {1});   // the same drive again: left out
    ArrayList<Spare*>* list = nullptr;
    EXPECT_EQ(drive.vd->getDedicatedSpares(&list), 0);
    ASSERT_NE(list, nullptr);
    ASSERT_EQ(list->count(), 2);
    EXPECT_EQ(list->get(0), both);
    EXPECT_EQ(list->get(1), second);
    ArrayList<Spare*>* again = nullptr;
    EXPECT_EQ(drive.vd->getDedicatedSpares(&again), 0);
    EXPECT_EQ(again, list) << "kept";
}

TEST(VirtualDisk, NoDedicatedSparesGiveNoList)
{
    simhost::SimHostFixture host("one", withForeignDrive(-1));
    SpannedDrive drive;
    ArrayList<Spare*>* list = reinterpret_cast<ArrayList<Spare*>*>(&drive);
    EXPECT_EQ(drive.vd->getDedicatedSpares(&list), 0);
    EXPECT_EQ(list, nullptr);
    VirtualDisk lone(new VdDataZpr(nullptr, new VdIdZpr(1, 1)), nullptr);
    EXPECT_EQ(lone.getDedicatedSpares(&list), -1) << "no spans";
    uint8_t foreign = 0;
    EXPECT_EQ(lone.hasForeignPd(&foreign), -1);
}

TEST(VirtualDisk, ForeignDriveUnderAnySpan)
{
    struct Case {
        int foreignDevice;
        uint8_t expected;
    } cases[] = {{-1, 0}, {8, 1}, {11, 1}, {20, 0}};   // 20 is a spare, not a member
    for (const Case& c : cases) {
        SCOPED_TRACE(c.foreignDevice);
        simhost::SimHostFixture host("one", withForeignDrive(c.foreignDevice));
        SpannedDrive drive;
        uint8_t foreign = 7;
        EXPECT_EQ(drive.vd->hasForeignPd(&foreign), 0);
        EXPECT_EQ(foreign, c.expected);
    }
}
