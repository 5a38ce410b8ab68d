#include "eval/eval_cache.h"

#include <cstring>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

eval_cache_entry eval_cache_slots[EVAL_CACHE_SIZE];

namespace {

uint32_t generation = 1;

constexpr uint32_t PHASE_CLASS_BITS = 2;

uint32_t stamp_of(const Count& e) {
    return (generation << PHASE_CLASS_BITS) | static_cast<uint32_t>(e.eval_phase_class & 3);
}

eval_cache_entry& slot_of(const Count& e) { return eval_cache_slots[e.zobrist_key & (EVAL_CACHE_SIZE - 1)]; }

}  // namespace

namespace {

// The sixteen piece squares of a side, each below 256, as sixteen bytes.
void pack_side(const int32_t* squares, uint8_t* out) {
#ifdef __SSE2__
    const __m128i* in = reinterpret_cast<const __m128i*>(squares);
    const __m128i low = _mm_packs_epi32(_mm_loadu_si128(in), _mm_loadu_si128(in + 1));
    const __m128i high = _mm_packs_epi32(_mm_loadu_si128(in + 2), _mm_loadu_si128(in + 3));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out), _mm_packus_epi16(low, high));
#else
    for (int k = 0; k < 16; ++k) out[k] = static_cast<uint8_t>(squares[k]);
#endif
}

}  // namespace

placement_t current_placement(const Count& e) {
    placement_t p;
    pack_side(e.piece_square + RED_BASE, p.squares);
    pack_side(e.piece_square + BLACK_BASE, p.squares + 16);
    return p;
}

const int32_t* eval_cache_find(const Count& e, const placement_t& p) {
    const eval_cache_entry& c = slot_of(e);
    if (c.stamp != stamp_of(e) || c.pst_score != e.pst_score ||
        std::memcmp(c.squares, p.squares, PIECE_CODES) != 0)
        return nullptr;
    return &c.red_score;
}

void eval_cache_store(const Count& e, const placement_t& p, int red_score) {
    eval_cache_entry& c = slot_of(e);
    std::memcpy(c.squares, p.squares, PIECE_CODES);
    c.pst_score = e.pst_score;
    c.red_score = red_score;
    c.stamp = stamp_of(e);
}

void eval_cache_forget() {
    // The generation must fit beside the phase class; when it would not, the
    // stamps start again from a clean table.
    if (++generation >= (1u << (32 - PHASE_CLASS_BITS))) {
        std::memset(eval_cache_slots, 0, sizeof eval_cache_slots);
        generation = 1;
    }
}
