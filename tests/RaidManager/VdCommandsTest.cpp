// The virtual-drive commands over simulated hosts: what each sends (read from the command log),
// the allowed-operations word and its three test forms, long operations whose progress is read
// after the simulated clock moved, reconstruction requests, mirror views, association lists
// and the one-block read.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "RaidManager/PhysicalDevice.h"
#include "RaidManager/RaidElementId.h"
#include "RaidManager/RaidManager.h"
#include "RaidManager/VirtualDisk.h"
#include "RaidManager/Zpr/PdDataZpr.h"
#include "RaidManager/Zpr/VdDataZpr.h"
#include "RaidManager/Zpr/Records/Config/ZprConfigBuffer.h"
#include "RaidManager/Zpr/Records/LogicalDrive/ZprLdIdList.h"
#include "RaidManager/Zpr/Records/LogicalDrive/ZprLdProgressBlock.h"
#include "SimHostFixture.h"
#include "Simulator/SimHost.h"
#include "Simulator/SimModel.h"
#include "Simulator/SimState.h"

namespace {

const uint32_t LD_GET_ALLOWED_OPS = 0x030b0000;
const uint32_t LD_RECONSTRUCT_START = 0x03070100;
const uint32_t LD_MIRROR_VIEW = 0x03110200;
const uint32_t REPORTING_FEATURES_ALLOWED_OPS = 0x40;

// Logical drive 5 (sequence 3): a RAID 1 of drives 8 and 9 on array 0; drive 10 unconfigured,
// drive 11 a global hot spare, drive 12 one dedicated to array 0.
simhost::StateEdit withMirror(bool allowedOpsReported = false)
{
    return [allowedOpsReported](sim::HostModel& model) {
        sim::Controller& c = model.controllers.at(0);
        c.info.reportingFeatures = allowedOpsReported ? REPORTING_FEATURES_ALLOWED_OPS : 0;
        c.drives.clear();
        for (uint16_t id : {8, 9, 10, 11, 12}) {
            sim::Drive d;
            d.deviceId = id;
            d.sequence = static_cast<uint16_t>(id + 100);
            d.slot = static_cast<uint8_t>(id - 8);
            d.state = id < 10 ? sim::PD_STATE_ONLINE : (id == 10 ? sim::PD_STATE_UNCONFIGURED_GOOD : 0x02);
            c.drives.push_back(d);
        }
        sim::Array a;
        a.ref = 0;
        a.drives = {8, 9};
        c.arrays = {a};
        sim::LogicalDrive ld;
        ld.targetId = 5;
        ld.sequence = 3;
        ld.raidLevel = 1;
        ld.drivesPerSpan = 2;
        ld.drives = {8, 9};
        ld.spans = {sim::Span()};
        c.lds = {ld};
        sim::Spare global;
        global.deviceId = 11;
        sim::Spare dedicated;
        dedicated.deviceId = 12;
        dedicated.dedicated = true;
        dedicated.arrays = {0};
        c.spares = {global, dedicated};
    };
}

simhost::StateEdit withAllowedWord(uint32_t word)
{
    return [word](sim::HostModel& model) { model.controllers.at(0).lds.at(0).allowedOperations = word; };
}

struct Ld {
    simhost::SimControllers controllers;
    VirtualDisk* vd = nullptr;

    explicit Ld(uint8_t targetId = 5, uint16_t sequence = 3)
    {
        Controller* controller = controllers.controller(0);
        EXPECT_NE(controller, nullptr);
        vd = new VirtualDisk(new VdDataZpr(controller, new VdIdZpr(targetId, sequence)), controller);
    }
    ~Ld() { delete vd; }
};

// "opcode=... mbox=...,...,..." of the last command received.
std::string lastCommand(const simhost::SimHostFixture& host)
{
    std::vector<std::string> lines = host.commands();
    if (lines.empty())
        return "<none>";
    const std::string& line = lines.back();
    size_t from = line.find("opcode=");
    size_t to = line.find(" len=");
    return line.substr(from, to - from);
}

std::vector<uint32_t> lengthsOf(const simhost::SimHostFixture& host, uint32_t opcode)
{
    char key[32];
    snprintf(key, sizeof key, "opcode=0x%08x", opcode);
    std::vector<uint32_t> out;
    for (const std::string& line : host.commands())
        if (line.find(key) != std::string::npos)
            out.push_back(static_cast<uint32_t>(std::stoul(line.substr(line.find(" len=") + 5))));
    return out;
}

sim::Controller& stateOf(simhost::SimHostFixture& host)
{
    return host.host().state().model().controllers.at(0);
}

}  // namespace

