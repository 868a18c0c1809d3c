// SAS commands of the simulated firmware: the connector modes (read and written), the
// connector information, the phy list and the phy-control requests.
#include "Simulator/Firmware/SimFirmware.h"

#include <algorithm>
#include <string>


namespace sim {

namespace {

const uint32_t OP_SAS_GET_PHY_INFO = 0x07010000;
const uint32_t OP_SAS_GET_MUX_MODE = 0x07020100;
const uint32_t OP_SAS_SET_MUX_MODE = 0x07020200;
const uint32_t OP_SAS_GET_CONNECTOR_INFO = 0x07030000;
const uint32_t OP_SAS_PHY_CONTROL = 0x07040000;
const uint32_t OP_SAS_SET_PHY_LINK_SPEED = 0x07050000;

// The phy-control request: a 31-byte header, the response (or payload) after it.
const size_t PC_KIND = 0;            // 0: the length probe
const size_t PC_FLAT = 1;            // 1: the phy number counts all phys
const size_t PC_FUNCTION = 6;
const size_t PC_DATA_LENGTH = 21;
const size_t PC_SELECTOR = 22;
const size_t PC_OPERATION = 23;
const size_t PC_VALUE = 24;
const size_t PC_UPPER_GROUP = 28;    // grouped numbering: the phy is in the second group of 8
const size_t PC_HEADER = 31;
const size_t PC_LIST_COUNT = 24;     // within the list response
const size_t PC_LIST_ENTRIES = 28;
const size_t PC_LIST_ENTRY = 20;

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

// Error counters of one phy, laid out as the SAS phy error log: phy identifier at 9, then the
// four counts from 12.
// The command log notes the phy and how it was numbered.
uint8_t phyErrorCounters(const Controller& c, Bytes& r, std::string& note)
{
    const bool flat = get8(r, PC_FLAT) != 0;
    size_t phy = get32(r, PC_VALUE);
    // Grouped numbering counts within a group of 8.
    if (!flat && phy >= 8)
        return FW_STATUS_INVALID_ARGUMENT;
    if (!flat && get8(r, PC_UPPER_GROUP) != 0)
        phy += 8;
    note = "phy=" + std::to_string(phy) + (flat ? " flat" : " grouped");
    if (phy >= std::min(c.phyList.phys.size(), PHY_MAX_ENTRIES))
        return FW_STATUS_NO_DEVICE;
    const Phy& p = c.phyList.phys[phy];
    put8(r, PC_HEADER + 9, phy);
    put32(r, PC_HEADER + 12, p.invalidDwords);
    put32(r, PC_HEADER + 16, p.disparityErrors);
    put32(r, PC_HEADER + 20, p.lossOfSync);
    put32(r, PC_HEADER + 24, p.resetProblems);
    return FW_STATUS_OK;
}

// DCMD_SAS_PHY_CONTROL: the response is written into the request buffer after its header.
// The length probe answers the block response's length in its byte 1; the error-counter
// request (operation 0x0f, function 0x13, selector 1) the phy's counters; selector 8 the list
// (operation other than 9) or takes a payload (operation 9); anything else the block response.
uint8_t sasPhyControl(SimState& state, Controller& c, SimCommand& cmd)
{
    Bytes r = cmd.data;
    if (r.size() < PC_HEADER)
        return FW_STATUS_INVALID_ARGUMENT;
    const PhyControl& pc = c.phyControl;
    uint8_t status = FW_STATUS_OK;
    if (get8(r, PC_KIND) == 0) {
        put8(r, PC_HEADER + 1, std::min(pc.block.size(), PHY_CONTROL_MAX_RESPONSE));
    } else if (get8(r, PC_OPERATION) == 0x0f && get8(r, PC_FUNCTION) == 0x13 && get8(r, PC_SELECTOR) == 1) {
        status = phyErrorCounters(c, r, cmd.note);
    } else if (get8(r, PC_SELECTOR) == 8 && get8(r, PC_OPERATION) == 9) {
        const size_t n = std::min<size_t>(get8(r, PC_DATA_LENGTH), r.size() - PC_HEADER);
        c.phyControl.written.assign(r.begin() + PC_HEADER, r.begin() + static_cast<long>(PC_HEADER + n));
        markStateChanged(state);
    } else if (get8(r, PC_SELECTOR) == 8) {
        const size_t given = pc.list.size() / PC_LIST_ENTRY;
        put8(r, PC_HEADER + PC_LIST_COUNT, pc.listCount ? *pc.listCount : given);
        // As many entries as the request has room for.
        for (size_t i = 0; i < given && PC_HEADER + PC_LIST_ENTRIES + PC_LIST_ENTRY * (i + 1) <= r.size(); ++i)
            putBytes(r, PC_HEADER + PC_LIST_ENTRIES + PC_LIST_ENTRY * i,
                     Bytes(pc.list.begin() + static_cast<long>(PC_LIST_ENTRY * i),
                           pc.list.begin() + static_cast<long>(PC_LIST_ENTRY * (i + 1))));
    } else {
        for (size_t i = 0; i < pc.block.size() && PC_HEADER + i < r.size(); ++i)
            put8(r, PC_HEADER + i, pc.block[i]);
    }
    if (status != FW_STATUS_OK)
        return status;
    return fwReply(cmd, r);
}

// DCMD_SAS_SET_PHY_LINK_SPEED: mailbox byte 0 the phy, byte 1 the speed code, kept as the phy
// list's link-rate byte (the code in bits 2-7); a phy the list does not have answers 0x0c.
uint8_t sasSetPhyLinkSpeed(SimState& state, Controller& c, SimCommand& cmd)
{
    const size_t phy = cmd.mailbox[0] & 0xFF;
    if (phy >= std::min(c.phyList.phys.size(), PHY_MAX_ENTRIES))
        return FW_STATUS_NO_DEVICE;
    c.phyList.phys[phy].linkRate = static_cast<uint8_t>(((cmd.mailbox[0] >> 8) & 0x3F) << 2);
    markStateChanged(state);
    return FW_STATUS_OK;
}

const FwRegistration registration({
    fwRead(OP_SAS_GET_PHY_INFO, PHY_LIST_SIZE, sasGetPhyInfo),
    fwRead(OP_SAS_GET_MUX_MODE, MUX_MODES_SIZE, fwReadPart<ConnectorModes, &Controller::connectorModes, muxModesRecord>),
    fwWrite(OP_SAS_SET_MUX_MODE, MUX_MODES_SIZE,
            fwWritePart<ConnectorModes, &Controller::connectorModes, decodeMuxModes, muxModesRecord>),
    fwRead(OP_SAS_GET_CONNECTOR_INFO, CONNECTOR_INFO_SIZE, sasGetConnectorInfo),
    fwBoth(OP_SAS_PHY_CONTROL, PC_HEADER, sasPhyControl),
    fwWrite(OP_SAS_SET_PHY_LINK_SPEED, 0, sasSetPhyLinkSpeed),
});

} // namespace

} // namespace sim
