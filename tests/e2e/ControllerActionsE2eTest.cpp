// The controller actions (cache flush, shutdown, restart, downgrade, timed diagnostic) through
// the real binary and simulated hosts: console, exit code, and the firmware commands that reached
// each controller, in order, with the mailbox of the action itself.
#include "FirmwareCaseE2e.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

namespace {

using namespace e2ecase;

const char* const FLUSH = "0x01101000";
const char* const SHUTDOWN = "0x01050000";
const char* const DOWNGRADE = "0x01190000";
const char* const DIAG = "0x01120100";

class ControllerActionsE2e : public FirmwareCaseE2e {};

const Lines DISCOVERED_2 = {sent(2, INFO)};
const Lines DISCOVERED_BOTH = {sent(2, INFO), sent(3, INFO)};

std::string flushDone(int a)
{
    return "Cache Flush is successfully done on adapter " + std::to_string(a) + ".\n";
}

}  // namespace

TEST_F(ControllerActionsE2e, CacheFlush)
{
    expectRuns({
        {"flushes with mailbox byte 0 = 3", "one", {}, {}, {"-AdpCacheFlush", "-a0"}, 0,
         BLANK_OUT + flushDone(0) + exitLine("00"), DISCOVERED_2 + action(2, false, {sent(2, FLUSH)}),
         {"opcode=0x01101000 mbox=0x00000003,0x00000000,0x00000000"}},
        {"a refused flush is the processor's own failure: -1", "one", {}, {{"status", FLUSH, "0x2d"}},
         {"-AdpCacheFlush", "-a0"}, 1, BLANK_OUT + "Cache Flush failed on adapter 0.\n" + exitLine("01"),
         DISCOVERED_2 + action(2, false, {sent(2, FLUSH, "0x2d")}), {}},
        {"-aALL", "two", {}, {}, {"-AdpCacheFlush", "-aALL"}, 0,
         BLANK_OUT + flushDone(0) + flushDone(1) + exitLine("00"),
         DISCOVERED_BOTH + action(2, false, {sent(2, FLUSH)}) + action(3, false, {sent(3, FLUSH)}), {}},
        {"-a0,1", "two", {}, {}, {"-AdpCacheFlush", "-a0,1"}, 0,
         "," + BLANK_OUT + flushDone(0) + flushDone(1) + exitLine("00"),
         DISCOVERED_2 + action(2, false, {sent(2, FLUSH)}) + Lines{sent(3, INFO)} + action(3, false, {sent(3, FLUSH)}),
         {}},
    }, {FLUSH});
}

TEST_F(ControllerActionsE2e, ShutDown)
{
    expectRuns({
        {"mailbox byte 0 = 1", "one", {}, {}, {"-AdpShutDown", "-a0"}, 0,
         BLANK_OUT + "Adapter 0: ShutDown Successfully\n" + exitLine("00"),
         DISCOVERED_2 + action(2, true, {sent(2, SHUTDOWN)}), {"opcode=0x01050000 mbox=0x00000001,0x00000000,0x00000000"}},
        {"a refusal passes the firmware status on", "one", {}, {{"status", SHUTDOWN, "0x2d"}}, {"-AdpShutDown", "-a0"},
         0x2d, BLANK_OUT + "Adapter 0: Failed to ShutDown\n" + DEVICE_BUSY + exitLine("2d"),
         DISCOVERED_2 + action(2, true, {sent(2, SHUTDOWN, "0x2d")}), {}},
        {"-aALL", "two", {}, {}, {"-AdpShutDown", "-aALL"}, 0,
         BLANK_OUT + "Adapter 0: ShutDown Successfully\nAdapter 1: ShutDown Successfully\n" + exitLine("00"),
         DISCOVERED_BOTH + action(2, true, {sent(2, SHUTDOWN)}) + action(3, true, {sent(3, SHUTDOWN)}), {}},
    }, {SHUTDOWN});
}

