#include "Simulator/Firmware/SimFlashImage.h"

#include "PavUtil/ImageSignatureWords.h"

namespace sim {

namespace {

const uint32_t HDR_TAG = 16;
const uint32_t HDR_LENGTH = 24;
const uint32_t HDR_VERSION_OFFSET = 28;
const uint32_t HDR_KEYS_OFFSET = 40;
const uint32_t HEADER_PLACES[] = {0x0000, 0x0020, 0x2020, 0xFF80};

// The NUL-ended text at `off`, looked for only up to `limit`; empty when it does not end there.
std::string textIn(const Bytes& b, size_t off, size_t limit)
{
    std::string s;
    for (size_t i = off; i < limit && i < b.size(); ++i) {
        if (b[i] == 0)
            return s;
        s.push_back(static_cast<char>(b[i]));
    }
    return std::string();
}

void writeKeys(Bytes& image, const ImageHeaderSpec& h)
{
    size_t area = static_cast<size_t>(h.at) + h.keyValueOffset;
    size_t pos = area + 4;
    for (const std::string& key : h.keys) {
        putText(image, pos, key.size() + 1, key);
        pos += key.size() + 1;
    }
    put8(image, pos, 0);
    uint64_t length = h.keyAreaLength >= 0 ? static_cast<uint64_t>(h.keyAreaLength) : pos - (area + 4);
    put32(image, area, length);
}

} // namespace

Bytes buildFlashImage(size_t size, const std::vector<ImageHeaderSpec>& headers)
{
    Bytes image(size, 0);
    for (size_t i = 0; i < size; ++i)
        image[i] = static_cast<uint8_t>(0xA5 ^ (i >> 8));
    for (const ImageHeaderSpec& h : headers) {
        for (uint32_t i = 0; i < IMAGE_HEADER_SIZE; ++i)
            put8(image, static_cast<size_t>(h.at) + i, 0);
        put32(image, h.at, h.signature);
        putText(image, static_cast<size_t>(h.at) + HDR_TAG, 5, h.tag);
        put32(image, static_cast<size_t>(h.at) + HDR_LENGTH, h.length);
        put32(image, static_cast<size_t>(h.at) + HDR_VERSION_OFFSET, h.versionOffset);
        putText(image, static_cast<size_t>(h.at) + h.versionOffset, h.version.size() + 1, h.version);
        put32(image, static_cast<size_t>(h.at) + HDR_KEYS_OFFSET, h.keyValueOffset);
        if (h.keyValueOffset != IMAGE_NO_KEYS)
            writeKeys(image, h);
    }
    return image;
}

CommittedImage readCommittedImage(const Bytes& image)
{
    CommittedImage result;
    uint64_t start = 0;
    for (int guard = 0; guard < 255 && start < image.size(); ++guard) {
        size_t hdr = SIZE_MAX;
        for (uint32_t place : HEADER_PLACES)
            if (start + place + 4 <= image.size() && isImageSignatureWord(get32(image, start + place))) {
                hdr = static_cast<size_t>(start + place);
                break;
            }
        if (hdr == SIZE_MAX)
            break;
        size_t limit = hdr + IMAGE_HEADER_SIZE;
        uint32_t length = get32(image, hdr + HDR_LENGTH);
        if (textIn(image, hdr + HDR_TAG, limit) == "APP ") {
            result.appVersion = textIn(image, hdr + get32(image, hdr + HDR_VERSION_OFFSET), limit);
            uint32_t keys = get32(image, hdr + HDR_KEYS_OFFSET);
            for (size_t pos = hdr + static_cast<size_t>(keys) + 4; keys < length && pos < limit;) {
                std::string kv = textIn(image, pos, limit);
                if (kv.empty())
                    break;
                if (kv.compare(0, 8, "PACKAGE=") == 0)
                    result.packageVersion = kv.substr(8);
                pos += kv.size() + 1;
            }
            return result;
        }
        if (length == 0)
            break;
        start += length;
    }
    return result;
}

} // namespace sim
