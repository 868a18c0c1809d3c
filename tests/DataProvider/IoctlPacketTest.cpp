#include "DataProvider/LinuxZprDataProvider.h"
#include "FakeDriver.h"
#include "System/PavError.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// A hand-made driver packet: header with host number, frame at 28.
struct HandPacket {
    std::vector<uint8_t> driver = std::vector<uint8_t>(188 + 64, 0);
    std::vector<uint8_t> ioctl = std::vector<uint8_t>(404, 0);

    HandPacket(uint8_t command, uint16_t flags, uint32_t length, uint16_t host = 0x1234)
    {
        driver[2] = static_cast<uint8_t>(host);
        driver[3] = static_cast<uint8_t>(host >> 8);
        frame()[0] = command;
        frame()[2] = 0xFF;
        frame()[16] = static_cast<uint8_t>(flags);
        frame()[17] = static_cast<uint8_t>(flags >> 8);
        setLe32(frame() + 20, length);
    }
    uint8_t* frame() { return &driver[28]; }
    uint64_t iovAddress(int i) const { return le64(&ioctl[148 + 16 * i]); }
    uint64_t iovLength(int i) const { return le64(&ioctl[148 + 16 * i + 8]); }
};

TEST(IoctlPacket, WideEntryAbove4GiBKeepsTheWholeAddress)
{
    HandPacket p(5, 0x16, 100);
    p.frame()[7] = 1;
    setLe64(p.frame() + 40, 0x0000000123456780ull);
    setLe32(p.frame() + 48, 100);
    ASSERT_EQ(LinuxZprDataProvider::buildIoctlPacket(p.driver.data(), p.ioctl.data()), 0);
    EXPECT_EQ(p.iovAddress(0), 0x0000000123456780ull);
    EXPECT_EQ(p.iovLength(0), 100u);
    EXPECT_EQ(le16(&p.ioctl[0]), 0x1234);
    EXPECT_EQ(le32(&p.ioctl[4]), 40u);
    EXPECT_EQ(le32(&p.ioctl[8]), 1u);
    // The driver sees the entry flag cleared, in its copy and in the driver packet alike.
    EXPECT_EQ(le16(&p.ioctl[20 + 16]), 0x14);
    EXPECT_EQ(le16(p.frame() + 16), 0x14);
    EXPECT_EQ(std::vector<uint8_t>(p.ioctl.begin() + 20, p.ioctl.begin() + 148),
              std::vector<uint8_t>(p.driver.begin() + 28, p.driver.begin() + 156));
}

TEST(IoctlPacket, NarrowEntriesAreEightBytes)
{
    HandPacket p(8, 0x15, 512);
    p.frame()[7] = 2;
    setLe32(p.frame() + 48, 0xAAAA0000);
    setLe32(p.frame() + 52, 20);
    setLe32(p.frame() + 56, 0xBBBB0000);
    setLe32(p.frame() + 60, 512);
    ASSERT_EQ(LinuxZprDataProvider::buildIoctlPacket(p.driver.data(), p.ioctl.data()), 0);
    EXPECT_EQ(p.iovAddress(0), 0xAAAA0000u);
    EXPECT_EQ(p.iovLength(0), 20u);
    EXPECT_EQ(p.iovAddress(1), 0xBBBB0000u);
    EXPECT_EQ(p.iovLength(1), 512u);
    EXPECT_EQ(le16(&p.ioctl[20 + 16]), 0x15);   // flags untouched when the entries are narrow
}

struct ConversionCase {
    uint8_t command;
    uint32_t length;
    uint32_t sglOffset;
    uint32_t sgeCount;
    uint32_t senseOffset;
    uint32_t senseLength;
    int entries;
};

