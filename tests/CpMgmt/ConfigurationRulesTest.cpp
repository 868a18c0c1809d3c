// The rules the configuration processors apply to a request before a virtual drive is planned:
// the strip size as a power of two in blocks, the strip kept in bytes on larger blocks, the
// planning codes of the RAID levels, and the order of the power-save rules.
#include <gtest/gtest.h>

#include <string>

#include "CpMgmt/CmdPro/Config/ConfigurationCp.h"
#include "CpMgmt/CmdPro/Config/LdAddCp.h"
#include "Parser/CfgParsedObjects.h"
#include "Parser/TokenIds.h"

namespace {

CfgAddParsedObject request(unsigned short stripKib, unsigned char powerSave = 25)
{
    return CfgAddParsedObject(TOKEN_ADPCFGADD, 1, 0, 0, 255, 255, 255, 255, stripKib, nullptr, nullptr, nullptr, 0,
                              powerSave, 0, 255, 0);
}

TEST(ConfigurationRules, StripSizeExponent)
{
    const struct {
        unsigned short stripKib;
        uint16_t blockIn;
        int result;
        uint8_t exponent;
        uint16_t blockOut;
    } cases[] = {
        {0xFFFF, 0, 0, 255, 512},    // not given: the default, and the block size becomes 512
        {0, 4096, 0, 255, 4096},
        {64, 512, 0, 7, 512},
        {64, 4096, 0, 4, 4096},
        {1024, 512, 0, 11, 512},
        {1, 512, 0, 1, 512},
        {48, 512, 3, 255, 512},      // no power of two
        {2, 4096, 3, 255, 4096},     // smaller than one block
        {64, 0, 0, 7, 512},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.stripKib) + " KiB on " + std::to_string(c.blockIn));
        CfgAddParsedObject r = request(c.stripKib);
        uint8_t exponent = 0;
        uint16_t block = c.blockIn;
        EXPECT_EQ(ConfigurationCp::getStripSizeExponent(&r, &exponent, &block), c.result);
        EXPECT_EQ(exponent, c.exponent);
        EXPECT_EQ(block, c.blockOut);
    }
    uint8_t exponent = 0;
    uint16_t block = 512;
    EXPECT_EQ(ConfigurationCp::getStripSizeExponent(nullptr, &exponent, &block), -1);
    EXPECT_EQ(exponent, 255);
}

TEST(ConfigurationRules, DefaultStripKeepsItsBytesOnLargerBlocks)
{
    const struct {
        uint8_t requested;
        uint8_t planDefault;
        uint16_t blockSize;
        uint8_t planned;
    } cases[] = {
        {255, 7, 512, 7}, {255, 7, 4096, 4}, {255, 7, 1024, 6}, {255, 7, 0, 7},
        {5, 7, 4096, 5},   // a strip typed is taken as computed
        {255, 2, 4096, 0}, // never below one block
    };
    for (const auto& c : cases)
        EXPECT_EQ(ConfigurationCp::plannedStripExponent(c.requested, c.planDefault, c.blockSize), c.planned)
            << int(c.requested) << " " << int(c.planDefault) << " " << c.blockSize;
}

TEST(ConfigurationRules, PlanningLevelCodes)
{
    const uint8_t typed[] = {0, 1, 5, 6, 10, 50, 60, 11, 9, 255};
    const uint8_t code[] = {0, 1, 5, 6, 32, 33, 34, 255, 255, 255};
    for (size_t i = 0; i < sizeof typed; ++i)
        EXPECT_EQ(ConfigurationCp::planningLevel(typed[i]), code[i]) << int(typed[i]);
}

TEST(ConfigurationRules, AccessorsOfAMissingRequest)
{
    uint8_t value = 77;
    EXPECT_EQ(ConfigurationCp::getPowerSavePolicy(nullptr, &value), 255);
    EXPECT_EQ(ConfigurationCp::getReadPolicy(nullptr, &value), -1);
    EXPECT_EQ(ConfigurationCp::getEncryption(nullptr, &value), -1);
    EXPECT_EQ(value, 77);
    EXPECT_EQ(ConfigurationCp::deleteArraySpaceList(nullptr), 0);
    CfgAddParsedObject r = request(0xFFFF, 6);
    EXPECT_EQ(ConfigurationCp::getPowerSavePolicy(&r, &value), 0);
    EXPECT_EQ(value, 6);
}

TEST(ConfigurationRules, PowerSaveRulesInOrder)
{
    const char* const UNSUPPORTED = "Adapter does not support Power savings on logical drives.\n";
    const char* const NOT_PER_DRIVE = "Power savings level cannot be selected on per logical drive basis.\n";
    const char* const NO_MAXIMUM = "Maximum power saving on logical drives is not allowed\n";
    const char* const INVALID = "Invalid power savings level input.\n";
    const struct {
        uint8_t requested;
        bool supported;
        bool maximumWithoutCaching;
        uint8_t options;
        int result;
        uint8_t level;
        const char* refusal;
    } cases[] = {
        {25, false, false, 0xFF, 0, 254, nullptr},   // no word, no power savings: NONE
        {25, true, false, 0xFF, 0, 0, nullptr},      // no word: DEFAULT
        {2, false, true, 0xFF, -1, 0, UNSUPPORTED},
        {254, false, true, 0x00, -1, 0, UNSUPPORTED},
        {0, false, true, 0x18, -1, 0, UNSUPPORTED},  // the first rule comes first
        {1, true, true, 0x08, -1, 0, NOT_PER_DRIVE},
        {25, true, true, 0x08, 0, 0, nullptr},       // no word passes the per-drive rule
        {2, true, true, 0x18, -1, 0, NOT_PER_DRIVE},
        {2, true, true, 0xFF, -1, 0, NO_MAXIMUM},    // bit 4 of 0xFF counts
        {6, true, true, 0x10, -1, 0, NO_MAXIMUM},
        {1, true, true, 0xFF, 0, 1, nullptr},
        {6, true, false, 0x00, -1, 0, INVALID},
        {2, true, false, 0x00, 0, 6, nullptr},       // MAXIMUM sent as the level without caching
        {2, true, true, 0x00, 0, 2, nullptr},
        {254, true, false, 0x00, 0, 254, nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.requested) + (c.supported ? " supported" : "") +
                     (c.maximumWithoutCaching ? " both" : "") + " options " + std::to_string(c.options));
        uint8_t level = 0;
        const char* refusal = nullptr;
        EXPECT_EQ(LdAddCp::decidePowerSavePolicy(c.requested, c.supported, c.maximumWithoutCaching, c.options, &level,
                                                 &refusal),
                  c.result);
        EXPECT_EQ(level, c.level);
        EXPECT_EQ(refusal == nullptr ? std::string("-") : std::string(refusal),
                  c.refusal == nullptr ? std::string("-") : std::string(c.refusal));
    }
}

}  // namespace
