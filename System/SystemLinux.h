// Operating-system services that the C library's stdio does not cover: run-time loading of a
// shared library, the system log, sleeping, the program directory, the host's IPv4 address and
// environment variables. `System` is the interface, `SystemLinux` its Linux implementation; the
// integrated-RAID library bridge is the main user.
#ifndef SYSTEMLINUX_H
#define SYSTEMLINUX_H

#include "PavUtil/apstring.h"

#include <cstddef>

// Size of the buffer a library path is formed in; a path that does not fit is never tried.
const size_t SYSTEM_LIBRARY_PATH_SIZE = 128;

class System {
public:
    // Opens the shared library "lib<name>.so" from the library search places; null on failure.
    virtual void* loadLibrary(const apstring& name) = 0;
    // Gives a handle of loadLibrary back; the loader's result (0 on success).
    virtual int closeLibrary(void* handle) = 0;
    // The address of a symbol of a loaded library; null when the library has no such symbol.
    virtual void* findSymbol(void* handle, const apstring& symbol) = 0;
    // Writes one message to the system log. The first further argument is the message text
    // (a C string); the second int does not enter the message.
    virtual void writeSyslog(int level, int unused, ...) = 0;
    // Sleeps; returns the seconds left unslept (0 when the full time passed).
    virtual int sleepSeconds(int seconds) = 0;
    virtual string binDirectory() = 0;
    // Stores the host's first non-loopback IPv4 address (network byte order) in the 4 bytes,
    // 127.0.0.1 when there is none; -1 when the interfaces cannot be listed.
    virtual int localIpv4Address(unsigned char* address) = 0;
    // The value of an environment variable; the empty text when it is not set.
    virtual string getEnvironment(const apstring& name) = 0;
    virtual ~System() {}
};

class SystemLinux : public System {
public:
    // The process-wide object, made on first use.
    static SystemLinux* instance();

    void* loadLibrary(const apstring& name) override;
    int closeLibrary(void* handle) override;
    void* findSymbol(void* handle, const apstring& symbol) override;
    void writeSyslog(int level, int unused, ...) override;
    int sleepSeconds(int seconds) override;
    string binDirectory() override;
    int localIpv4Address(unsigned char* address) override;
    string getEnvironment(const apstring& name) override;
    ~SystemLinux() override {}

    // The syslog priority for a level of writeSyslog.
    static int syslogPriority(int level);
};

#endif
