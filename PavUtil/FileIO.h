// The single file-access service of the program.
//
// Every file the program reads or writes goes through FileIO::instance(): logs, the /proc
// entries read during controller discovery, saved configurations, firmware images and the
// files of particular commands. An open file is an opaque FileHandle that callers pass back to
// the service; they never see the stream underneath.
//
// The service prints nothing and keeps no error state: every operation returns the C library's
// result (null from open, short counts from read and write, -1 from seek and tell, null from
// gets) and the caller decides what to report. A null handle is answered like a failed
// stream instead of being dereferenced.
#ifndef PAVUTIL_FILEIO_H
#define PAVUTIL_FILEIO_H

#include <cstdarg>
#include <cstdio>

// Seek origins: from the start and from the end of the file. Any other value goes to fseek
// unchanged, so 0 (SEEK_SET) also means from the start.
const int FILEIO_SEEK_BEGIN = -2;
const int FILEIO_SEEK_END = -1;

class FileHandle {
public:
    virtual ~FileHandle() {}
};

class FileIO {
public:
    // The one service of the process, made on first use.
    static FileIO* instance();

    // New handle, or null when the file cannot be opened (mode as for fopen). Paths are given
    // as on a real host; the installed stream opener maps them.
    virtual FileHandle* open(const char* path, const char* mode) = 0;
    // Closes the stream and deletes the handle; 0 when every write, the final flush and the
    // close succeeded, else EOF (a writer learns here that its text did not all reach the file).
    virtual int close(FileHandle* handle) = 0;
    // Whole elements read / written.
    virtual unsigned long long read(void* buffer, unsigned int size, unsigned int count,
                                    FileHandle* handle) = 0;
    virtual unsigned long long write(const void* data, unsigned int size, unsigned int count,
                                     FileHandle* handle) = 0;
    // 0 on success, -1 on failure.
    virtual long long seek(FileHandle* handle, long long offset, int origin) = 0;
    // The current position, -1 on failure.
    virtual long long tell(FileHandle* handle) = 0;
    // Characters written, negative on failure.
    virtual int printf(FileHandle* handle, const char* format, ...)
        __attribute__((format(printf, 3, 4))) = 0;
    // At most size - 1 bytes up to and including a newline, then a NUL; null at end of file,
    // on failure, or when size is below 1.
    virtual char* gets(char* buffer, int size, FileHandle* handle) = 0;
    // Non-zero when the stream's error indicator is set.
    virtual int error(FileHandle* handle) = 0;
    // Conversions assigned, or EOF.
    virtual int scanf(FileHandle* handle, const char* format, ...)
        __attribute__((format(scanf, 3, 4))) = 0;
    // Non-zero when the stream's end-of-file indicator is set.
    virtual int eof(FileHandle* handle) = 0;
    // 0 on success.
    virtual int remove(const char* path) = 0;
    virtual int rename(const char* oldPath, const char* newPath) = 0;

    virtual ~FileIO() {}

    // The forms with an argument list, for callers that format on behalf of their own callers.
    virtual int vprintf(FileHandle* handle, const char* format, va_list args)
        __attribute__((format(printf, 3, 0))) = 0;
    virtual int vscanf(FileHandle* handle, const char* format, va_list args)
        __attribute__((format(scanf, 3, 0))) = 0;
};

// How FileIOLibStdC opens its streams: fopen, until the operating-system boundary (System/,
// one layer up) installs its own opener whenever another boundary is installed, so that a file
// path reaches the same host as every other platform call. Null restores fopen.
typedef FILE* (*FileStreamOpener)(const char* path, const char* mode);
void setFileStreamOpener(FileStreamOpener opener);

class FileHandleLibStdC : public FileHandle {
public:
    explicit FileHandleLibStdC(FILE* stream = nullptr) : stream(stream) {}
    FILE* getStream() const { return stream; }
    void setStream(FILE* s) { stream = s; }

private:
    FILE* stream;
};

// The service over the C library's buffered streams.
class FileIOLibStdC : public FileIO {
public:
    FileHandle* open(const char* path, const char* mode) override;
    int close(FileHandle* handle) override;
    unsigned long long read(void* buffer, unsigned int size, unsigned int count,
                            FileHandle* handle) override;
    unsigned long long write(const void* data, unsigned int size, unsigned int count,
                             FileHandle* handle) override;
    long long seek(FileHandle* handle, long long offset, int origin) override;
    long long tell(FileHandle* handle) override;
    int printf(FileHandle* handle, const char* format, ...) override
        __attribute__((format(printf, 3, 4)));
    char* gets(char* buffer, int size, FileHandle* handle) override;
    int error(FileHandle* handle) override;
    int scanf(FileHandle* handle, const char* format, ...) override
        __attribute__((format(scanf, 3, 4)));
    int eof(FileHandle* handle) override;
    int remove(const char* path) override;
    int rename(const char* oldPath, const char* newPath) override;
    int vprintf(FileHandle* handle, const char* format, va_list args) override
        __attribute__((format(printf, 3, 0)));
    int vscanf(FileHandle* handle, const char* format, va_list args) override
        __attribute__((format(scanf, 3, 0)));
};

#endif
