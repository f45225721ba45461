// velk-project: converts a project between the stored forms (see SaveFormDataTool.h).
#include <iostream>

#include "SaveFormDataTool.h"

int main(int argc, char** argv)
{
    return RunVelkProject(std::vector<std::string>(argv + 1, argv + argc), std::cerr);
}
