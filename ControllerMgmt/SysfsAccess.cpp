#include "ControllerMgmt/SysfsAccess.h"

#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>

#include "System/OsBoundary.h"

namespace {

const char DEFAULT_SYSFS_ROOT[] = "/sys";
// Room for the name of a block device.
const size_t BLOCK_NAME_SIZE = 64;

// Copies text into out (size bytes); false, with out untouched, when it does not fit.
bool copyBounded(char* out, size_t size, const char* text)
{
    size_t length = strlen(text);
    if (length >= size) {
        return false;
    }
    memcpy(out, text, length + 1);
    return true;
}

int lookupDirectory(char* buffer, const char* kind, const char* name)
{
    if (buffer == nullptr || name == nullptr) {
        return -1;
    }
    char root[SYSFS_PATH_SIZE];
    if (cli_get_sysfs_root(root, sizeof root) != 0) {
        return -1;
    }
    if (!sysfsFormatPath(buffer, SYSFS_PATH_SIZE, "%s/%s/%s", root, kind, name)) {
        return -1;
    }
    if (cli_is_path_dir(buffer) == 0 || cli_is_path_link(buffer) == 0) {
        return 0;
    }
    return -1;
}

} // namespace

bool sysfsFormatPath(char* buffer, size_t size, const char* format, ...)
{
    if (buffer == nullptr || size == 0) {
        return false;
    }
    va_list args;
    va_start(args, format);
    int length = vsnprintf(buffer, size, format, args);
    va_end(args);
    if (length < 0 || static_cast<size_t>(length) >= size) {
        buffer[0] = '\0';
        return false;
    }
    return true;
}

int cli_is_path_dir(const char* path)
{
    struct stat st;
    if (path == nullptr || osBoundary().lstat(path, &st) != 0) {
        return 1;
    }
    return S_ISDIR(st.st_mode) ? 0 : 1;
}

int cli_is_path_file(const char* path)
{
    if (path == nullptr) {
        return 1;
    }
    struct stat st;
    if (osBoundary().lstat(path, &st) != 0) {
        printf("cli_is_path_file: stat on %s failed\n", path);
        return 1;
    }
    return S_ISREG(st.st_mode) ? 0 : 1;
}

int cli_is_path_link(const char* path)
{
    struct stat st;
    if (path == nullptr || osBoundary().lstat(path, &st) != 0) {
        return 1;
    }
    return S_ISLNK(st.st_mode) ? 0 : 1;
}

int cli_get_sysfs_root(char* buffer, size_t size)
{
    if (buffer == nullptr || size == 0) {
        return -1;
    }
    memset(buffer, 0, size);
    const char* value = getenv("SYSFS_PATH");
    if (value == nullptr) {
        value = DEFAULT_SYSFS_ROOT;
    }
    size_t length = strlen(value);
    while (length > 0 && value[length - 1] == '/') {
        --length;
    }
    if (length >= size) {
        return -1;
    }
    memcpy(buffer, value, length);
    return 0;
}

int cli_get_class_path(char* buffer, const char* className)
{
    return lookupDirectory(buffer, "class", className);
}

int cli_get_bus_path(char* buffer, const char* busName)
{
    return lookupDirectory(buffer, "bus", busName);
}

int cli_get_path_name(const char* path, char* out, size_t size)
{
    if (path == nullptr || out == nullptr || size == 0) {
        return -1;
    }
    char work[SYSFS_PATH_SIZE];
    if (!copyBounded(work, sizeof work, path)) {
        return -1;
    }
    char* slash = strrchr(work, '/');
    if (slash == nullptr) {
        return -1;
    }
    if (slash[1] == '\0') {
        *slash = '\0';
        slash = strrchr(work, '/');
        if (slash == nullptr) {
            return -1;
        }
    }
    return copyBounded(out, size, slash + 1) ? 0 : -1;
}

