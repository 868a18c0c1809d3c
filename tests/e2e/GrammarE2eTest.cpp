// The command grammar through the real QuillCli binary: every command family, valid and
// invalid lines, and hostile input. The expected screen text is built from the scanner's echo,
// the rejection message and the blank-out line, as an administrator sees them.
#include "E2eHarness.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "Parser/ParserFactory.h"
#include "Parser/TokenIds.h"

namespace {

const std::string EXIT_1 = "\nExit Code: 0x01\n";

// The message printer keeps at most 2047 characters of one formatted text, so a message naming
// a very long word is cut there.
const size_t PRINTED_TEXT_LIMIT = 2047;

std::string rejection(const std::string& word)
{
    std::string text = "\rInvalid input at or near token " + word + std::string(43, ' ') + "\n";
    return text.substr(0, PRINTED_TEXT_LIMIT);
}

std::string shown(const std::vector<std::string>& args)
{
    std::string line;
    for (const std::string& a : args)
        line += (line.empty() ? "" : " ") + (a.size() > 60 ? a.substr(0, 60) + "..." : a);
    return line;
}

// A line the grammar accepts: the command token it starts with and what the scanner echoes.
struct Accepted {
    unsigned short command;
    std::vector<std::string> args;
    std::string echo;
};

// A line the grammar rejects: the echo before the message, the word the message names and,
// when the first word is no command, the echo of the rest of the line, which is still read.
struct Rejected {
    std::vector<std::string> args;
    std::string word;
    std::string before;
    std::string after;
};

class GrammarE2e : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        simHost = makeSimHost("one");
    }
    static void TearDownTestSuite()
    {
        removeTree(simHost.substr(0, simHost.rfind('/')));
        simHost.clear();
    }

    static RunResult run(const std::vector<std::string>& args)
    {
        RunSpec spec;
        spec.args = args;
        spec.env = {{"QUILLCLI_SIM_HOST", simHost}};
        RunResult r = runProgram(spec);
        removeTree(r.workDir);
        return r;
    }

    // A valid line prints its echo and the blank-out line before anything else. While its
    // command has no parser nothing follows but the exit line with 1; once it has one, what
    // follows is the command's own business.
    static void expectAccepted(const std::vector<Accepted>& lines)
    {
        for (const Accepted& line : lines) {
            SCOPED_TRACE(shown(line.args));
            RunResult r = run(line.args);
            std::string head = line.echo + BLANK_OUT;
            if (!ParserFactory::instance()->hasCreator(line.command)) {
                EXPECT_EQ(r.out, head + EXIT_1);
                EXPECT_EQ(r.exitCode, 1);
                EXPECT_TRUE(r.files.empty()) << "nothing reaches a log";
            } else {
                EXPECT_EQ(r.out.substr(0, head.size()), head);
                EXPECT_EQ(r.out.find("Invalid input"), std::string::npos);
            }
            EXPECT_EQ(r.err, "");
        }
    }

    // A rejected line prints one message and the exit line with 1; none of it is logged.
    static void expectRejected(const std::vector<Rejected>& lines)
    {
        for (const Rejected& line : lines) {
            SCOPED_TRACE(shown(line.args));
            RunResult r = run(line.args);
            EXPECT_EQ(r.out, line.before + rejection(line.word) + line.after + EXIT_1);
            EXPECT_EQ(r.exitCode, 1);
            EXPECT_TRUE(r.files.empty()) << "rejections never reach the console log";
            EXPECT_EQ(r.err, "");
        }
    }

    static std::string simHost;
};

std::string GrammarE2e::simHost;