TEST(VdCommands, EachCommandSendsItsOpcodeAndMailbox)
{
    simhost::SimHostFixture host("one", withMirror());
    Ld ld;
    struct Case {
        const char* what;
        std::function<int(VirtualDisk*)> call;
        const char* sent;
    } cases[] = {
        {"cc start", [](VirtualDisk* v) { return v->startConsistencyCheck(); },
         "opcode=0x03050100 mbox=0x00030005,0x00000000,0x00000000"},
        {"cc abort", [](VirtualDisk* v) { return v->abortConsistencyCheck(); },
         "opcode=0x03050200 mbox=0x00030005,0x00000000,0x00000000"},
        {"full init", [](VirtualDisk* v) { return v->startFullInitialization(); },
         "opcode=0x03060100 mbox=0x00030005,0x00000001,0x00000000"},
        {"init abort", [](VirtualDisk* v) { return v->abortInitialization(); },
         "opcode=0x03060200 mbox=0x00030005,0x00000000,0x00000000"},
        {"fast init", [](VirtualDisk* v) { return v->startInitialization(); },
         "opcode=0x03060100 mbox=0x00030005,0x00000000,0x00000000"},
        {"bg suspend", [](VirtualDisk* v) { return v->suspendBgOperation(); },
         "opcode=0x03120200 mbox=0x00030005,0x00000000,0x00000000"},
        {"bg resume", [](VirtualDisk* v) { return v->resumeBgOperation(); },
         "opcode=0x03120200 mbox=0x00030005,0x00000001,0x00000000"},
        {"recon suspend", [](VirtualDisk* v) { return v->suspendReconstruction(); },
         "opcode=0x03120100 mbox=0x00030005,0x00000000,0x00000000"},
        {"recon resume", [](VirtualDisk* v) { return v->resumeReconstruction(); },
         "opcode=0x03120100 mbox=0x00030005,0x00000001,0x00000000"},
        {"make secure", [](VirtualDisk* v) { return v->makeSecure(); },
         "opcode=0x030c0000 mbox=0x00030005,0x00000000,0x00000000"},
        {"bad blocks", [](VirtualDisk* v) { return v->clearBadBlocks(); },
         "opcode=0x030e0000 mbox=0x00030005,0x00000000,0x00000000"},
        {"mirror break", [](VirtualDisk* v) { return v->breakMirror(); },
         "opcode=0x03110100 mbox=0x00030005,0x00000000,0x00000000"},
        {"mirror join mode 7", [](VirtualDisk* v) { return v->joinMirror(7); },
         "opcode=0x03110300 mbox=0x00030005,0x00000007,0x00000000"},
        {"secure erase thorough, patterns 0, delete",
         [](VirtualDisk* v) { return v->startSecureErase(2, 1, 0, 0); },
         "opcode=0x03130100 mbox=0x00030005,0x0155aa02,0x00000000"},
        {"secure erase stop", [](VirtualDisk* v) { return v->stopSecureErase(); },
         "opcode=0x03130200 mbox=0x00030005,0x00000000,0x00000000"},
        {"secure erase simple, own patterns", [](VirtualDisk* v) { return v->startSecureErase(0, 0, 0x12, 0x34); },
         "opcode=0x03130100 mbox=0x00030005,0x00341200,0x00000000"},
        {"secure erase stop again", [](VirtualDisk* v) { return v->stopSecureErase(); },
         "opcode=0x03130200 mbox=0x00030005,0x00000000,0x00000000"},
        {"PI disable", [](VirtualDisk* v) { return v->disablePi(); },
         "opcode=0x03140100 mbox=0x00030005,0x00000000,0x00000000"},
        {"unblock this", [](VirtualDisk* v) { return v->removeBlockedAccess(0); },
         "opcode=0x03040010 mbox=0x00030005,0x00000000,0x00000000"},
        {"unblock all", [](VirtualDisk* v) { return v->removeBlockedAccess(1); },
         "opcode=0x03040010 mbox=0x000300ff,0x00000000,0x00000000"},
        {"consistent", [](VirtualDisk* v) { return v->setConsistent(1); },
         "opcode=0x0305e100 mbox=0x00000005,0x00000001,0x00000000"},
        {"inconsistent", [](VirtualDisk* v) { return v->setConsistent(0); },
         "opcode=0x0305e100 mbox=0x00000005,0x00000000,0x00000000"},
    };
    // What the firmware answers is another test's matter (some find nothing to stop).
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        c.call(ld.vd);
        EXPECT_EQ(lastCommand(host), c.sent);
    }
}

