// The drive-security key commands, secure virtual drives and key identifiers through the real
// binary and simulated hosts made from tests/e2e/data/security-host.json: the console text, the
// exit code, the key commands that reached the controller and the key the controller keeps.
#include "E2eHarness.h"
#include "TranscriptReaders.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

namespace {

const char* const CREATE = "0x01150100";
const char* const SET_KEY_ID = "0x01150302";
const char* const VERIFY = "0x01150500";
const char* const CHANGE = "0x01150700";
const char* const DESTROY = "0x01150900";
const char* const MAKE_SECURE = "0x030c0000";

const std::string KEY_RULES = " is case-sensitive.  It must be between eight and thirty-two \ncharacters and contain at "
                              "least one number, one lowercase letter, one \nuppercase letter and one non-alphanumeric "
                              "character(e.g. < > @ +). \n";
const std::string INVALID = "Invalid input\n";
const std::string DONE = "Adapter 0: Operation successfully done.\n";

// The key commands in the log (create, key id, verify, change, destroy, make secure), each as
// "opcode status".
Lines keyCommands(const std::string& dir)
{
    Lines out;
    for (const std::string& line : loggedFirmwareCommands(dir)) {
        for (const char* opcode : {CREATE, SET_KEY_ID, VERIFY, CHANGE, DESTROY, MAKE_SECURE}) {
            if (line.find(std::string("opcode=") + opcode + " ") != std::string::npos)
                out.push_back(opcode + line.substr(line.rfind(" ")));
        }
    }
    return out;
}

std::string sent(const char* opcode, const char* status = "0x00") { return std::string(opcode) + " status=" + status; }

struct Case {
    const char* what;
    nlohmann::json edit;   // merged into the description's controller
    Lines args;
    const char* exitCode;
    std::string out;       // between the blank-out line and the exit line
    Lines commands;        // key commands sent
    Lines fault = {};      // the arguments of one "quillsim fault HOST ...", when given
    std::vector<WrittenData> written = {};   // the blocks the key commands carried, when checked
};

class SecurityKeysE2e : public ::testing::Test {
protected:
    void TearDown() override
    {
        for (const std::string& dir : cleanup)
            removeTree(dir);
    }

    std::string host(const nlohmann::json& edit)
    {
        nlohmann::json description =
            nlohmann::json::parse(readFile(std::string(QUILL_SOURCE_DIR) + "/tests/e2e/data/security-host.json"));
        if (!edit.is_null())
            description["controllers"][0].merge_patch(edit);
        const std::string dir = makeSimHostFrom(description.dump(2));
        cleanup.push_back(dir.substr(0, dir.rfind('/')));
        return dir;
    }

    RunResult run(const std::string& dir, const Lines& args)
    {
        RunSpec spec;
        spec.args = args;
        spec.env = {{"QUILLCLI_SIM_HOST", dir}};
        RunResult r = runProgram(spec);
        cleanup.push_back(r.workDir);
        EXPECT_EQ(r.err, "");
        return r;
    }

    void expectRuns(const std::vector<Case>& cases)
    {
        for (const Case& c : cases) {
            SCOPED_TRACE(c.what);
            const std::string dir = host(c.edit);
            if (!c.fault.empty()) {
                EXPECT_EQ(addSimFault(dir, c.fault), "");
            }
            RunResult r = run(dir, c.args);
            EXPECT_EQ(r.out, BLANK_OUT + c.out + exitLine(c.exitCode));
            EXPECT_EQ(keyCommands(dir), c.commands);
            for (const WrittenData& data : c.written)
                EXPECT_EQ(writtenDataMismatches(dir, data), "");
        }
    }

    nlohmann::json savedKeys(const std::string& dir)
    {
        const nlohmann::json state = nlohmann::json::parse(readFile(dir + "/state.json"));
        return state["controllers"][0].value("securityKeys", nlohmann::json::object());
    }

    std::vector<std::string> cleanup;
};

// A controller that holds a key already.
const nlohmann::json KEY_HELD = {{"info", {{"securityState", "0x42"}}},
                                 {"securityKeys", {{"key", "Tr0ub4dor+3"}, {"keyId", "k1"}}}};
const nlohmann::json OEM2 = {{"mfcOemData", {{"oemId", 2}}}};
const nlohmann::json OEM2_KEY_HELD = {{"mfcOemData", {{"oemId", 2}}},
                                      {"info", {{"securityState", "0x42"}}},
                                      {"securityKeys", {{"key", "Pa55-phrase"}}}};
const nlohmann::json NO_ENCRYPTION = {{"info", {{"storageFeatures", 0}}}};
const nlohmann::json EKMS = {{"info", {{"storageFeatures", "0x24"}}}, {"bios", {{"keyManagementMode", 1}}}};

} // namespace

