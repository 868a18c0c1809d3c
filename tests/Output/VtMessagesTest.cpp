#include <gtest/gtest.h>

#include <set>
#include <string>

#include "Output/VtMessages.h"

namespace {

const char* find(unsigned int id)
{
    for (unsigned int i = 0; i < VT_MESSAGES_COUNT; ++i)
        if (VT_MESSAGES[i].id == id)
            return VT_MESSAGES[i].text;
    return nullptr;
}

}  // namespace

TEST(Catalogue, HasEveryRowOnceEndingWithTheLastRow)
{
    // 883 rows, and three of the program's own: the refusal of a name with control characters,
    // a terminal log or an event walk given up on.
    EXPECT_EQ(VT_MESSAGES_COUNT, 886u);
    EXPECT_STREQ(find(0x3200c), "Adapter %d: Invalid name: control characters are not allowed.\n");
    std::set<unsigned int> ids;
    for (unsigned int i = 0; i < VT_MESSAGES_COUNT; ++i) {
        EXPECT_TRUE(ids.insert(VT_MESSAGES[i].id).second) << std::hex << VT_MESSAGES[i].id;
        ASSERT_NE(VT_MESSAGES[i].text, nullptr);
        EXPECT_GT(std::string(VT_MESSAGES[i].text).size(), 0u) << std::hex << VT_MESSAGES[i].id;
        for (const char* p = VT_MESSAGES[i].text; *p; ++p) {
            unsigned char c = static_cast<unsigned char>(*p);
            EXPECT_TRUE((c >= 0x20 && c < 0x7f) || c == '\n' || c == '\r' || c == '\t')
                << std::hex << VT_MESSAGES[i].id << " byte " << int(c);
        }
    }
    EXPECT_EQ(VT_MESSAGES[VT_MESSAGES_COUNT - 1].id, 0xFFFFFFFFu);
    EXPECT_STREQ(VT_MESSAGES[VT_MESSAGES_COUNT - 1].text, "Last Message String.");
}

TEST(Catalogue, TrickyRowsAreKeptByteForByte)
{
    struct Row {
        unsigned int id;
        std::string text;
    };
    const Row rows[] = {
        {MSG_SUCCESS, "Application Completed Successfully.\n"},
        {MSG_PRESS_ESC, "\n\r    Press <ESC> key to quit...\n\r"},
        {MSG_RULER_LONG, std::string(78, '=') + "\n"},
        {MSG_RULER_SHORT, std::string(16, '=') + "\n"},
        {MSG_COLUMN, "%-s"},
        {0x17, "Vendor ID: 0x%0.4X, Device ID: 0x%0.4X\n\n"},
        {0x10001, "\rInvalid input at or near token %s" + std::string(43, ' ') + "\n"},
        {MSG_ADAPTER_COMM_FAILED, "Adapter #%d: Failed communicating to adapter..."},
        {0x31104, "Controller Id\t: %.4x\nVendor Id       : %.4x\nDevice Id       : %.4x\n"
                  "SubVendorId     : %.4x\nSubDeviceId     : %.4x\n\n"},
        {0x31305, "  Relative State of Charge: %d %%\n  Charger System State: %d\n  Charger System Ctrl: %d\n"
                  "  Charging current: %d mA\n  Absolute state of charge: %d %%\n  Max Error: %d %%\n"},
        {0x31903, "\rErasing block at address %lx"},
        {0x31b16, "Adapter %d: Failed to set  max concurrent PD value for Patrol Read.\n"},
        {0x31e07, "Rev: "},
        {0x32300, " Success.\n"},
        {0x32312, "  Check Consistency"},
        {MSG_VD_PROGRESS_TITLE, " Progress of Virtual Drives...\n\n\r"},
        {0x32318, "  Virtual Drive #" + std::string(14, ' ') + "Percent Complete" + std::string(23, ' ') +
                      "Time Elps\n\r"},
        {0x3501b, "VD\tSlot: %d\t"},
        {0x3611a, "This option is deprecated So please use PdInstantSecureErase option.\n "},
        {0x3721b, "\n Device \"%s\" is already configured. \n"},
        {0x37217, "%6s Hrs retention with a %s learn cycle and %s service life.\n"},
        {MSG_EXIT_CODE, "\nExit Code: 0x%.2x\n"},
    };
    for (const Row& row : rows) {
        const char* text = find(row.id);
        ASSERT_NE(text, nullptr) << std::hex << row.id;
        EXPECT_EQ(std::string(text), row.text) << std::hex << row.id;
    }
}

TEST(Catalogue, NamedIdsPointAtTheirRows)
{
    EXPECT_STREQ(find(MSG_OPERATION_FAILED), "Adapter #%d: Failed to Perform %s Operation.\n");
    EXPECT_STREQ(find(MSG_PARSE_FAILED), "Failed to parse command. Use -h option for usage.\n");
    EXPECT_STREQ(find(MSG_TTY_LOG_READ_FAILED), "Error reading firmware term log data.\n");
    EXPECT_STREQ(find(MSG_ENCLOSURE_LIST_FAILED), "Failed to get Enclosure List...\n");
    EXPECT_STREQ(find(MSG_SUMMARY_FW_PACKAGE), "                 FW Package Version: %.96s\n");
    EXPECT_STREQ(find(MSG_INVALID_INPUT_AT_TOKEN),
                 "\rInvalid input at or near token %s                                           \n");
    EXPECT_STREQ(find(MSG_PARSER_INVALID_TOKEN_ID), "Invalid tokenId %d - max allowed is %d\n");
    EXPECT_STREQ(find(MSG_CONTROLLER_NOT_PRESENT), "User specified controller is not present.\n");
    EXPECT_STREQ(find(MSG_CONTROLLER_COUNT), "\nController Count: %d.\n");
    EXPECT_STREQ(find(MSG_DIRECT_CONNECTED_DEVICE),
                 "Enclosure ID could not be resolved. \nEnclosure with direct connected device detected.\n");
    EXPECT_STREQ(find(MSG_UPDATE_APPLICATION), "Adapter #%d: Please Update Application.\n"
                                               "Firmware Forward Compatibility Version:%d\n"
                                               "Application Forward Compatibility Version:%d\n");
    EXPECT_STREQ(find(MSG_INTERNAL_ERROR), "\n Internal Error. \n");
}