TEST(VdCommands, FirmwareStatusIsPassedOn)
{
    simhost::SimHostFixture host("one", withMirror());
    Ld ld;
    // No consistency check runs: the abort is refused, and so is a drive that changed meanwhile.
    EXPECT_EQ(ld.vd->abortConsistencyCheck(), 0x05);
    Ld stale(5, 2);
    EXPECT_EQ(stale.vd->startConsistencyCheck(), 0x03);
    host.change(simhost::withStatusFault(0x03050100, 0x17));
    EXPECT_EQ(ld.vd->startConsistencyCheck(), 0x17);
}

TEST(VdCommands, AdapterWithoutAllowedOperationsWordSendsNoRead)
{
    simhost::SimHostFixture host("one", withMirror(false));
    Ld ld;
    uint8_t answer = 0xEE;
    EXPECT_EQ(ld.vd->isCcAllowed(&answer), 0);
    EXPECT_EQ(answer, 1);
    EXPECT_EQ(ld.vd->hasMirror(), 1);
    EXPECT_EQ(ld.vd->isSecureEraseAllowed(), 1);
    EXPECT_EQ(ld.vd->isLdAllowedOperationBit26(), 0);
    uint8_t word[4] = {9, 9, 9, 9};
    EXPECT_EQ(ld.vd->getAllowedOperations(word), 0);
    EXPECT_EQ(word[0], 9) << "the caller's bytes stay as they were";
    EXPECT_EQ(host.count(LD_GET_ALLOWED_OPS), 0u);
}

TEST(VdCommands, AllowedOperationsWordIsReadByEveryQuery)
{
    // Bits 2 (consistency check), 16 (mirror), 21 (secure erase) and 26.
    simhost::SimHostFixture host("one", simhost::both(withMirror(true), withAllowedWord(0x04210004)));
    Ld ld;
    struct Case {
        const char* what;
        int (VirtualDisk::*test)(uint8_t*);
        uint8_t expected;
    } statusForm[] = {
        {"cc", &VirtualDisk::isCcAllowed, 1},
        {"expansion", &VirtualDisk::isExpansionAllowed, 0},
        {"make secure", &VirtualDisk::isMakeSecureAllowed, 0},
        {"bit 0", &VirtualDisk::isLdAllowedOperationBit0, 0},
    };
    for (const Case& c : statusForm) {
        SCOPED_TRACE(c.what);
        uint8_t answer = 0xEE;
        EXPECT_EQ((ld.vd->*c.test)(&answer), 0);
        EXPECT_EQ(answer, c.expected);
    }
    EXPECT_EQ(ld.vd->hasMirror(), 1);
    EXPECT_EQ(ld.vd->isSecureEraseAllowed(), 1);
    EXPECT_EQ(ld.vd->isSecureEraseStopAllowed(), 0);
    EXPECT_EQ(ld.vd->isLdAllowedOperationBit26(), 1);
    uint8_t word[4] = {0, 0, 0, 0};
    EXPECT_EQ(ld.vd->getAllowedOperations(word), 0);
    EXPECT_EQ(word[0], 0x04);
    EXPECT_EQ(word[2], 0x21);
    EXPECT_EQ(word[3], 0x04);
    EXPECT_EQ(host.count(LD_GET_ALLOWED_OPS), 9u) << "nothing is kept between queries";
    EXPECT_EQ(lastCommand(host), "opcode=0x030b0000 mbox=0x00000005,0x00000000,0x00000000");
}

