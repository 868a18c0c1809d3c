#include "FuzzSupport.h"

#include "Output/PavaneLog.h"
#include "Output/VoPrint.h"
#include "System/OsBoundary.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace {

[[noreturn]] void forbidden(const char* call, const char* detail)
{
    std::fprintf(stderr, "fuzz: the code under test made a platform call: %s(%s)\n", call,
                 detail != nullptr ? detail : "");
    std::abort();
}

ssize_t promptRead(void*, char*, size_t)
{
    forbidden("page prompt", "paging waited for a key");
}

class ForbiddingBoundary : public OsBoundary {
public:
    int open(const char* path, int, mode_t) override { forbidden("open", path); }
    int close(int) override { forbidden("close", ""); }
    int ioctl(int, unsigned long, void*) override { forbidden("ioctl", ""); }
    ssize_t read(int, void*, size_t) override { forbidden("read", ""); }
    ssize_t write(int, const void*, size_t) override { forbidden("write", ""); }
    FILE* fopen(const char* path, const char*) override { forbidden("fopen", path); }
    int mknod(const char* path, mode_t, dev_t) override { forbidden("mknod", path); }
    int stat(const char* path, struct stat*) override { forbidden("stat", path); }
    int lstat(const char* path, struct stat*) override { forbidden("lstat", path); }
    int access(const char* path, int) override { forbidden("access", path); }
    int unlink(const char* path) override { forbidden("unlink", path); }
    ssize_t readlink(const char* path, char*, size_t) override { forbidden("readlink", path); }
    DIR* opendir(const char* path) override { forbidden("opendir", path); }
    struct dirent* readdir(DIR*) override { forbidden("readdir", ""); }
    int closedir(DIR*) override { forbidden("closedir", ""); }
    int scandir(const char* path, struct dirent***, int (*)(const struct dirent*),
                int (*)(const struct dirent**, const struct dirent**)) override
    {
        forbidden("scandir", path);
    }
    int uname(struct utsname*) override { forbidden("uname", ""); }
    int system(const char* command) override { forbidden("system", command); }
    unsigned int sleep(unsigned int) override { forbidden("sleep", ""); }
    const char* libraryPathPattern(int) override { forbidden("library load", ""); }
};

}  // namespace

void quietConsole()
{
    int null = ::open("/dev/null", O_WRONLY);
    if (null >= 0) {
        std::fflush(stdout);
        ::dup2(null, STDOUT_FILENO);
        ::close(null);
    }
    static FILE* screen = std::fopen("/dev/null", "w");
    static cookie_io_functions_t promptFunctions = {promptRead, nullptr, nullptr, nullptr};
    static FILE* keys = fopencookie(nullptr, "r", promptFunctions);
    VoPrint::instance()->setConsoleStreams(screen, keys);
    resetConsole();
}

void resetConsole()
{
    VoPrint* printer = VoPrint::instance();
    printer->setPageLength(0);
    printer->setLineCount(0);
    printer->setMode(VOPRINT_MODE_SCREEN);
    setAppLogMode(LOGMODE_OFF);
    setDebugLogMode(LOGMODE_OFF);
}

void forbidPlatformCalls()
{
    static ForbiddingBoundary boundary;
    setOsBoundary(&boundary);
}

bool inputText(const unsigned char* data, size_t size, std::string& text)
{
    if (std::memchr(data, 0, size) != nullptr)
        return false;
    text.assign(reinterpret_cast<const char*>(data), size);
    return true;
}
