// The drive commands of the drive data against described simulated hosts: the firmware
// commands they send (read back from the host's command log), what the firmware keeps of them
// across runs, and their edge cases: the same-state and conversion-limit rules, spare records,
// spin-up rounds, allowed-operation words, progress, key ids and statistics lengths.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "PavUtil/List.h"
#include "RaidManager/Array.h"
#include "RaidManager/PhysicalDevice.h"
#include "RaidManager/RaidElementId.h"
#include "RaidManager/Zpr/PdDataZpr.h"
#include "SimHostFixture.h"
#include "Simulator/Description/SimDescription.h"
#include "TestArrayData.h"

namespace {

const uint32_t PD_GET_INFO = 0x02020000;
const uint32_t PD_SET_STATE = 0x02030100;
const uint32_t PD_LIST_OPERATION = 0x020D0200;
const uint32_t PD_ALLOWED_OPERATIONS = 0x020A0000;
const uint32_t DPM_GET_STATISTICS = 0x0A020000;
const uint32_t CFG_MAKE_HOTSPARE = 0x04040000;
const uint32_t ADP_GET_INFO = 0x01010000;

// Drive 8 (sequence 0x0102) and drive 9 of array 0 under a RAID 1 logical drive, drive 10
// unconfigured good, on a controller described further by `controllerFields`; drive fields
// per drive id in `driveFields`.
std::string description(const std::string& controllerFields, const std::string& drive8 = "",
                        const std::string& drive10 = "")
{
    return "{\"controllers\": [{\"host\": 2" + (controllerFields.empty() ? "" : ", " + controllerFields) +
           ", \"drives\": ["
           "{\"deviceId\": 8, \"sequence\": \"0x102\", \"state\": \"0x18\"" + (drive8.empty() ? "" : ", " + drive8) + "},"
           "{\"deviceId\": 9, \"slot\": 1, \"state\": \"0x18\"},"
           "{\"deviceId\": 10, \"slot\": 2" + (drive10.empty() ? "" : ", " + drive10) + "}],"
           "\"arrays\": [{\"ref\": 0, \"drives\": [8, 9]}, {\"ref\": 1, \"drives\": []}],"
           "\"lds\": [{\"targetId\": 0, \"raidLevel\": 1, \"drivesPerSpan\": 2, \"spans\": [{\"array\": 0}]}]}]}";
}

simhost::StateEdit described(const std::string& text)
{
    return [text](sim::HostModel& model) {
        std::string error;
        sim::HostModel parsed;
        ASSERT_TRUE(sim::readDescription(text, parsed, error)) << error << "\n" << text;
        model = parsed;
    };
}

simhost::StateEdit failing(uint32_t opcode, uint8_t status, sim::FaultMode mode, uint32_t count = 1)
{
    return [=](sim::HostModel& model) {
        sim::Fault f;
        f.type = sim::FaultType::STATUS;
        f.opcode = opcode;
        f.status = status;
        f.mode = mode;
        f.count = count;
        model.faults.push_back(f);
    };
}

// The value of `name=` in a command-log line.
std::string logField(const std::string& line, const char* name)
{
    const std::string key = std::string(" ") + name + "=";
    const size_t at = line.find(key);
    if (at == std::string::npos)
        return std::string();
    const size_t end = line.find(' ', at + key.size());
    return line.substr(at + key.size(), end == std::string::npos ? std::string::npos : end - at - key.size());
}

// A run of the program over the described host: drives as a run makes them, commands counted
// from their making on. Each ProgramRun is a new process's view: its drive records are read anew.
class ProgramRun {
public:
    explicit ProgramRun(simhost::SimHostFixture& host) : host(host)
    {
        controller = controllers.controller(0);
        EXPECT_NE(controller, nullptr);
        host.clearCommands();
    }
    ~ProgramRun()
    {
        for (PhysicalDevice* pd : made)
            delete pd;
    }

    PhysicalDevice* drive(uint16_t deviceId)
    {
        made.push_back(new PhysicalDevice(new PdDataZpr(controller, new PdIdZpr(0, 0, deviceId, 0xFFFF)), controller));
        return made.back();
    }
    // "opcode mbox0,mbox1,mbox2 len" of every command but the drive-record reads.
    std::vector<std::string> sent() const
    {
        std::vector<std::string> out;
        for (const std::string& line : host.commands())
            if (logField(line, "opcode") != "0x02020000")
                out.push_back(logField(line, "opcode") + " " + logField(line, "mbox") + " " + logField(line, "len"));
        return out;
    }
    size_t count(uint32_t opcode) const { return host.count(opcode); }

