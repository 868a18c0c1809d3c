// QuillCli, the product, against the variable that selects a simulated host: it never enters
// the host, whatever the environment says. QuillCliSim, built from the same libraries, does.
#include "E2eHarness.h"

#include <gtest/gtest.h>

#include <string>
#include <sys/stat.h>

namespace {

bool exists(const std::string& path)
{
    struct stat st;
    return stat(path.c_str(), &st) == 0;
}

TEST(ProductBinary, IgnoresTheSimulatedHostVariable)
{
    std::string host = makeSimHost("one");
    std::string stateBefore = readFile(host + "/state.json");
    ASSERT_FALSE(stateBefore.empty());

    RunSpec spec;
    spec.program = QUILLCLI_BIN;
    spec.args = {"-AdpCount"};
    spec.env = {{"QUILLCLI_SIM_HOST", host}, {"QUILLCLI_SIM_TRACE", "1"}};
    RunResult product = runProgram(spec);
    EXPECT_EQ(product.err, "") << "no firmware command was traced";
    EXPECT_EQ(product.out.find("Controller Count: 1."), std::string::npos);
    EXPECT_FALSE(exists(host + "/commands.log")) << "the product sent nothing to the host";
    EXPECT_EQ(readFile(host + "/state.json"), stateBefore);

    // The same line through QuillCliSim reaches the host's one controller.
    spec.program = QUILLCLISIM_BIN;
    RunResult simulated = runProgram(spec);
    EXPECT_EQ(simulated.exitCode, 1);
    EXPECT_NE(simulated.out.find("\nController Count: 1.\n"), std::string::npos) << simulated.out;
    EXPECT_TRUE(exists(host + "/commands.log"));

    removeTree(product.workDir);
    removeTree(simulated.workDir);
    removeTree(host.substr(0, host.rfind('/')));
}

} // namespace
