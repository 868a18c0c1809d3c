// The operating-system boundary of the controller path.
//
// Every platform call that reaches the kernel side of a controller (driver nodes, SCSI disks,
// /proc, /sys, /dev, uname, the shell and sleeps, the search path of the integrated-RAID
// library) goes through this one interface. The default implementation is the C library,
// unchanged; a test host may install another one at start-up. Nothing else in the program
// knows which implementation is in use.
#ifndef OSBOUNDARY_H
#define OSBOUNDARY_H

#include <cstdio>
#include <ctime>
#include <dirent.h>
#include <sys/stat.h>
#include <sys/types.h>
#include <sys/utsname.h>

class OsBoundary {
public:
    virtual ~OsBoundary() {}

    // The path under which the system's own absolute path is found. Identity for the C
    // library; callers pass "/proc/...", "/sys/...", "/dev/..." exactly as on a real host and
    // every other operation below maps its path arguments itself.
    virtual const char* mapPath(const char* path, char* buf, size_t bufSize);

    virtual int open(const char* path, int flags, mode_t mode = 0);
    virtual int close(int fd);
    virtual int ioctl(int fd, unsigned long request, void* arg);
    virtual ssize_t read(int fd, void* buf, size_t count);
    virtual ssize_t write(int fd, const void* buf, size_t count);
    virtual FILE* fopen(const char* path, const char* mode);

    virtual int mknod(const char* path, mode_t mode, dev_t dev);
    virtual int stat(const char* path, struct stat* st);
    virtual int lstat(const char* path, struct stat* st);
    virtual int access(const char* path, int mode);
    virtual int unlink(const char* path);
    virtual ssize_t readlink(const char* path, char* buf, size_t size);

    virtual DIR* opendir(const char* path);
    virtual struct dirent* readdir(DIR* dir);
    virtual int closedir(DIR* dir);
    virtual int scandir(const char* path, struct dirent*** namelist,
                        int (*filter)(const struct dirent*),
                        int (*compar)(const struct dirent**, const struct dirent**));

    virtual int uname(struct utsname* buf);
    virtual int system(const char* command);
    virtual unsigned int sleep(unsigned int seconds);

    // The host's current time, as the C library's time(nullptr).
    virtual time_t currentTime();

    // The printf pattern (one %s: the library's base name) of the integrated-RAID library's
    // path for load attempt 0, 1 and 2; null for any other attempt.
    virtual const char* libraryPathPattern(int attempt);
};

// The boundary in use. Never null.
OsBoundary& osBoundary();

// Installs another boundary (the caller keeps ownership); null restores the C library.
void setOsBoundary(OsBoundary* boundary);

#endif
