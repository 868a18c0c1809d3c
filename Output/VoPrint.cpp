#include "Output/VoPrint.h"

#include <cstring>
#include <sys/select.h>

#include "PavUtil/FileIO.h"
#include "PavUtil/IgnoreStatus.h"

namespace {

const char* const PAGE_PROMPT = "Press <ENTER> to continue....\n";
const char* const DEFAULT_CONSOLE_LOG = "QuillSAS.log";

}  // namespace

VoPrint* VoPrint::instance()
{
    static OsVoPrint printer;
    return &printer;
}

VoPrint::VoPrint()
    : mode(VOPRINT_MODE_SCREEN | VOPRINT_MODE_LOG),
      pageLength(0),
      lineCount(0),
      logFileName(DEFAULT_CONSOLE_LOG),
      outStream(nullptr),
      inStream(nullptr)
{
}

VoPrint::~VoPrint()
{
}

unsigned char VoPrint::getMode()
{
    return mode;
}

void VoPrint::setMode(unsigned char newMode)
{
    mode = newMode;
}

unsigned char VoPrint::getPageLength()
{
    return pageLength;
}

void VoPrint::setPageLength(unsigned char newPageLength)
{
    pageLength = newPageLength;
}

string VoPrint::getLogFileName()
{
    return logFileName;
}

void VoPrint::setLogFileName(const apstring& name)
{
    logFileName = name;
}

unsigned short VoPrint::getLineCount()
{
    return lineCount;
}

void VoPrint::setLineCount(unsigned short newLineCount)
{
    lineCount = newLineCount;
}

void VoPrint::setConsoleStreams(FILE* out, FILE* in)
{
    outStream = out;
    inStream = in;
}

FILE* VoPrint::consoleOut() const
{
    return outStream != nullptr ? outStream : stdout;
}

FILE* VoPrint::consoleIn() const
{
    return inStream != nullptr ? inStream : stdin;
}

void OsVoPrint::print(const apstring& text)
{
    unsigned char currentMode = getMode();

    if (currentMode & VOPRINT_MODE_SCREEN) {
        writeScreen(text.c_str());
        // Texts reach the screen (or the pipe a script reads) as they are printed, so that
        // nothing already shown is lost if the process ends abnormally, and the order with
        // other writers of the terminal stays the order of the calls.
        fflush(consoleOut());
    }

    // The console log receives every text handed in, also with the screen off, and never
    // the page prompt.
    if (currentMode & VOPRINT_MODE_LOG)
        appendToLog(text);
}

void OsVoPrint::writeScreen(const char* text)
{
    FILE* out = consoleOut();

    if (pageLength == 0) {
        fputs(text, out);
        return;
    }

    // Lines are counted across texts: a page can hold the end of one text and the start of
    // the next. Only a line feed completes a line; a text without one (a table cell, a
    // progress line ending in "\r") never prompts by itself.
    const char* rest = text;
    while (*rest != '\0') {
        const char* lineFeed = strchr(rest, '\n');
        size_t chunkLength;
        if (lineFeed == nullptr) {
            chunkLength = strlen(rest);
        } else {
            chunkLength = static_cast<size_t>(lineFeed - rest) + 1;
            lineCount = static_cast<unsigned short>(lineCount + 1);
        }
        fwrite(rest, 1, chunkLength, out);
        rest += chunkLength;

        // A counter already beyond the page (page length lowered during the run) prompts at
        // once rather than running on until the 16-bit counter wraps.
        if (lineFeed != nullptr && lineCount >= pageLength)
            pagePrompt();
    }
}

void OsVoPrint::pagePrompt()
{
    FILE* out = consoleOut();
    fputs(PAGE_PROMPT, out);
    fflush(out);
    // Exactly one character, whatever it is; the rest of a typed line is left for the next
    // prompts. At end of input the read returns at once and printing goes on.
    ignoreStatus(fgetc(consoleIn()), "any key goes on, and so does the end of input");
    lineCount = 0;
}

void OsVoPrint::appendToLog(const apstring& text)
{
    // Opened, appended to and closed for every text: no file stays open between texts.
    // A log that cannot be opened is skipped without a word; the screen already has the text.
    string name = getLogFileName();
    FileIO* fileIO = FileIO::instance();
    FileHandle* handle = fileIO->open(name.c_str(), "a");
    if (handle == nullptr)
        return;
    // A text that does not reach the console log (a full or failing disk) is lost in silence,
    // as when the log cannot be opened, and the command goes on.
    const char* const lost = "the log is a copy of the screen, which has the text";
    ignoreStatus(fileIO->printf(handle, "%s", text.c_str()), lost);
    ignoreStatus(fileIO->close(handle), lost);
}

int keyPressed()
{
    fd_set readSet;
    FD_ZERO(&readSet);
    FD_SET(0, &readSet);
    struct timeval timeout;
    timeout.tv_sec = 0;
    timeout.tv_usec = 0;
    if (select(1, &readSet, nullptr, nullptr, &timeout) == -1)
        return 0;
    return FD_ISSET(0, &readSet) ? 1 : 0;
}
