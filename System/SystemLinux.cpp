#include "System/SystemLinux.h"

#include "System/OsBoundary.h"

#include <arpa/inet.h>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dlfcn.h>
#include <ifaddrs.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <syslog.h>

namespace {

const int LIBRARY_LOAD_ATTEMPTS = 3;

// The library path patterns come from the OS boundary; each must hold exactly one "%s" and no
// other conversion, or it is not used as a format at all.
bool isLibraryPattern(const char* pattern)
{
    if (pattern == nullptr) {
        return false;
    }
    int conversions = 0;
    for (const char* p = pattern; *p != '\0'; ++p) {
        if (*p != '%') {
            continue;
        }
        if (p[1] != 's') {
            return false;
        }
        ++conversions;
        ++p;
    }
    return conversions == 1;
}

} // namespace

SystemLinux* SystemLinux::instance()
{
    static SystemLinux theSystem;
    return &theSystem;
}

void* SystemLinux::loadLibrary(const apstring& name)
{
    // Forget any loader error of earlier calls, so that the message printed below describes
    // this search.
    dlerror();
    for (int attempt = 0; attempt < LIBRARY_LOAD_ATTEMPTS; ++attempt) {
        const char* pattern = osBoundary().libraryPathPattern(attempt);
        if (!isLibraryPattern(pattern)) {
            continue;
        }
        char path[SYSTEM_LIBRARY_PATH_SIZE];
        int length = snprintf(path, sizeof path, pattern, name.c_str());
        // A cut path could name another file: a name that does not fit is not tried.
        if (length < 0 || static_cast<size_t>(length) >= sizeof path) {
            continue;
        }
        void* handle = dlopen(path, RTLD_LAZY);
        if (handle != nullptr) {
            return handle;
        }
    }
    const char* loaderError = dlerror();
    if (loaderError != nullptr) {
        printf("%s\n", loaderError);
    } else {
        printf("lib%s.so: cannot open shared object file: path too long\n", name.c_str());
    }
    return nullptr;
}

int SystemLinux::closeLibrary(void* handle) { return dlclose(handle); }

void* SystemLinux::findSymbol(void* handle, const apstring& symbol) { return dlsym(handle, symbol.c_str()); }

int SystemLinux::syslogPriority(int level)
{
    switch (level) {
    case 0: return LOG_INFO;
    case 1: return LOG_WARNING;
    case 2: return LOG_CRIT;
    case 3: return LOG_EMERG;
    case 4: return LOG_EMERG;
    default: return LOG_WARNING;
    }
}

void SystemLinux::writeSyslog(int level, int unused, ...)
{
    va_list args;
    va_start(args, unused);
    openlog("KW_MONITOR", LOG_PID, LOG_USER);
    // The message is data: "%s" keeps a percent sign in it from being read as a conversion.
    vsyslog(syslogPriority(level), "%s", args);
    closelog();
    va_end(args);
}

int SystemLinux::sleepSeconds(int seconds)
{
    if (seconds <= 0) {
        return 0;
    }
    return static_cast<int>(osBoundary().sleep(static_cast<unsigned int>(seconds)));
}

string SystemLinux::binDirectory() { return string("/usr/bin"); }

int SystemLinux::localIpv4Address(unsigned char* address)
{
    struct ifaddrs* list = nullptr;
    if (getifaddrs(&list) != 0) {
        return -1;
    }
    bool found = false;
    for (struct ifaddrs* entry = list; entry != nullptr; entry = entry->ifa_next) {
        if (entry->ifa_addr == nullptr || entry->ifa_addr->sa_family != AF_INET) {
            continue;
        }
        if (entry->ifa_name != nullptr && strcmp(entry->ifa_name, "lo") == 0) {
            continue;
        }
        const struct sockaddr_in* inet = reinterpret_cast<const struct sockaddr_in*>(entry->ifa_addr);
        memcpy(address, &inet->sin_addr.s_addr, 4);
        found = true;
        break;
    }
    freeifaddrs(list);
    if (!found) {
        in_addr_t loopback = inet_addr("127.0.0.1");
        memcpy(address, &loopback, 4);
    }
    return 0;
}

string SystemLinux::getEnvironment(const apstring& name)
{
    const char* value = getenv(name.c_str());
    return value != nullptr ? string(value) : string();
}
