// Resolving "?" as enclosure against a simulated host: the controller is discovered and made as
// in a run, and the enclosure list comes from the simulated firmware through the real driver
// transport.
#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "ControllerMgmt/Controller.h"
#include "ControllerMgmt/ControllerClasses.h"
#include "ControllerMgmt/LinuxControllerExplorer.h"
#include "ControllerMgmt/LinuxControllerMgmt.h"
#include "CpMgmt/CommandProcessor.h"
#include "CpMgmt/CpController.h"
#include "DataProvider/ControllerId.h"
#include "DispatchFakes.h"
#include "Parser/EnclSlotId.h"
#include "RaidManager/RaidManager.h"
#include "Simulator/SimHost.h"
#include "Simulator/SimPresets.h"
#include "System/OsBoundary.h"

namespace {

// A simulated host of the "one" preset whose controller has the given enclosures, installed as
// the OS boundary while the object lives, with adapter 0 discovered and made.
class OneControllerHost {
public:
    explicit OneControllerHost(const std::vector<unsigned>& enclosures)
    {
        char pattern[] = "/tmp/quill-dispatch-sim-XXXXXX";
        const char* made = mkdtemp(pattern);
        tmp = made != nullptr ? made : "";
        sim::HostModel state;
        EXPECT_TRUE(sim::SimPresets::state("one", state));
        std::vector<sim::Enclosure>& list = state.controllers.at(0).enclosures;
        list.clear();
        for (unsigned id : enclosures) {
            sim::Enclosure e;
            e.deviceId = static_cast<uint16_t>(id);
            e.slots = 8;
            list.push_back(e);
        }
        std::string dir = tmp + "/host";
        EXPECT_EQ(sim::createHost(dir, state), 0);
        host.reset(new sim::SimHost(dir, false));

        const char* sysfs = getenv("SYSFS_PATH");
        if (sysfs != nullptr)
            savedSysfs.reset(new std::string(sysfs));
        unsetenv("SYSFS_PATH");
        setOsBoundary(&host->boundary());

        // Other tests of this program destroy management objects, which releases the
        // supported-device list that discovery matches against.
        if (ControllerMgmt::vendorDeviceIds() == nullptr) {
            ArrayList<VoVendorDeviceId*>* supported = OrvaneSasHwrController::supportedIds();
            ControllerMgmt::addVendorDeviceIds(supported);
            delete supported;
        }
        // A discovery of its own: the process-wide one keeps the driver node of the host it
        // saw first open.
        explorer.reset(new LinuxControllerExplorer());
        ids = explorer->explore(ControllerMgmt::vendorDeviceIds());
        if (ids != nullptr && ids->count() > 0) {
            controller = LinuxControllerMgmt::instance()->createController(ids->get(0));
            if (controller != nullptr)
                ids->get(0)->setNumber(0);
        }
    }

    ~OneControllerHost()
    {
        releaseRaidManagers();
        if (controller != nullptr)
            controller->release();
        if (ids != nullptr) {
            for (unsigned char i = 0; i < ids->count(); ++i)
                delete ids->get(i);
            delete ids;
        }
        explorer.reset();
        setOsBoundary(nullptr);
        if (savedSysfs)
            setenv("SYSFS_PATH", savedSysfs->c_str(), 1);
        if (tmp.rfind("/tmp/quill-dispatch-sim-", 0) == 0) {
            std::string cmd = "rm -rf '" + tmp + "'";
            (void)!::system(cmd.c_str());
        }
    }

    std::string tmp;
    std::unique_ptr<sim::SimHost> host;
    std::unique_ptr<std::string> savedSysfs;
    std::unique_ptr<LinuxControllerExplorer> explorer;
    ArrayList<ControllerId*>* ids = nullptr;
    Controller* controller = nullptr;
};

struct Case {
    const char* what;
    std::vector<unsigned> enclosures;
    int status;
    unsigned short resolved;   // the id after resolving ENCLOSURE_ID_RESOLVE
    std::string printed;
};

const Case CASES[] = {
    {"one enclosure", {252}, 0, 252, ""},
    {"no enclosure", {}, 0, ENCLOSURE_ID_NONE, ""},
    {"two enclosures", {252, 253}, 1, ENCLOSURE_ID_RESOLVE,
     "Enclosure ID could not be resolved. \nMultiple enclosures detected.\n"},
};

TEST(EnclosureOnSimulatedHost, OnlyEnclosureOfTheRaidManager)
{
    for (const Case& c : CASES) {
        SCOPED_TRACE(c.what);
        OneControllerHost sim(c.enclosures);
        ASSERT_NE(sim.controller, nullptr);
        RaidManager* manager = getRaidManager(sim.controller);
        ASSERT_NE(manager, nullptr);
        uint16_t id = 0x1234;
        EXPECT_EQ(manager->getOnlyEnclosureId(&id), c.status);
        EXPECT_EQ(id, c.status == 0 ? c.resolved : 0x1234) << "left alone unless resolved";
    }
}

TEST(EnclosureOnSimulatedHost, ResolveEnclosureIdOfACommand)
{
    for (const Case& c : CASES) {
        SCOPED_TRACE(c.what);
        OneControllerHost sim(c.enclosures);
        ASSERT_NE(sim.controller, nullptr);
        CpController cpController(sim.controller, nullptr);

        unsigned short id = ENCLOSURE_ID_RESOLVE;
        OutputCapture capture;
        EXPECT_EQ(CommandProcessor::resolveEnclosureId(&cpController, &id), c.status);
        EXPECT_EQ(id, c.resolved);
        EXPECT_EQ(capture.take(), c.printed);

        // A typed enclosure is never looked up.
        unsigned short typed = 31;
        EXPECT_EQ(CommandProcessor::resolveEnclosureId(&cpController, &typed), 0);
        EXPECT_EQ(typed, 31);
    }
}

TEST(EnclosureOnSimulatedHost, FailedListReadIsNotAnEnclosure)
{
    OneControllerHost sim({252});
    ASSERT_NE(sim.controller, nullptr);
    // The firmware refuses the enclosure-list command (an opcode it does not know).
    sim::Fault refused;
    refused.type = sim::FaultType::STATUS;
    refused.opcode = 0x09010000;
    refused.status = 2;
    sim.host->state().model().faults = {refused};
    sim.host->state().markChanged();
    ASSERT_EQ(sim.host->state().save(), 0);

    CpController cpController(sim.controller, nullptr);
    unsigned short id = ENCLOSURE_ID_RESOLVE;
    OutputCapture capture;
    EXPECT_NE(CommandProcessor::resolveEnclosureId(&cpController, &id), 0);
    EXPECT_EQ(id, ENCLOSURE_ID_RESOLVE);
    EXPECT_EQ(capture.take(), "") << "the caller reports the failure";
}

}  // namespace
