// vyr-reg: queries and edits the registry store from the command line.
#include "tools/vyr-reg/regcommand.h"
#include <iostream>

int main(int argc, char** argv)
{
    return vyr::tools::runReg(std::vector<std::string>(argv + 1, argv + argc), std::cin,
                              std::cout, std::cerr);
}
