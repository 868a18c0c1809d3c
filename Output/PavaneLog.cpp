#include "Output/PavaneLog.h"

#include "Output/VoPrint.h"
#include "PavUtil/FileIO.h"
#include "PavUtil/IgnoreStatus.h"

#include <cerrno>
#include <cstdarg>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

const char* const APP_LOG_FILE_NAME = "./Volant.log";
const char* const DEBUG_LOG_FILE_NAME = "./VoDbg.log";

namespace {

const char* const moduleNames[LOG_MODULE_COUNT] = {
    "Pavane Monitor", "Controller Mgmt", "Quilllib Wrapper", "Volant",
    "Pavane Log",     "Popup Log",       "Email Log",        "Unknown Module",
};

const char* const levelNames[LOG_LEVEL_COUNT] = {"Debug", "Info", "Warning", "Error", "Fatal"};

LogClock logClock = nullptr;

time_t currentTime() { return logClock != nullptr ? logClock() : time(nullptr); }

// The modes of the two logs, kept beside their loggers.
int32_t appLogMode = LOGMODE_APPEND;
uint8_t debugLogMode = LOGMODE_APPEND;

uint8_t clampMode(uint8_t mode) { return mode > LOGMODE_OFF ? LOGMODE_OFF : mode; }

} // namespace

PavaneLog* PavaneLog::instance()
{
    static PavaneLog theNames;
    return &theNames;
}

PavaneLog::PavaneLog()
{
    for (int i = 0; i < LOG_MODULE_COUNT; ++i) {
        modules[i] = moduleNames[i];
    }
    for (int i = 0; i < LOG_LEVEL_COUNT; ++i) {
        levels[i] = levelNames[i];
    }
}

PavaneLog::~PavaneLog() {}

const string& PavaneLog::moduleName(uint8_t module) const
{
    return modules[module < LOG_MODULE_COUNT ? module : LOG_MODULE_UNKNOWN];
}

const string& PavaneLog::levelName(uint8_t level) const
{
    return levels[level < LOG_LEVEL_COUNT ? level : LOGLEVEL_FATAL];
}

Logger::Logger(uint8_t loggerModule, uint8_t loggerThreshold)
    : module(loggerModule), threshold(loggerThreshold), names(PavaneLog::instance())
{
}

Logger::~Logger() {}

FileLogger::FileLogger(const apstring& name, uint8_t loggerModule, uint8_t loggerThreshold)
    : Logger(loggerModule, loggerThreshold), fileName(name), openMode(0)
{
}

FileLogger::~FileLogger() {}

int64_t FileLogger::fileSize() const
{
    // Non-blocking, so that a FIFO left under the log's name cannot stall the command.
    int fd = ::open(fileName.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        return -1;
    }
    struct stat st;
    int64_t size = fstat(fd, &st) == 0 ? static_cast<int64_t>(st.st_size) : -1;
    ::close(fd);
    return size;
}

void FileLogger::rotate()
{
    FileIO* files = FileIO::instance();
    string backup = fileName + string(".1");
    errno = 0;
    if (files->remove(backup.c_str()) != 0 && errno != ENOENT) {
        files->remove(fileName.c_str());
        return;
    }
    if (files->rename(fileName.c_str(), backup.c_str()) != 0) {
        files->remove(fileName.c_str());
    }
}

void formatLogTimestamp(const struct tm& local, char* buffer, size_t size)
{
    snprintf(buffer, size, "%02d/%02d/%04d %2.2d:%2.2d:%2.2d ", local.tm_mon + 1, local.tm_mday,
             local.tm_year + 1900, local.tm_hour, local.tm_min, local.tm_sec);
}

