// The controller-wide logical-drive list commands over simulated hosts: the SSD-cache
// association list read, added to and removed from (the written blocks read from the command
// log and the host's state), the SSD-cache counts and write policy, the reserved target ids,
// the one-block read of every virtual drive; and the member-drive queries of a virtual drive.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "RaidManager/RaidElementId.h"
#include "RaidManager/RaidManager.h"
#include "RaidManager/RmData.h"
#include "RaidManager/VirtualDisk.h"
#include "RaidManager/Zpr/VdDataZpr.h"
#include "RaidManager/Zpr/Records/LogicalDrive/ZprLdIdList.h"
#include "SimHostFixture.h"
#include "Simulator/SimHost.h"
#include "Simulator/SimModel.h"
#include "Simulator/SimState.h"

namespace {

const uint32_t GET_ASSOCIATIONS = 0x03100200;
const uint32_t SET_ASSOCIATIONS = 0x03100100;

sim::LogicalDrive ld(uint8_t targetId, uint8_t cached, uint8_t sscCache = 0, uint8_t cachePolicy = 0x05)
{
    sim::LogicalDrive l;
    l.targetId = targetId;
    l.cacheAssociation = cached;
    l.sscCache = sscCache;
    l.defaultCachePolicy = cachePolicy;
    return l;
}

simhost::StateEdit withLds(const std::vector<sim::LogicalDrive>& lds)
{
    return [lds](sim::HostModel& model) {
        sim::Controller& c = model.controllers.at(0);
        c.arrays.clear();
        c.spares.clear();
        c.lds = lds;
    };
}

// The lines of the command log with `opcode`.
uint8_t cachedFlag(simhost::SimHostFixture& host, uint8_t targetId)
{
    for (const sim::LogicalDrive& l : host.host().state().model().controllers.at(0).lds)
        if (l.targetId == targetId)
            return l.cacheAssociation;
    return 0xEE;
}

struct Manager {
    simhost::SimControllers controllers;
    RmData* rmData = nullptr;
    Manager()
    {
        RaidManager* manager = getRaidManager(controllers.controller(0));
        EXPECT_NE(manager, nullptr);
        rmData = manager != nullptr ? manager->getRmData() : nullptr;
    }
};

}  // namespace

TEST(LdListCommands, AddingAnIdSendsTheListWithItAtTheEnd)
{
    simhost::SimHostFixture host("one", withLds({ld(1, 1), ld(2, 1), ld(4, 0), ld(3, 0, 1)}));
    Manager m;
    host.clearCommands();
    ASSERT_EQ(m.rmData->setTidewellAssociations(4, 1), 0);
    std::vector<std::string> sent = host.commandsWith(SET_ASSOCIATIONS);
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(sent[0], "opcode=0x03100100 mbox=0x000000ff,0x00000000,0x00000000 len=14 status=0x00");
    EXPECT_EQ(cachedFlag(host, 4), 1) << "the firmware took ids 1, 2, 4";
    EXPECT_EQ(cachedFlag(host, 1), 1);
    EXPECT_EQ(cachedFlag(host, 2), 1);
    uint8_t* block = nullptr;
    ASSERT_EQ(m.rmData->getTidewellAssociations(&block, 0), 0);
    ZprLdIdList list(block, 3 * ZprLdIdList::UNIT);
    ASSERT_EQ(list.count(), 3u);
    EXPECT_EQ(list.targetId(2), 4);
    delete[] block;
}

TEST(LdListCommands, RemovingAnIdSendsTheRestAndAZeroByte)
{
    simhost::SimHostFixture host("one", withLds({ld(1, 1), ld(2, 1), ld(3, 0, 1)}));
    Manager m;
    host.clearCommands();
    ASSERT_EQ(m.rmData->setTidewellAssociations(1, 0), 0);
    std::vector<std::string> sent = host.commandsWith(SET_ASSOCIATIONS);
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(sent[0], "opcode=0x03100100 mbox=0x000000ff,0x00000000,0x00000000 len=13 status=0x00");
    EXPECT_EQ(cachedFlag(host, 1), 0);
    EXPECT_EQ(cachedFlag(host, 2), 1);
}

