#include "search/search_memory.h"

#include <cstring>

#include "search/tt.h"

void clear_killers_and_history(Count& e) {
    std::memset(e.killers, 0, sizeof(e.killers));
    std::memset(e.history, 0, sizeof(e.history));
    for (int from = 0; from < 256; ++from) {
        for (int to = 0; to < 256; ++to) {
            e.history_tries[from][to] = 1;
            e.history_hits[from][to] = 1;
        }
    }
}

void forget_last_game(Count& e) {
    tt_clear(e);
    e.tt_generation = 0;
    clear_killers_and_history(e);
    e.fh_total = e.fh_first = 0;
}
