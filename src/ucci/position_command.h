// The position command: set-up from FEN and replay of the move list.
#pragma once
#include <string>

#include "board/engine.h"
#include "ucci/command.h"

// Where the position of a position command came from, to tell the next move
// of a game from a new game.
struct position_origin_t {
    bool new_game = false;  // the initial array with at most one move
    std::string start;      // position string and side
    std::string moves;      // the moves applied, each followed by a blank
};

// Sets up the position of a parsed position command. A FEN that does not fit
// the board model, or names a position no game can reach, leaves the previous
// position and returns false; a word of the list that is not a legal move ends
// the replay there. Faults go to stderr.
bool apply_position_command(Count& e, const command_t& cmd, position_origin_t& origin);

// True when `later` goes on with the game of `earlier`: the same start, and
// earlier's moves begin later's list. Earlier's last move may differ, as when
// a ponder move was not played.
bool continues_game(const position_origin_t& earlier, const position_origin_t& later);
