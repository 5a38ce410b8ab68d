#include <cerrno>
#include <cinttypes>
#include <cstdio>
#include <cstdlib>

#include "board/make_move.h"
#include "board/movegen.h"
#include "board/check.h"
#include "board/perft.h"
#include "platform/clock.h"
#include "position/move_text.h"
#include "position/position_string.h"
#include "tools/dev_commands.h"
#include "ucci/print.h"

namespace {

// Deep enough for any run that ends in reasonable time; the move lists of the
// engine object hold far more plies.
constexpr long MAX_PERFT_DEPTH = 20;

bool parse_depth(const char* text, int& depth) {
    char* end = nullptr;
    errno = 0;
    const long value = std::strtol(text, &end, 10);
    if (end == text || *end != '\0' || errno != 0 || value < 1 || value > MAX_PERFT_DEPTH) return false;
    depth = static_cast<int>(value);
    return true;
}

}  // namespace

int perft_command(int argc, char** argv) {
    int depth = 0;
    if (argc < 1 || !parse_depth(argv[0], depth)) {
        std::fprintf(stderr, "perft: the depth must be a whole number from 1 to %ld (usage: perft DEPTH [FEN])\n",
                     MAX_PERFT_DEPTH);
        return 2;
    }
    char position[POSITION_STRING_SIZE];
    int side = RED;
    if (!position_from_args("perft", argc - 1, argv + 1, position, side)) return 2;

    Count& e = the_engine;
    setup_position(e, position, side);
    // Count the side the FEN names, also for the initial array (which a new game sets up with red to move).
    e.side_to_move = side;
    const int32_t start = platform::clock_ms();
    e.ply_moves[0] = e.move_buffer;
    generate_moves(e, side, 0);
    uint64_t total = 0;
    for (const move_t* m = e.ply_moves[0]; m < e.ply_moves[1]; ++m) {
        if (!is_legal(e, *m, side)) continue;
        uint64_t count = 1;
        if (depth > 1) {
            make_move(e, *m);
            count = perft(e, 1 - side, depth - 1, 1);
            unmake_move(e, *m);
        }
        total += count;
        char internal[MOVE_TEXT_SIZE], ucci[MOVE_TEXT_SIZE];
        move_to_text(*m, internal);
        internal_to_ucci(internal, ucci);
        char line[64];
        std::snprintf(line, sizeof line, "%s %" PRIu64, ucci, count);
        print_line(line);
    }
    const int32_t elapsed = platform::clock_ms() - start;
    char line[96];
    std::snprintf(line, sizeof line, "nodes %" PRIu64 " time %d nps %" PRIu64, total, elapsed,
                  total * 1000 / static_cast<uint64_t>(elapsed > 0 ? elapsed : 1));
    print_line(line);
    return 0;
}
