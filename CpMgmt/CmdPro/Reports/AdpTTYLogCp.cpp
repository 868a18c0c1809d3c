#include "CpMgmt/CmdPro/Reports/AdpTTYLogCp.h"

#include <cstring>

#include "CpMgmt/CmdPro/AdpDcmd.h"
#include "CpMgmt/CpFactoryRegistry.h"
#include "DataProvider/DcmdOpcodes.h"
#include "Parser/AdpParsedObjects.h"
#include "Parser/TokenIds.h"
#include "RaidManager/Zpr/Records/Controller/ZprTtyLogChunk.h"

namespace {

enum TtyLogAction : uint8_t {
    ACTION_CLEAR = 0,
    ACTION_DISPLAY = 1,
    ACTION_BBU_ON = 2,
    ACTION_BBU_OFF = 3,
    ACTION_BBU_OFF_TEMP = 4,
    ACTION_BBU_GET = 5,
};

// The commands of the actions other than the display, and the mode word a set reports.
struct TtyLogCommand {
    uint8_t action;
    uint32_t opcode;
    const char* modeSet;  // null: not a mode change
};

const TtyLogCommand TTY_LOG_COMMANDS[] = {
    {ACTION_CLEAR, DCMD_ADP_TTY_LOG_CLEAR, nullptr},
    {ACTION_BBU_ON, DCMD_ADP_TTY_LOG_BBU_MODE_ON, "ON"},
    {ACTION_BBU_OFF, DCMD_ADP_TTY_LOG_BBU_MODE_OFF, "OFF"},
    {ACTION_BBU_OFF_TEMP, DCMD_ADP_TTY_LOG_BBU_MODE_OFF_TEMP, "temporarily off for this boot"},
    {ACTION_BBU_GET, DCMD_ADP_TTY_LOG_BBU_MODE_GET, nullptr},
};

// The battery mode byte's words, by value; any other value is "Unknown".
const char* const BBU_MODE_NAMES[] = {"OFF", "ON", "temporarily off for this boot"};

const char* bbuModeName(uint8_t mode)
{
    return mode < sizeof BBU_MODE_NAMES / sizeof BBU_MODE_NAMES[0] ? BBU_MODE_NAMES[mode] : "Unknown";
}

int runCommand(CpController* cpController, const TtyLogCommand& command, int adapter)
{
    uint8_t mode[ZprTtyLogBbuMode::SIZE] = {};
    int status = sendDcmd(cpController, command.opcode, command.action == ACTION_BBU_GET ? mode : nullptr);
    if (status != 0) {
        printMessage(MSG_SEND_COMMAND_FAILED, adapter);
        return status;
    }
    if (command.action == ACTION_CLEAR)
        printMessage(MSG_TTY_LOG_CLEARED, adapter);
    else if (command.modeSet != nullptr)
        printMessage(MSG_TTY_LOG_BBU_SET, command.modeSet, adapter);
    else
        printMessage(MSG_TTY_LOG_BBU_MODE, bbuModeName(ZprTtyLogBbuMode(mode, sizeof mode).mode()), adapter);
    return 0;
}

} // namespace

int printFirmwareTermLog(CpController* cpController)
{
    uint8_t buffer[ZprTtyLogChunk::BUFFER_SIZE];
    uint32_t offset = 0;
    for (;;) {
        std::memset(buffer, 0, sizeof buffer);
        int status = sendDcmdWithWord(cpController, DCMD_ADP_TTY_LOG_GET, offset, buffer, ZprTtyLogChunk::SIZE);
        if (status != 0) {
            printMessage(MSG_TTY_LOG_READ_FAILED);
            return status;
        }
        const ZprTtyLogChunk piece(buffer, sizeof buffer);
        printMessage(MSG_TEXT, piece.text());
        // A count beyond what a piece can hold is taken as a full piece. A full piece that
        // brought no text ends the log however full it claims to be, and a firmware whose
        // pieces never stop coming full is not followed past the largest log there is.
        const uint32_t count = clampCount(piece.count(), ZprTtyLogChunk::MAX_TEXT);
        if (count <= ZprTtyLogChunk::FULL_ABOVE || piece.text()[0] == '\0')
            return 0;
        if (offset + count >= ZprTtyLogChunk::MAX_LOG_SIZE) {
            printMessage(MSG_TTY_LOG_TOO_LONG, static_cast<unsigned>(ZprTtyLogChunk::MAX_LOG_SIZE));
            return -1;
        }
        offset += count;
    }
}

int AdpTTYLogCp::process(CpController* cpController, ParsedObject* request)
{
    CpStartOnController<AdpTTYLogPo> start(cpController, request, "AdpTTYLogPo *");
    if (!start)
        return start.result();
    const uint8_t adapterNumber = start.number();
    const uint8_t action = start.request()->getAction();
    if (action == ACTION_DISPLAY) {
        printMessage(MSG_TTY_LOG_HEADER, static_cast<int>(adapterNumber));
        return printFirmwareTermLog(cpController);
    }
    for (const TtyLogCommand& command : TTY_LOG_COMMANDS) {
        if (command.action == action)
            return runCommand(cpController, command, adapterNumber);
    }
    return -1;
}

namespace {

const CpRegistration<AdpTTYLogCp> registration;

} // namespace
