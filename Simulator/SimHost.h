// The simulated host: test equipment standing in for the kernel side (driver nodes, /proc,
// sysfs, uname, shell sleeps) and for the controllers' firmware. The program runs exactly as on
// a server; only the OS boundary is swapped, and only when QUILLCLI_SIM_HOST names a host
// directory made by the quillsim tool.
//
// In-process use (model and processor tests):
//
//     sim::HostModel model;                        // or a preset, or a description's text
//     sim::SimPresets::state("one", model);
//     model.controllers[0].lds.clear();
//     ASSERT_EQ(sim::createHost(dir, model), 0);   // dir: a missing or empty folder
//     sim::SimHost host(dir);
//     ASSERT_EQ(host.load(), 0);
//     host.install();                              // the OS boundary of this process
//     ... run the code under test, read dir + "/commands.log" ...
//     host.uninstall();
#ifndef SIMHOST_H
#define SIMHOST_H

#include <string>

#include "Simulator/SimDriver.h"
#include "Simulator/SimModel.h"
#include "Simulator/SimOsBoundary.h"
#include "Simulator/SimState.h"

namespace sim {

// Makes the host folder `dir` (missing or empty) from a model, a preset or a description's
// text: 0, or -1 after a message on standard error.
int createHost(const std::string& dir, const HostModel& model);
int createHostFromPreset(const std::string& dir, const std::string& preset);
int createHostFromDescription(const std::string& dir, const std::string& descriptionText);

// One host directory with its state, driver and OS boundary.
class SimHost {
public:
    explicit SimHost(const std::string& hostDir, bool trace = false);

    // Reads the host's state: 0, or -1 after a message on standard error.
    int load() { return state_.load(); }
    // Makes this host the OS boundary of the process; uninstall() gives back the real one.
    void install();
    void uninstall();

    SimState& state() { return state_; }
    SimDriver& driver() { return driver_; }
    SimOsBoundary& boundary() { return boundary_; }

private:
    SimState state_;
    SimDriver driver_;
    SimOsBoundary boundary_;
};

} // namespace sim

// Called once by QuillCliSim at start-up. When QUILLCLI_SIM_HOST is set (and not empty) it
// installs the simulated host of that directory as the OS boundary for the rest of the run
// (QUILLCLI_SIM_TRACE=1 also traces every firmware command on standard error); when it is not
// set it does nothing at all. Returns 0 when the variable is unset or the host was installed;
// otherwise the program's exit code, after a message on standard error (a missing folder, an
// unreadable state file, a description it refuses): the program then stops instead of
// running against a host it could not read.
int installSimulatedHost();

#endif
