#include "book/game_replay.h"

#include "board/make_move.h"
#include "position/position_string.h"

bool starts_from_initial_array(const pgn_game_t& g) {
    const std::string* fen = g.tag("FEN");
    if (fen == nullptr || fen->empty()) return true;
    char position[POSITION_STRING_SIZE];
    int side = RED;
    return fen_to_position_string(fen->c_str(), position, side) && is_start_position_string(position) && side == RED;
}

replay_result_t replay_game(Count& e, const pgn_game_t& g, int max_plies,
                            const std::function<void(const move_t&)>& after_move) {
    setup_position(e, START_POSITION_STRING, RED);
    replay_result_t r;
    for (const std::string& text : g.moves) {
        if (r.plies >= max_plies) break;
        move_t m;
        r.stop = read_move(e, text, m);
        if (r.stop != MOVE_READ) break;
        // Generation and the legality test read only the board, so no stacks fill up in long games.
        board_do_move(e, m);
        e.side_to_move = 1 - e.side_to_move;
        ++r.plies;
        after_move(m);
    }
    return r;
}

bool read_game_file(const std::string& path, const PgnReader::GameHandler& handler, std::string& error,
                    text_encoding& encoding, long& bad_bytes) {
    TextDecoder decoder;
    if (!decoder.open(path, error)) return false;
    encoding = decoder.encoding();
    PgnReader reader(handler);
    std::string piece;
    while (decoder.next(piece)) reader.feed(piece);
    reader.finish();
    bad_bytes = decoder.bad_bytes();
    return true;
}
