#include "Simulator/SimState.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "Simulator/Description/SimDescription.h"
#include "Simulator/Firmware/SimFirmware.h"

namespace sim {

namespace {

// The whole file in one buffer: sized by fstat, filled by read.
bool readWhole(int fd, std::string& text)
{
    struct stat st;
    if (fstat(fd, &st) != 0)
        return false;
    text.resize(static_cast<size_t>(st.st_size));
    size_t done = 0;
    for (;;) {
        if (done == text.size())
            text.resize(text.size() + 4096);   // the file grew since fstat
        ssize_t n = ::read(fd, &text[done], text.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return false;
        if (n == 0)
            break;
        done += static_cast<size_t>(n);
    }
    text.resize(done);
    return true;
}

} // namespace

const char* const SimState::FILE_NAME = "state.json";

SimState::SimState(const std::string& hostDir) : hostDir_(hostDir) {}

std::string SimState::path() const { return hostDir_ + "/" + FILE_NAME; }

int SimState::load(std::string& error)
{
    loadTried_ = true;
    loadResult_ = -1;
    model_ = HostModel();
    changed_ = false;
    valid_ = false;
    struct stat st;
    if (::stat(hostDir_.c_str(), &st) != 0) {
        error = "host folder " + hostDir_ + ": " + strerror(errno);
        return -1;
    }
    if (!S_ISDIR(st.st_mode)) {
        error = "host folder " + hostDir_ + ": not a folder";
        return -1;
    }
    int fd = ::open(path().c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        error = "cannot read " + path() + ": " + strerror(errno);
        return -1;
    }
    std::string text;
    bool read = readWhole(fd, text);
    int saved = errno;
    ::close(fd);
    if (!read) {
        error = "cannot read " + path() + ": " + strerror(saved);
        return -1;
    }
    HostModel parsed;
    std::string problem;
    if (!readDescription(text, parsed, problem)) {
        error = path() + ": " + problem;
        return -1;
    }
    model_ = std::move(parsed);
    valid_ = true;
    loadResult_ = 0;
    return 0;
}

int SimState::load(bool quiet)
{
    std::string error;
    int rc = load(error);
    if (rc != 0 && !quiet)
        fprintf(stderr, "quillsim: %s\n", error.c_str());
    return rc;
}

int SimState::ensureLoaded()
{
    if (!loadTried_)
        load();
    return loadResult_;
}

void SimState::setModel(const HostModel& model)
{
    model_ = model;
    changed_ = true;
    loadTried_ = true;
    loadResult_ = 0;
    valid_ = true;
}

int SimState::save()
{
    if (hostDir_.empty()) {   // a state held in memory only (tests)
        changed_ = false;
        return 0;
    }
    if (!valid_)
        return -1;
    std::string text = writeDescription(model_);
    std::string tmp = path() + ".tmp." + std::to_string(getpid());
    int fd = ::open(tmp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0) {
        fprintf(stderr, "quillsim: cannot write %s: %s\n", tmp.c_str(), strerror(errno));
        return -1;
    }
    size_t done = 0;
    while (done < text.size()) {
        ssize_t w = ::write(fd, text.data() + done, text.size() - done);
        if (w < 0 && errno == EINTR)
            continue;
        if (w <= 0) {
            fprintf(stderr, "quillsim: cannot write %s: %s\n", tmp.c_str(), strerror(errno));
            ::close(fd);
            ::unlink(tmp.c_str());
            return -1;
        }
        done += static_cast<size_t>(w);
    }
    if (::close(fd) != 0 || ::rename(tmp.c_str(), path().c_str()) != 0) {
        fprintf(stderr, "quillsim: cannot replace %s: %s\n", path().c_str(), strerror(errno));
        ::unlink(tmp.c_str());
        return -1;
    }
    changed_ = false;
    return 0;
}

int SimState::saveIfChanged() { return changed_ ? save() : 0; }

void SimState::advanceClock(uint64_t seconds)
{
    if (seconds == 0)
        return;
    model_.clock += seconds;
    // The controllers' long operations run on the same clock.
    for (Controller& c : model_.controllers)
        advanceLdOperations(c, seconds);
    changed_ = true;
}

Controller* SimState::findController(unsigned host, int kind)
{
    for (Controller& c : model_.controllers)
        if (c.host == host && c.driverKind == kind)
            return &c;
    return nullptr;
}

} // namespace sim
