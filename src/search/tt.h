// The two transposition tables (index = side to move).
#pragma once
#include <cstdint>

#include "board/engine.h"

struct tt_entry_t {
    uint32_t lock;
    int16_t lower;
    int16_t upper;
    int8_t lower_depth;
    int8_t upper_depth;
    uint8_t move_from;
    uint8_t move_to;
    int8_t move_depth;
    uint16_t generation;
    uint8_t mate_threat;
};
static_assert(sizeof(tt_entry_t) == 20);

constexpr tt_entry_t TT_EMPTY_ENTRY = {0, -20000, 20000, -1, -1, 0, 0, -1, 0, 0};

// Entries per table for a hash size in megabytes (clamped to 16..512).
int32_t tt_entries_for_megabytes(int megabytes);
// Allocates both tables with tt_size + 1 entries each; false (nothing allocated) on failure.
bool tt_allocate(Count& e, int megabytes);
void tt_free(Count& e);
// Empties every entry of both tables, the extra entry n included.
void tt_clear(Count& e);
