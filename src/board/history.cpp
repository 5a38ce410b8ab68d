#include "board/history.h"

#include <cstring>

namespace {

template <typename T>
void shift_down(T* stack, int kept) {
    std::memmove(stack, stack + HISTORY_PLY_DROP, sizeof(T) * static_cast<size_t>(kept));
    std::memset(static_cast<void*>(stack + kept), 0, sizeof(T) * static_cast<size_t>(MAX_PLY_STACK - kept));
}

}  // namespace

void forget_oldest_plies(Count& e) {
    if (e.ply < HISTORY_PLY_DROP) return;
    const int kept = e.ply - HISTORY_PLY_DROP + 1;  // plies HISTORY_PLY_DROP..ply become 0..
    shift_down(e.move_stack, kept);
    shift_down(e.key_stack, kept);
    shift_down(e.sums_before, kept);
    shift_down(e.check_stack, kept);
    shift_down(e.repetition_stack, kept);
    e.ply -= HISTORY_PLY_DROP;
    e.book_miss_count = 9999;
}
