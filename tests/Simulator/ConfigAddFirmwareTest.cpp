// The simulated configuration add of what a restored configuration carries besides arrays and
// logical drives: spare records, missing members (0xFFFF) and the logical drives' sequence
// numbers. Each buffer goes to a controller without configuration (drives 8-11 unconfigured
// good, sequence number 1); a refused buffer changes nothing.
#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "SimTestUtil.h"
#include "Simulator/SimHost.h"

using namespace simtest;

namespace {

const uint32_t CFG_ADD = 0x04020000;
const size_t HEADER = 32, ARRAY = 288, LD = 256, SPARE = 40;

// One array (reference 0) of `members`, a RAID 1 logical drive (target id 0) over all of it,
// and spares: each {device id, sequence number, flags, array references}.
struct Buffer {
    std::vector<uint16_t> members = {8, 9};
    uint16_t ldSequence = 0;
    struct SpareRecord {
        uint16_t deviceId;
        uint16_t sequence;
        uint8_t flags;
        std::vector<uint16_t> arrays;
        uint8_t count;
    };
    std::vector<SpareRecord> spares;

    std::vector<uint8_t> bytes() const
    {
        std::vector<uint8_t> b(HEADER + ARRAY + LD + SPARE * spares.size(), 0);
        uint8_t* p = b.data();
        w32(p, 0, b.size());
        w16(p, 4, 1);
        w16(p, 6, ARRAY);
        w16(p, 8, 1);
        w16(p, 10, LD);
        w16(p, 12, spares.size());
        w16(p, 14, SPARE);
        w64(p, HEADER, 1000);
        p[HEADER + 8] = static_cast<uint8_t>(members.size());
        for (size_t i = 0; i < members.size(); ++i) {
            w16(p, HEADER + 32 + 8 * i, members[i]);
            w16(p, HEADER + 34 + 8 * i, 1);
        }
        const size_t ld = HEADER + ARRAY;
        w16(p, ld + 2, ldSequence);
        p[ld + 32] = 1;                                    // RAID 1
        p[ld + 36] = static_cast<uint8_t>(members.size()); // drives per span
        p[ld + 37] = 1;                                    // one span
        w64(p, ld + 72, 1000);                             // over the whole array 0
        for (size_t s = 0; s < spares.size(); ++s) {
            const size_t at = ld + LD + SPARE * s;
            w16(p, at, spares[s].deviceId);
            w16(p, at + 2, spares[s].sequence);
            p[at + 4] = spares[s].flags;
            p[at + 7] = spares[s].count;
            for (size_t i = 0; i < spares[s].arrays.size(); ++i)
                w16(p, at + 8 + 2 * i, spares[s].arrays[i]);
        }
        return b;
    }
};

void withoutConfiguration(sim::HostModel& m)
{
    sim::Controller& c = m.controllers.at(0);
    c.lds.clear();
    c.arrays.clear();
    c.spares.clear();
    for (sim::Drive& d : c.drives) {
        d.state = sim::PD_STATE_UNCONFIGURED_GOOD;
        d.coercedBlocks = 2000;
    }
}

}  // namespace

TEST(ConfigAddFirmware, SparesMissingMembersAndSequenceNumbers)
{
    struct Case {
        const char* what;
        std::function<void(Buffer&)> change;
        uint8_t status;
        std::function<void(const sim::Controller&)> after;
    };
    const auto nothing = [](const sim::Controller& c) {
        EXPECT_TRUE(c.lds.empty() && c.arrays.empty() && c.spares.empty());
        EXPECT_EQ(c.drives[0].state, 0x00);
    };
    const std::vector<Case> cases = {
        {"a global spare", [](Buffer& b) { b.spares = {{10, 1, 0x02, {}, 0}}; }, 0x00,
         [](const sim::Controller& c) {
             ASSERT_EQ(c.spares.size(), 1u);
             EXPECT_EQ(c.spares[0].deviceId, 10);
             EXPECT_FALSE(c.spares[0].dedicated);
             EXPECT_TRUE(c.spares[0].revertible);
             EXPECT_EQ(c.drives[2].state, 0x02);
             EXPECT_EQ(c.drives[2].configFlags & 0x02, 0x02);
             EXPECT_EQ(c.drives[0].state, 0x18);
         }},
        {"a spare dedicated to the new array", [](Buffer& b) { b.spares = {{10, 1, 0x01, {0}, 1}}; }, 0x00,
         [](const sim::Controller& c) {
             ASSERT_EQ(c.spares.size(), 1u);
             EXPECT_TRUE(c.spares[0].dedicated);
             EXPECT_EQ(c.spares[0].arrays, (std::vector<uint16_t>{0}));
         }},
        {"a spare dedicated to an array that is not there", [](Buffer& b) { b.spares = {{10, 1, 0x01, {7}, 1}}; },
         0x09, nothing},
        {"a member as spare", [](Buffer& b) { b.spares = {{8, 1, 0x00, {}, 0}}; }, 0x32, nothing},
        {"a spare named twice", [](Buffer& b) { b.spares = {{10, 1, 0, {}, 0}, {10, 1, 0, {}, 0}}; }, 0x32, nothing},
        {"a spare's old sequence number", [](Buffer& b) { b.spares = {{10, 2, 0, {}, 0}}; }, 0x03, nothing},
        {"a spare that is no drive", [](Buffer& b) { b.spares = {{0x40, 1, 0, {}, 0}}; }, 0x0c, nothing},
        {"17 array references", [](Buffer& b) { b.spares = {{10, 1, 0x01, {0}, 17}}; }, 0x03, nothing},
        {"a missing member", [](Buffer& b) { b.members = {8, 0xFFFF}; }, 0x00,
         [](const sim::Controller& c) {
             ASSERT_EQ(c.arrays.size(), 1u);
             EXPECT_EQ(c.arrays[0].drives, (std::vector<uint16_t>{8, 0xFFFF}));
             ASSERT_EQ(c.lds.size(), 1u);
             EXPECT_EQ(c.lds[0].state, 2) << "degraded";
             EXPECT_EQ(c.drives[0].state, 0x18);
         }},
        {"only missing members", [](Buffer& b) { b.members = {0xFFFF, 0xFFFF}; }, 0x09, nothing},
        {"a logical drive with a sequence number", [](Buffer& b) { b.ldSequence = 5; }, 0x03, nothing},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TempDir tmp;
        const std::string dir = makeHost(tmp, "one", withoutConfiguration);
        ASSERT_FALSE(dir.empty());
        Buffer buffer;
        c.change(buffer);
        const std::vector<uint8_t> bytes = buffer.bytes();
        DcmdPacket p(2, CFG_ADD, static_cast<uint32_t>(bytes.size()), DIR_WRITE);
        std::copy(bytes.begin(), bytes.end(), p.data.begin());
        ASSERT_EQ(sendToHost(dir, p), 0);
        EXPECT_EQ(p.status(), c.status);
        sim::SimHost host(dir, false);
        ASSERT_EQ(host.state().load(), 0);
        c.after(host.state().model().controllers.at(0));
    }
}
