#include "board/movegen.h"

// Move generation is not built yet: every list is empty.
namespace {
void empty_list(Count& e, int ply) {
    e.move_end = e.ply_moves[ply];
    *e.move_end = move_t{};
    e.ply_moves[ply + 1] = e.ply_moves[ply + 2] = e.move_end;
}
}  // namespace

void generate_moves(Count& e, int, int ply) { empty_list(e, ply); }
void generate_captures(Count& e, int, int ply) { empty_list(e, ply); }
void generate_quiet_moves(Count& e, int, int ply) { empty_list(e, ply); }