TEST_F(GrammarE2e, AdapterInformationAndProperties)
{
    expectAccepted({
        {TOKEN_ADPALLINFO, {"-AdpAllInfo", "-aALL"}, ""},
        {TOKEN_ADPALLINFO, {"-adpallinfo", "-a0,1"}, ","},
        {TOKEN_ADPALLINFO, {"AdpAllInfo", "-a", "0"}, ""},
        {TOKEN_GET_ADPPROPERTY, {"-AdpGetProp", "RebuildRate", "-a0"}, ""},
        {TOKEN_SET_ADPPROPERTY, {"-AdpSetProp", "RebuildRate", "30", "-a0"}, ""},
        {TOKEN_SET_ADPPROPERTY, {"-AdpSetProp", "-AlarmEnbl", "-aALL"}, ""},
        {TOKEN_SET_ADPPROPERTY, {"-AdpSetProp", "DefaultSnapshotSpace", "20%", "-a0"}, ""},
        {TOKEN_SET_ADPPROPERTY,
         {"-AdpSetProp", "-PerfMode", "1", "-MaxFlushLines", "4", "-NumIOsToOrder", "8", "-a0"}, ""},
        {TOKEN_ADPGETPCIINFO, {"-AdpGetPciInfo", "-aALL"}, ""},
        {TOKEN_SHOWSUMMARY, {"-ShowSummary", "-f", "summary.txt", "-a0"}, ""},
    });
    expectRejected({
        {{"-AdpAllInfo"}, "-AdpAllInfo", "", ""},
        {{"-AdpGetProp", "-a0"}, "-a", "", ""},
        {{"-AdpSetProp", "RebuildRate", "-a0"}, "-a", "", ""},
        {{"-AdpGetProp", "RebuildRate", "CCRate", "-a0"}, "CCRate", "", ""},
        {{"-AdpSetProp", "-Name", "x", "-a0"}, "-Name", "", ""},
        {{"-AdpSetSasA", "5a0b", "-aALL"}, "-aALL", "", ""},
    });
}

TEST_F(GrammarE2e, FirmwareAndTime)
{
    expectAccepted({
        {TOKEN_ADPFWFLASH, {"-AdpFwFlash", "-f", "fw.rom", "-NoSigChk", "-NoVerChk", "-a0"}, ""},
        {TOKEN_ADPFWFLASH, {"-AdpFwFlash", "-f", "-fw.rom", "-NoVerChk", "-NoSigChk", "-aALL"}, ""},
        {TOKEN_ADPFWFLASH, {"-AdpFwFlash", "-f", "fw.rom", "-ResetNow", "-NoSigChk", "-FwType", "2", "-a0"}, ""},
        {TOKEN_ADPM0FLASH, {"-AdpM0Flash", "-f", "m0.rom"}, ""},
        {TOKEN_ADPFWDUMP, {"-AdpFwDump"}, ""},
        {TOKEN_SETTIME, {"-AdpSetTime", "20240101", "12", "30", "45", "-a0"}, ""},
        {TOKEN_GETTIME, {"-AdpGetTime", "-aALL"}, ""},
    });
    expectRejected({
        {{"-AdpFwFlash", "-f", "fw.rom", "-NoSigChk", "-ResetNow", "-a0"}, "-ResetNow", "", ""},
        {{"-AdpFwFlash", "-a0"}, "-a", "", ""},
        {{"-AdpM0Flash", "-f", "m0.rom", "-a0"}, "-a", "", ""},
        {{"-AdpSetTime", "20240101", "12", "30", "-a0"}, "-a", "", ""},
        {{"-AdpGetTime", "-a0", "-a1"}, "-a", "", ""},
    });
}