TEST(VdCommands, FailedAllowedOperationsRead)
{
    simhost::SimHostFixture host("one", simhost::both(withMirror(true), withAllowedWord(0xFFFFFFFF)));
    host.change(simhost::withStatusFault(LD_GET_ALLOWED_OPS, 0x0C));
    Ld ld;
    uint8_t answer = 0xEE;
    EXPECT_EQ(ld.vd->isCcAllowed(&answer), 0x0C);
    EXPECT_EQ(answer, 0xEE);
    EXPECT_EQ(ld.vd->hasMirror(), 0) << "a failed read leaves the word at 0";
    uint8_t word[4] = {9, 9, 9, 9};
    EXPECT_EQ(ld.vd->getAllowedOperations(word), 0x0C);
    EXPECT_EQ(word[0], 9);
}

// The secure-erase bits in the status form: the answer from a word that was read, the read's
// status (the answer untouched) from one that was not, never a refusal.
TEST(VdCommands, SecureEraseBitsInTheStatusForm)
{
    struct Case {
        const char* what;
        int fault;        // the status of the allowed-operations read; 0 none
        int status;
        uint8_t start;    // bit 21
        uint8_t stop;     // bit 22
    } cases[] = {
        {"read", 0, 0, 1, 0},
        {"not read", 0x0C, 0x0C, 0xEE, 0xEE},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        simhost::SimHostFixture host("one", simhost::both(withMirror(true), withAllowedWord(0x00200000)));
        if (c.fault != 0)
            host.change(simhost::withStatusFault(LD_GET_ALLOWED_OPS, c.fault));
        Ld ld;
        uint8_t start = 0xEE;
        uint8_t stop = 0xEE;
        EXPECT_EQ(ld.vd->canStartSecureErase(&start), c.status);
        EXPECT_EQ(ld.vd->canStopSecureErase(&stop), c.status);
        EXPECT_EQ(start, c.start);
        EXPECT_EQ(stop, c.stop);
        EXPECT_EQ(host.count(LD_GET_ALLOWED_OPS), 2u) << "one read per query";
    }
}

