// The event log, event capture and performance monitor of the host description: they round-trip through create and show, refuse what does not fit,
// and reach the firmware's records at their offsets.
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
      "eventLog": {"newest": "0x30", "oldest": "0x20", "clear": "0x21", "shutdown": "0x22", "boot": "0x23",
                   "events": [{"seq": "0x21", "time": "0xff00003c", "code": "0x3f", "locale": "0x1", "class": -1,
                               "argType": 9, "args": "0700000000000000020000", "description": "Consistency check"},
                              {"seq": "0x20", "time": "0x1", "code": "0x71", "class": 3}]},
      "eventCapture": {"state": 2, "startValue": "0x10", "mode": 1, "filterMask": "0x3"},
      "dpm": {"configuration": 2, "value": 5},
      "lds": [{"targetId": 0, "preservedCache": 1}, {"targetId": 63, "preservedCache": 1}]
    }
  ]
}
)";

std::vector<uint8_t> read(sim::SimHost& host, uint32_t opcode, uint32_t length, uint32_t mbox0 = 0)
{
    DcmdPacket p(2, opcode, length, DIR_READ, mbox0);
    EXPECT_EQ(host.driver().ioctl(0, REQ_SAS, p.pkt), 0);
    EXPECT_EQ(p.status(), 0);
    return p.data;
}

}  // namespace

TEST(EventFirmware, DescriptionRoundTripsThroughCreateAndShow)
{
    TempDir tmp;
    ASSERT_EQ(sim::createHostFromDescription(tmp.path() + "/first", DESCRIPTION), 0);
    const std::string shown = readText(tmp.path() + "/first/state.json");
    for (const char* key : {"eventLog", "events", "argType", "description", "eventCapture", "filterMask", "dpm"})
        EXPECT_NE(shown.find(std::string("\"") + key + "\""), std::string::npos) << key;
    ASSERT_EQ(runQuillSim({"create", tmp.path() + "/second", "--from", tmp.path() + "/first/state.json"}), 0);
    EXPECT_EQ(readText(tmp.path() + "/second/state.json"), shown);
}

TEST(EventFirmware, RecordsCarryTheirFieldsAtTheirOffsets)
{
    TempDir tmp;
    ASSERT_EQ(sim::createHostFromDescription(tmp.path() + "/host", DESCRIPTION), 0);
    sim::SimHost host(tmp.path() + "/host");
    ASSERT_EQ(host.load(), 0);

    const std::vector<uint8_t> info = read(host, 0x01040100, 20);
    EXPECT_EQ(r32(info.data(), 0), 0x30u);
    EXPECT_EQ(r32(info.data(), 4), 0x20u);
    EXPECT_EQ(r32(info.data(), 8), 0x21u);
    EXPECT_EQ(r32(info.data(), 12), 0x22u);
    EXPECT_EQ(r32(info.data(), 16), 0x23u);

    // All locales, class -2 and above, from 0: both events in sequence order.
    DcmdPacket get(2, 0x01040300, 8 + 2 * 256, DIR_READ, 0);
    w32(get.pkt + 20, 32, 0xfe00ffff);
    ASSERT_EQ(host.driver().ioctl(0, REQ_SAS, get.pkt), 0);
    const uint8_t* list = get.data.data();
    EXPECT_EQ(r32(list, 0), 2u);
    const uint8_t* second = list + 8 + 256;
    EXPECT_EQ(r32(list + 8, 0), 0x20u);
    EXPECT_EQ(r32(second, 0), 0x21u);
    EXPECT_EQ(r32(second, 4), 0xff00003cu);
    EXPECT_EQ(r32(second, 8), 0x3fu);
    EXPECT_EQ(r16(second, 12), 1);
    EXPECT_EQ(second[15], 0xff);
    EXPECT_EQ(second[16], 9);
    EXPECT_EQ(second[32], 7);
    EXPECT_EQ(second[40], 2);
    EXPECT_STREQ(reinterpret_cast<const char*>(second + 128), "Consistency check");

    const std::vector<uint8_t> settings = read(host, 0x01180300, 40);
    EXPECT_EQ(settings[0], 1);   // enabled
    EXPECT_EQ(settings[1], 1);   // started
    EXPECT_EQ(settings[2], 1);   // full mode
    EXPECT_EQ(r32(settings.data(), 4), 0x10u);
    EXPECT_EQ(r32(settings.data(), 16), 3u);
    EXPECT_EQ(read(host, 0x0a010000, 16)[0], 2);
    const std::vector<uint8_t> pinned = read(host, 0x030d0000, 8);
    EXPECT_EQ(pinned[0], 1);
    EXPECT_EQ(pinned[7], 0x80);
}

TEST(EventFirmware, EventsThatDoNotFitAreRefusedByName)
{
    struct Case {
        const char* fields;
        const char* error;
    } cases[] = {
        {R"("eventLog": {"events": [{"code": 1}]})", "controllers[0].eventLog.events[0]: \"seq\" is missing"},
        {R"("eventLog": {"events": [{"seq": 1, "class": 128}]})",
         "controllers[0].eventLog.events[0].class: 128 is out of range (-128..127)"},
        {R"("eventLog": {"events": [{"seq": 1, "level": 1}]})",
         R"(controllers[0].eventLog.events[0]: unknown key "level")"},
        {R"("eventCapture": {"state": 3})", "controllers[0].eventCapture.state: 3 is out of range (0..2)"},
    };
    for (const Case& c : cases) {
        sim::HostModel model;
        std::string error;
        const std::string text = std::string(R"({"controllers": [{"host": 2, )") + c.fields + "}]}";
        EXPECT_FALSE(sim::readDescription(text, model, error)) << text;
        EXPECT_EQ(error, c.error) << text;
    }
}
