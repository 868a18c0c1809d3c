#include "System/OsBoundary.h"

#include "PavUtil/FileIO.h"

#include <cstdlib>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <sys/ioctl.h>
#include <unistd.h>

const char* OsBoundary::mapPath(const char* path, char*, size_t) { return path; }

int OsBoundary::open(const char* path, int flags, mode_t mode) { return ::open(path, flags, mode); }
int OsBoundary::close(int fd) { return ::close(fd); }
int OsBoundary::ioctl(int fd, unsigned long request, void* arg) { return ::ioctl(fd, request, arg); }
ssize_t OsBoundary::read(int fd, void* buf, size_t count) { return ::read(fd, buf, count); }
ssize_t OsBoundary::write(int fd, const void* buf, size_t count) { return ::write(fd, buf, count); }
FILE* OsBoundary::fopen(const char* path, const char* mode) { return ::fopen(path, mode); }

int OsBoundary::mknod(const char* path, mode_t mode, dev_t dev) { return ::mknod(path, mode, dev); }
int OsBoundary::stat(const char* path, struct stat* st) { return ::stat(path, st); }
int OsBoundary::lstat(const char* path, struct stat* st) { return ::lstat(path, st); }
int OsBoundary::access(const char* path, int mode) { return ::access(path, mode); }
int OsBoundary::unlink(const char* path) { return ::unlink(path); }
ssize_t OsBoundary::readlink(const char* path, char* buf, size_t size) { return ::readlink(path, buf, size); }

DIR* OsBoundary::opendir(const char* path) { return ::opendir(path); }
struct dirent* OsBoundary::readdir(DIR* dir) { return ::readdir(dir); }
int OsBoundary::closedir(DIR* dir) { return ::closedir(dir); }
int OsBoundary::scandir(const char* path, struct dirent*** namelist,
                        int (*filter)(const struct dirent*),
                        int (*compar)(const struct dirent**, const struct dirent**))
{
    return ::scandir(path, namelist, filter, compar);
}

int OsBoundary::uname(struct utsname* buf) { return ::uname(buf); }
int OsBoundary::system(const char* command) { return ::system(command); }
unsigned int OsBoundary::sleep(unsigned int seconds) { return ::sleep(seconds); }
time_t OsBoundary::currentTime() { return ::time(nullptr); }

const char* OsBoundary::libraryPathPattern(int attempt)
{
    static const char* const patterns[] = {"/opt/QuillRAID/QuillCli/lib%s.so", "lib%s.so", "./lib%s.so"};
    return (attempt >= 0 && attempt < 3) ? patterns[attempt] : nullptr;
}

namespace {
OsBoundary defaultBoundary;
OsBoundary* current = &defaultBoundary;
}

OsBoundary& osBoundary() { return *current; }

namespace {
FILE* openThroughBoundary(const char* path, const char* mode) { return current->fopen(path, mode); }
}

void setOsBoundary(OsBoundary* boundary)
{
    current = boundary ? boundary : &defaultBoundary;
    // The file-access service sits below this layer; it opens its streams through the boundary
    // only while another one is installed (the default boundary's fopen is fopen itself).
    setFileStreamOpener(boundary ? &openThroughBoundary : nullptr);
}
