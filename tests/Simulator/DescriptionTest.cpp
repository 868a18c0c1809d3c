// The host description: what it refuses (with the key's path or the text's position), the
// defaults of what it leaves out, and the README's example as a host.
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>

#include "SimTestUtil.h"
#include "Simulator/Description/SimDescription.h"
#include "Simulator/QuillSim.h"

using namespace simtest;

namespace {

TEST(Description, RefusalsNameTheKeyOrThePosition)
{
    struct Case {
        const char* text;
        const char* error;
    } cases[] = {
        // Unknown keys, at the top and deep inside.
        {R"({"controller": []})", R"(unknown key "controller")"},
        {R"({"controllers": [{"host": 2, "info": {"vendorID": 1}}]})",
         R"(controllers[0].info: unknown key "vendorID")"},
        {R"({"controllers": [{"host": 2, "lds": [{"targetId": 0, "raid": 5}]}]})",
         R"(controllers[0].lds[0]: unknown key "raid")"},
        // Wrong types.
        {R"({"controllers": [{"host": "x"}]})", R"(controllers[0].host: expected a whole number, found the string "x")"},
        {R"({"controllers": {}})", "controllers: expected an array, found an object"},
        {R"({"clock": true})", "clock: expected a whole number, found true"},
        {R"({"clock": 1.5})", "clock: expected a whole number, found the number 1.5"},
        {R"({"sysfsLinkedClass": 1})", "sysfsLinkedClass: expected true or false, found the number 1"},
        {R"({"kernelRelease": 3})", "kernelRelease: expected a string, found the number 3"},
        {R"({"controllers": [{"host": 2, "drives": [7]}]})",
         "controllers[0].drives[0]: expected an object, found the number 7"},
        {R"({"controllers": [{"host": 2, "lds": [{"targetId": 0, "drives": ["a"]}]}]})",
         R"(controllers[0].lds[0].drives[0]: expected a whole number, found the string "a")"},
        {R"({"faults": [{"type": "bogus"}]})",
         R"(faults[0].type: the string "bogus" is not one of "ioctl", "status", "short", "corrupt", "missing-driver")"},
        {R"({"controllers": [{"host": 2, "drives": [{"deviceId": 8, "media": "tape"}]}]})",
         R"(controllers[0].drives[0].media: "tape" is not one of "HDD", "SSD")"},
        // Values out of their range.
        {R"({"format": 2})", "format: 2 is out of range (1..1)"},
        {R"({"clock": -1})", "clock: -1 is out of range (0..18446744073709551615)"},
        {R"({"controllers": [{"host": 2, "pci": {"device": 40}}]})",
         "controllers[0].pci.device: 40 is out of range (0..31)"},
        {R"({"controllers": [{"host": 2, "info": {"vendorId": "0x10000"}}]})",
         "controllers[0].info.vendorId: 0x10000 is out of range (0x0..0xffff)"},
        {R"({"controllers": [{"host": 70000}]})", "controllers[0].host: 70000 is out of range (0..65535)"},
        {R"({"controllers": [{"host": 2, "lds": [{"targetId": 0, "name": "sixteen chars ab"}]}]})",
         R"(controllers[0].lds[0].name: "sixteen chars ab" is longer than 15 characters)"},
        {R"({"controllers": [{"host": 2, "info": {"patch": {"0x7ff": "0102"}}}]})",
         R"(controllers[0].info.patch."0x7ff": 2 bytes from offset 0x7ff run past the record's 2048 bytes)"},
        // What is missing, repeated or incomplete.
        {R"({"controllers": [{"pci": {"bus": 4}}]})", R"(controllers[0]: "host" is missing)"},
        {R"({"controllers": [{"host": 2}, {"host": 2}]})", "controllers[1].host: 2 is already controllers[0]'s"},
        {R"({"controllers": [{"host": 2, "lds": [{"targetId": 1}, {"targetId": 1}]}]})",
         "controllers[0].lds[1].targetId: 1 is already controllers[0].lds[0]'s"},
        {R"({"faults": [{"type": "status"}]})", R"(faults[0]: a status fault needs "status")"},
        // The configuration: arrays, spans and spares.
        {R"({"controllers": [{"host": 2, "arrays": [{"drives": [8]}]}]})", R"(controllers[0].arrays[0]: "ref" is missing)"},
        {R"({"controllers": [{"host": 2, "arrays": [{"ref": 1}, {"ref": 1}]}]})",
         "controllers[0].arrays[1].ref: 1 is already controllers[0].arrays[0]'s"},
        {R"({"controllers": [{"host": 2, "lds": [{"targetId": 0, "spans": [{"array": 0, "start": 5}]}]}]})",
         R"(controllers[0].lds[0].spans[0]: unknown key "start")"},
        {R"({"controllers": [{"host": 2, "spares": [{"deviceId": 9, "dedicated": 1}]}]})",
         "controllers[0].spares[0].dedicated: expected true or false, found the number 1"},
        {R"({"controllers": [{"host": 2, "spares": [{"deviceId": 9}, {"deviceId": 9}]}]})",
         "controllers[0].spares[1].deviceId: 9 is already controllers[0].spares[0]'s"},
        {R"({"controllers": [{"host": 2, "reservedTargetIds": [256]}]})",
         "controllers[0].reservedTargetIds[0]: 256 is out of range (0..255)"},
        {R"({"controllers": [{"host": 2, "lds": [{"targetId": 0, "progress": [{"operation": "secureErase", "reconstructKind": "grow"}]}]}]})",
         R"(controllers[0].lds[0].progress[0].reconstructKind: the string "grow" is not one of "other", "add", "remove")"},
        // Text that is not a description.
        {R"({"controllers": [)",
         "parse error at line 1, column 18: syntax error while parsing value - unexpected end of input; "
         "expected '[', '{', or a literal"},
        {"{\n  \"clock\": 5,\n  \"controllers\": [{\"host\": 2,\n",
         "parse error at line 4, column 1: syntax error while parsing object key - unexpected end of input; "
         "expected string literal"},
        {"[]", "expected a JSON object at the top, found an array"},
    };
    for (const Case& c : cases) {
        sim::HostModel model;
        std::string error;
        EXPECT_FALSE(sim::readDescription(c.text, model, error)) << c.text;
        EXPECT_EQ(error, c.error) << c.text;
    }
}

// Numbers are read as JSON numbers or as decimal and "0x" strings alike.
TEST(Description, NumbersAsNumbersOrStrings)
{
    sim::HostModel model;
    std::string error;
    ASSERT_TRUE(sim::readDescription(
        R"({"clock": "010", "controllers": [{"host": "0x2", "info": {"vendorId": 4660, "subDeviceId": "0xDEF0"}}],
            "faults": [{"type": "ioctl", "return": "-5"}]})",
        model, error))
        << error;
    EXPECT_EQ(model.clock, 10u) << "a leading zero is not octal";
    EXPECT_EQ(model.controllers.at(0).host, 2);
    EXPECT_EQ(model.controllers.at(0).info.vendorId, 0x1234);
    EXPECT_EQ(model.controllers.at(0).info.subDeviceId, 0xDEF0);
    EXPECT_EQ(model.faults.at(0).returnValue, -5);
}

