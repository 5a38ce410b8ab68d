// The position command: set-up from FEN and replay of the move list.
#pragma once
#include "board/engine.h"
#include "ucci/command.h"

// Sets up the position of a parsed position command. A FEN that does not fit
// the board model leaves the previous position and returns false; a move of
// the list that is not legal ends the replay there. Faults go to stderr.
// `new_game` is set when the command starts a game from the initial array.
bool apply_position_command(Count& e, const command_t& cmd, bool& new_game);
