// SPDX-License-Identifier: MIT
#include "frame/program.h"

int main(int argc, char** argv) {
    return stepwell::runStepwell(argc, argv);
}
