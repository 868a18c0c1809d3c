// QuillCliSim: the same program as QuillCli, built with the simulated host. When
// QUILLCLI_SIM_HOST names a host directory, every platform call of the run goes to that host;
// when it is unset, the program runs against the real system exactly as QuillCli does.
#include "Parser/VolantManager.h"
#include "Simulator/SimHost.h"

int main(int argc, char** argv)
{
    int rc = installSimulatedHost();
    if (rc != 0)
        return rc;
    return volantMain(argc, argv);
}
