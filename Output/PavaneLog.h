// The application log and the debug log: files of timestamped lines
//   "MM/DD/YYYY hh:mm:ss  (module)(level) source line : text\n"
// written by the command processors and configured by the front end from the global options.
// Every line opens, writes and closes its file; a file larger than LOG_FILE_ROTATE_SIZE is
// first moved aside to its name plus ".1".
#ifndef PAVANELOG_H
#define PAVANELOG_H

#include "Output/VoError.h"
#include "PavUtil/apstring.h"

#include <cstdint>
#include <ctime>

// Levels.
const uint8_t LOGLEVEL_DEBUG = 0;
const uint8_t LOGLEVEL_INFO = 1;
const uint8_t LOGLEVEL_WARNING = 2;
const uint8_t LOGLEVEL_ERROR = 3;
const uint8_t LOGLEVEL_FATAL = 4;

// Modules; every caller of the system passes LOG_MODULE_VOLANT.
const uint8_t LOG_MODULE_PAVANE_MONITOR = 0;
const uint8_t LOG_MODULE_CONTROLLER_MGMT = 1;
const uint8_t LOG_MODULE_QUILLLIB_WRAPPER = 2;
const uint8_t LOG_MODULE_VOLANT = 3;
const uint8_t LOG_MODULE_PAVANE_LOG = 4;
const uint8_t LOG_MODULE_POPUP_LOG = 5;
const uint8_t LOG_MODULE_EMAIL_LOG = 6;
const uint8_t LOG_MODULE_UNKNOWN = 7;

const int LOG_MODULE_COUNT = 8;
const int LOG_LEVEL_COUNT = 5;

// Log modes.
const uint8_t LOGMODE_APPEND = 0;   // lines are appended (the initial mode)
const uint8_t LOGMODE_NEWFILE = 1;  // every line opens the file with "w": it keeps the last line only
const uint8_t LOGMODE_OFF = 2;      // nothing is written, the file is not touched

// A log file larger than this is moved aside before the next line is written.
const int64_t LOG_FILE_ROTATE_SIZE = 0x7FFFF;

extern const char* const APP_LOG_FILE_NAME;    // "./Volant.log"
extern const char* const DEBUG_LOG_FILE_NAME;  // "./VoDbg.log"

// Module and level names as the lines show them.
class PavaneLog {
public:
    static PavaneLog* instance();

    // "Unknown Module" for 8 and above.
    const string& moduleName(uint8_t module) const;
    // "Fatal" for 5 and above.
    const string& levelName(uint8_t level) const;

    virtual ~PavaneLog();

private:
    PavaneLog();
    PavaneLog(const PavaneLog&) = delete;
    PavaneLog& operator=(const PavaneLog&) = delete;

    string modules[LOG_MODULE_COUNT];
    string levels[LOG_LEVEL_COUNT];
};

class Logger {
public:
    Logger(uint8_t module, uint8_t threshold);
    virtual void log(const char* sourceFile, int line, uint8_t module, uint8_t level, const apstring& text) = 0;
    virtual ~Logger();

    void setThreshold(uint8_t value) { threshold = value; }
    uint8_t getThreshold() const { return threshold; }
    uint8_t getModule() const { return module; }

protected:
    uint8_t module;     // the logger's own module; lines carry the caller's
    uint8_t threshold;  // lines of a lower level are not written
    PavaneLog* names;

private:
    Logger(const Logger&) = delete;
    Logger& operator=(const Logger&) = delete;
};

class FileLogger : public Logger {
public:
    FileLogger(const apstring& fileName, uint8_t module, uint8_t threshold);
    void log(const char* sourceFile, int line, uint8_t module, uint8_t level, const apstring& text) override;
    ~FileLogger() override;

    // 1: every later line opens the file with "w"; 0: with "a".
    void setOpenMode(int mode) { openMode = mode; }
    int getOpenMode() const { return openMode; }
    void setFileName(const apstring& name) { fileName = name; }
    string getFileName() const { return fileName; }

    // The file's size in bytes; -1 when it cannot be opened or examined.
    int64_t fileSize() const;

private:
    // Moves the file aside to its name plus ".1"; when that cannot be done the file is deleted,
    // so that the log starts again.
    void rotate();

    string fileName;
    int32_t openMode;
};

// Makes the timestamp of a line ("MM/DD/YYYY hh:mm:ss ", with its final blank) for a local time.
void formatLogTimestamp(const struct tm& local, char* buffer, size_t size);

// The clock of the log lines; null restores the system clock. Lets tests fix the time.
typedef time_t (*LogClock)();
void setLogClock(LogClock clock);

// The two process-wide logs and their modes.
FileLogger* applicationLogger();
FileLogger* debugLogger();
int32_t getAppLogMode();
uint8_t getDebugLogMode();

// Application-log line of a finished text (nothing in mode LOGMODE_OFF or below the threshold).
void appLogText(const char* sourceFile, int line, uint8_t module, uint8_t level, const apstring& text);
// Application-log line of a printf format and its arguments, formatted into a bounded buffer.
void appLogFormatted(const char* sourceFile, int line, uint8_t module, uint8_t level, const char* format, ...)
    __attribute__((format(printf, 5, 6)));
// appLogText, then the same text on the console, whatever the log's mode.
void appLogAndPrint(const char* sourceFile, int line, uint8_t module, uint8_t level, const apstring& text);

// Log lines by text id. Without arguments the line is the text of the application-log table
// for appLog, of the debug-log table for debugLog, written as it stands. With arguments both use
// the debug-log table, whose texts carry the conversions of the firmware-failure, file and event
// lines (0x0300 a file name, 0x0301 opcode and status, 0x0302 event opcode, sequence number,
// return code and count); arguments that do not fit the text follow it in parentheses.
// An id without text writes nothing and touches no file.
void appLogArgs(const char* sourceFile, int line, uint8_t module, uint8_t level, uint16_t id,
                const TextArg* args, size_t argCount);
void debugLogArgs(const char* sourceFile, int line, uint8_t module, uint8_t level, uint16_t id,
                  const TextArg* args, size_t argCount);

template <typename... Args>
void appLog(const char* sourceFile, int line, uint8_t module, uint8_t level, uint16_t id, const Args&... args)
{
    const TextArg list[] = {TextArg(args)..., TextArg(0)};
    appLogArgs(sourceFile, line, module, level, id, list, sizeof...(Args));
}

template <typename... Args>
void debugLog(const char* sourceFile, int line, uint8_t module, uint8_t level, uint16_t id, const Args&... args)
{
    const TextArg list[] = {TextArg(args)..., TextArg(0)};
    debugLogArgs(sourceFile, line, module, level, id, list, sizeof...(Args));
}

// Settings made by the front end from the global options.
void setAppLogMode(uint8_t mode);        // above LOGMODE_OFF counts as LOGMODE_OFF
void setAppLogFileName(const apstring& name);
void setDebugLogLevel(uint8_t level);    // above LOGLEVEL_FATAL counts as LOGLEVEL_FATAL
void setDebugLogMode(uint8_t mode);

#endif
