// Event records decoded into the event-log file's text: the argument data of each argument
// type, the bounds of the spare event's array list and of the description, and the time forms.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "CpMgmt/CmdPro/Events/EventRecordText.h"
#include "PavUtil/FileIO.h"
#include "TestSupport.h"

namespace {

using testsupport::TimeZone;

// A record of `argType` whose argument area (from 32) holds `args`; sequence number 1, time 0.
std::vector<uint8_t> record(uint8_t argType, const std::vector<uint8_t>& args)
{
    std::vector<uint8_t> r(256, 0);
    r[0] = 1;
    r[16] = argType;
    for (size_t i = 0; i < args.size() && 32 + i < 256; ++i)
        r[32 + i] = args[i];
    return r;
}

// The text decodeEvent writes for `r`.
std::string decoded(const std::vector<uint8_t>& r, int* result = nullptr)
{
    testsupport::TempDir dir;
    const std::string path = dir.path() + "/events.txt";
    FileHandle* f = FileIO::instance()->open(path.c_str(), "w");
    EXPECT_NE(f, nullptr);
    int status = decodeEvent(r.data(), f);
    FileIO::instance()->close(f);
    if (result != nullptr)
        *result = status;
    return testsupport::readText(path);
}

// What follows the data heading.
std::string dataOf(const std::vector<uint8_t>& r)
{
    const std::string text = decoded(r);
    const std::string heading = "Event Data:\n===========\n";
    size_t at = text.find(heading);
    return at == std::string::npos ? "<no heading>" : text.substr(at + heading.size());
}


}  // namespace

