#include "PavUtil/FileIO.h"
#include "System/OsBoundary.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <string>
#include <unistd.h>

namespace {

class FileIOTest : public testing::Test {
protected:
    void SetUp() override
    {
        char pattern[] = "/tmp/pavutil-fileio-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        dir = pattern;
        io = FileIO::instance();
    }
    void TearDown() override { std::system(("rm -rf '" + dir + "'").c_str()); }

    std::string path(const char* name) const { return dir + "/" + name; }

    void writeFile(const char* name, const std::string& content)
    {
        FileHandle* h = io->open(path(name).c_str(), "wb");
        ASSERT_NE(h, nullptr);
        ASSERT_EQ(io->write(content.data(), 1, static_cast<unsigned int>(content.size()), h),
                  content.size());
        ASSERT_EQ(io->close(h), 0);
    }

    std::string dir;
    FileIO* io = nullptr;
};

// Counts the files opened through the boundary, as a simulated host would map them.
class CountingBoundary : public OsBoundary {
public:
    int opens = 0;
    FILE* fopen(const char* p, const char* mode) override
    {
        ++opens;
        return OsBoundary::fopen(p, mode);
    }
};

} // namespace

TEST_F(FileIOTest, OneServicePerProcess)
{
    EXPECT_EQ(FileIO::instance(), FileIO::instance());
    EXPECT_NE(dynamic_cast<FileIOLibStdC*>(FileIO::instance()), nullptr);
}

TEST_F(FileIOTest, OpeningAMissingFileForReadingYieldsNull)
{
    EXPECT_EQ(io->open(path("missing").c_str(), "r"), nullptr);
    EXPECT_NE(io->remove(path("missing").c_str()), 0);
}

TEST_F(FileIOTest, BinaryRoundTripAndSize)
{
    writeFile("data.bin", std::string("0123456789abcdefghijkl"));  // 22 bytes
    FileHandle* h = io->open(path("data.bin").c_str(), "rb");
    ASSERT_NE(h, nullptr);
    // The size: seek to the end, tell, seek back.
    EXPECT_EQ(io->seek(h, 0, FILEIO_SEEK_END), 0);
    EXPECT_EQ(io->tell(h), 22);
    EXPECT_EQ(io->seek(h, 0, FILEIO_SEEK_BEGIN), 0);
    EXPECT_EQ(io->tell(h), 0);

    unsigned int words[10] = {};
    EXPECT_EQ(io->read(words, 4, 10, h), 5u);  // whole elements only
    EXPECT_NE(io->eof(h), 0);
    EXPECT_EQ(io->error(h), 0);

    // Origin 0 positions from the start, like FILEIO_SEEK_BEGIN.
    EXPECT_EQ(io->seek(h, 10, 0), 0);
    char c = 0;
    EXPECT_EQ(io->read(&c, 1, 1, h), 1u);
    EXPECT_EQ(c, 'a');
    EXPECT_EQ(io->seek(h, -2, FILEIO_SEEK_END), 0);
    EXPECT_EQ(io->read(&c, 1, 1, h), 1u);
    EXPECT_EQ(c, 'k');
    EXPECT_EQ(io->seek(h, -100, FILEIO_SEEK_BEGIN), -1);
    EXPECT_EQ(io->close(h), 0);
}

TEST_F(FileIOTest, TextLinesPrintfGetsScanf)
{
    FileHandle* h = io->open(path("text.txt").c_str(), "w");
    ASSERT_NE(h, nullptr);
    EXPECT_EQ(io->printf(h, "%s %d\n", "major", 251), 10);
    EXPECT_EQ(io->printf(h, "%s", "a line without end"), 18);
    EXPECT_EQ(io->close(h), 0);

    h = io->open(path("text.txt").c_str(), "r");
    ASSERT_NE(h, nullptr);
    char word[16];
    int number = 0;
    EXPECT_EQ(io->scanf(h, "%15s %d", word, &number), 2);
    EXPECT_STREQ(word, "major");
    EXPECT_EQ(number, 251);
    EXPECT_EQ(io->seek(h, 0, FILEIO_SEEK_BEGIN), 0);

    char line[80];
    ASSERT_NE(io->gets(line, sizeof line, h), nullptr);
    EXPECT_STREQ(line, "major 251\n");
    char small[6];
    ASSERT_EQ(io->gets(small, sizeof small, h), small);  // at most size - 1 bytes
    EXPECT_STREQ(small, "a lin");
    ASSERT_NE(io->gets(line, sizeof line, h), nullptr);
    EXPECT_STREQ(line, "e without end");
    EXPECT_EQ(io->gets(line, sizeof line, h), nullptr);  // at end of file
    EXPECT_NE(io->eof(h), 0);
    EXPECT_EQ(io->gets(line, 0, h), nullptr);
    EXPECT_EQ(io->close(h), 0);
}

TEST_F(FileIOTest, AppendRenameRemove)
{
    writeFile("log", "one\n");
    FileHandle* h = io->open(path("log").c_str(), "a");
    ASSERT_NE(h, nullptr);
    io->printf(h, "two\n");
    EXPECT_EQ(io->close(h), 0);

    EXPECT_EQ(io->rename(path("log").c_str(), path("log.1").c_str()), 0);
    EXPECT_EQ(io->open(path("log").c_str(), "r"), nullptr);
    h = io->open(path("log.1").c_str(), "r");
    ASSERT_NE(h, nullptr);
    char all[32] = {};
    EXPECT_EQ(io->read(all, 1, sizeof all - 1, h), 8u);
    EXPECT_STREQ(all, "one\ntwo\n");
    EXPECT_EQ(io->close(h), 0);
    EXPECT_EQ(io->remove(path("log.1").c_str()), 0);
    EXPECT_NE(io->rename(path("log.1").c_str(), path("x").c_str()), 0);
}

TEST_F(FileIOTest, FailedStreamResultsAreReturned)
{
    // Writing to a stream opened for reading: short count and the error indicator.
    writeFile("ro", "abc");
    FileHandle* h = io->open(path("ro").c_str(), "r");
    ASSERT_NE(h, nullptr);
    EXPECT_EQ(io->write("xyz", 1, 3, h), 0u);
    EXPECT_NE(io->error(h), 0);
    io->close(h);

    // A null handle is answered like a failed stream, never dereferenced.
    EXPECT_EQ(io->tell(nullptr), -1);
    EXPECT_EQ(io->seek(nullptr, 0, FILEIO_SEEK_END), -1);
    char buf[4];
    EXPECT_EQ(io->read(buf, 1, 4, nullptr), 0u);
    EXPECT_EQ(io->gets(buf, 4, nullptr), nullptr);
    EXPECT_LT(io->printf(nullptr, "x"), 0);
    EXPECT_NE(io->close(nullptr), 0);
}

TEST_F(FileIOTest, FilesAreOpenedThroughTheOperatingSystemBoundary)
{
    CountingBoundary boundary;
    setOsBoundary(&boundary);
    writeFile("through", "x");
    setOsBoundary(nullptr);
    EXPECT_EQ(boundary.opens, 1);
}
