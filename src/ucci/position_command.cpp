#include "ucci/position_command.h"

#include <cstdio>

#include "board/make_move.h"
#include "position/move_text.h"
#include "position/position_string.h"

bool apply_position_command(Count& e, const command_t& cmd, bool& new_game) {
    char position[POSITION_STRING_SIZE];
    int side = RED;
    const char* error = nullptr;
    new_game = false;
    if (!fen_to_position_string(cmd.fen, position, side, &error)) {
        std::fprintf(stderr, "position ignored: %s\n", error);
        return false;
    }
    new_game = is_start_position_string(position) && cmd.move_count <= 1;
    setup_position(e, position, side);

    for (int i = 0; i < cmd.move_count; ++i) {
        char ucci[5] = {cmd.move_list[i][0], cmd.move_list[i][1], cmd.move_list[i][2], cmd.move_list[i][3], '\0'};
        char internal[MOVE_TEXT_SIZE];
        ucci_to_internal(ucci, internal);
        move_t m;
        if (!find_legal_move(e, internal, m)) {
            std::fprintf(stderr, "position: move %d (%s) is not legal here; it and the rest of the list are ignored\n",
                         i + 1, ucci);
            break;
        }
        apply_move_text(e, internal);
    }
    return true;
}
