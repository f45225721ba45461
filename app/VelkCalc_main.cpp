#include <iostream>
#include <string>
#include <vector>

#include "VelkCalc.h"

int main(int argc, char** argv)
{
    std::vector<std::string> args(argv + 1, argv + argc);
    return RunVelkCalc(args, std::cout, std::cerr);
}
