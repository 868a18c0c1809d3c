// Shared set-up of the fuzz targets: a console that never waits and an operating-system
// boundary that stops the run at the first platform call.
#ifndef FUZZ_FUZZSUPPORT_H
#define FUZZ_FUZZSUPPORT_H

#include <cstddef>
#include <string>

// Once per process: standard output (the scanner's echo) and the console printer go to
// /dev/null, and the printer's page prompt reads from a stream that aborts the run when it is
// read, since a prompt during fuzzing would wait for a key that never comes.
void quietConsole();

// Before every input: no paging, no console log, no application or debug log, so that no
// option on an input makes the run write a file or wait.
void resetConsole();

// Installs a boundary on which every platform call (a driver node, /proc, /sys, a file,
// the shell) aborts the run with the call's name: the code under test must reach none.
void forbidPlatformCalls();

// The input as text up to its first NUL; false when it holds a NUL (a command line, or a
// file line, cannot).
bool inputText(const unsigned char* data, size_t size, std::string& text);

#endif
