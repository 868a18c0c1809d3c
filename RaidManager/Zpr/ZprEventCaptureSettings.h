// The advanced event-capture settings, read with DCMD_ADP_AEC_GET_SETTINGS into the caller's
// block; the program hands the block on as it came.
#ifndef ZPREVENTCAPTURESETTINGS_H
#define ZPREVENTCAPTURESETTINGS_H

#include <cstddef>

class ZprEventCaptureSettings {
public:
    static constexpr size_t SIZE = 40;
};

#endif
