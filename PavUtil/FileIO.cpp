#include "PavUtil/FileIO.h"

#include "PavUtil/Memory.h"

#include <new>

namespace {

FileStreamOpener streamOpener = nullptr;

FILE* streamOf(FileHandle* handle)
{
    FileHandleLibStdC* h = static_cast<FileHandleLibStdC*>(handle);
    return h == nullptr ? nullptr : h->getStream();
}

} // namespace

void setFileStreamOpener(FileStreamOpener opener)
{
    streamOpener = opener;
}

FileIO* FileIO::instance()
{
    // Made on first use and deliberately never destroyed: log writers that run from other
    // static destructors at exit still find a working service (it holds no resources).
    alignas(FileIOLibStdC) static unsigned char storage[sizeof(FileIOLibStdC)];
    static FileIO* service = new (storage) FileIOLibStdC();
    return service;
}

FileHandle* FileIOLibStdC::open(const char* path, const char* mode)
{
    if (path == nullptr || mode == nullptr)
        return nullptr;
    FILE* stream = streamOpener != nullptr ? streamOpener(path, mode) : std::fopen(path, mode);
    if (stream == nullptr)
        return nullptr;
    FileHandleLibStdC* handle = new (noThrowNew) FileHandleLibStdC(stream);
    if (handle == nullptr) {
        std::fclose(stream);
        return nullptr;
    }
    return handle;
}

int FileIOLibStdC::close(FileHandle* handle)
{
    if (handle == nullptr)
        return EOF;
    FILE* stream = streamOf(handle);
    if (stream == nullptr) {
        delete handle;
        return EOF;
    }
    // A write that failed earlier leaves only the stream's error indicator behind: the final
    // flush and close may well succeed, yet the file misses text.
    const bool failedBefore = std::ferror(stream) != 0;
    int result = std::fclose(stream);
    delete handle;
    return failedBefore ? EOF : result;
}

unsigned long long FileIOLibStdC::read(void* buffer, unsigned int size, unsigned int count,
                                       FileHandle* handle)
{
    FILE* stream = streamOf(handle);
    if (stream == nullptr || buffer == nullptr)
        return 0;
    return std::fread(buffer, size, count, stream);
}

unsigned long long FileIOLibStdC::write(const void* data, unsigned int size, unsigned int count,
                                        FileHandle* handle)
{
    FILE* stream = streamOf(handle);
    if (stream == nullptr || data == nullptr)
        return 0;
    return std::fwrite(data, size, count, stream);
}

long long FileIOLibStdC::seek(FileHandle* handle, long long offset, int origin)
{
    FILE* stream = streamOf(handle);
    if (stream == nullptr)
        return -1;
    int whence = origin;
    if (origin == FILEIO_SEEK_BEGIN)
        whence = SEEK_SET;
    else if (origin == FILEIO_SEEK_END)
        whence = SEEK_END;
    return fseeko(stream, static_cast<off_t>(offset), whence) == 0 ? 0 : -1;
}

long long FileIOLibStdC::tell(FileHandle* handle)
{
    FILE* stream = streamOf(handle);
    if (stream == nullptr)
        return -1;
    return static_cast<long long>(ftello(stream));
}

int FileIOLibStdC::printf(FileHandle* handle, const char* format, ...)
{
    va_list args;
    va_start(args, format);
    int result = vprintf(handle, format, args);
    va_end(args);
    return result;
}

int FileIOLibStdC::vprintf(FileHandle* handle, const char* format, va_list args)
{
    FILE* stream = streamOf(handle);
    if (stream == nullptr || format == nullptr)
        return -1;
    return std::vfprintf(stream, format, args);
}

char* FileIOLibStdC::gets(char* buffer, int size, FileHandle* handle)
{
    FILE* stream = streamOf(handle);
    if (stream == nullptr || buffer == nullptr || size < 1)
        return nullptr;
    return std::fgets(buffer, size, stream);
}

int FileIOLibStdC::error(FileHandle* handle)
{
    FILE* stream = streamOf(handle);
    return stream == nullptr ? 1 : std::ferror(stream);
}

int FileIOLibStdC::scanf(FileHandle* handle, const char* format, ...)
{
    va_list args;
    va_start(args, format);
    int result = vscanf(handle, format, args);
    va_end(args);
    return result;
}

int FileIOLibStdC::vscanf(FileHandle* handle, const char* format, va_list args)
{
    FILE* stream = streamOf(handle);
    if (stream == nullptr || format == nullptr)
        return EOF;
    return std::vfscanf(stream, format, args);
}

int FileIOLibStdC::eof(FileHandle* handle)
{
    FILE* stream = streamOf(handle);
    return stream == nullptr ? 1 : std::feof(stream);
}

int FileIOLibStdC::remove(const char* path)
{
    return path == nullptr ? -1 : std::remove(path);
}

int FileIOLibStdC::rename(const char* oldPath, const char* newPath)
{
    if (oldPath == nullptr || newPath == nullptr)
        return -1;
    return std::rename(oldPath, newPath);
}
