#include <cstdio>

#include "ucci/dev_commands.h"

int bench_command(int, char**) {
    std::fprintf(stderr, "bench: not available in this build\n");
    return 2;
}
