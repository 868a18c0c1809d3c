// The controller records of the host description (controller-information fields, manufacturing
// defaults, properties, BIOS data, schedules, connectors, phys, runtime status): they round-trip
// through create and show, reach the firmware's records at their offsets, refuse unknown or
// mistyped fields by name, and keep what the program writes, odd bytes included.
#include <gtest/gtest.h>

#include "SimTestUtil.h"
#include "Simulator/Description/SimDescription.h"
#include "Simulator/QuillSim.h"

using namespace simtest;

namespace {

const char* const DESCRIPTION = R"({
  "format": 1,
  "controllers": [
    {
      "host": 2,
      "info": {
        "raidLevels": "0x17", "raidFeatures": "0x1", "maxSpans": 4, "minStripExponent": 4, "maxStripExponent": 10,
        "sensorsPresent": "0xc", "raidLevelOptions": "0x48", "reportingFeatures": "0x70", "storageFeatures": "0x4c",
        "ldFeatures": "0xd2", "sscFeatures": "0x1", "pdOperations": "0x3", "powerFeatures": "0x9",
        "driveMixing": "0x6b", "eccBucketCount": 12, "securityState": "0x42", "sscAndBootState": "0x6",
        "driveLimits": {"raid50": {"min": 6, "max": 240}, "raid10Prl11": {"min": 4, "max": 128}},
        "keyManagementState": 4, "maxSscSizeGB": 512, "sscSizeGB": 64, "piFeatures": "0xc1",
        "spareFeatures": "0x81", "firmwareFeatures": "0x6", "rocTemperature": 61, "controllerTemperature": 48,
        "forwardCompatibility": 0, "backwardCompatibility": 0, "productName": "QuillRAID SAS 4160-16i",
        "packageBuild": "4.90.1-0042", "images": [{"name": "APP", "version": "4.900.01-0042"}],
        "patch": {"0x786": "3412"}
      },
      "mfcDefaults": {"stripExponent": 8, "writePolicy": 2, "readPolicy": 0, "uncertifiedDrives": 2,
                      "powerSavingOptions": "0x41", "features": "0x10", "patch": {"0x41": "07"}},
      "runtimeStatus": "0x3",
      "properties": {"rebuildRate": 45, "driveFlags": "0x41", "perfTunedMode": "0x1",
                     "perfModeValues": "0102030405060708", "patch": {"0x38": "99"}},
      "bios": {"bootDevice": "0x8", "bootIsPhysical": 1, "keyManagementMode": "0x11"},
      "patrolRead": {"mode": 1, "maxConcurrentPds": 4, "executionDelay": 24},
      "ccSchedule": {"mode": 2, "excluded": [1, 3], "nextStart": 86400, "executionDelay": "0x93a80"},
      "connectorModes": {"modes": [2, 0, 1]},
      "connectorInfo": {"connectors": [{"location": 2, "name": "Port 0 - 3"}, {"location": 3, "name": "Port 4 - 7"}]},
      "phyList": {"phys": [{"sasAddress": "0x5000c50012345678", "deviceType": "0x11", "linkRate": 16},
                           {"disabled": true}, {"phyId": 9}]}
    }
  ]
}
)";

// Reads `length` bytes of record `opcode` from controller 2 of the host.
std::vector<uint8_t> record(sim::SimHost& host, uint32_t opcode, uint32_t length, uint8_t* status = nullptr)
{
    DcmdPacket p(2, opcode, length);
    EXPECT_EQ(host.driver().ioctl(0, REQ_SAS, p.pkt), 0);
    if (status != nullptr)
        *status = p.status();
    else
        EXPECT_EQ(p.status(), 0);
    return p.data;
}

uint8_t write(sim::SimHost& host, uint32_t opcode, const std::vector<uint8_t>& bytes)
{
    DcmdPacket p(2, opcode, static_cast<uint32_t>(bytes.size()), DIR_WRITE);
    p.data = bytes;
    EXPECT_EQ(host.driver().ioctl(0, REQ_SAS, p.pkt), 0);
    return p.status();
}

}  // namespace

TEST(AdapterRecords, DescriptionRoundTripsThroughCreateAndShow)
{
    TempDir tmp;
    ASSERT_EQ(sim::createHostFromDescription(tmp.path() + "/first", DESCRIPTION), 0);
    const std::string shown = readText(tmp.path() + "/first/state.json");
    for (const char* key : {"raidLevelOptions", "driveLimits", "raid10Prl11", "mfcDefaults", "runtimeStatus",
                            "properties", "perfModeValues", "bios", "patrolRead", "ccSchedule", "connectorModes",
                            "connectorInfo", "phyList", "sscAndBootState", "controllerTemperature"})
        EXPECT_NE(shown.find(std::string("\"") + key + "\""), std::string::npos) << key;
    EXPECT_EQ(shown.find("\"raid0\""), std::string::npos) << "a limit at its default is left out";
    ASSERT_EQ(runQuillSim({"create", tmp.path() + "/second", "--from", tmp.path() + "/first/state.json"}), 0);
    EXPECT_EQ(readText(tmp.path() + "/second/state.json"), shown);
}