    simhost::SimHostFixture& host;
    simhost::SimControllers controllers;
    Controller* controller = nullptr;
    std::vector<PhysicalDevice*> made;
};

sim::Controller saved(const simhost::SimHostFixture& host)
{
    sim::HostModel model;
    std::string error;
    EXPECT_TRUE(sim::readDescription(host.file("state.json"), model, error)) << error;
    return model.controllers.empty() ? sim::Controller() : model.controllers.at(0);
}

const sim::Drive* savedDrive(const sim::Controller& c, uint16_t id)
{
    for (const sim::Drive& d : c.drives)
        if (d.deviceId == id)
            return &d;
    return nullptr;
}

}  // namespace

TEST(DriveCommands, EachCommandSendsItsOpcodeAndMailbox)
{
    struct Case {
        const char* what;
        std::function<int(PhysicalDevice*, PhysicalDevice*)> call;
        std::string sent;   // opcode, mailbox words, data length
    };
    const std::vector<Case> cases = {
        {"start rebuild", [](PhysicalDevice* p, PhysicalDevice*) { return p->startRebuild(); }, "0x02040100 0x01020008,0x00000000,0x00000000 0"},
        {"stop rebuild", [](PhysicalDevice* p, PhysicalDevice*) { return p->stopRebuild(); }, "0x02040200 0x01020008,0x00000000,0x00000000 0"},
        {"start clear", [](PhysicalDevice* p, PhysicalDevice*) { return p->startClear(); }, "0x02050100 0x01020008,0x00000000,0x00000000 0"},
        {"stop clear", [](PhysicalDevice* p, PhysicalDevice*) { return p->stopClear(); }, "0x02050200 0x01020008,0x00000000,0x00000000 0"},
        {"start locate", [](PhysicalDevice* p, PhysicalDevice*) { return p->startLocate(0); }, "0x02070100 0x00000008,0x00000000,0x00000000 0"},
        {"start locate with an argument", [](PhysicalDevice* p, PhysicalDevice*) { return p->startLocate(0x1234); }, "0x02070100 0x12340008,0x00000000,0x00000000 0"},
        {"stop locate", [](PhysicalDevice* p, PhysicalDevice*) { return p->stopLocate(); }, "0x02070200 0x00000008,0x00000000,0x00000000 0"},
        {"mark missing", [](PhysicalDevice* p, PhysicalDevice*) { return p->markMissing(); }, "0x02080100 0x01020008,0x00000000,0x00000000 0"},
        {"prepare for removal", [](PhysicalDevice* p, PhysicalDevice*) { return p->prepareForRemoval(); }, "0x02090100 0x01020008,0x00000000,0x00000000 0"},
        {"undo prepare for removal", [](PhysicalDevice* p, PhysicalDevice*) { return p->undoPrepareForRemoval(); }, "0x02090200 0x01020008,0x00000000,0x00000000 0"},
        {"stop copyback", [](PhysicalDevice* p, PhysicalDevice*) { return p->stopCopyback(); }, "0x020b0200 0x01020008,0x00000000,0x00000000 0"},
        {"start reprovision", [](PhysicalDevice* p, PhysicalDevice*) { return p->startReprovision(); }, "0x020c0300 0x01020008,0x00000000,0x00000000 0"},
        {"reprovision a locked drive", [](PhysicalDevice* p, PhysicalDevice*) { return p->reprovisionLockedDrive(); }, "0x020c0100 0x01020008,0x00000000,0x00000000 0"},
        {"stop secure erase", [](PhysicalDevice* p, PhysicalDevice*) { return p->stopSecureErase(); }, "0x020f0200 0x01020008,0x00000000,0x00000000 0"},
        {"remove hot spare", [](PhysicalDevice* p, PhysicalDevice*) { return p->removeHotSpare(); }, "0x04050000 0x01020008,0x00000000,0x00000000 0"},
        {"suspend rebuild", [](PhysicalDevice* p, PhysicalDevice*) { return p->suspendRebuild(); }, "0x020e0100 0x01020008,0x00000000,0x00000000 0"},
        {"resume rebuild", [](PhysicalDevice* p, PhysicalDevice*) { return p->resumeRebuild(); }, "0x020e0100 0x01020008,0x00000001,0x00000000 0"},
        {"suspend copyback", [](PhysicalDevice* p, PhysicalDevice*) { return p->suspendCopyback(); }, "0x020e0200 0x01020008,0x00000000,0x00000000 0"},
        {"resume copyback", [](PhysicalDevice* p, PhysicalDevice*) { return p->resumeCopyback(); }, "0x020e0200 0x01020008,0x00000001,0x00000000 0"},
        {"start copyback onto drive 10", [](PhysicalDevice* p, PhysicalDevice* d) { return p->startCopyback(d); }, "0x020b0100 0x0001000a,0x01020008,0x00000000 0"},
        {"secure erase with both patterns 0", [](PhysicalDevice* p, PhysicalDevice*) { return p->startSecureErase(1, 0, 0); }, "0x020f0100 0x01020008,0x0055aa01,0x00000000 0"},
        {"secure erase with patterns", [](PhysicalDevice* p, PhysicalDevice*) { return p->startSecureErase(2, 0x11, 0x22); }, "0x020f0100 0x01020008,0x00221102,0x00000000 0"},
        {"set state offline", [](PhysicalDevice* p, PhysicalDevice*) { return p->setFirmwareState(0x10); }, "0x02030100 0x01020008,0x00000010,0x00000000 0"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        simhost::SimHostFixture host("one", described(description("")));
        ProgramRun run(host);
        c.call(run.drive(8), run.drive(10));
        EXPECT_EQ(run.sent(), std::vector<std::string>({c.sent}));
    }
}

TEST(DriveCommands, DriveThatCannotBeReadSendsNothing)
{
    simhost::SimHostFixture host("one", described(description("")));
    ProgramRun run(host);
    PhysicalDevice* missing = run.drive(77);
    EXPECT_EQ(missing->startRebuild(), 0x0C);
    EXPECT_EQ(missing->setFirmwareState(0x10), 0x0C);
    EXPECT_EQ(missing->suspendRebuild(), 0x0C);
    EXPECT_EQ(run.drive(8)->startCopyback(missing), 0x0C);
    EXPECT_EQ(run.drive(8)->startCopyback(nullptr), -1);
    EXPECT_TRUE(run.sent().empty());
}

TEST(DriveCommands, SetFirmwareState)
{
    struct Case {
        const char* what;
        std::string controller, drive8;
        uint8_t state;
        int result;
        size_t sent;
        uint16_t stateAfter;   // as the next run reads it
    };
    const std::vector<Case> cases = {
        {"same state: nothing sent", "", "", 0x18, -1, 0, 0x18},
        {"online to offline", "", "", 0x10, 0, 1, 0x10},
        {"a change the firmware refuses", "", "", 0x40, -1, 1, 0x18},
        {"out of JBOD at the conversion limit", "\"jbodConversionsLeft\": 0", "\"state\": \"0x40\"", 0x00, 0x5F, 1, 0x40},
        {"out of JBOD with conversions left", "\"jbodConversionsLeft\": 1", "\"state\": \"0x40\"", 0x00, 0, 1, 0x00},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::string text = description(c.controller, c.drive8);
        if (!c.drive8.empty())   // a JBOD drive is in no array
            text.replace(text.find("[8, 9]"), 6, "[9]");
        simhost::SimHostFixture host("one", described(text));
        {
            ProgramRun run(host);
            PhysicalDevice* pd = run.drive(8);
            EXPECT_EQ(pd->setFirmwareState(c.state), c.result);
            EXPECT_EQ(run.count(PD_SET_STATE), c.sent);
            uint16_t seen = 0;
            ASSERT_EQ(pd->getFirmwareState(&seen), 0);
            EXPECT_EQ(seen, c.result == 0 ? c.state : c.stateAfter);
            EXPECT_EQ(run.count(PD_GET_INFO), 1u);
        }
        ProgramRun next(host);
        uint16_t kept = 0;
        ASSERT_EQ(next.drive(8)->getFirmwareState(&kept), 0);
        EXPECT_EQ(kept, c.stateAfter);
    }
}

TEST(DriveCommands, HotSpareRecord)
{
    struct Case {
        const char* what;
        bool adapterRevertible;
        uint8_t revertible, affinity;
        std::vector<uint16_t> arrays;   // empty: global
        bool dedicated;
        bool savedRevertible, savedAffinity;
    };
    const std::vector<Case> cases = {
        {"global spare", true, 0, 0, {}, false, false, false},
        {"revertible dedicated spare", true, 1, 1, {0, 1}, true, true, true},
        {"revertible request without adapter support", false, 1, 0, {}, false, false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        simhost::SimHostFixture host("one", described(description(c.adapterRevertible ? "" : "\"info\": {\"raidFeatures\": \"0x4b\"}")));
        ProgramRun run(host);
        std::vector<std::unique_ptr<ArrayHmg>> arrays;
        ArrayList<Array*> list;
        for (uint16_t ref : c.arrays) {
            arrays.emplace_back(new ArrayHmg(new TestArrayData(ref), nullptr));
            list.add(arrays.back().get());
        }
        EXPECT_EQ(run.drive(10)->makeHotSpare(c.arrays.empty() ? nullptr : &list, c.revertible, c.affinity), 0);
        EXPECT_EQ(run.count(CFG_MAKE_HOTSPARE), 1u);
        const sim::Controller after = saved(host);
        ASSERT_EQ(after.spares.size(), 1u);
        EXPECT_EQ(after.spares[0].deviceId, 10);
        EXPECT_EQ(after.spares[0].dedicated, c.dedicated);
        EXPECT_EQ(after.spares[0].revertible, c.savedRevertible);
        EXPECT_EQ(after.spares[0].enclosureAffinity, c.savedAffinity);
        EXPECT_EQ(after.spares[0].arrays, c.arrays);
        EXPECT_EQ(savedDrive(after, 10)->state, 0x02);
    }
}

TEST(DriveCommands, HotSpareOfArraysThatCannotBeNamedIsNotSent)
{
    simhost::SimHostFixture host("one", described(description("")));
    ProgramRun run(host);
    // An array without a record has no reference: the spare would serve array 0 instead.
    ArrayHmg unnamed(new TestArrayData(1, false), nullptr);
    ArrayList<Array*> one;
    one.add(&unnamed);
    EXPECT_NE(run.drive(10)->makeHotSpare(&one, 0, 0), 0);
    // Seventeen arrays do not fit the record's sixteen references.
    ArrayHmg named(new TestArrayData(0), nullptr);
    ArrayList<Array*> seventeen;
    for (int i = 0; i < 17; ++i)
        seventeen.add(&named);
    EXPECT_EQ(run.drive(10)->makeHotSpare(&seventeen, 0, 0), -1);
    EXPECT_EQ(run.count(CFG_MAKE_HOTSPARE), 0u);
    // Removing a drive that is no spare is refused by the firmware.
    EXPECT_EQ(run.drive(10)->removeHotSpare(), 0x32);
}

TEST(DriveCommands, SpinUp)
{
    struct Case {
        const char* what;
        std::string controller, drive8;
        simhost::StateEdit faults;
        int result;
        size_t infoReads, listSends;
        uint64_t seconds;   // the simulated clock after it
    };
    const std::string capable = "\"info\": {\"powerFeatures\": \"0x2\"}";
    const std::vector<Case> cases = {
        {"controller without the capability", "", "\"powerState\": 1", nullptr, 0, 1, 0, 0},
        {"drive already spun up", capable, "", nullptr, 0, 1, 0, 0},
        {"spun-down drive", capable, "\"powerState\": 1", nullptr, 0, 1, 1, 0},
        {"busy twice, then done", capable, "\"powerState\": 1",
         failing(PD_LIST_OPERATION, 0x55, sim::FaultMode::TIMES, 2), 0, 1, 3, 10},
        {"another update busy once", capable, "\"powerState\": 1",
         failing(PD_LIST_OPERATION, 0x56, sim::FaultMode::ONCE), 0, 1, 2, 5},
        {"busy for ever: gives up after five minutes", capable, "\"powerState\": 1",
         failing(PD_LIST_OPERATION, 0x55, sim::FaultMode::ALWAYS), 0x55, 1, 61, 300},
        {"controller information fails", capable, "\"powerState\": 1",
         failing(ADP_GET_INFO, 0x2d, sim::FaultMode::ALWAYS), 0x2d, 1, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        simhost::SimHostFixture host("one", described(description(c.controller, c.drive8)));
        ProgramRun run(host);
        if (c.faults)
            host.change(c.faults);
        const uint64_t before = host.clock();
        EXPECT_EQ(run.drive(8)->spinUp(), c.result);
        EXPECT_EQ(run.count(ADP_GET_INFO), c.infoReads);
        EXPECT_EQ(run.count(PD_LIST_OPERATION), c.listSends);
        EXPECT_EQ(host.clock() - before, c.seconds);
        for (const std::string& s : run.sent()) {
            if (s.rfind("0x020d0200", 0) == 0) {
                EXPECT_EQ(s, "0x020d0200 0x00000000,0x00000000,0x00000000 12");
            }
        }
    }
    // What the firmware did: the drive is spun up in the next run.
    simhost::SimHostFixture host("one", described(description(capable, "\"powerState\": 1")));
    {
        ProgramRun run(host);
        ASSERT_EQ(run.drive(8)->spinUp(), 0);
    }
    EXPECT_EQ(savedDrive(saved(host), 8)->powerState, 0);
}

TEST(DriveCommands, AllowedOperationsWithoutTheControllersReport)
{
    simhost::SimHostFixture host("one", described(description("", "\"allowedOperations\": \"0xffffffff\"")));
    ProgramRun run(host);
    PhysicalDevice* pd = run.drive(8);
    uint8_t v = 7;
    EXPECT_EQ(pd->isAllowedOperationBit0(&v), 0);
    EXPECT_EQ(v, 1);
    v = 7;
    EXPECT_EQ(pd->isAllowedOperationBit12(&v), 0);
    EXPECT_EQ(v, 1);
    v = 7;
    EXPECT_EQ(pd->isFirmwareDownloadBlocked(&v), 0);
    EXPECT_EQ(v, 0);
    EXPECT_EQ(pd->isAllowedOperationBit24(), 1);
    EXPECT_EQ(pd->canStopSecureErase(), 1);
    EXPECT_EQ(run.count(PD_ALLOWED_OPERATIONS), 0u);
}

TEST(DriveCommands, AllowedOperationsAreReadOnEveryQuery)
{
    // Bits 0, 13 (foreign import forbidden) and 16 (download blocked) set; 12, 24, 25 clear.
    simhost::SimHostFixture host("one", described(description("\"info\": {\"reportingFeatures\": \"0x40\"}",
                                                              "\"allowedOperations\": \"0x12001\", \"configFlags\": \"0x10\"")));
    ProgramRun run(host);
    PhysicalDevice* pd = run.drive(8);
    uint8_t bit0 = 0, bit12 = 9, blocked = 0;
    EXPECT_EQ(pd->isAllowedOperationBit0(&bit0), 0);
    EXPECT_EQ(pd->isAllowedOperationBit12(&bit12), 0);
    EXPECT_EQ(pd->isFirmwareDownloadBlocked(&blocked), 0);
    EXPECT_EQ(bit0, 1);
    EXPECT_EQ(bit12, 0);
    EXPECT_EQ(blocked, 1);
    EXPECT_EQ(pd->isAllowedOperationBit24(), 0);
    EXPECT_EQ(pd->canStopSecureErase(), 0);
    EXPECT_EQ(pd->isForeignImportable(), 0);
    EXPECT_EQ(run.count(PD_ALLOWED_OPERATIONS), 6u);
    for (const std::string& s : run.sent()) {
        if (s.rfind("0x020a0000", 0) == 0) {
            EXPECT_EQ(s, "0x020a0000 0x00000008,0x00000000,0x00000000 4");
        }
    }

    // A failed read leaves the out-parameter alone and answers the status.
    host.change(failing(PD_ALLOWED_OPERATIONS, 0x2d, sim::FaultMode::ONCE));
    uint8_t untouched = 5;
    EXPECT_EQ(pd->isAllowedOperationBit0(&untouched), 0x2d);
    EXPECT_EQ(untouched, 5);
}

TEST(DriveCommands, ForeignImportableWhenNotForbidden)
{
    simhost::SimHostFixture host("one", described(description("\"info\": {\"reportingFeatures\": \"0x40\"}",
                                                              "\"allowedOperations\": \"0x1\", \"configFlags\": \"0x10\"")));
    ProgramRun run(host);
    EXPECT_EQ(run.drive(8)->isForeignImportable(), 1);
    EXPECT_EQ(run.drive(9)->isForeignImportable(), 0);   // no foreign configuration
    EXPECT_EQ(run.drive(77)->isForeignImportable(), 0);  // no record
}

TEST(DriveCommands, RebuildProgressesWithTheClockToAnOnlineDrive)
{
    simhost::SimHostFixture host("one", described(description("\"operationSeconds\": 600", "\"state\": \"0x11\"")));
    {
        ProgramRun run(host);
        EXPECT_EQ(run.drive(8)->startRebuild(), 0);
    }
    EXPECT_EQ(saved(host).lds.at(0).state, 2);   // degraded while it rebuilds
    host.change([](sim::HostModel& m) { m.clock += 300; });
    {
        ProgramRun run(host);
        PhysicalDevice* pd = run.drive(8);
        uint8_t block[32];
        memset(block, 0xEE, sizeof block);
        ASSERT_EQ(pd->getProgress(block), 0);
        EXPECT_EQ(block[0], 0x01);                        // rebuild running
        EXPECT_EQ(block[4] | (block[5] << 8), 0x7FFF);    // half of 0xFFFF
        EXPECT_EQ(block[6] | (block[7] << 8), 300);       // seconds
        EXPECT_EQ(block[16], 0x00);
        ASSERT_EQ(pd->suspendRebuild(), 0);
    }
    host.change([](sim::HostModel& m) { m.clock += 1000; });
    {
        ProgramRun run(host);
        PhysicalDevice* pd = run.drive(8);
        uint8_t block[32] = {};
        ASSERT_EQ(pd->getProgress(block), 0);
        EXPECT_EQ(block[16], 0x01);                       // suspended, not advanced
        EXPECT_EQ(block[6] | (block[7] << 8), 300);
        ASSERT_EQ(pd->resumeRebuild(), 0);
    }
    host.change([](sim::HostModel& m) { m.clock += 300; });
    ProgramRun run(host);
    uint16_t state = 0;
    ASSERT_EQ(run.drive(8)->getFirmwareState(&state), 0);
    EXPECT_EQ(state, 0x18);
    uint8_t block[32];
    memset(block, 0xEE, sizeof block);
    ASSERT_EQ(run.drive(8)->getProgress(block), 0);
    EXPECT_EQ(block[0], 0x00);
    EXPECT_EQ(saved(host).lds.at(0).state, 3);
}

TEST(DriveCommands, MarkMissingLeavesAMissingEntryAndADegradedDrive)
{
    simhost::SimHostFixture host("one", described(description("", "\"state\": \"0x10\"")));
    {
        ProgramRun run(host);
        EXPECT_EQ(run.drive(9)->markMissing(), 0x32);   // an online member stays
        EXPECT_EQ(run.drive(8)->markMissing(), 0);
    }
    const sim::Controller after = saved(host);
    EXPECT_EQ(after.arrays.at(0).drives, std::vector<uint16_t>({0xFFFF, 9}));
    EXPECT_EQ(after.lds.at(0).state, 2);
    EXPECT_EQ(savedDrive(after, 8)->state, 0x00);
}

TEST(DriveCommands, ProgressKeyIdAndStatisticsReads)
{
    simhost::SimHostFixture host("one", described(description("", "\"keyId\": \"QUILL-KEY-0001\"")));
    ProgramRun run(host);
    PhysicalDevice* pd = run.drive(8);
    string keyId("old");
    ASSERT_EQ(pd->getSecurityKeyId(keyId), 0);
    EXPECT_STREQ(keyId.c_str(), "QUILL-KEY-0001");

    uint8_t stats[400];
    EXPECT_EQ(pd->getDpmStatistics(5, stats), 0);
    EXPECT_EQ(pd->getDpmStatisticsEx(2, stats), 0);
    EXPECT_EQ(pd->getDpmStatisticsEx(1, stats), 0);
    EXPECT_EQ(pd->getDpmCounters(stats), 0);
    EXPECT_EQ(stats[0], 3);   // the counters are of type 3
    std::vector<std::string> dpm;
    for (const std::string& s : run.sent())
        if (s.rfind("0x0a020000", 0) == 0)
            dpm.push_back(s);
    EXPECT_EQ(dpm, std::vector<std::string>({"0x0a020000 0x01020008,0x00000005,0x00000000 56",
                                             "0x0a020000 0x01020008,0x00000002,0x00000000 400",
                                             "0x0a020000 0x01020008,0x00000001,0x00000000 40",
                                             "0x0a020000 0x01020008,0x00000003,0x00000000 152"}));

    // Failed reads leave the caller's text and block alone.
    host.change(failing(0x01150301, 0x2d, sim::FaultMode::ONCE));
    EXPECT_EQ(pd->getSecurityKeyId(keyId), 0x2d);
    EXPECT_STREQ(keyId.c_str(), "QUILL-KEY-0001");
    host.change(failing(0x02060000, 0x2d, sim::FaultMode::ONCE));
    uint8_t block[32];
    memset(block, 0xEE, sizeof block);
    EXPECT_EQ(pd->getProgress(block), 0x2d);
    EXPECT_EQ(block[0], 0xEE);
    EXPECT_EQ(run.count(DPM_GET_STATISTICS), 4u);
}
