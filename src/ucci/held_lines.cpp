#include "ucci/held_lines.h"

#include <cstring>

#include "ucci/line_input.h"

namespace {

// Room for many ordinary lines or two of the longest.
constexpr int HELD_LINES = 256;
constexpr size_t HELD_BYTES = 2 * LINE_BUFFER_SIZE;

struct held_t {
    size_t offset, length;
};

// The held lines lie one after the other from the first line's offset on.
char bytes[HELD_BYTES];
held_t held[HELD_LINES];
int first = 0, count = 0;
size_t used_end = 0;

held_t& slot(int i) { return held[(first + i) % HELD_LINES]; }

// Moves the held lines to the start of the storage.
void compact() {
    if (count == 0) {
        used_end = 0;
        return;
    }
    const size_t start = slot(0).offset;
    std::memmove(bytes, bytes + start, used_end - start);
    for (int i = 0; i < count; ++i) slot(i).offset -= start;
    used_end -= start;
}

}  // namespace

bool hold_line(const char* line) {
    const size_t length = std::strlen(line);
    if (count == HELD_LINES || length > LINE_LIMIT) return false;
    if (HELD_BYTES - used_end < length) compact();
    if (HELD_BYTES - used_end < length) return false;
    std::memcpy(bytes + used_end, line, length);
    slot(count) = held_t{used_end, length};
    used_end += length;
    ++count;
    return true;
}

bool take_held_line(char* line) {
    if (count == 0) return false;
    const held_t h = slot(0);
    std::memcpy(line, bytes + h.offset, h.length);
    line[h.length] = '\0';
    first = (first + 1) % HELD_LINES;
    if (--count == 0) used_end = 0;
    return true;
}

void drop_held_lines() {
    first = count = 0;
    used_end = 0;
}
