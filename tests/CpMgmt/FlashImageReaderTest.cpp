// The firmware image reader over images made by the simulator's image builder: the size rule,
// where headers are found, how the walk ends on malformed lengths, the texts taken from a
// header only when they lie inside it, and the version comparison.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "CpMgmt/CmdPro/Files/FlashImageReader.h"
#include "Simulator/Firmware/SimFlashImage.h"

namespace {

using sim::ImageHeaderSpec;

const uint32_t QR30 = 0x30335251;   // "QR30", a signature word of the family
const uint32_t QB8I = 0x49384251;   // "QB8I"
const uint32_t NOT_A_SIGNATURE = 0x5A5A5A5A;

ImageHeaderSpec header(uint32_t at, const char* tag = "APP ", uint32_t length = 0x10000, uint32_t signature = QR30)
{
    ImageHeaderSpec h;
    h.at = at;
    h.tag = tag;
    h.length = length;
    h.signature = signature;
    h.version = "4.810.00-0001";
    return h;
}

struct Parsed {
    int result;
    std::vector<FlashImageHeader> headers;
};

Parsed parse(const sim::Bytes& image, uint8_t fwType = 0)
{
    BufferImageSource source(image.data(), image.size());
    FlashImageReader reader(fwType);
    int result = reader.parseImageHeaders(source, static_cast<uint32_t>(image.size()));
    return {result, reader.imageHeaders()};
}

std::string tags(const Parsed& p)
{
    std::string all;
    for (const FlashImageHeader& h : p.headers)
        all += "[" + h.componentTag() + "]";
    return all;
}

struct SearchCase {
    const char* name;
    size_t size;
    uint8_t fwType;
    std::vector<ImageHeaderSpec> headers;
    int result;
    const char* tags;
};

TEST(FlashImageReader, SearchAndWalk)
{
    ImageHeaderSpec onlyPatch = header(0x2020, "BIOS");
    onlyPatch.signature = NOT_A_SIGNATURE;   // bytes at 0x2020 that are not a header
    const SearchCase cases[] = {
        {"header at 0xFF80 of a single block", 0x10000, 0, {header(0xFF80)}, 0, "[APP ]"},
        {"header at 0x0020", 0x10000, 0, {header(0x20)}, 0, "[APP ]"},
        {"0x0000 wins over 0x2020", 0x10000, 0, {header(0, "BIOS"), header(0x2020, "APP ")}, 0, "[BIOS]"},
        {"no signature word anywhere", 0x10000, 0, {onlyPatch}, 1, ""},
        {"second component at 0x20 of its block", 0x20000, 0,
         {header(0, "BIOS"), header(0x10020, "APP ")}, 0, "[BIOS][APP ]"},
        {"header found in a later block of the component", 0x30000, 0,
         {header(0, "BIOS", 0x10000), header(0x20000, "KPRB", 0x20000)}, 0, "[BIOS][KPRB]"},
        {"board code as signature", 0x10000, 0, {header(0, "CTLR", 0x10000, QB8I)}, 0, "[CTLR]"},
        {"65537 bytes of type 0: size rule", 0x10001, 0, {header(0)}, 1, ""},
        {"65537 bytes of type 1: searched", 0x10001, 1, {header(0)}, 0, "[APP ]"},
        {"type 1, header cut short within its fixed fields", 0x28, 1, {header(0)}, 1, ""},
        {"type 1, header cut short after its fixed fields", 0x100, 1, {header(0)}, 0, "[APP ]"},
        {"zero length ends the walk", 0x20000, 0, {header(0, "BIOS", 0), header(0x10000)}, 0, "[BIOS]"},
        {"length past the end ends the walk", 0x20000, 0, {header(0, "BIOS", 0x30000), header(0x10000)}, 0, "[BIOS]"},
        {"wrapping length ends the walk", 0x20000, 0,
         {header(0, "BIOS", 0x10000), header(0x10000, "PCLI", 0xFFFFFFF0), header(0x10020)}, 0, "[BIOS][PCLI]"},
    };
    for (const SearchCase& c : cases) {
        SCOPED_TRACE(c.name);
        Parsed p = parse(sim::buildFlashImage(c.size, c.headers), c.fwType);
        EXPECT_EQ(p.result, c.result);
        EXPECT_EQ(tags(p), c.tags);
    }
}

TEST(FlashImageReader, HeaderListStopsAt255)
{
    std::vector<ImageHeaderSpec> specs;
    for (uint32_t i = 0; i < 300; ++i)
        specs.push_back(header(i * 0x1000, "BIOS", 0x1000));
    Parsed p = parse(sim::buildFlashImage(19 * 0x10000, specs));
    EXPECT_EQ(p.result, 0);
    EXPECT_EQ(p.headers.size(), 255u);
}

TEST(FlashImageReader, FirstHeaderBytesAndVersionText)
{
    ImageHeaderSpec h = header(0xFF80);
    h.version = "4.820.00-0042";
    Parsed p = parse(sim::buildFlashImage(0x10000, {h}));
    ASSERT_EQ(p.headers.size(), 1u);
    EXPECT_EQ(p.headers[0].signature(), QR30);
    EXPECT_EQ(p.headers[0].componentLength(), 0x10000u);
    EXPECT_EQ(p.headers[0].versionText(), "4.820.00-0042");
}

// A header cut short by the end of the file keeps only the bytes read: a text beyond them is
// absent, never taken from bytes that were not read.
TEST(FlashImageReader, ShortHeaderTextsOnlyFromBytesRead)
{
    ImageHeaderSpec h = header(0);
    h.versionOffset = 0x40;
    h.keys = {"PACKAGE=4.90.0-0001"};
    h.keyValueOffset = 0x50;
    sim::Bytes image = sim::buildFlashImage(0x200, {h});
    image.resize(0x48);   // the version's text is cut, the key area is gone
    Parsed p = parse(image, 1);
    ASSERT_EQ(p.headers.size(), 1u);
    EXPECT_EQ(p.headers[0].versionText(), "");
    std::string package;
    EXPECT_FALSE(p.headers[0].packageVersion(package));
}

struct TextCase {
    const char* name;
    ImageHeaderSpec spec;
    const char* version;
    bool hasPackage;
    const char* package;
};

ImageHeaderSpec withKeys(std::vector<std::string> keys, uint32_t keyValueOffset = 0x100)
{
    ImageHeaderSpec h = header(0);
    h.keys = keys;
    h.keyValueOffset = keyValueOffset;
    return h;
}

TEST(FlashImageReader, TextsOnlyInsideTheHeader)
{
    ImageHeaderSpec versionOutside = header(0);
    versionOutside.versionOffset = 1084;
    ImageHeaderSpec versionUnended = header(0);
    versionUnended.version = "4.810.00";   // 8 characters from 1078: its NUL would be at 1086
    versionUnended.versionOffset = 1078;
    ImageHeaderSpec versionHuge = header(0);
    versionHuge.versionOffset = 0xFFFFFFF0;
    ImageHeaderSpec shortArea = withKeys({"BUILD=77", "PACKAGE=4.90.0-0001"});
    shortArea.keyAreaLength = 4;   // the PACKAGE text would start past the area
    ImageHeaderSpec areaPastLength = withKeys({"PACKAGE=4.90.0-0001"});
    areaPastLength.length = 0x100;   // the area exists only below the component's length
    ImageHeaderSpec keysOffTheEnd = withKeys({"PACKAGE=4.90.0-00012345"}, 1070);
    const TextCase cases[] = {
        {"version inside", header(0), "4.810.00-0001", false, ""},
        {"version offset at the header's end", versionOutside, "", false, ""},
        {"version without its NUL inside", versionUnended, "", false, ""},
        {"version offset that would wrap", versionHuge, "", false, ""},
        {"package after another key", withKeys({"BUILD=77", "PACKAGE=4.90.0-0001"}), "4.810.00-0001", true,
         "4.90.0-0001"},
        {"key must be followed by '='", withKeys({"PACKAGES=1", "PACKAGE2=3"}), "4.810.00-0001", false, ""},
        {"an empty text ends the area", withKeys({"BUILD=77", "", "PACKAGE=9"}), "4.810.00-0001", false, ""},
        {"texts past the area's length", shortArea, "4.810.00-0001", false, ""},
        {"area at or past the component's length", areaPastLength, "4.810.00-0001", false, ""},
        {"key text running past the header", keysOffTheEnd, "4.810.00-0001", false, ""},
        {"no area", withKeys({}, sim::IMAGE_NO_KEYS), "4.810.00-0001", false, ""},
    };
    for (const TextCase& c : cases) {
        SCOPED_TRACE(c.name);
        Parsed p = parse(sim::buildFlashImage(0x10000, {c.spec}));
        ASSERT_EQ(p.headers.size(), 1u);
        EXPECT_EQ(p.headers[0].versionText(), c.version);
        std::string package = "unset";
        EXPECT_EQ(p.headers[0].packageVersion(package), c.hasPackage);
        if (c.hasPackage) {
            EXPECT_EQ(package, c.package);
        }
    }
}

TEST(FlashImageReader, CompareVersionStrings)
{
    const std::string prefix = "1" + std::string(125, '.');   // 126 characters
    const struct {
        std::string a, b;
        int sign;
    } cases[] = {
        {"1.2", "1.2.0", -1},
        {"1.10", "1.9", 1},
        {"3.0", "3.0", 0},
        {"2.00.1", "2.0.1", 0},
        {"4.800.00-1234", "4.800.00-1235", -1},
        {"4.810.00-0001", "4.800.00-1234", 1},
        {"1..2", "1.0.2", 0},
        {"", "", 0},
        {"", "1", -1},
        {"40000", "1", -1},                  // 40000 wraps to a negative 16-bit number
        {prefix + "19", prefix + "1", 0},    // only 127 characters count
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.a + " vs " + c.b);
        int result = FlashImageReader::compareVersionStrings(c.a.c_str(), c.b.c_str());
        EXPECT_EQ((result > 0) - (result < 0), c.sign);
    }
    EXPECT_EQ(FlashImageReader::compareVersionStrings("1.10", "1.9"), 1);
    EXPECT_EQ(FlashImageReader::compareVersionStrings("1.2", "1.2.0"), -1);
}

} // namespace
