// Test equipment shared by the test programs: temporary directories, whole-file reads and an
// OS boundary that keeps the kernel side of a host (/proc, /sys, /dev) in a directory.
#ifndef TEST_SUPPORT_H
#define TEST_SUPPORT_H

#include <gtest/gtest.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

#include "System/OsBoundary.h"

namespace testsupport {

// The whole file as text; `whenMissing` when it cannot be opened.
inline std::string readText(const std::string& path, const std::string& whenMissing = "")
{
    FILE* f = fopen(path.c_str(), "rb");
    if (f == nullptr)
        return whenMissing;
    std::string text;
    char buf[4096];
    size_t n;
    while ((n = fread(buf, 1, sizeof buf, f)) > 0)
        text.append(buf, n);
    fclose(f);
    return text;
}

// A fresh directory under $TMPDIR (or /tmp), removed with its contents when the object goes.
// Relative names are taken below it; files and links get their parent directories made.
class TempDir {
public:
    explicit TempDir(const std::string& prefix = "quill-test")
    {
        const char* base = getenv("TMPDIR");
        std::string pattern =
            std::string(base != nullptr && *base != '\0' ? base : "/tmp") + "/" + prefix + "-XXXXXX";
        std::vector<char> buf(pattern.begin(), pattern.end());
        buf.push_back('\0');
        const char* made = mkdtemp(buf.data());
        path_ = made != nullptr ? made : "";
    }
    ~TempDir()
    {
        // Only a directory this object made is removed.
        if (!path_.empty()) {
            std::error_code ignored;
            std::filesystem::remove_all(path_, ignored);
        }
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::string& path() const { return path_; }
    std::string file(const std::string& rel) const { return path_ + "/" + rel; }

    void mkdirs(const std::string& rel) const
    {
        std::error_code ec;
        std::filesystem::create_directories(file(rel), ec);
        EXPECT_FALSE(ec) << file(rel) << ": " << ec.message();
    }
    void write(const std::string& rel, const std::string& text) const
    {
        makeParent(rel);
        std::ofstream out(file(rel), std::ios::binary);
        out << text;
        EXPECT_TRUE(out.good()) << file(rel);
    }
    void link(const std::string& rel, const std::string& target) const
    {
        makeParent(rel);
        EXPECT_EQ(::symlink(target.c_str(), file(rel).c_str()), 0) << file(rel);
    }
    std::string read(const std::string& rel) const { return readText(file(rel)); }

private:
    void makeParent(const std::string& rel) const
    {
        size_t slash = rel.rfind('/');
        if (slash != std::string::npos)
            mkdirs(rel.substr(0, slash));
    }

    std::string path_;
};

// Collects what the process writes to standard output (or, with STDERR_FILENO, standard error)
// while it lives: the descriptor is pointed at a temporary file with dup2 and put back by take()
// or the destructor, so an assertion that leaves the test early also restores it. Captures nest.
class StreamCapture {
public:
    explicit StreamCapture(int fd = STDOUT_FILENO) : fd_(fd)
    {
        flushAll();
        file_ = ::tmpfile();
        saved_ = file_ != nullptr ? ::dup(fd_) : -1;
        if (saved_ < 0 || ::dup2(::fileno(file_), fd_) < 0)
            ADD_FAILURE() << "cannot capture descriptor " << fd_ << ": " << strerror(errno);
    }
    ~StreamCapture() { take(); }
    StreamCapture(const StreamCapture&) = delete;
    StreamCapture& operator=(const StreamCapture&) = delete;

    // What was written since the capture began; the descriptor is restored. Later calls give
    // the same text.
    std::string take()
    {
        if (file_ == nullptr)
            return text_;
        flushAll();
        if (saved_ >= 0) {
            ::dup2(saved_, fd_);
            ::close(saved_);
            saved_ = -1;
        }
        ::rewind(file_);
        char buf[4096];
        size_t n;
        while ((n = ::fread(buf, 1, sizeof buf, file_)) > 0)
            text_.append(buf, n);
        ::fclose(file_);
        file_ = nullptr;
        return text_;
    }

private:
    static void flushAll()
    {
        ::fflush(stdout);
        ::fflush(stderr);
    }

