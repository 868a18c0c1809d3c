// The simulated host's programs on hosts they cannot use: quillsim and the program under test
// stop with the description's message and a non-zero exit, never running on defaults. And the
// host tool's description round trip, as a user runs it.
#include <fstream>
#include <gtest/gtest.h>
#include <string>
#include <vector>

#include "E2eHarness.h"

namespace {

class SimHostE2e : public ::testing::Test {
protected:
    void TearDown() override
    {
        for (const std::string& dir : cleanup)
            removeTree(dir);
    }

    RunResult quillsim(const std::vector<std::string>& args)
    {
        RunSpec spec;
        spec.program = QUILLSIM_BIN;
        spec.args = args;
        RunResult r = runProgram(spec);
        cleanup.push_back(r.workDir);
        return r;
    }

    // A host created from `file` shows the `keys`; a host created from what it showed shows the same.
    void expectRoundTrip(const std::string& base, const std::string& file, const std::vector<const char*>& keys)
    {
        ASSERT_EQ(quillsim({"create", base + "/first", "--from", file}).exitCode, 0);
        RunResult shown = quillsim({"show", base + "/first"});
        ASSERT_EQ(shown.exitCode, 0) << shown.err;
        for (const char* key : keys)
            EXPECT_NE(shown.out.find(key), std::string::npos) << key << "\n" << shown.out;
        std::ofstream(base + "/shown.json") << shown.out;
        ASSERT_EQ(quillsim({"create", base + "/second", "--from", base + "/shown.json"}).exitCode, 0);
        RunResult again = quillsim({"show", base + "/second"});
        EXPECT_EQ(again.exitCode, 0);
        EXPECT_EQ(again.out, shown.out);
    }

    RunResult cli(const std::string& host, const std::vector<std::string>& args)
    {
        RunSpec spec;
        spec.args = args;
        spec.env = {{"QUILLCLI_SIM_HOST", host}};
        RunResult r = runProgram(spec);
        cleanup.push_back(r.workDir);
        return r;
    }

    // A fresh "one" host whose state.json is replaced by `text`.
    std::string hostWithState(const std::string& text)
    {
        std::string dir = makeSimHost("one");
        cleanup.push_back(dir.substr(0, dir.rfind('/')));
        std::ofstream(dir + "/state.json", std::ios::trunc) << text;
        return dir;
    }

    std::vector<std::string> cleanup;
};

TEST_F(SimHostE2e, BrokenHostsStopBothProgramsWithTheirMessage)
{
    struct Case {
        const char* what;
        const char* state;   // null: the host folder does not exist
        std::string message; // after "<state.json path>: "
    } cases[] = {
        {"unknown key", R"({"controllers": [{"host": 2, "hots": 3}]})", R"(controllers[0]: unknown key "hots")"},
        {"wrong type", R"({"controllers": [{"host": "x"}]})",
         R"(controllers[0].host: expected a whole number, found the string "x")"},
        {"out of range", R"({"controllers": [{"host": 2, "driverKind": 2}]})",
         "controllers[0].driverKind: 2 is out of range (0..1)"},
        {"truncated", "{\n  \"controllers\": [\n    {\"host\": 2}",
         "parse error at line 3, column 16: syntax error while parsing array - unexpected end of input; "
         "expected ']'"},
        {"missing folder", nullptr, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::string dir, expected;
        if (c.state) {
            dir = hostWithState(c.state);
            expected = "quillsim: " + dir + "/state.json: " + c.message + "\n";
        } else {
            std::string base = makeTempDir("quillhost");
            cleanup.push_back(base);
            dir = base + "/no-such-host";
            expected = "quillsim: host folder " + dir + ": No such file or directory\n";
        }
        RunResult run = cli(dir, {"-AdpCount"});
        EXPECT_EQ(run.exitCode, 1);
        EXPECT_EQ(run.out, "");
        EXPECT_EQ(run.err, expected);

        RunResult show = quillsim({"show", dir});
        EXPECT_EQ(show.exitCode, 1);
        EXPECT_EQ(show.out, "");
        EXPECT_EQ(show.err, expected);

        RunResult fault = quillsim({"fault", dir, "ioctl"});
        EXPECT_EQ(fault.exitCode, 1);
        EXPECT_EQ(fault.err, expected);
    }
}

TEST_F(SimHostE2e, CreateFromABrokenDescriptionMakesNoHost)
{
    std::string base = makeTempDir("quillhost");
    cleanup.push_back(base);
    const std::string file = base + "/host.json";
    std::ofstream(file) << R"({"controllers": [{"host": 2, "info": {"productName": 5}}]})";
    RunResult r = quillsim({"create", base + "/host", "--from", file});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.err, "quillsim: " + file + ": controllers[0].info.productName: expected a string, found the number 5\n");
    EXPECT_EQ(readFile(base + "/host/state.json"), "");

    RunResult missing = quillsim({"create", base + "/host", "--from", base + "/nothing.json"});
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_EQ(missing.err, "quillsim: cannot read " + base + "/nothing.json: No such file or directory\n");
}

// A configuration whose firmware answers could not agree is refused with what is wrong in it.
TEST_F(SimHostE2e, CreateRefusesAnInconsistentConfiguration)
{
    std::string base = makeTempDir("quillhost");
    cleanup.push_back(base);
    const std::string drives = R"("drives": [{"deviceId": 8}, {"deviceId": 9}, {"deviceId": 10}])";
    struct Case {
        const char* configuration;
        const char* message;
    };
    const Case cases[] = {
        {R"("arrays": [{"ref": 0, "drives": [8, 11]}])", "array 0: member 11 is not a drive"},
        {R"("arrays": [{"ref": 0, "drives": [8, 9]}, {"ref": 1, "drives": [9, 10]}])", "drive 9 is in arrays 0 and 1"},
        {R"("arrays": [{"ref": 0, "drives": [8]}], "lds": [{"targetId": 2, "spans": [{"array": 0}, {"array": 3}]}])",
         "logical drive 2: span 1 on missing array 3"},
        {R"("arrays": [{"ref": 0, "drives": [8], "sizeBlocks": 100}],
            "lds": [{"targetId": 0, "spans": [{"array": 0, "startBlock": 50, "blockCount": 51}]}])",
         "logical drive 0: span 0 beyond the size of array 0"},
        {R"("arrays": [{"ref": 0, "drives": [8], "sizeBlocks": 100}],
            "lds": [{"targetId": 0, "spans": [{"array": 0, "blockCount": 50}]},
                    {"targetId": 1, "spans": [{"array": 0, "startBlock": 49, "blockCount": 10}]}])",
         "logical drive 1: span 0 overlaps logical drive 0 on array 0"},
        {R"("spares": [{"deviceId": 12}])", "spare 12 is not a drive"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.message);
        const std::string file = base + "/host.json";
        std::ofstream(file) << std::string(R"({"controllers": [{"host": 2, )") + drives + ", " + c.configuration + "}]}";
        RunResult r = quillsim({"create", base + "/host", "--from", file});
        EXPECT_EQ(r.exitCode, 1);
        EXPECT_EQ(r.err, "quillsim: " + file + ": controllers[0]: " + c.message + "\n");
        EXPECT_EQ(readFile(base + "/host/state.json"), "");
    }
    // Spans side by side fill an array exactly.
    const std::string file = base + "/fits.json";
    std::ofstream(file) << std::string(R"({"controllers": [{"host": 2, )") + drives +
                               R"(, "arrays": [{"ref": 0, "drives": [8], "sizeBlocks": 100}],
        "lds": [{"targetId": 0, "spans": [{"array": 0, "blockCount": 50}]},
                {"targetId": 1, "spans": [{"array": 0, "startBlock": 50, "blockCount": 50}]}]}]})";
    EXPECT_EQ(quillsim({"create", base + "/fits", "--from", file}).exitCode, 0);
}

