#include "PavUtil/LeView.h"

#include <cstring>

uint64_t LeView::load(size_t offset, size_t width) const
{
    if (!contains(offset, width)) {
        missed = true;
        return 0;
    }
    uint64_t value = 0;
    for (size_t i = 0; i < width; ++i) {
        value |= static_cast<uint64_t>(readable[offset + i]) << (8 * i);
    }
    return value;
}

bool LeView::store(size_t offset, uint64_t value, size_t width)
{
    if (writable == nullptr || !contains(offset, width)) {
        return false;
    }
    for (size_t i = 0; i < width; ++i) {
        writable[offset + i] = static_cast<uint8_t>(value >> (8 * i));
    }
    return true;
}

bool LeView::readBytes(size_t offset, void* out, size_t count) const
{
    if (out == nullptr) {
        return false;
    }
    if (!contains(offset, count)) {
        missed = true;
        memset(out, 0, count);
        return false;
    }
    if (count != 0) {
        memcpy(out, readable + offset, count);
    }
    return true;
}

bool LeView::writeBytes(size_t offset, const void* in, size_t count)
{
    if (writable == nullptr || in == nullptr || !contains(offset, count)) {
        return false;
    }
    if (count != 0) {
        memmove(writable + offset, in, count);
    }
    return true;
}

bool LeView::fill(size_t offset, uint8_t value, size_t count)
{
    if (writable == nullptr || !contains(offset, count)) {
        return false;
    }
    if (count != 0) {
        memset(writable + offset, value, count);
    }
    return true;
}

size_t LeView::readText(size_t offset, size_t width, char* out, size_t outSize) const
{
    if (out == nullptr || outSize == 0) {
        return 0;
    }
    out[0] = '\0';
    if (!contains(offset, width)) {
        missed = true;
        return 0;
    }
    size_t n = 0;
    while (n < width && n + 1 < outSize && readable[offset + n] != 0) {
        out[n] = static_cast<char>(readable[offset + n]);
        ++n;
    }
    out[n] = '\0';
    return n;
}

bool LeView::writeText(size_t offset, size_t width, const char* text)
{
    if (writable == nullptr || text == nullptr || !contains(offset, width)) {
        return false;
    }
    size_t n = 0;
    while (n < width && text[n] != '\0') {
        writable[offset + n] = static_cast<uint8_t>(text[n]);
        ++n;
    }
    if (n < width) {
        memset(writable + offset + n, 0, width - n);
    }
    return true;
}

LeView LeView::sub(size_t offset, size_t count) const
{
    if (!contains(offset, count)) {
        missed = true;
        return LeView();
    }
    LeView part(readable + offset, count);
    if (writable != nullptr) {
        part.writable = writable + offset;
    }
    return part;
}

size_t LeView::room(size_t offset, size_t entrySize, size_t maxEntries) const
{
    if (entrySize == 0 || offset > length) {
        return 0;
    }
    size_t fits = (length - offset) / entrySize;
    return fits < maxEntries ? fits : maxEntries;
}
