// The yardstick of the whole-process timings: the least a C++ program that prints one line
// costs on this machine.
#include <iostream>

int main()
{
    std::cout << "Hello from a trivial program." << std::endl;
    return 0;
}
