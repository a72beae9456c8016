// SPDX-License-Identifier: GPL-3.0-or-later
// Writes a deterministic benchmark star file: gen_starfile LINES PATH
#include <cstdio>
#include <cstdlib>

#include "StarFileGenerator.h"

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: gen_starfile LINES PATH\n");
        return 2;
    }
    sabrix::bench::StarFileGenerator generator(std::atoll(argv[1]));
    if (!generator.WriteFile(argv[2])) {
        std::fprintf(stderr, "gen_starfile: cannot write %s\n", argv[2]);
        return 1;
    }
    return 0;
}
