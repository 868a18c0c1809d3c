// The simulated firmware's enclosure list, reached through the simulated driver with
// hand-built packets and read back at the offsets of the record layout (written out here as
// literals): count at 0, entries of 144 bytes from 8.
#include <gtest/gtest.h>

#include "SimTestUtil.h"
#include "Simulator/SimHost.h"

using namespace simtest;

namespace {

const uint32_t ENCL_GET_LIST = 0x09010000;
const uint32_t LIST_SIZE = 4616;
const size_t ENTRY = 8, ENTRY_SIZE = 144;

struct EnclosureList : ::testing::Test {
    TempDir tmp;
    std::string dir;

    int send(DcmdPacket& p)
    {
        sim::SimHost host(dir, false);
        if (host.state().load() != 0)
            return -2;
        return host.driver().ioctl(0, REQ_SAS, p.pkt);
    }
};

sim::Enclosure enclosure(unsigned deviceId)
{
    sim::Enclosure e;
    e.deviceId = static_cast<uint16_t>(deviceId);
    e.slots = 12;
    return e;
}

TEST_F(EnclosureList, PresetEnclosureWithItsDrives)
{
    dir = makeHost(tmp, "one");
    ASSERT_FALSE(dir.empty());
    DcmdPacket p(2, ENCL_GET_LIST, LIST_SIZE);
    memset(p.data.data(), 0xAB, p.data.size());
    ASSERT_EQ(send(p), 0);
    ASSERT_EQ(p.status(), 0);
    const uint8_t* r = p.data.data();
    EXPECT_EQ(r32(r, 0), 1u);
    EXPECT_EQ(r32(r, 4), 0u) << "reserved";
    EXPECT_EQ(r16(r, ENTRY + 0), 252);      // device id
    EXPECT_EQ(r[ENTRY + 3], 8);             // slots
    EXPECT_EQ(r[ENTRY + 9], 0);             // status normal
    EXPECT_EQ(r[ENTRY + 10], 2);            // SES
    EXPECT_EQ(r[ENTRY + 13], 0);            // on connector 0
    EXPECT_EQ(r[ENTRY + 15], 5);            // the preset's four drives and its own entry
    // The whole record is written: no byte of the caller's buffer is left as it was.
    EXPECT_EQ(r16(r, ENTRY + ENTRY_SIZE), 0);
    EXPECT_EQ(r[LIST_SIZE - 1], 0);
}

TEST_F(EnclosureList, EntriesFollowTheStateInOrder)
{
    std::vector<unsigned> forty;
    for (unsigned i = 0; i < 40; ++i)
        forty.push_back(100 + i);
    struct Case {
        std::vector<unsigned> ids;
        uint32_t count;
    } cases[] = {
        {{}, 0},
        {{253, 252}, 2},
        {forty, 32},  // the record holds at most 32 entries
    };
    for (const Case& c : cases) {
        TempDir perCase;
        dir = makeHost(perCase, "one", [&](sim::HostModel& st) {
            std::vector<sim::Enclosure>& list = st.controllers.at(0).enclosures;
            list.clear();
            for (unsigned id : c.ids)
                list.push_back(enclosure(id));
        });
        DcmdPacket p(2, ENCL_GET_LIST, LIST_SIZE);
        ASSERT_EQ(send(p), 0);
        ASSERT_EQ(p.status(), 0);
        const uint8_t* r = p.data.data();
        EXPECT_EQ(r32(r, 0), c.count) << c.ids.size();
        for (uint32_t i = 0; i < c.count; ++i) {
            EXPECT_EQ(r16(r, ENTRY + ENTRY_SIZE * i), c.ids[i]) << i;
            EXPECT_EQ(r[ENTRY + ENTRY_SIZE * i + 3], 12) << i;
        }
    }
}

TEST_F(EnclosureList, FieldsOfTheStateAndDriveCounts)
{
    dir = makeHost(tmp, "one", [](sim::HostModel& st) {
        sim::Controller& c = st.controllers.at(0);
        sim::Enclosure first, second;
        first.deviceId = 252;
        first.status = 1;
        first.type = 1;
        first.connector = 0xFF;
        first.fans = 6;
        second.deviceId = 300;
        second.patch[0x20] = {0x5A};
        c.enclosures = {first, second};
        // One drive moves to the second enclosure, one is attached without enclosure.
        c.drives.at(2).enclosureId = 300;
        c.drives.at(3).enclosureId = 0xFFFF;
    });
    DcmdPacket p(2, ENCL_GET_LIST, LIST_SIZE);
    ASSERT_EQ(send(p), 0);
    ASSERT_EQ(p.status(), 0);
    const uint8_t* r = p.data.data();
    const uint8_t* first = r + ENTRY;
    const uint8_t* second = r + ENTRY + ENTRY_SIZE;
    EXPECT_EQ(first[5], 6);
    EXPECT_EQ(first[9], 1);
    EXPECT_EQ(first[10], 1);
    EXPECT_EQ(first[13], 0xFF);
    EXPECT_EQ(first[15], 3) << "two drives and the enclosure's own entry";
    EXPECT_EQ(r16(second, 0), 300);
    EXPECT_EQ(second[15], 1);
    EXPECT_EQ(second[0x20], 0x5A) << "an enclosure's patch lands inside its own entry";
    EXPECT_EQ(first[0x20], 0);
}

TEST_F(EnclosureList, ShortBufferGetsTheCountAndNothingBeyondIt)
{
    dir = makeHost(tmp, "one", [](sim::HostModel& st) {
        st.controllers.at(0).enclosures = {enclosure(1), enclosure(2), enclosure(3)};
    });
    // Eight bytes asked, but the caller's memory is larger: the firmware stops at the data length.
    DcmdPacket p(2, ENCL_GET_LIST, 8);
    std::vector<uint8_t> wide(64, 0xEE);
    w64(p.pkt, 148, reinterpret_cast<uintptr_t>(wide.data()));
    w64(p.pkt, 156, wide.size());
    ASSERT_EQ(send(p), 0);
    EXPECT_EQ(p.status(), 0);
    EXPECT_EQ(r32(wide.data(), 0), 3u);
    EXPECT_EQ(wide[8], 0xEE);
}

TEST_F(EnclosureList, SecondControllerAnswersWithItsOwnEnclosures)
{
    dir = makeHost(tmp, "two", [](sim::HostModel& st) {
        st.controllers.at(1).enclosures.clear();
    });
    DcmdPacket first(2, ENCL_GET_LIST, LIST_SIZE), second(3, ENCL_GET_LIST, LIST_SIZE);
    ASSERT_EQ(send(first), 0);
    ASSERT_EQ(send(second), 0);
    EXPECT_EQ(r32(first.data.data(), 0), 1u);
    EXPECT_EQ(r32(second.data.data(), 0), 0u);
}

} // namespace
