// Small C-style routines that walk the kernel's sysfs tree: the sysfs root, file-type tests,
// relative links, the last component of a path, the class and bus directories, and attribute
// files. Paths are NUL-terminated texts in caller buffers of SYSFS_PATH_SIZE bytes; every path
// is built with a bound and a path that would not fit counts as a failure, never a cut path.
//
// The type tests answer 0 for yes and 1 for no; the lookups fail with -1. Only
// cli_is_path_file, cli_read_attribute and cli_write_attribute print (with printf, outside the
// message printer); the others fail silently. Every platform call goes through the OS boundary.
#ifndef SYSFSACCESS_H
#define SYSFSACCESS_H

#include <cstddef>

// Size of the path buffers the routines work on.
const size_t SYSFS_PATH_SIZE = 256;

// 0 when the path names a directory (a link is not followed), else 1.
int cli_is_path_dir(const char* path);
// 0 when the path names a regular file, else 1; an lstat failure also prints a line.
int cli_is_path_file(const char* path);
// 0 when the path names a symbolic link, else 1.
int cli_is_path_link(const char* path);

// The sysfs root: SYSFS_PATH without trailing '/', or "/sys" when it is not set. The buffer is
// zeroed first. -1 for a null buffer, size 0, or a root that does not fit.
int cli_get_sysfs_root(char* buffer, size_t size);
// root + "/class/" + name into a buffer of SYSFS_PATH_SIZE; 0 when that is a directory or a
// link, else -1.
int cli_get_class_path(char* buffer, const char* className);
// root + "/bus/" + name into a buffer of SYSFS_PATH_SIZE; 0 when that is a directory or a link,
// else -1.
int cli_get_bus_path(char* buffer, const char* busName);

// The last component of a path (a trailing '/' ignored); -1 when there is no '/' or the
// component does not fit.
int cli_get_path_name(const char* path, char* out, size_t size);
// The path that a relative link ("../../x") resolves to; an absolute link text answers 0 and
// leaves `out` unchanged. -1 when the link cannot be read, climbs above the root or the result
// does not fit.
int cli_resolve_link(const char* link, char* out, size_t size);
// The device node of a SCSI device's block device ("/dev/<name>" of the block link's target)
// into `node` (SYSFS_PATH_SIZE bytes): 0 when it opens for reading; -1 when the device
// directory is neither a directory nor a link; 1 otherwise.
int cli_find_block_node(const char* deviceDir, char* node, const char* linkName);

// Reads at most `length` bytes once; the number of bytes read, or -1 (with a printed line).
// Callers that treat the result as text pass one byte less than their zeroed buffer.
int cli_read_attribute(const char* path, char* buffer, size_t length);
// Writes `length` bytes once; `length`, or -1 (with a printed line) when the file cannot be
// opened or fewer bytes were written.
int cli_write_attribute(const char* path, const char* data, size_t length);

// Writes the formatted path into buffer; false when it does not fit (the buffer then holds an
// empty text).
bool sysfsFormatPath(char* buffer, size_t size, const char* format, ...)
    __attribute__((format(printf, 3, 4)));

#endif
