// The firmware terminal log of the simulated firmware: its text read piece by piece, cleared,
// and the battery mode of its history.
#include "Simulator/Firmware/SimFirmware.h"

#include <algorithm>

namespace sim {

namespace {

const uint32_t OP_TTY_LOG_CLEAR = 0x01090100;
const uint32_t OP_TTY_LOG_GET = 0x01090200;
const uint32_t OP_TTY_LOG_BBU_MODE_GET = 0x010A0100;
const uint32_t OP_TTY_LOG_BBU_MODE_OFF = 0x010A0200;
const uint32_t OP_TTY_LOG_BBU_MODE_ON = 0x010A0300;
const uint32_t OP_TTY_LOG_BBU_MODE_OFF_TEMP = 0x010A0400;
const uint32_t TTY_LOG_PIECE_SIZE = 1024;
const uint32_t TTY_LOG_PIECE_TEXT = 8;   // the characters start here; their count is at 4

// DCMD_ADP_TTY_LOG_GET (word 0 the offset into the log): as many characters from the offset
// as the piece holds after its 8-byte header, their count at 4; past the end an empty piece.
uint8_t ttyLogGet(SimState&, Controller& c, SimCommand& cmd)
{
    const std::string& text = c.termLog.text;
    const size_t from = std::min<size_t>(cmd.mailbox[0], text.size());
    const size_t count = std::min<size_t>(text.size() - from, TTY_LOG_PIECE_SIZE - TTY_LOG_PIECE_TEXT);
    Bytes r(TTY_LOG_PIECE_SIZE, 0);
    put32(r, 4, count);
    std::copy(text.begin() + from, text.begin() + from + count, r.begin() + TTY_LOG_PIECE_TEXT);
    return fwReply(cmd, r);
}

uint8_t ttyLogClear(SimState& state, Controller& c, SimCommand&)
{
    c.termLog.text.clear();
    markStateChanged(state);
    return FW_STATUS_OK;
}

uint8_t ttyLogBbuModeGet(SimState&, Controller& c, SimCommand& cmd)
{
    return fwReply(cmd, Bytes(1, c.termLog.bbuMode));
}

uint8_t setBbuMode(SimState& state, Controller& c, uint8_t mode)
{
    c.termLog.bbuMode = mode;
    markStateChanged(state);
    return FW_STATUS_OK;
}

uint8_t ttyLogBbuModeOff(SimState& state, Controller& c, SimCommand&) { return setBbuMode(state, c, 0); }
uint8_t ttyLogBbuModeOn(SimState& state, Controller& c, SimCommand&) { return setBbuMode(state, c, 1); }
uint8_t ttyLogBbuModeOffTemp(SimState& state, Controller& c, SimCommand&) { return setBbuMode(state, c, 2); }

const FwRegistration registration({
    fwNoData(OP_TTY_LOG_CLEAR, ttyLogClear),
    fwRead(OP_TTY_LOG_GET, TTY_LOG_PIECE_SIZE, ttyLogGet),
    fwRead(OP_TTY_LOG_BBU_MODE_GET, 1, ttyLogBbuModeGet),
    fwNoData(OP_TTY_LOG_BBU_MODE_OFF, ttyLogBbuModeOff),
    fwNoData(OP_TTY_LOG_BBU_MODE_ON, ttyLogBbuModeOn),
    fwNoData(OP_TTY_LOG_BBU_MODE_OFF_TEMP, ttyLogBbuModeOffTemp),
});

} // namespace

} // namespace sim
