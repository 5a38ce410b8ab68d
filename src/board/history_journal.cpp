#include "board/history_journal.h"

#include <algorithm>

bool journal_open(history_journal& j) {
    if (j.open) return false;
    j.open = true;
    j.whole = false;
    j.length = 0;
    return true;
}

void journal_close(history_journal& j) {
    j.open = false;
    j.whole = false;
    j.length = 0;
}

void journal_save_whole(history_journal& j, const square_pair_table& t) {
    std::copy(std::begin(t.cell), std::end(t.cell), j.table);
    for (int i = j.length - 1; i >= 0; --i) j.table[j.cell[i]] = j.value[i];
    j.whole = true;
    j.length = 0;
}

void journal_rewind(history_journal& j, square_pair_table& t) {
    if (j.whole) std::swap_ranges(std::begin(t.cell), std::end(t.cell), j.table);
    else
        for (int i = j.length - 1; i >= 0; --i) std::swap(t.cell[j.cell[i]], j.value[i]);
}

void journal_replay(history_journal& j, square_pair_table& t) {
    if (j.whole) std::swap_ranges(std::begin(t.cell), std::end(t.cell), j.table);
    else
        for (int i = 0; i < j.length; ++i) std::swap(t.cell[j.cell[i]], j.value[i]);
}
