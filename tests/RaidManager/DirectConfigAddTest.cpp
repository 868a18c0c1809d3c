// The direct adds of a logical drive, from values rather than from a plan: on drives named by
// enclosure and slot, and over spans with the settings of an existing drive. The config-add
// buffers are compared byte for byte with buffers written out here from the record layouts
// (header, 288-byte array records, 256-byte logical-drive record with its span records).
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "RaidManager/EnclSlotId.h"
#include "RaidManager/PhysicalDevice.h"
#include "RaidManager/RaidElementId.h"
#include "RaidManager/VdAddRequests.h"
#include "RaidManager/VirtualDisk.h"
#include "RaidManager/Zpr/ZprData.h"
#include "SpaceLayouts.h"
#include "Simulator/SimHost.h"
#include "Simulator/SimState.h"
#include "TestSupport.h"

using simhost::both;

namespace {

const uint32_t CFG_ADD = 0x04020000;
const uint64_t M = 0x100000;

// ---- Expected buffers, laid out from the record layouts with their literal offsets. ----

struct DriveEntry {
    uint16_t deviceId, sequence, state;
};
struct ArrayRec {
    uint64_t sizeBlocks;
    uint16_t ref;
    std::vector<DriveEntry> drives;
};
struct SpanRec {
    uint64_t start, blocks;
    uint16_t ref;
};
struct LdRec {
    uint8_t targetId;
    uint8_t defaultCache, currentCache;
    uint8_t level, qualifier, strip, drivesPerSpan;
    uint8_t encryption, ssdCaching, piType;
    std::vector<SpanRec> spans;
};

void put(std::vector<uint8_t>& b, size_t at, uint64_t value, unsigned width)
{
    for (unsigned i = 0; i < width; ++i)
        b.at(at + i) = static_cast<uint8_t>(value >> (8 * i));
}

std::vector<uint8_t> expectedBuffer(const std::vector<ArrayRec>& arrays, const LdRec& ld)
{
    const size_t total = 32 + 288 * arrays.size() + 256;
    std::vector<uint8_t> b(total, 0);
    put(b, 0, total, 4);
    put(b, 4, arrays.size(), 2);
    put(b, 6, 288, 2);
    put(b, 8, 1, 2);
    put(b, 10, 256, 2);
    put(b, 12, 0, 2);
    put(b, 14, 40, 2);
    for (size_t i = 0; i < arrays.size(); ++i) {
        const size_t a = 32 + 288 * i;
        put(b, a + 0, arrays[i].sizeBlocks, 8);
        put(b, a + 8, arrays[i].drives.size(), 1);
        put(b, a + 10, arrays[i].ref, 2);
        for (size_t d = 0; d < arrays[i].drives.size(); ++d) {
            put(b, a + 32 + 8 * d, arrays[i].drives[d].deviceId, 2);
            put(b, a + 32 + 8 * d + 2, arrays[i].drives[d].sequence, 2);
            put(b, a + 32 + 8 * d + 4, arrays[i].drives[d].state, 2);
        }
    }
    const size_t l = 32 + 288 * arrays.size();
    put(b, l + 0, ld.targetId, 1);
    put(b, l + 20, ld.defaultCache, 1);
    put(b, l + 23, ld.currentCache, 1);
    put(b, l + 32, ld.level, 1);
    put(b, l + 33, ld.qualifier, 1);
    put(b, l + 35, ld.strip, 1);
    put(b, l + 36, ld.drivesPerSpan, 1);
    put(b, l + 37, ld.spans.size(), 1);
    put(b, l + 38, 3, 1);
    put(b, l + 42, ld.encryption, 1);
    put(b, l + 47, ld.ssdCaching, 1);
    put(b, l + 49, ld.piType, 1);
    for (size_t k = 0; k < ld.spans.size(); ++k) {
        put(b, l + 64 + 24 * k, ld.spans[k].start, 8);
        put(b, l + 64 + 24 * k + 8, ld.spans[k].blocks, 8);
        put(b, l + 64 + 24 * k + 16, ld.spans[k].ref, 2);
    }
    return b;
}

uint64_t at(const std::vector<uint8_t>& b, size_t offset, unsigned width)
{
    uint64_t value = 0;
    for (unsigned i = 0; i < width && offset + i < b.size(); ++i)
        value |= static_cast<uint64_t>(b[offset + i]) << (8 * i);
    return value;
}

const sim::Controller& state(simhost::SimHostFixture& host) { return host.host().state().model().controllers.at(0); }

simhost::StateEdit onController(const std::function<void(sim::Controller&)>& change)
{
    return [change](sim::HostModel& m) { change(m.controllers.at(0)); };
}

// The config-add buffer a build (of status `built`) left pending, not sent.
std::vector<uint8_t> pending(ZprData* zpr, int built)
{
    EXPECT_EQ(built, 0);
    uint32_t size = 0;
    const uint8_t* bytes = zpr->pendingAdd(&size);
    return built == 0 && bytes != nullptr ? std::vector<uint8_t>(bytes, bytes + size) : std::vector<uint8_t>();
}

// ---- The add on drives named by enclosure and slot. ----

struct OnDrives {
    layouts::ModelHost m;
    ZprData* zpr = ZprData::instance(m.controller);
    ArrayList<EnclSlotId*> drives{8};
    std::vector<std::unique_ptr<EnclSlotId>> owned;
    VdOnDrivesRequest request;

