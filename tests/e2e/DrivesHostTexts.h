// What the programs show for the host of tests/e2e/data/drives-host.json: its drives, its two
// virtual drives, and the lines around them; shared by the end-to-end tests of the displays.
#ifndef DRIVESHOSTTEXTS_H
#define DRIVESHOSTTEXTS_H

#include <gtest/gtest.h>

#include <cstddef>
#include <fstream>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "E2eHarness.h"

// What one drive of the described hosts shows: a 1 TB SAS disk in enclosure 252, which the
// controller reports on no connector (so the drive's own position byte, 0, is shown), with the
// simulated drive's inquiry texts, no ports and no diagnostics.
struct Shown {
    int deviceId;
    int slot;
    const char* state;
    const char* temperature;       // "30C (86.00 F)"
    std::string position;          // the "Drive's position" line, or empty
    std::string spare;             // the hot-spare text, or empty
};

// The drive's three blocks as the drive list prints them.
std::string driveText(const Shown& d);
std::string position(int group, int span, int arm);
// The drives of tests/e2e/data/drives-host.json, by slot.
const std::vector<Shown>& describedDrives();

// The information blocks of the two virtual drives: target id 0 ("mirror", RAID 1 on slots 0
// and 1, array 0) and target id 2 ("parity", RAID 5 on slots 2 to 4, array 1).
inline const std::string MIRROR_BLOCK = "Name                :mirror\n"
                                 "RAID Level          : Primary-1, Secondary-0, RAID Level Qualifier-0\n"
                                 "Size                : 931.0 GB\n"
                                 "Sector Size         : 512\n"
                                 "Mirror Data         : 931.0 GB\n"
                                 "State               : Optimal\n"
                                 "Strip Size          : 64 KB\n"
                                 "Number Of Drives    : 2\n"
                                 "Span Depth          : 1\n"
                                 "Default Cache Policy: WriteBack, ReadAhead, Direct, No Write Cache if Bad BBU\n"
                                 "Current Cache Policy: WriteBack, ReadAhead, Direct, No Write Cache if Bad BBU\n"
                                 "Default Access Policy: Read/Write\n"
                                 "Current Access Policy: Read/Write\n"
                                 "Disk Cache Policy   : Disk's Default\n"
                                 "Encryption Type     : None\n"
                                 "Is VD Cached: No\n";

inline const std::string PARITY_BLOCK = "Name                :parity\n"
                                 "RAID Level          : Primary-5, Secondary-0, RAID Level Qualifier-3\n"
                                 "Size                : 1.818 TB\n"
                                 "Sector Size         : 512\n"
                                 "Parity Size         : 931.0 GB\n"
                                 "State               : Optimal\n"
                                 "Strip Size          : 64 KB\n"
                                 "Number Of Drives    : 3\n"
                                 "Span Depth          : 1\n"
                                 "Default Cache Policy: WriteBack, ReadAhead, Direct, No Write Cache if Bad BBU\n"
                                 "Current Cache Policy: WriteBack, ReadAhead, Direct, No Write Cache if Bad BBU\n"
                                 "Default Access Policy: Read/Write\n"
                                 "Current Access Policy: Read/Write\n"
                                 "Disk Cache Policy   : Disk's Default\n"
                                 "Encryption Type     : None\n"
                                 "Is VD Cached: No\n";

// The description of the host.
nlohmann::json drivesHost();

// How many of the logged commands carry the opcode ("0x03040000").
size_t sent(const std::vector<std::string>& log, const std::string& opcode);

// Tests that run QuillCliSim against hosts made from the description.
class DrivesHostE2e : public ::testing::Test {
protected:
    void TearDown() override
    {
        for (const std::string& dir : cleanup)
            removeTree(dir);
    }

    // A host made with "quillsim create --from" from the description, its first controller's
    // keys changed by `edit`.
    std::string host(const nlohmann::json& edit = nlohmann::json::object(),
                     const std::vector<std::vector<std::string>>& faults = {})
    {
        nlohmann::json description = drivesHost();
        description["controllers"][0].merge_patch(edit);
        std::string base = makeTempDir("quillviews");
        cleanup.push_back(base);
        std::ofstream(base + "/description.json") << description.dump(2);
        RunSpec spec;
        spec.program = QUILLSIM_BIN;
        spec.args = {"create", base + "/host", "--from", base + "/description.json"};
        RunResult made = runProgram(spec);
        cleanup.push_back(made.workDir);
        EXPECT_EQ(made.exitCode, 0) << made.err;
        for (const std::vector<std::string>& fault : faults)
            EXPECT_EQ(addSimFault(base + "/host", fault), "");
        return base + "/host";
    }

    // Runs the command line on the host, in `workDir` when given (else a fresh folder).
    RunResult run(const std::string& hostDir, const std::vector<std::string>& args, const std::string& workDir = "")
    {
        RunSpec spec;
        spec.args = args;
        spec.env = {{"QUILLCLI_SIM_HOST", hostDir}};
        spec.workDir = workDir;
        RunResult r = runProgram(spec);
        cleanup.push_back(r.workDir);
        EXPECT_EQ(r.err, "");
        return r;
    }

    std::vector<std::string> cleanup;
};


#endif