// A minimal description is a working host: everything it leaves out takes its default, and
// its description says no more than it did.
TEST(Description, LeftOutFieldsTakeTheirDefaults)
{
    TempDir tmp;
    const std::string dir = tmp.path() + "/host";
    ASSERT_EQ(sim::createHostFromDescription(dir, R"({"controllers": [{"host": 2}]})"), 0);
    EXPECT_EQ(readText(dir + "/state.json"), "{\n  \"format\": 1,\n  \"controllers\": [\n    {\"host\": 2}\n  ]\n}\n");
    EXPECT_EQ(readText(dir + "/proc/devices").find("250 quillraid_sas_ioctl\n") != std::string::npos, true);
    EXPECT_EQ(readText(dir + "/sys/class/scsi_host/host2/proc_name"), "quillraid_sas\n");

    sim::SimHost host(dir);
    ASSERT_EQ(host.load(), 0);
    DcmdPacket info(2, 0x01010000, 2048);
    ASSERT_EQ(host.driver().ioctl(0, REQ_SAS, info.pkt), 0);
    ASSERT_EQ(info.status(), 0);
    const uint8_t* r = info.data.data();
    EXPECT_EQ(r16(r, 0), 0x1E7A);
    EXPECT_EQ(r16(r, 2), 0x0040);
    EXPECT_EQ(r[0x53F], 64);
    EXPECT_STREQ(reinterpret_cast<const char*>(r + 0x540), "QuillRAID SAS 4080-8i");
    EXPECT_EQ(r32(r, 0xB4), 3u);
    DcmdPacket oem(2, 0x010E8481, 24);
    ASSERT_EQ(host.driver().ioctl(0, REQ_SAS, oem.pkt), 0);
    EXPECT_EQ(oem.data[0], 1);
}

