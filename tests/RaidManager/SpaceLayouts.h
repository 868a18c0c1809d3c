// Configurations laid out block by block for the array-space, planning and config-add tests:
// arrays of a given size and logical drives whose spans lie where the test puts them, on the
// first controller of a simulated host (drives 8, 9, ... in enclosure 252 as in ConfigLayouts.h).
#ifndef SPACELAYOUTS_H
#define SPACELAYOUTS_H

#include <cstdint>
#include <vector>

#include "RaidManager/Array.h"
#include "RaidManager/RaidManager.h"
#include "ConfigLayouts.h"

namespace space {

struct SpanAt {
    uint16_t array;
    uint64_t start;
    uint64_t blocks;
};

struct LdAt {
    uint8_t targetId;
    uint8_t raidLevel;      // as the record gives it (17 for a mirror of more than two drives)
    uint8_t drivesPerSpan;
    std::vector<SpanAt> spans;
};

struct ArrayAt {
    uint16_t ref;
    std::vector<uint16_t> drives;
    uint64_t sizeBlocks;    // 0: the smallest member's coerced size
};

// `drives` drives, the arrays and the logical drives; members online, the others unconfigured.
inline simhost::StateEdit layout(unsigned drives, const std::vector<ArrayAt>& arrays, const std::vector<LdAt>& lds)
{
    layouts::Layout base;
    base.drives = drives;
    for (const ArrayAt& a : arrays)
        base.arrays.push_back({a.ref, a.drives});
    return [base, arrays, lds](sim::HostModel& model) {
        layouts::describe(base)(model);
        sim::Controller& c = model.controllers.at(0);
        for (size_t i = 0; i < arrays.size(); ++i)
            if (arrays[i].sizeBlocks != 0)
                c.arrays[i].sizeBlocks = arrays[i].sizeBlocks;
        for (const LdAt& ld : lds) {
            sim::LogicalDrive l;
            l.targetId = ld.targetId;
            l.raidLevel = ld.raidLevel;
            l.raidQualifier = (ld.raidLevel == 5 || ld.raidLevel == 6) ? 3 : 0;
            l.drivesPerSpan = ld.drivesPerSpan;
            l.spanDepth = static_cast<uint8_t>(ld.spans.size());
            l.secondaryRaidLevel = ld.spans.size() > 1 ? 3 : 0;
            for (const SpanAt& s : ld.spans) {
                sim::Span span;
                span.array = s.array;
                span.startBlock = s.start;
                span.blockCount = s.blocks;
                l.spans.push_back(span);
            }
            c.lds.push_back(l);
        }
    };
}

// The array of the manager's configuration with the reference; null when there is none.
inline Array* arrayByRef(RaidManager* manager, uint16_t ref)
{
    ArrayList<Array*>* arrays = nullptr;
    if (manager == nullptr || manager->getArrays(&arrays) != 0)
        return nullptr;
    for (unsigned char i = 0; i < arrays->count(); ++i) {
        uint16_t r = 0;
        if (arrays->get(i)->getArrayRef(&r) == 0 && r == ref)
            return arrays->get(i);
    }
    return nullptr;
}

}  // namespace space

#endif
