#include "board/line_occupancy.h"

#include "board/move.h"

line_occupancy occupancy_of(const int32_t board[256]) {
    line_occupancy o{};
    for (int sq = 0; sq < 256; ++sq)
        if (board[sq] != EMPTY_SQUARE) {
            o.row[sq >> 4] |= 1u << (sq & 15);
            o.column[sq & 15] |= 1u << (sq >> 4);
        }
    return o;
}
