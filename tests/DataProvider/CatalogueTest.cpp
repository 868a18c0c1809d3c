#include "DataProvider/DcmdCatalogue.h"
#include "DataProvider/DcmdOpcodes.h"

#include <gtest/gtest.h>

namespace {

// The lookup is a binary search: every table must be strictly ascending.
TEST(DcmdCatalogue, TablesAreSortedWithoutDuplicatesAndComplete)
{
    const DcmdCatalogue::Table tables[] = { DcmdCatalogue::GENERAL, DcmdCatalogue::PRIVATE,
                                            DcmdCatalogue::DRIVER };
    const unsigned int expected[] = { 179, 11, 7 };
    for (int t = 0; t < 3; ++t) {
        const DcmdCatalogueEntry* e = DcmdCatalogue::entries(tables[t]);
        unsigned int n = DcmdCatalogue::count(tables[t]);
        EXPECT_EQ(n, expected[t]);
        for (unsigned int i = 0; i < n; ++i) {
            if (i > 0) {
                EXPECT_LT(e[i - 1].opcode, e[i].opcode) << "table " << t << " row " << i;
            }
            EXPECT_EQ(DcmdCatalogue::find(tables[t], e[i].opcode), &e[i]);
        }
    }
}

struct LengthCase {
    const char* what;
    DcmdCatalogue::Table table;
    unsigned int opcode;
    unsigned int requestLength;
    unsigned short flags;
    unsigned int length;
};

TEST(DcmdCatalogue, DirectionAndLengthByOpcode)
{
    const LengthCase cases[] = {
        { "fixed length ignores the caller's", DcmdCatalogue::GENERAL, DCMD_LD_GET_LIST, 10, 0x17, 1032 },
        { "request's, else N: zero takes N", DcmdCatalogue::GENERAL, DCMD_PD_GET_LIST, 0, 0x17, 32 },
        { "request's, else N: caller's", DcmdCatalogue::GENERAL, DCMD_PD_GET_LIST, 4096, 0x17, 4096 },
        { "request's: zero stays zero", DcmdCatalogue::GENERAL, DCMD_ADP_FLASH_DOWNLOAD, 0, 0x0F, 0 },
        { "request's: caller's", DcmdCatalogue::GENERAL, DCMD_ADP_FLASH_DOWNLOAD, 777, 0x0F, 777 },
        { "first row", DcmdCatalogue::GENERAL, DCMD_ADP_GET_INFO, 0, 0x17, 2048 },
        { "last row", DcmdCatalogue::GENERAL, DCMD_DPM_SET_CONFIG, 0, 0x07, 0 },
        { "none with a length", DcmdCatalogue::GENERAL, DCMD_ADP_DIAG_START, 0, 0x07, 204800 },
        { "write of length 0", DcmdCatalogue::GENERAL, DCMD_ADP_MFC_SET_PCI_LINK_SPEED, 0, 0x0F, 0 },
        { "write of length 0", DcmdCatalogue::GENERAL, DCMD_PD_SECURE_ERASE_START, 0, 0x0F, 0 },
        { "write of length 0", DcmdCatalogue::GENERAL, DCMD_LD_SECURE_ERASE_START, 0, 0x0F, 0 },
        { "write of length 0", DcmdCatalogue::GENERAL, DCMD_SAS_SET_PHY_LINK_SPEED, 0, 0x0F, 0 },
        { "both directions", DcmdCatalogue::GENERAL, DCMD_PD_LIST_OPERATION, 0, 0x1F, 32 },
        { "direction without a length", DcmdCatalogue::GENERAL, DCMD_ADP_AEC_CONTROL, 0, 0x07, 0xFFFF },
        { "unlisted", DcmdCatalogue::GENERAL, 0x01FF0000, 12, 0x17, 0xFFFF },
        { "private only, general default flags", DcmdCatalogue::GENERAL, DCMD_ADP_MFC_SUBCMD_0182, 0, 0x17, 0xFFFF },
        { "private write", DcmdCatalogue::PRIVATE, DCMD_ADP_MFC_SUBCMD_0182, 0, 0x09, 8 },
        { "private read", DcmdCatalogue::PRIVATE, DCMD_ADP_MFC_GET_OEM_DATA, 0, 0x11, 24 },
        { "private none", DcmdCatalogue::PRIVATE, DCMD_LD_PRIVATE_OP, 0, 0x01, 0 },
        { "private request's", DcmdCatalogue::PRIVATE, DCMD_ADP_BBU_RAW_READ, 9, 0x11, 9 },
        { "private unlisted", DcmdCatalogue::PRIVATE, DCMD_ADP_GET_INFO, 0, 0x11, 0xFFFF },
        { "driver read", DcmdCatalogue::DRIVER, DCMD_DRIVER_GET_INFO, 0, 0x17, 112 },
        { "driver none with a length", DcmdCatalogue::DRIVER, DCMD_DRIVER_SUBCMD_0402, 0, 0x07, 64 },
        { "driver unlisted", DcmdCatalogue::DRIVER, 0xF0990000, 0, 0x07, 0xFFFF },
    };
    for (const LengthCase& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(DcmdCatalogue::frameFlags(c.table, c.opcode), c.flags);
        EXPECT_EQ(DcmdCatalogue::dataLength(c.table, c.opcode, c.requestLength), c.length);
    }
}

TEST(DcmdOpcodes, OtherNamesDenoteTheSameOpcodes)
{
    EXPECT_EQ(DCMD_LD_REMOVE_BLOCKED_ACCESS, 0x03040010u);
    EXPECT_EQ(DCMD_LD_PI_DISABLE, 0x03140100u);
    EXPECT_EQ(DCMD_LD_SET_CONSISTENCY, 0x0305E100u);
    EXPECT_NE(DcmdCatalogue::find(DcmdCatalogue::PRIVATE, DCMD_LD_SET_CONSISTENCY), nullptr);
}

} // namespace
