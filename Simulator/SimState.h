// The simulated host's state: the typed model of <host>/state.json, which holds the host's
// description (Description/SimDescription.h).
//
// The file is read once per run, straight from one buffer into the model, and written back
// (to a temporary file renamed over state.json, so a reader sees either the old or the new
// state, never a torn one) only after a command changed the model.
#ifndef SIMSTATE_H
#define SIMSTATE_H

#include <cstdint>
#include <string>

#include "Simulator/SimModel.h"

namespace sim {

class SimState {
public:
    static const char* const FILE_NAME;   // "state.json"

    explicit SimState(const std::string& hostDir = std::string());

    const std::string& hostDir() const { return hostDir_; }
    std::string path() const;

    // Reads state.json; 0, or -1 with `error` set (the folder that does not exist, the file
    // that cannot be read, the key or position that the description refuses). The model is
    // then the empty default and is never written.
    int load(std::string& error);
    // The same, printing the message on standard error ("quillsim: ...") unless quiet.
    int load(bool quiet = false);
    // Loads on the first call only (the host's state is read on first use); the result of
    // that first load.
    int ensureLoaded();
    bool loaded() const { return valid_; }
    // Writes the model's description atomically. A state that was neither loaded nor set is
    // never written (-1).
    int save();
    // Saves only when something changed since the last load or save.
    int saveIfChanged();

    HostModel& model() { return model_; }
    const HostModel& model() const { return model_; }
    // A state made in memory (a new host, a test): it counts as changed.
    void setModel(const HostModel& model);
    void markChanged() { changed_ = true; }
    bool changed() const { return changed_; }

    // The simulated clock, in seconds since the host was created.
    uint64_t clock() const { return model_.clock; }
    void advanceClock(uint64_t seconds);

    // The controller answering SCSI host number `host` through driver kind `kind`, or null.
    Controller* findController(unsigned host, int kind);

private:
    std::string hostDir_;
    HostModel model_;
    bool changed_ = false;
    bool valid_ = false;       // loaded or set: only such a state is ever written
    bool loadTried_ = false;
    int loadResult_ = -1;
};

} // namespace sim

#endif
