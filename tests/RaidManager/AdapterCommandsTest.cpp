// The adapter operations that send one command each (event log, event capture, performance
// monitor, controller actions, preserved cache, SSD-cache associations) against described
// controllers: the mailbox and length of what reaches the firmware, read back from the host's
// command log, and what the operations hand back.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "DescribedAdapter.h"

using namespace describedadapter;

namespace {

const uint32_t EVENT_GET_INFO = 0x01040100;
const uint32_t ADP_SHUTDOWN = 0x01050000;
const uint32_t AEC_CONTROL = 0x01180100;
const uint32_t AEC_DUMP = 0x01180200;
const uint32_t DPM_SET_CONFIG = 0x0a030000;
const uint32_t TIDEWELL_SET = 0x03100100;
const uint32_t TIDEWELL_GET = 0x03100200;

// "opcode=... mbox=... len=..." of each command of the host's log.
std::vector<std::string> sentCommands(const simhost::SimHostFixture& host)
{
    std::vector<std::string> out;
    for (const std::string& line : host.commands()) {
        size_t from = line.find("opcode=");
        size_t to = line.find(" status=");
        out.push_back(line.substr(from, to - from));
    }
    return out;
}

const char* const EVENT_LOG = R"("eventLog": {"oldest": "0x10", "clear": "0x12", "shutdown": "0x11", "boot": "0x13",
    "events": [{"seq": "0x10", "class": 0, "locale": "0x1"}, {"seq": "0x11", "class": 1, "locale": "0x2"},
               {"seq": "0x13", "class": -1, "locale": "0x1"}, {"seq": "0x14", "class": 2, "locale": "0x1"}]})";

}  // namespace

// Each operation's command: mailbox words and data length as the controller receives them (the
// capture control carries no data; the catalogue gives it the length 0xFFFF).
TEST(AdapterCommands, MailboxAndLengthOfEachOperation)
{
    struct Case {
        const char* name;
        std::function<int(AdapterDataZpr&)> call;
        const char* sent;
    };
    uint8_t count[4] = {};
    uint8_t events[8 + 2 * 256] = {};
    uint8_t settings[40] = {};
    uint8_t pinned[8] = {};
    const Case cases[] = {
        {"flush", [](AdapterDataZpr& a) { return a.flushCache(); },
         "opcode=0x01101000 mbox=0x00000003,0x00000000,0x00000000 len=0"},
        {"factory defaults", [](AdapterDataZpr& a) { return a.setFactoryDefaults(); },
         "opcode=0x010d0000 mbox=0x00000000,0x00000000,0x00000000 len=0"},
        {"shutdown", [](AdapterDataZpr& a) { return a.shutdownController(1); },
         "opcode=0x01050000 mbox=0x00000001,0x00000000,0x00000000 len=0"},
        {"restart", [](AdapterDataZpr& a) { return a.restartController(1); },
         "opcode=0x01050000 mbox=0x00000100,0x00000000,0x00000000 len=0"},
        {"downgrade", [](AdapterDataZpr& a) { return a.downgradeController(); },
         "opcode=0x01190000 mbox=0x00000000,0x00000000,0x00000000 len=0"},
        {"diagnostic", [](AdapterDataZpr& a) { return a.runDiagnostic(180); },
         "opcode=0x01120100 mbox=0x000000b4,0x00000000,0x00000000 len=204800"},
        {"clear log", [](AdapterDataZpr& a) { return a.clearEventLog(); },
         "opcode=0x01040200 mbox=0x00000000,0x00000000,0x00000000 len=0"},
        {"count", [&](AdapterDataZpr& a) { return a.getEventCount(count, 0x10, 0xfe00ffff); },
         "opcode=0x01040400 mbox=0x00000010,0xfe00ffff,0x00000000 len=4"},
        {"events", [&](AdapterDataZpr& a) { return a.getEvents(0x11, events, sizeof events, 0x0000ffff); },
         "opcode=0x01040300 mbox=0x00000011,0x0000ffff,0x00000000 len=520"},
        {"capture off", [](AdapterDataZpr& a) { return a.disableEventCapture(); },
         "opcode=0x01180100 mbox=0x00000000,0x00000000,0x00000000 len=65535"},
        {"capture stop", [](AdapterDataZpr& a) { return a.stopEventCapture(); },
         "opcode=0x01180100 mbox=0x00000001,0x00000000,0x00000000 len=65535"},
        {"capture start", [](AdapterDataZpr& a) { return a.startEventCapture(0x1234); },
         "opcode=0x01180100 mbox=0x00000002,0x00001234,0x00000000 len=65535"},
        {"capture mode", [](AdapterDataZpr& a) { return a.setEventCaptureMode(5); },
         "opcode=0x01180100 mbox=0x00000003,0x00000005,0x00000000 len=65535"},
        {"capture filter", [](AdapterDataZpr& a) { return a.setEventCaptureFilter(0x80000001, 2); },
         "opcode=0x01180100 mbox=0x00000004,0x00000002,0x80000001 len=65535"},
        {"capture unfilter", [](AdapterDataZpr& a) { return a.clearEventCaptureFilter(0x1, 3); },
         "opcode=0x01180100 mbox=0x00000005,0x00000003,0x00000001 len=65535"},
        {"capture settings", [&](AdapterDataZpr& a) { return a.getEventCaptureSettings(settings); },
         "opcode=0x01180300 mbox=0x00000000,0x00000000,0x00000000 len=40"},
        {"monitor on", [](AdapterDataZpr& a) { return a.setDpmConfiguration(1, 9); },
         "opcode=0x0a030000 mbox=0x00000001,0x00000000,0x00000000 len=0"},
        {"monitor value", [](AdapterDataZpr& a) { return a.setDpmConfiguration(2, 9); },
         "opcode=0x0a030000 mbox=0x00000002,0x00000009,0x00000000 len=0"},
        {"pinned list", [&](AdapterDataZpr& a) { return a.getPinnedCacheVirtualDrives(pinned); },
         "opcode=0x030d0000 mbox=0x00000000,0x00000000,0x00000000 len=8"},
        {"pinned discard", [](AdapterDataZpr& a) { return a.discardPinnedCache(4); },
         "opcode=0x030d0100 mbox=0x00000104,0x00000000,0x00000000 len=0"},
    };
    DescribedAdapter a(std::string(EVENT_LOG) + R"(, "lds": [{"targetId": 4, "preservedCache": 1}])");
    for (const Case& c : cases) {
        a.host.clearCommands();
        EXPECT_EQ(c.call(*a.data), 0) << c.name;
        EXPECT_EQ(sentCommands(a.host), std::vector<std::string>{c.sent}) << c.name;
    }
}

