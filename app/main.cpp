// SPDX-License-Identifier: MIT
#include "frame/startup/program.h"

int main(int argc, char** argv) {
    return stepwell::runStepwell(argc, argv);
}