// The README's example: a host made from it, its description made into a host again, gives
// the same description; and the example's fields reach the firmware's records.
TEST(Description, TheReadmeExampleRoundTrips)
{
    std::ifstream in(std::string(QUILL_SOURCE_DIR) + "/Simulator/README.md");
    std::stringstream readme;
    readme << in.rdbuf();
    const std::string text = readme.str();
    const size_t open = text.find("```json\n");
    ASSERT_NE(open, std::string::npos) << "the README shows its example in a json block";
    const size_t close = text.find("```", open + 8);
    ASSERT_NE(close, std::string::npos);
    const std::string example = text.substr(open + 8, close - open - 8);

    TempDir tmp;
    ASSERT_EQ(sim::createHostFromDescription(tmp.path() + "/first", example), 0);
    const std::string shown = readText(tmp.path() + "/first/state.json");
    ASSERT_EQ(runQuillSim({"create", tmp.path() + "/second", "--from", tmp.path() + "/first/state.json"}), 0);
    EXPECT_EQ(readText(tmp.path() + "/second/state.json"), shown);

    sim::SimHost host(tmp.path() + "/second");
    ASSERT_EQ(host.load(), 0);
    DcmdPacket list(2, 0x03010000, 1032);
    ASSERT_EQ(host.driver().ioctl(0, REQ_SAS, list.pkt), 0);
    EXPECT_EQ(r32(list.data.data(), 0), 1u);
    EXPECT_EQ(list.data[8 + 4], 3) << "the example's logical drive is optimal";
    DcmdPacket encl(2, 0x09010000, 4616);
    ASSERT_EQ(host.driver().ioctl(0, REQ_SAS, encl.pkt), 0);
    EXPECT_EQ(r16(encl.data.data(), 8), 252);
    EXPECT_EQ(encl.data[8 + 15], 3) << "the example's three drives sit in its enclosure";
    DcmdPacket config(2, 0x04010000, 616);
    ASSERT_EQ(host.driver().ioctl(0, REQ_SAS, config.pkt), 0);
    EXPECT_EQ(r32(config.data.data(), 0), 616u) << "one array, one logical drive, one spare";
    EXPECT_EQ(r16(config.data.data(), 320 + 64 + 16), 0) << "the logical drive's span lies on array 0";
    EXPECT_EQ(r16(config.data.data(), 576), 10) << "the spare";
}

} // namespace

