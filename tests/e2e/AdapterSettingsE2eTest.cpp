// The manufacturing settings commands through the real binary on described hosts: programming
// the defaults block from a settings file ("-AdpSettings") and verifying the manufacturing
// records against one ("-AdpSetVerify"): console, exit code, the firmware commands sent, and
// the defaults block the controller keeps afterwards.
#include "E2eHarness.h"

#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

namespace {

const char* const INFO = "0x01010000";
const char* const OEM = "0x010e8481";
const char* const GET_DEFAULTS = "0x010e0201";
const char* const SET_DEFAULTS = "0x010e0202";
const char* const PCI_IDS = "0x010e0100";

std::string sent(const char* opcode, const char* status = "0x00")
{
    return std::string("host=2 opcode=") + opcode + " status=" + status;
}

// Discovery, the model's refresh and the controller check of adapter 0, then the command's own.
Lines after(const Lines& own)
{
    return Lines{sent(INFO)} + refreshReads(2) + Lines{sent(OEM)} + own;
}

// The settings command's commands up to the file: its OEM check, the block, the information.
Lines programmed(const Lines& tail)
{
    return after(Lines{sent(OEM), sent(GET_DEFAULTS), sent(INFO)} + tail);
}

const nlohmann::json OEM8 = {{"mfcOemData", {{"oemId", 8}}}};

struct Case {
    const char* what;
    nlohmann::json edit;           // merged into the controller (OEM 8 for the settings rows)
    std::vector<Lines> faults;
    Lines args;
    std::string file;              // written as settings.txt in the run's folder
    int exitCode;
    std::string out;               // after the blank-out line
    Lines commands;
    nlohmann::json defaults;       // the controller's mfcDefaults afterwards (null: as described)
};

class AdapterSettingsE2e : public ::testing::Test {
protected:
    void TearDown() override
    {
        for (const std::string& dir : cleanup)
            removeTree(dir);
    }

    std::string host(const Case& run)
    {
        std::string dir = makeSimHost("one");
        cleanup.push_back(dir.substr(0, dir.rfind('/')));
        const std::string path = dir + "/state.json";
        nlohmann::json state = nlohmann::json::parse(readFile(path));
        state["controllers"][0].merge_patch(run.edit);
        std::ofstream(path) << state.dump(2);
        for (const Lines& fault : run.faults)
            EXPECT_EQ(addSimFault(dir, fault), "");
        return dir;
    }

    void expectRuns(const std::vector<Case>& runs)
    {
        for (const Case& run : runs) {
            SCOPED_TRACE(run.what);
            const std::string dir = host(run);
            const nlohmann::json before = mfcDefaults(dir);
            RunSpec spec;
            spec.args = run.args;
            spec.env = {{"QUILLCLI_SIM_HOST", dir}};
            spec.workDir = makeTempDir("quillsettings");
            std::ofstream(spec.workDir + "/settings.txt") << run.file;
            RunResult r = runProgram(spec);
            cleanup.push_back(r.workDir);
            EXPECT_EQ(r.exitCode, run.exitCode);
            EXPECT_EQ(r.out, BLANK_OUT + run.out);
            EXPECT_EQ(r.err, "");
            EXPECT_EQ(withoutModelReads(loggedFirmwareCommands(dir)), run.commands);
            EXPECT_EQ(mfcDefaults(dir), run.defaults.is_null() ? before : run.defaults);
        }
    }

    static nlohmann::json mfcDefaults(const std::string& dir)
    {
        nlohmann::json state = nlohmann::json::parse(readFile(dir + "/state.json"));
        const nlohmann::json& c = state["controllers"][0];
        return c.contains("mfcDefaults") ? c["mfcDefaults"] : nlohmann::json::object();
    }

    Lines cleanup;
};

const Lines PROGRAM = {"-AdpSettings", "-Read", "-f", "settings.txt", "-a0"};
const Lines VERIFY = {"-AdpSetVerify", "-f", "settings.txt", "-a0"};

// A block whose feature level is 72: the feature bits of bytes 64 and 65 are settable.
nlohmann::json level72(nlohmann::json more = nlohmann::json::object())
{
    nlohmann::json edit = OEM8;
    edit["mfcDefaults"] = {{"patch", {{"0x3e", "48"}}}};
    edit.merge_patch(more);
    return edit;
}

}  // namespace