    OnDrives(const simhost::StateEdit& edit, const std::vector<uint8_t>& slots) : m(edit)
    {
        for (uint8_t slot : slots) {
            owned.emplace_back(new EnclSlotId(layouts::ENCLOSURE, slot));
            drives.add(owned.back().get());
        }
        request.drives = &drives;
    }
    ~OnDrives() { delete request.vdId; }

    // The buffer built for the request, not sent.
    std::vector<uint8_t> build() { return pending(zpr, zpr->buildVdOnDrives(&request)); }
};

}  // namespace

TEST(DirectConfigAdd, OnFreshDrivesANewArray)
{
    // Drive 9 is the smallest; drive 10's record has sequence number 7.
    OnDrives a(both(layouts::describe(layouts::emptyConfiguration()),
                    both(layouts::drive(9, [](sim::Drive& d) { d.coercedBlocks = 1000000123; }),
                         layouts::drive(10, [](sim::Drive& d) { d.sequence = 7; }))),
               {0, 1, 2});
    ASSERT_NE(a.zpr, nullptr);
    a.request.raidLevel = 5;
    a.request.stripExponent = 7;
    a.request.readPolicy = 1;
    a.request.writePolicy = 0;
    a.request.ioPolicy = 0;
    a.request.badBatteryPolicy = 1;
    a.request.encryptionType = 1;
    a.request.piType = 2;
    a.request.startBlock = 0x1000;
    a.request.sizeBlocks = 2000000;
    // 2000000 / (3 - 1) = 1000000, whole strips of 128 blocks: 999936.
    EXPECT_EQ(a.build(), expectedBuffer({{1000000123, 0, {{8, 1, 0x18}, {9, 1, 0x18}, {10, 7, 0x18}}}},
                                        {0, 0x7D, 0x7D, 5, 3, 7, 3, 1, 0, 2, {{0x1000, 999936, 0}}}));
    ASSERT_NE(a.request.vdId, nullptr);
    EXPECT_EQ(a.request.vdId->getTargetId16(), 0);
    EXPECT_EQ(a.request.vdId->getSequenceNumber(), 0xFFFF);
}

TEST(DirectConfigAdd, OnDrivesOfAnExistingArray)
{
    // Arrays 0 (drives 8, 9) and 1 (drives 10, 11, of 2 M blocks), a RAID 1 on each; drive 11
    // rebuilding (firmware state 0x14).
    OnDrives a(both(space::layout(6, {{0, {8, 9}, 3 * M}, {1, {10, 11}, 2 * M}},
                                  {{0, 1, 2, {{0, 0, M}}}, {1, 1, 2, {{1, 0, M}}}}),
                    layouts::drive(11, [](sim::Drive& d) { d.state = 0x14; })),
               {2, 3});
    ASSERT_NE(a.zpr, nullptr);
    a.request.raidLevel = 1;
    a.request.stripExponent = 7;
    a.request.readPolicy = 2;
    a.request.writePolicy = 1;
    a.request.ioPolicy = 1;
    a.request.startBlock = M;
    a.request.sizeBlocks = M;
    // The array as the controller has it, each drive with its own state; target ids 0 and 1 are
    // taken.
    EXPECT_EQ(a.build(), expectedBuffer({{2 * M, 1, {{10, 1, 0x18}, {11, 1, 0x14}}}},
                                        {2, 0x00, 0x00, 1, 0, 7, 2, 0, 0, 0, {{M, M, 1}}}));
    EXPECT_EQ(a.request.vdId->getTargetId16(), 2);
}

