#include "ucci/position_command.h"

#include <cstdio>

#include "board/history.h"
#include "board/make_move.h"
#include "position/move_text.h"
#include "position/position_string.h"

namespace {

constexpr size_t MOVE_WORD = 5;  // four characters and a blank

// Longest part of a rejected word that a message quotes.
constexpr int QUOTED_WORD = 16;

}  // namespace

bool apply_position_command(Count& e, const command_t& cmd, position_origin_t& origin) {
    char position[POSITION_STRING_SIZE];
    int side = RED;
    const char* error = nullptr;
    if (!fen_to_position_string(cmd.fen, position, side, &error) || !position_is_possible(e, position, side, &error)) {
        std::fprintf(stderr, "position ignored: %s\n", error);
        return false;
    }
    origin.new_game = is_start_position_string(position) && cmd.move_count <= 1;
    origin.start.assign(position).push_back(side == RED ? 'w' : 'b');
    origin.moves.clear();
    setup_position(e, position, side);

    const char* cursor = cmd.moves != nullptr ? cmd.moves : "";
    const char* word;
    size_t length;
    for (int i = 1; next_word(cursor, word, length); ++i) {
        const int quoted = static_cast<int>(length < QUOTED_WORD ? length : QUOTED_WORD);
        if (!is_ucci_move_text(word, length)) {
            std::fprintf(stderr, "position: word %d (%.*s) is not a move; it and the rest of the list are ignored\n", i,
                         quoted, word);
            break;
        }
        char internal[MOVE_TEXT_SIZE];
        ucci_to_internal(word, internal);
        move_t m;
        if (!find_legal_move(e, internal, m)) {
            std::fprintf(stderr, "position: move %d (%.4s) is not legal here; it and the rest of the list are ignored\n",
                         i, word);
            break;
        }
        if (e.ply >= HISTORY_PLY_LIMIT) forget_oldest_plies(e);
        apply_move_text(e, internal);
        origin.moves.append(word, length).push_back(' ');
    }
    return true;
}

bool continues_game(const position_origin_t& earlier, const position_origin_t& later) {
    if (earlier.start != later.start) return false;
    const size_t kept = earlier.moves.size() < MOVE_WORD ? 0 : earlier.moves.size() - MOVE_WORD;
    return later.moves.size() >= kept && later.moves.compare(0, kept, earlier.moves, 0, kept) == 0;
}
