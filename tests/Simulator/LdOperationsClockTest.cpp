// Logical-drive operations on the simulated clock across runs: `quillsim advance` moves a
// running operation on, a suspended one stays, and one that reaches its end takes its effect in
// the host's saved state.
#include <gtest/gtest.h>

#include "SimTestUtil.h"
#include "Simulator/Description/SimDescription.h"
#include "Simulator/QuillSim.h"
#include "Simulator/SimHost.h"
#include "Simulator/SimState.h"

using namespace simtest;

namespace {

sim::HostModel loaded(const std::string& dir)
{
    sim::SimState state(dir);
    EXPECT_EQ(state.load(true), 0);
    return state.model();
}

}  // namespace

TEST(LdOperationsClock, AdvanceMovesOperationsOnUntilTheyEnd)
{
    const char* description = R"({"controllers": [{"host": 2,
      "drives": [{"deviceId": 8, "state": "0x18"}, {"deviceId": 9, "state": "0x18"}],
      "arrays": [{"ref": 0, "drives": [8, 9]}],
      "lds": [{"targetId": 0, "raidLevel": 1, "drivesPerSpan": 2, "drives": [8, 9], "spans": [{"array": 0}],
               "progress": [{"operation": "consistencyCheck", "rate": 1000},
                            {"operation": "backgroundInit", "progress": 500, "suspended": true}]},
              {"targetId": 1, "initialized": 0,
               "progress": [{"operation": "secureErase", "rate": 3000, "deleteAfter": true}]}]}]})";
    TempDir tmp;
    const std::string dir = tmp.path() + "/host";
    ASSERT_EQ(sim::createHostFromDescription(dir, description), 0);

    ASSERT_EQ(runQuillSim({"advance", dir, "10"}), 0);
    sim::HostModel after10 = loaded(dir);
    const sim::LogicalDrive& ld0 = after10.controllers.at(0).lds.at(0);
    ASSERT_EQ(ld0.progress.size(), 2u);
    EXPECT_EQ(ld0.progress[0].progress, 10000);
    EXPECT_EQ(ld0.progress[0].elapsed, 10);
    EXPECT_EQ(ld0.progress[1].progress, 500) << "suspended";
    EXPECT_EQ(after10.controllers.at(0).lds.size(), 2u);

    ASSERT_EQ(runQuillSim({"advance", dir, "60"}), 0);
    sim::HostModel after70 = loaded(dir);
    const sim::Controller& c = after70.controllers.at(0);
    ASSERT_EQ(c.lds.size(), 1u) << "the erased drive was deleted";
    EXPECT_EQ(c.lds[0].targetId, 0);
    ASSERT_EQ(c.lds[0].progress.size(), 1u) << "the check ended";
    EXPECT_EQ(c.lds[0].progress[0].operation, sim::LdOperation::BACKGROUND_INIT);
    EXPECT_EQ(c.arrays.size(), 1u) << "the array of the remaining drive stays";
}
