// The firmware status texts and their lookup.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "CpMgmt/FwErrorDescriptions.h"

namespace {

std::string find(uint32_t status, bool oem2)
{
    return findFwErrorDescription(oem2 ? FW_ERROR_DESCRIPTIONS_OEM2 : FW_ERROR_DESCRIPTIONS, status);
}

TEST(FwErrorDescriptions, BothTablesHoldTheSameHundredStatusesInOrder)
{
    std::set<uint32_t> seen;
    for (int i = 0; i < FW_ERROR_DESCRIPTION_COUNT; ++i) {
        EXPECT_EQ(FW_ERROR_DESCRIPTIONS[i].status, FW_ERROR_DESCRIPTIONS_OEM2[i].status) << i;
        EXPECT_TRUE(seen.insert(FW_ERROR_DESCRIPTIONS[i].status).second) << "duplicate row " << i;
    }
    // 0x01 to 0x58, then 0xFF, then 0x59, then 0x5F to 0x68.
    EXPECT_EQ(FW_ERROR_DESCRIPTIONS[0].status, 0x01u);
    EXPECT_EQ(FW_ERROR_DESCRIPTIONS[87].status, 0x58u);
    EXPECT_EQ(FW_ERROR_DESCRIPTIONS[88].status, 0xFFu);
    EXPECT_EQ(FW_ERROR_DESCRIPTIONS[89].status, 0x59u);
    EXPECT_EQ(FW_ERROR_DESCRIPTIONS[90].status, 0x5Fu);
    EXPECT_EQ(FW_ERROR_DESCRIPTIONS[99].status, 0x68u);
}

TEST(FwErrorDescriptions, Lookup)
{
    struct Case {
        uint32_t status;
        bool oem2;
        const char* text;
    } cases[] = {
        {0x0C, false, "\n The requested command cannot be completed, as the specified device does not exist.  \n"},
        {0xFF, false, "\n Invalid error status.  \n"},
        {0x5A, false, "\n  Unknown error \n"},
        {0x00, true, "\n  Unknown error \n"},
        {0x69, false, "\n  Unknown error \n"},
        {0x29, false, "\n   \n"},
        {0x34, false, "\n  \n"},
        {0x53, false, "\n    \n"},
        {0x34, true, "\n    \n"},
        {0x53, true, "\n   \n"},
        {0x46, false, "\n The specified passphrase is not valid.  \n"},
        {0x46, true, "\n  The specified security key is not valid.  \n"},
        {0x0A, true,
         "\n  Unable to add a physical drive to the drive group, as a physical drive exists in the specified "
         "position in the drive group.  \n"},
        {0x43, true, "\n  The requested command cannot be completed as the controller already has a security key.  \n"},
        {0x48, true, "\n  Security key is not valid, authentication failed.  \n"},
        {0x2D, true,
         "\n  The requested operation could not be completed as device is busy or unexpected error occurred.   \n"},
        {0x60, true, "\n  IO metrics are not being collected. \n "},
        {0x4E, false, "\n The physical disk\x92" "s security properties are not valid for the requested operation.  \n"},
        {0x4E, true, "\n  The physical drive\x92" "s security properties are not valid for the requested operation.  \n"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(find(c.status, c.oem2), c.text) << std::hex << c.status << (c.oem2 ? " (OEM2)" : "");
}

TEST(FwErrorDescriptions, ValueIsComparedAsThirtyTwoBits)
{
    EXPECT_EQ(find(0x10C, false), "\n  Unknown error \n");
    EXPECT_EQ(find(static_cast<uint32_t>(-1), false), "\n  Unknown error \n");
}

TEST(FwErrorDescriptions, FlagSelectsTheTable)
{
    useOem2FwErrorDescriptions = 1;
    EXPECT_EQ(selectedFwErrorDescriptions(), FW_ERROR_DESCRIPTIONS_OEM2);
    useOem2FwErrorDescriptions = 0;
    EXPECT_EQ(selectedFwErrorDescriptions(), FW_ERROR_DESCRIPTIONS);
}

}  // namespace
