// The processor frame as the drive and virtual-drive displays follow it: creation by kind, the
// command ids, the refusal of a request of another class before anything is sent, and the
// order of the drive list.
#include "Output/ConsoleFixture.h"

#include <functional>
#include <string>
#include <vector>

#include "CpMgmt/CmdPro/VirtualDrive/LdInfoCp.h"
#include "CpMgmt/CmdPro/Drive/PdInfoCp.h"
#include "CpMgmt/CmdPro/Drive/PdListCp.h"
#include "CpMgmt/CpController.h"
#include "CpMgmt/CpFactoryRegistry.h"
#include "Parser/CfgParsedObjects.h"
#include "Parser/PdParsedObjects.h"
#include "Parser/TokenIds.h"
#include "PavUtil/IgnoreStatus.h"
#include "RaidManager/PhysicalDevice.h"
#include "RaidManager/RaidElementId.h"
#include "RaidManager/RaidManager.h"
#include "RaidManager/Zpr/PdDataZpr.h"
#include "SimHostFixture.h"

namespace {

class DriveDisplayProcessors : public ConsoleFixture {};

struct ProcessorClass {
    const char* name;
    std::function<CommandProcessor*(unsigned short)> create;
    std::function<ArrayList<unsigned short>*()> commandIds;
    std::vector<unsigned short> ids;
};

const ProcessorClass classes[] = {
    {"PdListCp", PdListCp::create, PdListCp::commandIds, {TOKEN_PDLIST}},
    {"PdInfoCp", PdInfoCp::create, PdInfoCp::commandIds, {TOKEN_PDINFO}},
    {"LdInfoCp", LdInfoCp::create, LdInfoCp::commandIds, {TOKEN_LDINFO}},
};

} // namespace

TEST_F(DriveDisplayProcessors, CreatedForKindZeroOnlyUnderTheirCommandIds)
{
    for (const ProcessorClass& c : classes) {
        SCOPED_TRACE(c.name);
        CommandProcessor* first = c.create(0);
        CommandProcessor* second = c.create(0);
        ASSERT_NE(first, nullptr);
        EXPECT_NE(first, second) << "a new object on every call";
        EXPECT_TRUE(first->isDone());
        EXPECT_EQ(c.create(1), nullptr);
        EXPECT_EQ(c.create(0xFFFF), nullptr);
        delete first;
        delete second;
        for (int call = 0; call < 2; ++call) {
            ArrayList<unsigned short>* ids = c.commandIds();
            ASSERT_NE(ids, nullptr);
            ASSERT_EQ(ids->count(), c.ids.size());
            for (unsigned char i = 0; i < ids->count(); ++i) {
                EXPECT_EQ(ids->get(i), c.ids[i]);
                EXPECT_EQ(CpFactoryRegistry::instance()->creatorCount(c.ids[i]), 1u);
            }
            delete ids;
        }
    }
}

TEST_F(DriveDisplayProcessors, RequestOfAnotherClassIsRefusedBeforeAnythingIsSent)
{
    CpController executor(nullptr, nullptr);   // no controller: nothing can be sent
    PdListParsedObject other(TOKEN_PDLIST, 3);
    PdInfoCp pdInfo;
    LdInfoCp ldInfo;
    EXPECT_EQ(pdInfo.process(&executor, &other), -1);
    EXPECT_EQ(ldInfo.process(&executor, &other), -1);
    EXPECT_EQ(ldInfo.process(&executor, nullptr), -1);
    EXPECT_EQ(screen(), "Adapter #3: Dynamic cast failed on PdInfoParsedObject *.\n"
                        "Adapter #3: Dynamic cast failed on LdInfoParsedObject *....\n"
                        "Adapter #255: Dynamic cast failed on LdInfoParsedObject *....\n");
}

TEST_F(DriveDisplayProcessors, WithoutModelEachStopsWithItsMessage)
{
    CpController executor(nullptr, nullptr);
    PdListParsedObject list(TOKEN_PDLIST, 2);
    ArrayList<unsigned char> lds(1);
    lds.add(0);
    LdInfoParsedObject ldInfoRequest(TOKEN_LDINFO, &lds, 0, 2);
    PdListCp pdList;
    LdInfoCp ldInfo;
    EXPECT_EQ(pdList.process(&executor, &list), -1);
    EXPECT_EQ(ldInfo.process(&executor, &ldInfoRequest), -1);
    EXPECT_EQ(screen(), "\nAdapter #2: Failed to get RM instance\n"
                        "\nAdapter #2: Failed to get RM instance\n");
}

TEST_F(DriveDisplayProcessors, DriveListOrderIsByEnclosureThenSlotUnreadableLast)
{
    simhost::SimHostFixture host("one", [](sim::HostModel& model) {
        sim::Controller& c = model.controllers.at(0);
        c.drives.clear();
        const struct {
            uint16_t id, enclosure;
            uint8_t slot;
        } drives[] = {{8, 252, 3}, {9, 0xFFFF, 0}, {10, 252, 1}, {11, 17, 5}};
        for (const auto& d : drives) {
            sim::Drive drive;
            drive.deviceId = d.id;
            drive.enclosureId = d.enclosure;
            drive.slot = d.slot;
            c.drives.push_back(drive);
        }
    });
    simhost::SimControllers controllers;
    Controller* controller = controllers.controller(0);
    ASSERT_NE(controller, nullptr);
    std::vector<PhysicalDevice*> owned;
    ArrayList<PhysicalDevice*> list(8);
    // Device 40 does not exist: its enclosure and slot cannot be read.
    for (uint16_t id : {40, 8, 9, 10, 11}) {
        owned.push_back(new PhysicalDevice(new PdDataZpr(controller, new PdIdZpr(0, 0, id, 0)), controller));
        list.add(owned.back());
    }
    list.sort(&PdListCp::compareByEnclosureAndSlot);
    std::vector<uint16_t> order;
    for (unsigned char i = 0; i < list.count(); ++i) {
        uint16_t id = 0;
        ignoreStatus(list.get(i)->getDeviceId(&id),
                     "the drive that cannot be read is told apart by its pointer");
        order.push_back(list.get(i) == owned[0] ? 40 : id);
    }
    EXPECT_EQ(order, (std::vector<uint16_t>{11, 10, 8, 9, 40}));
    for (PhysicalDevice* drive : owned)
        delete drive;
    releaseRaidManagers();
}
