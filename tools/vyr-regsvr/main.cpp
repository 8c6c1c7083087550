// vyr-regsvr: registers or unregisters a control server library.
#include "tools/vyr-regsvr/regsvr.h"
#include <iostream>

int main(int argc, char** argv)
{
    return vyr::tools::runRegsvr(std::vector<std::string>(argv + 1, argv + argc), std::cout,
                                 std::cerr);
}
