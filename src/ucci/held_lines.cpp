#include "ucci/held_lines.h"

#include <cstring>

#include "ucci/line_input.h"

namespace {

constexpr int HELD_LINES = 128;
char held[HELD_LINES][LINE_SIZE];
int first = 0, count = 0;

}  // namespace

bool held_lines_full() { return count == HELD_LINES; }

void hold_line(const char* line) {
    if (count == HELD_LINES) return;
    char* slot = held[(first + count) % HELD_LINES];
    std::strncpy(slot, line, LINE_SIZE - 1);
    slot[LINE_SIZE - 1] = '\0';
    ++count;
}

bool take_held_line(char* line) {
    if (count == 0) return false;
    std::memcpy(line, held[first], LINE_SIZE);
    first = (first + 1) % HELD_LINES;
    --count;
    return true;
}
