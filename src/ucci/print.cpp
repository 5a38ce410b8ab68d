#include "ucci/print.h"

#include <cstdio>

void print_line(const char* text) {
    std::fputs(text, stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}
