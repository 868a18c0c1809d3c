// Input that would aim a command at another object or carry control characters into the
// controller, and device texts that hold control characters, through QuillCliSim against hosts
// made from tests/e2e/data/drives-host.json: the console output, the exit code and the firmware
// commands the run sent.
#include "DrivesHostTexts.h"
#include "E2eHarness.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

const std::string REFUSED_NAME = "Adapter 0: Invalid name: control characters are not allowed.\n";

std::string rejection(const std::string& word)
{
    return "\rInvalid input at or near token " + word + std::string(43, ' ') + "\n";
}

std::string joined(const std::vector<std::string>& args)
{
    std::string line;
    for (const std::string& a : args)
        line += " " + a;
    return line;
}

// True when the text holds a byte that drives a terminal: the console lines' own line feeds,
// carriage returns and tabs aside, any byte below 0x20 or 0x7f.
bool holdsTerminalControl(const std::string& text)
{
    for (unsigned char c : text)
        if ((c < 0x20 && c != '\n' && c != '\r' && c != '\t') || c == 0x7f)
            return true;
    return false;
}

class UnsafeTextE2e : public DrivesHostE2e {
protected:
    struct Row {
        std::vector<std::string> args;
        std::string out;
        const char* exitCode;
    };

    void expectRows(const std::string& dir, const std::vector<Row>& rows)
    {
        for (const Row& row : rows) {
            SCOPED_TRACE(joined(row.args));
            RunResult r = run(dir, row.args);
            EXPECT_EQ(r.out, row.out + exitLine(row.exitCode));
            EXPECT_EQ(r.exitCode, std::stoi(row.exitCode, nullptr, 16));
        }
    }
};

} // namespace

// A '-' directly before a number is no separator to echo and drop: "-L-1" would delete drive 1
// and "-a-1" act on adapter 1. The line is refused at the signed number, before the controllers
// are even looked for.
TEST_F(UnsafeTextE2e, SignedNumbersAreRefusedBeforeAnythingIsSent)
{
    const std::vector<Row> rows = {
        {{"-CfgLdDel", "-L-1", "-a0"}, rejection("-1"), "01"},
        {{"-CfgLdDel", "-L0,-2", "-a0"}, "," + rejection("-2"), "01"},
        {{"-PDOffline", "-PhysDrv[252:0]", "-a-1"}, rejection("-1"), "01"},
        {{"-PDOffline", "-PhysDrv[252:-1]", "-a0"}, "[" + rejection("252"), "01"},
        {{"-LDSetProp", "-WT", "-L-2", "-a0"}, rejection("-2"), "01"},
        {{"-PDList", "-a", "-1"}, rejection("-1"), "01"},
    };
    for (const Row& row : rows) {
        std::string dir = host();
        expectRows(dir, {row});
        EXPECT_TRUE(loggedFirmwareCommands(dir).empty()) << joined(row.args);
    }
}

// Free text keeps its '-' before a digit: a name, as any word after a free-text option, is no
// number.
TEST_F(UnsafeTextE2e, FreeTextKeepsAMinusBeforeADigit)
{
    std::string dir = host();
    expectRows(dir, {
                        {{"-LDSetProp", "-Name", "-1", "-L0", "-a0"},
                         BLANK_OUT + "Set name to -1 on Adapter 0, VD 0 (target id: 0) success\n", "00"},
                        {{"-LDGetProp", "-Name", "-L0", "-a0"},
                         BLANK_OUT + "Adapter 0-VD 0(target id: 0): Name: -1\n", "00"},
                    });
    EXPECT_EQ(sent(loggedFirmwareCommands(dir), "0x03040000"), 1u);
}