TEST_F(GrammarE2e, EventLogBatteryPatrolReadDiagnosticsPerformance)
{
    expectAccepted({
        {TOKEN_ADPEVENTLOG, {"-AdpEventLog", "-GetEvents", "-f", "events.txt", "-a0"}, ""},
        {TOKEN_ADPEVENTLOG, {"-AdpEventLog", "-GetEvents", "-Fatal", "-Info", "-f", "ev.txt", "-aALL"}, ""},
        {TOKEN_ADPEVENTLOG, {"-AdpEventLog", "-GetLatest", "20", "-Warning", "-Critical", "-aALL"}, ""},
        {TOKEN_ADPEVENTLOG, {"-AdpEventLog", "-GetCCIncon", "-f", "cc.txt", "-L0,1", "-a0"}, ","},
        {TOKEN_ADPEVENTLOG, {"-AdpEventLog", "-Clear", "-a0"}, ""},
        {TOKEN_ADPBBUCMD, {"-AdpBbuCmd", "-a0"}, ""},
        {TOKEN_ADPBBUCMD, {"-AdpBbuCmd", "-GetBbuStatus", "-aALL"}, ""},
        {TOKEN_ADPBBUCMD, {"-AdpBbuCmd", "-GetGGEEPData", "-Offset", "0x10", "-NumBytes", "16", "-a0"}, ""},
        {TOKEN_ADPBBUCMD, {"-AdpBbuCmd", "-ScheduleLearn", "-StartTime", "Mon", "10", "-a0"}, ""},
        {TOKEN_ADPPR, {"-AdpPR", "-EnblAuto", "-a0"}, ""},
        {TOKEN_ADPPR, {"-AdpPR", "-SetStartTime", "20240101", "3", "-a0"}, ""},
        {TOKEN_ADPPR, {"-AdpPR", "-MaxConcurrentPD", "4", "-aALL"}, ""},
        {TOKEN_PRSETDELAY, {"-SetDelay", "5", "-a0"}, ""},
        {TOKEN_CC_SCHEDULING, {"-AdpCcSched", "-ModeConc", "-ExcludeLD", "-L0,1", "-SetDelay", "24", "-a0"}, ","},
        {TOKEN_ADPDIAG, {"-AdpDiag", "-a0"}, ""},
        {TOKEN_ADPDIAG, {"-AdpDiag", "30", "-aALL"}, ""},
        {TOKEN_ADPBATTEST, {"-AdpBatTest", "-a0"}, ""},
        {TOKEN_FULLSTRSEEKTEST, {"-FullStrSeekTest", "-a0"}, ""},
        {TOKEN_PERFMON, {"-PerfMon", "-Start", "-Interval", "5", "-a0"}, ""},
        {TOKEN_PERFMON, {"-PerfMon", "-GetResults", "-Format", "CSV", "-f", "out.csv", "-a0"}, ""},
        {TOKEN_DPMSTAT, {"-DpmStat", "-Dsply", "-Ext", "-PhysDrv[252:0]", "-a0"}, ""},
    });
    expectRejected({
        {{"-AdpEventLog", "-GetEvents", "-Warning", "-Warning", "-a0"}, "-Warning", "", ""},
        {{"-AdpEventLog", "-GetLatest", "-a0"}, "-a", "", ""},
        {{"-AdpBbuCmd", "-GetBbuStatus", "-BbuLearn", "-a0"}, "-BbuLearn", "", ""},
        {{"-AdpPR", "-a0"}, "-a", "", ""},
        {{"-AdpPR", "-Start", "-Stop", "-a0"}, "-Stop", "", ""},
        {{"-AdpDiag", "30", "40", "-a0"}, "40", "", ""},
        {{"-PerfMon", "-GetResults", "-a0"}, "-a", "", ""},
        {{"-DpmStat", "-Clear", "-Lct", "-PhysDrv[252:0]", "-a0"}, "-PhysDrv", "", ""},
    });
}

TEST_F(GrammarE2e, ConfigurationAndLogicalDrives)
{
    expectAccepted({
        {TOKEN_ADPCFGADD, {"-CfgLdAdd", "-r1", "[252:0,252:1]", "-a0"}, ""},
        {TOKEN_ADPCFGADD,
         {"-CfgLdAdd", "-r5", "[252:0,252:1,252:2]", "WB", "RA", "Direct", "-sz100GB", "-strpsz64", "-a0"}, ""},
        {TOKEN_ADPCFGADD, {"-CfgLdAdd", "-r1", "[252:0,252:1]", "NORA", "WT", "-sz1.5", "-a0"}, " "},
        {TOKEN_ADPCFGSPANADD,
         {"-CfgSpanAdd", "-r10", "-Array0[252:0,252:1]", "-Array1[252:2,252:3]", "-a0"}, ""},
        {TOKEN_ADPCFGDISP, {"-CfgDsply", "-aALL"}, ""},
        {TOKEN_ADPCFGCLR, {"-CfgClr", "-Force", "-a0"}, ""},
        {TOKEN_ADPCFGSAVE, {"-CfgSave", "-f", "cfg.bin", "-a0"}, ""},
        {TOKEN_ADPCFGRESTORE, {"-AdpCfgRestore", "-f", "cfg.bin", "-a0"}, ""},
        {TOKEN_ADPFRNCFG, {"-CfgForeign", "-Import", "1", "-a0"}, ""},
        {TOKEN_ADPFREESPACEINFO, {"-CfgFreeSpaceInfo", "-a0"}, ""},
        {TOKEN_LDINFO, {"-LDInfo", "-L0", "-a0"}, ""},
        {TOKEN_LDINFO, {"-LDInfo", "-LALL", "-aALL"}, ""},
        {TOKEN_SET_LDPROPERTY, {"-LDSetProp", "-Name", "My-VD", "-L0", "-a0"}, ""},
        {TOKEN_SET_LDPROPERTY, {"-LDSetProp", "WB", "-Immediate", "-L0", "-a0"}, ""},
        {TOKEN_GET_LDPROPERTY, {"-LDGetProp", "-Cache", "-LALL", "-aALL"}, ""},
        {TOKEN_LDINIT, {"-LDInit", "-Start", "-Full", "-L0", "-a0"}, ""},
        {TOKEN_LDRECON, {"-LDRecon", "-Start", "-r5", "-Add", "-PhysDrv[252:2]", "-L0", "-a0"}, ""},
        {TOKEN_LDNUMBER, {"-LDGetNum", "-a0"}, ""},
    });
    expectRejected({
        {{"-CfgLdAdd", "-a0"}, "-a", "", ""},
        {{"-CfgLdAdd", "-r1", "[252:0,252:1]", "WB", "WT", "-a0"}, "WT", "", ""},
        {{"-CfgLdAdd", "-r1", "[252:0,252:1]", "-a0,1"}, "1", ",", ""},
        {{"-CfgLdAdd", "-r1", "[252:0,252:1]", "-aALL"}, "-aALL", "", ""},
        {{"-CfgSpanAdd", "-r10", "-Array0[252:0,252:1]", "-a0"}, "-a", "", ""},
        {{"-CfgForeign", "-Scan", "1", "-a0"}, "1", "", ""},
        {{"-LDInfo", "-a0"}, "-a", "", ""},
        {{"-LDRecon", "-Start", "-r5", "-L0", "-aALL"}, "-aALL", "", ""},
    });
}

