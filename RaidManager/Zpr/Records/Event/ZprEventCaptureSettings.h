// The advanced event-capture settings, read with DCMD_ADP_AEC_GET_SETTINGS into the caller's
// block.
#ifndef ZPREVENTCAPTURESETTINGS_H
#define ZPREVENTCAPTURESETTINGS_H

#include <cstddef>
#include <cstdint>

#include "PavUtil/LeView.h"

class ZprEventCaptureSettings {
public:
    static constexpr size_t SIZE = 40;

    static constexpr size_t ENABLED = 0;             // not 0: the capture is enabled
    static constexpr size_t STARTED = 1;             // not 0: it runs
    static constexpr size_t MODE = 2;                // not 0 full, 0 continuous
    static constexpr size_t EVENTS_TO_CAPTURE = 4;   // 32-bit each
    static constexpr size_t EVENTS_CAPTURED = 8;
    static constexpr size_t SEGMENT_COUNT = 12;      // 32 KiB segments in the buffer
    static constexpr size_t HOST_FILTER_MASK = 16;
    static constexpr size_t FIRMWARE_FILTER_MASK = 20;

    ZprEventCaptureSettings(const uint8_t* record, size_t size) : bytes(record, size) {}

    bool enabled() const { return bytes.u8(ENABLED) != 0; }
    bool started() const { return bytes.u8(STARTED) != 0; }
    bool fullMode() const { return bytes.u8(MODE) != 0; }
    uint32_t eventsToCapture() const { return bytes.u32(EVENTS_TO_CAPTURE); }
    uint32_t eventsCaptured() const { return bytes.u32(EVENTS_CAPTURED); }
    uint32_t segmentCount() const { return bytes.u32(SEGMENT_COUNT); }
    uint32_t hostFilterMask() const { return bytes.u32(HOST_FILTER_MASK); }
    uint32_t firmwareFilterMask() const { return bytes.u32(FIRMWARE_FILTER_MASK); }

private:
    LeView bytes;
};

#endif
