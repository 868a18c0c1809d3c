// Entry point of the quillsim tool.
#include <string>
#include <vector>

#include "Simulator/QuillSim.h"

int main(int argc, char** argv)
{
    std::vector<std::string> args(argv + 1, argv + argc);
    return runQuillSim(args);
}
