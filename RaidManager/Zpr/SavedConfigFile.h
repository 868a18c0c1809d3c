// The saved-configuration file on disk (layout in SavedConfigHeader.h): written whole or not at
// all, and read back only when every part of it holds together.
//
// A file travels between machines and may be damaged or made by hand, so the reader checks
// more than the header's own fields: the configuration buffer must fill the file exactly
// between the header and the properties record, and its inner structure (record sizes, the
// total size, counts) must hold, before any of it is handed on to be sent to a controller.
#ifndef SAVEDCONFIGFILE_H
#define SAVEDCONFIGFILE_H

#include <cstdint>

#include "RaidManager/Zpr/Records/Config/ZprConfigBuffer.h"
#include "RaidManager/Zpr/Records/Controller/ZprControllerProperties.h"

class FileHandle;
class FileIO;

class SavedConfigFile {
public:
    // The largest configuration buffer a header's 16-bit counts can describe: a larger size is
    // refused before anything is allocated for it.
    static const uint64_t MAX_CONFIG_SIZE;

    SavedConfigFile();
    ~SavedConfigFile();
    SavedConfigFile(const SavedConfigFile&) = delete;
    SavedConfigFile& operator=(const SavedConfigFile&) = delete;

    // Reads the file "rb" and checks it, in this order: the length field against the file's
    // length, the signature (the version text is not compared), a buffer size of at least a
    // configuration header that fills the file between header and properties, the checksum,
    // then the buffer's structure (holds). 0, or -1 with nothing kept.
    [[nodiscard]] int read(const char* fileName);

    // The buffer read (writable: the restore fits it to the drives present), its size, and
    // the properties record (ZprControllerProperties::SIZE bytes).
    ZprConfigBuffer config() { return ZprConfigBuffer(buffer, size); }
    uint32_t configSize() const { return size; }
    uint8_t* properties() { return props; }

    // Writes the file: a header made for the buffer, the buffer, the properties record. The
    // bytes go to a temporary file beside the target ("<name>.tmp"), which replaces the target
    // only when every write and the close succeeded, and is removed otherwise: a failed save
    // leaves an earlier file of that name as it was. The buffer's first total-size bytes are
    // written; -1 when that field is not exactly what the buffer's records take or they are not
    // all at hand (nothing is written then), or when a file step fails.
    [[nodiscard]] static int write(const char* fileName, const ZprConfigBuffer& config, const uint8_t* properties);

    // True when `size` bytes of buffer can be walked and sent back as a configuration: the
    // layout checks out with a total size of exactly `size`, and no array, logical-drive or
    // spare record counts more drives, spans or array references than it has room for.
    static bool holds(const ZprConfigBuffer& config, uint32_t size);

private:
    [[nodiscard]] int readFrom(FileIO* io, FileHandle* file);
    void release();

    uint8_t* buffer;   // owned, `size` bytes; null until a read succeeded
    uint32_t size;
    uint8_t props[ZprControllerProperties::SIZE];
};

#endif
