#include "Simulator/SimHost.h"

#include <climits>
#include <cstdlib>
#include <cstring>

namespace sim {

SimHost::SimHost(const std::string& hostDir, bool trace)
    : state_(hostDir), driver_(state_, trace), boundary_(state_, driver_)
{
}

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
        host = new sim::SimHost(root, trace && strcmp(trace, "1") == 0);
    }
    setOsBoundary(&host->boundary());
    return 0;
}
