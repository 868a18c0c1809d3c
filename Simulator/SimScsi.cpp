#include "Simulator/SimScsi.h"

#include <cstring>
#include <fcntl.h>

namespace sim {

bool SimScsi::isControlFile(const std::string& path)
{
    if (path == "/proc/scsi/scsi")
        return true;
    static const char CLASS_DIR[] = "/sys/class/scsi_host/host";
    static const char SCAN[] = "/scan";
    const size_t dirLength = sizeof CLASS_DIR - 1;
    const size_t scanLength = sizeof SCAN - 1;
    if (path.size() <= dirLength + scanLength || path.compare(0, dirLength, CLASS_DIR) != 0 ||
        path.compare(path.size() - scanLength, scanLength, SCAN) != 0)
        return false;
    // Only host<digits>/scan.
    for (size_t i = dirLength; i < path.size() - scanLength; ++i)
        if (path[i] < '0' || path[i] > '9')
            return false;
    return true;
}

int SimScsi::openFlags(const char* path, int flags)
{
    if (path && (flags & O_ACCMODE) != O_RDONLY && isControlFile(path))
        return flags | O_APPEND;
    return flags;
}

} // namespace sim
