// Texts the reports read from the host itself: the kernel's version text and the version file
// of the controller's kernel driver. Both are read through the program's file service, so
// they come from the same host as every other platform call.
#ifndef HOSTTEXTS_H
#define HOSTTEXTS_H

#include <cstddef>

// The kernel's version text and the driver's sysfs version file, as on a real host.
extern const char* const PROC_VERSION_PATH;
extern const char* const DRIVER_VERSION_PATH;
// The name of the controller's kernel driver.
extern const char* const DRIVER_NAME;
// The most a report reads of the kernel's version text and of the driver's version line.
const size_t KERNEL_TEXT_READ = 255;
const size_t DRIVER_LINE_READ = 254;

// At most `limit` bytes from the start of the file at `path` into `text` (room for `size`
// bytes; always NUL-terminated and zero-filled first); false when it cannot be opened.
bool readHostText(const char* path, char* text, size_t size, size_t limit);

// The first line of the driver's version file, at most DRIVER_LINE_READ characters, without
// its newline when it has one; false (an empty text) when the file cannot be opened or holds
// nothing.
bool readDriverVersionLine(char* line, size_t size);

#endif