namespace {

// A SAS disk with every drive-record field given, a SATA SSD behind a bridge, a tape and an
// enclosure's own entry.
const char* const FOUR_DEVICES = R"({"controllers": [{"host": 2,
  "enclosures": [{"deviceId": 252}],
  "drives": [
    {"deviceId": 8, "sequence": 258, "enclosureId": 252, "slot": 3, "state": "0x18", "vendor": "QUILLDSK",
     "product": "QD4000SAS", "revision": "B002", "rawBlocks": 7814037168, "nonCoercedBlocks": 7813988016,
     "coercedBlocks": 7812939776, "vpd83": "0083000c", "unsupported": 0, "notCertified": 0,
     "connectedPorts": "0x3", "deviceSpeed": 4, "linkSpeed": 3, "secondLinkSpeed": 2, "mediaErrors": 7,
     "otherErrors": 9, "predictiveFailures": 2, "lastPredictiveSeq": 4660, "configFlags": "0x2",
     "widePort": true, "ports": [{"sasAddress": "0x5000c50012345671", "connector": 1},
                                 {"sasAddress": "0x5000c50012345672", "connector": 2, "passive": true}],
     "powerState": "0x0", "flags361": "0x40", "flags362": "0x52", "partnerId": 9, "security": "0xd",
     "temperature": 36, "physicalSectorExponent": 3, "protection": "0x92", "spareFlags": "0x1",
     "diagnosticsDate": [2026, 11, 30, 23, 59, 58], "shieldCounter": 4,
     "progress": [{"operation": "rebuild", "progress": 32768, "elapsed": 120}]},
    {"deviceId": 20, "interface": "SATA", "media": "SSD", "vendor": "ATA", "product": "QS480SATA",
     "bridgeVendor": "QBRIDGE", "bridgeProduct": "QB6000-SATA-BRDG", "bridgeRevision": "0102",
     "sectorSize": 4096, "powerState": "0xff"},
    {"deviceId": 30, "type": "0x1", "enclosureId": 252, "slot": 7, "vendor": "QTAPE", "product": "QT800"},
    {"deviceId": 252, "type": "0xd", "enclosureId": 252, "slot": 255, "position": 2, "slotCount": 12}
  ]}]})";

}  // namespace

// The drive-record fields survive a host made from a description, its description made into
// a host again, and its description read back.
TEST(Description, DriveRecordFieldsRoundTrip)
{
    TempDir tmp;
    ASSERT_EQ(sim::createHostFromDescription(tmp.path() + "/first", FOUR_DEVICES), 0);
    const std::string shown = readText(tmp.path() + "/first/state.json");
    ASSERT_EQ(runQuillSim({"create", tmp.path() + "/second", "--from", tmp.path() + "/first/state.json"}), 0);
    EXPECT_EQ(readText(tmp.path() + "/second/state.json"), shown);

    sim::HostModel model;
    std::string error;
    ASSERT_TRUE(sim::readDescription(shown, model, error)) << error;
    const std::vector<sim::Drive>& d = model.controllers.at(0).drives;
    ASSERT_EQ(d.size(), 4u);
    EXPECT_EQ(d[0].ports.size(), 2u);
    EXPECT_TRUE(d[0].ports[1].passive);
    EXPECT_EQ(d[0].ports[1].sasAddress, 0x5000c50012345672ull);
    EXPECT_EQ(d[0].nonCoercedBlocks.value_or(0), 7813988016ull);
    EXPECT_EQ(d[0].diagnosticsDate, (std::vector<uint16_t>{2026, 11, 30, 23, 59, 58}));
    EXPECT_EQ(d[0].progress.at(0).operation, sim::DriveOperation::REBUILD);
    EXPECT_EQ(d[0].progress.at(0).progress, 32768);
    EXPECT_EQ(d[0].security, 0x0D);
    EXPECT_EQ(d[0].vpd83, (sim::Bytes{0x00, 0x83, 0x00, 0x0c}));
    EXPECT_EQ(d[1].bridgeProduct, "QB6000-SATA-BRDG");
    EXPECT_EQ(d[1].interface, "SATA");
    EXPECT_EQ(d[1].powerState, 0xFF);
    EXPECT_EQ(d[2].type, 1);
    EXPECT_EQ(d[3].slotCount, 12);
    EXPECT_EQ(d[3].position, 2);
    EXPECT_NE(shown.find("\"bridgeProduct\": \"QB6000-SATA-BRDG\""), std::string::npos) << shown;
}

