// Evaluations already made in the current search, kept by exact placement. A
// position met again (a transposition, the null move's pass, internal
// deepening) is not evaluated twice. The placement of every piece code is the
// key, not the hash words: the hash words name piece types only, and the
// evaluation reads which of two like pieces stands where.
#pragma once
#include <cstdint>

#include "board/engine.h"

constexpr int EVAL_CACHE_BITS = 13;
constexpr int EVAL_CACHE_SIZE = 1 << EVAL_CACHE_BITS;
constexpr int PIECE_CODES = 32;  // red's sixteen, then black's

// One cache line each: a probe never touches two.
struct alignas(64) eval_cache_entry {
    uint8_t squares[PIECE_CODES];  // 0 for a captured piece
    int32_t pst_score;
    int32_t red_score;
    uint32_t stamp;  // the search it belongs to and its phase class; 0 never matches
};

// The placement of the current position, packed for comparison.
struct placement_t {
    uint8_t squares[PIECE_CODES];
};

placement_t current_placement(const Count& e);
// The red-side score remembered for the current position, or nullptr.
const int32_t* eval_cache_find(const Count& e, const placement_t& p);
// The entries, indexed by the low bits of zobrist_key.
extern eval_cache_entry eval_cache_slots[EVAL_CACHE_SIZE];
// Starts loading the entry of the position with hash `zobrist_key`, for an
// evaluation soon to come.
inline void eval_cache_prefetch_key(uint32_t zobrist_key) {
    __builtin_prefetch(&eval_cache_slots[zobrist_key & (EVAL_CACHE_SIZE - 1)]);
}
inline void eval_cache_prefetch(const Count& e) { eval_cache_prefetch_key(e.zobrist_key); }
void eval_cache_store(const Count& e, const placement_t& p, int red_score);
// Forgets every entry: the square values or the phase class may change.
void eval_cache_forget();
