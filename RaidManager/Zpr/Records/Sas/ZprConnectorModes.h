// The connector modes, read with DCMD_SAS_GET_MUX_MODE and written with DCMD_SAS_SET_MUX_MODE:
// a count of connectors (at most 4) and the mode of each; mode 0 cannot be set.
#ifndef ZPRCONNECTORMODES_H
#define ZPRCONNECTORMODES_H

#include <cstddef>
#include <cstdint>

#include "PavUtil/LeView.h"

class ZprConnectorModes {
public:
    static constexpr size_t SIZE = 5;

    static constexpr size_t COUNT = 0;
    static constexpr size_t MODES = 1;
    static constexpr size_t MAX_CONNECTORS = 4;

    explicit ZprConnectorModes(const LeView& bytes) : bytes(bytes) {}
    ZprConnectorModes(uint8_t* record, size_t size) : bytes(record, size) {}
    ZprConnectorModes(const uint8_t* record, size_t size) : bytes(record, size) {}

    uint8_t count() const { return bytes.u8(COUNT); }
    // The count clamped to the connectors the record has room for.
    uint8_t connectorCount() const { return static_cast<uint8_t>(clampCount(count(), MAX_CONNECTORS)); }
    // Connector i's mode; 0 for an index past the record's room.
    uint8_t mode(size_t index) const { return index < MAX_CONNECTORS ? bytes.u8(MODES + index) : 0; }
    bool setMode(size_t index, uint8_t mode) { return index < MAX_CONNECTORS && bytes.setU8(MODES + index, mode); }

    const LeView& view() const { return bytes; }

private:
    LeView bytes;
};

#endif
