#include <cstdio>

int main() {
    std::puts("evc: not built yet");
    return 1;
}