TEST(Description, DriveRecordFieldsAreChecked)
{
    struct Case {
        const char* drive;
        const char* message;
    } cases[] = {
        {R"({"deviceId": 1, "interface": "USB"})", "\"USB\" is not one of"},
        {R"({"deviceId": 1, "progress": [{"operation": "scrub"}]})", "is not one of"},
        {R"({"deviceId": 1, "progress": [{"progress": 5}]})", "operation"},
        {R"({"deviceId": 1, "ports": [{}, {}, {}, {}, {}]})", "ports"},
        {R"({"deviceId": 1, "bridgeProduct": "QB6000-SATA-BRDG-X"})", "longer than 16"},
        {R"({"deviceId": 1, "patch": {"510": "000000"}})", "run past the record's 512 bytes"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.drive);
        sim::HostModel model;
        std::string error;
        const std::string text = std::string(R"({"controllers": [{"host": 2, "drives": [)") + c.drive + "]}]}";
        EXPECT_FALSE(sim::readDescription(text, model, error));
        EXPECT_NE(error.find(c.message), std::string::npos) << error;
    }
}

// The logical-drive information fields survive the same round trip.
TEST(Description, LogicalDriveInformationFieldsRoundTrip)
{
    const char* description = R"({"controllers": [{"host": 2, "lds": [
      {"targetId": 5, "sequence": 3, "name": "data", "propertyFlags": "0x3", "preservedCache": 1, "badBlocks": 1,
       "snapshot": 1, "powerConditions": "0x5", "cacheAssociation": 1, "sizeIsDriveSize": true,
       "progress": [{"operation": "reconstruction", "progress": 16384, "elapsed": 60},
                    {"operation": "consistencyCheck", "progress": 1}]}]}]})";
    TempDir tmp;
    ASSERT_EQ(sim::createHostFromDescription(tmp.path() + "/first", description), 0);
    const std::string shown = readText(tmp.path() + "/first/state.json");
    ASSERT_EQ(runQuillSim({"create", tmp.path() + "/second", "--from", tmp.path() + "/first/state.json"}), 0);
    EXPECT_EQ(readText(tmp.path() + "/second/state.json"), shown);

    sim::SimHost host(tmp.path() + "/second");
    ASSERT_EQ(host.load(), 0);
    DcmdPacket get(2, 0x03020000, 384, DIR_READ, 5);
    ASSERT_EQ(host.driver().ioctl(0, REQ_SAS, get.pkt), 0);
    ASSERT_EQ(get.status(), 0);
    const uint8_t* r = get.data.data();
    EXPECT_EQ(r[25], 0x03);
    EXPECT_EQ(r[32 + 11], 1);
    EXPECT_EQ(r[32 + 12], 1);
    EXPECT_EQ(r[32 + 13], 1);
    EXPECT_EQ(r[32 + 16], 0x05);
    EXPECT_EQ(r[32 + 18], 1);
    EXPECT_EQ(r32(r, 264), 0x9u) << "consistency check and reconstruction running";
    EXPECT_EQ(r16(r, 268), 1);
    EXPECT_EQ(r16(r, 280), 16384);
    EXPECT_EQ(r16(r, 282), 60);
    EXPECT_EQ(r[303], 1);
}

// The phy error counters, the phy-control answers and the drives' pass-through answers survive a round trip through quillsim.
TEST(Description, PhyControlFieldsRoundTrip)
{
    const char* text = R"({"controllers": [{"host": 2,
      "phyList": {"phys": [{"invalidDwords": 1, "disparityErrors": 2, "lossOfSync": 3, "resetProblems": 4}]},
      "phyControl": {"block": "0a0b", "list": "0102", "listCount": 3, "written": "ff"},
      "drives": [{"deviceId": 9, "interface": "SATA", "ataSerial": "S1", "ataModel": "M1", "ataFirmware": "F1",
                  "fruText": "49Y1234", "enclosureSerial": "SN42", "vpd01": "0001", "vpdC3": "00c3",
                  "logTemperature": 41, "bridgeFirmwareVersion": "FW1", "bridgeBootLoaderVersion": "BL1",
                  "bridgeConfigVersion": "CFG1"}]}]})";
    TempDir tmp;
    ASSERT_EQ(sim::createHostFromDescription(tmp.path() + "/first", text), 0);
    const std::string shown = readText(tmp.path() + "/first/state.json");
    ASSERT_EQ(runQuillSim({"create", tmp.path() + "/second", "--from", tmp.path() + "/first/state.json"}), 0);
    EXPECT_EQ(readText(tmp.path() + "/second/state.json"), shown);

    sim::HostModel model;
    std::string error;
    ASSERT_TRUE(sim::readDescription(shown, model, error)) << error;
    const sim::Controller& c = model.controllers.at(0);
    EXPECT_EQ(c.phyList.phys.at(0).resetProblems, 4u);
    EXPECT_EQ(c.phyList.phys.at(0).lossOfSync, 3u);
    EXPECT_EQ(c.phyControl.block, (sim::Bytes{0x0a, 0x0b}));
    EXPECT_EQ(c.phyControl.listCount.value_or(0), 3);
    EXPECT_EQ(c.phyControl.written, (sim::Bytes{0xff}));
    const sim::Drive& d = c.drives.at(0);
    EXPECT_EQ(d.ataModel, "M1");
    EXPECT_EQ(d.fruText, "49Y1234");
    EXPECT_EQ(d.vpdC3, (sim::Bytes{0x00, 0xc3}));
    EXPECT_EQ(d.logTemperature, 41);
    EXPECT_EQ(d.bridgeConfigVersion, "CFG1");

    EXPECT_FALSE(sim::readDescription(R"({"controllers": [{"host": 2, "phyControl": {"blocks": "00"}}]})", model, error));
    EXPECT_NE(error.find("blocks"), std::string::npos) << error;
}

