// SPDX-License-Identifier: GPL-3.0-or-later
// kestro, the command-line tool.
#include <iostream>

#include "cli/Cli.h"

int main(int argc, char* argv[]) {
    std::vector<std::string> args(argv, argv + argc);
    return kestro::cli::Run(args, std::cout, std::cerr);
}
