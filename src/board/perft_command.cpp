#include <cstdio>

#include "ucci/dev_commands.h"

int perft_command(int, char**) {
    std::fprintf(stderr, "perft: not available in this build\n");
    return 2;
}
