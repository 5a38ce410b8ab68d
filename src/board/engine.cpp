#include "board/engine.h"

#include <cstring>

#include "board/geometry.h"

namespace {

struct piece_kind_row {
    int offsets_first, offsets_last;
    int red_type, order;
};

constexpr piece_kind_row kind_rows[] = {
    {KING_OFFSET, KING_OFFSET, KING, ORDER_KING},
    {PAWN_OFFSET, PAWN_OFFSET + 4, PAWN, ORDER_PAWN},
    {CANNON_OFFSET, CANNON_OFFSET + 1, CANNON, ORDER_CANNON},
    {HORSE_OFFSET, HORSE_OFFSET + 1, HORSE, ORDER_HORSE},
    {ROOK_OFFSET, ROOK_OFFSET + 1, ROOK, ORDER_ROOK},
    {ELEPHANT_OFFSET, ELEPHANT_OFFSET + 1, ELEPHANT, ORDER_ELEPHANT},
    {ADVISOR_OFFSET, ADVISOR_OFFSET + 1, ADVISOR, ORDER_ADVISOR},
};

// pawn 1, elephant 2, advisor 2, horse 3, cannon 3, rook 4, king 5, by type.
constexpr int32_t class_by_type[15] = {0, 1, 2, 2, 3, 3, 4, 5, 1, 2, 2, 3, 3, 4, 5};

}  // namespace

Count::Count() {
    // Objects with static storage start zeroed; heap instances (tests) must match.
    std::memset(static_cast<AIOutput*>(this), 0, sizeof(AIOutput));
    std::memset(static_cast<AIInput*>(this), 0, sizeof(AIInput));
    std::memset(static_cast<boardinfo_t*>(this), 0, sizeof(boardinfo_t));
    std::memset(static_cast<search_control_t*>(this), 0, sizeof(search_control_t));
    lines = occupancy_of(board);
    build_geometry();

    for (const auto& row : kind_rows) {
        for (int k = row.offsets_first; k <= row.offsets_last; ++k) {
            piece_type[RED_BASE + k] = row.red_type;
            piece_type[BLACK_BASE + k] = row.red_type + BLACK_TYPE_OFFSET;
            piece_order[RED_BASE + k] = row.order;
            piece_order[BLACK_BASE + k] = row.order;
        }
    }
    std::memcpy(piece_class, class_by_type, sizeof(piece_class));

    AIOption& o = *this;
    std::memset(&o, 1, sizeof(AIOption));
    o.nullex = 0;
    o.checkqs = 0;
    o.reserved_switch = 0;

    move_end = move_buffer;
    ply_moves[0] = move_buffer;
}

Count::~Count() { destroy(); }

CountEx::CountEx() = default;

CountEx the_engine;
