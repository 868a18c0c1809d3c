// The pieces of the manufacturing settings files that the end-to-end rows cannot reach one by
// one: the SAS address text, the OEM given by number or name, and the trimming rules.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "CpMgmt/CmdPro/Firmware/AdpSetVerifyCp.h"
#include "CpMgmt/CmdPro/Firmware/AdpSettingsKvxCp.h"
#include "CpMgmt/CmdPro/Files/MfcSettingsFile.h"

namespace {

TEST(MfcSettingsFile, SasAddress)
{
    const struct {
        const char* text;
        int result;
        uint64_t address;
    } cases[] = {
        {"50:06:05:b0:0a:0b:0c:0d", 0, 0x500605b00a0b0c0dull},
        {"50:06", 0, 0x5006000000000000ull},
        {"::50:::06::", 0, 0x5006000000000000ull},
        {" 0x50:0X6", 0, 0x5006000000000000ull},
        {"1:2:3:4:5:6:7:8:8", 0, 0x0902030405060708ull},   // a ninth group is ORed into the top byte
        {"50:zz", 0, 0x5000000000000000ull},                 // no digits: 0
        {"50:100", 1, 0},
        {"50:0000000000ff", 0, 0x50ff000000000000ull},       // leading zeros are no width
        {"50:10000000000000001", 1, 0},                       // would wrap to 1
        {"", 0, 0},
        // Only 31 characters are read: the seventh group is cut to "0".
        {"0x01:0x02:0x03:0x04:0x05:0x06:0x07:0x08:0x09", 0, 0x0102030405060000ull},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        uint64_t address = 1;
        EXPECT_EQ(parseSasAddress(c.text, &address), c.result);
        EXPECT_EQ(address, c.address);
    }
}

TEST(MfcSettingsFile, OemNumberAndNameSum)
{
    EXPECT_EQ(OemManager::nameSum("AB"), 197u);
    EXPECT_EQ(OemManager::nameSum(""), 0u);
    const struct {
        const char* text;
        uint8_t oem;
    } cases[] = {
        {"8", 8}, {"08", 8}, {"12", 10}, {"99999999999999999999", 10}, {"0", 0},
        {"KKKNK", 8},      // weighted sum 1137
        {"kkknk", 10},     // names are case-sensitive
        {"Nobody", 10},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(OemManager::oemNumber(c.text), c.oem);
    }
}

TEST(MfcSettingsFile, Trimming)
{
    char both[] = " \t key \r\n";
    AdpSetVerifyCp::trim(both);
    EXPECT_EQ(std::string(both), "key");
    char trailing[] = "  key \n";
    AdpSettingsKvxCp::trimTrailingSpace(trailing);
    EXPECT_EQ(std::string(trailing), "  key");
    char blanks[] = "   ";
    AdpSettingsKvxCp::trimTrailingSpace(blanks);
    EXPECT_EQ(std::string(blanks), "");
    AdpSetVerifyCp::trim(nullptr);
    AdpSettingsKvxCp::trimTrailingSpace(nullptr);
}

TEST(MfcSettingsFile, FeatureKeysExistAboveTheBaseLevelOnly)
{
    EXPECT_EQ(findMfcSettingKey("TTYLOGINFLASH", 64), nullptr);
    ASSERT_NE(findMfcSettingKey("TTYLOGINFLASH", 65), nullptr);
    ASSERT_NE(findMfcSettingKey("SSDSMARTERENABLED", 64), nullptr);
    EXPECT_EQ(findMfcSettingKey("phypolarity", 64), nullptr);   // keys are upper-cased before
}

}  // namespace
