// The firmware-command forms of the adapter command processors, over a simulated host: what
// reaches the firmware (opcode, mailbox, data length) and that the status comes back unchanged.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "CpMgmt/CmdPro/AdpDcmd.h"
#include "CpMgmt/CpController.h"
#include "DataProvider/DcmdOpcodes.h"
#include "RaidManager/RaidManager.h"
#include "SimHostFixture.h"

namespace {

class AdpDcmdTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(host.ready());
        ASSERT_NE(controllers.controller(0), nullptr);
        host.clearCommands();
    }
    void TearDown() override { releaseRaidManagers(); }

    // The one command received since SetUp, without its clock field ("host=2 frame=5 ...").
    std::string onlyCommand() const
    {
        std::vector<std::string> lines = host.commands();
        if (lines.size() != 1)
            return "commands received: " + std::to_string(lines.size());
        std::string line = lines[0];
        return line.substr(line.find(' ') + 1);
    }

    simhost::SimHostFixture host{"one"};
    simhost::SimControllers controllers;
    CpController executor{controllers.controller(0), nullptr};
};

TEST_F(AdpDcmdTest, PlainFormSendsAZeroMailboxAndTheOpcodesLength)
{
    std::vector<uint8_t> info(2048, 0xEE);
    EXPECT_EQ(sendDcmd(&executor, DCMD_ADP_GET_INFO, info.data()), 0);
    EXPECT_EQ(onlyCommand(), "host=2 frame=5 opcode=0x01010000 mbox=0x00000000,0x00000000,0x00000000 len=2048 status=0x00");
    EXPECT_EQ(info[0], 0x7a);   // the preset's vendor id 0x1e7a, low byte first
    EXPECT_EQ(info[1], 0x1e);
}

TEST_F(AdpDcmdTest, BiosFormSealsTheRecordBeforeItIsWritten)
{
    std::vector<uint8_t> bios(64, 0);
    EXPECT_EQ(sendBiosDcmd(&executor, DCMD_ADP_BIOS_GET_DATA, bios.data()), 0);
    bios[3] = 0x02;    // ignore errors
    bios[63] = 0x55;   // a checksum that no longer fits
    EXPECT_EQ(sendBiosDcmd(&executor, DCMD_ADP_BIOS_SET_DATA, bios.data()), 0);
    unsigned sum = 0;
    for (uint8_t b : bios)
        sum += b;
    EXPECT_EQ(sum % 256, 0u);
    // A read is sent as it is: its buffer's last byte is the firmware's.
    std::vector<uint8_t> again(64, 0xEE);
    EXPECT_EQ(sendBiosDcmd(&executor, DCMD_ADP_BIOS_GET_DATA, again.data()), 0);
    EXPECT_EQ(again[3], 0x02);
    EXPECT_EQ(again, bios);
}

TEST_F(AdpDcmdTest, WordFormPutsTheWordInMailboxWordZero)
{
    // No data: a download opened with the size in the word.
    EXPECT_EQ(sendDcmdWithWord(&executor, DCMD_ADP_FLASH_OPEN, 0x12345678u, nullptr, 0), 0);
    EXPECT_EQ(onlyCommand(), "host=2 frame=5 opcode=0x010f0100 mbox=0x12345678,0x00000000,0x00000000 len=0 status=0x00");
}

TEST_F(AdpDcmdTest, WordFormSendsTheGivenLengthOfAnOpcodeThatTakesTheCallers)
{
    std::vector<uint8_t> piece(64, 0xA5);
    // No download is open, so the firmware refuses the piece with its status, passed on as given.
    EXPECT_EQ(sendDcmdWithWord(&executor, DCMD_ADP_FLASH_DOWNLOAD, 0x400u, piece.data(), 64), 0x14);
    EXPECT_EQ(onlyCommand(), "host=2 frame=5 opcode=0x010f0200 mbox=0x00000400,0x00000000,0x00000000 len=64 status=0x14");
}

TEST_F(AdpDcmdTest, PhyFormPutsPhyAndSpeedInTheFirstTwoMailboxBytes)
{
    // The controller has no phy 5.
    EXPECT_EQ(sendDcmdPhySpeed(&executor, DCMD_SAS_SET_PHY_LINK_SPEED, nullptr, 5, 4), 0x0c);
    EXPECT_EQ(onlyCommand(), "host=2 frame=5 opcode=0x07050000 mbox=0x00000405,0x00000000,0x00000000 len=0 status=0x0c");
}

TEST_F(AdpDcmdTest, PrivateFormTakesThePrivateLength)
{
    std::vector<uint8_t> oem(24, 0xEE);
    EXPECT_EQ(sendPrivateDcmd(&executor, DCMD_ADP_MFC_GET_OEM_DATA, oem.data()), 0);
    EXPECT_EQ(onlyCommand(), "host=2 frame=5 opcode=0x010e8481 mbox=0x00000000,0x00000000,0x00000000 len=24 status=0x00");
    EXPECT_EQ(oem[0], 1);   // the preset's OEM id
}

TEST_F(AdpDcmdTest, WithoutAControllerNothingIsSent)
{
    CpController none(nullptr, nullptr);
    EXPECT_EQ(sendDcmd(&none, DCMD_ADP_GET_INFO, nullptr), -1);
    EXPECT_TRUE(host.commands().empty());
}

} // namespace