TEST(EventRecordText, ArgumentsByType)
{
    TimeZone utc("UTC");
    struct Case {
        uint8_t type;
        std::vector<uint8_t> args;
        const char* data;
    } cases[] = {
        {2, {7, 0, 9, 9}, "Target Id: 7\n"},
        {3, {7, 0, 0, 0, 4, 0, 0, 0}, "LD Count: 4\nTarget Id: 7\n"},
        {4, {0x10, 0, 0, 0, 0, 0, 0, 0, 3, 0}, "LBA: 16\nTarget Id: 3\n"},
        {5, {1, 0, 0, 0, 2, 0, 0, 0, 3, 0, 0, 0}, "Previous Owner: 2\nNew Owner: 3\nTarget Id: 1\n"},
        {6, {5, 0, 0, 0, 0, 0, 0, 0, 6, 0, 0, 0, 0, 0, 0, 0, 2, 0, 0, 0, 8, 0, 1, 4},
         "VD LBA: 5\nPD LBA: 6\nTarget Id: 2\nDevice ID: 8\nEnclosure Index: 1\nSlot Number: 4\n"},
        {7, {}, "None\n"},
        {8, {2, 0, 0, 0, 3, 0, 0, 0, 1, 0, 0, 0}, "Target Id: 2\nPrevious state: 3\nNew state: 1\n"},
        {10, {8, 0, 1, 4}, "Device ID: 8\nEnclosure Index: 1\nSlot Number: 4\n"},
        {11, {8, 0, 1, 4, 0x2d, 0, 0, 0}, "Device ID: 8\nEnclosure Index: 1\nSlot Number: 4\nError: 45\n"},
        {12, {9, 0, 0, 0, 0, 0, 0, 0, 8, 0, 1, 4}, "Device ID: 8\nEnclosure Index: 1\nSlot Number: 4\nLBA: 9\n"},
        {13, {9, 0, 0, 0, 0, 0, 0, 0, 8, 0, 1, 4, 2, 0},
         "Device ID: 8\nEnclosure Index: 1\nSlot Number: 4\nTarget Id: 2\nLBA: 9\n"},
        {14, {1, 2, 3}, ""},
        {15, {8, 0, 1, 4, 0, 0, 0, 0, 0x18, 0, 0, 0},
         "Device ID: 8\nEnclosure Index: 1\nSlot Number: 4\nPrevious state: 0\nNew state: 24\n"},
        {16, {0x7a, 0x1e, 0x40, 0, 0x7a, 0x1e, 0x80, 0x40},
         "VendorId: 1e7a\nDeviceId: 40\nSubVendorId: 1e7a\nSubDeviceId: 4080\n"},
        {17, {30, 0, 0, 0}, "Rate: 30\n"},
        {18, {'h', 'i'}, "String: hi\n"},
        {19, {0x3c, 0, 0, 0, 5, 0, 0, 0}, "Elapsed Time since power-on: 5\nTime: Sat Jan  1 00:01:00 2000\n\n"},
        {20, {1, 0, 0, 0xa0, 2, 0, 0, 0, 'x'}, "ECAR Register: 0xa0000001\nELOG Register: 0x00000002\nDescription: x\n"},
        {23, {8, 0, 1, 4, 0xff, 0xff, 0xff, 0xff}, "Device ID: 8\nEnclosure Index: 1\nSlot Number: 4\nIndex: 4294967295\n"},
        {24, {0xff, 0xff, 0xff, 0xff, 'm', 'e', 'm'}, "Pass Count: 4294967295\nDiag Name : mem\n"},
        {25, {1, 0, 0, 0, 0x10, 0, 0, 0, 0xaa, 0x55, 0, 0, 'm'},
         "Pass Count: 1\nOffset of Failure: 16\nGood Data: 170\nBad Data: 85\nDiag Name : m\n"},
        {26, {1, 0, 0, 0, 0, 0, 0, 0, 2, 0, 0, 0, 0, 0, 0, 0, 8, 0, 1, 4},
         "Device ID: 8\nEnclosure Index: 1\nSlot Number: 4\nBad LBA     : 1\nRemapped LBA: 2\n"},
        {27, {3, 0, 0, 0, 0xff, 0xff, 0xff, 0xff}, "Port: 3\nPhy : 4294967295\n"},
        {28, {8, 0, 1, 4, 1, 0, 0, 0, 2, 0, 0, 0},
         "Device ID: 8\nEnclosure Index: 1\nSlot Number: 4\nArray: 1\nRow: 2\n"},
        {30, {}, "None\n"},
        {33, {}, "None\n"},
        {34, {0, 0, 0, 0, 2, 0, 0, 0}, "Redundant path is 2 \n"},
        {200, {}, "None\n"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(dataOf(record(c.type, c.args)), c.data) << "type " << static_cast<int>(c.type);
}

// The array list of a spare event ends with the argument area: a count of 200 reads 42 numbers.
TEST(EventRecordText, SpareArrayListStaysInTheArgumentArea)
{
    std::vector<uint8_t> args(96, 0);
    args[8] = 0x05;   // dedicated, enclosure affinity
    args[11] = 200;
    for (size_t i = 12; i + 1 < args.size(); i += 2)
        args[i] = 3;
    std::string expected = "Device ID: 0\nEnclosure Index: 0\nSlot Number: 0\nSpare Type: Dedicated  Enclosure Affinity\n"
                           "Arrays Dedicated to:";
    for (int i = 0; i < 42; ++i)
        expected += "3 ";
    EXPECT_EQ(dataOf(record(22, args)), expected + "\n");
}

// A description that fills its 128 bytes without a NUL is written up to 127 characters.
TEST(EventRecordText, HeadLinesAndTheLongestDescription)
{
    TimeZone utc("UTC");
    std::vector<uint8_t> r = record(0, {});
    r[4] = 60;
    r[7] = 0xff;   // seconds since reboot
    r[8] = 0x3f;
    r[12] = 1;
    r[15] = 0xfe;  // class -2
    for (size_t i = 128; i < 256; ++i)
        r[i] = 'a';
    EXPECT_EQ(decoded(r), "\n\nseqNum: 0x00000001\nSeconds since last reboot: 60\nCode: 0x0000003f\nClass: -2\n"
                          "Locale: 0x01\nEvent Description: " + std::string(127, 'a') + "\nEvent Data:\n===========\nNone\n");
}

TEST(EventRecordText, SummerTimeIsTakenBackToTheControllersClock)
{
    struct tm local;
    {
        // Without the correction localtime would say 13:00 summer time.
        TimeZone dst("EST5EDT,M3.2.0,M11.1.0");
        // 1 July 2000 12:00 standard time of the controller.
        ASSERT_TRUE(eventLocalTime(15768000u, &local));
        EXPECT_EQ(local.tm_hour, 12);
        EXPECT_EQ(local.tm_mon, 6);
        EXPECT_EQ(eventDstOffset(), 3600);
        ASSERT_TRUE(eventLocalTime(0u, &local));
        EXPECT_EQ(local.tm_hour, 0);
    }
}
