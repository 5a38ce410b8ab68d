#include "legal_game.h"

#include <vector>

#include "board/check.h"
#include "board/history.h"
#include "board/movegen.h"
#include "position/move_text.h"
#include "test_engine.h"
#include "ucci/command.h"
#include "ucci/position_command.h"

namespace {

std::vector<move_t> legal_moves(Count& e) {
    e.ply_moves[0] = e.move_buffer;
    generate_moves(e, e.side_to_move, 0);
    std::vector<move_t> moves;
    for (const move_t* m = e.ply_moves[0]; m < e.ply_moves[1]; ++m)
        if (m->from != 0 && is_legal(e, *m, e.side_to_move)) moves.push_back(*m);
    return moves;
}

// Plays a UCCI move if it is legal; false otherwise.
bool play_if_legal(Count& e, const std::string& ucci, std::string& why) {
    char internal[MOVE_TEXT_SIZE];
    move_t m;
    if (!is_ucci_move_text(ucci.c_str(), ucci.size())) {
        why = "\"" + ucci + "\" is not a move";
        return false;
    }
    ucci_to_internal(ucci.c_str(), internal);
    if (!find_legal_move(e, internal, m)) {
        why = ucci + " is not legal";
        return false;
    }
    if (e.ply >= HISTORY_PLY_LIMIT) forget_oldest_plies(e);
    apply_move_text(e, internal);
    return true;
}

}  // namespace

std::string legal_game(int plies, unsigned seed) {
    auto e = make_engine();
    setup_position(*e, START_POSITION_STRING, RED);
    std::string game;
    for (int i = 0; i < plies; ++i) {
        std::vector<move_t> moves = legal_moves(*e);
        std::vector<move_t> quiet;
        for (const move_t& m : moves)
            if (m.captured == EMPTY_SQUARE) quiet.push_back(m);
        const std::vector<move_t>& pool = quiet.empty() ? moves : quiet;
        if (pool.empty()) return legal_game(plies, seed + 1);  // mated: try another game
        seed = seed * 1103515245u + 12345u;
        char internal[MOVE_TEXT_SIZE], ucci[5];
        move_to_text(pool[(seed >> 16) % pool.size()], internal);
        internal_to_ucci(internal, ucci);
        std::string why;
        play_if_legal(*e, ucci, why);
        if (!game.empty()) game += ' ';
        game += ucci;
    }
    return game;
}

bool answer_is_legal(const std::string& position_line, const std::string& reply, std::string& why) {
    auto e = make_engine();
    command_t cmd{};
    position_origin_t origin;
    if (parse_command(position_line.c_str(), cmd) != CMD_POSITION || !apply_position_command(*e, cmd, origin)) {
        why = "the reference position is refused";
        return false;
    }
    const char* words = reply.c_str();
    const char* word;
    size_t length;
    if (!next_word(words, word, length) || std::string(word, length) != "bestmove" || !next_word(words, word, length)) {
        why = "not a bestmove line: " + reply;
        return false;
    }
    if (!play_if_legal(*e, std::string(word, length), why)) return false;
    if (next_word(words, word, length) && std::string(word, length) == "ponder") {
        if (!next_word(words, word, length)) {
            why = "ponder without a move";
            return false;
        }
        if (!play_if_legal(*e, std::string(word, length), why)) {
            why = "ponder: " + why;
            return false;
        }
    }
    return true;
}