TEST_F(GrammarE2e, PhysicalDrivesAndEnclosures)
{
    expectAccepted({
        {TOKEN_PDLIST, {"-PDList", "-aALL"}, ""},
        {TOKEN_PDINFO, {"-PDInfo", "-PhysDrv", "[252:0]", "-a0"}, ""},
        {TOKEN_PDHSP,
         {"-PDHsp", "-Set", "-Dedicated", "-Array0", "-EnclAffinity", "-nonRevertible", "-PhysDrv[252:3]", "-a0"}, ""},
        {TOKEN_PDRBLD, {"-PDRbld", "-Start", "-PhysDrv[252:1]", "-a0"}, ""},
        {TOKEN_PDLOCATE, {"-PDLocate", "-Start", "-PhysDrv[?:1]", "-a0"}, ""},
        {TOKEN_PDMAKEGOOD, {"-PDMakeGood", "-PhysDrv[252:0]", "-Force", "-a0"}, ""},
        {TOKEN_PDFWDOWNLOAD, {"-PdFwDownload", "-PhysDrv[252:0]", "-f", "drive.fw", "-a0"}, ""},
        {TOKEN_PHYSETLINKSPEED, {"-PhySetLinkSpeed", "-Phy", "0", "3", "-a0"}, ""},
        {TOKEN_PDNUMBER, {"-PDGetNum", "-aALL"}, ""},
        {TOKEN_ENCINFO, {"-EncInfo", "-a0"}, ""},
        {TOKEN_ENCSTATUS, {"-EncStatus", "-aALL"}, ""},
        {TOKEN_ENCLSHOWENCLLIST, {"-EnclList", "-a0"}, ""},
        {TOKEN_ENCLLOCATE, {"-EnclLocate", "-Start", "-Encl", "0", "-a0"}, ""},
        {TOKEN_ENCLSHOWPDLIST, {"-ShowPdList", "-Encl", "0", "-a0"}, ""},
    });
    expectRejected({
        {{"-PDList", "-a0", "-extra"}, "-extra", "", ""},
        {{"-PDInfo", "-PhysDrv[252:0,]", "-a0"}, "252", "[", ""},
        {{"-PDInfo", "-a0"}, "-a", "", ""},
        {{"-PDHsp", "-Set", "-nonRevertible", "-EnclAffinity", "-PhysDrv[252:3]", "-a0"}, "-EnclAffinity", "", ""},
        {{"-EncInfo", "-a0", "-Silent", "-Silent"}, "-Silent", "", ""},
        // "PAGE" is the global paging option wherever it stands.
        {{"-EnclVPD", "-Page", "1", "-Encl", "0", "-a0"}, "-Page", "", ""},
    });
}

