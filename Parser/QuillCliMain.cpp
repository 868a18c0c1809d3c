// The QuillCli program: one command line from the arguments to the exit code.
#include "Parser/VolantManager.h"
#include "Simulator/SimHost.h"

int main(int argc, char** argv)
{
    // Only when QUILLCLI_SIM_HOST names a simulated host; otherwise the real system is used.
    installSimulatedHost();
    return volantMain(argc, argv);
}
