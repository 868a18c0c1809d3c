// The record layouts, checked against bytes placed at the offsets the firmware uses.
#include "RaidManager/Zpr/Records/Controller/ZprControllerInfo.h"
#include "RaidManager/Zpr/Records/Drive/ZprEnclosureList.h"
#include "RaidManager/Zpr/Records/LogicalDrive/ZprLdInfo.h"
#include "RaidManager/Zpr/Records/LogicalDrive/ZprLdList.h"
#include "RaidManager/Zpr/Records/Mfc/ZprMfcOemData.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

namespace {

void putLe32(std::vector<uint8_t>& bytes, size_t offset, uint32_t value)
{
    for (int i = 0; i < 4; ++i)
        bytes[offset + i] = static_cast<uint8_t>(value >> (8 * i));
}

}  // namespace

TEST(ZprRecords, Sizes)
{
    EXPECT_EQ(ZprControllerInfo::SIZE, 2048u);
    EXPECT_EQ(ZprMfcOemData::SIZE, 24u);
    EXPECT_EQ(ZprLdList::SIZE, 1032u);
    EXPECT_EQ(ZprLdInfo::SIZE, 384u);
    EXPECT_EQ(ZprEnclosureList::SIZE, 4616u);
    EXPECT_EQ(ZprEnclosureEntry::SIZE, 144u);
}

TEST(ZprRecords, ControllerInfoFields)
{
    std::vector<uint8_t> record(2048, 0);
    const uint8_t pci[] = {0x00, 0x10, 0x5D, 0x00, 0x28, 0x10, 0x30, 0x92};
    std::memcpy(record.data(), pci, sizeof pci);
    record[0x53F] = 64;
    record[0x5F8] = 0x40;
    record[0x5FC] = 0x02;
    record[0x5FD] = 0x01;
    record[0x5FE] = 0x03;
    record[0x5FF] = 0x00;
    ZprControllerInfo info(record.data(), record.size());
    EXPECT_EQ(info.pciVendorId(), 0x1000);
    EXPECT_EQ(info.pciDeviceId(), 0x005D);
    EXPECT_EQ(info.pciSubvendorId(), 0x1028);
    EXPECT_EQ(info.pciSubdeviceId(), 0x9230);
    EXPECT_EQ(info.maxVirtualDrives(), 64);
    EXPECT_EQ(info.securityBit(), 1);
    EXPECT_EQ(info.firmwareForwardCompatLevel(), 0x0102);
    EXPECT_EQ(info.firmwareBackwardCompatLevel(), 3);

    record[0x5F8] = 0xBF;   // every bit but the security bit
    EXPECT_EQ(info.securityBit(), 0);

    // A short answer reads as zeroes past its end.
    ZprControllerInfo shortInfo(record.data(), 0x540);
    EXPECT_EQ(shortInfo.maxVirtualDrives(), 64);
    EXPECT_EQ(shortInfo.firmwareForwardCompatLevel(), 0);
    EXPECT_TRUE(shortInfo.view().wasMissed());
}

TEST(ZprRecords, OemIdIsTheFirstByte)
{
    std::vector<uint8_t> record(24, 0xEE);
    record[0] = 8;
    EXPECT_EQ(ZprMfcOemData(record.data(), record.size()).oemId(), 8);
}

TEST(ZprRecords, LdInfoStateCacheFlagAndIdentificationPage)
{
    std::vector<uint8_t> record(384, 0);
    record[38] = 3;
    record[47] = 1;
    for (size_t i = 0; i < 64; ++i)
        record[304 + i] = static_cast<uint8_t>(0x80 + i);
    record[368] = 0xEE;   // just past the page
    ZprLdInfo info(record.data(), record.size());
    EXPECT_EQ(info.parameters().state(), 3);
    EXPECT_TRUE(info.parameters().isSsdCache());
    uint8_t page[64];
    ASSERT_TRUE(info.copyDeviceIdPage(page));
    EXPECT_EQ(page[0], 0x80);
    EXPECT_EQ(page[63], 0xBF);

    record[47] = 2;   // only 1 marks an SSD cache
    EXPECT_FALSE(info.parameters().isSsdCache());

    // A record too short for the page gives a zeroed page.
    ZprLdInfo shortInfo(record.data(), 360);
    std::memset(page, 0xFF, sizeof page);
    EXPECT_FALSE(shortInfo.copyDeviceIdPage(page));
    const uint8_t zeroes[64] = {0};
    EXPECT_EQ(std::memcmp(page, zeroes, sizeof page), 0);
}

// A list answer of `size` bytes whose count field says `count`: how many entries are walked.
struct ClampCase { const char* list; uint32_t count; size_t size; uint32_t walked; };

template <class List>
uint32_t walkedEntries(const ClampCase& c)
{
    std::vector<uint8_t> record(c.size < 4 ? 4 : c.size, 0);
    putLe32(record, 0, c.count);
    List list(record.data(), c.size);
    EXPECT_EQ(list.count(), c.count) << "the reported count stays as the firmware sent it";
    return list.entryCount();
}

TEST(ZprRecords, ListCountsAreClampedToTheRoomOfTheList)
{
    const ClampCase cases[] = {
        {"ld", 0, 1032, 0},
        {"ld", 3, 1032, 3},
        {"ld", 64, 1032, 64},
        {"ld", 65, 1032, 64},               // more than the list holds
        {"ld", 0xFFFFFFFFu, 1032, 64},
        {"ld", 5, 8 + 2 * 16, 2},           // a short answer: two entries fit
        {"ld", 5, 8 + 2 * 16 + 15, 2},      // a partial entry is not walked
        {"ld", 5, 4, 0},                    // not even the entries' start
        {"enclosure", 1, 4616, 1},
        {"enclosure", 32, 4616, 32},
        {"enclosure", 33, 4616, 32},
        {"enclosure", 0xFFFFFFFFu, 4616, 32},
        {"enclosure", 4, 8 + 3 * 144, 3},
    };
    for (const ClampCase& c : cases) {
        uint32_t walked = std::strcmp(c.list, "ld") == 0 ? walkedEntries<ZprLdList>(c)
                                                         : walkedEntries<ZprEnclosureList>(c);
        EXPECT_EQ(walked, c.walked) << c.list << ": " << c.count << " in " << c.size;
    }
}

TEST(ZprRecords, LdListEntries)
{
    std::vector<uint8_t> record(1032, 0);
    putLe32(record, 0, 2);
    record[8] = 7;          // entry 0
    record[24] = 9;         // entry 1
    record[8 + 63 * 16] = 42;
    ZprLdList list(record.data(), record.size());
    EXPECT_EQ(list.targetId(0), 7);
    EXPECT_EQ(list.targetId(1), 9);
    EXPECT_EQ(list.targetId(63), 42);
    EXPECT_EQ(list.targetId(64), 0) << "past the list";
}

TEST(ZprRecords, EnclosureListEntries)
{
    std::vector<uint8_t> record(4616, 0);
    putLe32(record, 0, 2);
    record[8] = 0x34;
    record[9] = 0x12;
    record[152] = 0xFC;     // entry 1 starts at 8 + 144
    record[153] = 0x00;
    record[8 + 31 * 144] = 0x05;
    ZprEnclosureList list(record.data(), record.size());
    EXPECT_EQ(list.entry(0).deviceId(), 0x1234);
    EXPECT_EQ(list.entry(1).deviceId(), 0x00FC);
    EXPECT_EQ(list.entry(31).deviceId(), 0x0005);
    EXPECT_EQ(list.entry(32).deviceId(), 0) << "past the list";
}
