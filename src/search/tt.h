// The two transposition tables (index = side to move). A position with hash
// zobrist_key lives at index i = zobrist_key mod tt_size or at i + 1 of its
// side's table; each table has tt_size + 1 entries so that i + 1 always exists.
#pragma once
#include <cstdint>

#include "board/engine.h"
#include "search/tt_memory.h"

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
    // The clear the entry was written after (Count::tt_epoch): an entry of an
    // earlier one reads as TT_EMPTY_ENTRY, so a clear need not rewrite the tables.
    uint16_t epoch;
};
static_assert(sizeof(tt_entry_t) == 20);

constexpr tt_entry_t TT_EMPTY_ENTRY = {0, -20000, 20000, -1, -1, 0, 0, -1, 0, 0, 0};

// The entry as probes and stores see it: TT_EMPTY_ENTRY when a clear came after it.
tt_entry_t tt_entry_as_read(const Count& e, const tt_entry_t& t);

// What the probe at the start of an alpha_beta node learns. `from`/`to` are 0
// without a hash move; `cutoff` means the node ends at once with `score`.
struct tt_probe_t {
    bool found;
    int from, to;
    bool mate_threat;
    bool cutoff;
    int score;
};

// zobrist_key mod tt_size by multiplication: for a 32-bit key and divisor,
// ((key * ceil(2^64 / n)) mod 2^64) * n / 2^64 is exactly key mod n.
constexpr uint64_t tt_index_magic_for(int32_t n) { return UINT64_MAX / static_cast<uint32_t>(n) + 1; }
inline uint32_t tt_index_of(const Count& e, uint32_t key) {
    const uint64_t low = e.tt_index_magic * key;
    return static_cast<uint32_t>((static_cast<unsigned __int128>(low) * static_cast<uint32_t>(e.tt_size)) >> 64);
}
inline uint32_t tt_index(const Count& e) { return tt_index_of(e, e.zobrist_key); }
// Starts loading the slots of the position with hash `key` for `side` into the cache.
inline void tt_prefetch_key(const Count& e, int side, uint32_t key) {
    if (e.tt_size == 0) return;
    const tt_entry_t* slot = e.tt_tables[side] + tt_index_of(e, key);
    __builtin_prefetch(slot);
    __builtin_prefetch(reinterpret_cast<const char*>(slot + 2) - 1);
}
inline void tt_prefetch(const Count& e, int side) { tt_prefetch_key(e, side, e.zobrist_key); }
// The hash of the position after m, before m is made: its slots can start
// loading while the move is made and tested.
inline uint32_t key_after(const Count& e, const move_t& m) {
    const int type = e.piece_type[m.piece];
    uint32_t key = e.zobrist_key ^ e.zobrist_key_table[type][m.from] ^ e.zobrist_key_table[type][m.to];
    if (m.captured != EMPTY_SQUARE) key ^= e.zobrist_key_table[e.piece_type[m.captured]][m.to];
    return key;
}


// Mate scores are stored relative to the node (distance to mate from there) and
// read back relative to the root.
int tt_score_to_table(int score, int height);
int tt_score_from_table(int stored, int height);

// Without tables (tt_size 0) every probe misses and every store is dropped.

// The matching entry of the current position (touched: generation refreshed), or nullptr.
tt_entry_t* tt_probe(Count& e, int side);
// The probe of an alpha_beta node; the three cut-off cases apply only at a node
// of non-zero type and each counts e.hashhit.
tt_probe_t tt_probe_node(Count& e, int side, int alpha, int beta, int depth, int height, int node_type);
// After a beta or null-move cut-off; the best move is pv_table[height * PV_ROW].
void tt_store_lower(Count& e, int side, int depth, int score, int height);
// At the end of a node searched with (alpha, beta); the best move is pv_table[height * PV_ROW].
void tt_store_bounds(Count& e, int side, int depth, int best, int alpha, int beta, int height);
// The matching entry (if any) forbids the null move from now on.
void tt_mark_mate_threat(Count& e, int side);
// Touches, or plants as best move, every position along best_line from the
// current position (root side `side`); the board is left as it was.
void tt_write_pv(Count& e, int side);