TEST_F(GrammarE2e, SecuritySsdCacheAndHostCache)
{
    expectAccepted({
        {TOKEN_CREATESECURITYKEY, {"-CreateSecurityKey", "-SecurityKey", "Abc123!", "-a0"}, ""},
        {TOKEN_CHANGESECURITYKEY, {"-ChangeSecurityKey", "-OldSecurityKey", "a", "-SecurityKey", "b", "-a0"}, ""},
        {TOKEN_DESTROYSECURITYKEY, {"-DestroySecurityKey", "-Force", "-a0"}, ""},
        {TOKEN_GET_KEYID, {"-GetKeyID", "-a0"}, ""},
        {TOKEN_SET_KEYID, {"-SetKeyID", "-KeyID", "-k1", "-a0"}, ""},
        {TOKEN_CFGTIDEWELLADD, {"-CfgTidewellAdd", "-PhysDrv[252:2]", "-a0"}, ""},
        {TOKEN_CFGTIDEWELLADD,
         {"-CfgTidewellAdd", "-r0", "-PhysDrv[252:2]", "-Name", "cache1", "WB", "-Assign", "-L0", "-a0"}, ""},
        {TOKEN_TIDEWELLDSPLY, {"-CfgTidewellDsply", "-a0"}, ""},
        {TOKEN_TIDEWELL, {"-Tidewell", "-Remove", "-L0", "-a0"}, ""},
        {TOKEN_CFGTIDEWELLDEL, {"-CfgTidewellDel", "-LALL", "-aALL"}, ""},
        {TOKEN_TIDEX, {"-HK", "-ConfigInfo"}, ""},
        {TOKEN_TIDEX, {"-HK", "-AddVd", "/dev/sdb"}, ""},
        {TOKEN_TIDEX, {"-HK", "-VdList", "-Configured"}, ""},
        {TOKEN_TIDEX, {"-HK", "-BlazeCardInfo", "-i0"}, ""},
    });
    expectRejected({
        {{"-CreateSecurityKey", "-SecurityKey", "Abc", "-a0,1"}, "1", ",", ""},
        {{"-GetKeyID", "-aALL"}, "-aALL", "", ""},
        {{"-VerifySecurityKey", "-a0"}, "-a", "", ""},
        {{"-CfgTidewellAdd", "-a0"}, "-a", "", ""},
        {{"-HK", "-ConfigInfo", "-a0"}, "-a", "", ""},
        {{"-HK", "-BlazeCardInfo"}, "-BlazeCardInfo", "", ""},
    });
}

TEST_F(GrammarE2e, VersionHelpAndGlobalOptions)
{
    expectAccepted({
        {TOKEN_APPVERSION, {"-v"}, ""},
        {TOKEN_APPVERSION, {"-v", "-a0"}, ""},
        {TOKEN_HELP_SHT, {"-h"}, ""},
        {TOKEN_HELP, {"-Help", "Default", "-a0"}, ""},
        {TOKEN_Q_MARK, {"-?"}, ""},
        {TOKEN_HELP_SHT, {"-h", "-page"}, ""},
        {TOKEN_HELP_SHT, {"-h", "-AppLogFile", "x.log"}, ""},
        {TOKEN_ADPCOUNT, {"-AdpCount"}, ""},
        {TOKEN_ADPLIST, {"-AdpList"}, ""},
        {TOKEN_CLIVERSION, {"-Version", "-Cli", "-aALL"}, ""},
        {TOKEN_PDLIST, {"-PDList", "-aALL", "-page"}, ""},
        {TOKEN_PDLIST, {"-PDList", "-a0,1,2", "-page20"}, ",,"},
        {TOKEN_PDLIST, {"-PDList", "-a0", "-Append"}, ""},
        {TOKEN_ADPALLINFO,
         {"-AdpAllInfo", "-aALL", "-Silent", "-AppLogFile", "my.log", "-SetDbgLevel", "3", "-LogFile", "app.log",
          "-NoLog", "-NewFile", "-page", "20"},
         ""},
        {TOKEN_ADPALLINFO, {"-AdpAllInfo", "-aALL", "-AppLogFile", "-odd-name.log"}, ""},
    });
    expectRejected({
        {{"-AdpCount", "-a0"}, "-a", "", ""},
        {{"-AdpAllInfo", "-aALL", "-NoLog", "-Silent"}, "-Silent", "", ""},
        {{"-AdpAllInfo", "-aALL", "-Silent", "-Silent"}, "-Silent", "", ""},
        {{"-AdpAllInfo", "-aALL", "-NewFile", "-Append"}, "-Append", "", ""},
        {{"-AdpAllInfo", "-Silent", "-aALL"}, "-Silent", "", ""},
        {{"-AdpAllInfo", "-aALL", "-SetDbgLevel"}, "-SetDbgLevel", "", ""},
        {{"-AdpAllInfo", "-aALL", "-page", "20", "30"}, "30", "", ""},
    });
}