TEST(LdListCommands, NoChangeSendsNothing)
{
    simhost::SimHostFixture host("one", withLds({ld(1, 1), ld(2, 0)}));
    Manager m;
    host.clearCommands();
    EXPECT_EQ(m.rmData->setTidewellAssociations(1, 1), 0) << "already associated";
    EXPECT_EQ(m.rmData->setTidewellAssociations(2, 0), 0) << "not associated";
    EXPECT_TRUE(host.commandsWith(SET_ASSOCIATIONS).empty());
}

TEST(LdListCommands, EmptyListIsReadOnce)
{
    simhost::SimHostFixture host("one", withLds({ld(0, 0), ld(2, 0)}));
    Manager m;
    host.clearCommands();
    uint8_t answer = 0xEE;
    EXPECT_EQ(m.rmData->isTidewellAssociated(2, &answer), 0);
    EXPECT_EQ(answer, 0);
    EXPECT_EQ(host.commandsWith(GET_ASSOCIATIONS),
              (std::vector<std::string>{"opcode=0x03100200 mbox=0x00000000,0x00000000,0x00000000 len=12 status=0x00"}));

    host.change([](sim::HostModel& model) { model.controllers.at(0).lds.at(1).cacheAssociation = 1; });
    EXPECT_EQ(m.rmData->isTidewellAssociated(2, &answer), 0);
    EXPECT_EQ(answer, 1);
    host.change(simhost::withStatusFault(GET_ASSOCIATIONS, 0x0C));
    answer = 0xEE;
    EXPECT_EQ(m.rmData->isTidewellAssociated(2, &answer), 0x0C);
    EXPECT_EQ(answer, 0);
}

