// SPDX-License-Identifier: GPL-3.0-or-later
// Writes the empty template database that the program copies at start and on every unload.
#include <cstdio>
#include <exception>

#include "data/ObsTable.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_template PATH\n");
        return 2;
    }
    try {
        sabrix::ObsTable::CreateTemplate(argv[1]);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "make_template: %s\n", e.what());
        return 1;
    }
    return 0;
}
