// Resolving "?" as enclosure against a simulated host: the controller is discovered and made as
// in a run, and the enclosure list comes from the simulated firmware through the real driver
// transport.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ControllerMgmt/Controller.h"
#include "CpMgmt/CommandProcessor.h"
#include "CpMgmt/CpController.h"
#include "DataProvider/ControllerId.h"
#include "DispatchFakes.h"
#include "RaidManager/EnclSlotId.h"
#include "RaidManager/RaidManager.h"
#include "SimHostFixture.h"

namespace {

// A simulated host of the "one" preset whose controller has the given enclosures, installed as
// the OS boundary while the object lives, with adapter 0 discovered and made.
struct OneControllerHost {
    explicit OneControllerHost(const std::vector<unsigned>& enclosures)
        : host("one", simhost::withEnclosures(0, enclosures))
    {
    }

    simhost::SimHostFixture host;
    simhost::SimControllers controllers;   // after the host: released while it is installed
    Controller* controller = controllers.controller(0);
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
    sim.host.change(simhost::withStatusFault(0x09010000, 2));

    CpController cpController(sim.controller, nullptr);
    unsigned short id = ENCLOSURE_ID_RESOLVE;
    OutputCapture capture;
    EXPECT_NE(CommandProcessor::resolveEnclosureId(&cpController, &id), 0);
    EXPECT_EQ(id, ENCLOSURE_ID_RESOLVE);
    EXPECT_EQ(capture.take(), "") << "the caller reports the failure";
}

}  // namespace
