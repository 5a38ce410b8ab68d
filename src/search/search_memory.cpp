#include "search/search_memory.h"

#include <cstring>

#include "search/tt.h"

void clear_killers_and_history(Count& e) {
    std::memset(e.killers, 0, sizeof(e.killers));
    std::memset(&e.history, 0, sizeof(e.history));
    journal_close(e.history_kept);
    for (cut_tally& t : e.history_cuts.cell) t = {1, 1};
}

void forget_last_game(Count& e) {
    tt_clear(e);
    e.tt_generation = 0;
    clear_killers_and_history(e);
    e.fh_total = e.fh_first = 0;
}
