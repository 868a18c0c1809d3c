// Test fixture around the process-wide console printer: screen text goes to a temporary
// file, the page prompt reads scripted input, the console log lives in a private temporary
// directory, and the printer's state is restored afterwards.
#ifndef OUTPUT_TEST_CONSOLEFIXTURE_H
#define OUTPUT_TEST_CONSOLEFIXTURE_H

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <unistd.h>

#include "Output/VoPrint.h"

class ConsoleFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        VoPrint* printer = VoPrint::instance();
        savedMode = printer->getMode();
        savedPageLength = printer->getPageLength();
        savedLineCount = printer->getLineCount();
        savedLogName = printer->getLogFileName().c_str();

        char pattern[] = "/tmp/quill-output-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        dir = pattern;
        logPath = dir + "/console.log";

        out = tmpfile();
        ASSERT_NE(out, nullptr);
        setInput("");

        printer->setMode(VOPRINT_MODE_SCREEN | VOPRINT_MODE_LOG);
        printer->setPageLength(0);
        printer->setLineCount(0);
        printer->setLogFileName(string(logPath.c_str()));
    }

    void TearDown() override
    {
        VoPrint* printer = VoPrint::instance();
        printer->setConsoleStreams(nullptr, nullptr);
        printer->setMode(savedMode);
        printer->setPageLength(savedPageLength);
        printer->setLineCount(savedLineCount);
        printer->setLogFileName(string(savedLogName.c_str()));
        if (out != nullptr)
            fclose(out);
        if (in != nullptr)
            fclose(in);
        std::string cmd = "rm -rf '" + dir + "'";
        if (!dir.empty())
            (void)!system(cmd.c_str());
    }

    // The characters the page prompt will read, in order.
    void setInput(const std::string& text)
    {
        if (in != nullptr)
            fclose(in);
        in = tmpfile();
        ASSERT_NE(in, nullptr);
        fwrite(text.data(), 1, text.size(), in);
        rewind(in);
        VoPrint::instance()->setConsoleStreams(out, in);
    }

    static std::string readStream(FILE* stream)
    {
        std::string text;
        char buf[4096];
        size_t n;
        while ((n = fread(buf, 1, sizeof(buf), stream)) > 0)
            text.append(buf, n);
        return text;
    }

    // Everything written to the screen so far.
    std::string screen()
    {
        fflush(out);
        long pos = ftell(out);
        rewind(out);
        std::string text = readStream(out);
        fseek(out, pos, SEEK_SET);
        return text;
    }

    // The input the prompts have not read.
    std::string unreadInput() { return readStream(in); }

    static bool exists(const std::string& path) { return access(path.c_str(), F_OK) == 0; }

    static std::string fileText(const std::string& path)
    {
        FILE* f = fopen(path.c_str(), "rb");
        if (f == nullptr)
            return "<missing>";
        std::string text = readStream(f);
        fclose(f);
        return text;
    }

    std::string logText() { return fileText(logPath); }

    static void print(const char* text) { VoPrint::instance()->print(string(text)); }

    std::string dir;
    std::string logPath;
    FILE* out = nullptr;
    FILE* in = nullptr;

private:
    unsigned char savedMode = 0;
    unsigned char savedPageLength = 0;
    unsigned short savedLineCount = 0;
    std::string savedLogName;
};

static const char* const PROMPT = "Press <ENTER> to continue....\n";

#endif
