// The advanced event-capture dump, read with DCMD_ADP_AEC_DUMP into the caller's buffer.
#ifndef ZPREVENTCAPTUREDATA_H
#define ZPREVENTCAPTUREDATA_H

#include <cstddef>

class ZprEventCaptureData {
public:
    static constexpr size_t SIZE = 0x8000;
};

#endif
