#include "ucci/print.h"

#include <cstdio>

namespace {

bool lost = false;

}  // namespace

void print_line(const char* text) {
    if (lost) return;
    std::fputs(text, stdout);
    std::fputc('\n', stdout);
    if (std::fflush(stdout) != 0 || std::ferror(stdout)) lost = true;
}

bool output_lost() { return lost; }
