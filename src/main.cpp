#include <cstdio>

int main() {
    std::puts("Sabrix");
    return 0;
}
