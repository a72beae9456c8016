// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/app/QtStartup.h"

int main(int argc, char** argv) {
    return sabrix::Main(argc, argv);
}
