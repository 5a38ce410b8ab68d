// Making a searched move and classifying it: illegal, a repetition, or the
// check it gives. Inline: it runs for every move of every full-width node.
#pragma once
#include "board/check.h"
#include "board/engine.h"
#include "board/make_move.h"
#include "board/repetition.h"
#include "eval/eval_cache.h"
#include "search/search_common.h"
#include "search/tt.h"

constexpr int MOVE_SKIPPED = -2;   // illegal, or a forbidden repetition: not made
constexpr int MOVE_REPEATED = -3;  // an allowed repetition: made, scored without a search

// Where the own-king test stands among the others.
enum class legality {
    known,         // the list holds only legal moves (evasions are filtered when scored)
    tested_first,  // an illegal move is undone before its check and repetition are looked at
    // After the check and repetition are recorded, in full (the root's own
    // check need not be recorded yet): the root's hash-book answer reads the
    // check code the root filter recorded for the last move it made.
    tested_last,
};

// Makes m and records its check and repetition status. Returns the check code
// the move gives, or MOVE_SKIPPED (undone), or MOVE_REPEATED (made; the child's
// line is cleared). A repetition is forbidden by the root's rule with the
// root's own code `root_repetition`, which below the root is REPETITION_NONE.
// With `prefetch` (the child will probe the table) its slots start loading
// before the move is made; `thorough` is the repetition test's own switch.
inline int make_and_classify(Count& e, const move_t& m, int side, int h, legality legal, bool prefetch,
                             bool thorough = false, int root_repetition = REPETITION_NONE) {
    if (prefetch) tt_prefetch_key(e, 1 - side, key_after(e, m));
    make_move(e, m);
    if (legal == legality::tested_first &&
        (e.height_check[h] == CHECK_NONE ? own_check_after_move(e, m, side) : in_check(e, side)) != 0) {
        unmake_move(e, m);
        return MOVE_SKIPPED;
    }
    eval_cache_prefetch(e);
    // Every node above the root was reached by a legal move: the other side is not in check.
    const int g = h > 0 ? check_given_by_move(e, m, side) : in_check(e, 1 - side);
    e.check_stack[e.ply] = g;
    e.height_check[h + 1] = g;
    const int repetition = check_repetition(e, side, thorough);
    e.repetition_stack[e.ply] = repetition;
    if ((legal == legality::tested_last && in_check(e, side) != 0) || repetition_forbidden(repetition, root_repetition)) {
        unmake_move(e, m);
        return MOVE_SKIPPED;
    }
    if (repetition != REPETITION_NONE) {
        pv_row(e, h + 1)[0] = move_t{};
        e.pv_length[h + 1] = 0;
        return MOVE_REPEATED;
    }
    return g;
}
