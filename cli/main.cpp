// SPDX-License-Identifier: MIT
// yawmark-batch: runs a skid without a window and prints its trajectory or draws its plot.
#include "cli/BatchRunner.h"

#include <iostream>
#include <string>
#include <vector>

int main(int argc, char** argv) {
    std::ios::sync_with_stdio(false);
    const std::vector<std::string> args(argv + 1, argv + argc);
    return yawmark::runBatch(args, std::cout, std::cerr);
}
