// The reader of controller firmware image files: the size rule, the search for component
// headers and the texts inside a header (the component's version, the PACKAGE key), and the
// comparison of version texts. It only reads; what the headers mean for a controller is the
// flash command's business.
//
// The reader reads through an ImageSource, so the same code serves an open file and a byte
// buffer in memory.
#ifndef FLASHIMAGEREADER_H
#define FLASHIMAGEREADER_H

#include <cstddef>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

class FileHandle;

// Random-access reading of an image: the bytes read (fewer at the end, 0 on failure).
class ImageSource {
public:
    virtual size_t readAt(uint64_t offset, void* out, size_t count) = 0;
    virtual ~ImageSource() {}
};

// An image file opened through FileIO (the caller keeps and closes the handle).
class FileImageSource : public ImageSource {
public:
    explicit FileImageSource(FileHandle* handle) : handle(handle) {}
    size_t readAt(uint64_t offset, void* out, size_t count) override;

private:
    FileHandle* handle;
};

// An image held in memory (the caller keeps the bytes).
class BufferImageSource : public ImageSource {
public:
    BufferImageSource(const uint8_t* data, size_t size) : data(data), size(size) {}
    size_t readAt(uint64_t offset, void* out, size_t count) override;

private:
    const uint8_t* data;
    size_t size;
};

// One component header: a copy of its bytes.
class FlashImageHeader {
public:
    explicit FlashImageHeader(std::vector<uint8_t> bytes) : bytes(std::move(bytes)) {}

    uint32_t signature() const;
    uint32_t componentLength() const;
    // The tag ("APP ", "BIOS", "KPRB", ...).
    std::string componentTag() const;
    // The version text; empty unless it starts inside the header and ends with a NUL there.
    std::string versionText() const;
    // The value of the PACKAGE key; false when the header has no key=value area, no such key,
    // or when the text would reach past the header.
    bool packageVersion(std::string& value) const;

private:
    std::vector<uint8_t> bytes;
};

class FlashImageReader {
public:
    // Images of type 0 are whole 64 KiB blocks; type 1 has no size rule.
    static const uint8_t FW_TYPE_ANY_SIZE = 1;
    // The header list holds at most this many headers; the walk stops there.
    static const size_t MAX_HEADERS = 255;

    explicit FlashImageReader(uint8_t fwType = 0) : fwType(fwType) {}

    // The size rule: true unless the type has it and the size is not whole 64 KiB blocks.
    static bool sizeFits(uint64_t size, uint8_t fwType);

    // Fills the header list by walking the components from offset 0: 0 when at least one
    // header was found, 1 when the image is invalid (size rule, no header).
    int parseImageHeaders(ImageSource& source, uint32_t size);

    // The next header at or after `start`, searched block by block up to start + remaining;
    // false when there is none.
    static bool findImageHeader(ImageSource& source, uint32_t start, uint32_t remaining,
                                std::vector<uint8_t>& header);

    // Negative when a is older than b, 0 when equal, positive when newer: numbers separated by
    // any non-digit, each taken as a signed 16-bit value; at most 127 characters count.
    static int16_t compareVersionStrings(const char* a, const char* b);

    const std::vector<FlashImageHeader>& imageHeaders() const { return headers; }

private:
    uint8_t fwType;
    std::vector<FlashImageHeader> headers;
};

#endif