// The schedules' run and status fields are read, written and read back.
TEST(Description, ScheduleStatusFieldsRoundTrip)
{
    const std::string text =
        R"({"controllers": [{"host": 2,)"
        R"( "patrolRead": {"state": 2, "iterations": 9, "pdsCompleted": 3, "startedAt": 400,)"
        R"( "suspendedAt": 460, "secondsPerDrive": 30},)"
        R"( "ccSchedule": {"supported": false, "state": 3, "iterations": 12, "vdsCompleted": 2}}]})";
    sim::HostModel model;
    std::string error;
    ASSERT_TRUE(sim::readDescription(text, model, error)) << error;
    sim::HostModel again;
    ASSERT_TRUE(sim::readDescription(sim::writeDescription(model), again, error)) << error;
    const sim::Controller& c = again.controllers.at(0);
    EXPECT_EQ(c.patrolRead.state, 2);
    EXPECT_EQ(c.patrolRead.iterations, 9u);
    EXPECT_EQ(c.patrolRead.pdsCompleted, 3);
    EXPECT_EQ(c.patrolRead.startedAt, 400u);
    EXPECT_EQ(c.patrolRead.suspendedAt.value_or(0), 460u);
    EXPECT_EQ(c.patrolRead.secondsPerDrive, 30u);
    EXPECT_FALSE(c.ccSchedule.supported);
    EXPECT_EQ(c.ccSchedule.state, 3);
    EXPECT_EQ(c.ccSchedule.iterations, 12u);
    EXPECT_EQ(c.ccSchedule.vdsCompleted, 2);

    EXPECT_FALSE(sim::readDescription(R"({"controllers": [{"host": 2, "patrolRead": {"secondsPerDrive": 0}}]})",
                                      model, error)) << "a run needs time per drive";
}

// The drive-security key state and the drives' key ids are read, written and read back.
TEST(Description, SecurityKeyFieldsRoundTrip)
{
    const std::string text =
        R"({"controllers": [{"host": 2, "drives": [{"deviceId": 8, "keyId": "drive-8"}],)"
        R"( "securityKeys": {"key": "Secret#1", "passPhrase": "phrase", "keyId": "ctl", "escrowKey": "copy",)"
        R"( "external": true, "changeStaged": true, "stagedKey": "Next#2", "stagedPassPhrase": "p2",)"
        R"( "stagedKeyId": "ctl-2", "stagedExternal": true}}]})";
    sim::HostModel model;
    std::string error;
    ASSERT_TRUE(sim::readDescription(text, model, error)) << error;
    sim::HostModel again;
    ASSERT_TRUE(sim::readDescription(sim::writeDescription(model), again, error)) << error;
    const sim::Controller& c = again.controllers.at(0);
    EXPECT_EQ(c.drives.at(0).keyId, "drive-8");
    EXPECT_EQ(c.securityKeys.key, "Secret#1");
    EXPECT_EQ(c.securityKeys.passPhrase, "phrase");
    EXPECT_EQ(c.securityKeys.keyId, "ctl");
    EXPECT_EQ(c.securityKeys.escrowKey, "copy");
    EXPECT_TRUE(c.securityKeys.external);
    EXPECT_TRUE(c.securityKeys.changeStaged);
    EXPECT_EQ(c.securityKeys.stagedKey, "Next#2");
    EXPECT_EQ(c.securityKeys.stagedPassPhrase, "p2");
    EXPECT_EQ(c.securityKeys.stagedKeyId, "ctl-2");
    EXPECT_TRUE(c.securityKeys.stagedExternal);

    const std::string longKey(36, 'k');
    EXPECT_FALSE(sim::readDescription(R"({"controllers": [{"host": 2, "securityKeys": {"key": ")" + longKey + R"("}}]})",
                                      model, error)) << "a key fills 35 characters at most";
}

