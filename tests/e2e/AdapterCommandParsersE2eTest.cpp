// The adapter command lines, and the drive-list and virtual-drive information lines, through
// the real QuillCli binary against a simulated host with two controllers. Each row pins what
// the administrator sees and the exit code: an accepted line passes the grammar and the parser
// and reaches the dispatch of its adapters; a refused line ends with the parser's message (if
// any) and the parse-failure message.
//
// While a command has no processor, its accepted lines end "Un-supported command" (once per
// adapter of an explicit list; with -aALL the first adapter's failure ends the command) and
// exit 1: the rows say so with NO_PROCESSOR_YET. When a command's processor lands, its rows
// take the processor's output instead.
#include "E2eHarness.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// One adapter of a command without processor.
const std::string NO_PROCESSOR_YET = UNSUPPORTED + exitLine("01");
const std::string REFUSED = PARSE_FAILED + exitLine("01");

struct Row {
    std::vector<std::string> args;
    std::string echo;      // the characters the scanner echoes (one ',' per list separator)
    int exitCode;
    std::string output;    // what follows the blank-out line
};

std::string joined(const std::vector<std::string>& args)
{
    std::string line;
    for (const std::string& a : args)
        line += (line.empty() ? "" : " ") + a;
    return line;
}

class AdapterCommandParsersE2e : public ::testing::Test {
protected:
    void expectRows(const std::vector<Row>& rows)
    {
        for (const Row& row : rows) {
            SCOPED_TRACE(joined(row.args));
            std::string host = makeSimHost("two");
            RunSpec spec;
            spec.args = row.args;
            spec.env = {{"QUILLCLI_SIM_HOST", host}};
            RunResult r = runProgram(spec);
            EXPECT_EQ(r.exitCode, row.exitCode);
            EXPECT_EQ(r.out, row.echo + BLANK_OUT + row.output);
            EXPECT_EQ(r.err, "");
            removeTree(r.workDir);
            removeTree(host.substr(0, host.rfind('/')));
        }
    }
};

}  // namespace

TEST_F(AdapterCommandParsersE2e, SimpleAdapterCommandsAndFlash)
{
    // -AdpAllInfo's display is pinned by AdpAllInfoE2eTest.cpp; silenced, it shows nothing.
    expectRows({
        // No such file: each adapter's flash ends before anything is sent.
        {{"-AdpFwFlash", "-f", "fw.rom", "-ResetNow", "-NoVerChk", "-NoSigChk", "-FwType", "1", "-a0,1"}, ",", 1,
         "ERROR: Failed to open file fw.rom.\nERROR: Failed to open file fw.rom.\n" + exitLine("01")},
        {{"-Version", "-Cli", "-a0"}, "", 0,
         "\n      QuillCLI SAS RAID Management Tool  Ver 1.02.00 Dec 10, 2026\n\n" + exitLine("00")},
        {{"-AdpGetPciInfo", "-aALL"}, "", 0,
         "PCI information for Controller 0\n--------------------------------\nBus Number      : 3\nDevice Number   : 0\n"
         "Function Number : 0\n\nPCI information for Controller 1\n--------------------------------\n"
         "Bus Number      : 4\nDevice Number   : 0\nFunction Number : 0\n\n" + exitLine("00")},
        {{"-AdpAllInfo", "-a0", "-Silent"}, "", 0, ""},
        {{"-AdpFwFlash", "-f", "fw.rom", "-FwType", "300", "-a0"}, "", 1, REFUSED},
        {{"-AdpRestart", "-a251"}, "", 1, "Invalid Adapter number.\n" + REFUSED},
    });
}

