// Replaying game records from the start position with the engine's own move
// generator and legality test; shared by the book builder and "book moves".
#pragma once
#include <functional>
#include <string>

#include "board/engine.h"
#include "book/notation.h"
#include "book/pgn_reader.h"
#include "book/text_decoder.h"

// Whether a game starts from the initial array with red to move (no FEN tag,
// or a FEN tag naming it). Other starts are not replayed.
bool starts_from_initial_array(const pgn_game_t& g);

struct replay_result_t {
    int plies = 0;                 // moves played
    move_reading stop = MOVE_READ; // why the replay stopped early, MOVE_READ when it did not
};

// Plays up to `max_plies` moves of the game on `e` (from the initial array),
// calling `after_move` with each move and the position after it. A move that
// cannot be read or is not legal ends the replay there.
replay_result_t replay_game(Count& e, const pgn_game_t& g, int max_plies,
                            const std::function<void(const move_t&)>& after_move);

// Reads the games of a file (any supported encoding) and hands each to `handler`.
// False with `error` when the file cannot be read; `encoding` and `bad_bytes`
// tell how it was read.
bool read_game_file(const std::string& path, const PgnReader::GameHandler& handler, std::string& error,
                    text_encoding& encoding, long& bad_bytes);
