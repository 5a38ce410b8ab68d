#include "book/book_key.h"

#include "board/geometry.h"

namespace {

// Piece offsets from the side's base code, in key order.
constexpr int key_offsets[16] = {
    ROOK_OFFSET, ROOK_OFFSET + 1, HORSE_OFFSET, HORSE_OFFSET + 1, CANNON_OFFSET, CANNON_OFFSET + 1,
    ADVISOR_OFFSET, ADVISOR_OFFSET + 1, ELEPHANT_OFFSET, ELEPHANT_OFFSET + 1, KING_OFFSET,
    PAWN_OFFSET, PAWN_OFFSET + 1, PAWN_OFFSET + 2, PAWN_OFFSET + 3, PAWN_OFFSET + 4,
};

constexpr uint32_t bucket_weights[BOOK_KEY_BYTES] = {
    2213717, 4424134, 1417452, 6754133, 8977143, 5589417, 4793167, 7771436,
    4914274, 6256747, 7097111, 6541323, 8484561, 8390239, 1744147, 1261732,
    924876,  3095417, 4017453, 5091142, 6087645, 7009876, 8041746, 9076765,
    731424,  967545,  2998096, 7576545, 6577419, 5488747, 9293393, 8311727,
};

constexpr uint32_t BUCKET_MASK = 0x9FFFF;

}  // namespace

void book_position_key(const Count& e, uint8_t key[BOOK_KEY_BYTES]) {
    for (int side = 0; side < 2; ++side) {
        for (int i = 0; i < 16; ++i) {
            const int code = side_base(side) + key_offsets[i];
            const int sq = e.piece_square[code];
            // The byte is file + 16 * rank: the square's distance from the first square.
            const bool on_board = sq >= FIRST_SQUARE && sq <= LAST_SQUARE && e.board[sq] == code;
            key[16 * side + i] = on_board ? static_cast<uint8_t>(sq - FIRST_SQUARE) : 0;
        }
    }
}

uint32_t book_bucket(const uint8_t key[BOOK_KEY_BYTES]) {
    uint32_t h = 0;
    for (int i = 0; i < BOOK_KEY_BYTES; ++i) h += key[i] * bucket_weights[i];
    return h & BUCKET_MASK;
}