TEST_F(AdapterCommandParsersE2e, ControllerProperties)
{
    expectRows({
        {{"-AdpSetProp", "RebuildRate", "30", "-a0"}, "", 0, "Adapter 0: Set rebuild rate to 30% success.\n" + exitLine("00")},
        {{"-AdpGetProp", "AlarmDsply", "-a0"}, "", 0, "Adapter 0: Alarm Status is Missing\n" + exitLine("00")},
        {{"-AdpSetProp", "PerfMode", "1", "MaxFlushLines", "10", "NumIOsToOrder", "2", "-a1"}, "", 1,
         "Fw Not Support Perf Tuning\n" + exitLine("01")},
        {{"-AdpSetProp", "-DisableLdPS", "-interval", "6", "-time", "22", "-a0"}, "", 1,
         "Adapter does not support Power savings on logical drives.\n" + exitLine("01")},
        {{"-AdpSetProp", "RebuildRate", "101", "-a0"}, "", 1, REFUSED},
        {{"-AdpSetProp", "PerfMode", "1", "MaxFlushLines", "300", "NumIOsToOrder", "5", "-a0"}, "", 1, REFUSED},
        {{"-AdpSetProp", "SecureAllPDs", "1", "-a0"}, "", 1, REFUSED},
    });
}

TEST_F(AdapterCommandParsersE2e, SettingsConnectorsAndLinkSpeed)
{
    expectRows({
        // The described controllers are not of the OEM the command serves: refused silently.
        {{"-AdpSettings", "-Read", "-f", "settings.txt", "-a0"}, "", 1, exitLine("01")},
        {{"-AdpSetConnectorMode", "-External", "-Connector0,1", "-a0"}, ",", 1,
         "Adapter #0: No Connector is Found.\n" + exitLine("01")},
        {{"-PciSetLinkSpeed", "2", "-aALL"}, "", 1, exitLine("01")},
        {{"-AdpGetConnectorMode", "-Connector256", "-a0"}, "", 1, REFUSED},
        {{"-PciSetLinkSpeed", "258", "-a0"}, "", 1, REFUSED},
    });
}

TEST_F(AdapterCommandParsersE2e, MonitorsAndEventCapture)
{
    expectRows({
        {{"-AdpAEC", "-Get", "-a0"}, "", 0, "Events are captured in the file KWAEC.dat\n" + exitLine("00")},
        {{"-DpmStat", "-Dsply", "-Hist", "-PhysDrv[252:9]", "-a0"}, "", 0,
         "Drive Performance Monitor Configuration for 0\nPerformance Monitor: OFF\nMax commands for averaging: 0\n"
         "Max latency commands to save: 0\n\nAdapter 0: Device at Enclosure - 252, Slot - 9 is not found.\n" +
             exitLine("00")},
        // The described controllers do not announce the monitor.
        {{"-PerfMon", "-Start", "-Interval", "1440", "-a0"}, "", 1,
         "Performance Monitor is not supported\n" + exitLine("01")},
        {{"-PerfMon", "-Start", "-Interval", "0", "-a0"}, "", 1, REFUSED},
        {{"-PerfMon", "-Start", "-Interval", "65541", "-a0"}, "", 1, REFUSED},
        {{"-DpmStat", "-Dsply", "-Hist", "-PhysDrv[252:3,252:4]", "-a0"}, "", 1, REFUSED},
        {{"-AdpAEC", "-Filter", "12", "-Group", "259", "-a0"}, "", 1, REFUSED},
    });
}

TEST_F(AdapterCommandParsersE2e, ConsistencyCheckScheduleAndReports)
{
    expectRows({
        {{"-AdpCcSched", "-ModeConc", "-ExcludeLD", "-L1,3", "-SetStartTime", "20280229", "23", "-SetDelay", "168",
          "-a0"},
         ",", 1, "Adapter 0: Virtual Drive 1 Does not Exist.\n" + exitLine("01")},
        // Into a file (the preset's enclosure is read through its own drive-list entry): only
        // the newlines the summary prints on the screen in either mode reach it.
        {{"-ShowSummary", "-f", "s.txt", "-a0"}, "", 0, "\n\n\n" + exitLine("00")},
        {{"-AdpCcSched", "-SetStartTime", "20280230", "1", "-a0"}, "", 1, REFUSED},
        {{"-AdpCcSched", "-SetStartTime", "20280229", "24", "-a0"}, "", 1, REFUSED},
        {{"-AdpCcSched", "-SetDelay", "1193047", "-a0"}, "", 1, "Invalid Delay Value \n" + REFUSED},
    });
}