// A delete leaves the references apart from the positions: the logical drive goes on the array
// of its drives by that array's reference, and a new array takes a reference no array has.
TEST(DirectConfigAdd, ArrayReferencesAfterAGap)
{
    struct Case {
        const char* what;
        std::vector<uint8_t> slots;
        uint16_t ref;
    } cases[] = {
        {"drives of the second array, reference 5", {2, 3}, 5},
        {"fresh drives: past reference 5", {4, 5}, 6},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        OnDrives a(space::layout(6, {{0, {8, 9}, 3 * M}, {5, {10, 11}, 3 * M}},
                                 {{0, 1, 2, {{0, 0, M}}}, {1, 1, 2, {{5, 0, M}}}}),
                   c.slots);
        a.request.raidLevel = 0;
        a.request.sizeBlocks = M;
        const std::vector<uint8_t> buffer = a.build();
        EXPECT_EQ(at(buffer, 32 + 10, 2), c.ref);
        EXPECT_EQ(at(buffer, 320 + 64 + 16, 2), c.ref);
    }
}

TEST(DirectConfigAdd, OnDrivesBlockCountPerLevel)
{
    struct Case {
        uint8_t level;
        std::vector<uint8_t> slots;
        uint8_t recordLevel, qualifier;
        uint64_t blocks;
    } cases[] = {
        // 1000003 blocks asked for, strips of 16 blocks.
        {0, {0, 1, 2, 3}, 0, 0, 250000},    // 1000003 / 4 = 250000
        {1, {0, 1}, 1, 0, 1000000},         // 2000006 / 2 = 1000003, whole strips 1000000
        {1, {0, 1, 2}, 17, 0, 666656},      // 2000006 / 3 = 666668, whole strips 666656
        {5, {0, 1, 2}, 5, 3, 500000},       // 1000003 / 2 = 500001, whole strips 500000
        {6, {0, 1, 2, 3}, 6, 3, 500000},    // 1000003 / 2 = 500001, whole strips 500000
    };
    for (const Case& c : cases) {
        SCOPED_TRACE("level " + std::to_string(c.level) + " on " + std::to_string(c.slots.size()) + " drives");
        OnDrives a(layouts::describe(layouts::emptyConfiguration()), c.slots);
        a.request.raidLevel = c.level;
        a.request.stripExponent = 4;
        a.request.sizeBlocks = 1000003;
        const std::vector<uint8_t> buffer = a.build();
        EXPECT_EQ(at(buffer, 320 + 32, 1), c.recordLevel);
        EXPECT_EQ(at(buffer, 320 + 33, 1), c.qualifier);
        EXPECT_EQ(at(buffer, 320 + 36, 1), c.slots.size());
        EXPECT_EQ(at(buffer, 320 + 64 + 8, 8), c.blocks);
    }
}