TEST(IoctlPacket, ConversionByFrameCommand)
{
    const ConversionCase cases[] = {
        { 3, 64, 48, 1, 24, 18, 1 },
        { 4, 64, 48, 1, 24, 18, 1 },
        { 5, 64, 40, 1, 0, 0, 1 },
        { 5, 0, 0, 0, 0, 0, 1 },
        { 7, 64, 32, 1, 0, 0, 2 },
        { 8, 64, 48, 1, 0, 0, 2 },
    };
    for (const ConversionCase& c : cases) {
        SCOPED_TRACE(int(c.command));
        HandPacket p(c.command, 0x17, c.length);
        p.frame()[1] = 18;
        p.frame()[7] = 1;
        int base = c.command == 5 ? 40 : c.command == 7 ? 32 : 48;
        setLe64(p.frame() + base, 0x1000);
        setLe32(p.frame() + base + 8, 11);
        setLe64(p.frame() + base + 12, 0x2000);
        setLe32(p.frame() + base + 20, 22);
        ASSERT_EQ(LinuxZprDataProvider::buildIoctlPacket(p.driver.data(), p.ioctl.data()), 0);
        EXPECT_EQ(le32(&p.ioctl[4]), c.sglOffset);
        EXPECT_EQ(le32(&p.ioctl[8]), c.sgeCount);
        EXPECT_EQ(le32(&p.ioctl[12]), c.senseOffset);
        EXPECT_EQ(le32(&p.ioctl[16]), c.senseLength);
        EXPECT_EQ(p.iovAddress(0), 0x1000u);
        EXPECT_EQ(p.iovLength(0), 11u);
        EXPECT_EQ(p.iovAddress(1), c.entries == 2 ? 0x2000u : 0u);
        EXPECT_EQ(p.iovLength(1), c.entries == 2 ? 22u : 0u);
    }
}

TEST(IoctlPacket, SenseLengthNeverExceedsTheSenseArea)
{
    HandPacket p(4, 0x17, 0);
    p.frame()[1] = 0xFF;
    ASSERT_EQ(LinuxZprDataProvider::buildIoctlPacket(p.driver.data(), p.ioctl.data()), 0);
    EXPECT_EQ(le32(&p.ioctl[16]), 32u);
}

TEST(IoctlPacket, UnknownFrameCommandsAreRefusedWithoutAnIoctl)
{
    FakeDriver driver;
    setOsBoundary(&driver);
    for (uint8_t command : { 0, 1, 2, 6, 9, 0xFF }) {
        SCOPED_TRACE(int(command));
        HandPacket p(command, 0x17, 0);
        EXPECT_EQ(LinuxZprDataProvider::buildIoctlPacket(p.driver.data(), p.ioctl.data()), 1);
        EXPECT_EQ(p.ioctl, std::vector<uint8_t>(404, 0));
        PavError::setLastError(0x0201000C);
        EXPECT_EQ(LinuxZprDataProvider::issueIoctl(7, p.driver.data(), 0), 1);
        EXPECT_EQ(PavError::takeLastError(), 0x0201000Cu);
    }
    EXPECT_TRUE(driver.calls.empty());
    setOsBoundary(nullptr);
}

TEST(IoctlPacket, IssueRecordsTheStatusInTheDriverPacket)
{
    FakeDriver driver;
    driver.fill = false;
    driver.status = 0x0C;
    setOsBoundary(&driver);
    HandPacket p(5, 0x17, 0);
    EXPECT_EQ(LinuxZprDataProvider::issueIoctl(7, p.driver.data(), 0), 0);
    EXPECT_EQ(p.driver[30], 0x0C);
    EXPECT_EQ(PavError::takeLastError(), 0x0201000Cu);

    driver.rc = 3;
    HandPacket q(5, 0x17, 0);
    EXPECT_EQ(LinuxZprDataProvider::issueIoctl(7, q.driver.data(), 0), 3);
    EXPECT_EQ(q.driver[30], 0xFF);
    EXPECT_EQ(PavError::takeLastError(), 0x02020003u);
    setOsBoundary(nullptr);
}

} // namespace
