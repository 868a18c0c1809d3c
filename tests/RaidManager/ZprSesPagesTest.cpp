// The SES configuration and enclosure status pages: where an element's status lies, and that no
// header or element is taken from outside the page's own length or the buffer.
#include "RaidManager/Zpr/Records/Drive/ZprSesPages.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

typedef std::vector<uint8_t> Page;

// A configuration page: byte 10 the header count, byte 11 the enclosure descriptor length (the
// headers begin at 12 plus it), bytes 2-3 the big-endian page length.
Page configPage(uint8_t headerCount, uint8_t descriptorLength, uint16_t pageLength,
                const std::vector<std::pair<uint8_t, uint8_t>>& headers, size_t size = 1008)
{
    Page p(size, 0);
    p[0] = 0x01;
    p[2] = static_cast<uint8_t>(pageLength >> 8);
    p[3] = static_cast<uint8_t>(pageLength);
    p[10] = headerCount;
    p[11] = descriptorLength;
    size_t at = 12 + descriptorLength;
    for (const auto& h : headers) {
        if (at + 4 > p.size())
            break;
        p[at] = h.first;
        p[at + 1] = h.second;
        at += 4;
    }
    return p;
}

struct OffsetCase {
    const char* what;
    Page page;
    uint8_t type;
    uint32_t index;
    uint16_t offset;
};

}  // namespace

TEST(ZprSesPages, ElementOffsets)
{
    // Power supplies (2), fans (3), temperature sensors (1): 36 bytes of enclosure descriptor.
    const Page three = configPage(3, 36, 60, {{0x02, 2}, {0x03, 3}, {0x04, 1}});
    const OffsetCase cases[] = {
        {"temperature sensor 0 after 2 + 3 elements of 2 types", three, 0x04, 0, 40},
        {"the first power supply", three, 0x02, 0, 12},
        {"the third fan", three, 0x03, 2, 32},
        {"a type the page does not have", three, 0x07, 0, 0},
        {"an index past the type's own elements", three, 0x02, 2, 0},
        {"not a configuration page", [&] { Page p = three; p[0] = 0x02; return p; }(), 0x04, 0, 0},
        // The page length covers only the first two headers (48 and 52); the count says 255.
        {"a header past the page length", configPage(255, 36, 52, {{0x02, 2}, {0x03, 3}, {0x04, 1}}), 0x04, 0, 0},
        {"a header inside the page length whatever the count", configPage(255, 36, 52, {{0x02, 2}, {0x03, 3}}), 0x03,
         0, 24},
        // Headers would begin at 267: past a page that claims 20 bytes.
        {"headers past a short page", configPage(1, 255, 16, {{0x02, 1}}), 0x02, 0, 0},
        // Headers from 267 in a 270-byte buffer with a page length of 0xffff: none fits.
        {"headers past the buffer", configPage(1, 255, 0xffff, {{0x02, 1}}, 270), 0x02, 0, 0},
        {"an empty page", Page(), 0x02, 0, 0},
    };
    for (const OffsetCase& c : cases) {
        SCOPED_TRACE(c.what);
        const ZprSesConfigPage page(LeView(c.page.data(), c.page.size()));
        EXPECT_EQ(page.elementOffset(c.type, c.index), c.offset);
    }
}

TEST(ZprSesPages, StatusElementsInsideThePage)
{
    Page status(64, 0);
    status[0] = 0x02;
    status[3] = 12;   // the page holds 16 bytes: its header and two elements
    status[8] = 0x05;
    status[12] = 0x01;
    status[13] = 0x02;
    status[14] = 0x2d;
    status[15] = 0x04;
    status[16] = 0x09;   // past the page length
    const ZprSesStatusPage page(LeView(status.data(), status.size()));
    uint8_t element[4] = {0xee, 0xee, 0xee, 0xee};
    EXPECT_TRUE(page.element(12, element));
    EXPECT_EQ(element[0], 0x01);
    EXPECT_EQ(element[1], 0x02);
    EXPECT_EQ(element[2], 0x2d);
    EXPECT_EQ(element[3], 0x04);
    EXPECT_FALSE(page.element(16, element));
    EXPECT_FALSE(page.element(14, element));
    EXPECT_FALSE(page.element(0, element));

    // A page length beyond the buffer: the buffer bounds.
    status[2] = 0xff;
    status[3] = 0xff;
    EXPECT_TRUE(page.element(60, element));
    EXPECT_FALSE(page.element(61, element));
}

TEST(ZprSesPages, ReceiveDiagnosticCommandBlock)
{
    uint8_t cdb[ZprReceiveDiagnosticCdb::SIZE];
    ZprReceiveDiagnosticCdb::build(cdb, 0x01, 1008);
    EXPECT_EQ(std::vector<uint8_t>(cdb, cdb + 6), (std::vector<uint8_t>{0x1c, 0x01, 0x01, 0x03, 0xf0, 0x00}));
    ZprReceiveDiagnosticCdb::build(cdb, 0x00, 2048);
    EXPECT_EQ(std::vector<uint8_t>(cdb, cdb + 6), (std::vector<uint8_t>{0x1c, 0x00, 0x00, 0x08, 0x00, 0x00}));
}
