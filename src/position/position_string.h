// The engine's 32-square position string, FEN conversion and position set-up.
#pragma once
#include "board/engine.h"

// Square numbers of the 32 piece slots of the initial array, each followed by a blank.
extern const char START_POSITION_STRING[];
constexpr int POSITION_STRING_SIZE = 160;  // generous; a string is at most 32 * 4 characters

// Converts FEN text into a position string and a side to move (0 red, 1 black).
// A FEN that does not fit the data model (too many pieces of a kind, rows that
// are not 9 cells, a row count other than 10, unknown characters) is refused:
// the result is false and `error` names the fault. Text with no field at all
// gives the initial array; a missing side field means red to move, and a side
// field other than w, r or b is refused.
bool fen_to_position_string(const char* fen, char* out, int& side, const char** error = nullptr);

// Replaces the engine position. The initial array starts a new game: the
// transposition tables are emptied, and the book is on when red is to move. A
// null or empty string sets up the initial array with red to move.
void setup_position(Count& e, const char* position_string, int side);

bool is_start_position_string(const char* position_string);

// False, with the reason in `error`, for a position that no game can reach:
// a king missing, a king, advisor or elephant off its own squares, the kings
// facing each other or the side not to move in check. The engine position is
// unchanged on return.
bool position_is_possible(Count& e, const char* position_string, int side, const char** error);