TEST(Description, LogicalDriveOperationFieldsRoundTrip)
{
    const char* description = R"({"controllers": [{"host": 2, "lds": [
      {"targetId": 5, "allowedOperations": "0x4210004",
       "progress": [{"operation": "reconstruction", "progress": 100, "rate": 0, "newRaidLevel": 5,
                     "reconstructKind": "add", "reconstructDrives": [10, 11], "expansionPercent": 0},
                    {"operation": "secureErase", "suspended": true, "deleteAfter": true}]},
      {"targetId": 7}]}]})";
    TempDir tmp;
    ASSERT_EQ(sim::createHostFromDescription(tmp.path() + "/first", description), 0);
    const std::string shown = readText(tmp.path() + "/first/state.json");
    ASSERT_EQ(runQuillSim({"create", tmp.path() + "/second", "--from", tmp.path() + "/first/state.json"}), 0);
    EXPECT_EQ(readText(tmp.path() + "/second/state.json"), shown);

    sim::SimHost host(tmp.path() + "/second");
    ASSERT_EQ(host.load(), 0);
    const sim::Controller& c = host.state().model().controllers.at(0);
    const sim::LogicalDrive& ld = c.lds.at(0);
    EXPECT_EQ(ld.allowedOperations.value_or(0), 0x04210004u);
    ASSERT_EQ(ld.progress.size(), 2u);
    EXPECT_EQ(ld.progress[0].rate, 0);
    EXPECT_EQ(ld.progress[0].newRaidLevel.value_or(0), 5);
    EXPECT_EQ(ld.progress[0].reconstructKind, sim::ReconstructKind::ADD);
    EXPECT_EQ(ld.progress[0].reconstructDrives, (std::vector<uint16_t>{10, 11}));
    EXPECT_EQ(ld.progress[1].operation, sim::LdOperation::SECURE_ERASE);
    EXPECT_TRUE(ld.progress[1].suspended);
    EXPECT_TRUE(ld.progress[1].deleteAfter);
    EXPECT_EQ(ld.progress[1].rate, 656) << "the default rate";
    EXPECT_FALSE(c.lds.at(1).allowedOperations.has_value());
}

