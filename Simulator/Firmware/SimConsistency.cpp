#include "Simulator/Firmware/SimConsistency.h"

#include <algorithm>
#include <vector>

namespace sim {

const Drive* driveOf(const Controller& c, uint16_t deviceId)
{
    for (const Drive& d : c.drives)
        if (d.deviceId == deviceId)
            return &d;
    return nullptr;
}

const Array* arrayOf(const Controller& c, uint16_t ref)
{
    for (const Array& a : c.arrays)
        if (a.ref == ref)
            return &a;
    return nullptr;
}

namespace {

// An array row whose drive was marked missing.
const uint16_t MISSING_ROW = 0xFFFF;

std::string checkArrays(const Controller& c)
{
    for (size_t i = 0; i < c.arrays.size(); ++i) {
        const Array& a = c.arrays[i];
        for (uint16_t id : a.drives) {
            if (id == MISSING_ROW)
                continue;
            if (driveOf(c, id) == nullptr)
                return "array " + std::to_string(a.ref) + ": member " + std::to_string(id) + " is not a drive";
            for (size_t j = 0; j < i; ++j) {
                const std::vector<uint16_t>& other = c.arrays[j].drives;
                if (std::find(other.begin(), other.end(), id) != other.end())
                    return "drive " + std::to_string(id) + " is in arrays " + std::to_string(c.arrays[j].ref) +
                           " and " + std::to_string(a.ref);
            }
        }
    }
    return "";
}

struct Extent {
    uint64_t start;
    uint64_t end;
    uint8_t targetId;
};

} // namespace

uint64_t arraySizeOf(const Controller& c, const Array& a)
{
    if (a.sizeBlocks)
        return *a.sizeBlocks;
    uint64_t smallest = 0;
    for (uint16_t id : a.drives) {
        if (id == MISSING_ROW)
            continue;
        const Drive* d = driveOf(c, id);
        uint64_t blocks = d ? d->coercedBlocks : 0;
        smallest = (smallest == 0 || blocks < smallest) ? blocks : smallest;
    }
    return smallest;
}

uint64_t ldSize(const LogicalDrive& ld)
{
    uint64_t total = 0;
    const uint64_t n = ld.drivesPerSpan;
    for (const Span& s : ld.spans) {
        const uint64_t b = s.blockCount.value_or(0);
        switch (ld.raidLevel) {
        case 1:
        case 17:
            total += n * b / 2;
            break;
        case 5:
            total += n > 1 ? (n - 1) * b : 0;
            break;
        case 6:
            total += n > 2 ? (n - 2) * b : 0;
            break;
        default:
            total += n * b;
            break;
        }
    }
    return total;
}

std::string checkConfiguration(const Controller& c)
{
    std::string arrays = checkArrays(c);
    if (!arrays.empty())
        return arrays;
    std::vector<std::vector<Extent>> extents(c.arrays.size());
    for (const LogicalDrive& ld : c.lds) {
        const std::string name = "logical drive " + std::to_string(ld.targetId);
        for (size_t s = 0; s < ld.spans.size(); ++s) {
            const Span& span = ld.spans[s];
            const Array* a = arrayOf(c, span.array);
            if (a == nullptr)
                return name + ": span " + std::to_string(s) + " on missing array " + std::to_string(span.array);
            const uint64_t size = arraySizeOf(c, *a);
            const uint64_t count = span.blockCount ? *span.blockCount : size;
            if (span.startBlock > size || count > size - span.startBlock)
                return name + ": span " + std::to_string(s) + " beyond the size of array " + std::to_string(a->ref);
            std::vector<Extent>& on = extents[static_cast<size_t>(a - c.arrays.data())];
            for (const Extent& e : on)
                if (span.startBlock < e.end && e.start < span.startBlock + count)
                    return name + ": span " + std::to_string(s) + " overlaps logical drive " +
                           std::to_string(e.targetId) + " on array " + std::to_string(a->ref);
            on.push_back({span.startBlock, span.startBlock + count, ld.targetId});
        }
    }
    for (const Spare& spare : c.spares) {
        if (driveOf(c, spare.deviceId) == nullptr)
            return "spare " + std::to_string(spare.deviceId) + " is not a drive";
    }
    return "";
}

uint8_t inUseFlags(const Controller& c, uint16_t deviceId)
{
    uint8_t flags = 0;
    for (const Spare& s : c.spares)
        if (s.deviceId == deviceId)
            flags |= 0x02;
    for (const Array& a : c.arrays)
        if (std::find(a.drives.begin(), a.drives.end(), deviceId) != a.drives.end())
            flags |= 0x04;
    return flags;
}

} // namespace sim
