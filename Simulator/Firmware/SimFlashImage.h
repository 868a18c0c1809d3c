// Controller firmware images for the simulated host: a builder for test fixtures (headers at
// chosen offsets, with chosen signature words, tags, lengths, version texts and key=value
// texts), and the simulated firmware's own reading of a downloaded image when it commits it.
#ifndef SIMFLASHIMAGE_H
#define SIMFLASHIMAGE_H

#include <cstdint>
#include <string>
#include <vector>

#include "Simulator/SimBytes.h"

namespace sim {

// Field offsets of an image's component header, written out here for the simulator's side.
const uint32_t IMAGE_HEADER_SIZE = 1084;
const uint32_t IMAGE_NO_KEYS = 0xFFFFFFFF;   // a key=value offset that gives no area

// One component header to write into an image.
struct ImageHeaderSpec {
    uint32_t at = 0;                 // where its first byte stands in the image
    uint32_t signature = 0;          // the first 4 bytes, little-endian
    std::string tag = "APP ";        // 4 characters at 16, a NUL at 20
    uint32_t length = 0x10000;       // componentLength
    std::string version;             // written at versionOffset with its NUL
    uint32_t versionOffset = 0x40;
    std::vector<std::string> keys;   // KEY=value texts, each with its NUL, then an empty text
    uint32_t keyValueOffset = 0x100; // IMAGE_NO_KEYS (or any value >= length): no area
    int64_t keyAreaLength = -1;      // the area's length field; -1: the texts' own length
};

// An image of `size` bytes of filler with the headers laid over it in order.
Bytes buildFlashImage(size_t size, const std::vector<ImageHeaderSpec>& headers);

// What a committed image changes on the controller: the version of the first "APP " component
// and the package version of its PACKAGE key (each empty when absent). Only the component's
// first block is searched, at the usual header offsets.
struct CommittedImage {
    std::string appVersion;
    std::string packageVersion;
};
CommittedImage readCommittedImage(const Bytes& image);

} // namespace sim

#endif
