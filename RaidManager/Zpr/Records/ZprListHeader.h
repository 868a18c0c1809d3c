// The 8-byte head that the drive list, the target-id list and the device list share: the
// block's size in bytes, then its entry count. The list records derive from it.
#ifndef ZPRLISTHEADER_H
#define ZPRLISTHEADER_H

#include <cstddef>
#include <cstdint>

#include "PavUtil/LeView.h"

class ZprListHeader {
public:
    static constexpr size_t SIZE = 0;    // 32-bit size of the block in bytes
    static constexpr size_t COUNT = 4;   // 32-bit number of entries

    // An absent list: an empty view.
    ZprListHeader() {}
    explicit ZprListHeader(const LeView& bytes) : bytes(bytes) {}

    uint32_t size() const { return bytes.u32(SIZE); }
    // The count as the firmware reports it: not a loop bound.
    uint32_t count() const { return bytes.u32(COUNT); }

    bool isPresent() const { return bytes.size() != 0; }
    const LeView& view() const { return bytes; }

protected:
    LeView bytes;
};

#endif
