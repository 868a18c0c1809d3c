// The simulated firmware's handler table against what the program sends: every firmware command
// the program can send today has exactly one handler, which takes the command's direction and
// the data length of the program's catalogue.
#include <gtest/gtest.h>

#include "DataProvider/DcmdCatalogue.h"
#include "DataProvider/DcmdOpcodes.h"
#include "Simulator/Firmware/SimFirmware.h"

namespace {

// The firmware commands the program sends, with the catalogue it builds each frame from. A
// command that lands in the program adds its row here, and its handler to the simulator.
struct SentCommand {
    unsigned int opcode;
    DcmdCatalogue::Table table;
    const char* sender;
};

const SentCommand SENT[] = {
    {DCMD_ADP_GET_INFO, DcmdCatalogue::GENERAL, "controller checks, discovery, adapter data"},
    {DCMD_ADP_MFC_GET_OEM_DATA, DcmdCatalogue::PRIVATE, "the OEM id of the adapter data"},
    {DCMD_LD_GET_LIST, DcmdCatalogue::GENERAL, "making logical drives visible"},
    {DCMD_LD_GET_INFO, DcmdCatalogue::GENERAL, "making logical drives visible"},
    {DCMD_ENCL_GET_LIST, DcmdCatalogue::GENERAL, "the enclosure list"},
    {DCMD_CFG_READ, DcmdCatalogue::GENERAL, "the configuration buffer of the model"},
    {DCMD_PD_GET_LIST, DcmdCatalogue::GENERAL, "the drive list of the model"},
    {DCMD_PD_LIST_QUERY, DcmdCatalogue::GENERAL, "the target-id list of the model"},
    {DCMD_PD_LIST_OPERATION, DcmdCatalogue::GENERAL, "the device list the model sends"},
    {DCMD_PD_GET_INFO, DcmdCatalogue::GENERAL, "the drive information of the model"},
    {DCMD_ADP_GET_PROPERTIES, DcmdCatalogue::GENERAL, "the adapter data's properties"},
    {DCMD_ADP_SET_PROPERTIES, DcmdCatalogue::GENERAL, "the adapter data's properties commit"},
    {DCMD_ADP_ALARM_GET, DcmdCatalogue::GENERAL, "the adapter data's alarm state"},
    {DCMD_ADP_ALARM_ENABLE, DcmdCatalogue::GENERAL, "the adapter data's alarm switch"},
    {DCMD_ADP_ALARM_DISABLE, DcmdCatalogue::GENERAL, "the adapter data's alarm switch"},
    {DCMD_ADP_ALARM_SILENCE, DcmdCatalogue::GENERAL, "the adapter data's alarm switch"},
    {DCMD_ADP_PR_GET_STATUS, DcmdCatalogue::GENERAL, "the adapter data's patrol-read status"},
    {DCMD_ADP_PR_GET_PROPERTIES, DcmdCatalogue::GENERAL, "the adapter data's patrol-read properties"},
    {DCMD_ADP_PR_SET_PROPERTIES, DcmdCatalogue::GENERAL, "the adapter data's patrol-read setters"},
    {DCMD_ADP_PR_START, DcmdCatalogue::GENERAL, "the adapter data's patrol-read start"},
    {DCMD_ADP_PR_STOP, DcmdCatalogue::GENERAL, "the adapter data's patrol-read stop"},
    {DCMD_ADP_PR_SUSPEND_RESUME, DcmdCatalogue::GENERAL, "the adapter data's patrol-read suspend and resume"},
    {DCMD_ADP_CC_SCHEDULE_GET_STATUS, DcmdCatalogue::GENERAL, "the adapter data's schedule status"},
    {DCMD_ADP_CC_SCHEDULE_GET_PROPERTIES, DcmdCatalogue::GENERAL, "the adapter data's schedule"},
    {DCMD_ADP_CC_SCHEDULE_SET_PROPERTIES, DcmdCatalogue::GENERAL, "the adapter data's schedule setters"},
    {DCMD_ADP_LOCK_KEY_CREATE, DcmdCatalogue::GENERAL, "the adapter data's key creation"},
    {DCMD_ADP_LOCK_KEY_GET_ID, DcmdCatalogue::GENERAL, "the adapter data's controller key id"},
    {DCMD_ADP_LOCK_KEY_GET_PD_KEY_ID, DcmdCatalogue::GENERAL, "the adapter data's key id"},
    {DCMD_ADP_LOCK_KEY_SET_PD_KEY_ID, DcmdCatalogue::GENERAL, "the adapter data's key id"},
    {DCMD_ADP_LOCK_KEY_VERIFY, DcmdCatalogue::GENERAL, "the adapter data's key check"},
    {DCMD_ADP_LOCK_KEY_SUBCMD_07, DcmdCatalogue::GENERAL, "the adapter data's key change"},
    {DCMD_ADP_LOCK_KEY_SET_ESCROW, DcmdCatalogue::GENERAL, "the adapter data's escrow key"},
    {DCMD_ADP_LOCK_KEY_DESTROY, DcmdCatalogue::GENERAL, "the adapter data's key destruction"},
    {DCMD_ADP_BIOS_GET_DATA, DcmdCatalogue::GENERAL, "the adapter data's BIOS data"},
    {DCMD_ADP_BIOS_SET_DATA, DcmdCatalogue::GENERAL, "the adapter data's BIOS data commit"},
    {DCMD_ADP_MFC_GET_DEFAULTS, DcmdCatalogue::GENERAL, "the adapter data's manufacturing defaults"},
    {DCMD_CFG_GET_RUNTIME_STATUS, DcmdCatalogue::GENERAL, "the adapter data's runtime status"},
    {DCMD_SAS_GET_MUX_MODE, DcmdCatalogue::GENERAL, "the adapter data's connector modes"},
    {DCMD_SAS_SET_MUX_MODE, DcmdCatalogue::GENERAL, "the adapter data's connector modes commit"},
    {DCMD_SAS_GET_PHY_INFO, DcmdCatalogue::GENERAL, "the adapter data's phy list"},
    {DCMD_ADP_FLASH_CLOSE, DcmdCatalogue::GENERAL, "the firmware flash"},
    {DCMD_ADP_FLASH_OPEN, DcmdCatalogue::GENERAL, "the firmware flash"},
    {DCMD_ADP_FLASH_DOWNLOAD, DcmdCatalogue::GENERAL, "the firmware flash"},
    {DCMD_ADP_FLASH_COMMIT, DcmdCatalogue::GENERAL, "the firmware flash"},
    {DCMD_BBU_GET_DESIGN_INFO, DcmdCatalogue::GENERAL, "the module version check of the firmware flash"},
    {DCMD_LD_SET_PROPERTIES, DcmdCatalogue::GENERAL, "a virtual drive's changed settings"},
};

sim::DataDir directionOf(unsigned short flags)
{
    const bool write = flags & 0x08, read = flags & 0x10;
    return write && read ? sim::DataDir::BOTH : write ? sim::DataDir::WRITE : read ? sim::DataDir::READ
                                                                                  : sim::DataDir::NONE;
}

TEST(HandlerTable, EveryCommandTheProgramSendsHasExactlyOneHandler)
{
    const sim::FwHandlerTable& table = sim::FwHandlerTable::instance();
    EXPECT_TRUE(table.refused().empty()) << "a second handler registered for one opcode";
    for (const SentCommand& c : SENT) {
        SCOPED_TRACE(c.sender);
        const sim::FrameKind kind =
            c.table == DcmdCatalogue::DRIVER ? sim::FrameKind::DRIVER : sim::FrameKind::DCMD;
        const sim::FwHandlerSpec* spec = table.find(kind, c.opcode);
        ASSERT_NE(spec, nullptr) << std::hex << c.opcode;
        EXPECT_EQ(spec->dir, directionOf(DcmdCatalogue::frameFlags(c.table, c.opcode))) << std::hex << c.opcode;
        // A read's record is what the program reads by default; what the program writes by
        // default holds at least the record the handler needs.
        const unsigned int sent = DcmdCatalogue::dataLength(c.table, c.opcode, 0);
        if (spec->dir == sim::DataDir::READ)
            EXPECT_EQ(spec->recordSize, sent) << std::hex << c.opcode;
        else
            EXPECT_LE(spec->recordSize, sent) << std::hex << c.opcode;
    }
}

uint8_t answerOne(sim::SimState&, sim::Controller&, sim::SimCommand&) { return 1; }
uint8_t answerTwo(sim::SimState&, sim::Controller&, sim::SimCommand&) { return 2; }

TEST(HandlerTable, RefusesASecondHandlerForAKey)
{
    sim::FwHandlerTable table;
    EXPECT_TRUE(table.add(sim::fwRead(0x01010000, 2048, answerOne)));
    EXPECT_FALSE(table.add(sim::fwRead(0x01010000, 2048, answerTwo)));
    // The same code under another frame kind is another key.
    EXPECT_TRUE(table.add(sim::fwRead(0x01010000, 2048, answerTwo, sim::FrameKind::DCDB)));
    ASSERT_EQ(table.refused().size(), 1u);
    EXPECT_EQ(table.refused()[0].handler, answerTwo);
    EXPECT_EQ(table.find(sim::FrameKind::DCMD, 0x01010000)->handler, answerOne);
    EXPECT_EQ(table.find(sim::FrameKind::DCDB, 0x01010000)->handler, answerTwo);
    EXPECT_EQ(table.find(sim::FrameKind::STP, 0x01010000), nullptr);
}

} // namespace