TEST_F(AdapterCommandParsersE2e, DriveAndVirtualDriveInformationLines)
{
    expectRows({
        {{"-GetPreservedCacheList", "-a0"}, "", 0, "Adapter 0: No Virtual Drive has Preserved Cache Data.\n" + exitLine("00")},
        {{"-DiscardPreservedCache", "-L2", "-Force", "-a0"}, "", 0,
         "Adapter 0: No Virtual Drive has Preserved Cache Data.\n" + exitLine("00")},
        // The layout and free-space displays are pinned by LdViewsE2eTest.cpp; silenced, they
        // show nothing.
        {{"-LdPdInfo", "-aALL", "-Silent"}, "", 0, ""},
        {{"-CfgFreeSpaceinfo", "-a0,1", "-Silent"}, ",", 0, ""},
        {{"-pdInfo", "-PhysDrv[252:256]", "-a0"}, "", 1, REFUSED},
        {{"-LDInfo", "-L1", "-a0,251"}, ",", 1, "Invalid Adapter number.\n" + REFUSED},
    });
}

TEST_F(AdapterCommandParsersE2e, EventLogAndBattery)
{
    expectRows({
        // No warning or information event is logged: "no such event" on each adapter.
        {{"-AdpEventLog", "-GetEvents", "-warning", "-info", "-f", "ev.txt", "-a0,1"}, ",", 1,
         "Success in AdpEventLog\nSuccess in AdpEventLog\n" + exitLine("01")},
        // An empty log: no inconsistency report.
        {{"-AdpEventLog", "-GetCCIncon", "-f", "cc.txt", "-L0,2", "-a0"}, ",", 0,
         "Adapter 0: No VD related event logged.\nSuccess in AdpEventLog\n" + exitLine("00")},
        {{"-AdpEventLog", "-Clear", "-aALL"}, "", 0, "Success in AdpEventLog\nSuccess in AdpEventLog\n" + exitLine("00")},
        {{"-AdpBbuCmd", "-BbuMfgSleep", "-a0"}, "", 0, "Adapter 0: BBU MFG Sleep Succeeded.\n" + exitLine("00")},
        {{"-AdpBbuCmd", "-GetGGEEPData", "-Offset", "0x1A", "-NumBytes", "16", "-a0"}, "", 3,
         "Adapter #0\n\nData Received (in decimal) = 0 \n\nFW error description: \n The requested command has invalid "
         "arguments.  \n" + exitLine("03")},
        {{"-AdpBbuCmd", "-ScheduleLearn", "-STARTTIME", "mon", "22", "-a0,1"}, ",", 1,
         "Adapter 0: Real Time Scheduling is not supported.\nAdapter 1: Real Time Scheduling is not supported.\n" +
             exitLine("01")},
        {{"-AdpEventLog", "-GetLatest", "65556", "-a0"}, "", 1, REFUSED},
        {{"-AdpBbuCmd", "-GetGGEEPData", "-Offset", "0x1G", "-NumBytes", "16", "-a0"}, "", 1, REFUSED},
        {{"-AdpBbuCmd", "-ScheduleLearn", "-STARTTIME", "Monday", "22", "-a0"}, "", 1,
         "Invalid Day! Check help File.\n" + REFUSED},
        {{"-AdpBbuCmd", "-ScheduleLearn", "-STARTTIME", "SUN", "24", "-a0"}, "", 1, "Invalid Hour!\n" + REFUSED},
    });
}

