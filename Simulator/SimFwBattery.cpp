// Battery backup unit commands of the simulated firmware: the design record, of which only
// the cache-protection module's firmware version is filled.
#include "Simulator/SimFirmware.h"

namespace sim {

namespace {

const uint32_t OP_BBU_GET_DESIGN_INFO = 0x05030000;
const size_t BBU_DESIGN_INFO_SIZE = 64;

uint8_t bbuGetDesignInfo(SimState&, Controller& c, SimCommand& cmd)
{
    Bytes r(BBU_DESIGN_INFO_SIZE, 0);
    for (size_t i = 0; i < 8 && i < c.bbuModuleVersion.size(); ++i)
        put8(r, 49 + i, static_cast<uint8_t>(c.bbuModuleVersion[i]));
    return fwReply(cmd, r);
}

const FwRegistration registration({
    fwRead(OP_BBU_GET_DESIGN_INFO, BBU_DESIGN_INFO_SIZE, bbuGetDesignInfo),
});

} // namespace

} // namespace sim
