// Whether one quiet move is in the full move list, without writing the list:
// the search asks it of the table's move and the killers before it decides
// whether the quiet moves need generating at all.
#pragma once
#include "board/engine.h"

// True when generate_moves for `side` lists from -> to as a quiet move,
// leaving aside the king-capture rule (a list that holds a king capture holds
// nothing else; the caller knows that from the captures).
bool quiet_move_listed(const Count& e, int side, int from, int to);
