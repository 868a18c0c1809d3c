#include "CpMgmt/CmdPro/Files/FlashImageReader.h"

#include <cstdlib>
#include <cstring>

#include "PavUtil/FileIO.h"
#include "PavUtil/ImageSignatureWords.h"
#include "RaidManager/Zpr/Records/Controller/ZprFlashHeader.h"

namespace {

const char PACKAGE_KEY[] = "PACKAGE=";
const size_t VERSION_WORK_AREA = 128;

// The NUL-terminated text at `offset` of the header, when it ends inside the header.
bool textAt(const std::vector<uint8_t>& bytes, uint64_t offset, std::string& text)
{
    if (offset >= bytes.size())
        return false;
    const uint8_t* start = bytes.data() + offset;
    const void* nul = std::memchr(start, 0, bytes.size() - offset);
    if (nul == nullptr)
        return false;
    text.assign(reinterpret_cast<const char*>(start), static_cast<const uint8_t*>(nul) - start);
    return true;
}

bool isDigit(char c) { return c >= '0' && c <= '9'; }

// The number at `text` as atol reads it, cut to a signed 16-bit value.
int16_t numberOf(const char* text)
{
    long value = std::strtol(text, nullptr, 10);
    return static_cast<int16_t>(static_cast<uint16_t>(static_cast<unsigned long>(value)));
}

} // namespace

size_t FileImageSource::readAt(uint64_t offset, void* out, size_t count)
{
    FileIO* io = FileIO::instance();
    if (offset > static_cast<uint64_t>(INT64_MAX) ||
        io->seek(handle, static_cast<long long>(offset), FILEIO_SEEK_BEGIN) != 0)
        return 0;
    return static_cast<size_t>(io->read(out, 1, static_cast<unsigned int>(count), handle));
}

size_t BufferImageSource::readAt(uint64_t offset, void* out, size_t count)
{
    if (data == nullptr || offset >= size)
        return 0;
    size_t n = static_cast<size_t>(size - offset) < count ? static_cast<size_t>(size - offset) : count;
    std::memcpy(out, data + offset, n);
    return n;
}

uint32_t FlashImageHeader::signature() const
{
    return ZprFlashHeader(bytes.data(), bytes.size()).signature();
}

uint32_t FlashImageHeader::componentLength() const
{
    return ZprFlashHeader(bytes.data(), bytes.size()).componentLength();
}

std::string FlashImageHeader::componentTag() const
{
    char tag[ZprFlashHeader::COMPONENT_TAG_WIDTH + 1] = {};
    ZprFlashHeader(bytes.data(), bytes.size()).componentTag(tag, sizeof tag);
    return tag;
}

std::string FlashImageHeader::versionText() const
{
    std::string text;
    if (!textAt(bytes, ZprFlashHeader(bytes.data(), bytes.size()).versionOffset(), text))
        text.clear();
    return text;
}

bool FlashImageHeader::packageVersion(std::string& value) const
{
    ZprFlashHeader header(bytes.data(), bytes.size());
    uint64_t area = header.keyValueOffset();
    if (area >= header.componentLength() || !header.view().contains(area, 4))
        return false;
    uint64_t end = area + ZprFlashHeader::KEY_VALUE_TEXTS + header.view().u32(area + ZprFlashHeader::KEY_VALUE_LENGTH);
    uint64_t position = area + ZprFlashHeader::KEY_VALUE_TEXTS;
    std::string text;
    while (position <= end && textAt(bytes, position, text) && !text.empty()) {
        if (text.compare(0, sizeof PACKAGE_KEY - 1, PACKAGE_KEY) == 0) {
            value = text.substr(sizeof PACKAGE_KEY - 1);
            return true;
        }
        position += text.size() + 1;
    }
    return false;
}

bool FlashImageReader::sizeFits(uint64_t size, uint8_t fwType)
{
    return fwType == FW_TYPE_ANY_SIZE || (size % ZprFlashHeader::BLOCK_SIZE) == 0;
}

bool FlashImageReader::findImageHeader(ImageSource& source, uint32_t start, uint32_t remaining,
                                       std::vector<uint8_t>& header)
{
    const uint64_t end = static_cast<uint64_t>(start) + remaining;
    for (uint64_t block = start; block < end; block += ZprFlashHeader::BLOCK_SIZE) {
        for (uint32_t offset : ZprFlashHeader::HEADER_OFFSETS) {
            uint8_t word[4] = {};
            if (source.readAt(block + offset, word, sizeof word) != sizeof word ||
                !isImageSignatureWord(LeView(word, sizeof word).u32(0)))
                continue;
            // The first offset whose word matches decides. A header cut short by the end of
            // the file keeps only the bytes read, and is none without its fixed fields.
            header.assign(ZprFlashHeader::SIZE, 0);
            header.resize(source.readAt(block + offset, header.data(), header.size()));
            if (header.size() >= ZprFlashHeader::FIXED_FIELDS)
                return true;
            break;
        }
    }
    header.clear();
    return false;
}

int FlashImageReader::parseImageHeaders(ImageSource& source, uint32_t size)
{
    if (!sizeFits(size, fwType))
        return 1;
    uint32_t position = 0;
    std::vector<uint8_t> bytes;
    while (position < size && headers.size() < MAX_HEADERS &&
           findImageHeader(source, position, size - position, bytes)) {
        headers.emplace_back(std::move(bytes));
        uint32_t length = headers.back().componentLength();
        // A component of no length, or one that reaches past the file, is the last one.
        if (length == 0 || length > size - position)
            break;
        position += length;
    }
    return headers.empty() ? 1 : 0;
}

int16_t FlashImageReader::compareVersionStrings(const char* a, const char* b)
{
    char wa[VERSION_WORK_AREA] = {};
    char wb[VERSION_WORK_AREA] = {};
    std::strncpy(wa, a != nullptr ? a : "", VERSION_WORK_AREA - 1);
    std::strncpy(wb, b != nullptr ? b : "", VERSION_WORK_AREA - 1);
    size_t i = 0, j = 0, numberA = 0, numberB = 0;
    int16_t result = 0;
    for (;;) {
        while (isDigit(wa[i]))
            ++i;
        while (isDigit(wb[j]))
            ++j;
        bool endA = wa[i] == '\0', endB = wb[j] == '\0';
        if (endA && !endB)
            result = -1;
        else if (!endA && endB)
            result = 1;
        wa[i] = '\0';
        wb[j] = '\0';
        int16_t difference = static_cast<int16_t>(static_cast<uint16_t>(numberOf(wa + numberA) - numberOf(wb + numberB)));
        if (difference != 0)
            return difference;
        if (endA || endB)
            return result;
        numberA = ++i;
        numberB = ++j;
    }
}