TEST(VdCommands, ConsistencyCheckProgressesOnTheClockUnlessSuspended)
{
    simhost::SimHostFixture host("one", simhost::both(withMirror(true), [](sim::HostModel& m) {
        sim::LdProgress bgi;
        bgi.operation = sim::LdOperation::BACKGROUND_INIT;
        m.controllers.at(0).lds.at(0).progress = {bgi};
    }));
    Ld ld;
    EXPECT_EQ(ld.vd->startConsistencyCheck(), 0);
    EXPECT_EQ(ld.vd->startConsistencyCheck(), 0x17) << "one check at a time";
    host.host().state().advanceClock(10);
    LdProgressBlock block;
    ASSERT_EQ(ld.vd->getProgress(&block), 0);
    EXPECT_EQ(lastCommand(host), "opcode=0x03080000 mbox=0x00000005,0x00000000,0x00000000");
    EXPECT_EQ(block.running(), LdProgressBlock::RUNNING_CONSISTENCY_CHECK) << "the check replaced the BGI";
    EXPECT_EQ(block.entry(LdProgressBlock::CONSISTENCY_CHECK).progress, 6560);
    EXPECT_EQ(block.entry(LdProgressBlock::CONSISTENCY_CHECK).elapsedSeconds, 10);
    uint8_t word[4];
    ASSERT_EQ(ld.vd->getAllowedOperations(word), 0);
    EXPECT_EQ(word[2] & 0x06, 0x02) << "suspendable, not resumable";

    EXPECT_EQ(ld.vd->suspendBgOperation(), 0);
    host.host().state().advanceClock(50);
    ASSERT_EQ(ld.vd->getProgress(&block), 0);
    EXPECT_EQ(block.suspended(), 1u);
    EXPECT_EQ(block.entry(LdProgressBlock::CONSISTENCY_CHECK).progress, 6560);
    ASSERT_EQ(ld.vd->getAllowedOperations(word), 0);
    EXPECT_EQ(word[2] & 0x06, 0x04) << "resumable, not suspendable";

    EXPECT_EQ(ld.vd->resumeBgOperation(), 0);
    EXPECT_EQ(ld.vd->resumeBgOperation(), 0x32) << "nothing is suspended any more";
    host.host().state().advanceClock(200);
    ASSERT_EQ(ld.vd->getProgress(&block), 0);
    EXPECT_EQ(block.running(), 0u) << "the check ended";
    EXPECT_TRUE(stateOf(host).lds.at(0).progress.empty());
}

TEST(VdCommands, FullInitializationEndsInitialized)
{
    simhost::SimHostFixture host("one", withMirror());
    Ld ld;
    EXPECT_EQ(ld.vd->startFullInitialization(), 0);
    EXPECT_EQ(stateOf(host).lds.at(0).initialized, 0);
    host.host().state().advanceClock(30);
    LdProgressBlock block;
    ASSERT_EQ(ld.vd->getProgress(&block), 0);
    EXPECT_EQ(block.running(), LdProgressBlock::RUNNING_INITIALIZATION);
    EXPECT_EQ(block.entry(LdProgressBlock::INITIALIZATION).progress, 19680);
    host.host().state().advanceClock(100);
    EXPECT_EQ(stateOf(host).lds.at(0).initialized, 1);
    EXPECT_TRUE(stateOf(host).lds.at(0).progress.empty());
}

TEST(VdCommands, SecureEraseWithDeleteRemovesTheDriveAndItsArray)
{
    simhost::SimHostFixture host("one", withMirror());
    Ld ld;
    EXPECT_EQ(ld.vd->startSecureErase(1, 1, 0, 0), 0);
    host.host().state().advanceClock(20);
    LdProgressBlock block;
    ASSERT_EQ(ld.vd->getProgress(&block), 0);
    EXPECT_EQ(block.running(), LdProgressBlock::RUNNING_SECURE_ERASE);
    EXPECT_EQ(block.entry(LdProgressBlock::CONSISTENCY_CHECK).progress, 13120) << "reported in the check's entry";
    host.host().state().advanceClock(100);
    EXPECT_TRUE(stateOf(host).lds.empty());
    EXPECT_TRUE(stateOf(host).arrays.empty());
    EXPECT_EQ(stateOf(host).drives.at(0).state, sim::PD_STATE_UNCONFIGURED_GOOD);
    EXPECT_EQ(ld.vd->getProgress(&block), 0x0C) << "the drive is gone";
}

// Drives of the host as model elements, for the reconstruction's drive list.
struct Drives {
    std::vector<PhysicalDevice*> made;
    ArrayList<PhysicalDevice*> list{4};

    Drives(Controller* controller, const std::vector<uint16_t>& ids)
    {
        for (uint16_t id : ids) {
            PhysicalDevice* pd = new PhysicalDevice(new PdDataZpr(controller, new PdIdZpr(0, 0, id, 0xFFFF)), controller);
            made.push_back(pd);
            list.add(pd);
        }
    }
    ~Drives()
    {
        for (PhysicalDevice* pd : made)
            delete pd;
    }
};