    int fd_;
    int saved_ = -1;
    FILE* file_ = nullptr;
    std::string text_;
};

// Installs a boundary for the life of the object and keeps SYSFS_PATH (which would reroute
// sysfs) out of the way; the real system's boundary and SYSFS_PATH come back afterwards.
class BoundaryScope {
public:
    explicit BoundaryScope(OsBoundary* boundary)
    {
        const char* sysfs = getenv("SYSFS_PATH");
        hadSysfs = sysfs != nullptr;
        if (hadSysfs)
            savedSysfs = sysfs;
        unsetenv("SYSFS_PATH");
        setOsBoundary(boundary);
    }
    ~BoundaryScope()
    {
        setOsBoundary(nullptr);
        if (hadSysfs)
            setenv("SYSFS_PATH", savedSysfs.c_str(), 1);
    }
    BoundaryScope(const BoundaryScope&) = delete;
    BoundaryScope& operator=(const BoundaryScope&) = delete;

private:
    bool hadSysfs = false;
    std::string savedSysfs;
};

// What `action` writes to standard output.
template <class Action>
std::string stdoutOf(Action action)
{
    StreamCapture capture;
    action();
    return capture.take();
}

// An OS boundary over a host directory: /proc, /sys and /dev (and what is below them) are
// looked up under `root`, every other path is used as it is, and uname reports `release`.
// The path-taking calls are mapped here; a test host overrides what it answers itself.
class RootedBoundary : public OsBoundary {
public:
    explicit RootedBoundary(const std::string& root = "", const std::string& release = "3.10.0")
        : root(root), release(release)
    {
    }

    std::string root;
    std::string release;

    std::string map(const char* path) const
    {
        std::string p = path != nullptr ? path : "";
        for (const char* top : {"/proc", "/sys", "/dev"}) {
            size_t n = strlen(top);
            if (p.compare(0, n, top) == 0 && (p.size() == n || p[n] == '/'))
                return root + p;
        }
        return p;
    }

    const char* mapPath(const char* path, char* buf, size_t size) override
    {
        snprintf(buf, size, "%s", map(path).c_str());
        return buf;
    }
    int open(const char* path, int flags, mode_t mode) override { return ::open(map(path).c_str(), flags, mode); }
    FILE* fopen(const char* path, const char* mode) override { return ::fopen(map(path).c_str(), mode); }
    int stat(const char* path, struct stat* st) override { return ::stat(map(path).c_str(), st); }
    int lstat(const char* path, struct stat* st) override { return ::lstat(map(path).c_str(), st); }
    int access(const char* path, int mode) override { return ::access(map(path).c_str(), mode); }
    ssize_t readlink(const char* path, char* buf, size_t size) override
    {
        return ::readlink(map(path).c_str(), buf, size);
    }
    DIR* opendir(const char* path) override { return ::opendir(map(path).c_str()); }
    int scandir(const char* path, struct dirent*** names, int (*filter)(const struct dirent*),
                int (*compar)(const struct dirent**, const struct dirent**)) override
    {
        return ::scandir(map(path).c_str(), names, filter, compar);
    }
    int uname(struct utsname* buf) override
    {
        memset(buf, 0, sizeof *buf);
        snprintf(buf->release, sizeof buf->release, "%s", release.c_str());
        return 0;
    }
};

// Sets TZ for the life of the object, so that local-time conversions run under a known zone.
class TimeZone {
public:
    explicit TimeZone(const char* zone)
    {
        const char* old = getenv("TZ");
        had_ = old != nullptr;
        if (had_)
            saved_ = old;
        setenv("TZ", zone, 1);
        tzset();
    }
    ~TimeZone()
    {
        if (had_)
            setenv("TZ", saved_.c_str(), 1);
        else
            unsetenv("TZ");
        tzset();
    }
    TimeZone(const TimeZone&) = delete;
    TimeZone& operator=(const TimeZone&) = delete;

private:
    bool had_ = false;
    std::string saved_;
};

} // namespace testsupport

#endif
