// -EncInfo and -EncStatus through the real QuillCli binary and a host written as a description
// (tests/e2e/data/enclosure-status-host.json): two enclosures, 252 with SES pages that hold
// every element type shown and every status code, 253 with the pages made from its list entry's
// counts. Each case edits the description, runs one command and compares the console text, the
// exit code, and the SES page reads in the host's command log.
#include "E2eHarness.h"

#include <gtest/gtest.h>

#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

namespace {

typedef nlohmann::json Json;

const std::string DEVICE_ERROR = "\nFW error description: \n The requested operation could not be completed as "
                                 "device is busy or unexpected error occurred.  \n";
const std::string NO_DEVICE =
    "\nFW error description: \n The requested command cannot be completed, as the specified device does not exist.  \n";

std::string refusedRead(unsigned length)
{
    return "refused len=" + std::to_string(length) + " 0x2d";
}

// A page read as the command log shows it.
std::string pageRead(unsigned target, unsigned page, unsigned length)
{
    return "page " + std::to_string(page) + " of " + std::to_string(target) + " len=" + std::to_string(length) +
           " 0x00";
}

const Lines READS_252 = {pageRead(252, 1, 1008), pageRead(252, 2, 1024)};
const Lines READS_253 = {pageRead(253, 1, 1008), pageRead(253, 2, 1024)};
const Lines INFO_READS_252 = {pageRead(252, 1, 1008), pageRead(252, 2, 2048)};
const Lines INFO_READS_253 = {pageRead(253, 1, 1008), pageRead(253, 2, 2048)};

// ---------------------------------------------------------------------------------------------
// -EncInfo texts.

std::string infoCount(int count)
{
    return "    Number of enclosures on adapter 0 -- " + std::to_string(count) + "\n\n";
}

const std::string NA_IDENTIFICATION = "    FRU Part Number               : N/A\n"
                                      "    Enclosure Serial Number       : N/A \n"
                                      "    ESM Serial Number             : N/A \n"
                                      "    Enclosure Zoning Mode         : N/A \n";

std::string block252(const char* number, const char* position, const char* connector,
                     const char* partner = "253")
{
    return std::string("    Enclosure ") + number +
           ":\n"
           "    Device ID                     : 252\n"
           "    Number of Slots               : 4\n"
           "    Number of Power Supplies      : 2\n"
           "    Number of Fans                : 4\n"
           "    Number of Temperature Sensors : 3\n"
           "    Number of Alarms              : 1\n"
           "    Number of SIM Modules         : 1\n"
           "    Number of Physical Drives     : 3\n"
           "    Status                        : Normal\n"
           "    Position                      : " +
           position + "\n    Connector Name                : " + connector +
           "\n"
           "    Enclosure type                : SES\n" +
           NA_IDENTIFICATION + "    Partner Device Id             : " + partner +
           "\n\n"
           "    Inquiry data                  :\n"
           "        Vendor Identification     : QUILL   \n"
           "        Product Identification    : SES BACKPLANE   \n"
           "        Product Revision Level    : 0102\n"
           "        Vendor Specific           :                     \n"
           "\n\n";
}

std::string block253Head(const char* number, const char* position, const char* connector)
{
    return std::string("    Enclosure ") + number +
           ":\n"
           "    Device ID                     : 253\n"
           "    Number of Slots               : 2\n"
           "    Number of Power Supplies      : 1\n"
           "    Number of Fans                : 0\n"
           "    Number of Temperature Sensors : 1\n"
           "    Number of Alarms              : 0\n"
           "    Number of SIM Modules         : 0\n"
           "    Number of Physical Drives     : 2\n"
           "    Status                        : Fault\n"
           "    Position                      : " +
           position + "\n    Connector Name                : " + connector +
           "\n"
           "    Enclosure type                : SAFTE\n";
}

const std::string INQUIRY_253 = "    Inquiry data                  :\n"
                                "        Vendor Identification     : QUILL   \n"
                                "        Product Identification    : JBOD SHELF      \n"
                                "        Product Revision Level    : 0200\n"
                                "        Vendor Specific           :                     \n"
                                "\n\n";

std::string block253(const char* number, const char* position, const char* connector)
{
    return block253Head(number, position, connector) + NA_IDENTIFICATION +
           "    Partner Device Id             : 252\n\n" + INQUIRY_253;
}

// The -EncInfo status of 252: voltage sensors first, then power supplies, fans, temperature
// sensors and chassis.
const std::string VOLTAGES_252 = "Number of Voltage Sensors         :3\n\n"
                                 "Voltage Sensor                    :0\n"
                                 "Voltage Sensor                :Crit Over\n"
                                 "Voltage Sensor                :Crit Under\n"
                                 "voltage Sensor                :Warn Over\n"
                                 "Voltage Sensor                :Warn Under\n"
                                 "Voltage Sensor Status             :INVALID STATUS VALUE\n"
                                 "Voltage Value                     :5000 milli volts\n\n"
                                 "Voltage Sensor                    :1\n"
                                 "Voltage Sensor Status             :INVALID STATUS VALUE\n"
                                 "Voltage Value                     :-2000 milli volts\n\n"
                                 "Voltage Sensor                    :2\n"
                                 "Voltage Sensor Status             :INVALID STATUS VALUE\n"
                                 "Voltage Value                     :0 milli volts\n\n";

const std::string POWER_252 = "Number of Power Supplies     : 2 \n\n"
                              "Power Supply                 : 0 \n"
                              "Power Supply           : DC Failed \n"
                              "Power Supply           : AC Failed \n"
                              "Power Supply           : Device is Off \n"
                              "Power Supply           : Over Temperature Failed \n"
                              "Power Supply           : DC Over Current \n"
                              "Power Supply           : DC Under Voltage \n"
                              "Power Supply           : DC Over Voltage \n"
                              "Power Supply Status          : Unrecoverable\n\n"
                              "Power Supply                 : 1 \n"
                              "Power Supply Status          : Not Installed\n\n";

const std::string FANS_252 = "Number of Fans               : 4 \n\n"
                             "Fan                          : 0 \n"
                             "Fan Speed              :Low Speed\n"
                             "Fan Status                   : Unknown\n\n"
                             "Fan                          : 1 \n"
                             "Fan Speed              :Medium Speed\n"
                             "Fan Status                   : Not Available\n\n"
                             "Fan                          : 2 \n"
                             "Fan Speed              :High Speed\n"
                             "Fan Status                   : INVALID STATUS VALUE\n\n"
                             "Fan                          : 3 \n"
                             "Fan Status                   : INVALID STATUS VALUE\n\n";

// 45 shows 25; not installed (5) shows the raw 45; 10 - 20 stays in 8 bits: 246.
const std::string TEMPERATURES_252 = "Number of Temperature Sensors : 3 \n\n"
                                     "Temp Sensor                  : 0 \n"
                                     "Temperature                  : 25 \n"
                                     "Temperature Sensor Status    : OK\n\n"
                                     "Temp Sensor                  : 1 \n"
                                     "Temperature                  : 45 \n"
                                     "Temperature Sensor Status    : Not Installed\n\n"
                                     "Temp Sensor                  : 2 \n"
                                     "Temperature                  : 246 \n"
                                     "Temperature Sensor Status    : OK\n\n";

const std::string CHASSIS_252 = "Number of Chassis             : 1 "
                                "Chassis                      : 0 \n"
                                "Chassis Status               : INVALID STATUS VALUE\n\n";

const std::string INFO_STATUS_252 = VOLTAGES_252 + POWER_252 + FANS_252 + TEMPERATURES_252 + CHASSIS_252;

const std::string INFO_STATUS_253 = "Number of Voltage Sensors         :0\n\n"
                                    "Number of Power Supplies     : 1 \n\n"
                                    "Power Supply                 : 0 \n"
                                    "Power Supply Status          : OK\n\n"
                                    "Number of Fans               : 0 \n\n"
                                    "Number of Temperature Sensors : 1 \n\n"
                                    "Temp Sensor                  : 0 \n"
                                    "Temperature                  : 25 \n"
                                    "Temperature Sensor Status    : OK\n\n"
                                    "Number of Chassis             : 0 ";

// ---------------------------------------------------------------------------------------------
// -EncStatus texts.

std::string statusHead(const char* number)
{
    return std::string("Enclosure ") + number + " \n\n";
}

const std::string SLOTS_252 = "Number of Slots              : 4 \n\n"
                              "Slot                         : 0 \n"
                              "Slot Status                  : Unsupported\n\n"
                              "Slot                         : 1 \n"
                              "Slot Status                  : OK\n\n"
                              "Slot                         : 2 \n"
                              "Slot Status                  : Critical\n\n"
                              "Slot                         : 3 \n"
                              "Slot Status                  : Non Critical\n\n";

const std::string ALARMS_AND_SIMS_252 = "Number of Alarms             : 1 \n\n"
                                        "Alarm                        : 0 \n"
                                        "Alarm Status             :Alarm Muted\n"
                                        "Alarm Status             :Critical Sound if Alarm Not Muted\n"
                                        "Alarm Status             :Non Critical Sound if Alarm Not Muted\n"
                                        "Alarm Status                 : INVALID STATUS VALUE\n\n"
                                        "Number of SIM Modules        : 1 \n\n"
                                        "SIM Module                   : 0 \n"
                                        "SIM                          :Report set\n"
                                        "SIM Module Status            :INVALID STATUS VALUE\n\n";

const std::string STATUS_252 = SLOTS_252 + POWER_252 + FANS_252 + TEMPERATURES_252 + ALARMS_AND_SIMS_252;

std::string slots253(const char* first, const char* second)
{
    return std::string("Number of Slots              : 2 \n\n"
                       "Slot                         : 0 \n"
                       "Slot Status                  : ") +
           first +
           "\n\n"
           "Slot                         : 1 \n"
           "Slot Status                  : " +
           second + "\n\n";
}

const std::string REST_253 = "Number of Power Supplies     : 1 \n\n"
                             "Power Supply                 : 0 \n"
                             "Power Supply Status          : OK\n\n"
                             "Number of Fans               : 0 \n\n"
                             "Number of Temperature Sensors : 1 \n\n"
                             "Temp Sensor                  : 0 \n"
                             "Temperature                  : 25 \n"
                             "Temperature Sensor Status    : OK\n\n"
                             "Number of Alarms             : 0 \n\n"
                             "Number of SIM Modules        : 0 \n\n";

const std::string STATUS_253 = slots253("OK", "OK") + REST_253;

// ---------------------------------------------------------------------------------------------

struct Case {
    const char* what;
    std::function<void(Json&)> edit;   // on the description's controller
    Lines faults;                      // one "quillsim fault" line, split into words
    Lines args;
    int exitCode;
    std::string out;
    Lines reads;                       // the SES page reads, in order
};

Json& enclosure(Json& c, size_t i)
{
    return c["enclosures"][i];
}

// Removes the enclosure at `i` from the list (its drives stay).
void dropEnclosure(Json& c, size_t i)
{
    c["enclosures"].erase(i);
}

class EnclosureE2e : public ::testing::Test {
protected:
    void TearDown() override
    {
        for (const std::string& dir : cleanup)
            removeTree(dir);
    }

