// Failures of the controller path through the real QuillCli binary: the simulated host injects
// driver and firmware faults, and each run is compared with what the administrator must see
// (standard output, the console log) and what scripts read (the exit code). The command log of
// the simulated host shows which firmware commands went out and how each one ended, so a row
// also pins which controllers were discovered, checked or left alone.
//
// What the rows rely on:
// - Discovery reads each host's controller information (0x01010000); a host whose read fails
//   gets no controller and no adapter number, so the hosts after it move up.
// - The controller check before a command reads the OEM data (0x010e8481), whose failure does
//   not matter, and the controller information again, whose failure ends the command with its
//   status; a forward-compatibility level above 0 stops the command, a backward level never does.
// - A transport failure reaches the caller as 0xFFFF; only a completed firmware command leaves a
//   firmware status for the exit code and its description.
// - With -aALL a failed adapter leaves the adapters after it unrun; with -a0,1 each adapter is a
//   request of its own, and the drive counts run on every adapter whatever the one before did.
#include "E2eHarness.h"

#include <gtest/gtest.h>

#include <fstream>
#include <functional>
#include <map>
#include <nlohmann/json.hpp>
#include <sstream>
#include <string>
#include <vector>

#include "CpMgmt/CpFactoryRegistry.h"
#include "Parser/TokenIds.h"

namespace {

const std::string NOT_PRESENT = "User specified controller is not present.\n";
const std::string NO_CP_CONTROLLER = "Failed to get CpController object.\n";
const std::string NO_ID_LIST = "Failed to get ControllerId List.\n";
// Written straight to standard output: neither paged nor logged.
const std::string NOT_DETECTED = "ERROR:Could not detect controller.\n";

const std::string DEVICE_MISSING =
    "\n The requested command cannot be completed, as the specified device does not exist.  \n";
const std::string INVALID_STATUS = "\n Invalid error status.  \n";
const std::string UNKNOWN_ERROR = "\n  Unknown error \n";
const std::string PASSPHRASE_INVALID = "\n The specified passphrase is not valid.  \n";
const std::string SECURITY_KEY_INVALID = "\n  The specified security key is not valid.  \n";

const char* const INFO = "0x01010000";   // controller information
const char* const OEM = "0x010e8481";    // OEM data

std::string fwError(const std::string& description)
{
    return "\nFW error description: " + description;
}

std::string controllerCount(int n)
{
    return "\nController Count: " + std::to_string(n) + ".\n";
}

std::string updateApplication(int adapter, int firmwareLevel)
{
    return "Adapter #" + std::to_string(adapter) + ": Please Update Application.\nFirmware Forward Compatibility Version:" +
           std::to_string(firmwareLevel) + "\nApplication Forward Compatibility Version:0\n";
}

// One firmware command as the simulated host's command log records it: the SCSI host, the
// opcode and how it ended ("status=0x00", "ioctl=-1" ...).
std::string sent(unsigned host, const char* opcode, const std::string& outcome)
{
    return "host=" + std::to_string(host) + " opcode=" + opcode + " " + outcome;
}

const std::string OK = "status=0x00";

// The discovery and controller-check commands of the host's command log, in the order sent.
// Other commands (those of the command itself) are left out: they are not what these rows pin.
std::vector<std::string> discoveryAndCheckCommands(const std::string& hostDir)
{
    std::vector<std::string> result;
    for (const std::string& command : loggedFirmwareCommands(hostDir)) {
        if (command.find(std::string(" opcode=") + INFO + " ") != std::string::npos ||
            command.find(std::string(" opcode=") + OEM + " ") != std::string::npos)
            result.push_back(command);
    }
    return result;
}

// The rows below give the controller check as the OEM-data read followed by the read of the
// controller information. The RAID manager's refresh before the check reads that information
// first, for its three drive-mix flags: one read that the check then reuses, or, when it fails,
// one read per flag (a failed read keeps nothing) and the check's own read after the OEM data.
std::vector<std::string> refreshed(const std::vector<std::string>& rows)
{
    std::vector<std::string> out;
    for (size_t i = 0; i < rows.size(); ++i) {
        const std::string host = rows[i].substr(0, rows[i].find(' '));
        const bool checkPair = rows[i].find(std::string(" opcode=") + OEM + " ") != std::string::npos &&
                               i + 1 < rows.size() && rows[i + 1].rfind(host + " opcode=" + INFO + " ", 0) == 0;
        if (!checkPair) {
            out.push_back(rows[i]);
            continue;
        }
        const std::string& info = rows[i + 1];
        const bool failed = info.find(" " + OK) == std::string::npos;
        for (int read = 0; read < (failed ? 3 : 1); ++read)
            out.push_back(info);
        out.push_back(rows[i]);
        if (failed)
            out.push_back(info);
        ++i;
    }
    return out;
}

struct Scenario {
    const char* what;
    const char* preset;
    std::vector<std::vector<std::string>> faults;   // each the arguments of one "quillsim fault HOST ..."
    std::vector<std::string> args;
    int exitCode;
    std::string out;
    std::string consoleLog;
    std::vector<std::string> sent;
    // The row expects "Un-supported command" for this command id; once its processor exists
    // the command's own tests take over the row's happy part.
    unsigned short unsupported = 0;
    std::function<void(nlohmann::json& state)> edit = nullptr;
};

class FaultsE2e : public ::testing::Test {
protected:
    void TearDown() override
    {
        for (const std::string& dir : cleanup)
            removeTree(dir);
    }