// show prints the description; a host created from it shows the same.
TEST_F(SimHostE2e, ShowThenCreateFromGivesTheSameShow)
{
    for (const char* preset : {"one", "two", "big", "mixed", "old-kernel", "no-driver", "configs"}) {
        SCOPED_TRACE(preset);
        std::string first = makeSimHost(preset);
        cleanup.push_back(first.substr(0, first.rfind('/')));
        RunResult shown = quillsim({"show", first});
        ASSERT_EQ(shown.exitCode, 0) << shown.err;
        const std::string file = first + "/../shown.json";
        std::ofstream(file) << shown.out;
        const std::string second = first + "/../second";
        ASSERT_EQ(quillsim({"create", second, "--from", file}).exitCode, 0);
        RunResult again = quillsim({"show", second});
        EXPECT_EQ(again.exitCode, 0);
        EXPECT_EQ(again.out, shown.out);
    }
}

// A description of the controller's records (capabilities, limits, defaults, properties, BIOS
// data, schedules, connectors, phys): created, shown, created from what was shown, shown again.
TEST_F(SimHostE2e, ControllerRecordsRoundTripThroughCreateAndShow)
{
    std::string base = makeTempDir("quillhost");
    cleanup.push_back(base);
    const std::string file = base + "/host.json";
    std::ofstream(file) << R"({"controllers": [{"host": 2,
        "info": {"raidLevelOptions": "0x8", "storageFeatures": "0x48", "securityState": "0x40",
                 "driveLimits": {"raid60": {"min": 8, "max": 128}}, "maxSscSizeGB": 256, "rocTemperature": 55},
        "mfcDefaults": {"readPolicy": 2, "patch": {"0x30": "01"}},
        "runtimeStatus": 2,
        "properties": {"rebuildRate": 60, "spareFlags": "0x3"},
        "bios": {"bootDevice": 0, "autoSelectBoot": 1},
        "patrolRead": {"mode": 2},
        "ccSchedule": {"excluded": [4]},
        "connectorModes": {"modes": [1, 2]},
        "connectorInfo": {"connectors": [{"name": "Port A"}]},
        "phyList": {"phys": [{"linkRate": 8}, {"disabled": true}]}}]})";
    expectRoundTrip(base, file,
                    {"\"raidLevelOptions\": \"0x8\"", "\"raid60\": {\"min\": 8, \"max\": 128}",
                     "\"runtimeStatus\": \"0x2\"", "\"rebuildRate\": 60", "\"bootDevice\": \"0x0\"",
                     "\"modes\": [1, 2]", "\"name\": \"Port A\"", "\"disabled\": true"});
}

