// The advanced event-capture dump, read with DCMD_ADP_AEC_DUMP into the caller's buffer.
#ifndef ZPREVENTCAPTUREDATA_H
#define ZPREVENTCAPTUREDATA_H

#include <cstddef>
#include <cstdint>

class ZprEventCaptureData {
public:
    static constexpr size_t SIZE = 0x8000;
    // The segment number travels in one mailbox byte: no more segments can be told apart.
    static constexpr uint32_t MAX_SEGMENTS = 256;
};

#endif