TEST(VdCommands, ReconstructionRequests)
{
    struct Case {
        const char* what;
        uint8_t level;
        uint8_t mode;
        uint8_t percent;
        sim::ReconstructKind kind;
        uint8_t sentPercent;
        std::vector<uint16_t> drives;
    } cases[] = {
        {"add", 5, 1, 40, sim::ReconstructKind::ADD, 0, {10}},
        {"remove keeps byte 7 at 0", 0, 2, 40, sim::ReconstructKind::REMOVE, 0, {9}},
        {"expansion", 1, 0, 40, sim::ReconstructKind::OTHER, 40, {}},
        {"any other mode is an expansion", 1, 9, 25, sim::ReconstructKind::OTHER, 25, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        simhost::SimHostFixture host("one", withMirror());
        Ld ld;
        Drives drives(ld.controllers.controller(0), c.drives);
        EXPECT_EQ(ld.vd->startReconstruction(c.level, c.mode, &drives.list, c.percent), 0);
        EXPECT_EQ(lastCommand(host), "opcode=0x03070100 mbox=0x00030005,0x00000000,0x00000000");
        const sim::LdProgress& p = stateOf(host).lds.at(0).progress.at(0);
        EXPECT_EQ(p.operation, sim::LdOperation::RECONSTRUCTION);
        EXPECT_EQ(p.reconstructKind, c.kind);
        EXPECT_EQ(p.newRaidLevel.value_or(0xEE), c.level);
        EXPECT_EQ(p.expansionPercent, c.sentPercent);
        EXPECT_EQ(p.reconstructDrives, c.drives) << "device ids with matching sequence numbers";
    }
}

TEST(VdCommands, ReconstructionAddsTheDriveAtItsEnd)
{
    simhost::SimHostFixture host("one", withMirror());
    Ld ld;
    Drives drives(ld.controllers.controller(0), {10});
    ASSERT_EQ(ld.vd->startReconstruction(5, 1, &drives.list, 0), 0);
    EXPECT_EQ(ld.vd->suspendReconstruction(), 0);
    host.host().state().advanceClock(500);
    EXPECT_EQ(stateOf(host).lds.at(0).raidLevel, 1) << "suspended";
    EXPECT_EQ(ld.vd->resumeReconstruction(), 0);
    host.host().state().advanceClock(100);
    const sim::LogicalDrive& after = stateOf(host).lds.at(0);
    EXPECT_EQ(after.raidLevel, 5);
    EXPECT_EQ(after.drives, (std::vector<uint16_t>{8, 9, 10}));
    EXPECT_EQ(stateOf(host).arrays.at(0).drives, (std::vector<uint16_t>{8, 9, 10}));
}

TEST(VdCommands, ReconstructionOfMoreThan32DrivesIsRefusedUnsent)
{
    simhost::SimHostFixture host("one", withMirror());
    Ld ld;
    ArrayList<PhysicalDevice*> list(4);
    for (int i = 0; i < 33; ++i)
        list.add(nullptr);
    host.clearCommands();
    EXPECT_EQ(ld.vd->startReconstruction(5, 1, &list, 0), -1);
    EXPECT_EQ(host.count(LD_RECONSTRUCT_START), 0u);
}

TEST(VdCommands, MirrorViewReadsWhatItsCountsCallFor)
{
    // One array, one LD and two spares: 32 + 288 + 256 + 80 bytes.
    simhost::SimHostFixture host("one", withMirror());
    Ld ld;
    uint8_t* info = nullptr;
    ASSERT_EQ(ld.vd->getMirrorInfo(&info), 0);
    EXPECT_EQ(lengthsOf(host, LD_MIRROR_VIEW), (std::vector<uint32_t>{616, 656}));
    ZprConfigBuffer view(info, 656);
    EXPECT_EQ(view.checkLayout(), ZprConfigBuffer::LAYOUT_OK);
    EXPECT_EQ(view.spareCount(), 2);
    delete[] info;

    // Without spares the first read holds it all.
    host.change([](sim::HostModel& m) { m.controllers.at(0).spares.clear(); });
    host.clearCommands();
    info = nullptr;
    ASSERT_EQ(ld.vd->getMirrorInfo(&info), 0);
    EXPECT_EQ(lengthsOf(host, LD_MIRROR_VIEW), (std::vector<uint32_t>{616}));
    delete[] info;
}

TEST(VdCommands, MirrorViewWithLyingCountsIsRefused)
{
    simhost::SimHostFixture host("one", withMirror());
    sim::Fault f;
    f.type = sim::FaultType::CORRUPT;
    f.opcode = LD_MIRROR_VIEW;
    f.offset = 12;
    f.data = {0x09, 0x00};   // nine spares that are not there
    host.change([f](sim::HostModel& m) { m.faults.push_back(f); });
    Ld ld;
    uint8_t* info = nullptr;
    EXPECT_EQ(ld.vd->getMirrorInfo(&info), -1);
    EXPECT_EQ(info, nullptr);
}

TEST(VdCommands, AssociationList)
{
    simhost::SimHostFixture host("one", withMirror());
    Ld ld;
    uint8_t* list = nullptr;
    ASSERT_EQ(ld.vd->getTidewellAssociations(&list), 0);
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(ZprLdIdList(list, ZprLdIdList::UNIT).count(), 0u) << "an empty list is a 12-byte copy";
    EXPECT_EQ(lengthsOf(host, 0x03100200), (std::vector<uint32_t>{12}));
    delete[] list;

    host.change([](sim::HostModel& m) {
        sim::Controller& c = m.controllers.at(0);
        for (uint8_t id : {1, 2, 3}) {
            sim::LogicalDrive ld;
            ld.targetId = id;
            ld.cacheAssociation = id < 3 ? 1 : 0;
            c.lds.push_back(ld);
        }
    });
    host.clearCommands();
    ASSERT_EQ(ld.vd->getTidewellAssociations(&list), 0);
    ZprLdIdList ids(list, 2 * ZprLdIdList::UNIT);
    ASSERT_EQ(ids.entryCount(), 2u);
    EXPECT_EQ(ids.targetId(0), 1);
    EXPECT_EQ(ids.targetId(1), 2);
    EXPECT_EQ(lengthsOf(host, 0x03100200), (std::vector<uint32_t>{12, 24}));
    delete[] list;
}

TEST(VdCommands, OneBlockReadThroughTheDrive)
{
    simhost::SimHostFixture host("one", withMirror());
    Ld ld;
    host.clearCommands();
    EXPECT_EQ(ld.vd->sendScsiPassThrough(), 0);
    std::vector<std::string> lines = host.commands();
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_NE(lines[0].find("frame=3 "), std::string::npos) << lines[0];
    EXPECT_NE(lines[0].find("len=512"), std::string::npos) << lines[0];
    // Whatever the read answers.
    sim::Fault f;
    f.type = sim::FaultType::STATUS;
    f.status = 0x2E;
    host.change([f](sim::HostModel& m) { m.faults.push_back(f); });
    EXPECT_EQ(ld.vd->sendScsiPassThrough(), 0);
}

TEST(VdCommands, SnapshotCommandsWithoutSnapshotsSendNothing)
{
    simhost::SimHostFixture host("one", withMirror());
    Ld ld;
    host.clearCommands();
    EXPECT_EQ(ld.vd->snapshotOperation56(), 0);
    EXPECT_EQ(ld.vd->snapshotOperation59("name"), -1);
    uint32_t ids[256];
    uint32_t count = 7;
    EXPECT_EQ(ld.vd->snapshotOperation57(ids, &count), 0);
    EXPECT_EQ(count, 7u);
    // Only the information read that tells the flags reaches the firmware.
    for (uint32_t op : host.opcodes())
        EXPECT_EQ(op, 0x03020000u);
    // The firmware does not support the family.
    EXPECT_EQ(ld.vd->snapshotOperation75(), 0x01);
    EXPECT_EQ(lastCommand(host), "opcode=0x030f0d00 mbox=0x00030005,0x000000ff,0x00000000");
}