TEST(AdapterCommands, EventLogInfoIsReadOnEveryCallIntoOneRecord)
{
    DescribedAdapter a(EVENT_LOG);
    const uint8_t* first = nullptr;
    const uint8_t* second = nullptr;
    ASSERT_EQ(a.data->getEventLogInfo(&first), 0);
    ASSERT_EQ(a.data->getEventLogInfo(&second), 0);
    EXPECT_EQ(first, second);
    EXPECT_EQ(a.sent(EVENT_GET_INFO), 2u);
    // Newest (the largest held), oldest, clear, shutdown, boot.
    const std::vector<uint8_t> expected = {0x14, 0, 0, 0, 0x10, 0, 0, 0, 0x12, 0, 0, 0, 0x11, 0, 0, 0, 0x13, 0, 0, 0};
    EXPECT_EQ(std::vector<uint8_t>(second, second + 20), expected);
}

TEST(AdapterCommands, EventLogInfoFailureLeavesTheOutParameterAlone)
{
    DescribedAdapter a(EVENT_LOG, failing(EVENT_GET_INFO, 0x2d));
    const uint8_t* record = nullptr;
    EXPECT_EQ(a.data->getEventLogInfo(&record), 0x2d);
    EXPECT_EQ(record, nullptr);
    EXPECT_EQ(a.data->getEventLogInfo(&record), 0);
    EXPECT_NE(record, nullptr);
}

// The firmware's selection by start number, locale mask and lowest class; an empty selection
// answers the count with status 0x23.
TEST(AdapterCommands, EventsSelectedByStartAndFilterWord)
{
    DescribedAdapter a(EVENT_LOG);
    struct Case {
        uint32_t start;
        uint32_t filter;
        int status;
        uint8_t count;
    } cases[] = {
        {0x10, 0x0000ffff, 0, 3},      // class 0 and above, all locales
        {0x10, 0xfe00ffff, 0, 4},      // class -2 and above
        {0x10, 0x00000001, 0, 2},      // the virtual-drive locale, class 0 and above
        {0x12, 0x0000ffff, 0, 1},
        {0x15, 0x0000ffff, 0x23, 0},   // nothing from there on
    };
    for (const Case& c : cases) {
        uint8_t count[4] = {0xaa, 0xaa, 0xaa, 0xaa};
        EXPECT_EQ(a.data->getEventCount(count, c.start, c.filter), c.status) << c.start << " " << c.filter;
        if (c.status == 0) {
            EXPECT_EQ(count[0], c.count) << c.start << " " << c.filter;
        }
    }
    // A buffer for one event holds the first selected one.
    uint8_t one[264] = {};
    ASSERT_EQ(a.data->getEvents(0x12, one, sizeof one, 0xfe00ffff), 0);
    EXPECT_EQ(one[0], 1);
    EXPECT_EQ(one[8], 0x13);
    EXPECT_EQ(one[8 + 15], 0xff);   // class -1
}

TEST(AdapterCommands, ClearedEventLogIsInTheNextRunsAnswers)
{
    DescribedAdapter a(EVENT_LOG);
    ASSERT_EQ(a.data->clearEventLog(), 0);
    EXPECT_EQ(a.saved().eventLog.clear, 0x15u);
}