TEST(LdListCommands, SsdCacheCountAndWritePolicy)
{
    struct Case {
        const char* what;
        std::vector<sim::LogicalDrive> lds;
        uint8_t count;
        uint8_t policy;
    } cases[] = {
        {"no SSD cache", {ld(0, 0), ld(1, 1)}, 0, 0},
        {"one write-through SSD cache", {ld(0, 0), ld(1, 0, 1, 0x04)}, 1, 1},
        {"a write-back one anywhere", {ld(0, 0, 1, 0x04), ld(1, 0, 1, 0x05), ld(2, 0, 1, 0x04)}, 3, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        simhost::SimHostFixture host("one", withLds(c.lds));
        Manager m;
        uint8_t count = 0xEE;
        uint8_t policy = 0xEE;
        EXPECT_EQ(m.rmData->countTidewellVds(&count), 0);
        EXPECT_EQ(count, c.count);
        EXPECT_EQ(m.rmData->getTidewellWritePolicy(&policy), 0);
        EXPECT_EQ(policy, c.policy);
    }
    simhost::SimHostFixture host("one", withLds({ld(0, 0, 1)}));
    host.change(simhost::withStatusFault(0x03020000, 0x0C));
    Manager m;
    uint8_t count = 0xEE;
    EXPECT_EQ(m.rmData->countTidewellVds(&count), 0x0C);
}

TEST(LdListCommands, ReservedTargetIds)
{
    simhost::SimHostFixture host("one", [](sim::HostModel& model) { model.controllers.at(0).reservedTargetIds = {3, 9}; });
    Manager m;
    host.clearCommands();
    uint8_t* block = nullptr;
    ASSERT_EQ(m.rmData->queryReservedLdIds(&block), 0);
    ZprLdIdList list(block, 2 * ZprLdIdList::UNIT);
    ASSERT_EQ(list.entryCount(), 2u);
    EXPECT_EQ(list.targetId(0), 3);
    EXPECT_EQ(list.targetId(1), 9);
    delete[] block;
    std::vector<std::string> sent = host.commandsWith(0x03010100);
    ASSERT_EQ(sent.size(), 2u);
    EXPECT_EQ(sent[1], "opcode=0x03010100 mbox=0x00000002,0x00000000,0x00000000 len=24 status=0x00");
}

TEST(LdListCommands, FirstBlockOfEveryVirtualDrive)
{
    simhost::SimHostFixture host("one", withLds({ld(5, 0), ld(2, 0)}));
    Manager m;
    host.clearCommands();
    EXPECT_EQ(m.rmData->readFirstBlockOfVds(), 0);
    size_t reads = 0;
    for (const std::string& line : host.commands())
        reads += line.find("frame=3 ") != std::string::npos && line.find("len=512") != std::string::npos;
    EXPECT_EQ(reads, 2u);
}

namespace {

// A RAID 1 of drives 8 and 9 (logical sector size 4096, physical exponent 3 on drive 9).
simhost::StateEdit withMembers()
{
    return [](sim::HostModel& model) {
        sim::Controller& c = model.controllers.at(0);
        c.drives.clear();
        for (uint16_t id : {8, 9}) {
            sim::Drive d;
            d.deviceId = id;
            d.slot = static_cast<uint8_t>(id);
            d.state = sim::PD_STATE_ONLINE;
            d.sectorSize = id == 8 ? 512 : 4096;
            d.physicalSectorExponent = id == 8 ? 0 : 3;
            c.drives.push_back(d);
        }
        sim::Array a;
        a.drives = {8, 9};
        c.arrays = {a};
        c.spares.clear();
        sim::LogicalDrive l;
        l.targetId = 0;
        l.raidLevel = 1;
        l.drivesPerSpan = 2;
        l.spans = {sim::Span()};
        c.lds = {l};
    };
}

}  // namespace

TEST(LdListCommands, MemberSectorLayoutSkipsDrivesWithoutInformation)
{
    struct Case {
        const char* what;
        std::optional<sim::FaultMode> infoFault;
        uint16_t sectorSize;
    } cases[] = {
        {"first member answers", std::nullopt, 512},
        {"first member's information unavailable", sim::FaultMode::ONCE, 4096},
        {"no member answers", sim::FaultMode::ALWAYS, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        simhost::SimHostFixture host("one", withMembers());
        Manager m;
        Controller* controller = m.controllers.controller(0);
        VdDataZpr data(controller, new VdIdZpr(0, 1));
        if (c.infoFault) {
            sim::Fault f;
            f.type = sim::FaultType::STATUS;
            f.opcode = 0x02020000;
            f.status = 0x0C;
            f.mode = *c.infoFault;
            host.change([f](sim::HostModel& model) { model.faults.push_back(f); });
        }
        uint16_t size = 0xEEEE;
        EXPECT_EQ(data.getMemberSectorSize(&size), 0);
        EXPECT_EQ(size, c.sectorSize);
    }
    simhost::SimHostFixture host("one", withMembers());
    Manager m;
    Controller* controller = m.controllers.controller(0);
    VdDataZpr data(controller, new VdIdZpr(0, 1));
    uint16_t exponent = 0xEEEE;
    EXPECT_EQ(data.getMemberPhysicalSectorExponent(&exponent), 0);
    EXPECT_EQ(exponent, 3) << "the first nonzero exponent";
}

TEST(LdListCommands, SnapshotReadsPassTheFirmwaresRefusalOn)
{
    // The simulated firmware has no snapshots: every one of the family answers 0x01.
    simhost::SimHostFixture host("one", withLds({ld(0, 0)}));
    Manager m;
    uint8_t* block = nullptr;
    EXPECT_EQ(m.rmData->readSnapshotSubcmd08(3, &block), 0x01);
    EXPECT_EQ(m.rmData->readSnapshotSubcmd0A(&block), 0x01);
    EXPECT_EQ(block, nullptr);
    uint8_t entry[144];
    EXPECT_EQ(m.rmData->readSnapshotSubcmd09(3, entry), 0x01);
    EXPECT_EQ(m.rmData->sendSnapshotSubcmd03(7, entry, 72), 0x01);
    EXPECT_EQ(host.commandsWith(0x030f0800).at(0), "opcode=0x030f0800 mbox=0x00000003,0x00000000,0x00000000 len=288 status=0x01");
    EXPECT_EQ(host.commandsWith(0x030f0a00).at(0), "opcode=0x030f0a00 mbox=0x00000000,0x00000000,0x00000000 len=152 status=0x01");
    EXPECT_EQ(host.commandsWith(0x030f0900).at(0), "opcode=0x030f0900 mbox=0x00000003,0x00000000,0x00000000 len=144 status=0x01");
    Controller* controller = m.controllers.controller(0);
    VdDataZpr vd(controller, new VdIdZpr(0, 1));
    EXPECT_EQ(vd.snapshotOperation74(&block), 0x01);
    EXPECT_EQ(block, nullptr);
}