TEST_F(AdapterSettingsE2e, ProgramsFieldsFromTheFile)
{
    const std::string lines =
        "phypolarity = 1\n"           // key trimmed and upper-cased, value read past its blank
        " FLUSHTIME=9\n"              // a leading blank is part of the key
        "OEM = 8\n"                   // shown, not stored
        "KEY=\n=5\nno equals sign\n"  // skipped silently
        "=BACKGROUNDRATE=30=40\n"     // a leading '=' is skipped, text after a third run ignored
        "# a comment\n\n"
        "SUBVENDORID=1a2b\n"          // accepted, not stored
        "CACHEDIO=-1\n";              // any value: its low 8 bits
    expectRuns({
        {"keys, values, comments and skipped lines", OEM8, {}, PROGRAM, lines, 0,
         "\nInvalid Key:  FLUSHTIME\nOEM = 8\n" + exitLine("00"), programmed({sent(SET_DEFAULTS)}),
         {{"cachedIo", 255}, {"patch", {{"0x8", "011e"}}}}},
        {"an empty file writes the block back as read", OEM8, {}, PROGRAM, "", 0, exitLine("00"),
         programmed({sent(SET_DEFAULTS)}), nullptr},
        {"a line longer than 254 characters is two lines", OEM8, {}, PROGRAM,
         "FLUSHTIME=5" + std::string(243, ' ') + "BACKGROUNDRATE=7\n", 0, exitLine("00"),
         programmed({sent(SET_DEFAULTS)}), {{"patch", {{"0x9", "07"}, {"0xb", "05"}}}}},
        {"the last occurrence of a key wins", OEM8, {}, PROGRAM, "FLUSHTIME=5\nFLUSHTIME=6\n", 0, exitLine("00"),
         programmed({sent(SET_DEFAULTS)}), {{"patch", {{"0xb", "06"}}}}},
    });
}

TEST_F(AdapterSettingsE2e, ValueRules)
{
    const std::string bad = "\nFailed to Program the Adapter because of invalid value of key: ";
    const nlohmann::json coeCapable = {{"mfcOemData", {{"oemId", 8}}}, {"info", {{"firmwareFeatures", 4}}}};
    expectRuns({
        {"a background rate of 101: nothing written, later lines not read", OEM8, {}, PROGRAM,
         "FLUSHTIME=5\nBACKGROUNDRATE=101\nUNKNOWN=1\n", 3, bad + "BACKGROUNDRATE.\n" + exitLine("03"),
         programmed({}), nullptr},
        {"a negative rate is out of range", OEM8, {}, PROGRAM, "BACKGROUNDRATE=-1\n", 3,
         bad + "BACKGROUNDRATE.\n" + exitLine("03"), programmed({}), nullptr},
        {"a number beyond 32 bits does not wrap into the range", OEM8, {}, PROGRAM, "DIRECTPDMAPPING=4294967297\n",
         3, bad + "DIRECTPDMAPPING.\n" + exitLine("03"), programmed({}), nullptr},
        {"ZCR 2 fails", OEM8, {}, PROGRAM, "ZCRCONFIG=2\n", 3, bad + "ZCRCONFIG.\n" + exitLine("03"),
         programmed({}), nullptr},
        {"ZCR 16 and 31 are stored", OEM8, {}, PROGRAM, "ZCRCONFIG=16\nSMARTMODE=2\nZCRCONFIG=31\n", 0,
         exitLine("00"), programmed({sent(SET_DEFAULTS)}), {{"patch", {{"0x10", "02"}, {"0x13", "1f"}}}}},
        {"spin-down time 0 leaves the field, 30 is stored", OEM8, {}, PROGRAM,
         "SPINDOWNTIME=0\nDISABLEPOWERSAVINGS=255\n", 0, exitLine("00"), programmed({sent(SET_DEFAULTS)}),
         {{"powerSavingOptions", "0xff"}}},
        {"spin-down time 29 fails", OEM8, {}, PROGRAM, "SPINDOWNTIME=29\n", 3, bad + "SPINDOWNTIME.\n" + exitLine("03"),
         programmed({}), nullptr},
        {"spin-down time 65535", OEM8, {}, PROGRAM, "SPINDOWNTIME=65535\n", 0, exitLine("00"),
         programmed({sent(SET_DEFAULTS)}), {{"spinDownTime", 65535}}},
        {"BIOS continue-on-error 2 without the controller's permission", OEM8, {}, PROGRAM,
         "BIOSCONTINUEONERROR=2\n", 3, bad + "BIOSCONTINUEONERROR.\n" + exitLine("03"), programmed({}), nullptr},
        {"BIOS continue-on-error 2 where permitted", coeCapable, {}, PROGRAM, "BIOSCONTINUEONERROR=2\n", 0,
         exitLine("00"), programmed({sent(SET_DEFAULTS)}), {{"patch", {{"0x15", "02"}}}}},
        {"strip size within the controller's codes (3 to 11)", OEM8, {}, PROGRAM, "STRIPESIZE=11\n", 0,
         exitLine("00"), programmed({sent(SET_DEFAULTS)}), {{"stripExponent", 11}}},
        {"strip size below them", OEM8, {}, PROGRAM, "STRIPESIZE=2\n", 3, bad + "STRIPESIZE.\n" + exitLine("03"),
         programmed({}), nullptr},
    });
}

