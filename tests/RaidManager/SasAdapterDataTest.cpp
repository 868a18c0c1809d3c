// The SAS side of the adapter data over described controllers: connector information, the
// phys of the phy list, and the phy-control requests with the request lengths and phy numbers
// that reach the firmware (read back from the host's command log).
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "DescribedAdapter.h"

namespace {

const uint32_t SAS_GET_PHY_INFO = 0x07010000;
const uint32_t SAS_GET_CONNECTOR_INFO = 0x07030000;
const uint32_t SAS_PHY_CONTROL = 0x07040000;

// Whether a command-log line carries `field` ("len=59", "phy=9 grouped", "status=0x00").
bool has(const std::string& line, const std::string& field)
{
    return (" " + line + " ").find(" " + field + " ") != std::string::npos;
}

// Sixteen phys; phy 1 and phy 9 carry error counters of their own.
const std::string SIXTEEN_PHYS =
    "\"phyList\": {\"phys\": [{}, {\"invalidDwords\": 11, \"disparityErrors\": 12, \"lossOfSync\": 13,"
    " \"resetProblems\": 14}, {}, {}, {}, {}, {}, {}, {}, {\"invalidDwords\": 91, \"disparityErrors\": 92,"
    " \"lossOfSync\": 93, \"resetProblems\": 94}, {}, {}, {}, {}, {}, {\"disabled\": true}]}";

std::vector<uint32_t> countersOf(const uint8_t* c)
{
    std::vector<uint32_t> v;
    for (size_t at = 12; at < 28; at += 4)
        v.push_back(static_cast<uint32_t>(c[at] | c[at + 1] << 8 | c[at + 2] << 16 | c[at + 3] << 24));
    return v;
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// Connector information.

TEST(SasConnectors, InformationIsReadOnceAndAnsweredPerEntry)
{
    describedadapter::DescribedAdapter a("\"connectorInfo\": {\"connectors\": [{\"location\": 2, \"name\": \"Port 0 - 3\"},"
                         " {\"location\": 3, \"name\": \"Port 4 - 7\"}]}");
    uint8_t count = 0, location = 0xEE;
    EXPECT_EQ(a.data->getConnectorInfoCount(&count), 0);
    EXPECT_EQ(count, 2);
    EXPECT_EQ(a.data->getConnectorEntryByte(1, &location), 0);
    EXPECT_EQ(location, 3);
    string* name = nullptr;
    ASSERT_EQ(a.data->getConnectorName(0, &name), 0);
    ASSERT_NE(name, nullptr);
    EXPECT_STREQ(name->c_str(), "Port 0 - 3");
    delete name;

    // An index equal to the count hands out null; the entry byte is refused alike.
    name = reinterpret_cast<string*>(0x1);
    EXPECT_EQ(a.data->getConnectorName(2, &name), -1);
    EXPECT_EQ(name, nullptr);
    location = 0xEE;
    EXPECT_EQ(a.data->getConnectorEntryByte(2, &location), -1);
    EXPECT_EQ(location, 0xEE);
    EXPECT_EQ(a.sent(SAS_GET_CONNECTOR_INFO), 1u);
}

TEST(SasConnectors, CountBeyondTheRecordIsClampedAndAFailedReadPassesThrough)
{
    // A count of 200 in a record with room for 8 entries; the last entry fills its name field.
    describedadapter::DescribedAdapter a("\"connectorInfo\": {\"patch\": {\"0x0\": \"c8\", \"0x98\": \"4142434445464748494a4b4c4d4e4f50\"}}");
    uint8_t count = 0;
    EXPECT_EQ(a.data->getConnectorInfoCount(&count), 0);
    EXPECT_EQ(count, 8);
    string* name = nullptr;
    ASSERT_EQ(a.data->getConnectorName(7, &name), 0);
    EXPECT_STREQ(name->c_str(), "ABCDEFGHIJKLMNOP");
    delete name;
    EXPECT_EQ(a.data->getConnectorName(8, &name), -1);

    describedadapter::DescribedAdapter b("", describedadapter::failing(SAS_GET_CONNECTOR_INFO, 0x2d));
    count = 0xEE;
    EXPECT_EQ(b.data->getConnectorInfoCount(&count), 0x2d);
    EXPECT_EQ(count, 0xEE);
    EXPECT_EQ(b.data->getConnectorInfoCount(&count), 0);
    EXPECT_EQ(count, 0);
    EXPECT_EQ(b.sent(SAS_GET_CONNECTOR_INFO), 2u);
}

// ---------------------------------------------------------------------------------------------
// Phys.

TEST(SasPhys, DisabledFlagEntryAndCountWithinTheList)
{
    describedadapter::DescribedAdapter a(SIXTEEN_PHYS);
    uint32_t count = 0;
    EXPECT_EQ(a.data->getPhyCount(&count), 0);
    EXPECT_EQ(count, 16u);
    uint8_t disabled = 0xEE;
    EXPECT_EQ(a.data->getPhyInfo(15, &disabled), 0);
    EXPECT_EQ(disabled, 1);
    EXPECT_EQ(a.data->getPhyInfo(0, &disabled), 0);
    EXPECT_EQ(disabled, 0);
    disabled = 0xEE;
    EXPECT_EQ(a.data->getPhyInfo(16, &disabled), -1) << "the list has room for 16 phys";
    EXPECT_EQ(disabled, 0xEE);

    uint8_t entry[16] = {};
    EXPECT_EQ(a.data->getPhyEntry(15, entry), 0);
    EXPECT_EQ(entry[8], 15) << "phy identifier";
    EXPECT_EQ(entry[11], 0xFF) << "disabled";
    EXPECT_EQ(a.data->getPhyEntry(16, entry), -1);
    EXPECT_EQ(a.sent(SAS_GET_PHY_INFO), 1u);

    // A count the list has no room for.
    describedadapter::DescribedAdapter b("\"phyList\": {\"phys\": [{}], \"patch\": {\"0x0\": \"28000000\"}}");
    EXPECT_EQ(b.data->getPhyCount(&count), 0);
    EXPECT_EQ(count, 16u);
}

TEST(SasPhys, ErrorCountersGroupedAndFlat)
{
    describedadapter::DescribedAdapter a(SIXTEEN_PHYS);
    struct Case {
        const char* what;
        uint8_t phy;
        bool flat;
        const char* note;
        std::vector<uint32_t> counters;
    };
    const Case cases[] = {
        {"phy 9 grouped: second group, number 1", 9, false, "phy=9 grouped", {91, 92, 93, 94}},
        {"phy 9 flat", 9, true, "phy=9 flat", {91, 92, 93, 94}},
        {"phy 1 grouped", 1, false, "phy=1 grouped", {11, 12, 13, 14}},
    };
    for (const Case& c : cases) {
        a.host.clearCommands();
        uint8_t counters[28] = {};
        int status = c.flat ? a.data->getPhyErrorCountersFlat(c.phy, counters) : a.data->getPhyErrorCounters(c.phy, counters);
        EXPECT_EQ(status, 0) << c.what;
        EXPECT_EQ(countersOf(counters), c.counters) << c.what;
        const std::vector<std::string> lines = a.lines(SAS_PHY_CONTROL);
        ASSERT_EQ(lines.size(), 1u) << c.what;
        EXPECT_TRUE(has(lines[0], "len=59")) << lines[0];
        EXPECT_NE(lines[0].find(c.note), std::string::npos) << lines[0];
    }
}

TEST(SasPhys, ErrorCountersRefusedWithoutACommand)
{
    describedadapter::DescribedAdapter a("\"phyList\": {\"phys\": [{}, {}, {}]}");
    uint8_t counters[28] = {};
    EXPECT_EQ(a.data->getPhyErrorCounters(3, counters), -1) << "a phy number equal to the count";
    EXPECT_EQ(a.data->getPhyErrorCountersFlat(3, counters), -1);
    EXPECT_EQ(a.data->getPhyErrorCounters(0, nullptr), -1);
    EXPECT_EQ(a.sent(SAS_PHY_CONTROL), 0u);

    describedadapter::DescribedAdapter none("");
    EXPECT_EQ(none.data->getPhyErrorCounters(0, counters), -1) << "no phys";
    EXPECT_EQ(none.sent(SAS_PHY_CONTROL), 0u);

    describedadapter::DescribedAdapter failing(SIXTEEN_PHYS, describedadapter::failing(SAS_PHY_CONTROL, 0x0c));
    uint8_t untouched[28] = {7};
    EXPECT_EQ(failing.data->getPhyErrorCounters(2, untouched), 0x0c);
    EXPECT_EQ(untouched[0], 7);
}

// ---------------------------------------------------------------------------------------------
// The general phy-control requests.

TEST(SasPhyControl, ProbeThenBlockOfTheProbedLength)
{
    describedadapter::DescribedAdapter a("\"phyControl\": {\"block\": \"0a0b0c0d0e0f10111213\"}");
    uint8_t answer[4] = {};
    EXPECT_EQ(a.data->probePhyControlLength(0x11, 0x22, 0x33, 5, answer), 0);
    EXPECT_EQ(answer[1], 10);

    a.host.clearCommands();
    uint8_t* buffer = nullptr;
    EXPECT_EQ(a.data->readPhyControlBlock(0x11, 0x22, 0x33, 5, 0, &buffer, 1), 0);
    ASSERT_NE(buffer, nullptr);
    EXPECT_EQ(buffer[31], 0x0a);
    EXPECT_EQ(buffer[40], 0x13);
    delete[] buffer;
    const std::vector<std::string> lines = a.lines(SAS_PHY_CONTROL);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_TRUE(has(lines[0], "len=35")) << lines[0];
    EXPECT_TRUE(has(lines[1], "len=41")) << lines[1];

    a.host.clearCommands();
    EXPECT_EQ(a.data->readPhyControlBlock(0x11, 0x22, 0x33, 5, 0, nullptr, 1), -1);
    EXPECT_EQ(a.data->readPhyControlBlock(0x11, 0x22, 0x33, 5, 0, &buffer, 0), -1) << "zero marker";
    EXPECT_EQ(a.data->probePhyControlLength(0x11, 0x22, 0x33, 5, nullptr), -1);
    EXPECT_EQ(a.sent(SAS_PHY_CONTROL), 0u);
}

TEST(SasPhyControl, ListLengthsFollowTheEntryCount)
{
    struct Case {
        const char* what;
        std::string phyControl;
        int status;
        std::vector<std::string> lengths;   // of the requests sent
        uint32_t handedOut;
    };
    const Case cases[] = {
        {"one entry: the first answer", "{\"list\": \"0102030405060708090a0b0c0d0e0f1011121314\"}", 0, {"len=79"}, 48},
        {"three entries: asked again", "{\"list\": \"" + std::string(120, 'a') + "\"}", 0, {"len=79", "len=119"}, 88},
        {"eleven entries fit the length byte", "{\"listCount\": 11}", 0, {"len=79", "len=279"}, 248},
        {"twelve entries would not", "{\"listCount\": 12}", -1, {"len=79"}, 0},
    };
    for (const Case& c : cases) {
        describedadapter::DescribedAdapter a("\"phyControl\": " + c.phyControl);
        uint8_t* buffer = nullptr;
        uint32_t length = 0;
        EXPECT_EQ(a.data->readPhyControlList(0x0a, 0x99, 8, 3, 1, &buffer, &length), c.status) << c.what;
        std::vector<std::string> sent;
        for (const std::string& line : a.lines(SAS_PHY_CONTROL))
            sent.push_back(line.substr(line.find("len="), line.find(' ', line.find("len=")) - line.find("len=")));
        EXPECT_EQ(sent, c.lengths) << c.what;
        EXPECT_EQ(length, c.handedOut) << c.what;
        if (c.status == 0 && c.handedOut == 88) {
            ASSERT_NE(buffer, nullptr);
            EXPECT_EQ(buffer[24], 3) << "the response's entry count";
            EXPECT_EQ(buffer[28], 0xaa) << "the first entry";
        }
        delete[] buffer;
    }
    describedadapter::DescribedAdapter a("");
    uint8_t* buffer = nullptr;
    uint32_t length = 0;
    EXPECT_EQ(a.data->readPhyControlList(0x0a, 0, 7, 3, 0, &buffer, &length), -1) << "only selector 8";
    EXPECT_EQ(a.data->readPhyControlList(0x0a, 0, 8, 3, 0, nullptr, &length), -1);
    EXPECT_EQ(a.data->readPhyControlList(0x0a, 0, 8, 3, 0, &buffer, nullptr), -1);
    EXPECT_EQ(a.sent(SAS_PHY_CONTROL), 0u);
}

TEST(SasPhyControl, WriteCarriesItsPayload)
{
    describedadapter::DescribedAdapter a("");
    uint8_t bytes[5] = {1, 2, 3, 4, 5};
    uint8_t* payload = bytes;
    uint32_t length = 5;
    EXPECT_EQ(a.data->writePhyControlBlock(9, 0, 8, 0, 0, &payload, &length), 0);
    const std::vector<std::string> lines = a.lines(SAS_PHY_CONTROL);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_TRUE(has(lines[0], "len=36")) << lines[0];
    EXPECT_EQ(a.saved().phyControl.written, (sim::Bytes{1, 2, 3, 4, 5}));

    a.host.clearCommands();
    EXPECT_EQ(a.data->writePhyControlBlock(8, 0, 8, 0, 0, &payload, &length), -1) << "only the write form";
    EXPECT_EQ(a.data->writePhyControlBlock(9, 0, 8, 0, 0, nullptr, &length), -1);
    EXPECT_EQ(a.data->writePhyControlBlock(9, 0, 8, 0, 0, &payload, nullptr), -1);
    uint32_t tooLong = 256;
    EXPECT_EQ(a.data->writePhyControlBlock(9, 0, 8, 0, 0, &payload, &tooLong), -1) << "beyond the length byte";
    EXPECT_EQ(a.sent(SAS_PHY_CONTROL), 0u);
}