TEST_F(SecurityKeysE2e, KeyRulesAndDialects)
{
    const nlohmann::json none;
    const std::string key33 = "Abcdefgh1+" + std::string(23, 'x');
    const std::string key32 = "Abcdefgh1+" + std::string(22, 'x');
    expectRuns({
        {"a key with its pass phrase and identifier", none,
         {"-CreateSecurityKey", "-SecurityKey", "Tr0ub4dor+3", "-Passphrase", "Pa55-phrase", "-KeyID", "k1", "-a0"}, "00",
         DONE, {sent(CREATE)}, {},
         // The key at 0, the pass phrase at 36, the key id at 108, each with its NUL, zeros after.
         {{CREATE, 0, {{0, "547230756234646f722b330000"}, {35, "00506135352d70687261736500"}, {107, "006b310000"},
                       {363, "00"}}}}},
        {"seven characters", none, {"-CreateSecurityKey", "-SecurityKey", "Ab1+xyz", "-a0"}, "01",
         "Security Key" + KEY_RULES, {}},
        {"thirty-two characters", none, {"-CreateSecurityKey", "-SecurityKey", key32, "-a0"}, "00", DONE, {sent(CREATE)}},
        {"thirty-three characters", none, {"-CreateSecurityKey", "-SecurityKey", key33, "-a0"}, "01",
         "Security Key" + KEY_RULES, {}},
        {"letters and digits only", none, {"-CreateSecurityKey", "-SecurityKey", "Abcdefgh12", "-a0"}, "01",
         "Security Key" + KEY_RULES, {}},
        {"a weak pass phrase", none,
         {"-CreateSecurityKey", "-SecurityKey", "Tr0ub4dor+3", "-Passphrase", "weakphrase", "-a0"}, "01",
         "Passphrase" + KEY_RULES, {}},
        {"a key identifier of 257 characters", none,
         {"-CreateSecurityKey", "-SecurityKey", "Tr0ub4dor+3", "-KeyID", std::string(257, 'k'), "-a0"}, "01",
         "KeyID must not exceed 256 characters. \n", {}},
        {"a key held already", KEY_HELD, {"-CreateSecurityKey", "-SecurityKey", "x", "-a0"}, "01",
         "FW already has Security key.  Can not create key but change Security key is possible. \n", {}},
        {"no key to change", none, {"-ChangeSecurityKey", "-SecurityKey", "N3w.Key-99", "-a0"}, "01",
         "FW does not have Security key, create Security key first. \n", {}},
        {"encryption disabled", NO_ENCRYPTION, {"-CreateSecurityKey", "-SecurityKey", "Tr0ub4dor+3", "-a0"}, "01",
         "Encryption is disabled on adapter 0 \n", {}},
        {"a pass phrase alone in the key dialect", none, {"-CreateSecurityKey", "-Passphrase", "Pa55-phrase", "-a0"},
         "01", INVALID, {}},
        {"OEM 2 enters the key as pass phrase", OEM2, {"-CreateSecurityKey", "-Passphrase", "Pa55-phrase", "-a0"}, "00",
         DONE, {sent(CREATE)}},
        {"OEM 2 refuses -SecurityKey", OEM2, {"-CreateSecurityKey", "-SecurityKey", "Tr0ub4dor+3", "-a0"}, "01",
         INVALID, {}},
        {"OEM 2 destroys with the delete word", OEM2_KEY_HELD, {"-DeleteSecurityKey", "-Force", "-a0"}, "00",
         "Security key has been destroyed on adapter 0 \n", {sent(DESTROY)}},
        {"OEM 2 refuses the destroy word", OEM2_KEY_HELD, {"-DestroySecurityKey", "-Force", "-a0"}, "01", INVALID, {}},
        {"other OEMs refuse the delete word", KEY_HELD, {"-DeleteSecurityKey", "-Force", "-a0"}, "01", INVALID, {}},
    });
}

