#include "CpMgmt/CmdPro/Files/DriveFirmwareImage.h"

#include <cstring>

#include "CpMgmt/CmdPro/Files/FlashImageReader.h"

namespace DriveFirmwareImage {

namespace {

struct FileType {
    const char* lower;
    const char* upper;
    uint8_t code;
};

const FileType FILE_TYPES[] = {
    {".dfw", ".DFW", 0x01},
    {".dab", ".DAB", 0xEF},
    {".dao", ".DAO", 0x03},
    {".dpk", ".DPK", 0x0A},
};

const size_t EXTENSION_LENGTH = 4;
const uint32_t SECTOR = 512;
const uint32_t MAX_SATA_SECTORS = 0xFFFF;        // 16 bits of the ATA command
const uint32_t MAX_WRITE_BUFFER_LENGTH = 0xFFFFFF;   // 24 bits of the WRITE BUFFER command
const uint32_t MAX_PREPARE_COUNT = 0xFF;         // 8 bits of the prepare block
const uint64_t MAX_IMAGE_SIZE = 0x7FFFFFFF;      // a 32-bit signed size

uint32_t pieceCount(uint32_t size)
{
    return size / PIECE_SIZE + (size % PIECE_SIZE != 0 ? 1 : 0);
}

}  // namespace

bool fileTypeCode(const char* fileName, uint8_t* code)
{
    if (fileName == nullptr)
        return false;
    const char* dot = strchr(fileName, '.');
    const char* extension = dot != nullptr ? dot : fileName;
    // Only the name's own characters: a shorter rest never matches.
    if (strnlen(extension, EXTENSION_LENGTH + 1) != EXTENSION_LENGTH)
        return false;
    for (const FileType& type : FILE_TYPES) {
        if (strcmp(extension, type.lower) == 0 || strcmp(extension, type.upper) == 0) {
            *code = type.code;
            return true;
        }
    }
    return false;
}

const char* refusal(uint64_t size, unsigned int mode, bool forceActivate, bool sata)
{
    if (size == 0)
        return "the file is empty";
    if (size > MAX_IMAGE_SIZE)
        return "it is larger than 2 GiB";
    const uint32_t bytes = static_cast<uint32_t>(size);
    if (sata && bytes % SECTOR != 0)
        return "a SATA device takes whole 512-byte sectors";
    if (mode == MODE_WHOLE_IMAGE) {
        if (bytes > MAX_WRITE_BUFFER_LENGTH)
            return "it is too large to be sent in one command";
        if (sata && bytes / SECTOR > MAX_SATA_SECTORS)
            return "it is too large to be sent in one command";
        return nullptr;
    }
    if (pieceCount(bytes) + (forceActivate ? 1 : 0) > MAX_PREPARE_COUNT)
        return "it takes more than 255 transfers";
    return nullptr;
}

Plan plan(uint32_t size, unsigned int mode, bool forceActivate)
{
    Plan p;
    p.size = size;
    p.transfers = mode == MODE_WHOLE_IMAGE ? 1 : pieceCount(size) + (forceActivate ? 1 : 0);
    return p;
}

uint32_t readPiece(ImageSource& source, uint32_t size, uint32_t offset, uint8_t* out)
{
    if (offset >= size)
        return 0;
    const uint32_t length = size - offset < PIECE_SIZE ? size - offset : PIECE_SIZE;
    memset(out, 0, PIECE_SIZE);
    return source.readAt(offset, out, length) == length ? length : 0;
}

}  // namespace DriveFirmwareImage