TEST_F(ControllerActionsE2e, Restart)
{
    const nlohmann::json capable = {{"info", {{"firmwareFeatures", 1}}}};
    expectRuns({
        {"capable: mailbox byte 1 = 1, nothing printed", "one", capable, {}, {"-AdpRestart", "-a0"}, 0,
         BLANK_OUT + exitLine("00"), DISCOVERED_2 + action(2, true, {sent(2, INFO), sent(2, SHUTDOWN)}),
         {"opcode=0x01050000 mbox=0x00000100,0x00000000,0x00000000"}},
        {"not capable: refused, no shutdown command", "one", {}, {}, {"-AdpRestart", "-a0"}, 1,
         BLANK_OUT + "Adapter Restart is not supported\n" + exitLine("01"), DISCOVERED_2 + action(2, true, {sent(2, INFO)}),
         {}},
        // The fourth read of the information is the processor's own: discovery's, then those of
        // the two refreshes come first.
        {"the information read fails", "one", capable, {{"status", INFO, "0x2d", "--from", "4"}}, {"-AdpRestart", "-a0"},
         0x2d, BLANK_OUT + "Adapter #0: Failed to Perform AdpAll information Operation.\n" + DEVICE_BUSY + exitLine("2d"),
         DISCOVERED_2 + action(2, true, {sent(2, INFO, "0x2d")}), {}},
        {"-aALL", "two", capable, {}, {"-AdpRestart", "-aALL"}, 0, BLANK_OUT + exitLine("00"),
         DISCOVERED_BOTH + action(2, true, {sent(2, INFO), sent(2, SHUTDOWN)}) +
             action(3, true, {sent(3, INFO), sent(3, SHUTDOWN)}),
         {}},
    }, {SHUTDOWN});
}

TEST_F(ControllerActionsE2e, Downgrade)
{
    expectRuns({
        {"done", "one", {}, {}, {"-AdpDowngrade", "-a0"}, 0,
         BLANK_OUT +
             "Please shut down your system and ensure that the memory module is disconnected from the controller and "
             "reboot the system.\n" +
             exitLine("00"),
         DISCOVERED_2 + action(2, true, {sent(2, DOWNGRADE)}), {}},
        {"refused", "one", {}, {{"status", DOWNGRADE, "0x2d"}}, {"-AdpDowngrade", "-a0"}, 0x2d,
         BLANK_OUT + "Failed to downgrade the controller.\n" + DEVICE_BUSY + exitLine("2d"),
         DISCOVERED_2 + action(2, true, {sent(2, DOWNGRADE, "0x2d")}), {}},
    }, {DOWNGRADE});
}

TEST_F(ControllerActionsE2e, Diagnostic)
{
    auto running = [](int a, const char* seconds) {
        return "Performing Diagnostic on Controller " + std::to_string(a) + ".\n It will take " + seconds +
               " seconds to complete. Please wait...\n";
    };
    auto completed = [](int a) { return "Diagnostic Completed on Controller " + std::to_string(a) + ".\n"; };
    auto refused = [](int a) {
        const std::string n = std::to_string(a);
        return "Running Diagnostics on Controller " + n + " for more than 180 Seconds\ncan result in driver disconnect.\n" +
               "\nFailed to Start Diagnostic on Controller " + n + "\n";
    };
    expectRuns({
        {"without a number: 20 seconds", "one", {}, {}, {"-AdpDiag", "-a0"}, 0,
         BLANK_OUT + running(0, "20") + completed(0) + exitLine("00"), DISCOVERED_2 + action(2, true, {sent(2, DIAG)}),
         {"opcode=0x01120100 mbox=0x00000014,0x00000000,0x00000000"}},
        {"at the limit", "one", {}, {}, {"-AdpDiag", "180", "-a0"}, 0,
         BLANK_OUT + running(0, "180") + completed(0) + exitLine("00"), DISCOVERED_2 + action(2, true, {sent(2, DIAG)}),
         {"opcode=0x01120100 mbox=0x000000b4,0x00000000,0x00000000"}},
        {"above it: nothing sent", "one", {}, {}, {"-AdpDiag", "181", "-a0"}, 1,
         BLANK_OUT + refused(0) + exitLine("01"), DISCOVERED_2 + checked(2), {}},
        {"the firmware fails it", "one", {}, {{"status", DIAG, "0x2d"}}, {"-AdpDiag", "5", "-a0"}, 0x2d,
         BLANK_OUT + running(0, "5") +
             "Error Occured when Performing Diagnostic on Controller 0.\nPlease view event log for details.\n" +
             DEVICE_BUSY + exitLine("2d"),
         DISCOVERED_2 + action(2, true, {sent(2, DIAG, "0x2d")}), {}},
        {"-a0,1 above the limit", "two", {}, {}, {"-AdpDiag", "181", "-a0,1"}, 1,
         "," + BLANK_OUT + refused(0) + refused(1) + exitLine("01"),
         DISCOVERED_2 + checked(2) + Lines{sent(3, INFO)} + checked(3), {}},
    }, {DIAG});
}