void FileLogger::log(const char* sourceFile, int line, uint8_t lineModule, uint8_t level, const apstring& text)
{
    if (level < threshold || text.length() == 0) {
        return;
    }
    time_t now = currentTime();
    struct tm local = {};
    localtime_r(&now, &local);
    char timestamp[64];
    formatLogTimestamp(local, timestamp, sizeof timestamp);

    int64_t size = fileSize();
    if (size != -1 && size > LOG_FILE_ROTATE_SIZE) {
        rotate();
    }

    FileIO* files = FileIO::instance();
    FileHandle* file = files->open(fileName.c_str(), openMode == 1 ? "w" : "a");
    if (file == nullptr) {
        return;
    }
    // A line that does not reach the log (a full or failing disk) is lost in silence, as when
    // the log cannot be opened.
    const char* const lost = "the log records the command; it does not decide its result";
    ignoreStatus(files->printf(file, "%s (%s)(%s) %s %d : %s\n", timestamp, names->moduleName(lineModule).c_str(),
                               names->levelName(level).c_str(), sourceFile != nullptr ? sourceFile : "", line,
                               text.c_str()),
                 lost);
    ignoreStatus(files->close(file), lost);
}

void setLogClock(LogClock clock) { logClock = clock; }

FileLogger* applicationLogger()
{
    static FileLogger logger(string(APP_LOG_FILE_NAME), LOG_MODULE_VOLANT, LOGLEVEL_DEBUG);
    return &logger;
}

FileLogger* debugLogger()
{
    static FileLogger logger(string(DEBUG_LOG_FILE_NAME), LOG_MODULE_VOLANT, LOGLEVEL_DEBUG);
    return &logger;
}

int32_t getAppLogMode() { return appLogMode; }
uint8_t getDebugLogMode() { return debugLogMode; }

void appLogText(const char* sourceFile, int line, uint8_t module, uint8_t level, const apstring& text)
{
    FileLogger* logger = applicationLogger();
    if (appLogMode == LOGMODE_OFF || level < logger->getThreshold()) {
        return;
    }
    logger->log(sourceFile, line, module, level, text);
}

void appLogFormatted(const char* sourceFile, int line, uint8_t module, uint8_t level, const char* format, ...)
{
    if (format == nullptr) {
        return;
    }
    char buffer[TEXT_FORMAT_BUFFER];
    va_list args;
    va_start(args, format);
    vsnprintf(buffer, sizeof buffer, format, args);
    va_end(args);
    appLogText(sourceFile, line, module, level, string(buffer));
}

void appLogAndPrint(const char* sourceFile, int line, uint8_t module, uint8_t level, const apstring& text)
{
    appLogText(sourceFile, line, module, level, text);
    VoPrint::instance()->print(text);
}

void appLogArgs(const char* sourceFile, int line, uint8_t module, uint8_t level, uint16_t id,
                const TextArg* args, size_t argCount)
{
    string text = argCount == 0 ? logMessageText(id) : debugLogText(id);
    if (text.length() == 0) {
        return;
    }
    char buffer[TEXT_FORMAT_BUFFER];
    formatTableText(buffer, sizeof buffer, text.c_str(), args, argCount);
    appLogText(sourceFile, line, module, level, string(buffer));
}

void debugLogArgs(const char* sourceFile, int line, uint8_t module, uint8_t level, uint16_t id,
                  const TextArg* args, size_t argCount)
{
    FileLogger* logger = debugLogger();
    if (debugLogMode == LOGMODE_OFF || level < logger->getThreshold()) {
        return;
    }
    string text = debugLogText(id);
    if (text.length() == 0) {
        return;
    }
    char buffer[TEXT_FORMAT_BUFFER];
    formatTableText(buffer, sizeof buffer, text.c_str(), args, argCount);
    logger->log(sourceFile, line, module, level, string(buffer));
}

void setAppLogMode(uint8_t mode)
{
    appLogMode = clampMode(mode);
    if (appLogMode == LOGMODE_NEWFILE) {
        applicationLogger()->setOpenMode(1);
    }
}

void setAppLogFileName(const apstring& name) { applicationLogger()->setFileName(name); }

void setDebugLogLevel(uint8_t level) { debugLogger()->setThreshold(level > LOGLEVEL_FATAL ? LOGLEVEL_FATAL : level); }

void setDebugLogMode(uint8_t mode)
{
    debugLogMode = clampMode(mode);
    if (debugLogMode == LOGMODE_NEWFILE) {
        debugLogger()->setOpenMode(1);
    }
}
