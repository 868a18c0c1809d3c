// The simulated host: test equipment standing in for the kernel side (driver nodes, /proc,
// sysfs, uname, shell sleeps) and for the controllers' firmware. The program runs exactly as on
// a server; only the OS boundary is swapped, and only when QUILLCLI_SIM_HOST names a host
// directory made by the quillsim tool.
#ifndef SIMHOST_H
#define SIMHOST_H

#include <string>

#include "Simulator/SimDriver.h"
#include "Simulator/SimOsBoundary.h"
#include "Simulator/SimState.h"

namespace sim {

// One host directory with its state, driver and OS boundary.
class SimHost {
public:
    SimHost(const std::string& hostDir, bool trace);

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
// otherwise the program's exit code, after a message on standard error: the program then stops
// instead of running against a host it could not read.
int installSimulatedHost();

#endif
