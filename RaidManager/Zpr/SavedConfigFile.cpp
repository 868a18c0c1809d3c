#include "RaidManager/Zpr/SavedConfigFile.h"

#include <cstring>

#include "PavUtil/FileIO.h"
#include "PavUtil/Memory.h"
#include "RaidManager/Zpr/SavedConfigHeader.h"

namespace {

const char TEMP_SUFFIX[] = ".tmp";
const uint16_t MAX_COUNT = 0xFFFF;

// Writes the three parts of the file as one item each: true when all were written.
bool writeParts(FileIO* io, FileHandle* file, const uint8_t* header, const ZprConfigBuffer& config, uint32_t size,
                const uint8_t* properties)
{
    return io->write(header, SavedConfigHeader::SIZE, 1, file) == 1 && io->write(config.view().data(), size, 1, file) == 1 &&
           io->write(properties, ZprControllerProperties::SIZE, 1, file) == 1;
}

}  // namespace

const uint64_t SavedConfigFile::MAX_CONFIG_SIZE = ZprConfigBuffer::sizeFor(MAX_COUNT, MAX_COUNT, MAX_COUNT);

SavedConfigFile::SavedConfigFile() : buffer(nullptr), size(0)
{
    memset(props, 0, sizeof props);
}

SavedConfigFile::~SavedConfigFile()
{
    release();
}

void SavedConfigFile::release()
{
    delete[] buffer;
    buffer = nullptr;
    size = 0;
}

int SavedConfigFile::read(const char* fileName)
{
    release();
    FileIO* io = FileIO::instance();
    FileHandle* file = fileName != nullptr && io != nullptr ? io->open(fileName, "rb") : nullptr;
    if (file == nullptr)
        return -1;
    const int status = readFrom(io, file);
    io->close(file);
    if (status != 0)
        release();
    return status;
}

int SavedConfigFile::readFrom(FileIO* io, FileHandle* file)
{
    if (io->seek(file, 0, FILEIO_SEEK_END) != 0)
        return -1;
    const long long length = io->tell(file);
    if (length < 0 || io->seek(file, 0, FILEIO_SEEK_BEGIN) != 0)
        return -1;
    uint8_t head[SavedConfigHeader::SIZE];
    if (io->read(head, sizeof head, 1, file) != 1)
        return -1;
    const SavedConfigHeader header(LeView(static_cast<const uint8_t*>(head), sizeof head));
    if (header.fileLength() != static_cast<unsigned long long>(length) || !header.hasSignature())
        return -1;
    // The buffer must fill the file exactly between the header and the properties: a size that
    // says otherwise would read the properties from the wrong place.
    const uint64_t bufferSize = header.configSize();
    if (bufferSize < ZprConfigHeader::SIZE || bufferSize > MAX_CONFIG_SIZE ||
        bufferSize + SavedConfigHeader::FRAME_SIZE != header.fileLength())
        return -1;
    buffer = new (noThrowNew) uint8_t[bufferSize];
    if (buffer == nullptr)
        return -1;
    size = static_cast<uint32_t>(bufferSize);
    if (io->read(buffer, size, 1, file) != 1)
        return -1;
    if (SavedConfigHeader::checksumOf(LeView(static_cast<const uint8_t*>(buffer), size), size) != header.checksum())
        return -1;
    if (io->read(props, sizeof props, 1, file) != 1)
        return -1;
    return holds(config(), size) ? 0 : -1;
}

bool SavedConfigFile::holds(const ZprConfigBuffer& config, uint32_t size)
{
    if (config.view().size() != size || config.checkLayout() != ZprConfigBuffer::LAYOUT_OK ||
        config.header().totalSize() != size)
        return false;
    // The layout puts every record inside the buffer; the counts inside the records must fit
    // their records too, or the controller would be sent entries the record has no room for.
    for (uint32_t a = 0; a < config.arrayCount(); ++a)
        if (config.arrayRecord(a).driveCount() > ZprArrayRecord::MAX_DRIVES)
            return false;
    for (uint32_t l = 0; l < config.ldCount(); ++l)
        if (config.ldRecord(l).spanCount() > ZprLdRecord::MAX_SPANS)
            return false;
    for (uint32_t s = 0; s < config.spareCount(); ++s)
        if (config.spareRecord(s).arrayRefCount() > ZprSpareRecord::MAX_ARRAY_REFS)
            return false;
    return true;
}

int SavedConfigFile::write(const char* fileName, const ZprConfigBuffer& config, const uint8_t* properties)
{
    FileIO* io = FileIO::instance();
    if (fileName == nullptr || properties == nullptr || io == nullptr)
        return -1;
    // Only a buffer whose size field is exactly what its records take, all of them at hand, is
    // saved: the file's length and the restore's checks rest on that field.
    const uint32_t size = config.header().totalSize();
    if (config.checkLayout() != ZprConfigBuffer::LAYOUT_OK || config.view().data() == nullptr)
        return -1;
    uint8_t head[SavedConfigHeader::SIZE];
    SavedConfigHeader header(LeView(head, sizeof head));
    if (!header.build(size, SavedConfigHeader::checksumOf(config.view(), size)))
        return -1;
    const size_t nameLength = strlen(fileName);
    char* tempName = new (noThrowNew) char[nameLength + sizeof TEMP_SUFFIX];
    if (tempName == nullptr)
        return -1;
    memcpy(tempName, fileName, nameLength);
    memcpy(tempName + nameLength, TEMP_SUFFIX, sizeof TEMP_SUFFIX);
    // A leftover of an earlier run goes first; the exclusive open then never follows a link
    // put in its place.
    io->remove(tempName);
    FileHandle* file = io->open(tempName, "wbx");
    bool saved = false;
    if (file != nullptr) {
        const bool written = writeParts(io, file, head, config, size, properties);
        const bool closed = io->close(file) == 0;
        saved = written && closed && io->rename(tempName, fileName) == 0;
        if (!saved)
            io->remove(tempName);
    }
    delete[] tempName;
    return saved ? 0 : -1;
}
