#include "CpMgmt/CmdPro/Display/HostTexts.h"

#include <cstring>

#include "PavUtil/FileIO.h"

const char* const PROC_VERSION_PATH = "/proc/version";
const char* const DRIVER_VERSION_PATH = "/sys/bus/pci/drivers/quillraid_sas/version";
const char* const DRIVER_NAME = "quillraid_sas";

bool readHostText(const char* path, char* text, size_t size, size_t limit)
{
    if (size == 0)
        return false;
    std::memset(text, 0, size);
    FileIO* io = FileIO::instance();
    FileHandle* file = io != nullptr ? io->open(path, "r") : nullptr;
    if (file == nullptr)
        return false;
    io->read(text, 1, static_cast<unsigned>(limit < size ? limit : size - 1), file);
    io->close(file);
    return true;
}

bool readDriverVersionLine(char* line, size_t size)
{
    if (size == 0)
        return false;
    std::memset(line, 0, size);
    FileIO* io = FileIO::instance();
    FileHandle* file = io != nullptr ? io->open(DRIVER_VERSION_PATH, "r") : nullptr;
    if (file == nullptr)
        return false;
    const size_t room = size - 1 < DRIVER_LINE_READ ? size - 1 : DRIVER_LINE_READ;
    char* got = io->gets(line, static_cast<int>(room + 1), file);
    io->close(file);
    if (got == nullptr) {
        line[0] = '\0';
        return false;
    }
    const size_t length = std::strlen(line);
    if (length > 0 && line[length - 1] == '\n')
        line[length - 1] = '\0';
    return true;
}
