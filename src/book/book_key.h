// The opening-book key of a position (the squares of the 32 pieces) and its bucket.
#pragma once
#include <cstdint>

#include "board/engine.h"

constexpr int BOOK_KEY_BYTES = 32;

// One byte per piece, rank * 16 + file of its square (0 for a piece off the
// board), red then black: rooks, horses, cannons, advisors, elephants, king, pawns.
// The side to move is not part of the key.
void book_position_key(const Count& e, uint8_t key[BOOK_KEY_BYTES]);
// The weighted byte sum (wrapping 32-bit) masked with 0x9FFFF: an index into "sg.hash".
uint32_t book_bucket(const uint8_t key[BOOK_KEY_BYTES]);