TEST_F(AdapterSettingsE2e, SasAddressAndFeatureBits)
{
    const std::string bad = "\nFailed to Program the Adapter because of invalid value of key: ";
    expectRuns({
        {"eight groups, most significant first", OEM8, {}, PROGRAM, "SASADDRESS=50:06:05:b0:0a:0b:0C:0d\n", 0,
         exitLine("00"), programmed({sent(SET_DEFAULTS)}), {{"sasAddress", "0x500605b00a0b0c0d"}}},
        {"two groups fill the two top bytes; runs of ':' are one separator", OEM8, {}, PROGRAM,
         "SASADDRESS=0x50::06\n", 0, exitLine("00"), programmed({sent(SET_DEFAULTS)}),
         {{"sasAddress", "0x5006000000000000"}}},
        {"a group of 100 fails the key", OEM8, {}, PROGRAM, "SASADDRESS=50:100\n", 3,
         bad + "SASADDRESS.\n" + exitLine("03"), programmed({}), nullptr},
        {"a long group does not wrap into a byte", OEM8, {}, PROGRAM, "SASADDRESS=50:10000000000000001\n", 3,
         bad + "SASADDRESS.\n" + exitLine("03"), programmed({}), nullptr},
        {"feature bits are unknown keys at the base level", OEM8, {}, PROGRAM, "TTYLOGINFLASH=1\n", 0,
         "\nInvalid Key: TTYLOGINFLASH\n" + exitLine("00"), programmed({sent(SET_DEFAULTS)}), nullptr},
        {"at level 72 they set their own bits; break-mirror keeps its low two bits", level72(), {}, PROGRAM,
         "TTYLOGINFLASH=1\nBREAKMIRRORRAIDSUPPORT=7\nDISABLEHII=1\nSSDSMARTERENABLED=1\n", 0, exitLine("00"),
         programmed({sent(SET_DEFAULTS)}), {{"features", "0xd"}, {"patch", {{"0x3e", "48"}, {"0x41", "a0"}}}}},
    });
}

TEST_F(AdapterSettingsE2e, RefusalsAndFailures)
{
    const nlohmann::json oem1 = nlohmann::json::object();
    expectRuns({
        {"another OEM: nothing printed, nothing sent", oem1, {}, PROGRAM, "FLUSHTIME=5\n", 1, exitLine("01"),
         after({sent(OEM)}), nullptr},
        {"the Write form does nothing", OEM8, {}, {"-AdpSettings", "-Write", "-f", "settings.txt", "-a0"},
         "FLUSHTIME=5\n", 1, exitLine("01"), after({sent(OEM)}), nullptr},
        {"a file that does not exist", OEM8, {}, {"-AdpSettings", "-Read", "-f", "missing.txt", "-a0"}, "", 1,
         "ERROR: Failed to open file missing.txt.\n" + exitLine("01"), programmed({}), nullptr},
        {"a folder is no settings file", OEM8, {}, {"-AdpSettings", "-Read", "-f", "/", "-a0"}, "", 1,
         "ERROR: Failed to open file /.\n" + exitLine("01"), programmed({}), nullptr},
        {"the block cannot be read", OEM8, {{"status", GET_DEFAULTS, "0x2d"}}, PROGRAM, "FLUSHTIME=5\n", 0x2d,
         "\nFailed to get current setting on the adapter\n" + DEVICE_BUSY + exitLine("2d"),
         after({sent(OEM), sent(GET_DEFAULTS, "0x2d")}), nullptr},
        {"the block cannot be written", OEM8, {{"status", SET_DEFAULTS, "0x2d"}}, PROGRAM, "FLUSHTIME=5\n", 0x2d,
         "\nFailed to Program the Adapter because of invalid value of key: settings.txt.\n" + DEVICE_BUSY +
             exitLine("2d"),
         programmed({sent(SET_DEFAULTS, "0x2d")}), nullptr},
    });
}

