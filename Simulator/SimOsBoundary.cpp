#include "Simulator/SimOsBoundary.h"

#include <cctype>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <sys/ioctl.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include "Simulator/SimFaults.h"
#include "Simulator/SimFileFaults.h"
#include "Simulator/SimScsi.h"
#include "Simulator/SimTranscript.h"

namespace sim {

namespace {

const char NODE_MAGIC[] = "quillsim-node";
const char REPORT_TEMP_FILE[] = "/..rdlog.tmp.tmp";

bool isUnder(const char* path, const char* root)
{
    size_t n = strlen(root);
    return strncmp(path, root, n) == 0 && (path[n] == '/' || path[n] == '\0');
}

// "sleep N" (N decimal seconds), blanks around allowed; false for any other command.
bool parseShellSleep(const char* command, unsigned long& seconds)
{
    const char* p = command;
    while (isspace(static_cast<unsigned char>(*p)))
        ++p;
    if (strncmp(p, "sleep", 5) != 0 || !isspace(static_cast<unsigned char>(p[5])))
        return false;
    p += 5;
    while (isspace(static_cast<unsigned char>(*p)))
        ++p;
    if (!isdigit(static_cast<unsigned char>(*p)))
        return false;
    errno = 0;
    char* end = nullptr;
    seconds = strtoul(p, &end, 10);
    if (errno != 0)
        return false;
    while (isspace(static_cast<unsigned char>(*end)))
        ++end;
    return *end == '\0';
}

bool isClear(const char* command)
{
    const char* p = command;
    while (isspace(static_cast<unsigned char>(*p)))
        ++p;
    if (strncmp(p, "clear", 5) != 0)
        return false;
    p += 5;
    while (isspace(static_cast<unsigned char>(*p)))
        ++p;
    return *p == '\0';
}

// "cat FILE | grep PATTERN > OUT" (PATTERN bare or in double quotes), the shape of the
// diagnostic report's host pipelines; false for any other command.
struct CatGrep {
    std::string file;
    std::string pattern;
    std::string out;
};

bool parseCatGrep(const char* command, CatGrep& parsed)
{
    const std::string c = command;
    const std::string cat = "cat ";
    const std::string pipe = " | grep ";
    const std::string redirect = " > ";
    const size_t bar = c.find(pipe);
    const size_t arrow = c.rfind(redirect);
    if (c.compare(0, cat.size(), cat) != 0 || bar == std::string::npos || arrow == std::string::npos || arrow < bar)
        return false;
    parsed.file = c.substr(cat.size(), bar - cat.size());
    parsed.pattern = c.substr(bar + pipe.size(), arrow - bar - pipe.size());
    parsed.out = c.substr(arrow + redirect.size());
    if (parsed.pattern.size() >= 2 && parsed.pattern.front() == '"' && parsed.pattern.back() == '"')
        parsed.pattern = parsed.pattern.substr(1, parsed.pattern.size() - 2);
    return !parsed.file.empty() && !parsed.pattern.empty() && !parsed.out.empty() &&
           parsed.file.find_first_of(" |>\"") == std::string::npos &&
           parsed.out.find_first_of(" |>\"") == std::string::npos;
}

} // namespace

SimOsBoundary::SimOsBoundary(SimState& state, SimDriver& driver)
    : state_(state), driver_(driver), disk_(state)
{
    // The library's file name pattern takes one %s; a '%' in the host path must stay literal.
    for (char c : state_.hostDir() + "/lib/") {
        libraryPattern_ += c;
        if (c == '%')
            libraryPattern_ += '%';
    }
    libraryPattern_ += "lib%s.so";
}

SimOsBoundary::~SimOsBoundary()
{
    for (const auto& fd : fds_)
        ::close(fd.first);
}

std::string SimOsBoundary::hostPath(const char* path) const
{
    if (path && (isUnder(path, "/proc") || isUnder(path, "/sys") || isUnder(path, "/dev")))
        return state_.hostDir() + path;
    // The diagnostic report's temporary file at the root lands in the host folder.
    if (path && strcmp(path, REPORT_TEMP_FILE) == 0)
        return state_.hostDir() + path;
    return path ? path : "";
}

const char* SimOsBoundary::mapPath(const char* path, char* buf, size_t bufSize)
{
    std::string m = hostPath(path);
    if (!path || m == path)
        return path;
    if (!buf || m.size() + 1 > bufSize) {
        // Too long for the caller's buffer: a path that names nothing, so the caller's
        // open or stat fails instead of reaching a truncated, wrong file.
        if (buf && bufSize > 0)
            buf[0] = '\0';
        return buf ? buf : "";
    }
    memcpy(buf, m.c_str(), m.size() + 1);
    return buf;
}

int SimOsBoundary::writeNode(const std::string& file, const NodeInfo& node, mode_t perms)
{
    int fd = ::open(file.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (fd < 0)
        return -1;
    char text[96];
    int n = node.hasScsi
                ? snprintf(text, sizeof text, "%s %c %u %u %u:%u:%u:%u\n", NODE_MAGIC, node.type, node.major,
                           node.minor, node.scsi.host, node.scsi.channel, node.scsi.target, node.scsi.lun)
                : snprintf(text, sizeof text, "%s %c %u %u\n", NODE_MAGIC, node.type, node.major, node.minor);
    bool ok = ::write(fd, text, n) == n;
    int saved = errno;
    ::close(fd);
    if (!ok || ::chmod(file.c_str(), perms & 07777) != 0) {
        saved = ok ? errno : saved;
        ::unlink(file.c_str());
        errno = saved;
        return -1;
    }
    return 0;
}

bool SimOsBoundary::readNode(const std::string& file, NodeInfo& node)
{
    int fd = ::open(file.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK);
    if (fd < 0)
        return false;
    char text[96] = {0};
    ssize_t n = ::read(fd, text, sizeof text - 1);
    ::close(fd);
    if (n <= 0)
        return false;
    char magic[16] = {0};
    char type = 0;
    unsigned major = 0, minor = 0;
    ScsiAddress a;
    int fields = sscanf(text, "%15s %c %u %u %u:%u:%u:%u", magic, &type, &major, &minor, &a.host, &a.channel,
                        &a.target, &a.lun);
    if ((fields != 4 && fields != 8) || strcmp(magic, NODE_MAGIC) != 0 || (type != 'c' && type != 'b'))
        return false;
    node.type = type;
    node.major = major;
    node.minor = minor;
    node.hasScsi = fields == 8;
    node.scsi = a;
    return true;
}

void SimOsBoundary::reportNode(const std::string& file, struct stat* st) const
{
    NodeInfo node;
    if (!S_ISREG(st->st_mode) || !readNode(file, node))
        return;
    st->st_mode = (node.type == 'c' ? S_IFCHR : S_IFBLK) | (st->st_mode & 07777);
    st->st_rdev = makedev(node.major, node.minor);
    st->st_size = 0;
}

int SimOsBoundary::driverKindOfMajor(unsigned major)
{
    state_.ensureLoaded();
    for (const Driver& d : state_.model().drivers)
        if (d.major == major)
            return d.kind;
    return -1;
}

int SimOsBoundary::open(const char* path, int flags, mode_t mode)
{
    std::string m = hostPath(path);
    NodeInfo node;
    if (path && m != path && readNode(m, node)) {
        Descriptor d;
        if (node.type == 'b' && node.hasScsi && disk_.exists(node.scsi)) {
            d.disk = true;
            d.scsi = node.scsi;
            d.path = path;
        } else {
            d.driverKind = node.type == 'c' ? driverKindOfMajor(node.major) : -1;
            if (d.driverKind < 0) {
                errno = ENXIO;     // nothing behind this device number
                return -1;
            }
            if (SimFaults(state_).driverMissing(d.driverKind)) {
                errno = ENODEV;
                return -1;
            }
        }
        int acc = flags & O_ACCMODE;
        if (::access(m.c_str(), acc == O_RDONLY ? R_OK : acc == O_WRONLY ? W_OK : R_OK | W_OK) != 0)
            return -1;
        return reserveDescriptor(d);
    }
    return openControlFile(path, ::open(m.c_str(), SimScsi::openFlags(path, flags), mode));
}

int SimOsBoundary::openControlFile(const char* path, int fd)
{
    controlFds_.erase(fd);
    if (fd >= 0 && path && SimScsi::isControlFile(path)) {
        controlFds_[fd] = path;
        state_.ensureLoaded();
        SimTranscript(state_).opened(path);
    }
    return fd;
}

void SimOsBoundary::recordControlWrite(int fd, const void* buf, ssize_t written)
{
    auto it = controlFds_.find(fd);
    if (it == controlFds_.end() || written <= 0)
        return;
    state_.ensureLoaded();
    SimTranscript(state_).controlWrite(it->second, static_cast<const char*>(buf), static_cast<size_t>(written));
}

int SimOsBoundary::reserveDescriptor(const Descriptor& d)
{
    // A real descriptor of our own (on /dev/null) reserves the number, so it is never 0 and
    // never one the process already uses or will be given while it stays open.
    // Numbers 0-2 are kept clear even when the process closed its standard streams.
    int low = ::open("/dev/null", O_RDONLY | O_CLOEXEC);
    if (low < 0)
        return -1;
    int fd = low > 2 ? low : fcntl(low, F_DUPFD_CLOEXEC, 3);
    if (fd != low)
        ::close(low);
    if (fd >= 0)
        fds_[fd] = d;
    if (fd >= 0 && d.disk)
        SimTranscript(state_).opened(d.path);
    return fd;
}

int SimOsBoundary::close(int fd)
{
    auto disk = fds_.find(fd);
    if (disk != fds_.end() && disk->second.disk)
        SimTranscript(state_).closed(disk->second.path);
    auto control = controlFds_.find(fd);
    if (control != controlFds_.end())
        SimTranscript(state_).closed(control->second);
    fds_.erase(fd);
    controlFds_.erase(fd);
    return ::close(fd);
}

int SimOsBoundary::ioctl(int fd, unsigned long request, void* arg)
{
    auto it = fds_.find(fd);
    if (it == fds_.end())
        return ::ioctl(fd, request, arg);
    state_.ensureLoaded();
    if (it->second.disk)
        return disk_.ioctl(it->second.scsi, request, arg);
    return driver_.ioctl(it->second.driverKind, request, arg);
}

ssize_t SimOsBoundary::read(int fd, void* buf, size_t count)
{
    if (fds_.count(fd)) {
        errno = EINVAL;
        return -1;
    }
    return ::read(fd, buf, count);
}

ssize_t SimOsBoundary::write(int fd, const void* buf, size_t count)
{
    if (fds_.count(fd)) {
        errno = EINVAL;
        return -1;
    }
    const ssize_t written = ::write(fd, buf, count);
    recordControlWrite(fd, buf, written);
    return written;
}

FILE* SimOsBoundary::fopen(const char* path, const char* mode)
{
    const FileFault* fault = state_.ensureLoaded() == 0 ? findFileFault(state_.model(), path) : nullptr;
    if (fault != nullptr)
        return openFaultyFile(*fault, hostPath(path), mode);
    return ::fopen(hostPath(path).c_str(), mode);
}

int SimOsBoundary::mknod(const char* path, mode_t mode, dev_t dev)
{
    std::string m = hostPath(path);
    if (path && m != path && (S_ISCHR(mode) || S_ISBLK(mode))) {
        NodeInfo node;
        node.type = S_ISCHR(mode) ? 'c' : 'b';
        node.major = major(dev);
        node.minor = minor(dev);
        return writeNode(m, node, mode & 07777);
    }
    return ::mknod(m.c_str(), mode, dev);
}

int SimOsBoundary::stat(const char* path, struct stat* st)
{
    std::string m = hostPath(path);
    int rc = ::stat(m.c_str(), st);
    if (rc == 0 && path && m != path)
        reportNode(m, st);
    return rc;
}

int SimOsBoundary::lstat(const char* path, struct stat* st)
{
    std::string m = hostPath(path);
    int rc = ::lstat(m.c_str(), st);
    if (rc == 0 && path && m != path)
        reportNode(m, st);
    return rc;
}

int SimOsBoundary::access(const char* path, int mode) { return ::access(hostPath(path).c_str(), mode); }
int SimOsBoundary::unlink(const char* path) { return ::unlink(hostPath(path).c_str()); }

ssize_t SimOsBoundary::readlink(const char* path, char* buf, size_t size)
{
    return ::readlink(hostPath(path).c_str(), buf, size);
}

DIR* SimOsBoundary::opendir(const char* path) { return ::opendir(hostPath(path).c_str()); }

int SimOsBoundary::scandir(const char* path, struct dirent*** namelist,
                           int (*filter)(const struct dirent*),
                           int (*compar)(const struct dirent**, const struct dirent**))
{
    return ::scandir(hostPath(path).c_str(), namelist, filter, compar);
}

int SimOsBoundary::uname(struct utsname* buf)
{
    if (!buf) {
        errno = EFAULT;
        return -1;
    }
    int rc = ::uname(buf);
    if (rc != 0)
        return rc;
    if (state_.ensureLoaded() == 0) {
        const std::string& release = state_.model().kernelRelease;
        memset(buf->release, 0, sizeof buf->release);
        memcpy(buf->release, release.c_str(),
               release.size() < sizeof buf->release ? release.size() : sizeof buf->release - 1);
    }
    return 0;
}

int SimOsBoundary::system(const char* command)
{
    state_.ensureLoaded();
    SimTranscript(state_).shell(command);
    unsigned long seconds = 0;
    if (command && parseShellSleep(command, seconds)) {
        advanceClock(seconds > 0xFFFFFFFFul ? 0xFFFFFFFFu : static_cast<unsigned>(seconds));
        return 0;
    }
    if (command && isClear(command))
        return 0;
    CatGrep pipeline;
    if (command && parseCatGrep(command, pipeline))
        return runCatGrep(pipeline.file, pipeline.pattern, pipeline.out);
    // Everything else (the report's information pipelines) runs in the real shell.
    return ::system(command);
}

// The pipeline on the host's files: the lines of `file` that hold `pattern`, written to `out`
// (created empty when the file cannot be read, as the shell's redirection does). The shell's
// status: 0 when a line matched, 1 when none did, 2 when `out` cannot be written.
int SimOsBoundary::runCatGrep(const std::string& file, const std::string& pattern, const std::string& out)
{
    FILE* to = ::fopen(hostPath(out.c_str()).c_str(), "w");
    if (!to)
        return 2 << 8;
    FILE* from = ::fopen(hostPath(file.c_str()).c_str(), "r");
    bool matched = false;
    if (from) {
        std::string line;
        int ch = 0;
        while ((ch = fgetc(from)) != EOF) {
            line += static_cast<char>(ch);
            if (ch != '\n')
                continue;
            if (line.find(pattern) != std::string::npos) {
                fputs(line.c_str(), to);
                matched = true;
            }
            line.clear();
        }
        if (!line.empty() && line.find(pattern) != std::string::npos) {
            fputs(line.c_str(), to);
            matched = true;
        }
        ::fclose(from);
    }
    ::fclose(to);
    return matched ? 0 : 1 << 8;
}

time_t SimOsBoundary::currentTime()
{
    if (state_.ensureLoaded() == 0 && state_.model().hostTime != 0)
        return static_cast<time_t>(state_.model().hostTime);
    return ::time(nullptr);
}

unsigned int SimOsBoundary::sleep(unsigned int seconds)
{
    state_.ensureLoaded();
    SimTranscript(state_).slept(seconds);
    advanceClock(seconds);
    return 0;
}

void SimOsBoundary::advanceClock(unsigned int seconds)
{
    state_.ensureLoaded();
    state_.advanceClock(seconds);
    state_.saveIfChanged();
}

const char* SimOsBoundary::libraryPathPattern(int attempt)
{
    return (attempt >= 0 && attempt < 3) ? libraryPattern_.c_str() : nullptr;
}

} // namespace sim
