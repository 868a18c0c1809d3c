// Foreign configurations of the simulated firmware: the configurations that drives moved in from
// another controller carry. The scan counts those the controller sees (a locked one only once
// the escrow key unlocks it), the reads hand them out as configuration buffers (as stored, or
// renumbered as an import would make them), the import merges them into the configuration and
// the clear forgets them; both free their drives of the foreign mark.
#include "Simulator/Firmware/SimFirmware.h"
#include "Simulator/Firmware/SimFirmwareValues.h"
#include "Simulator/SimState.h"

#include <algorithm>
#include <map>
#include <set>

namespace sim {

namespace {

const uint32_t OP_FOREIGN_SCAN = 0x04060100;
const uint32_t OP_FOREIGN_GET_CONFIG = 0x04060200;
const uint32_t OP_FOREIGN_PREVIEW = 0x04060300;
const uint32_t OP_FOREIGN_IMPORT = 0x04060400;
const uint32_t OP_FOREIGN_CLEAR = 0x04060500;
const size_t SCAN_SIZE = 196;
const size_t CFG_DEFAULT_READ = 616;
const uint8_t ALL_CONFIGS = 255;
const uint8_t CONFIG_FLAG_FOREIGN = 0x10;
const uint8_t SECURITY_LOCKED_FOREIGN = 0x18;   // bits 3 (locked) and 4 (foreign lock)

bool isSeen(const Controller& c, const ForeignConfig& f)
{
    return f.lockKey.empty() || f.lockKey == c.securityKeys.escrowKey;
}

// The indexes (into c.foreignConfigs) of the configurations the controller sees, in order.
std::vector<size_t> seenConfigs(const Controller& c)
{
    std::vector<size_t> seen;
    for (size_t i = 0; i < c.foreignConfigs.size(); ++i)
        if (isSeen(c, c.foreignConfigs[i]))
            seen.push_back(i);
    return seen;
}

// The configurations mailbox byte 0 selects (255: all seen); false for an index beyond them.
bool selected(const Controller& c, const SimCommand& cmd, std::vector<size_t>* out)
{
    const std::vector<size_t> seen = seenConfigs(c);
    const uint8_t index = static_cast<uint8_t>(cmd.mailbox[0] & 0xFF);
    if (index == ALL_CONFIGS) {
        *out = seen;
        return true;
    }
    if (index >= seen.size())
        return false;
    *out = {seen[index]};
    return true;
}

// The lowest number below `limit` that is in neither set.
template <typename T>
std::optional<T> lowestFree(const std::set<T>& used, const std::set<T>& reserved, unsigned limit)
{
    for (unsigned n = 0; n < limit; ++n)
        if (used.count(static_cast<T>(n)) == 0 && reserved.count(static_cast<T>(n)) == 0)
            return static_cast<T>(n);
    return std::nullopt;
}

// The configuration as an import would make it: an array reference or target id that one in
// `usedRefs` / `usedIds` already has takes the lowest free one (the configuration's own
// numbers stay reserved for its other records); the spans and dedicated spares follow their
// arrays. The numbers it ends with join the used ones.
ForeignConfig renumbered(const Controller& c, const ForeignConfig& f, std::set<uint16_t>& usedRefs,
                         std::set<uint8_t>& usedIds)
{
    ForeignConfig r = f;
    std::set<uint16_t> ownRefs;
    std::set<uint8_t> ownIds;
    for (const Array& a : f.arrays)
        ownRefs.insert(a.ref);
    for (const LogicalDrive& ld : f.lds)
        ownIds.insert(ld.targetId);
    std::map<uint16_t, uint16_t> refMap;
    for (Array& a : r.arrays) {
        if (usedRefs.count(a.ref) != 0) {
            const std::optional<uint16_t> free = lowestFree<uint16_t>(usedRefs, ownRefs, 0xFFFF);
            if (free)
                refMap[a.ref] = *free;
            a.ref = free ? *free : a.ref;
        }
        usedRefs.insert(a.ref);
    }
    for (LogicalDrive& ld : r.lds) {
        if (usedIds.count(ld.targetId) != 0) {
            const std::optional<uint8_t> free = lowestFree<uint8_t>(usedIds, ownIds, c.info.maxVirtualDrives);
            ld.targetId = free ? *free : ld.targetId;
        }
        usedIds.insert(ld.targetId);
        for (Span& s : ld.spans)
            if (refMap.count(s.array) != 0)
                s.array = refMap[s.array];
    }
    for (Spare& s : r.spares)
        for (uint16_t& ref : s.arrays)
            if (refMap.count(ref) != 0)
                ref = refMap[ref];
    return r;
}

// The selected configurations renumbered one after the other against the controller's own.
std::vector<ForeignConfig> asImported(const Controller& c, const std::vector<size_t>& which)
{
    std::set<uint16_t> usedRefs;
    std::set<uint8_t> usedIds;
    for (const Array& a : c.arrays)
        usedRefs.insert(a.ref);
    for (const LogicalDrive& ld : c.lds)
        usedIds.insert(ld.targetId);
    std::vector<ForeignConfig> out;
    for (size_t i : which)
        out.push_back(renumbered(c, c.foreignConfigs[i], usedRefs, usedIds));
    return out;
}

// The configuration buffer of the configurations: the drive entries of each one's arrays carry
// its member state, and sequence number 0 for its outdated drives.
Bytes bufferOf(const Controller& c, const std::vector<ForeignConfig>& configs)
{
    Controller view = c;
    view.arrays.clear();
    view.lds.clear();
    view.spares.clear();
    for (const ForeignConfig& f : configs) {
        for (const Array& a : f.arrays)
            for (uint16_t id : a.drives)
                if (Drive* d = findDriveById(view, id)) {
                    d->state = f.memberState;
                    if (std::find(f.outdated.begin(), f.outdated.end(), id) != f.outdated.end())
                        d->sequence = 0;
                }
        view.arrays.insert(view.arrays.end(), f.arrays.begin(), f.arrays.end());
        view.lds.insert(view.lds.end(), f.lds.begin(), f.lds.end());
        view.spares.insert(view.spares.end(), f.spares.begin(), f.spares.end());
    }
    return configBuffer(view, view.arrays, view.lds, view.spares);
}

// DCMD_CFG_FOREIGN_SCAN: the number of configurations the controller sees, at 0.
uint8_t foreignScan(SimState&, Controller& c, SimCommand& cmd)
{
    Bytes r(SCAN_SIZE, 0);
    put32(r, 0, seenConfigs(c).size());
    return fwReply(cmd, r);
}

// DCMD_CFG_FOREIGN_GET_CONFIG (mailbox byte 0 the index, 255 all): as stored.
uint8_t foreignGetConfig(SimState&, Controller& c, SimCommand& cmd)
{
    std::vector<size_t> which;
    if (!selected(c, cmd, &which))
        return FW_STATUS_INVALID_ARGUMENT;
    std::vector<ForeignConfig> configs;
    for (size_t i : which)
        configs.push_back(c.foreignConfigs[i]);
    return fwReply(cmd, bufferOf(c, configs));
}

// DCMD_CFG_FOREIGN_PREVIEW: as an import would make it.
uint8_t foreignPreview(SimState&, Controller& c, SimCommand& cmd)
{
    std::vector<size_t> which;
    if (!selected(c, cmd, &which))
        return FW_STATUS_INVALID_ARGUMENT;
    return fwReply(cmd, bufferOf(c, asImported(c, which)));
}

// The drives of a configuration lose their foreign mark; with `imported` its members take their
// recorded state, its spares become hot spares, and drives it locked are unlocked by the key.
void releaseDrives(Controller& c, const ForeignConfig& f, bool imported)
{
    auto release = [&](uint16_t id, uint8_t state, uint8_t flags) {
        Drive* d = findDriveById(c, id);
        if (d == nullptr)
            return;
        d->configFlags &= static_cast<uint8_t>(~CONFIG_FLAG_FOREIGN);
        if (!imported)
            return;
        d->state = state;
        d->configFlags |= flags;
        if (!f.lockKey.empty())
            d->security &= static_cast<uint8_t>(~SECURITY_LOCKED_FOREIGN);
    };
    for (const Array& a : f.arrays)
        for (uint16_t id : a.drives)
            release(id, f.memberState, 0);
    for (const Spare& s : f.spares)
        release(s.deviceId, PD_STATE_HOT_SPARE, CONFIG_FLAG_SPARE);
}

// Takes the configurations out of the controller's foreign list (the indexes ascending).
void forget(Controller& c, const std::vector<size_t>& which)
{
    for (size_t k = which.size(); k > 0; --k)
        c.foreignConfigs.erase(c.foreignConfigs.begin() + static_cast<std::ptrdiff_t>(which[k - 1]));
}

// DCMD_CFG_FOREIGN_IMPORT (mailbox byte 0 the index, 255 all): merged into the configuration,
// all or nothing; 0x1A when the logical drives would exceed the controller's maximum.
uint8_t foreignImport(SimState& state, Controller& c, SimCommand& cmd)
{
    std::vector<size_t> which;
    if (!selected(c, cmd, &which))
        return FW_STATUS_INVALID_ARGUMENT;
    const std::vector<ForeignConfig> merged = asImported(c, which);
    size_t lds = c.lds.size();
    for (const ForeignConfig& f : merged)
        lds += f.lds.size();
    if (lds > c.info.maxVirtualDrives)
        return FW_STATUS_MAX_LDS;
    for (const ForeignConfig& f : merged) {
        c.arrays.insert(c.arrays.end(), f.arrays.begin(), f.arrays.end());
        c.lds.insert(c.lds.end(), f.lds.begin(), f.lds.end());
        c.spares.insert(c.spares.end(), f.spares.begin(), f.spares.end());
        releaseDrives(c, f, true);
    }
    forget(c, which);
    markStateChanged(state);
    return FW_STATUS_OK;
}

// DCMD_CFG_FOREIGN_CLEAR (mailbox byte 0 the index; there is no "all"): forgotten, the later
// ones move down one index.
uint8_t foreignClear(SimState& state, Controller& c, SimCommand& cmd)
{
    std::vector<size_t> which;
    if ((cmd.mailbox[0] & 0xFF) == ALL_CONFIGS || !selected(c, cmd, &which))
        return FW_STATUS_INVALID_ARGUMENT;
    releaseDrives(c, c.foreignConfigs[which[0]], false);
    forget(c, which);
    markStateChanged(state);
    return FW_STATUS_OK;
}

const FwRegistration registration({
    fwRead(OP_FOREIGN_SCAN, SCAN_SIZE, foreignScan),
    fwRead(OP_FOREIGN_GET_CONFIG, CFG_DEFAULT_READ, foreignGetConfig),
    fwRead(OP_FOREIGN_PREVIEW, CFG_DEFAULT_READ, foreignPreview),
    fwNoData(OP_FOREIGN_IMPORT, foreignImport),
    fwNoData(OP_FOREIGN_CLEAR, foreignClear),
});

} // namespace

uint8_t foreignFlag(const Controller& c, uint16_t deviceId)
{
    for (const ForeignConfig& f : c.foreignConfigs) {
        for (const Array& a : f.arrays)
            if (std::find(a.drives.begin(), a.drives.end(), deviceId) != a.drives.end())
                return CONFIG_FLAG_FOREIGN;
        for (const Spare& s : f.spares)
            if (s.deviceId == deviceId)
                return CONFIG_FLAG_FOREIGN;
    }
    return 0;
}

} // namespace sim