// A name is written into the controller and shown on every terminal that lists the drive
// later: one with a control character is refused before anything is changed. (A tab or a line
// feed ends the name's word already, so the grammar refuses the line at what follows.)
TEST_F(UnsafeTextE2e, NamesWithControlCharactersAreRefused)
{
    const struct {
        std::string name;
        std::string out;
    } names[] = {
        {"\x1b[2J", BLANK_OUT + REFUSED_NAME},         {"bell\x07", BLANK_OUT + REFUSED_NAME},
        {"\x01start", BLANK_OUT + REFUSED_NAME},       {"del\x7f", BLANK_OUT + REFUSED_NAME},
        {"tab\there", rejection("here")},              {"line\nfeed", rejection("feed")},
    };
    for (const auto& n : names) {
        std::string dir = host();
        expectRows(dir, {
                            {{"-LDSetProp", "-Name", n.name, "-L0", "-a0"}, n.out, "01"},
                            {{"-CfgTidewellAdd", "-PhysDrv[252:6]", "-Name", n.name, "-a0"}, n.out, "01"},
                            {{"-LDGetProp", "-Name", "-L0", "-a0"},
                             BLANK_OUT + "Adapter 0-VD 0(target id: 0): Name: mirror\n", "00"},
                        });
        const std::vector<std::string> log = loggedFirmwareCommands(dir);
        EXPECT_EQ(sent(log, "0x03040000"), 0u);  // the drive's settings
        EXPECT_EQ(sent(log, "0x04020000"), 0u);  // a configuration add
    }
}

// Bytes above 0x7f are text (UTF-8 here), not control characters: such a name is taken and
// shown as it is.
TEST_F(UnsafeTextE2e, NamesBeyondAsciiAreTaken)
{
    std::string dir = host();
    expectRows(dir, {
                        {{"-LDSetProp", "-Name", "Gr\xc3\xbc\xc3\x9f" "e", "-L0", "-a0"},
                         BLANK_OUT + "Set name to Gr\xc3\xbc\xc3\x9f" "e on Adapter 0, VD 0 (target id: 0) success\n",
                         "00"},
                        {{"-LDGetProp", "-Name", "-L0", "-a0"},
                         BLANK_OUT + "Adapter 0-VD 0(target id: 0): Name: Gr\xc3\xbc\xc3\x9f" "e\n", "00"},
                    });
}

// A name from the controller and a drive's inquiry texts that hold control characters (a foreign
// configuration, a hostile device) are shown with '?' in their place: no display of them drives
// the terminal.
TEST_F(UnsafeTextE2e, DeviceTextsAreShownWithQuestionMarks)
{
    nlohmann::json description = drivesHost()["controllers"][0];
    for (nlohmann::json& ld : description["lds"])
        if (ld["targetId"] == 0)
            ld["name"] = "\x1b[31mred\x07";
    for (nlohmann::json& drive : description["drives"])
        if (drive["deviceId"] == 8) {
            drive["product"] = "EVIL\x1b[2J";
            drive["revision"] = "\x1b" "7Q";
        }
    std::string dir = host({{"lds", description["lds"]}, {"drives", description["drives"]}});

    expectRows(dir, {{{"-LDGetProp", "-Name", "-L0", "-a0"},
                      BLANK_OUT + "Adapter 0-VD 0(target id: 0): Name: ?[31mred?\n", "00"}});

    struct Shown {
        std::vector<std::string> args;
        std::string line;  // a line of the output that shows the text
    };
    const Shown shown[] = {
        {{"-LDInfo", "-L0", "-a0"}, "Name                :?[31mred?\n"},
        {{"-CfgDsply", "-a0"}, "Name                :?[31mred?\n"},
        {{"-Version", "-Pd", "-a0"}, "252 0 \t\tEVIL?[2J\n"},
        {{"-PDInfo", "-PhysDrv[252:0]", "-a0"}, "Device Firmware Level: ?7Q\n"},
    };
    for (const Shown& s : shown) {
        SCOPED_TRACE(joined(s.args));
        RunResult r = run(dir, s.args);
        EXPECT_NE(r.out.find(s.line), std::string::npos) << r.out;
        EXPECT_FALSE(holdsTerminalControl(r.out)) << r.out;
        EXPECT_EQ(r.exitCode, 0);
    }
    // Displays that show the inquiry texts with every unprintable byte as a blank keep doing so.
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"-PDList", "-a0"}, std::vector<std::string>{"-AdpAlILog", "-a0"}}) {
        SCOPED_TRACE(joined(args));
        RunResult r = run(dir, args);
        EXPECT_FALSE(holdsTerminalControl(r.out)) << r.out;
        EXPECT_EQ(r.exitCode, 0);
    }
}
