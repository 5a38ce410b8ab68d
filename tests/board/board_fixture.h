// An engine object set up from a FEN, and move lists as text, for board tests.
#pragma once
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "board/engine.h"
#include "position/move_text.h"
#include "position/position_string.h"

inline std::unique_ptr<CountEx> engine_at(const std::string& fen) {
    auto e = std::make_unique<CountEx>();
    char position[POSITION_STRING_SIZE];
    int side = RED;
    EXPECT_TRUE(fen_to_position_string(fen.c_str(), position, side)) << fen;
    setup_position(*e, position, side);
    e->ply_moves[0] = e->move_buffer;
    return e;
}

// UCCI text of a move; captures carry an "x".
inline std::string move_text(const move_t& m) {
    char internal[MOVE_TEXT_SIZE], ucci[MOVE_TEXT_SIZE];
    move_to_text(m, internal);
    internal_to_ucci(internal, ucci);
    std::string s = ucci;
    if (m.captured != EMPTY_SQUARE) s += 'x';
    return s;
}

// The list of `ply` as blank-separated move texts, in list order.
inline std::string list_text(const Count& e, int ply) {
    std::string s;
    for (const move_t* m = e.ply_moves[ply]; m < e.ply_moves[ply + 1]; ++m) {
        if (!s.empty()) s += ' ';
        s += move_text(*m);
    }
    return s;
}
