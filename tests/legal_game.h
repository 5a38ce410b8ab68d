// Legal games and legality checks of the engine's answers, by the engine's own
// move generator working on a private engine object.
#pragma once
#include <string>

// A legal game of `plies` moves from the initial array as a UCCI move list
// (moves separated by blanks). Quiet moves are preferred, so that the game
// runs long; the same seed gives the same game.
std::string legal_game(int plies, unsigned seed = 1);

// Whether a "bestmove" line is legal in the position a position line sets up:
// its move for the side to move and, if it names one, its ponder move after it.
// `why` receives the fault.
bool answer_is_legal(const std::string& position_line, const std::string& reply, std::string& why);
