// Controller configurations for the model tests, laid out by description on the first
// controller of a simulated host: drives 8, 9, ... in slots 0, 1, ... of enclosure 252, arrays
// of those drives, logical drives with spans on the arrays, spares.
#ifndef CONFIGLAYOUTS_H
#define CONFIGLAYOUTS_H

#include <cstdint>
#include <functional>
#include <utility>
#include <vector>

#include "PavUtil/IgnoreStatus.h"
#include "RaidManager/PhysicalDevice.h"
#include "RaidManager/RaidManager.h"
#include "RaidManager/Zpr/RmDataZpr.h"
#include "SimHostFixture.h"
#include "Simulator/SimModel.h"

namespace layouts {

const uint16_t ENCLOSURE = 252;
const uint16_t FIRST_DRIVE = 8;

struct Ld {
    uint8_t targetId;
    uint8_t raidLevel;
    std::vector<uint16_t> arrays;   // one span per array, of SPAN_BLOCKS after the spans before it
};

const uint64_t SPAN_BLOCKS = 0x100000;

struct SpareOf {
    uint16_t deviceId;
    std::vector<uint16_t> arrays;   // empty: global
};

struct Layout {
    unsigned drives = 0;
    std::vector<std::pair<uint16_t, std::vector<uint16_t>>> arrays;   // reference, member device ids
    std::vector<Ld> lds;
    std::vector<SpareOf> spares;
};

// Drive states follow the layout: members online, spares hot spare, the others unconfigured.
inline simhost::StateEdit describe(const Layout& layout)
{
    return [layout](sim::HostModel& model) {
        sim::Controller& c = model.controllers.at(0);
        c.drives.clear();
        c.arrays.clear();
        c.lds.clear();
        c.spares.clear();
        c.enclosures.clear();
        sim::Enclosure enclosure;
        enclosure.deviceId = ENCLOSURE;
        enclosure.slots = static_cast<uint8_t>(layout.drives < 8 ? 8 : layout.drives);
        c.enclosures.push_back(enclosure);
        for (unsigned i = 0; i < layout.drives; ++i) {
            sim::Drive d;
            d.deviceId = static_cast<uint16_t>(FIRST_DRIVE + i);
            d.enclosureId = ENCLOSURE;
            d.slot = static_cast<uint8_t>(i);
            c.drives.push_back(d);
        }
        auto setState = [&c](uint16_t id, uint8_t state) {
            for (sim::Drive& d : c.drives)
                if (d.deviceId == id)
                    d.state = state;
        };
        for (const auto& array : layout.arrays) {
            sim::Array a;
            a.ref = array.first;
            a.drives = array.second;
            for (uint16_t id : a.drives)
                setState(id, sim::PD_STATE_ONLINE);
            c.arrays.push_back(a);
        }
        std::vector<unsigned> spansOn(0x10000, 0);
        for (const Ld& ld : layout.lds) {
            sim::LogicalDrive l;
            l.targetId = ld.targetId;
            l.raidLevel = ld.raidLevel;
            l.spanDepth = static_cast<uint8_t>(ld.arrays.size());
            l.secondaryRaidLevel = ld.arrays.size() > 1 ? 3 : 0;
            for (uint16_t ref : ld.arrays) {
                sim::Span span;
                span.array = ref;
                span.startBlock = SPAN_BLOCKS * spansOn[ref]++;
                span.blockCount = SPAN_BLOCKS;
                l.spans.push_back(span);
            }
            c.lds.push_back(l);
        }
        for (const SpareOf& spare : layout.spares) {
            sim::Spare s;
            s.deviceId = spare.deviceId;
            s.dedicated = !spare.arrays.empty();
            s.arrays = spare.arrays;
            setState(spare.deviceId, 0x02);
            c.spares.push_back(s);
        }
    };
}

// A RAID 1 (target id 0, array 0 of drives 8 and 9) and a RAID 5 (target id 1, array 1 of
// drives 10, 11 and 12), drive 13 a hot spare dedicated to array 1, drive 14 a global hot
// spare, drive 15 unconfigured.
inline Layout raid1Raid5WithSpares()
{
    Layout l;
    l.drives = 8;
    l.arrays = {{0, {8, 9}}, {1, {10, 11, 12}}};
    l.lds = {{0, 1, {0}}, {1, 5, {1}}};
    l.spares = {{13, {1}}, {14, {}}};
    return l;
}

// A RAID 10 (target id 0) over two spans, on arrays 0 (drives 8, 9) and 1 (drives 10, 11).
inline Layout spannedRaid10()
{
    Layout l;
    l.drives = 4;
    l.arrays = {{0, {8, 9}}, {1, {10, 11}}};
    l.lds = {{0, 1, {0, 1}}};
    return l;
}

// Four unconfigured drives and nothing else.
inline Layout emptyConfiguration()
{
    Layout l;
    l.drives = 4;
    return l;
}

// A host of `preset` changed by `edit`, with the manager of its first controller (refreshed
// when asked) and that manager's RmData.
struct ModelHost {
    explicit ModelHost(const simhost::StateEdit& edit, bool refresh = true, const char* preset = "one")
        : host(preset, edit)
    {
        manager = controller != nullptr ? getRaidManager(controller) : nullptr;
        if (manager != nullptr && (!refresh || manager->refresh() == 0))
            rmData = dynamic_cast<RmDataZpr*>(manager->getRmData());
    }

    simhost::SimHostFixture host;
    simhost::SimControllers controllers;   // after the host: released while it is installed
    Controller* controller = controllers.controller(0);
    RaidManager* manager = nullptr;
    RmDataZpr* rmData = nullptr;
};

// The device ids of the drives of a list, in order (0xFFFF for one that cannot say).
inline std::vector<uint16_t> deviceIds(ArrayList<PhysicalDevice*>* pds)
{
    std::vector<uint16_t> out;
    for (unsigned char i = 0; pds != nullptr && i < pds->count(); ++i) {
        uint16_t id = 0xFFFF;
        ignoreStatus(pds->get(i)->getDeviceId(&id), "an unread id keeps 0xFFFF, which the expectations name");
        out.push_back(id);
    }
    return out;
}

// Changes drive `deviceId` of the first controller.
inline simhost::StateEdit drive(uint16_t deviceId, const std::function<void(sim::Drive&)>& change)
{
    return [deviceId, change](sim::HostModel& m) {
        for (sim::Drive& d : m.controllers.at(0).drives)
            if (d.deviceId == deviceId)
                change(d);
    };
}

} // namespace layouts

#endif
