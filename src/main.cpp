#include "ui/app/QtStartup.h"

int main(int argc, char** argv) {
    return sabrix::Main(argc, argv);
}