// The diagnostic's seconds run on the simulated clock: the host is that much older afterwards.
TEST_F(ControllerActionsE2e, DiagnosticAdvancesTheSimulatedClock)
{
    Case run = {"clock", "one", {}, {}, {"-AdpDiag", "90", "-a0"}, 0, "", {}, {}};
    const std::string dir = host(run);
    const uint64_t before = nlohmann::json::parse(readFile(dir + "/state.json")).value("clock", uint64_t(0));
    RunSpec spec;
    spec.args = run.args;
    spec.env = {{"QUILLCLI_SIM_HOST", dir}};
    RunResult r = runProgram(spec);
    cleanup.push_back(r.workDir);
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(nlohmann::json::parse(readFile(dir + "/state.json")).value("clock", uint64_t(0)), before + 90);
}

// ---------------------------------------------------------------------------------------------
// The BIOS settings and automatic rebuild. The BIOS command reads the controller information
// and the BIOS data itself and writes the whole record back; the simulated controller refuses
// BIOS data whose 64 bytes do not add up to 0, so every accepted write shows its checksum.

namespace {

const char* const BIOS_GET = "0x010c0100";
const char* const BIOS_SET = "0x010c0200";
const char* const PROPS_GET = "0x01020100";
const char* const PROPS_SET = "0x01020200";

nlohmann::json bios(const nlohmann::json& fields, unsigned firmwareFeatures = 0)
{
    nlohmann::json edit = {{"bios", fields}};
    if (firmwareFeatures != 0)
        edit["info"] = {{"firmwareFeatures", firmwareFeatures}};
    return edit;
}

Lines biosRun(unsigned host, bool written, const char* writeStatus = "0x00")
{
    Lines own = {sent(host, INFO), sent(host, BIOS_GET)};
    if (written)
        own.push_back(sent(host, BIOS_SET, writeStatus));
    return action(host, false, own);
}

}  // namespace