// The drive-command state the firmware keeps between runs: a host made from it shows it again.
TEST(Description, DriveCommandStateRoundTrips)
{
    const std::string text =
        "{\"controllers\": [{\"host\": 2, \"operationSeconds\": 120, \"jbodConversionsLeft\": 3, \"drives\": ["
        "{\"deviceId\": 8, \"allowedOperations\": \"0x2001fff\", \"locating\": true,"
        " \"preparedForRemoval\": true, \"progress\": [{\"operation\": \"copyback\", \"progress\": 100,"
        " \"elapsed\": 5, \"suspended\": true, \"since\": 40, \"source\": 9}, {\"operation\": \"secureErase\"}]}]}]}";
    TempDir tmp;
    ASSERT_EQ(sim::createHostFromDescription(tmp.path() + "/first", text), 0);
    const std::string shown = readText(tmp.path() + "/first/state.json");
    ASSERT_EQ(runQuillSim({"create", tmp.path() + "/second", "--from", tmp.path() + "/first/state.json"}), 0);
    EXPECT_EQ(readText(tmp.path() + "/second/state.json"), shown);

    sim::HostModel model;
    std::string error;
    ASSERT_TRUE(sim::readDescription(shown, model, error)) << error;
    const sim::Controller& c = model.controllers.at(0);
    EXPECT_EQ(c.operationSeconds, 120u);
    EXPECT_EQ(c.jbodConversionsLeft.value_or(0), 3);
    const sim::Drive& d = c.drives.at(0);
    EXPECT_EQ(d.allowedOperations, 0x2001fffu);
    EXPECT_TRUE(d.locating);
    EXPECT_TRUE(d.preparedForRemoval);
    ASSERT_EQ(d.progress.size(), 2u);
    EXPECT_EQ(d.progress[0].operation, sim::DriveOperation::COPYBACK);
    EXPECT_TRUE(d.progress[0].suspended);
    EXPECT_EQ(d.progress[0].since.value_or(0), 40u);
    EXPECT_EQ(d.progress[0].source.value_or(0), 9);
    EXPECT_EQ(d.progress[1].operation, sim::DriveOperation::SECURE_ERASE);
    // An operation no description knows is refused by name.
    EXPECT_FALSE(sim::readDescription(
        "{\"controllers\": [{\"host\": 2, \"drives\": [{\"deviceId\": 8, \"progress\": [{\"operation\": \"defrag\"}]}]}]}",
        model, error));
    EXPECT_NE(error.find("operation"), std::string::npos) << error;
}

TEST(Description, ForeignConfigurationFieldsRoundTrip)
{
    const std::string text =
        R"({"controllers": [{"host": 2, "drives": [{"deviceId": 12}, {"deviceId": 13}, {"deviceId": 16}],)"
        R"( "foreignConfigs": [{"arrays": [{"ref": 3, "drives": [12, 13]}],)"
        R"( "lds": [{"targetId": 4, "raidLevel": 1, "drivesPerSpan": 2, "spans": [{"array": 3}]}],)"
        R"( "spares": [{"deviceId": 16, "dedicated": true, "arrays": [3]}],)"
        R"( "memberState": "0x10", "outdated": [13], "lockKey": "Tr0ub4dor+3"}, {}]}]})";
    sim::HostModel model;
    std::string error;
    ASSERT_TRUE(sim::readDescription(text, model, error)) << error;
    sim::HostModel again;
    ASSERT_TRUE(sim::readDescription(sim::writeDescription(model), again, error)) << error;
    const std::vector<sim::ForeignConfig>& f = again.controllers.at(0).foreignConfigs;
    ASSERT_EQ(f.size(), 2u);
    EXPECT_EQ(f[0].arrays.at(0).ref, 3);
    EXPECT_EQ(f[0].arrays.at(0).drives, std::vector<uint16_t>({12, 13}));
    EXPECT_EQ(f[0].lds.at(0).targetId, 4);
    EXPECT_EQ(f[0].lds.at(0).spans.at(0).array, 3);
    EXPECT_EQ(f[0].spares.at(0).arrays, std::vector<uint16_t>({3}));
    EXPECT_EQ(f[0].memberState, 0x10);
    EXPECT_EQ(f[0].outdated, std::vector<uint16_t>({13}));
    EXPECT_EQ(f[0].lockKey, "Tr0ub4dor+3");
    EXPECT_EQ(f[1].memberState, 0x18) << "a left-out state is online";
    EXPECT_TRUE(f[1].lockKey.empty());

    EXPECT_FALSE(sim::readDescription(R"({"controllers": [{"host": 2, "foreignConfigs": [{"lockKey": ")" +
                                          std::string(104, 'k') + R"("}]}]})",
                                      model, error)) << "the escrow block holds 103 characters";
    EXPECT_FALSE(sim::readDescription(R"({"controllers": [{"host": 2, "foreignConfigs": [{"colour": 1}]}]})", model,
                                      error));
    EXPECT_NE(error.find("controllers[0].foreignConfigs[0]: unknown key \"colour\""), std::string::npos) << error;
}