    // The RECEIVE DIAGNOSTIC RESULTS commands of the command log.
    static Lines pageReads(const std::string& dir)
    {
        Lines out;
        std::istringstream log(readFile(dir + "/commands.log"));
        std::string line;
        while (std::getline(log, line)) {
            const auto field = [&](const std::string& key) { return commandLogField(line, key); };
            if (field("opcode") != "0x0000001c")
                continue;
            // A read that an injected fault answered never reached the firmware, which notes
            // neither target nor command block.
            const std::string cdb = field("cdb");
            if (cdb.size() != 6)
                out.push_back("refused len=" + field("len") + " " + field("status"));
            else
                out.push_back("page " + std::to_string(std::stoul(cdb.substr(4), nullptr, 16)) + " of " +
                              field("target") + " len=" + field("len") + " " + field("status"));
        }
        return out;
    }

    void expectRuns(const std::vector<Case>& runs)
    {
        for (const Case& c : runs) {
            SCOPED_TRACE(c.what);
            Json d = Json::parse(readFile(std::string(QUILL_SOURCE_DIR) + "/tests/e2e/data/enclosure-status-host.json"));
            if (c.edit)
                c.edit(d["controllers"][0]);
            const std::string dir = makeSimHostFrom(d.dump(2));
            cleanup.push_back(dir.substr(0, dir.rfind('/')));
            if (!c.faults.empty()) {
                EXPECT_EQ(addSimFault(dir, c.faults), "");
            }
            RunSpec spec;
            spec.args = c.args;
            spec.args.push_back("-NoLog");
            spec.env = {{"QUILLCLI_SIM_HOST", dir}};
            RunResult r = runProgram(spec);
            cleanup.push_back(r.workDir);
            EXPECT_EQ(r.exitCode, c.exitCode);
            EXPECT_EQ(r.out, c.out);
            EXPECT_EQ(r.err, "");
            EXPECT_EQ(pageReads(dir), c.reads);
        }
    }

