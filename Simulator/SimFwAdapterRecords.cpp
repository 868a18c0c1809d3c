// Adapter commands of the simulated firmware behind the information display and the factory
// reset: manufacturing data, FRU data, the key=value texts, the controller clock, and the
// restore of the factory settings.
#include "Simulator/SimFirmware.h"

namespace sim {

namespace {

const uint32_t OP_ADP_SET_FACTORY_DEFAULTS = 0x010D0000;

// DCMD_ADP_SET_FACTORY_DEFAULTS: the settings return to the factory's at the next boot; the
// simulated controller has nothing to change before that.
uint8_t adpSetFactoryDefaults(SimState&, Controller&, SimCommand&)
{
    return FW_STATUS_OK;
}

const FwRegistration registration({
    fwNoData(OP_ADP_SET_FACTORY_DEFAULTS, adpSetFactoryDefaults),
});

} // namespace

} // namespace sim
