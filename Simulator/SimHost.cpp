#include "Simulator/SimHost.h"

#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "Simulator/Description/SimDescription.h"
#include "Simulator/Description/SimPresets.h"
#include "Simulator/SimLayout.h"

namespace sim {

namespace {

// The exit code of a program whose simulated host cannot be used.
const int EXIT_BAD_HOST = 1;

} // namespace

int createHost(const std::string& dir, const HostModel& model) { return SimLayout::create(dir, model); }

int createHostFromPreset(const std::string& dir, const std::string& preset)
{
    HostModel model;
    if (!SimPresets::state(preset, model)) {
        fprintf(stderr, "quillsim: unknown preset \"%s\"\n", preset.c_str());
        return -1;
    }
    return createHost(dir, model);
}

int createHostFromDescription(const std::string& dir, const std::string& descriptionText)
{
    HostModel model;
    std::string error;
    if (!readDescription(descriptionText, model, error)) {
        fprintf(stderr, "quillsim: %s\n", error.c_str());
        return -1;
    }
    return createHost(dir, model);
}

SimHost::SimHost(const std::string& hostDir, bool trace)
    : state_(hostDir), driver_(state_, trace), boundary_(state_, driver_)
{
}

void SimHost::install() { setOsBoundary(&boundary_); }

void SimHost::uninstall() { setOsBoundary(nullptr); }

} // namespace sim

int installSimulatedHost()
{
    const char* dir = getenv("QUILLCLI_SIM_HOST");
    if (!dir || !*dir)
        return 0;
    static sim::SimHost* host = nullptr;
    if (!host) {
        const char* trace = getenv("QUILLCLI_SIM_TRACE");
        char resolved[PATH_MAX];
        std::string root = realpath(dir, resolved) ? resolved : dir;
        while (root.size() > 1 && root.back() == '/')
            root.pop_back();
        // Kept for the whole process (never deleted): objects destroyed at exit, such as the
        // driver-node owner, still close their descriptors through the boundary.
        sim::SimHost* made = new sim::SimHost(root, trace && strcmp(trace, "1") == 0);
        if (made->load() != 0) {
            delete made;
            return sim::EXIT_BAD_HOST;
        }
        host = made;
    }
    host->install();
    return 0;
}