TEST(DirectConfigAdd, OnDrivesRefusedBeforeAnythingIsSent)
{
    struct Case {
        const char* what;
        uint8_t level;
        std::vector<uint8_t> slots;
    } cases[] = {
        {"no drive in slot 6 (four drives)", 0, {0, 6}},
        {"level 17 is no level of a request", 17, {0, 1, 2}},
        {"level 2", 2, {0, 1}},
        {"a spanned level code", 32, {0, 1}},
        {"level 5 needs two drives", 5, {0}},
        {"level 6 needs three drives", 6, {0, 1}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        OnDrives a(layouts::describe(layouts::emptyConfiguration()), c.slots);
        a.request.raidLevel = c.level;
        a.request.sizeBlocks = M;
        a.m.host.clearCommands();
        testsupport::StreamCapture out;
        EXPECT_EQ(a.m.manager->addVdOnDrives(&a.request), -1);
        EXPECT_EQ(out.take(), "");
        EXPECT_EQ(a.m.host.count(CFG_ADD), 0u);
        EXPECT_TRUE(state(a.m.host).lds.empty());
        uint32_t size = 1;
        EXPECT_EQ(a.zpr->pendingAdd(&size), nullptr);
        EXPECT_EQ(size, 0u);
    }
}

TEST(DirectConfigAdd, OnDrivesSentWithoutTheOsStep)
{
    OnDrives a(layouts::describe(layouts::emptyConfiguration()), {0, 1});
    a.request.raidLevel = 1;
    a.request.stripExponent = 7;
    a.request.sizeBlocks = M;
    a.request.startBlock = 0;
    a.m.host.clearCommands();
    ASSERT_EQ(a.m.manager->addVdOnDrives(&a.request), 0);
    const std::vector<uint32_t> sent = a.m.host.opcodes();
    ASSERT_FALSE(sent.empty());
    EXPECT_EQ(sent.back(), CFG_ADD) << "nothing follows the add";
    EXPECT_EQ(a.m.host.count(CFG_ADD), 1u);
    const sim::Controller& after = state(a.m.host);
    ASSERT_EQ(after.lds.size(), 1u);
    EXPECT_EQ(after.lds[0].targetId, 0);
    EXPECT_EQ(after.lds[0].raidLevel, 1);
    ASSERT_EQ(after.arrays.size(), 1u);
    EXPECT_EQ(after.arrays[0].drives, (std::vector<uint16_t>{8, 9}));
    uint32_t size = 1;
    EXPECT_EQ(a.zpr->pendingAdd(&size), nullptr) << "the buffer is freed after the send";
}

TEST(DirectConfigAdd, TargetIdSkipsIdsInUseAndReservedOnes)
{
    struct Case {
        const char* what;
        bool snapshots;
        std::vector<uint8_t> reserved;
        uint8_t limit;
        int targetId;
    } cases[] = {
        {"ids 0 and 1 in use", false, {2, 3}, 64, 2},
        {"reserved ids count only with snapshots", true, {2, 3}, 64, 4},
        {"the limit of logical drives", false, {}, 2, -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        OnDrives a(both(space::layout(6, {{0, {8, 9}, 3 * M}}, {{0, 1, 2, {{0, 0, M}}}, {1, 1, 2, {{0, M, M}}}}),
                        onController([&c](sim::Controller& ctl) {
                            ctl.info.storageFeatures = c.snapshots ? 0x40 : 0;
                            ctl.reservedTargetIds = c.reserved;
                            ctl.info.maxVirtualDrives = c.limit;
                        })),
                   {2, 3});
        EXPECT_EQ(a.zpr->findFreeTargetId(), c.targetId);
    }
}

TEST(DirectConfigAdd, CachePolicyByteOfARequest)
{
    struct Case {
        uint8_t read, write, io, badBattery;
        uint8_t policy;
    } cases[] = {
        {0, 0, 0, 0, 0x65},   // read-ahead, write-back, cached I/O
        {1, 0, 0, 1, 0x7D},   // adaptive read-ahead too, write-back with a bad battery
        {2, 1, 1, 0, 0x00},
        {1, 3, 1, 1, 0x1C},   // only write value 0 is write-back
        {3, 0, 2, 2, 0x01},   // values without a meaning set nothing
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.read) + " " + std::to_string(c.write) + " " + std::to_string(c.io) + " " +
                     std::to_string(c.badBattery));
        VdOnDrivesRequest request;
        request.readPolicy = c.read;
        request.writePolicy = c.write;
        request.ioPolicy = c.io;
        request.badBatteryPolicy = c.badBattery;
        EXPECT_EQ(ZprData::cachePolicyFromRequest(request), c.policy);
    }
}

// ---- The add over spans, with the settings of an existing logical drive. ----

