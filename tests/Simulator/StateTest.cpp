// The host state: the tool's create/show round trip, atomic saving, refusing broken states.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include "SimTestUtil.h"
#include "Simulator/QuillSim.h"
#include "Simulator/SimHost.h"
#include "TestSupport.h"

using namespace simtest;

namespace {

TEST(SimState, CreateThenShowGivesThePresetBack)
{
    for (const std::string& preset : sim::SimPresets::names()) {
        TempDir tmp;
        std::string dir = tmp.path() + "/h";
        ASSERT_EQ(runQuillSim({"create", dir, "--preset", preset}), 0) << preset;
        testsupport::StreamCapture captured;
        ASSERT_EQ(runQuillSim({"show", dir}), 0);
        std::string out = captured.take();
        sim::Json shown = sim::Json::parse(out, nullptr, false);
        sim::Json expected;
        ASSERT_TRUE(sim::SimPresets::state(preset, expected));
        EXPECT_EQ(shown, expected) << preset;
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
    EXPECT_NE(err.find("not a JSON object"), std::string::npos) << err;
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
