// The host description: the JSON text of a simulated host's state, as `quillsim create --from`
// takes it, `quillsim show` prints it and state.json keeps it (the format is documented in
// Simulator/README.md). This is the only place where the typed model meets JSON.
//
// Reading is strict: an unknown key, a value of the wrong type or out of its range, a text
// longer than its field and text that is not JSON are refused with a message naming the key
// (with its path, e.g. "controllers[0].pci.device") or the position in the text. Keys left
// out take the model's defaults. Writing leaves out every value equal to its default, so a
// description stays as short as what it says, and reading what was written gives the same
// model back.
#ifndef SIMDESCRIPTION_H
#define SIMDESCRIPTION_H

#include <cstddef>
#include <string>

#include "Simulator/SimModel.h"

namespace sim {

// Parses a whole description; false with `error` set (and `out` unspecified) when refused.
bool readDescription(const char* text, size_t size, HostModel& out, std::string& error);
bool readDescription(const std::string& text, HostModel& out, std::string& error);
// The description of a model: indented JSON ending with a newline.
std::string writeDescription(const HostModel& model);

// One fault as the description's "faults" list holds it (`quillsim fault DIR json ...`).
bool readFault(const std::string& text, Fault& out, std::string& error);
// What is wrong with a fault (a missing value its type needs, a mode without a count); ""
// when it is sound.
std::string checkFault(const Fault& fault);

} // namespace sim

#endif
