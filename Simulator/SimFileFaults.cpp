#include "Simulator/SimFileFaults.h"

#include <cerrno>
#include <cstring>
#include <new>
#include <sys/types.h>

namespace sim {

namespace {

struct FaultyFile {
    FILE* real;
    FileFailure fail;
    int error;
};

int errnoOf(FileError error)
{
    return error == FileError::NO_SPACE ? ENOSPC : EIO;
}

ssize_t faultyRead(void* cookie, char* buffer, size_t size)
{
    FaultyFile* f = static_cast<FaultyFile*>(cookie);
    size_t got = fread(buffer, 1, size, f->real);
    return got == 0 && ferror(f->real) ? -1 : static_cast<ssize_t>(got);
}

// A cookie stream's write reports a failure by writing nothing (0), with errno set.
ssize_t faultyWrite(void* cookie, const char* buffer, size_t size)
{
    FaultyFile* f = static_cast<FaultyFile*>(cookie);
    if (f->fail == FileFailure::WRITE) {
        errno = f->error;
        return 0;
    }
    return static_cast<ssize_t>(fwrite(buffer, 1, size, f->real));
}

int faultySeek(void* cookie, off64_t* position, int whence)
{
    FaultyFile* f = static_cast<FaultyFile*>(cookie);
    if (fseeko(f->real, static_cast<off_t>(*position), whence) != 0)
        return -1;
    *position = static_cast<off64_t>(ftello(f->real));
    return 0;
}

int faultyClose(void* cookie)
{
    FaultyFile* f = static_cast<FaultyFile*>(cookie);
    int result = fclose(f->real);
    const bool failClose = f->fail == FileFailure::CLOSE;
    const int error = f->error;
    delete f;
    if (failClose) {
        errno = error;
        return -1;
    }
    return result;
}

} // namespace

const FileFault* findFileFault(const HostModel& host, const char* path)
{
    if (path == nullptr)
        return nullptr;
    for (const FileFault& f : host.fileFaults)
        if (f.path == path)
            return &f;
    return nullptr;
}

FILE* openFaultyFile(const FileFault& fault, const std::string& file, const char* mode)
{
    FILE* real = fopen(file.c_str(), mode);
    if (real == nullptr)
        return nullptr;
    FaultyFile* cookie = new (std::nothrow) FaultyFile{real, fault.fail, errnoOf(fault.error)};
    if (cookie == nullptr) {
        fclose(real);
        return nullptr;
    }
    const cookie_io_functions_t functions = {faultyRead, faultyWrite, faultySeek, faultyClose};
    FILE* stream = fopencookie(cookie, mode, functions);
    if (stream == nullptr) {
        fclose(real);
        delete cookie;
    }
    return stream;
}

} // namespace sim