int cli_resolve_link(const char* link, char* out, size_t size)
{
    if (link == nullptr || out == nullptr || size == 0) {
        return -1;
    }
    char work[SYSFS_PATH_SIZE];
    if (!copyBounded(work, sizeof work, link)) {
        return -1;
    }
    char target[SYSFS_PATH_SIZE];
    memset(target, 0, sizeof target);
    // One byte stays free, so the link text is always terminated.
    ssize_t read = osBoundary().readlink(link, target, sizeof target - 1);
    if (read < 0) {
        return -1;
    }
    if (target[0] != '.') {
        return 0;
    }
    // The leading run of "../" climbs one directory per '/'.
    size_t run = 0;
    int climbs = 0;
    while (target[run] == '.' || target[run] == '/') {
        if (target[run] == '/') {
            ++climbs;
        }
        ++run;
    }
    const char* remainder = target + run - 1;
    // Cut the link's own name and one directory per climb.
    int slashes = 0;
    int cut = -1;
    for (int i = static_cast<int>(strlen(work)) - 1; i >= 0; --i) {
        if (work[i] == '/') {
            ++slashes;
            if (slashes == climbs + 1) {
                cut = i;
                break;
            }
        }
    }
    if (cut < 0) {
        return -1;
    }
    work[cut] = '\0';
    size_t used = strlen(work);
    if (used + strlen(remainder) >= sizeof work) {
        return -1;
    }
    strcat(work, remainder);
    return copyBounded(out, size, work) ? 0 : -1;
}

int cli_find_block_node(const char* deviceDir, char* node, const char* linkName)
{
    if (deviceDir == nullptr || node == nullptr || linkName == nullptr) {
        return -1;
    }
    if (cli_is_path_dir(deviceDir) != 0 && cli_is_path_link(deviceDir) != 0) {
        return -1;
    }
    char linkPath[SYSFS_PATH_SIZE];
    if (!sysfsFormatPath(linkPath, sizeof linkPath, "%s/%s", deviceDir, linkName)) {
        return 1;
    }
    if (cli_is_path_dir(linkPath) == 0 || cli_is_path_link(linkPath) != 0) {
        return 1;
    }
    char resolved[SYSFS_PATH_SIZE];
    memset(resolved, 0, sizeof resolved);
    if (cli_resolve_link(linkPath, resolved, sizeof resolved) != 0) {
        return 1;
    }
    char blockName[BLOCK_NAME_SIZE];
    memset(blockName, 0, sizeof blockName);
    if (cli_get_path_name(resolved, blockName, sizeof blockName) != 0) {
        return 1;
    }
    if (!sysfsFormatPath(node, SYSFS_PATH_SIZE, "/dev/%s", blockName)) {
        return 1;
    }
    FILE* device = osBoundary().fopen(node, "r");
    if (device == nullptr) {
        return 1;
    }
    fclose(device);
    return 0;
}

int cli_read_attribute(const char* path, char* buffer, size_t length)
{
    if (path == nullptr || buffer == nullptr) {
        return -1;
    }
    int fd = osBoundary().open(path, O_RDONLY);
    if (fd < 0) {
        printf("cli_read_attribute: open %s failed\n", path);
        return -1;
    }
    ssize_t count = osBoundary().read(fd, buffer, length);
    osBoundary().close(fd);
    if (count < 0) {
        printf("cli_read_attribute: read from %s failed\n", path);
        return -1;
    }
    return static_cast<int>(count);
}

int cli_write_attribute(const char* path, const char* data, size_t length)
{
    if (path == nullptr || data == nullptr) {
        return -1;
    }
    int fd = osBoundary().open(path, O_WRONLY);
    if (fd < 0) {
        printf("cli_write_attribute: open %s failed\n", path);
        return -1;
    }
    ssize_t count = osBoundary().write(fd, data, length);
    osBoundary().close(fd);
    if (count < 0 || static_cast<size_t>(count) < length) {
        printf("cli_write_attribute: write to %s failed\n", path);
        return -1;
    }
    return static_cast<int>(length);
}
