#include "app/cli/KtxCommands.h"

#include <iostream>

int main(int argc, char** argv)
{
    return kestrix::app::runKtx(argc, argv, std::cout, std::cerr);
}
