// What the evaluation takes from the material alone, remembered per material.
// A search meets few materials, each at many nodes: the piece counts, their
// sums and the terms made of them are worked out once for each.
#pragma once
#include <cstdint>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

#include "board/engine.h"
#include "board/self_check.h"
#include "eval/eval_trace.h"

namespace eval {

// The count terms of a material. Those that grow with a side's crossed pawns
// grow by a fixed amount per pawn; the pawn worth alone switches its rule on
// whether any pawn of either side has crossed.
struct material_terms {
    int16_t mid[2][2], end[2][2];  // [some pawn crossed][side], without the per-pawn parts
    int16_t mid_per_crossed[2], end_per_crossed[2];
    int16_t strong_attack[2];  // the attack count from which the side's attack is strong
    int16_t strong_bonus[2];   // what a strong attack adds, by the enemy's defenders
};

// The piece counts of both sides, one byte each, and the phase class in the
// byte of type 0, which names no piece. A slot of zeros is empty.
struct material_key {
    uint64_t low, high;
    bool operator==(const material_key&) const = default;
};

struct alignas(64) material_entry {
    material_key key;
    material_counts counts[2];
    material_terms terms;
};
static_assert(sizeof(material_entry) == 128, "an entry spans two cache lines");

constexpr int MATERIAL_TABLE_BITS = 10;
constexpr int MATERIAL_TABLE_SIZE = 1 << MATERIAL_TABLE_BITS;
extern material_entry material_table[MATERIAL_TABLE_SIZE];

inline material_key material_key_of(const Count& e) {
    material_key k;
    const int32_t* t = e.type_count;
#ifdef __SSE2__
    // Types 0..10 and 11..14: the second block overlaps the first by a type,
    // so that no load passes the end of the counts.
    const __m128i* first = reinterpret_cast<const __m128i*>(t);
    const __m128i* last = reinterpret_cast<const __m128i*>(t + 11);
    const __m128i low = _mm_packs_epi32(_mm_loadu_si128(first), _mm_loadu_si128(first + 1));
    const __m128i high = _mm_packs_epi32(_mm_loadu_si128(first + 2), _mm_loadu_si128(last));
    const __m128i bytes = _mm_packus_epi16(low, high);
    k.low = static_cast<uint64_t>(_mm_cvtsi128_si64(bytes));
    k.high = static_cast<uint64_t>(_mm_cvtsi128_si64(_mm_unpackhi_epi64(bytes, bytes)));
#else
    k.low = k.high = 0;
    for (int i = 0; i < 8; ++i) k.low |= static_cast<uint64_t>(static_cast<uint8_t>(t[i])) << (8 * i);
    for (int i = 0; i < 7; ++i) k.high |= static_cast<uint64_t>(static_cast<uint8_t>(t[8 + i])) << (8 * i);
#endif
    // Phase classes 0..3 become 1..4: a zeroed slot matches no material.
    k.low = (k.low & ~uint64_t{0xff}) | static_cast<uint64_t>(e.eval_phase_class + 1);
    return k;
}

inline material_entry& material_slot(const material_key& k) {
    const uint64_t mixed = (k.low ^ (k.high * 0x9e3779b97f4a7c15ull)) * 0xbf58476d1ce4e5b9ull;
    return material_table[mixed >> (64 - MATERIAL_TABLE_BITS)];
}

// One side's counts from the piece counts by type.
material_counts material_counts_of(const int32_t* type_count, int side);
// The count terms of the material of both sides under `phase_class`.
material_terms material_terms_of(const material_counts counts[2], int phase_class);

// Fills the slot for the material of `e`.
const material_entry& material_entry_fill(const Count& e, const material_key& k, material_entry& slot);
// A remembered entry equals a fresh one.
bool material_entry_fresh(const Count& e, const material_entry& m);

inline const material_entry& material_entry_for(const Count& e) {
    const material_key k = material_key_of(e);
    material_entry& slot = material_slot(k);
    if (!(slot.key == k)) return material_entry_fill(e, k, slot);
    TAVOX_SELF_CHECK(material_entry_fresh(e, slot));
    return slot;
}

// Forgets every entry (for tests: a cold table must give what a warm one does).
void material_table_forget();

}  // namespace eval
