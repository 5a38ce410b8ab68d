// The notation reader: one move of a game record, in coordinates (h2e2,
// H2-E2), WXF (C2.5, H8+7, +R.4) or Chinese (炮二平五, 馬８進７, 前車進一),
// decided against the legal moves of the position, never by the text alone.
#pragma once
#include <string>

#include "board/engine.h"

enum move_reading {
    MOVE_READ,        // exactly one legal move fits
    MOVE_UNREADABLE,  // the text is no move in any notation
    MOVE_ILLEGAL,     // no legal move fits
    MOVE_AMBIGUOUS,   // more than one legal move fits
};

const char* reading_text(move_reading r);  // "unreadable move" and so on

// Reads `text` (UTF-8) as a move of the side to move. The board is unchanged.
move_reading read_move(Count& e, const std::string& text, move_t& out);

// UCCI text of a move (h2e2) into a buffer of at least 5 bytes.
void move_to_ucci(const move_t& m, char* ucci);
