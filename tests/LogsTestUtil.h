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

#include "TestSupport.h"

namespace logstest {

using testsupport::TempDir;

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
