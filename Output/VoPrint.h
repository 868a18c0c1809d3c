// The console printer: every text the user sees reaches the screen through the one
// process-wide VoPrint. It writes the text to standard output, stops after every page of
// completed lines when paging is on, and appends a copy of the text to the console log.
#ifndef VOPRINT_H
#define VOPRINT_H

#include <cstdio>

#include "PavUtil/apstring.h"

// Mode bits; they are independent of each other.
constexpr unsigned char VOPRINT_MODE_SCREEN = 0x01;  // texts go to standard output (paged)
constexpr unsigned char VOPRINT_MODE_LOG = 0x02;     // texts are appended to the console log

class VoPrint {
public:
    // The process-wide printer (an OsVoPrint), made on first use, destroyed at exit.
    static VoPrint* instance();

    virtual void print(const apstring& text) = 0;

    virtual unsigned char getMode();
    virtual void setMode(unsigned char mode);
    virtual unsigned char getPageLength();
    virtual void setPageLength(unsigned char pageLength);
    virtual string getLogFileName();
    // Takes effect with the next printed text; a relative name is relative to the current
    // directory at that moment.
    virtual void setLogFileName(const apstring& name);
    virtual unsigned short getLineCount();
    virtual void setLineCount(unsigned short lineCount);

    virtual ~VoPrint();

    // The streams the screen output goes to and the page prompt reads from; null (the
    // default) means the process's stdout and stdin at the moment of use. Lets a test host
    // drive paging with scripted input and capture the screen text.
    void setConsoleStreams(FILE* out, FILE* in);

    VoPrint(const VoPrint&) = delete;
    VoPrint& operator=(const VoPrint&) = delete;

protected:
    VoPrint();

    FILE* consoleOut() const;
    FILE* consoleIn() const;

    unsigned char mode;
    unsigned char pageLength;     // completed lines per page; 0 means no paging
    unsigned short lineCount;     // completed lines on the current page, across texts
    string logFileName;

private:
    FILE* outStream;
    FILE* inStream;
};

class OsVoPrint : public VoPrint {
public:
    OsVoPrint() {}
    void print(const apstring& text) override;

private:
    void writeScreen(const char* text);
    void pagePrompt();
    void appendToLog(const apstring& text);
};

// 1 when a character is waiting on standard input (not consumed), else 0; never waits.
int keyPressed();

#endif
