#include "board/perft.h"

#include "board/check.h"
#include "board/make_move.h"
#include "board/movegen.h"

uint64_t perft(Count& e, int side, int depth, int ply) {
    generate_moves(e, side, ply);
    const move_t* const first = e.ply_moves[ply];
    const move_t* const last = e.ply_moves[ply + 1];
    // As in the search: a side not in check need test only the moves that may
    // expose its king.
    const bool checked = in_check(e, side) != CHECK_NONE;
    uint64_t nodes = 0;
    if (depth == 1) {
        // Bulk count at the last ply.
        for (const move_t* m = first; m < last; ++m)
            nodes += (!checked && !may_expose_king(e, *m, side)) || is_legal(e, *m, side);
        return nodes;
    }
    for (const move_t* m = first; m < last; ++m) {
        make_move(e, *m);
        if ((checked ? in_check(e, side) : own_check_after_move(e, *m, side)) == CHECK_NONE)
            nodes += perft(e, 1 - side, depth - 1, ply + 1);
        unmake_move(e, *m);
    }
    return nodes;
}