// A first word that is no command word: an unknown word stops the reading at once; a known
// option word is named and the rest of the line is still read (and its stray characters echoed).
TEST_F(GrammarE2e, FirstWordIsNoCommand)
{
    expectRejected({
        {{"-Bogus", "-a0,1"}, "-Bogus", "", ""},
        {{"-Adp-AllInfo", "-aALL"}, "-Adp", "", ""},
        {{"-a0", "-AdpAllInfo"}, "-a0", "", ""},
        {{"-Silent", "-a0,1"}, "-Silent", "", ","},
        {{"-aALL", "-AdpAllInfo", "-a0,1,2"}, "-aALL", "", ",,"},
        {{"-FileCfgDsply", "-f", "x", "-a0"}, "-FileCfgDsply", "", ""},
        {{"-AdpAlarmEnbl", "-a0"}, "-AdpAlarmEnbl", "", ""},
        {{""}, "", "", ""},
        {{"   "}, "", "", ""},
    });
}

// Input meant to hurt: long words, more words than a line holds, numbers past the int range,
// stray bytes and format directives. Every one ends in a clean verdict.
TEST_F(GrammarE2e, HostileInput)
{
    std::string longName(8000, 'n');
    std::string longWord(5000, 'x');
    std::string driveList = "[";
    for (int slot = 0; slot < 255; ++slot)
        driveList += (slot > 0 ? "," : "") + std::string("252:") + std::to_string(slot);
    driveList += "]";
    std::string adapterList = "-a";
    std::vector<std::string> separateNumbers = {"-PDList", "-a"};
    for (int i = 0; i < 300; ++i) {
        adapterList += (i > 0 ? "," : "") + std::to_string(i);
        separateNumbers.push_back(std::to_string(i));
    }

    expectAccepted({
        {TOKEN_ADPCFGSAVE, {"-CfgSave", "-f", longName, "-a0"}, ""},
        {TOKEN_PDINFO, {"-PDInfo", "-PhysDrv" + driveList, "-a0"}, ""},
        {TOKEN_PDLIST, {"-PDList", "-a2147483647"}, ""},
        {TOKEN_PDLIST, {"-PDList", "-a000000000000000000000000001"}, ""},
        {TOKEN_PDLIST, {"-PDList", "-aALL", "\xff"}, "\xff "},
        {TOKEN_PDLIST, {"-PDList\t-aALL"}, ""},
        // A line feed puts the scanner back to the command position, where -aALL still matches.
        {TOKEN_PDLIST, {"-PDList\n-aALL"}, ""},
        {TOKEN_ADPCFGSAVE, {"-CfgSave", "-f", "x", "-a0", "\x01\x02"}, "\x01\x02 "},
        {TOKEN_PDLIST, {"-PDList", "-aALL", ";" + std::string(100000, ',')}, ";" + std::string(100000, ',') + " "},
    });
    expectRejected({
        {{"-" + longWord}, "-" + longWord, "", ""},
        {{"-PDList", "-" + longWord}, "-" + longWord, "", ""},
        // A token list holds 252 tokens: the command word, -a and 250 numbers.
        {{"-PDList", adapterList}, "250", std::string(250, ','), ""},
        {separateNumbers, "250", "", ""},
        {{"-PDList", "-a2147483648"}, "2147483648", "", ""},
        {{"-AdpDiag", "99999999999999999999", "-a0"}, "99999999999999999999", "", ""},
        {{"-PDList", "-a0", "-page4294967297"}, "4294967297", "", ""},
        {{"-%s%n%x"}, "-%s%n%x", "", ""},
        {{"-PDList", "-aALL", "%n%s"}, "%", "", ""},
        {{"-PDList", "-aALL", "\"unclosed"}, "unclosed", "\"", ""},
        // After a line feed the blank that ends the line is an empty command word.
        {{"-PDList", "-aALL", "\n"}, "", "", ""},
        {{"-PDList\n-AdpAllInfo"}, "-AdpAllInfo", "", ""},
    });
}

// One match longer than the scanner's buffer ends the run before anything is printed.
TEST_F(GrammarE2e, WordBeyondTheScannerBuffer)
{
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"-CfgSave", "-f", std::string(8191, 'n'), "-a0"},
          std::vector<std::string>{"-" + std::string(9000, 'x')}}) {
        SCOPED_TRACE(shown(args));
        RunResult r = run(args);
        EXPECT_EQ(r.exitCode, 2);
        EXPECT_EQ(r.out, "");
        EXPECT_NE(r.err.find("token too large, exceeds YYLMAX"), std::string::npos) << r.err;
        EXPECT_TRUE(r.files.empty());
    }
}

}  // namespace
