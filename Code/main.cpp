#include <cstdio>

int main() {
    std::puts("Vantorel: the main window is not built yet.");
    return 0;
}
