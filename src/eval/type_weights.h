// Terms that depend on the type of a piece, read from a small table by the
// type instead of found by a chain of tests: what stands on a square follows
// the board, not a pattern a branch predictor could learn.
#pragma once
#include <array>
#include <initializer_list>

#include "board/move.h"
#include "eval/side_view.h"

namespace eval {

// Piece types run from 0 (no piece, the edge) to 14; see piece_type.
constexpr int PIECE_TYPE_COUNT = 2 * BLACK_TYPE_OFFSET + 1;
using type_weights = std::array<int, PIECE_TYPE_COUNT>;

struct type_weight {
    int red_type;
    int weight;
};

// The weights of the listed types when they are side S's own pieces, 0 for every other type.
template <int S>
constexpr type_weights own_type_weights(std::initializer_list<type_weight> list) {
    type_weights t{};
    for (const type_weight& w : list) t[side_view<S>::own_type(w.red_type)] = w.weight;
    return t;
}

}  // namespace eval