TEST(AdapterCommands, ShutdownAndRestartShareTheOpcodeAndDifferInTheMailboxByte)
{
    DescribedAdapter a(EVENT_LOG);
    ASSERT_EQ(a.data->shutdownController(1), 0);
    ASSERT_EQ(a.data->restartController(1), 0);
    EXPECT_EQ(a.sent(ADP_SHUTDOWN), 2u);
    std::vector<std::string> sent = sentCommands(a.host);
    ASSERT_EQ(sent.size(), 2u);
    EXPECT_NE(sent[0].find("mbox=0x00000001,"), std::string::npos);
    EXPECT_NE(sent[1].find("mbox=0x00000100,"), std::string::npos);
    // The simulated controller restarted after the newest event.
    EXPECT_EQ(a.saved().eventLog.boot, 0x15u);
}

TEST(AdapterCommands, DiagnosticRunsOnTheSimulatedClock)
{
    DescribedAdapter a("");
    uint64_t before = a.host.clock();
    ASSERT_EQ(a.data->runDiagnostic(20), 0);
    EXPECT_EQ(a.host.clock(), before + 20);
}

TEST(AdapterCommands, MonitorModeAboveTwoSendsNothing)
{
    DescribedAdapter a(R"("dpm": {"configuration": 2, "value": 7})");
    EXPECT_EQ(a.data->setDpmConfiguration(3, 1), 0);
    EXPECT_EQ(a.sent(DPM_SET_CONFIG), 0u);
    uint8_t configuration = 0;
    uint8_t block[16] = {};
    ASSERT_EQ(a.data->getDpmConfiguration(&configuration, block), 0);
    EXPECT_EQ(configuration, 2);
    EXPECT_EQ(block[1], 7);
    EXPECT_EQ(a.data->getDpmConfiguration(&configuration, nullptr), 0);
}

TEST(AdapterCommands, SsdCacheListWithoutDrivesIsTheHeaderAlone)
{
    DescribedAdapter a(R"("lds": [{"targetId": 0}])");
    uint8_t* list = nullptr;
    ASSERT_EQ(a.data->getSsdCacheVirtualDrives(&list, 0), 0);
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(list[4], 0);
    delete[] list;
    EXPECT_EQ(a.sent(TIDEWELL_GET), 1u);
}

TEST(AdapterCommands, SsdCacheListIsReadAgainInUnitsPerEntry)
{
    DescribedAdapter a(R"("lds": [{"targetId": 0, "sscCache": 1}, {"targetId": 1, "cacheAssociation": 1},
                                   {"targetId": 5, "cacheAssociation": 1}])");
    uint8_t* list = nullptr;
    ASSERT_EQ(a.data->getSsdCacheVirtualDrives(&list, 0), 0);
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(list[4], 2);
    EXPECT_EQ(list[11], 1);
    EXPECT_EQ(list[12], 5);
    delete[] list;
    std::vector<std::string> sent = sentCommands(a.host);
    ASSERT_EQ(sent.size(), 2u);
    EXPECT_NE(sent[0].find("len=12"), std::string::npos);
    EXPECT_NE(sent[1].find("len=24"), std::string::npos);
}

// The association block's length word decides what is sent; the status comes back as one byte.
TEST(AdapterCommands, SsdCacheAssociationStatusIsOneByte)
{
    DescribedAdapter a(R"("lds": [{"targetId": 0, "sscCache": 1}, {"targetId": 3}])", failing(TIDEWELL_SET, 0x54));
    uint8_t block[12] = {12, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0, 3};
    EXPECT_EQ(a.data->setSsdCacheAssociation(block), 0x54);
    EXPECT_EQ(a.data->setSsdCacheAssociation(block), 0);
    EXPECT_EQ(a.saved().lds.at(1).cacheAssociation, 1);
    // A block whose length does not even cover its length word is refused, nothing sent.
    uint8_t shortBlock[4] = {2, 0, 0, 0};
    a.host.clearCommands();
    EXPECT_EQ(a.data->setSsdCacheAssociation(shortBlock), 255);
    EXPECT_EQ(a.sent(TIDEWELL_SET), 0u);
}

// The dump's size is written for every status but 3; the transport hands back the word sent.
TEST(AdapterCommands, EventCaptureDataSizeWrittenUnlessNoData)
{
    DescribedAdapter a("", failing(AEC_DUMP, 3));
    std::vector<uint8_t> buffer(0x8000);
    uint32_t size = 77;
    EXPECT_EQ(a.data->getEventCaptureData(buffer.data(), 1, &size), 3);
    EXPECT_EQ(size, 77u);
    a.host.change(simhost::both(simhost::withoutFaults(), failing(AEC_DUMP, 4)));
    EXPECT_EQ(a.data->getEventCaptureData(buffer.data(), 1, &size), 4);
    EXPECT_EQ(size, 0u);
    size = 77;
    EXPECT_EQ(a.data->getEventCaptureData(buffer.data(), 1, &size), 0);
    EXPECT_EQ(size, 0u);
    EXPECT_EQ(a.sent(AEC_DUMP), 3u);
    EXPECT_EQ(a.sent(AEC_CONTROL), 0u);
}