// ---------------------------------------------------------------------------------------------

namespace {

Lines verified()
{
    return after({sent(OEM), sent(GET_DEFAULTS), sent(PCI_IDS)});
}

const std::string HEADING = "Adapter #0\n\n\nDifferences Found:\n";

}  // namespace

TEST_F(AdapterSettingsE2e, VerifiesAgainstTheFile)
{
    const nlohmann::json described = {{"mfcOemData", {{"oemId", 8}, {"maxDisks", 32}}},
                                      {"mfcDefaults", {{"patch", {{"0x8", "01"}}}}}};
    const std::string same =
        "phypolarity = 1 \n"
        "  OEM = 08\nSUBVENDORID=1e7a\nSUBDEVICEID=0x4080\nVENDORID=0x11e7a\nDEVICEID=40\n"
        "MAXDISKS=32\nSPINDOWNTIME=30\nWRITEBACK=1\nALARMDISABLE=1\nENABLEJBOD=0\n"
        "SASADDRESS=whatever\nSERIALNUMBER=X\nMFGDATE=1\n# comment\n   \n";
    expectRuns({
        {"a file that matches", described, {}, VERIFY, same, 0, HEADING + "None\n" + exitLine("00"), verified(),
         nullptr},
        {"each differing line named once, in file order; unknown keys are no difference", described, {}, VERIFY,
         "OEM=12\nPHYPOLARITY=2\nBACKGROUNDRATE=300\nTTYLOGINFLASH=1\nDEVICEID=41\nENABLECTIO=1\nPHYPOLARITY=3\n"
         "DISABLEHII=0\nBOGUS=1\n",
         1,
         HEADING + "OEM\nphyPolarity\nbackGroundRate\n\nInvalid Key: TTYLOGINFLASH\nDeviceId\nEnableCTIO\n"
                   "phyPolarity\n\nInvalid Key: DISABLEHII\n\nInvalid Key: BOGUS\n" + exitLine("01"),
         verified(), nullptr},
        {"an OEM given by its name", described, {}, VERIFY, "OEM=KKKNK\n", 0, HEADING + "None\n" + exitLine("00"),
         verified(), nullptr},
        {"a name in no row is OEM 10", described, {}, VERIFY, "OEM=Nobody\n", 1, HEADING + "OEM\n" + exitLine("01"),
         verified(), nullptr},
        {"feature bits above the base level", level72(), {}, VERIFY, "BREAKMIRRORRAIDSUPPORT=1\nDISABLEHII=0\n", 1,
         HEADING + "breakMirrorRAIDSupport\n" + exitLine("01"), verified(), nullptr},
        {"a file that does not exist", described, {}, {"-AdpSetVerify", "-f", "missing.txt", "-a0"}, "", 1,
         "Adapter #0\n\nERROR: Failed to open file missing.txt.\n" + exitLine("01"), verified(), nullptr},
        {"the feature data cannot be read", described, {{"status", OEM, "0x2d", "--from", "2"}}, VERIFY, same, 0x2d,
         "\nFailed to read MFC feature data from adapter\n" + DEVICE_BUSY + exitLine("2d"),
         after({sent(OEM, "0x2d")}), nullptr},
        {"the defaults cannot be read", described, {{"status", GET_DEFAULTS, "0x2d"}}, VERIFY, same, 0x2d,
         "\nFailed to read MFC default data from adapter\n" + DEVICE_BUSY + exitLine("2d"),
         after({sent(OEM), sent(GET_DEFAULTS, "0x2d")}), nullptr},
        {"the PCI ids cannot be read", described, {{"status", PCI_IDS, "0x2d"}}, VERIFY, same, 0x2d,
         "\nFailed to read PCI data from adapter\n" + DEVICE_BUSY + exitLine("2d"),
         after({sent(OEM), sent(GET_DEFAULTS), sent(PCI_IDS, "0x2d")}), nullptr},
    });
}
