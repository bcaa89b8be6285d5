// The exp loop of bench_interpreter (BM_ExpLoop) written directly in C++
// with std::exp: the floor that the interpreter and Lua are measured
// against, whole process against whole process.
#include <cmath>
#include <cstdio>

int main() {
    volatile double scale = 1e-7;  // kept opaque so the loop is not folded away
    double x = 0.0;
    for (double t = 0.0; t < 2000000.0; t += 1.0) x = std::exp(t * scale);
    std::printf("%.17g\n", x);
    return 0;
}
