// The evaluation driver: counts, endgame recognisers, count terms, the piece
// blocks, and the final blend of middlegame, endgame and attack scores.
#include "eval/evaluate.h"

#include <cstdint>
#include <cstring>
#include <type_traits>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

#include "eval/eval_cache.h"

#include "eval/eval_state.h"
#include "eval/side_view.h"

namespace {

using namespace eval;

eval_terms accumulators(const eval_state& st, int s) { return {st.mid[s], st.end[s], st.attack[s]}; }

// What a block added to each side's accumulators since `before`.
void record(const eval_state& st, const eval_terms before[2], eval_terms out[2]) {
    for (int s : {RED, BLACK}) {
        const eval_terms now = accumulators(st, s);
        out[s] = {now.mid - before[s].mid, now.end - before[s].end, now.attack - before[s].attack};
    }
}

// Notes what each block adds, when tracing.
template <bool Trace>
struct block_recorder {
    eval_trace* trace;
    eval_terms before[2];
    void start(const eval_state& st) {
        if constexpr (Trace) before[RED] = accumulators(st, RED), before[BLACK] = accumulators(st, BLACK);
    }
    void finish(const eval_state& st, eval_terms (eval_trace::*block)[2]) {
        if constexpr (Trace) record(st, before, trace->*block);
    }
};

// The state starts from zeros, written in 16-byte stores: for a block of this
// size the compiler would pick a string store, whose start-up costs more than
// the stores themselves.
void zero_fill(eval_state& st) {
    static_assert(std::is_trivially_copyable_v<eval_state>);
    unsigned char* const bytes = reinterpret_cast<unsigned char*>(&st);
    constexpr size_t BLOCK = 16;
    constexpr size_t BLOCKS = sizeof(eval_state) / BLOCK;
#ifdef __SSE2__
    // __m128i may alias any object.
#pragma GCC unroll 32
    for (size_t i = 0; i < BLOCKS; ++i) _mm_storeu_si128(reinterpret_cast<__m128i*>(bytes + i * BLOCK), _mm_setzero_si128());
#else
    std::memset(bytes, 0, BLOCKS * BLOCK);
#endif
    std::memset(bytes + BLOCKS * BLOCK, 0, sizeof(eval_state) % BLOCK);
}

inline int to_side(int red_score, int side) { return side == RED ? red_score : -red_score; }

template <bool Trace>
int evaluate_impl(const Count& e, int side, eval_trace* trace) {
    eval_state st;
    zero_fill(st);
    for (int s : {RED, BLACK}) {
        const int king = e.piece_square[side_base(s) + KING_OFFSET];
        st.king[s] = king != 0 ? king : NO_KING_SQUARE;
    }
    count_material(e, st);
    st.phase = st.side[RED].strength + st.side[BLACK].strength;
    if constexpr (Trace) {
        *trace = eval_trace{};
        trace->phase_class = e.eval_phase_class;
        trace->phase = st.phase;
        trace->pst_score = e.pst_score;
        trace->endgame_rule = "";
    }

    if (e.eval_phase_class > 1 && st.side[RED].minor_major + st.side[BLACK].minor_major <= 4) {
        const char* rule = "";
        const endgame_verdict verdict = recognise_endgame(e, st, &rule);
        if constexpr (Trace) {
            trace->verdict = verdict;
            trace->endgame_rule = rule;
        }
        if (verdict != endgame_verdict::none) {
            const int red = e.pst_score / (verdict == endgame_verdict::draw ? 5 : 2);
            if constexpr (Trace) {
                trace->side[RED] = st.side[RED];
                trace->side[BLACK] = st.side[BLACK];
                trace->red_score = red;
            }
            return to_side(red, side);
        }
        if constexpr (Trace) {
            for (int s : {RED, BLACK}) trace->endgame_terms[s] = accumulators(st, s);
        }
    }

    block_recorder<Trace> block{trace, {}};
    block.start(st);
    count_terms(e, st);
    block.finish(st, &eval_trace::counts_terms);
    block.start(st);
    attack_counts(st);
    block.finish(st, &eval_trace::attack_weight_terms);

    block.start(st);
    horse_terms(e, st);
    block.finish(st, &eval_trace::horses);
    block.start(st);
    rook_terms(e, st);
    block.finish(st, &eval_trace::rooks);
    block.start(st);
    cannon_terms(e, st);
    block.finish(st, &eval_trace::cannons);
    block.start(st);
    king_safety_terms(e, st);
    block.finish(st, &eval_trace::king_safety);

    // Each product is divided (truncating) on its own.
    int parts[2][3];
    for (int s : {RED, BLACK}) {
        parts[s][0] = attack_scale[attack_index(st.side[s].attack_count)] * st.attack[s] / 16;
        parts[s][1] = st.phase * st.mid[s] / 16;
        parts[s][2] = (16 - st.phase) * st.end[s] / 16;
    }
    const int red = parts[RED][0] - parts[BLACK][0] + parts[RED][1] - parts[BLACK][1] + parts[RED][2] -
                    parts[BLACK][2] + e.pst_score;
    if constexpr (Trace) {
        for (int s : {RED, BLACK}) {
            trace->side[s] = st.side[s];
            trace->total[s] = accumulators(st, s);
            trace->attack_part[s] = parts[s][0];
            trace->mid_part[s] = parts[s][1];
            trace->end_part[s] = parts[s][2];
        }
        trace->red_score = red;
    }
    return to_side(red, side);
}

}  // namespace

int evaluate(Count& e, int side) {
    const placement_t p = current_placement(e);
    if (const int32_t* red = eval_cache_find(e, p)) return to_side(*red, side);
    const int red = evaluate_impl<false>(e, RED, nullptr);
    eval_cache_store(e, p, red);
    return to_side(red, side);
}

int evaluate_traced(const Count& e, int side, eval_trace& trace) { return evaluate_impl<true>(e, side, &trace); }