TEST_F(SimHostE2e, UnknownOrMistypedRecordFieldIsRefusedByName)
{
    std::string base = makeTempDir("quillhost");
    cleanup.push_back(base);
    const struct {
        const char* controller;
        const char* message;
    } cases[] = {
        {R"("properties": {"rebuildRat": 30})", R"(controllers[0].properties: unknown key "rebuildRat")"},
        {R"("bios": {"biosDisabled": "yes"})",
         R"(controllers[0].bios.biosDisabled: expected a whole number, found the string "yes")"},
    };
    for (const auto& c : cases) {
        const std::string file = base + "/host.json";
        std::ofstream(file) << std::string(R"({"controllers": [{"host": 2, )") + c.controller + "}]}";
        RunResult r = quillsim({"create", base + "/host", "--from", file});
        EXPECT_EQ(r.exitCode, 1);
        EXPECT_EQ(r.err, "quillsim: " + file + ": " + c.message + "\n");
        EXPECT_EQ(readFile(base + "/host/state.json"), "");
    }
}

// The recording keys: a fault's mailbox filter, a logical drive's configuration-record patch, an
// array member that is not its drive's, and the host-cache lists' counts.
TEST_F(SimHostE2e, RecordingKeysRoundTripThroughCreateAndShow)
{
    std::string base = makeTempDir("quillhost");
    cleanup.push_back(base);
    const std::string file = base + "/host.json";
    std::ofstream(file) << R"({"controllers": [{"host": 2,
        "drives": [{"deviceId": 8, "state": "0x18"}, {"deviceId": 9, "state": "0x18"}],
        "arrays": [{"ref": 0, "drives": [8, 9], "members": [{"row": 1, "sequence": 0, "state": "0x11"}]}],
        "lds": [{"targetId": 0, "raidLevel": 1, "drivesPerSpan": 2, "drives": [8, 9], "spans": [{"array": 0}],
                 "configPatch": {"0x12": "01"}}]}],
        "faults": [{"type": "status", "opcode": "0x04030000", "status": "0x2d", "mailbox": {"0": "00", "4": "0100"}}],
        "ir2Library": {"controllers": [0], "hostCache": {"cacheDeviceListCount": 3, "vdListCount": 0}}})";
    expectRoundTrip(base, file,
                    {"\"mailbox\": {\"0x0\": \"00\", \"0x4\": \"0100\"}", "\"configPatch\": {\"0x12\": \"01\"}",
                     "\"row\": 1", "\"sequence\": 0", "\"state\": \"0x11\"",
                     "\"hostCache\": {\"cacheDeviceListCount\": 3, \"vdListCount\": 0}"});
}

TEST_F(SimHostE2e, MistypedRecordingKeyIsRefusedByName)
{
    std::string base = makeTempDir("quillhost");
    cleanup.push_back(base);
    const struct {
        const char* description;
        const char* message;
    } cases[] = {
        {R"({"faults": [{"type": "status", "status": 2, "mailbx": {"0": "00"}}]})", R"(faults[0]: unknown key "mailbx")"},
        {R"({"faults": [{"type": "status", "status": 2, "mailbox": {"11": "0000"}}]})",
         R"(faults[0].mailbox."11": 2 bytes from offset 0xb run past the record's 12 bytes)"},
        {R"({"controllers": [{"host": 2, "lds": [{"targetId": 0, "configPach": {"0": "00"}}]}]})",
         R"(controllers[0].lds[0]: unknown key "configPach")"},
        {R"({"controllers": [{"host": 2, "arrays": [{"ref": 0, "members": [{"row": 0, "sequnce": 1}]}]}]})",
         R"(controllers[0].arrays[0].members[0]: unknown key "sequnce")"},
        {R"({"ir2Library": {"hostCache": {"vdListCnt": 1}}})", R"(ir2Library.hostCache: unknown key "vdListCnt")"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.description);
        const std::string file = base + "/host.json";
        std::ofstream(file) << c.description;
        RunResult r = quillsim({"create", base + "/host", "--from", file});
        EXPECT_EQ(r.exitCode, 1);
        EXPECT_EQ(r.err, "quillsim: " + file + ": " + c.message + "\n");
        EXPECT_EQ(readFile(base + "/host/state.json"), "");
    }
    // The fault command's own filter: an offset past the mailbox is no filter.
    const std::string host = makeSimHost("one");
    cleanup.push_back(host.substr(0, host.rfind('/')));
    EXPECT_NE(addSimFault(host, {"status", "0x04030000", "0x2d", "--mailbox", "12=00"}), "");
    EXPECT_NE(addSimFault(host, {"status", "0x04030000", "0x2d", "--mailbox", "0:00"}), "");
    EXPECT_EQ(addSimFault(host, {"status", "0x04030000", "0x2d", "--mailbox", "0x8=01"}), "");
}

} // namespace
