// QuillCli, the product, against the variable that selects a simulated host: it never enters
// the host, whatever the environment says. QuillCliSim, built from the same libraries, does.
#include "E2eHarness.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
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

// The logs name a line's source file by its path below the source root, wherever the program was
// built, and no path of the build machine's source or build folder is carried by the product.
TEST(ProductBinary, SourceNamesAreRelativeToTheSourceRoot)
{
    std::string host = makeSimHost("one");
    addSimFault(host, {"status", "0x010d0000", "0x2d"});
    RunSpec spec;
    spec.program = QUILLCLISIM_BIN;
    spec.args = {"-AdpFacDefSet", "-a0"};
    spec.env = {{"QUILLCLI_SIM_HOST", host}};
    RunResult r = runProgram(spec);
    EXPECT_EQ(r.exitCode, 0x2d);
    ASSERT_EQ(r.files.count("Volant.log"), 1u);
    const std::string& log = r.files["Volant.log"];
    const std::string level = "(Volant)(Error) ";
    const size_t from = log.find(level);
    ASSERT_NE(from, std::string::npos) << log;
    const size_t name = from + level.size();
    EXPECT_EQ(log.substr(name, log.find(' ', name) - name), "CpMgmt/CmdPro/AdpDcmd.cpp") << log;
    EXPECT_EQ(log.find(QUILL_SOURCE_DIR), std::string::npos) << log;

#ifndef QUILL_INSTRUMENTED_BUILD
    const std::string product = QUILLCLI_BIN;
    const std::string buildDir = product.substr(0, product.rfind('/'));
    std::ifstream in(product, std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    ASSERT_GT(bytes.size(), 0u);
    EXPECT_EQ(bytes.find(QUILL_SOURCE_DIR), std::string::npos) << "the source folder is named in " << product;
    EXPECT_EQ(bytes.find(buildDir), std::string::npos) << "the build folder is named in " << product;
#endif

    removeTree(r.workDir);
    removeTree(host.substr(0, host.rfind('/')));
}

} // namespace