TEST_F(SecurityKeysE2e, ChangeVerifyAndDestroy)
{
    const std::string oldText104 = std::string(104, 'o');
    expectRuns({
        {"a change stages the new key, then sends the old one", KEY_HELD,
         {"-ChangeSecurityKey", "-OldSecurityKey", "Tr0ub4dor+3", "-SecurityKey", "N3w.Key-99", "-a0"}, "00", DONE,
         {sent(CREATE), sent(CHANGE)}},
        {"a wrong old key: the change fails after staging", KEY_HELD,
         {"-ChangeSecurityKey", "-OldSecurityKey", "Wr0ng.Key", "-SecurityKey", "N3w.Key-99", "-a0"}, "03",
         "Adapter 0: Operation failed.\n" + INVALID_ARGUMENTS, {sent(CREATE), sent(CHANGE, "0x03")}},
        {"an old text the block cannot hold is refused before any command", KEY_HELD,
         {"-ChangeSecurityKey", "-OldSecurityKey", oldText104, "-SecurityKey", "N3w.Key-99", "-a0"}, "01", INVALID, {}},
        {"verify: no key rules", KEY_HELD, {"-VerifySecurityKey", "-SecurityKey", "Tr0ub4dor+3", "-a0"}, "00",
         "Adapter 0: Security Key verification completed successfully.\n", {sent(VERIFY)}},
        {"verify a wrong key", KEY_HELD, {"-VerifySecurityKey", "-SecurityKey", "short", "-a0"}, "03",
         "Adapter 0: Security Key verification failed.\n" + INVALID_ARGUMENTS, {sent(VERIFY, "0x03")}},
        {"destroy needs -Force", KEY_HELD, {"-DestroySecurityKey", "-a0"}, "01",
         "Performing this operation will result in data corruption or data lost, use -force option if you are sure "
         "to perform this operation. \n",
         {}},
        {"destroy without a key", nlohmann::json(), {"-DestroySecurityKey", "-Force", "-a0"}, "01",
         "Security key is not assigned, can not destroy. \n", {}},
    });
}

TEST_F(SecurityKeysE2e, ExternalKeyManagement)
{
    nlohmann::json noAgent = EKMS;
    noAgent["bios"]["keyManagementMode"] = 0;
    expectRuns({
        {"not supported: nothing sent", nlohmann::json(), {"-CreateSecurityKey", "-UseEKMS", "-a0"}, "01",
         "External Key Management Server is not supported\n", {}},
        {"no client and no boot agent", noAgent, {"-CreateSecurityKey", "-UseEKMS", "-a0"}, "01",
         "Neither External Key Management Client nor boot agent are availbale in the system.\n Hence the requested "
         "operation can not be performed.\n",
         {}},
        {"created by the key manager: the controller asks for a reboot", EKMS, {"-CreateSecurityKey", "-UseEKMS", "-a0"},
         "00", "Please reboot the system for the changes to take effect\n", {sent(CREATE)}},
    });
}

TEST_F(SecurityKeysE2e, KeyStaysChangedAndSecureDrivesBlockTheDestroy)
{
    const std::string dir = host(KEY_HELD);
    RunResult changed =
        run(dir, {"-ChangeSecurityKey", "-OldSecurityKey", "Tr0ub4dor+3", "-SecurityKey", "N3w.Key-99", "-a0"});
    EXPECT_EQ(changed.out, BLANK_OUT + DONE + exitLine("00"));
    EXPECT_EQ(savedKeys(dir).value("key", ""), "N3w.Key-99");
    RunResult verified = run(dir, {"-VerifySecurityKey", "-SecurityKey", "N3w.Key-99", "-a0"});
    EXPECT_EQ(verified.out,
              BLANK_OUT + "Adapter 0: Security Key verification completed successfully.\n" + exitLine("00"));

    RunResult secured = run(dir, {"-LDMakeSecure", "-Lall", "-a0"});
    EXPECT_EQ(secured.out, BLANK_OUT + "Virtual Drive: 0 (Target Id: 0)\n\nMaking LD secure is successfully done. \n" +
                               "Virtual Drive: 1 (Target Id: 1)\n\nMaking LD Secure is not allowed. \n" + exitLine("00"));
    RunResult destroyed = run(dir, {"-DestroySecurityKey", "-Force", "-a0"});
    EXPECT_EQ(destroyed.exitCode, 0x4b);
    EXPECT_EQ(destroyed.out.substr(0, BLANK_OUT.size() + 70),
              BLANK_OUT + "Unable to destroy Security Key as one or more secure VDs are present.\n");
}