TEST(AdapterRecords, FieldsReachTheirOffsets)
{
    TempDir tmp;
    ASSERT_EQ(sim::createHostFromDescription(tmp.path() + "/host", DESCRIPTION), 0);
    sim::SimHost host(tmp.path() + "/host");
    ASSERT_EQ(host.load(), 0);

    const std::vector<uint8_t> info = record(host, 0x01010000, 2048);
    const uint8_t* r = info.data();
    const struct { size_t offset; unsigned value; } bytes[] = {
        {0x53d, 4}, {0x5b1, 0x0c}, {0x5dc, 0x17}, {0x5dd, 0x48}, {0x5e1, 0x01}, {0x5e2, 0x70}, {0x5e3, 0x4c},
        {0x5e5, 0xd2}, {0x5e6, 0x01}, {0x5e8, 4}, {0x5e9, 10}, {0x5ec, 0x03}, {0x5ed, 0x09}, {0x5f0, 0x6b},
        {0x5f8, 0x42}, {0x5f9, 0x06}, {0x78a, 4}, {0x7a4, 0xc1}, {0x7a5, 0x81}, {0x7a6, 0x06}, {0x7c9, 61},
        {0x7ca, 48}, {0x608, 45}, {0x620, 0x41}, {0x62f, 0x01}, {0x632, 3}, {0x633, 4},
    };
    for (const auto& b : bytes)
        EXPECT_EQ(r[b.offset], b.value) << std::hex << b.offset;
    EXPECT_EQ(r16(r, 0x5f4), 12);
    EXPECT_EQ(r16(r, 0x790), 512);
    EXPECT_EQ(r16(r, 0x792), 64);
    EXPECT_EQ(r16(r, 0x786), 0x1234);
    EXPECT_EQ(r16(r, 0x76c), (240 << 4) | 6);
    EXPECT_EQ(r16(r, 0x772), (128 << 4) | 4);
    EXPECT_STREQ(reinterpret_cast<const char*>(r + 0x540), "QuillRAID SAS 4160-16i");
    EXPECT_STREQ(reinterpret_cast<const char*>(r + 0x640), "4.90.1-0042");

    const std::vector<uint8_t> defaults = record(host, 0x010e0201, 72);
    EXPECT_EQ(defaults[10], 8);
    EXPECT_EQ(defaults[12], 2);
    EXPECT_EQ(defaults[13], 0);
    EXPECT_EQ(defaults[49], 2);
    EXPECT_EQ(defaults[55], 0x41);
    EXPECT_EQ(defaults[64], 0x10);
    EXPECT_EQ(defaults[65], 0x07);

    const std::vector<uint8_t> properties = record(host, 0x01020100, 64);
    EXPECT_EQ(properties[8], 45);
    EXPECT_EQ(properties[32], 0x41);
    EXPECT_EQ(properties[56], 0x99);
    EXPECT_EQ(std::vector<uint8_t>(info.begin() + 0x600, info.begin() + 0x640), properties)
        << "the controller information carries the current properties";

    const std::vector<uint8_t> bios = record(host, 0x010c0100, 64);
    EXPECT_EQ(r16(bios.data(), 0), 8);
    EXPECT_EQ(bios[8], 1);
    EXPECT_EQ(bios[9], 0x11);
    unsigned sum = 0;
    for (uint8_t b : bios)
        sum += b;
    EXPECT_EQ(sum % 256, 0u);

    const std::vector<uint8_t> patrol = record(host, 0x01070200, 208);
    EXPECT_EQ(patrol[0], 1);
    EXPECT_EQ(patrol[1], 4);
    EXPECT_EQ(r32(patrol.data(), 200), 24u);
    const std::vector<uint8_t> schedule = record(host, 0x01140200, 168);
    EXPECT_EQ(schedule[0], 2);
    EXPECT_EQ(schedule[3], 2);
    EXPECT_EQ(r16(schedule.data(), 4), 1);
    EXPECT_EQ(r16(schedule.data(), 6), 3);
    EXPECT_EQ(r32(schedule.data(), 152), 86400u);
    EXPECT_EQ(r32(schedule.data(), 156), 604800u);

    EXPECT_EQ(record(host, 0x07020100, 5), (std::vector<uint8_t>{3, 2, 0, 1, 0}));
    const std::vector<uint8_t> connectors = record(host, 0x07030000, 168);
    EXPECT_EQ(r32(connectors.data(), 0), 2u);
    EXPECT_EQ(connectors[8 + 20], 3);
    EXPECT_STREQ(reinterpret_cast<const char*>(connectors.data() + 12 + 20), "Port 4 - 7");
    const std::vector<uint8_t> phys = record(host, 0x07010000, 264);
    EXPECT_EQ(r32(phys.data(), 0), 3u);
    EXPECT_EQ(r32(phys.data(), 8 + 4), 0x5000c500u);
    EXPECT_EQ(phys[8 + 12], 0x11);
    EXPECT_EQ(phys[8 + 14], 16);
    EXPECT_EQ(phys[8 + 16 + 8], 1) << "a phy's identifier is its index unless given";
    EXPECT_EQ(phys[8 + 16 + 11], 0xff);
    EXPECT_EQ(phys[8 + 32 + 8], 9);
    EXPECT_EQ(record(host, 0x04070000, 4), (std::vector<uint8_t>{3, 0, 0, 0}));
}

