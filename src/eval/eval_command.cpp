#include <cstdio>

#include "ucci/dev_commands.h"

int eval_command(int, char**) {
    std::fprintf(stderr, "eval: not available in this build\n");
    return 2;
}
