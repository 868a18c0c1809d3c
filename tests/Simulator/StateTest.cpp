// The host state: the tool's create/show round trip, atomic saving, refusing broken states.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include "SimTestUtil.h"
#include "Simulator/Description/SimDescription.h"
#include "Simulator/QuillSim.h"
#include "Simulator/SimHost.h"
#include "TestSupport.h"

using namespace simtest;

namespace {

// A host made from the description of another gives the same description: every preset, as
// created, read back and made again, keeps its state.json byte for byte.
TEST(SimState, EveryPresetRoundTripsThroughItsDescription)
{
    for (const std::string& preset : sim::SimPresets::names()) {
        SCOPED_TRACE(preset);
        TempDir tmp;
        const std::string first = tmp.path() + "/first", second = tmp.path() + "/second";
        ASSERT_EQ(runQuillSim({"create", first, "--preset", preset}), 0);
        ASSERT_EQ(runQuillSim({"create", second, "--from", first + "/state.json"}), 0);
        const std::string text = readText(first + "/state.json");
        EXPECT_EQ(readText(second + "/state.json"), text);
        testsupport::StreamCapture captured;
        ASSERT_EQ(runQuillSim({"show", second}), 0);
        EXPECT_EQ(captured.take(), text) << "show prints the description";
        sim::HostModel model;
        std::string error;
        ASSERT_TRUE(sim::readDescription(text, model, error)) << error;
        EXPECT_EQ(sim::writeDescription(model), text);
    }
}

TEST(SimState, CreateRefusesAnOccupiedDirectoryAndUnknownPresets)
{
    TempDir tmp;
    std::string dir = tmp.path() + "/h";
    testsupport::StreamCapture captured(STDERR_FILENO);
    EXPECT_EQ(runQuillSim({"create", dir, "--preset", "nonesuch"}), 2);
    EXPECT_EQ(runQuillSim({"create", dir}), 0);
    EXPECT_EQ(runQuillSim({"create", dir}), 1);
    EXPECT_EQ(runQuillSim({"show", tmp.path() + "/missing"}), 1);
    captured.take();
}

TEST(SimState, SavingReplacesTheFileInsteadOfRewritingIt)
{
    TempDir tmp;
    std::string dir = makeHost(tmp, "one");
    ASSERT_FALSE(dir.empty());
    std::string old = dir + "/old-state.json";
    // A second name for the old file: an in-place rewrite would change what it shows.
    ASSERT_EQ(link((dir + "/state.json").c_str(), old.c_str()), 0);
    std::string before = readText(old);

    ASSERT_EQ(runQuillSim({"advance", dir, "90"}), 0);
    EXPECT_EQ(readText(old), before);
    sim::SimState st(dir);
    ASSERT_EQ(st.load(), 0);
    EXPECT_EQ(st.clock(), 90u);
    // No temporary file is left behind.
    std::string listing;
    FILE* ls = popen(("ls -A '" + dir + "'").c_str(), "r");
    ASSERT_NE(ls, nullptr);
    char line[256];
    while (fgets(line, sizeof line, ls))
        listing += line;
    pclose(ls);
    EXPECT_EQ(listing.find(".tmp"), std::string::npos) << listing;
}

TEST(SimState, ABrokenStateIsReportedAndNeverOverwritten)
{
    TempDir tmp;
    std::string dir = makeHost(tmp, "one");
    FILE* f = fopen((dir + "/state.json").c_str(), "w");
    ASSERT_NE(f, nullptr);
    fputs("{ not json", f);
    fclose(f);
    sim::SimHost host(dir, false);
    testsupport::StreamCapture captured(STDERR_FILENO);
    host.boundary().sleep(5);
    std::string err = captured.take();
    EXPECT_NE(err.find("state.json: parse error at line 1, column 4"), std::string::npos) << err;
    EXPECT_EQ(readText(dir + "/state.json"), "{ not json");
}

TEST(SimState, OnlyAChangedStateIsWritten)
{
    TempDir tmp;
    std::string dir = makeHost(tmp, "one");
    struct stat before, after;
    ASSERT_EQ(stat((dir + "/state.json").c_str(), &before), 0);
    sim::SimHost host(dir, false);
    ASSERT_EQ(host.state().load(), 0);
    DcmdPacket p(2, 0x01010000, 2048);
    ASSERT_EQ(host.driver().ioctl(0, REQ_SAS, p.pkt), 0);
    ASSERT_EQ(stat((dir + "/state.json").c_str(), &after), 0);
    EXPECT_EQ(before.st_ino, after.st_ino);
}

} // namespace