    std::string prepareHost(const Scenario& s)
    {
        std::string dir = makeSimHost(s.preset);
        cleanup.push_back(dir.substr(0, dir.rfind('/')));
        if (s.edit) {
            std::string path = dir + "/state.json";
            nlohmann::json state = nlohmann::json::parse(readFile(path));
            s.edit(state);
            std::ofstream(path) << state.dump(2);
        }
        for (const std::vector<std::string>& fault : s.faults) {
            RunSpec spec;
            spec.program = QUILLSIM_BIN;
            spec.args = {"fault", dir};
            spec.args.insert(spec.args.end(), fault.begin(), fault.end());
            RunResult r = runProgram(spec);
            cleanup.push_back(r.workDir);
            EXPECT_EQ(r.exitCode, 0) << r.err;
        }
        return dir;
    }

    void expectScenarios(const std::vector<Scenario>& scenarios)
    {
        for (const Scenario& s : scenarios) {
            SCOPED_TRACE(s.what);
            if (s.unsupported != 0 && CpFactoryRegistry::instance()->creatorCount(s.unsupported) > 0)
                continue;
            std::string hostDir = prepareHost(s);
            RunSpec spec;
            spec.args = s.args;
            spec.env = {{"QUILLCLI_SIM_HOST", hostDir}};
            RunResult r = runProgram(spec);
            cleanup.push_back(r.workDir);
            EXPECT_EQ(r.exitCode, s.exitCode);
            EXPECT_EQ(r.out, s.out);
            EXPECT_EQ(r.files, (std::map<std::string, std::string>{{"QuillSAS.log", s.consoleLog}}));
            EXPECT_EQ(r.err, "");
            EXPECT_EQ(discoveryAndCheckCommands(hostDir), refreshed(s.sent));
        }
    }