TEST_F(ControllerActionsE2e, BiosSettings)
{
    const nlohmann::json permitted = bios(nlohmann::json::object(), 4);
    expectRuns({
        {"display", "one", bios({{"biosDisabled", 1}, {"errorHandling", 3}, {"autoSelectBoot", 1}}), {},
         {"-AdpBIOS", "-Dsply", "-a0"}, 0,
         BLANK_OUT + "BIOS on Adapter 0 is Disabled.\n    BIOS will Safe Mode error.\n"
                     "Auto select Boot on Adapter 0 is Enabled.\n" + exitLine("00"),
         DISCOVERED_2 + biosRun(2, false), {}},
        {"display of an error mode beyond 3: no error line", "one", bios({{"errorHandling", 7}}), {},
         {"-AdpBIOS", "-Dsply", "-a0"}, 0,
         BLANK_OUT + "BIOS on Adapter 0 is Enabled.\nAuto select Boot on Adapter 0 is Disabled.\n" + exitLine("00"),
         DISCOVERED_2 + biosRun(2, false), {}},
        {"-Dsbl", "one", {}, {}, {"-AdpBIOS", "-Dsbl", "-a0"}, 0,
         BLANK_OUT + "BIOS is Disabled on Adapter 0.\n" + exitLine("00"), DISCOVERED_2 + biosRun(2, true), {}, nullptr,
         // No boot device, BIOS disabled, and the checksum that makes the 64 bytes add up to 0.
         {{BIOS_SET, 0, {{0, "ffff0100"}, {8, "000000"}, {63, "01"}}}}},
        {"-Dsbl when disabled: nothing written", "one", bios({{"biosDisabled", 1}}), {}, {"-AdpBIOS", "-Dsbl", "-a0"},
         0, BLANK_OUT + "BIOS is Already Disabled on Adapter 0.\n" + exitLine("00"), DISCOVERED_2 + biosRun(2, false),
         {}},
        {"-Enbl", "one", bios({{"biosDisabled", 1}}), {}, {"-AdpBIOS", "-Enbl", "-a0"}, 0,
         BLANK_OUT + "BIOS is Enabled on Adapter 0.\n" + exitLine("00"), DISCOVERED_2 + biosRun(2, true), {}, nullptr,
         {{BIOS_SET, 0, {{0, "ffff0000"}, {8, "000000"}, {63, "02"}}}}},
        {"-SOE", "one", bios({{"errorHandling", 1}}), {}, {"-AdpBIOS", "-SOE", "-a0"}, 0,
         BLANK_OUT + "BIOS is set to Stop On Error on Adapter 0.\n" + exitLine("00"), DISCOVERED_2 + biosRun(2, true),
         {}, nullptr, {{BIOS_SET, 0, {{0, "ffff0000"}, {8, "000000"}, {63, "02"}}}}},
        {"-BE", "one", {}, {}, {"-AdpBIOS", "-BE", "-a0"}, 0,
         BLANK_OUT + "BIOS is set to Bypass Error on Adapter 0.\n" + exitLine("00"), DISCOVERED_2 + biosRun(2, true),
         {}, nullptr, {{BIOS_SET, 0, {{0, "ffff0001"}, {8, "000000"}, {63, "01"}}}}},
        {"-BE when bypassing", "one", bios({{"errorHandling", 1}}), {}, {"-AdpBIOS", "-BE", "-a0"}, 0,
         BLANK_OUT + "BIOS is Already Bypass Error on Adapter 0.\n" + exitLine("00"), DISCOVERED_2 + biosRun(2, false),
         {}},
        {"-HCOE permitted", "one", permitted, {}, {"-AdpBIOS", "-HCOE", "-a0"}, 0,
         BLANK_OUT + "BIOS is set to Ignore Error on Adapter 0.\n" + exitLine("00"), DISCOVERED_2 + biosRun(2, true),
         {}},
        {"-HSM permitted", "one", permitted, {}, {"-AdpBIOS", "-HSM", "-a0"}, 0,
         BLANK_OUT + "BIOS is set to Safe Mode on Adapter 0.\n" + exitLine("00"), DISCOVERED_2 + biosRun(2, true), {}},
        {"-HSM without permission: -1, silent, nothing written", "one", {}, {}, {"-AdpBIOS", "-HSM", "-a0"}, 1,
         BLANK_OUT + exitLine("01"), DISCOVERED_2 + biosRun(2, false), {}},
        {"-HSM without permission on safe mode: the already test comes first", "one", bios({{"errorHandling", 3}}), {},
         {"-AdpBIOS", "-HSM", "-a0"}, 0, BLANK_OUT + "BIOS is Already Safe Mode on Adapter 0.\n" + exitLine("00"),
         DISCOVERED_2 + biosRun(2, false), {}},
        {"EnblAutoSelectBootLd", "one", {}, {}, {"-AdpBIOS", "EnblAutoSelectBootLd", "-a0"}, 0,
         BLANK_OUT + "Auto Select Boot is Enabled on Adapter 0.\n" + exitLine("00"), DISCOVERED_2 + biosRun(2, true),
         {}},
        {"DsblAutoSelectBootLd when disabled", "one", {}, {}, {"-AdpBIOS", "DsblAutoSelectBootLd", "-a0"}, 0,
         BLANK_OUT + "Auto select Boot is already Disabled on Adapter 0.\n" + exitLine("00"),
         DISCOVERED_2 + biosRun(2, false), {}},
        {"a refused write", "one", {}, {{"status", BIOS_SET, "0x2d"}}, {"-AdpBIOS", "-Enbl", "-a0"}, 0,
         BLANK_OUT + "BIOS is Already Enabled on Adapter 0.\n" + exitLine("00"), DISCOVERED_2 + biosRun(2, false), {}},
        {"a refused write of the auto select", "one", {}, {{"status", BIOS_SET, "0x2d"}},
         {"-AdpBIOS", "EnblAutoSelectBootLd", "-a0"}, 1,
         BLANK_OUT + "Failed to Enable Auto select Boot on Adapter 0.\n" + exitLine("01"),
         DISCOVERED_2 + biosRun(2, true, "0x2d"), {}},
        {"the BIOS data cannot be read", "one", {}, {{"status", BIOS_GET, "0x2d"}}, {"-AdpBIOS", "-Dsply", "-a0"}, 1,
         BLANK_OUT + "Failed to get data on Adapter 0\n" + exitLine("01"),
         DISCOVERED_2 + action(2, false, {sent(2, INFO), sent(2, BIOS_GET, "0x2d")}), {}},
        {"the information cannot be read", "one", {}, {{"status", INFO, "0x2d", "--from", "3"}},
         {"-AdpBIOS", "-Dsply", "-a0"}, 0x2d,
         BLANK_OUT + "Adapter #0: Failed to Perform AdpAll information Operation.\n" + DEVICE_BUSY + exitLine("2d"),
         DISCOVERED_2 + action(2, false, {sent(2, INFO, "0x2d")}), {}},
        {"-aALL", "two", {}, {}, {"-AdpBIOS", "-Dsbl", "-aALL"}, 0,
         BLANK_OUT + "BIOS is Disabled on Adapter 0.\nBIOS is Disabled on Adapter 1.\n" + exitLine("00"),
         DISCOVERED_BOTH + biosRun(2, true) + biosRun(3, true), {}},
        {"-a0,1", "two", {}, {}, {"-AdpBIOS", "-Dsbl", "-a0,1"}, 0,
         "," + BLANK_OUT + "BIOS is Disabled on Adapter 0.\nBIOS is Disabled on Adapter 1.\n" + exitLine("00"),
         DISCOVERED_2 + biosRun(2, true) + Lines{sent(3, INFO)} + biosRun(3, true), {}},
    }, {BIOS_SET});
}

