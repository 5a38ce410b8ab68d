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

struct tt_probe_t {
    bool found;
    int from, to;
    bool mate_threat;
    bool cutoff;
    int score;
};

// The probe at an alpha_beta node: on a match the hash move and the mate mark;
// at a node of non-zero type also the three cut-off cases (each counts hashhit).
tt_probe_t tt_probe_node(Count& e, int side, int alpha, int beta, int depth, int height, int node_type);
tt_entry_t* tt_probe(Count& e, int side);
void tt_store_lower(Count& e, int side, int depth, int score, int height);
void tt_store_bounds(Count& e, int side, int depth, int best, int alpha, int beta, int height);
void tt_mark_mate_threat(Count& e, int side);
void tt_write_pv(Count& e, int side);
bool tt_resize(Count& e, int megabytes);

// Entries per table for a hash size in megabytes (clamped to 16..512).
int32_t tt_entries_for_megabytes(int megabytes);
// Allocates both tables with tt_size + 1 entries each; false (nothing allocated) on failure.
bool tt_allocate(Count& e, int megabytes);
void tt_free(Count& e);
// Empties every entry of both tables, the extra entry n included.
void tt_clear(Count& e);
