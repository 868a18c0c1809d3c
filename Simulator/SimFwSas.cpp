// SAS commands of the simulated firmware: the connector modes (read and written), the
// connector information and the phy list.
#include "Simulator/SimFirmware.h"

#include <algorithm>


namespace sim {

namespace {

const uint32_t OP_SAS_GET_PHY_INFO = 0x07010000;
const uint32_t OP_SAS_GET_MUX_MODE = 0x07020100;
const uint32_t OP_SAS_SET_MUX_MODE = 0x07020200;
const uint32_t OP_SAS_GET_CONNECTOR_INFO = 0x07030000;

// Connector modes: a count at 0, one mode byte per connector from 1.
Bytes muxModesRecord(const ConnectorModes& m)
{
    Bytes r(MUX_MODES_SIZE, 0);
    const size_t count = std::min(m.modes.size(), MUX_MAX_CONNECTORS);
    put8(r, 0, count);
    for (size_t i = 0; i < count; ++i)
        put8(r, 1 + i, m.modes[i]);
    applyPatch(r, m.patch);
    return r;
}

void decodeMuxModes(const Bytes& r, ConnectorModes& m)
{
    const size_t count = std::min<size_t>(get8(r, 0), MUX_MAX_CONNECTORS);
    m.modes.assign(r.begin() + 1, r.begin() + 1 + static_cast<long>(count));
}

// Connector information: a 32-bit count, then 20-byte entries from offset 8 (location at +0,
// name at +4).
uint8_t sasGetConnectorInfo(SimState&, Controller& c, SimCommand& cmd)
{
    Bytes r = listRecord(CONNECTOR_INFO_SIZE, 8, 20, CONNECTOR_MAX_ENTRIES, c.connectorInfo.connectors,
                         [](Bytes& e, const Connector& k) {
                             put8(e, 0, k.location);
                             putText(e, 4, 16, k.name);
                         });
    applyPatch(r, c.connectorInfo.patch);
    return fwReply(cmd, r);
}

// The phy list: a 32-bit count, then 16-byte entries from offset 8.
uint8_t sasGetPhyInfo(SimState&, Controller& c, SimCommand& cmd)
{
    Bytes r(PHY_LIST_SIZE, 0);
    const size_t count = std::min(c.phyList.phys.size(), PHY_MAX_ENTRIES);
    put32(r, 0, count);
    for (size_t i = 0; i < count; ++i) {
        const Phy& p = c.phyList.phys[i];
        const size_t e = 8 + 16 * i;
        put64(r, e, p.sasAddress);
        put8(r, e + 8, p.phyId ? *p.phyId : i);
        put8(r, e + 11, p.disabled ? 0xFF : 0);
        put8(r, e + 12, p.deviceType);
        put8(r, e + 13, p.targetFlags);
        put8(r, e + 14, p.linkRate);
    }
    applyPatch(r, c.phyList.patch);
    return fwReply(cmd, r);
}

const FwRegistration registration({
    fwRead(OP_SAS_GET_PHY_INFO, PHY_LIST_SIZE, sasGetPhyInfo),
    fwRead(OP_SAS_GET_MUX_MODE, MUX_MODES_SIZE, fwReadPart<ConnectorModes, &Controller::connectorModes, muxModesRecord>),
    fwWrite(OP_SAS_SET_MUX_MODE, MUX_MODES_SIZE,
            fwWritePart<ConnectorModes, &Controller::connectorModes, decodeMuxModes, muxModesRecord>),
    fwRead(OP_SAS_GET_CONNECTOR_INFO, CONNECTOR_INFO_SIZE, sasGetConnectorInfo),
});

} // namespace

} // namespace sim
