#include "E2eHarness.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <fstream>
#include <poll.h>
#include <signal.h>
#include <sstream>
#include <stdexcept>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

std::string makeTempDir(const char* tag)
{
    std::string pattern = std::string("/tmp/") + tag + "-XXXXXX";
    std::vector<char> buf(pattern.begin(), pattern.end());
    buf.push_back('\0');
    if (!mkdtemp(buf.data()))
        throw std::runtime_error("mkdtemp failed");
    return buf.data();
}

void removeTree(const std::string& dir)
{
    if (dir.empty() || dir.rfind("/tmp/", 0) != 0)
        return;
    std::string cmd = "rm -rf '" + dir + "'";
    if (::system(cmd.c_str()) != 0) {
        // Left behind for inspection; nothing else to do.
    }
}

std::string readFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

static void collectFiles(const std::string& dir, const std::string& prefix,
                         std::map<std::string, std::string>& files)
{
    DIR* d = opendir(dir.c_str());
    if (!d)
        return;
    while (struct dirent* e = readdir(d)) {
        std::string name = e->d_name;
        if (name == "." || name == "..")
            continue;
        std::string path = dir + "/" + name;
        struct stat st;
        if (lstat(path.c_str(), &st) != 0)
            continue;
        if (S_ISREG(st.st_mode))
            files[prefix + name] = readFile(path);
        else if (S_ISDIR(st.st_mode))
            collectFiles(path, prefix + name + "/", files);
    }
    closedir(d);
}

RunResult runProgram(const RunSpec& spec)
{
    RunResult result;
    std::string program = spec.program.empty() ? std::string(QUILLCLISIM_BIN) : spec.program;
    result.workDir = spec.workDir.empty() ? makeTempDir("quillrun") : spec.workDir;

    int inPipe[2], outPipe[2], errPipe[2];
    if (pipe(inPipe) || pipe(outPipe) || pipe(errPipe))
        throw std::runtime_error("pipe failed");

    std::vector<std::string> envStrings;
    for (char** e = environ; *e; ++e) {
        std::string kv = *e;
        if (kv.rfind("QUILLCLI_", 0) == 0 || kv.rfind("SYSFS_PATH=", 0) == 0)
            continue;
        // A variable the run sets replaces the inherited one (the first of two would win).
        bool replaced = false;
        for (const auto& own : spec.env)
            replaced = replaced || kv.rfind(own.first + "=", 0) == 0;
        if (replaced)
            continue;
        envStrings.push_back(kv);
    }
    for (const auto& kv : spec.env)
        envStrings.push_back(kv.first + "=" + kv.second);

    pid_t pid = fork();
    if (pid < 0)
        throw std::runtime_error("fork failed");
    if (pid == 0) {
        dup2(inPipe[0], 0);
        dup2(outPipe[1], 1);
        dup2(errPipe[1], 2);
        for (int fd : {inPipe[0], inPipe[1], outPipe[0], outPipe[1], errPipe[0], errPipe[1]})
            close(fd);
        if (chdir(result.workDir.c_str()) != 0)
            _exit(126);
        std::vector<char*> argv;
        argv.push_back(const_cast<char*>(program.c_str()));
        for (const auto& a : spec.args)
            argv.push_back(const_cast<char*>(a.c_str()));
        argv.push_back(nullptr);
        std::vector<char*> envp;
        for (auto& kv : envStrings)
            envp.push_back(const_cast<char*>(kv.c_str()));
        envp.push_back(nullptr);
        execve(program.c_str(), argv.data(), envp.data());
        _exit(127);
    }
    close(inPipe[0]);
    close(outPipe[1]);
    close(errPipe[1]);

    // Feed standard input and drain both outputs together, so no pipe fills and blocks.
    signal(SIGPIPE, SIG_IGN);
    size_t written = 0;
    int inFd = inPipe[1];
    if (spec.stdinText.empty()) {
        close(inFd);
        inFd = -1;
    } else {
        fcntl(inFd, F_SETFL, O_NONBLOCK);
    }
    bool outOpen = true, errOpen = true;
    char buf[65536];
    while (outOpen || errOpen) {
        struct pollfd fds[3];
        int n = 0;
        int outIdx = -1, errIdx = -1, inIdx = -1;
        if (outOpen) { fds[n] = {outPipe[0], POLLIN, 0}; outIdx = n++; }
        if (errOpen) { fds[n] = {errPipe[0], POLLIN, 0}; errIdx = n++; }
        if (inFd >= 0) { fds[n] = {inFd, POLLOUT, 0}; inIdx = n++; }
        if (poll(fds, n, -1) < 0) {
            if (errno == EINTR)
                continue;
            break;
        }
        if (outIdx >= 0 && fds[outIdx].revents) {
            ssize_t r = read(outPipe[0], buf, sizeof buf);
            if (r > 0) result.out.append(buf, r); else outOpen = false;
        }
        if (errIdx >= 0 && fds[errIdx].revents) {
            ssize_t r = read(errPipe[0], buf, sizeof buf);
            if (r > 0) result.err.append(buf, r); else errOpen = false;
        }
        if (inIdx >= 0 && fds[inIdx].revents) {
            ssize_t w = write(inFd, spec.stdinText.data() + written, spec.stdinText.size() - written);
            if (w > 0) written += w;
            if (w < 0 || written == spec.stdinText.size()) {
                close(inFd);
                inFd = -1;
            }
        }
    }
    if (inFd >= 0)
        close(inFd);
    close(outPipe[0]);
    close(errPipe[0]);

    int status = 0;
    waitpid(pid, &status, 0);
    result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    collectFiles(result.workDir, "", result.files);
    return result;
}