namespace {

// Array 0 of drives 8 and 9 holds the model: target id 0 at `level`, strips of 64 blocks,
// cache policies 0x0D and 0x05, encryption 1. Drives 10 to 15 are free; drive 12 is the smallest.
struct OnSpans {
    layouts::ModelHost m;
    ZprData* zpr = ZprData::instance(m.controller);
    VirtualDisk* model = nullptr;
    ArrayList<ArrayList<PhysicalDevice*>*> spans{8};
    std::vector<std::unique_ptr<ArrayList<PhysicalDevice*>>> owned;
    VdOnSpansRequest request;

    OnSpans(uint8_t level, const std::vector<std::vector<uint16_t>>& drives)
        : m(both(both(space::layout(8, {{0, {8, 9}, 3 * M}}, {{0, level, 2, {{0, 0, M}}}}),
                      layouts::drive(12, [](sim::Drive& d) { d.coercedBlocks = 1000000077; })),
                 onController([](sim::Controller& c) {
                     c.lds.at(0).stripExponent = 6;
                     c.lds.at(0).defaultCachePolicy = 0x0D;
                     c.lds.at(0).currentCachePolicy = 0x05;
                     c.lds.at(0).encryption = 1;
                 })))
    {
        ArrayList<VirtualDisk*>* vds = nullptr;
        if (m.manager != nullptr && m.manager->getVds(&vds) == 0 && vds != nullptr && vds->count() > 0)
            model = vds->get(0);
        for (const std::vector<uint16_t>& span : drives) {
            owned.emplace_back(new ArrayList<PhysicalDevice*>(8));
            for (uint16_t id : span)
                owned.back()->add(m.manager->getPdByDeviceId(id));
            spans.add(owned.back().get());
        }
    }

    std::vector<uint8_t> build() { return pending(zpr, zpr->buildVdOnSpans(model, &spans, &request)); }
};

// 1000000077 in whole strips of 64 blocks.
const uint64_t SMALLEST_WHOLE = 1000000064;

}  // namespace

TEST(DirectConfigAdd, TwoSpansWholeDrives)
{
    OnSpans a(1, {{10, 11}, {12, 13}});
    ASSERT_NE(a.model, nullptr);
    a.request.piType = 3;
    a.request.ssdCaching = 0;
    // No size asked for: every span is the whole of the new arrays.
    EXPECT_EQ(a.build(),
              expectedBuffer({{SMALLEST_WHOLE, 1, {{10, 1, 0x18}, {11, 1, 0x18}}},
                              {SMALLEST_WHOLE, 2, {{12, 1, 0x18}, {13, 1, 0x18}}}},
                             {1, 0x0D, 0x05, 1, 0, 6, 2, 1, 0, 3, {{0, SMALLEST_WHOLE, 1}, {0, SMALLEST_WHOLE, 2}}}));
    VdIdZpr* id = dynamic_cast<VdIdZpr*>(a.model->getId());
    ASSERT_NE(id, nullptr);
    EXPECT_EQ(id->getTargetId16(), 1) << "the model's identifier takes the new target id";
}

TEST(DirectConfigAdd, ThreeSpansOfAGivenSize)
{
    OnSpans a(1, {{10, 11}, {12, 13}, {14, 15}});
    ASSERT_NE(a.model, nullptr);
    a.request.ssdCaching = 1;
    a.request.requestedBlocks = 3000000;
    a.request.maximumBlocks = 3000001;
    // 3000000 / 3 spans = 1000000, × 2 / 2 drives.
    EXPECT_EQ(a.build(), expectedBuffer({{SMALLEST_WHOLE, 1, {{10, 1, 0x18}, {11, 1, 0x18}}},
                                         {SMALLEST_WHOLE, 2, {{12, 1, 0x18}, {13, 1, 0x18}}},
                                         {SMALLEST_WHOLE, 3, {{14, 1, 0x18}, {15, 1, 0x18}}}},
                                        {1, 0x0D, 0x05, 1, 0, 6, 2, 1, 1, 0,
                                         {{0, 1000000, 1}, {0, 1000000, 2}, {0, 1000000, 3}}}));
}