    std::vector<std::string> cleanup;
};

// The driver's ioctl fails. During discovery a controller that cannot be reached is not counted
// and has no adapter number; during the controller check the transport's 0xFFFF ends the command.
TEST_F(FaultsE2e, DriverIoctlFailures)
{
    const std::string absent = NOT_PRESENT + NO_CP_CONTROLLER + exitLine("01");
    expectScenarios({
        {"every ioctl fails: no controller answers, none is counted", "one", {{"ioctl"}}, {"-AdpCount"}, 0,
         BLANK_OUT + controllerCount(0) + exitLine("00"), controllerCount(0) + exitLine("00"),
         {sent(2, INFO, "ioctl=-1")}},
        {"every ioctl fails: the adapter is not present", "one", {{"ioctl"}}, {"-AdpFacDefSet", "-a0"}, 1,
         BLANK_OUT + absent, absent, {sent(2, INFO, "ioctl=-1")}},
        {"every ioctl returns 5: status 0xFF, the adapter is not present", "one", {{"ioctl", "5"}},
         {"-AdpFacDefSet", "-a0"}, 1, BLANK_OUT + absent, absent, {sent(2, INFO, "ioctl=5")}},
        // The transport's 0xFFFF is no firmware status: no description, and the exit line shows
        // the value while the process keeps its low 8 bits.
        {"the check's ioctl fails", "one", {{"ioctl", "--from", "2"}}, {"-AdpFacDefSet", "-a0"}, 255,
         BLANK_OUT + exitLine("ffff"), exitLine("ffff"),
         {sent(2, INFO, OK), sent(2, OEM, "ioctl=-1"), sent(2, INFO, "ioctl=-1")}},
        {"the check's ioctl returns 5: status 0xFF without a firmware status", "one", {{"ioctl", "5", "--from", "2"}},
         {"-AdpFacDefSet", "-a0"}, 255, BLANK_OUT + exitLine("ff"), exitLine("ff"),
         {sent(2, INFO, OK), sent(2, OEM, "ioctl=5"), sent(2, INFO, "ioctl=5")}},
        // A driver that answers 0 without completing the frame must not pass for success.
        {"the check's ioctl returns 0 but the frame is not completed", "one", {{"ioctl", "0", "--from", "2"}},
         {"-AdpFacDefSet", "-a0"}, 255, BLANK_OUT + fwError(INVALID_STATUS) + exitLine("ff"),
         fwError(INVALID_STATUS) + exitLine("ff"),
         {sent(2, INFO, OK), sent(2, OEM, "ioctl=0"), sent(2, INFO, "ioctl=0")}},
        {"a failed OEM-data read does not stop the command", "one", {{"ioctl", "--opcode", OEM}},
         {"-AdpFacDefSet", "-a0"}, 1, BLANK_OUT + UNSUPPORTED + exitLine("01"), UNSUPPORTED + exitLine("01"),
         {sent(2, INFO, OK), sent(2, OEM, "ioctl=-1"), sent(2, INFO, OK)}, TOKEN_ADPFACDEFSET},
        {"one host of two fails: one controller is counted", "two", {{"ioctl", "--host", "2"}}, {"-AdpCount"}, 1,
         BLANK_OUT + controllerCount(1) + exitLine("01"), controllerCount(1) + exitLine("01"),
         {sent(2, INFO, "ioctl=-1"), sent(3, INFO, OK)}},
        {"the first host fails: -aALL runs the other as adapter 0", "two", {{"ioctl", "--host", "2"}},
         {"-AdpFacDefSet", "-aALL"}, 1, BLANK_OUT + UNSUPPORTED + exitLine("01"), UNSUPPORTED + exitLine("01"),
         {sent(2, INFO, "ioctl=-1"), sent(3, INFO, OK), sent(3, OEM, OK), sent(3, INFO, OK)}, TOKEN_ADPFACDEFSET},
        // Every host is handled once adapter 0 is found, so adapter 1 is simply not there.
        {"the first host fails: -a0,1 has no adapter 1", "two", {{"ioctl", "--host", "2"}},
         {"-AdpFacDefSet", "-a0,1"}, 1, "," + BLANK_OUT + UNSUPPORTED + NO_CP_CONTROLLER + exitLine("01"),
         UNSUPPORTED + NO_CP_CONTROLLER + exitLine("01"),
         {sent(2, INFO, "ioctl=-1"), sent(3, INFO, OK), sent(3, OEM, OK), sent(3, INFO, OK)}, TOKEN_ADPFACDEFSET},
        // Adapter 1 is looked for only when its request runs, after adapter 0 ran.
        {"the second host fails: -a0,1 runs adapter 0, adapter 1 is not present", "two", {{"ioctl", "--host", "3"}},
         {"-AdpFacDefSet", "-a0,1"}, 1, "," + BLANK_OUT + UNSUPPORTED + absent, UNSUPPORTED + absent,
         {sent(2, INFO, OK), sent(2, OEM, OK), sent(2, INFO, OK), sent(3, INFO, "ioctl=-1")}, TOKEN_ADPFACDEFSET},
    });
}

// The firmware answers the controller-information read with an error status: during discovery
// the controller is dropped; during the check the status ends the command and becomes the exit
// code with its description.
TEST_F(FaultsE2e, FirmwareStatusOfTheControllerInformation)
{
    const std::string absent = NOT_PRESENT + NO_CP_CONTROLLER + exitLine("01");
    const std::vector<std::string> busyOnce = {"status", INFO, "0x2d", "--once"};
    auto busy = [](const char* host) {
        return std::vector<std::string>{"status", INFO, "0x2d", "--host", host, "--from", "2"};
    };
    expectScenarios({
        // The last-error word holds status 12, but a dispatch failure is -1: exit 1, no description.
        {"discovery's read fails: the adapter is not present", "one", {{"status", INFO, "12", "--once"}},
         {"-AdpFacDefSet", "-a0"}, 1, BLANK_OUT + absent, absent, {sent(2, INFO, "status=0x0c")}},
        {"the check's read fails: its status is the exit code", "one", {{"status", INFO, "12", "--from", "2"}},
         {"-AdpFacDefSet", "-a0"}, 12, BLANK_OUT + fwError(DEVICE_MISSING) + exitLine("0c"),
         fwError(DEVICE_MISSING) + exitLine("0c"), {sent(2, INFO, OK), sent(2, OEM, OK), sent(2, INFO, "status=0x0c")}},
        {"a status without a description", "one", {{"status", INFO, "0x5a", "--from", "2"}}, {"-AdpFacDefSet", "-a0"},
         0x5a, BLANK_OUT + fwError(UNKNOWN_ERROR) + exitLine("5a"), fwError(UNKNOWN_ERROR) + exitLine("5a"),
         {sent(2, INFO, OK), sent(2, OEM, OK), sent(2, INFO, "status=0x5a")}},
        {"an OEM 2 controller gets the drive wording", "one",
         {{"corrupt", OEM, "0", "02"}, {"status", INFO, "0x46", "--from", "2"}}, {"-AdpFacDefSet", "-a0"}, 0x46,
         BLANK_OUT + fwError(SECURITY_KEY_INVALID) + exitLine("46"), fwError(SECURITY_KEY_INVALID) + exitLine("46"),
         {sent(2, INFO, OK), sent(2, OEM, OK), sent(2, INFO, "status=0x46")}},
        {"discovery drops the first of two: one controller is counted", "two", {busyOnce}, {"-AdpCount"}, 1,
         BLANK_OUT + controllerCount(1) + exitLine("01"), controllerCount(1) + exitLine("01"),
         {sent(2, INFO, "status=0x2d"), sent(3, INFO, OK)}},
        {"discovery drops the first of two: the second is adapter 0", "two", {busyOnce}, {"-AdpFacDefSet", "-a0"}, 1,
         BLANK_OUT + UNSUPPORTED + exitLine("01"), UNSUPPORTED + exitLine("01"),
         {sent(2, INFO, "status=0x2d"), sent(3, INFO, OK), sent(3, OEM, OK), sent(3, INFO, OK)}, TOKEN_ADPFACDEFSET},
        {"-aALL: adapter 0 fails its check, adapter 1 is not checked", "two", {busy("2")}, {"-AdpFacDefSet", "-aALL"},
         0x2d, BLANK_OUT + DEVICE_BUSY + exitLine("2d"), DEVICE_BUSY + exitLine("2d"),
         {sent(2, INFO, OK), sent(3, INFO, OK), sent(2, OEM, OK), sent(2, INFO, "status=0x2d")}},
        // The result is adapter 1's; the firmware status of adapter 0 is not reported.
        {"-a0,1: adapter 0 fails its check, adapter 1 still runs", "two", {busy("2")}, {"-AdpFacDefSet", "-a0,1"}, 1,
         "," + BLANK_OUT + UNSUPPORTED + exitLine("01"), UNSUPPORTED + exitLine("01"),
         {sent(2, INFO, OK), sent(2, OEM, OK), sent(2, INFO, "status=0x2d"), sent(3, INFO, OK), sent(3, OEM, OK),
          sent(3, INFO, OK)},
         TOKEN_ADPFACDEFSET},
        {"-aALL: adapter 0 fails, adapter 1 with the fault is never reached", "two", {busy("3")},
         {"-AdpFacDefSet", "-aALL"}, 1, BLANK_OUT + UNSUPPORTED + exitLine("01"), UNSUPPORTED + exitLine("01"),
         {sent(2, INFO, OK), sent(3, INFO, OK), sent(2, OEM, OK), sent(2, INFO, OK)}, TOKEN_ADPFACDEFSET},
        {"-a0,1: adapter 1's check fails last: its status is the exit code", "two", {busy("3")},
         {"-AdpFacDefSet", "-a0,1"}, 0x2d, "," + BLANK_OUT + UNSUPPORTED + DEVICE_BUSY + exitLine("2d"),
         UNSUPPORTED + DEVICE_BUSY + exitLine("2d"),
         {sent(2, INFO, OK), sent(2, OEM, OK), sent(2, INFO, OK), sent(3, INFO, OK), sent(3, OEM, OK),
          sent(3, INFO, "status=0x2d")},
         TOKEN_ADPFACDEFSET},
        {"drive counts with -aALL: adapter 1 runs after adapter 0 failed", "two", {busy("2")}, {"-PDGetNum", "-aALL"},
         1, BLANK_OUT + UNSUPPORTED + exitLine("01"), UNSUPPORTED + exitLine("01"),
         {sent(2, INFO, OK), sent(3, INFO, OK), sent(2, OEM, OK), sent(2, INFO, "status=0x2d"), sent(3, OEM, OK),
          sent(3, INFO, OK)},
         TOKEN_PDNUMBER},
    });
}

// The OEM-data read decides only the wording of firmware errors; its failure counts as "not 2".
TEST_F(FaultsE2e, FirmwareStatusOfTheOemData)
{
    auto oem2 = [](nlohmann::json& state) { state["controllers"][0]["mfcOemData"]["oemId"] = 2; };
    expectScenarios({
        {"the OEM-data read fails: the command goes on", "one", {{"status", OEM, "3"}}, {"-AdpFacDefSet", "-a0"}, 1,
         BLANK_OUT + UNSUPPORTED + exitLine("01"), UNSUPPORTED + exitLine("01"),
         {sent(2, INFO, OK), sent(2, OEM, "status=0x03"), sent(2, INFO, OK)}, TOKEN_ADPFACDEFSET},
        {"an OEM 2 controller whose OEM-data read fails gets the disk wording", "one",
         {{"status", OEM, "3"}, {"status", INFO, "0x46", "--from", "2"}}, {"-AdpFacDefSet", "-a0"}, 0x46,
         BLANK_OUT + fwError(PASSPHRASE_INVALID) + exitLine("46"), fwError(PASSPHRASE_INVALID) + exitLine("46"),
         {sent(2, INFO, OK), sent(2, OEM, "status=0x03"), sent(2, INFO, "status=0x46")}, 0, oem2},
    });
}

// Damaged controller-information records: the record is taken as the firmware delivered it.
TEST_F(FaultsE2e, ShortAndCorruptControllerInformation)
{
    const std::string ran = UNSUPPORTED + exitLine("01");
    const std::vector<std::string> checked = {sent(2, INFO, OK), sent(2, OEM, OK), sent(2, INFO, OK)};
    const std::string tooNew = updateApplication(0, 256) + exitLine("01");
    // The forward level is a little-endian 16-bit word at 0x5FC: a record cut after its low
    // byte shows that byte alone.
    auto forwardLevel = [](int level) {
        return [level](nlohmann::json& state) { state["controllers"][0]["info"]["forwardCompatibility"] = level; };
    };
    expectScenarios({
        {"an empty record: discovery does not judge the PCI ids", "one", {{"short", INFO, "0"}},
         {"-AdpFacDefSet", "-a0"}, 1, BLANK_OUT + ran, ran, checked, TOKEN_ADPFACDEFSET},
        {"a record cut inside the forward level", "one", {{"short", INFO, "0x5FD"}}, {"-AdpFacDefSet", "-a0"}, 1,
         BLANK_OUT + updateApplication(0, 3) + exitLine("01"), updateApplication(0, 3) + exitLine("01"), checked, 0,
         forwardLevel(0x0203)},
        {"forward level 256", "one", {{"corrupt", INFO, "0x5FC", "0001"}}, {"-AdpFacDefSet", "-a0"}, 1,
         BLANK_OUT + tooNew, tooNew, checked},
        {"-aALL: adapter 0 too new, adapter 1 not checked", "two", {{"corrupt", INFO, "0x5FC", "0001", "--host", "2"}},
         {"-AdpFacDefSet", "-aALL"}, 1, BLANK_OUT + tooNew, tooNew,
         {sent(2, INFO, OK), sent(3, INFO, OK), sent(2, OEM, OK), sent(2, INFO, OK)}},
        {"-a0,1: adapter 1 too new after adapter 0 ran", "two", {{"corrupt", INFO, "0x5FC", "0100", "--host", "3"}},
         {"-AdpFacDefSet", "-a0,1"}, 1, "," + BLANK_OUT + UNSUPPORTED + updateApplication(1, 1) + exitLine("01"),
         UNSUPPORTED + updateApplication(1, 1) + exitLine("01"),
         {sent(2, INFO, OK), sent(2, OEM, OK), sent(2, INFO, OK), sent(3, INFO, OK), sent(3, OEM, OK),
          sent(3, INFO, OK)},
         TOKEN_ADPFACDEFSET},
        // The application's own backward level is 0: no firmware level is below it.
        {"backward level 0xFFFF does not stop the command", "one", {{"corrupt", INFO, "0x5FE", "ffff"}},
         {"-AdpFacDefSet", "-a0"}, 1, BLANK_OUT + ran, ran, checked, TOKEN_ADPFACDEFSET},
        // The check reads the record anew instead of trusting discovery's copy.
        {"only discovery's copy is too new", "one", {{"corrupt", INFO, "0x5FC", "0300", "--once"}},
         {"-AdpFacDefSet", "-a0"}, 1, BLANK_OUT + ran, ran, checked, TOKEN_ADPFACDEFSET},
    });
}

// The driver is not loaded: "/proc/devices" does not list it, so no node is opened and nothing
// is sent.
TEST_F(FaultsE2e, MissingDriver)
{
    const std::string undetected = NO_ID_LIST + NO_CP_CONTROLLER + exitLine("01");
    const std::vector<std::string> missing = {"missing-driver"};
    expectScenarios({
        {"no driver: no controller is counted", "one", {missing}, {"-AdpCount"}, 0,
         BLANK_OUT + controllerCount(0) + exitLine("00"), controllerCount(0) + exitLine("00"), {}},
        {"no driver: an adapter command", "one", {missing}, {"-AdpFacDefSet", "-a0"}, 1,
         BLANK_OUT + NOT_DETECTED + undetected, undetected, {}},
        // The detection error bypasses the printer, so -Silent does not hold it back.
        {"no driver, silent", "one", {missing}, {"-AdpFacDefSet", "-a0", "-Silent"}, 1, BLANK_OUT + NOT_DETECTED,
         undetected, {}},
        {"the software-RAID driver is missing: its host is not counted", "mixed", {{"missing-driver", "--driver", "1"}},
         {"-AdpCount"}, 1, BLANK_OUT + controllerCount(1) + exitLine("01"), controllerCount(1) + exitLine("01"),
         {sent(3, INFO, OK)}},
        {"the software-RAID driver is missing: the other controller is adapter 0", "mixed",
         {{"missing-driver", "--driver", "1"}}, {"-AdpFacDefSet", "-a1"}, 1,
         BLANK_OUT + NOT_PRESENT + NO_CP_CONTROLLER + exitLine("01"), NOT_PRESENT + NO_CP_CONTROLLER + exitLine("01"),
         {sent(3, INFO, OK)}},
        {"the hardware-RAID driver is missing: -aALL runs the software-RAID controller", "mixed",
         {{"missing-driver", "--driver", "0"}}, {"-AdpFacDefSet", "-aALL"}, 1, BLANK_OUT + UNSUPPORTED + exitLine("01"),
         UNSUPPORTED + exitLine("01"), {sent(1, INFO, OK), sent(1, OEM, OK), sent(1, INFO, OK)}, TOKEN_ADPFACDEFSET},
        {"a missing software-RAID driver leaves hardware-RAID hosts alone", "two", {{"missing-driver", "--driver", "1"}},
         {"-AdpCount"}, 2, BLANK_OUT + controllerCount(2) + exitLine("02"), controllerCount(2) + exitLine("02"),
         {sent(2, INFO, OK), sent(3, INFO, OK)}},
    });
}

}  // namespace
