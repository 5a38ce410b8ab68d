// The value of each red piece on each square (files a..e; the boards are
// symmetric about file e), and the black values mirrored from them.
#include "board/geometry.h"
#include "eval/eval_tables.h"

namespace eval {

namespace {

using half_board = int[10][5];  // [rank][file a..e]

constexpr half_board pawn_values = {
    {10, 15, 20, 25, 30},      {128, 160, 180, 195, 210}, {130, 163, 190, 195, 200}, {132, 165, 180, 185, 190},
    {130, 155, 170, 175, 180}, {25, 0, 45, 0, 50},        {30, 0, 40, 0, 50},        {0, 0, 0, 0, 0},
    {0, 0, 0, 0, 0},           {0, 0, 0, 0, 0},
};
constexpr half_board cannon_values = {
    {353, 352, 350, 351, 350}, {350, 351, 351, 352, 350}, {359, 359, 358, 357, 356}, {360, 360, 365, 365, 368},
    {360, 365, 365, 365, 368}, {357, 365, 365, 365, 368}, {362, 364, 366, 367, 365}, {363, 368, 369, 370, 360},
    {363, 365, 367, 366, 355}, {355, 354, 356, 357, 360},
};
constexpr half_board horse_values = {
    {340, 341, 342, 351, 346}, {343, 349, 363, 347, 341}, {360, 363, 367, 375, 366}, {357, 378, 367, 379, 365},
    {359, 367, 363, 368, 366}, {356, 368, 365, 369, 368}, {346, 347, 348, 350, 349}, {351, 346, 357, 357, 355},
    {345, 346, 347, 348, 347}, {341, 342, 344, 343, 340},
};
constexpr half_board rook_values = {
    {751, 752, 753, 760, 761}, {753, 754, 756, 757, 760}, {753, 762, 763, 764, 762}, {762, 765, 766, 767, 768},
    {766, 767, 767, 768, 768}, {765, 766, 767, 769, 768}, {765, 766, 766, 768, 767}, {753, 760, 763, 765, 762},
    {760, 762, 767, 769, 759}, {752, 755, 763, 766, 751},
};
constexpr half_board elephant_values = {
    {}, {}, {}, {}, {}, {0, 0, 115, 0, 0}, {}, {110, 0, 0, 0, 125}, {}, {0, 0, 120, 0, 0},
};
constexpr half_board advisor_values = {
    {}, {}, {}, {}, {}, {}, {}, {0, 0, 0, 115, 0}, {0, 0, 0, 0, 125}, {0, 0, 0, 120, 0},
};
constexpr half_board king_values = {
    {}, {}, {}, {}, {}, {}, {}, {0, 0, 0, 3940, 3960}, {0, 0, 0, 3960, 3980}, {0, 0, 0, 4020, 4040},
};

struct kind_values {
    int first_offset, last_offset;
    const half_board* values;
};

constexpr kind_values kinds[] = {
    {KING_OFFSET, KING_OFFSET, &king_values},
    {PAWN_OFFSET, PAWN_OFFSET + 4, &pawn_values},
    {CANNON_OFFSET, CANNON_OFFSET + 1, &cannon_values},
    {HORSE_OFFSET, HORSE_OFFSET + 1, &horse_values},
    {ROOK_OFFSET, ROOK_OFFSET + 1, &rook_values},
    {ELEPHANT_OFFSET, ELEPHANT_OFFSET + 1, &elephant_values},
    {ADVISOR_OFFSET, ADVISOR_OFFSET + 1, &advisor_values},
};

}  // namespace

void fill_base_square_values(Count& e) {
    for (const kind_values& kind : kinds) {
        for (int k = kind.first_offset; k <= kind.last_offset; ++k) {
            int32_t* red = e.base_square_value[RED_BASE + k];
            for (int r = 0; r < 10; ++r) {
                for (int f = 0; f < 5; ++f) {
                    red[make_square(f, r)] = (*kind.values)[r][f];
                    red[make_square(8 - f, r)] = (*kind.values)[r][f];
                }
            }
        }
    }
    // A black piece is worth the negated value of its red counterpart on the square turned half a turn.
    for (int k = 0; k < 16; ++k) {
        for (int f = 0; f < 9; ++f)
            for (int r = 0; r < 10; ++r)
                e.base_square_value[BLACK_BASE + k][make_square(8 - f, 9 - r)] =
                    -e.base_square_value[RED_BASE + k][make_square(f, r)];
    }
}

}  // namespace eval