TEST_F(AdapterCommandParsersE2e, BiosBootDriveAndAutoRebuild)
{
    expectRows({
        // Safe mode on controllers that do not permit it: refused without a message.
        {{"-AdpBIOS", "-HSM", "-aALL"}, "", 1, exitLine("01")},
        {{"-AdpAutoRbld", "-Dsbl", "-a0,1"}, ",", 0,
         "Adapter 0: AutoRebuild is Disabled.\nAdapter 1: AutoRebuild is Disabled.\n" + exitLine("00")},
        {{"-AdpBootDrive", "-Unset", "-PhysDrv[32:4]", "-a0"}, "", 1,
         "Adapter 0: Device at Enclosure - 32, Slot - 4 is not found.\n" + exitLine("01")},
        {{"-AdpBootDrive", "-Set", "-L2", "-a0"}, "", 1, "Adapter 0: Virtual Drive 2 Does not Exist.\n" + exitLine("01")},
        {{"-AdpBootDrive", "-Set", "-PhysDrv[32:4,32:5]", "-a0"}, "", 1, REFUSED},
    });
}

TEST_F(AdapterCommandParsersE2e, TimePatrolReadPhyVerifyAndTerminalLog)
{
    expectRows({
        {{"-AdpGetTime", "-a0"}, "", 0, "\nAdapter 0:\n    Date: 03/03/2014\n    Time: 10:21:07\n" + exitLine("00")},
        {{"-AdpSetTime", "13:05:00", "20240229", "-a0,1"}, "::,", 0,
         "New date/time is set on Adapter 0\nNew date/time is set on Adapter 1\n" + exitLine("00")},
        {{"-AdpPR", "-SetStartTime", "20250301", "23", "-a0"}, "", 0, "Adapter 0: Patrol Read start time is set.\n" + exitLine("00")},
        {{"-PhyInfo", "-phy3", "-a0"}, "", 1, "Phy No. 3  is Invalid\n" + exitLine("01")},
        // The first adapter's failure ends the run.
        {{"-AdpSetVerify", "-f", "oem.txt", "-aALL"}, "", 1,
         "Adapter #0\n\nERROR: Failed to open file oem.txt.\n" + exitLine("01")},
        {{"-FwTermLog", "-BBUGet", "-a0"}, "", 0, "Battery is ON for TTY history on Adapter 0\n" + exitLine("00")},
        {{"-AdpSetTime", "20230229", "13:05:00", "-a0"}, "::", 1, REFUSED},
        {{"-AdpSetTime", "00000229", "13:05:00", "-a0"}, "::", 1, REFUSED},
        {{"-AdpPR", "-SetDelay", "65536", "-a0"}, "", 1,
         "Invalid value provided! Valid values are 0 ~ 65535.\n" + REFUSED},
        {{"-AdpPR", "-SetStartTime", "19991231", "23", "-a0"}, "", 1, REFUSED},
        {{"-PhyInfo", "-phy259", "-a0"}, "", 1, REFUSED},
    });
}

// The version command shows one banner per adapter it names (adapter 0 when it names none, every
// controller for -aALL). An adapter number that names no adapter is reported and the version is
// still shown, for the adapters accepted before it (HelpE2eTest.cpp has the help lines); every
// other command refuses the number.
TEST_F(AdapterCommandParsersE2e, VersionAndHelp)
{
    const std::string banner = "\n      QuillCLI SAS RAID Management Tool  Ver 1.02.00 Dec 10, 2026\n\n";
    expectRows({
        {{"-v"}, "", 0, banner + exitLine("00")},
        {{"-v", "-a0,1"}, ",", 0, banner + banner + exitLine("00")},
        {{"-v", "-aALL"}, "", 0, banner + banner + exitLine("00")},
        {{"-v", "-a251"}, "", 0, "Invalid Adapter number.\n" + banner + exitLine("00")},
        {{"-v", "-a0,251"}, ",", 0, "Invalid Adapter number.\n" + banner + exitLine("00")},
        {{"-v", "-a1,251"}, ",", 0, "Invalid Adapter number.\n" + banner + exitLine("00")},
        {{"-AdpGetPciInfo", "-a0,251"}, ",", 1, "Invalid Adapter number.\n" + REFUSED},
        {{"-AdpAllInfo", "-a251"}, "", 1, "Invalid Adapter number.\n" + REFUSED},
    });
}