TEST_F(ControllerActionsE2e, AutoRebuild)
{
    const nlohmann::json disabled = {{"properties", {{"autoRebuildDisabled", 1}}}};
    expectRuns({
        {"-Dsply", "one", {}, {}, {"-AdpAutoRbld", "-Dsply", "-a0"}, 0,
         BLANK_OUT + "Adapter 0: AutoRebuild is Enabled.\n" + exitLine("00"),
         DISCOVERED_2 + action(2, false, {sent(2, PROPS_GET)}), {}},
        {"-Dsply when disabled", "one", disabled, {}, {"-AdpAutoRbld", "-Dsply", "-a0"}, 0,
         BLANK_OUT + "Adapter 0: AutoRebuild is Disabled.\n" + exitLine("00"),
         DISCOVERED_2 + action(2, false, {sent(2, PROPS_GET)}), {}},
        {"-Dsbl: one write", "one", {}, {}, {"-AdpAutoRbld", "-Dsbl", "-a0"}, 0,
         BLANK_OUT + "Adapter 0: AutoRebuild is Disabled.\n" + exitLine("00"),
         DISCOVERED_2 + action(2, false, {sent(2, PROPS_GET), sent(2, PROPS_SET)}), {}},
        {"-Enbl", "one", disabled, {}, {"-AdpAutoRbld", "-Enbl", "-a0"}, 0,
         BLANK_OUT + "Adapter 0: AutoRebuild is Enabled.\n" + exitLine("00"),
         DISCOVERED_2 + action(2, false, {sent(2, PROPS_GET), sent(2, PROPS_SET)}), {}},
        {"the properties cannot be read", "one", {}, {{"status", PROPS_GET, "0x2d"}}, {"-AdpAutoRbld", "-Enbl", "-a0"}, 1,
         BLANK_OUT + "Failed to Set data on Adapter 0\n" + exitLine("01"),
         DISCOVERED_2 + action(2, false, {sent(2, PROPS_GET, "0x2d")}), {}},
        {"-Dsply: the properties cannot be read", "one", {}, {{"status", PROPS_GET, "0x2d"}},
         {"-AdpAutoRbld", "-Dsply", "-a0"}, 1, BLANK_OUT + "Failed to get data on Adapter 0\n" + exitLine("01"),
         DISCOVERED_2 + action(2, false, {sent(2, PROPS_GET, "0x2d")}), {}},
        {"a refused write", "one", {}, {{"status", PROPS_SET, "0x2d"}}, {"-AdpAutoRbld", "-Dsbl", "-a0"}, 1,
         BLANK_OUT + "Failed to Set data on Adapter 0\n" + exitLine("01"),
         DISCOVERED_2 + action(2, false, {sent(2, PROPS_GET), sent(2, PROPS_SET, "0x2d")}), {}},
        {"-aALL", "two", {}, {}, {"-AdpAutoRbld", "-Dsbl", "-aALL"}, 0,
         BLANK_OUT + "Adapter 0: AutoRebuild is Disabled.\nAdapter 1: AutoRebuild is Disabled.\n" + exitLine("00"),
         DISCOVERED_BOTH + action(2, false, {sent(2, PROPS_GET), sent(2, PROPS_SET)}) +
             action(3, false, {sent(3, PROPS_GET), sent(3, PROPS_SET)}),
         {}},
    }, {PROPS_SET});
}
