// The run sequence of one command line: the front end VolantManager, the end-of-run clean-up
// VolantCleaner and the program's entry logic.
//
// One run scans and checks the line, picks the command's parser by its first word, applies the
// global options, lets the parser build the requests and hands them to the dispatcher; the
// entry turns the outcome into the exit code, prints the firmware error description when a
// firmware status ended the command, and always prints "\nExit Code: 0x%.2x\n".
#ifndef VOLANTMANAGER_H
#define VOLANTMANAGER_H

#include "PavUtil/List.h"
#include "PavUtil/apstring.h"

class Token;

class VolantManager {
public:
    // The process-wide front end, made on first use.
    static VolantManager* instance();

    // Runs one command line: 0 success, -1 failure, any other value the dispatcher's result.
    int run(const apstring& commandLine);
    // Applies the global options of the token list to the console printer and the logs and
    // marks them consumed: 0, or -1 when an option's operand was of the wrong kind (that option
    // then has no effect).
    [[nodiscard]] int processGlobalOptions(ArrayList<Token*>* tokens);

    virtual ~VolantManager();

    VolantManager(const VolantManager&) = delete;
    VolantManager& operator=(const VolantManager&) = delete;

private:
    VolantManager() {}
};

// Releases controller management at the end of a run; the entry keeps one on its stack.
class VolantCleaner {
public:
    VolantCleaner() {}
    virtual ~VolantCleaner();

    VolantCleaner(const VolantCleaner&) = delete;
    VolantCleaner& operator=(const VolantCleaner&) = delete;
};

// The console printer's mode bits, read, changed and written back.
void enableOutputLog();
void disableOutputLog();
void disableScreenOutput();

// The program's entry: joins the arguments (each followed by one blank), runs the line and
// returns the exit code.
int volantMain(int argc, char** argv);

// Turns a run's result into the exit code: reads and clears the last-error word (unless the
// result is 0), prints the firmware error description when a firmware status ended the command,
// and prints the exit line.
int finishRun(int result);

#endif
