// Helpers shared by the tests of the error texts, log files and system services.
#ifndef LOGS_TEST_UTIL_H
#define LOGS_TEST_UTIL_H

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace logstest {

// A fresh directory under the system's temporary directory, removed with its contents.
class TempDir {
public:
    TempDir()
    {
        const char* base = getenv("TMPDIR");
        std::string pattern = std::string(base != nullptr && *base != '\0' ? base : "/tmp") + "/quill-logs-XXXXXX";
        std::vector<char> buf(pattern.begin(), pattern.end());
        buf.push_back('\0');
        char* made = mkdtemp(buf.data());
        dir = made != nullptr ? made : "";
    }
    ~TempDir()
    {
        if (!dir.empty()) {
            std::string cmd = "rm -rf '" + dir + "'";
            if (system(cmd.c_str()) != 0) {
                // nothing more to do: the directory is only test debris
            }
        }
    }
    const std::string& path() const { return dir; }
    std::string file(const std::string& name) const { return dir + "/" + name; }

private:
    std::string dir;
};

// Runs the test body inside a directory and returns to the previous one afterwards.
class InDirectory {
public:
    explicit InDirectory(const std::string& dir)
    {
        char buf[4096];
        previous = getcwd(buf, sizeof buf) != nullptr ? buf : "/";
        ok = chdir(dir.c_str()) == 0;
    }
    ~InDirectory()
    {
        if (chdir(previous.c_str()) != 0) {
            // the previous directory vanished; the tests that follow use absolute paths
        }
    }
    bool entered() const { return ok; }

private:
    std::string previous;
    bool ok;
};

inline bool fileExists(const std::string& path)
{
    struct stat st;
    return ::stat(path.c_str(), &st) == 0;
}

inline std::string readFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

inline void writeFile(const std::string& path, const std::string& contents)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << contents;
}

} // namespace logstest

#endif
