// A node that searches its first move before it has listed its quiet moves
// scores them afterwards, with the history values they would have had before
// that search. The journal keeps what the history held when the node opened
// it, for the node to look back at once and close.
#pragma once
#include <cstdint>

#include "board/square_pair_table.h"

struct history_journal {
    // Changes kept one by one; beyond these (or when the table is halved) the
    // whole table as it was is kept instead.
    static constexpr int CAPACITY = 1024;

    uint16_t cell[CAPACITY];
    int32_t value[CAPACITY];  // the cell's value before the change
    int32_t length;
    bool open;
    bool whole;  // `table` holds the values at the opening
    int32_t table[PLAYING_SQUARES * PLAYING_SQUARES];
};

// Starts keeping changes; false (and nothing kept) when it already does.
bool journal_open(history_journal& j);
void journal_close(history_journal& j);

void journal_save_whole(history_journal& j, const square_pair_table& t);

// Called before one cell of `t` changes.
inline void journal_note(history_journal& j, const square_pair_table& t, int index) {
    if (!j.open || j.whole) return;
    if (j.length == history_journal::CAPACITY) {
        journal_save_whole(j, t);
        return;
    }
    j.cell[j.length] = static_cast<uint16_t>(index);
    j.value[j.length] = t.cell[index];
    j.length += 1;
}
// Called before every cell of `t` changes.
inline void journal_note_all(history_journal& j, const square_pair_table& t) {
    if (j.open && !j.whole) journal_save_whole(j, t);
}

// Puts the values at the opening into `t`; journal_replay restores the
// current ones. Each entry swaps with its cell, so the two run in opposite
// orders.
void journal_rewind(history_journal& j, square_pair_table& t);
void journal_replay(history_journal& j, square_pair_table& t);
