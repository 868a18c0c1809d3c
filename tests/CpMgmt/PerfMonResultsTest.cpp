// The performance monitor's results text appended to a file: its status tells whether the file
// took the text, which the end-to-end rows (whose failing writes show only when the file is
// closed) cannot reach by itself.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "CpMgmt/CmdPro/Adapter/PerfMonCp.h"
#include "PavUtil/FileIO.h"

namespace {

TEST(PerfMonResults, WriteStatusTellsWhetherTheFileTookTheText)
{
    const struct {
        const char* what;
        std::string path;
        const char* mode;
        int status;
    } cases[] = {
        {"a file that takes the text", "/dev/null", "w", 0},
        {"a stream open for reading only", std::string(QUILL_SOURCE_DIR) + "/README.md", "r", -1},
    };
    const uint8_t results[272] = {};  // one ordinary drive, nothing to report
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        FileIO* io = FileIO::instance();
        FileHandle* file = io->open(c.path.c_str(), c.mode);
        ASSERT_NE(file, nullptr);
        EXPECT_EQ(PerfMonCp::writeResults(results, file, sizeof results), c.status);
        io->close(file);
    }
}

}  // namespace
