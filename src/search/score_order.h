// The quiescence search hands out its moves by selection: highest score
// first, ties in an order that depends on the whole list. Some lists are
// mostly moves a filter will pass over without a trace (in check, those that
// cannot lift the attack; among quiet moves, those that cannot give check).
// When no two moves the filter lets through share a score, their order
// follows from their scores alone, whatever else the list holds, so only
// they need scoring and the rest can go.
#pragma once
#include "board/move.h"

// Scores the moves `may_pass` accepts with `score_of`, puts them first in
// [first, last) highest score first, and returns their end. Returns null,
// with the list untouched, when two of them tie (or they are very many).
template <class MayPass, class ScoreOf>
move_t* keep_in_score_order(move_t* first, move_t* last, MayPass may_pass, ScoreOf score_of) {
    constexpr int MAX_KEPT = 64;
    move_t kept[MAX_KEPT];
    int n = 0;
    for (const move_t* m = first; m < last; ++m) {
        if (!may_pass(*m)) continue;
        if (n == MAX_KEPT) return nullptr;
        move_t next = *m;
        next.score = score_of(next);
        int i = n++;
        for (; i > 0 && kept[i - 1].score < next.score; --i) kept[i] = kept[i - 1];
        if (i > 0 && kept[i - 1].score == next.score) return nullptr;
        kept[i] = next;
    }
    for (int i = 0; i < n; ++i) first[i] = kept[i];
    return first + n;
}