TEST(AdapterRecords, WrittenRecordsKeepTheirOddBytes)
{
    TempDir tmp;
    const std::string dir = tmp.path() + "/host";
    ASSERT_EQ(sim::createHostFromDescription(dir, DESCRIPTION), 0);
    {
        sim::SimHost host(dir);
        ASSERT_EQ(host.load(), 0);
        std::vector<uint8_t> properties = record(host, 0x01020100, 64);
        properties[8] = 70;      // the rebuild rate
        properties[35] = 0x5a;   // a byte without a name
        properties[56] = 0;      // the described patch, cleared
        EXPECT_EQ(write(host, 0x01020200, properties), 0);
        std::vector<uint8_t> taken = properties;
        taken[0] = static_cast<uint8_t>(properties[0] + 1);
        EXPECT_EQ(record(host, 0x01020100, 64), taken) << "taken as written, its sequence number moved on";

        std::vector<uint8_t> bios = record(host, 0x010c0100, 64);
        bios[2] = 1;
        EXPECT_EQ(write(host, 0x010c0200, bios), 3) << "a checksum that does not add up is refused";
        bios[63] = static_cast<uint8_t>(bios[63] - 1);
        EXPECT_EQ(write(host, 0x010c0200, bios), 0);
        EXPECT_EQ(write(host, 0x07020200, std::vector<uint8_t>{3, 1, 0, 2, 0}), 0);
    }
    sim::HostModel saved;
    std::string error;
    ASSERT_TRUE(sim::readDescription(readText(dir + "/state.json"), saved, error)) << error;
    const sim::Controller& c = saved.controllers.at(0);
    EXPECT_EQ(c.properties.rebuildRate, 70);
    EXPECT_EQ(c.properties.patch, (sim::Patch{{35, {0x5a}}}));
    EXPECT_EQ(c.bios.biosDisabled, 1);
    EXPECT_TRUE(c.bios.patch.empty());
    EXPECT_EQ(c.connectorModes.modes, (std::vector<uint8_t>{1, 0, 2}));
}

TEST(AdapterRecords, UnknownOrMistypedFieldsAreRefusedByName)
{
    struct Case {
        const char* fields;
        const char* error;
    } cases[] = {
        {R"("properties": {"rebuildrate": 30})", R"(controllers[0].properties: unknown key "rebuildrate")"},
        {R"("info": {"driveLimits": {"raid5": {"min": 16}}})",
         "controllers[0].info.driveLimits.raid5.min: 16 is out of range (0..15)"},
        {R"("info": {"driveLimits": {"raid7": {}}})", R"(controllers[0].info.driveLimits: unknown key "raid7")"},
        {R"("info": {"raidLevelOptions": "bits"})",
         R"(controllers[0].info.raidLevelOptions: expected a whole number, found the string "bits")"},
        {R"("mfcDefaults": {"writePolicy": 256})", "controllers[0].mfcDefaults.writePolicy: 256 is out of range (0..255)"},
        {R"("runtimeStatus": true)", "controllers[0].runtimeStatus: expected a whole number, found true"},
        {R"("bios": {"bootDevice": "0x10000"})", "controllers[0].bios.bootDevice: 0x10000 is out of range (0x0..0xffff)"},
        {R"("ccSchedule": {"excluded": 3})", "controllers[0].ccSchedule.excluded: expected an array, found the number 3"},
        {R"("connectorModes": {"modes": [1, 1, 1, 1, 1]})",
         "controllers[0].connectorModes.modes: 5 entries are more than the 4 it holds"},
        {R"("connectorInfo": {"connectors": [{"name": "a name of sixteen"}]})",
         R"(controllers[0].connectorInfo.connectors[0].name: "a name of sixteen" is longer than 15 characters)"},
        {R"("phyList": {"phys": [{"disabled": 1}]})",
         "controllers[0].phyList.phys[0].disabled: expected true or false, found the number 1"},
        {R"("properties": {"perfModeValues": "010203040506070809"})",
         "controllers[0].properties.perfModeValues: 9 bytes are more than the 8 it holds"},
        {R"("patrolRead": {"patch": {"0xd0": "00"}})",
         R"(controllers[0].patrolRead.patch."0xd0": 1 bytes from offset 0xd0 run past the record's 208 bytes)"},
    };
    for (const Case& c : cases) {
        sim::HostModel model;
        std::string error;
        const std::string text = std::string(R"({"controllers": [{"host": 2, )") + c.fields + "}]}";
        EXPECT_FALSE(sim::readDescription(text, model, error)) << text;
        EXPECT_EQ(error, c.error) << text;
    }
}