TEST(DirectConfigAdd, SpansBlockCountPerLevel)
{
    struct Case {
        const char* what;
        uint8_t modelLevel;
        std::vector<std::vector<uint16_t>> spans;
        uint64_t requested, maximum;
        uint8_t recordLevel, qualifier;
        uint64_t blocks;
    } cases[] = {
        // 6000000 blocks over two spans: 3000000 a span.
        {"mirror of three drives a span", 1, {{10, 11, 12}, {13, 14, 15}}, 6000000, 7000000, 17, 0, 2000000},
        {"mirror of two drives a span", 1, {{10, 11}, {12, 13}}, 6000000, 7000000, 1, 0, 3000000},
        {"multi-drive mirror model", 17, {{10, 11, 12}, {13, 14, 15}}, 6000000, 7000000, 17, 0, 2000000},
        {"RAID 5", 5, {{10, 11, 12}, {13, 14, 15}}, 6000000, 7000000, 5, 3, 1500000},
        {"RAID 6", 6, {{10, 11, 12}, {13, 14, 15}}, 6000000, 7000000, 6, 3, 3000000},
        {"the maximum asked for: whole spans", 5, {{10, 11, 12}, {13, 14, 15}}, 7000000, 7000000, 5, 3,
         SMALLEST_WHOLE},
        {"RAID 0 without a size: whole spans", 0, {{10, 11}, {12, 13}}, 0, 7000000, 0, 0, SMALLEST_WHOLE},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        OnSpans a(c.modelLevel, c.spans);
        ASSERT_NE(a.model, nullptr);
        a.request.requestedBlocks = c.requested;
        a.request.maximumBlocks = c.maximum;
        const std::vector<uint8_t> buffer = a.build();
        const size_t ld = 32 + 288 * 2;
        EXPECT_EQ(at(buffer, ld + 32, 1), c.recordLevel);
        EXPECT_EQ(at(buffer, ld + 33, 1), c.qualifier);
        EXPECT_EQ(at(buffer, ld + 36, 1), c.spans[0].size());
        EXPECT_EQ(at(buffer, ld + 37, 1), 2u);
        EXPECT_EQ(at(buffer, ld + 64 + 8, 8), c.blocks);
        EXPECT_EQ(at(buffer, ld + 64 + 24 + 8, 8), c.blocks);
    }
}

TEST(DirectConfigAdd, SpansOfALevelThatCannotSpan)
{
    OnSpans a(0, {{10, 11}, {12, 13}});
    ASSERT_NE(a.model, nullptr);
    a.request.requestedBlocks = 1000000;
    a.request.maximumBlocks = 2000000;
    a.m.host.clearCommands();
    testsupport::StreamCapture out;
    EXPECT_EQ(a.m.manager->addVdOnSpans(a.model, &a.spans, &a.request), -1);
    EXPECT_EQ(out.take(), "\nRaid level not of span type\n");
    EXPECT_EQ(a.m.host.count(CFG_ADD), 0u);
    EXPECT_EQ(state(a.m.host).lds.size(), 1u);
}

TEST(DirectConfigAdd, SpansSentWithoutTheOsStep)
{
    OnSpans a(1, {{10, 11}, {12, 13}});
    ASSERT_NE(a.model, nullptr);
    a.m.host.clearCommands();
    ASSERT_EQ(a.m.manager->addVdOnSpans(a.model, &a.spans, &a.request), 0);
    const std::vector<uint32_t> sent = a.m.host.opcodes();
    ASSERT_FALSE(sent.empty());
    EXPECT_EQ(sent.back(), CFG_ADD);
    EXPECT_EQ(a.m.host.count(CFG_ADD), 1u);
    const sim::Controller& after = state(a.m.host);
    ASSERT_EQ(after.lds.size(), 2u);
    EXPECT_EQ(after.lds[1].targetId, 1);
    ASSERT_EQ(after.lds[1].spans.size(), 2u);
    EXPECT_EQ(after.lds[1].spans[0].array, 1);
    EXPECT_EQ(after.lds[1].spans[1].array, 2);
    ASSERT_EQ(after.arrays.size(), 3u);
}