TEST_F(SecurityKeysE2e, SecureDrivesAndKeyIdentifiers)
{
    const nlohmann::json noVds = {{"lds", nlohmann::json::array()}, {"arrays", nlohmann::json::array()}};
    nlohmann::json noneAllowed = KEY_HELD;
    noneAllowed["lds"] = nlohmann::json::parse(readFile(std::string(QUILL_SOURCE_DIR) +
                                                        "/tests/e2e/data/security-host.json"))["controllers"][0]["lds"];
    noneAllowed["lds"][0]["allowedOperations"] = 0;
    expectRuns({
        {"no virtual drives", noVds, {"-LDMakeSecure", "-Lall", "-a0"}, "00",
         "Adapter 0: No Virtual Drive Configured.\n", {}},
        {"a target id not configured", KEY_HELD, {"-LDMakeSecure", "-L5", "-a0"}, "01",
         "Adapter 0: Virtual Drive 5 Does not Exist.\n", {}},
        {"no drive may be made secure", noneAllowed, {"-LDMakeSecure", "-Lall", "-a0"}, "01",
         "Virtual Drive: 0 (Target Id: 0)\n\nMaking LD Secure is not allowed. \n"
         "Virtual Drive: 1 (Target Id: 1)\n\nMaking LD Secure is not allowed. \n",
         {}},
        {"the adapter's key identifier", KEY_HELD, {"-GetKeyID", "-a0"}, "00", "Key ID on Adapter-0: k1\n", {}},
        {"drives in the order given; the first not found ends the list", KEY_HELD,
         {"-GetKeyID", "-PhysDrv[252:1,252:0,252:7,252:2]", "-a0"}, "01",
         "Key ID on Device(Encl-252 Slot-1): \nKey ID on Device(Encl-252 Slot-0): drive-key-8\n"
         "Adapter 0: Device at Enclosure - 252, Slot - 7 is not found.\n",
         {}},
        {"set the identifier", KEY_HELD, {"-SetKeyID", "-KeyID", "k2", "-a0"}, "00",
         "Creation of Key ID on Adapter 0 Successful\n", {sent(SET_KEY_ID)}},
        {"an identifier of 257 characters is not sent", KEY_HELD, {"-SetKeyID", "-KeyID", std::string(257, 'k'), "-a0"},
         "01", "KeyID must not exceed 256 characters. \n", {}},
        {"encryption disabled", NO_ENCRYPTION, {"-GetKeyID", "-a0"}, "01", "Encryption is disabled on adapter 0 \n", {}},
    });
}

// Texts the firmware's blocks cannot hold are refused, whole, before anything is sent; answers
// that cannot be read are not taken for the permissive ones.
TEST_F(SecurityKeysE2e, LimitsAndUnreadableAnswers)
{
    const std::string text103 = "Ab1+" + std::string(99, 'x');
    const std::string keyId256(256, 'k');
    expectRuns({
        {"a verified text of 103 characters reaches the firmware", KEY_HELD,
         {"-VerifySecurityKey", "-SecurityKey", text103, "-a0"}, "03",
         "Adapter 0: Security Key verification failed.\n" + INVALID_ARGUMENTS, {sent(VERIFY, "0x03")}},
        {"a verified text of 104 characters is refused", KEY_HELD,
         {"-VerifySecurityKey", "-SecurityKey", text103 + "x", "-a0"}, "01", INVALID, {}},
        {"a key identifier of 256 characters passes the length rule, but its field holds 255", KEY_HELD,
         {"-SetKeyID", "-KeyID", keyId256, "-a0"}, "01", "Failed to Create the Key ID on Adapter 0 \n", {}},
        {"the same at the creation of a key", nlohmann::json(),
         {"-CreateSecurityKey", "-SecurityKey", "Tr0ub4dor+3", "-KeyID", keyId256, "-a0"}, "01",
         "Adapter 0: Operation failed.\n", {}},
        {"drives without key identifiers", KEY_HELD, {"-GetKeyID", "-PhysDrv[252:2,252:3]", "-a0"}, "00",
         "Key ID on Device(Encl-252 Slot-2): \nKey ID on Device(Encl-252 Slot-3): \n", {}},
        {"destroy a key no secure drive needs", KEY_HELD, {"-DestroySecurityKey", "-Force", "-a0"}, "00",
         "Security key has been destroyed on adapter 0 \n", {sent(DESTROY)}},
        {"an OEM id that cannot be read is 1: an OEM-2 controller then takes -SecurityKey", OEM2,
         {"-CreateSecurityKey", "-SecurityKey", "Tr0ub4dor+3", "-a0"}, "00", DONE, {sent(CREATE)},
         {"status", "0x010e8481", "0x0c", "--from", "2"}},
        {"a make-secure bit that cannot be read does not allow it", KEY_HELD, {"-LDMakeSecure", "-L0", "-a0"}, "01",
         "Virtual Drive: 0 (Target Id: 0)\n\nMaking LD Secure is not allowed. \n", {},
         {"status", "0x030b0000", "0x0c"}},
    });
}

TEST_F(SecurityKeysE2e, OemTwoChangesAndVerifiesPassPhrases)
{
    expectRuns({
        {"a change from pass phrase to pass phrase", OEM2_KEY_HELD,
         {"-ChangeSecurityKey", "-OldPassphrase", "Pa55-phrase", "-Passphrase", "N3w.Phrase-9", "-a0"}, "00", DONE,
         {sent(CREATE), sent(CHANGE)}},
        {"the key words are refused", OEM2_KEY_HELD,
         {"-ChangeSecurityKey", "-OldSecurityKey", "Pa55-phrase", "-SecurityKey", "N3w.Phrase-9", "-a0"}, "01",
         INVALID, {}},
        {"verify a pass phrase", OEM2_KEY_HELD, {"-VerifySecurityKey", "-Passphrase", "Pa55-phrase", "-a0"}, "00",
         "Adapter 0: Security Key verification completed successfully.\n", {sent(VERIFY)}},
    });
}