// Copies the folder `from` to `to` (made here): folders, regular files with their modes, and
// symbolic links as they are. A host folder holds nothing else, and its links are relative.
static bool copyTree(const std::string& from, const std::string& to)
{
    struct stat st;
    if (lstat(from.c_str(), &st) != 0 || mkdir(to.c_str(), st.st_mode & 07777) != 0)
        return false;
    DIR* d = opendir(from.c_str());
    if (!d)
        return false;
    bool ok = true;
    while (struct dirent* e = readdir(d)) {
        std::string name = e->d_name;
        if (name == "." || name == "..")
            continue;
        std::string src = from + "/" + name, dst = to + "/" + name;
        if (lstat(src.c_str(), &st) != 0) {
            ok = false;
        } else if (S_ISDIR(st.st_mode)) {
            ok = copyTree(src, dst) && ok;
        } else if (S_ISLNK(st.st_mode)) {
            std::vector<char> target(st.st_size + 1, '\0');
            ok = readlink(src.c_str(), target.data(), st.st_size) == st.st_size &&
                 symlink(target.data(), dst.c_str()) == 0 && ok;
        } else {
            std::ofstream(dst, std::ios::binary) << readFile(src);
            ok = chmod(dst.c_str(), st.st_mode & 07777) == 0 && ok;
        }
    }
    closedir(d);
    return ok;
}

// The hosts made so far in this test process, by what they were made from; each is made once
// ("quillsim create" costs a program start, and more under the sanitizers) and every further
// call gets a copy. They go when the process ends.
namespace {
class HostTemplates {
public:
    ~HostTemplates()
    {
        for (const auto& made : dirs_)
            removeTree(made.second);
    }

    // A fresh copy of the host made from a preset, or from a description when there is one.
    std::string copyOf(const std::string& preset, const std::string* description)
    {
        std::string key = description ? "--from\n" + *description : "--preset\n" + preset;
        auto found = dirs_.find(key);
        if (found == dirs_.end())
            found = dirs_.emplace(key, create(preset, description)).first;
        std::string dir = makeTempDir("quillhost");
        if (!copyTree(found->second + "/host", dir + "/host"))
            throw std::runtime_error("copying the simulated host " + found->second + " failed");
        return dir + "/host";
    }

private:
    static std::string create(const std::string& preset, const std::string* description)
    {
        std::string dir = makeTempDir("quillhost");
        RunSpec spec;
        spec.program = QUILLSIM_BIN;
        spec.args = {"create", dir + "/host", "--preset", preset};
        if (description) {
            std::ofstream(dir + "/description.json") << *description;
            spec.args = {"create", dir + "/host", "--from", dir + "/description.json"};
        }
        RunResult r = runProgram(spec);
        removeTree(r.workDir);
        if (r.exitCode != 0) {
            removeTree(dir);
            throw std::runtime_error("quillsim create failed: " + r.err);
        }
        return dir;
    }

    std::map<std::string, std::string> dirs_;
};

HostTemplates& hostTemplates()
{
    static HostTemplates templates;
    return templates;
}
} // namespace

std::string makeSimHost(const std::string& preset)
{
    return hostTemplates().copyOf(preset, nullptr);
}

std::string makeSimHostFrom(const std::string& description)
{
    return hostTemplates().copyOf("", &description);
}

std::string addSimFault(const std::string& hostDir, const std::vector<std::string>& faultArgs)
{
    RunSpec spec;
    spec.program = QUILLSIM_BIN;
    spec.args = {"fault", hostDir};
    spec.args.insert(spec.args.end(), faultArgs.begin(), faultArgs.end());
    RunResult r = runProgram(spec);
    removeTree(r.workDir);
    return r.exitCode == 0 ? "" : "quillsim fault failed: " + r.err;
}

std::string commandLogField(const std::string& line, const std::string& key)
{
    const size_t at = line.find(" " + key + "=");
    if (at == std::string::npos)
        return std::string();
    const size_t from = at + key.size() + 2;
    return line.substr(from, line.find(' ', from) - from);
}

std::vector<std::string> loggedFirmwareCommands(const std::string& hostDir)
{
    std::vector<std::string> result;
    std::istringstream log(readFile(hostDir + "/commands.log"));
    std::string line;
    while (std::getline(log, line)) {
        std::istringstream words(line);
        std::string word, host, opcode, outcome;
        while (words >> word) {
            if (word.rfind("host=", 0) == 0)
                host = word;
            else if (word.rfind("opcode=", 0) == 0)
                opcode = word;
            else if (word.rfind("status=", 0) == 0 || word.rfind("ioctl=", 0) == 0 ||
                     word.rfind("rejected=", 0) == 0)
                outcome = word;
        }
        result.push_back(host + " " + opcode + " " + outcome);
    }
    return result;
}

std::vector<std::string> withoutModelReads(const std::vector<std::string>& log)
{
    static const char* const modelReads[] = {" opcode=0x02010000 ", " opcode=0x02010100 ", " opcode=0x02020000 ",
                                             " opcode=0x04010000 ", " opcode=0x03010000 ", " opcode=0x09010000 "};
    std::vector<std::string> kept;
    for (const std::string& line : log) {
        bool model = false;
        for (const char* read : modelReads)
            model = model || line.find(read) != std::string::npos;
        if (!model)
            kept.push_back(line);
    }
    return kept;
}

std::vector<std::string> refreshReads(unsigned host)
{
    return {"host=" + std::to_string(host) + " opcode=0x01010000 status=0x00"};
}
