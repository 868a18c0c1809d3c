// The host's file system failing writes to a named file (the description's "fileFaults"):
// the program's own files (event-log output, captures, saved configurations, logs) are opened
// through the boundary, which hands out a stream over the real file whose writes, or whose
// close, fail as a full or broken disk would make them fail.
#ifndef SIMFILEFAULTS_H
#define SIMFILEFAULTS_H

#include <cstdio>
#include <string>

#include "Simulator/SimModel.h"

namespace sim {

// The fault naming `path` exactly as the program gave it; null when there is none.
const FileFault* findFileFault(const HostModel& host, const char* path);

// Opens `file` with `mode` as fopen does, behind a stream that fails as `fault` says: with
// FileFailure::WRITE the file is created or opened but nothing reaches it (every write fails
// with the fault's errno), with FileFailure::CLOSE the text is written and the close fails.
FILE* openFaultyFile(const FileFault& fault, const std::string& file, const char* mode);

} // namespace sim

#endif