    std::vector<std::string> cleanup;
};

const Lines ENC_INFO = {"-EncInfo", "-a0"};
const Lines ENC_STATUS = {"-EncStatus", "-aALL"};

TEST_F(EnclosureE2e, InformationOfEachEnclosure)
{
    expectRuns({
        {"two enclosures with connector names", nullptr, {}, ENC_INFO, 0,
         BLANK_OUT + infoCount(2) + block252("0", "1", "Port 0 - 3") + INFO_STATUS_252 +
             block253("1", "2", "Port 4 - 7") + INFO_STATUS_253 + exitLine("00"),
         INFO_READS_252 + INFO_READS_253},
        {"no connector information: position and connector unavailable",
         [](Json& c) { c["info"]["reportingFeatures"] = 0; }, {}, ENC_INFO, 0,
         BLANK_OUT + infoCount(2) + block252("0", "Unavailable", "Unavailable") + INFO_STATUS_252 +
             block253("1", "Unavailable", "Unavailable") + INFO_STATUS_253 + exitLine("00"),
         INFO_READS_252 + INFO_READS_253},
        {"an enclosure on connector 0xFF: its block, no status, no connector name",
         [](Json& c) { enclosure(c, 0)["connector"] = 255; }, {}, ENC_INFO, 0,
         BLANK_OUT + infoCount(2) + block252("0", "1", "Unavailable") + block253("1", "2", "Port 4 - 7") +
             INFO_STATUS_253 + exitLine("00"),
         INFO_READS_253},
        {"one enclosure", [](Json& c) { dropEnclosure(c, 0); }, {}, ENC_INFO, 0,
         BLANK_OUT + infoCount(1) + block253("0", "2", "Port 4 - 7") + INFO_STATUS_253 + exitLine("00"),
         INFO_READS_253},
        {"no enclosure", [](Json& c) { c["enclosures"] = Json::array(); }, {}, ENC_INFO, 0,
         BLANK_OUT + infoCount(0) + exitLine("00"), {}},
        {"no enclosure list", nullptr, {"status", "0x09010000", "0x03"}, ENC_INFO, 1,
         BLANK_OUT + "Failed to get Enclosure List...\n" + exitLine("01"), {}},
    });
}

TEST_F(EnclosureE2e, IdentificationPartnerAndInquiry)
{
    // VPD page 0x01: bytes 5-7 not shown, the FRU part number at 8, the ESM serial at 26; page
    // 0xC3: the zoning mode at 8 (a byte that is not printable shows as a blank).
    const std::string vpd01 = "0001000000414243" "4652553030343258" "00000000000000000000" "45534d303031";
    const std::string vpdC3 = "00c3000000000000" "5a014e31";
    const std::string identified = "    FRU Part Number               : FRU0042X\n"
                                   "    Enclosure Serial Number       : SER4711A\n"
                                   "    ESM Serial Number             : ESM001\n"
                                   "    Enclosure Zoning Mode         : Z N1\n"
                                   "    Partner Device Id             : 252\n\n"
                                   "    Inquiry data                  :\n"
                                   "        Vendor Identification     : IBM     \n"
                                   "        Product Identification    : EXP2512         \n"
                                   "        Product Revision Level    : 0200\n"
                                   "        Vendor Specific           :                     \n"
                                   "\n\n";
    expectRuns({
        {"an enclosure model: its identification lines",
         [&](Json& c) {
             dropEnclosure(c, 0);
             Json& d = c["drives"][1];
             d["vendor"] = "IBM";
             d["product"] = "EXP2512";
             d["enclosureSerial"] = "SER4711A";
             d["vpd01"] = vpd01;
             d["vpdC3"] = vpdC3;
         },
         {}, ENC_INFO, 0,
         BLANK_OUT + infoCount(1) + block253Head("0", "2", "Port 4 - 7") + identified + INFO_STATUS_253 +
             exitLine("00"),
         INFO_READS_253},
        // The slot count is not read without the controller's capability; the identification
        // read still works, but no id is shown for a read that failed.
        {"no slot count: the partner id is unavailable",
         [](Json& c) {
             dropEnclosure(c, 0);
             c["info"]["storageFeatures"] = 0;
         },
         {}, ENC_INFO, 0,
         BLANK_OUT + infoCount(1) + block253Head("0", "2", "Port 4 - 7") + NA_IDENTIFICATION +
             "    Partner Device Id             : Unavailable\n\n" + INQUIRY_253 + INFO_STATUS_253 + exitLine("00"),
         INFO_READS_253},
        {"no inquiry data: the command ends after the enclosures before",
         [](Json& c) {
             c["drives"].erase(1);
             enclosure(c, 1)["driveCount"] = 2;
         },
         {}, ENC_INFO, 0x0c,
         BLANK_OUT + infoCount(2) + block252("0", "1", "Port 0 - 3") + INFO_STATUS_252 +
             block253Head("1", "2", "Port 4 - 7") + NA_IDENTIFICATION +
             "    Partner Device Id             : Unavailable\n\n"
             "Adapter 0: Failed to get Inquiry data of the Enclosure\n\n" +
             NO_DEVICE + exitLine("0c"),
         INFO_READS_252},
    });
}

TEST_F(EnclosureE2e, StatusOfEachEnclosure)
{
    expectRuns({
        {"two enclosures, numbered", nullptr, {}, ENC_STATUS, 0,
         BLANK_OUT + statusHead("0") + STATUS_252 + statusHead("1") + STATUS_253 + exitLine("00"),
         READS_252 + READS_253},
        {"without connector information the status is the same", [](Json& c) { c["info"]["reportingFeatures"] = 0; },
         {}, {"-EncStatus", "-a0"}, 0,
         BLANK_OUT + statusHead("0") + STATUS_252 + statusHead("1") + STATUS_253 + exitLine("00"),
         READS_252 + READS_253},
        {"an enclosure on connector 0xFF is not numbered", [](Json& c) { enclosure(c, 0)["connector"] = 255; }, {},
         ENC_STATUS, 0, BLANK_OUT + statusHead("0") + STATUS_253 + exitLine("00"), READS_253},
        {"one enclosure", [](Json& c) { dropEnclosure(c, 1); }, {}, ENC_STATUS, 0,
         BLANK_OUT + statusHead("0") + STATUS_252 + exitLine("00"), READS_252},
        {"no enclosure", [](Json& c) { c["enclosures"] = Json::array(); }, {}, ENC_STATUS, 0,
         BLANK_OUT + exitLine("00"), {}},
    });
}

// Enclosure 253 with both slot types: the later header gives the count; the slots are filled
// from 17h, then from 01h as far as 01h has elements.
TEST_F(EnclosureE2e, DeviceSlotsAndArrayDeviceSlots)
{
    auto slotTypes = [](Json first, Json second) {
        return [first, second](Json& c) {
            dropEnclosure(c, 0);
            enclosure(c, 0)["sesElements"] = Json::array({first, {{"type", "0x02"}, {"count", 1}, {"status", "01000000"}},
                                                          second, {{"type", "0x04"}, {"count", 1}, {"status", "01002d00"}}});
        };
    };
    const Json device2 = {{"type", "0x01"}, {"count", 2}, {"status", "0100000002000000"}};
    const Json array3 = {{"type", "0x17"}, {"count", 3}, {"status", "030000000300000003000000"}};
    const Json array2 = {{"type", "0x17"}, {"count", 2}, {"status", "0300000003000000"}};
    const std::string three = "Number of Slots              : 3 \n\n"
                              "Slot                         : 0 \n"
                              "Slot Status                  : OK\n\n"
                              "Slot                         : 1 \n"
                              "Slot Status                  : Critical\n\n"
                              "Slot                         : 2 \n"
                              "Slot Status                  : Non Critical\n\n";
    expectRuns({
        {"17h later: three slots, two of them from 01h", slotTypes(device2, array3), {}, ENC_STATUS, 0,
         BLANK_OUT + statusHead("0") + three + REST_253 + exitLine("00"), READS_253},
        {"01h later: two slots, both from 01h", slotTypes(array2, device2), {}, ENC_STATUS, 0,
         BLANK_OUT + statusHead("0") + slots253("OK", "Critical") + REST_253 + exitLine("00"), READS_253},
    });
}

// Pages whose counts, lengths and offsets lie: nothing is read outside the page or the record.
TEST_F(EnclosureE2e, HostilePages)
{
    const std::string noCounts = "Number of Slots              : 0 \n\n"
                                 "Number of Power Supplies     : 0 \n\n"
                                 "Number of Fans               : 0 \n\n"
                                 "Number of Temperature Sensors : 0 \n\n"
                                 "Number of Alarms             : 0 \n\n"
                                 "Number of SIM Modules        : 0 \n\n";
    // 253's power supply and temperature sensor when their elements are not in the page.
    const std::string unsupportedElements = "Number of Power Supplies     : 1 \n\n"
                                            "Power Supply                 : 0 \n"
                                            "Power Supply Status          : Unsupported\n\n"
                                            "Number of Fans               : 0 \n\n"
                                            "Number of Temperature Sensors : 1 \n\n"
                                            "Temp Sensor                  : 0 \n"
                                            "Temperature                  : 236 \n"
                                            "Temperature Sensor Status    : Unsupported\n\n";
    const std::string unsupported253 = slots253("Unsupported", "Unsupported") + unsupportedElements +
                                       "Number of Alarms             : 0 \n\n"
                                       "Number of SIM Modules        : 0 \n\n";
    const std::string missing = "FillEnclStatus: SESEnclGetElemOffset returned 0 for PowerSupply 0!!!\n"
                                "FillEnclStatus: SESEnclGetElemOffset returned 0 for temp sensor 0!!!\n";
    const std::string unsupportedInfo253 =
        "Number of Voltage Sensors         :0\n\n" + unsupportedElements + "Number of Chassis             : 0 ";
    auto only253 = [](std::function<void(Json&)> more) {
        return [more](Json& c) {
            dropEnclosure(c, 0);
            more(enclosure(c, 0));
        };
    };
    expectRuns({
        {"a type count of 255: only the headers inside the page count",
         only253([](Json& e) { e["sesTypeCount"] = 255; }), {}, ENC_STATUS, 0,
         BLANK_OUT + statusHead("0") + STATUS_253 + exitLine("00"), READS_253},
        {"a type count of 255 and a page length past the buffer",
         only253([](Json& e) {
             e["sesTypeCount"] = 255;
             e["sesConfigLength"] = "0xffff";
             e["sesDescriptorLength"] = 255;
         }),
         {}, ENC_STATUS, 0, BLANK_OUT + statusHead("0") + STATUS_253 + exitLine("00"), READS_253},
        {"a configuration page too short for its headers: no elements",
         only253([](Json& e) { e["sesConfigLength"] = 20; }), {}, ENC_STATUS, 0,
         BLANK_OUT + statusHead("0") + noCounts + exitLine("00"), READS_253},
        {"a status page that holds no element: all unsupported",
         only253([](Json& e) { e["sesStatusLength"] = 4; }), {}, ENC_STATUS, 0,
         BLANK_OUT + statusHead("0") + unsupported253 + exitLine("00"), READS_253},
        {"-EncInfo and a status page that holds no element: the fill diagnostics",
         only253([](Json& e) { e["sesStatusLength"] = 4; }), {}, ENC_INFO, 0,
         BLANK_OUT + infoCount(1) + block253("0", "2", "Port 4 - 7") + missing + unsupportedInfo253 + exitLine("00"),
         INFO_READS_253},
        {"elements beyond the status page buffer: unsupported",
         only253([](Json& e) {
             e["sesElements"] = Json::array({{{"type", "0x80"}, {"count", 255}}, {{"type", "0x81"}, {"count", 255}},
                                             {{"type", "0x02"}, {"count", 1}, {"status", "01000000"}}});
         }),
         {}, ENC_STATUS, 0,
         BLANK_OUT + statusHead("0") + "Number of Slots              : 0 \n\n" +
             "Number of Power Supplies     : 1 \n\n"
             "Power Supply                 : 0 \n"
             "Power Supply Status          : Unsupported\n\n"
             "Number of Fans               : 0 \n\n"
             "Number of Temperature Sensors : 0 \n\n"
             "Number of Alarms             : 0 \n\n"
             "Number of SIM Modules        : 0 \n\n" +
             exitLine("00"),
         READS_253},
        {"more slots than the status record holds: the counts alone, no status page",
         only253([](Json& e) {
             e["sesElements"] = Json::array({{{"type", "0x17"}, {"count", 200}}, {{"type", "0x02"}, {"count", 1}}});
         }),
         {}, ENC_STATUS, 0,
         BLANK_OUT + statusHead("0") + "Number of Slots              : 200 \n\n" +
             "Number of Power Supplies     : 1 \n\n"
             "Number of Fans               : 0 \n\n"
             "Number of Temperature Sensors : 0 \n\n"
             "Number of Alarms             : 0 \n\n"
             "Number of SIM Modules        : 0 \n\n" +
             exitLine("00"),
         {pageRead(253, 1, 1008)}},
        {"more elements than the information record holds: the counts alone",
         only253([](Json& e) {
             e["sesElements"] = Json::array({{{"type", "0x17"}, {"count", 200}}, {{"type", "0x12"}, {"count", 40}},
                                             {{"type", "0x0e"}, {"count", 1}}});
         }),
         {}, ENC_INFO, 0,
         BLANK_OUT + infoCount(1) + block253("0", "2", "Port 4 - 7") + "Number of Voltage Sensors         :40\n\n" +
             "Number of Power Supplies     : 0 \n\n"
             "Number of Fans               : 0 \n\n"
             "Number of Temperature Sensors : 0 \n\n"
             "Number of Chassis             : 1 " +
             exitLine("00"),
         {pageRead(253, 1, 1008)}},
    });
}

TEST_F(EnclosureE2e, PageReadFailures)
{
    const std::string configFailed = "Receive Diagnostic for page code 1 failed!!! Encl Dev Id 252, rval 0x2D\n";
    expectRuns({
        {"-EncStatus: the configuration page", nullptr, {"status", "0x1c", "0x2d", "--once"}, ENC_STATUS, 0x2d,
         BLANK_OUT + configFailed +
             "GetEnclStatusFunc: Receive Diagnostic for page code 1 failed!!! Encl Dev Id 252, rval 0x2D\n" +
             DEVICE_ERROR + exitLine("2d"),
         {refusedRead(1008)}},
        {"-EncStatus: the status page", nullptr, {"status", "0x1c", "0x2d", "--from", "2"}, ENC_STATUS, 0x2d,
         BLANK_OUT + "GetEnclStatusFunc: Receive Diagnostic for page code 2 failed!!! Encl Dev Id 252, rval 0x2D\n" +
             DEVICE_ERROR + exitLine("2d"),
         {pageRead(252, 1, 1008), refusedRead(1024)}},
        {"-EncStatus: the second enclosure's page, after the first enclosure", nullptr,
         {"status", "0x1c", "0x2d", "--from", "3"}, ENC_STATUS, 0x2d,
         BLANK_OUT + statusHead("0") + STATUS_252 +
             "Receive Diagnostic for page code 1 failed!!! Encl Dev Id 253, rval 0x2D\n"
             "GetEnclStatusFunc: Receive Diagnostic for page code 1 failed!!! Encl Dev Id 253, rval 0x2D\n" +
             DEVICE_ERROR + exitLine("2d"),
         READS_252 + Lines{refusedRead(1008)}},
        {"-EncInfo: the configuration page, reported twice", nullptr, {"status", "0x1c", "0x2d", "--once"}, ENC_INFO,
         0x2d, BLANK_OUT + infoCount(2) + block252("0", "1", "Port 0 - 3") + configFailed + configFailed +
                   DEVICE_ERROR + exitLine("2d"),
         {refusedRead(1008)}},
        {"-EncInfo: the status page", nullptr, {"status", "0x1c", "0x2d", "--from", "2"}, ENC_INFO, 0x2d,
         BLANK_OUT + infoCount(2) + block252("0", "1", "Port 0 - 3") +
             "Receive Diagnostic for page code 2 failed!!! Encl Dev Id 252, rval 0x2D\n" + DEVICE_ERROR +
             exitLine("2d"),
         {pageRead(252, 1, 1008), refusedRead(2048)}},
    });
}

}  // namespace
