// The QuillCli program: one command line from the arguments to the exit code. This is the
// product: it always runs against the real system.
#include "Parser/VolantManager.h"

int main(int argc, char** argv)
{
    return volantMain(argc, argv);
}
