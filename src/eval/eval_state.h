// Working state of one evaluation, shared by the driver and the piece blocks.
#pragma once
#include "board/engine.h"
#include "eval/eval_trace.h"

namespace eval {

struct material_entry;

struct eval_state {
    side_counts side[2];
    const material_entry* material;  // the counts and count terms of the material
    int king[2];  // king squares; NO_KING_SQUARE for a captured king
    int mid[2], end[2], attack[2];
    int phase;
    // Left by one block for a later one.
    bool enemy_king_off_centre[2];  // horses: the enemy king left the centre file
    bool rook_guards_king[2];       // rooks: the own king stands behind a rook
    int king_rank_square[2][2];     // rooks: the rook's file on the enemy king's rank, 0 when not set
    int back_rank_square[2][2];     // rooks: the rook's file on the enemy back rank, 0 when not set
    bool cannon_attacked_by_rook[2][2];  // [cannon side][cannon]: an enemy rook's backward ray meets it
    int cannon_pins_king[2];        // cannons: 0, 1 or 2, read by the side's second cannon
};

// One side's additions from a block, summed apart from the state and added to
// it once at the block's end. The compiler must assume that a store into the
// state may change the board and the tables a block reads: sums kept in the
// state would be stored after every term, and the board read again.
struct block_sums {
    int mid = 0, end = 0, attack = 0;
    void add_to(eval_state& st, int side) const {
        st.mid[side] += mid;
        st.end[side] += end;
        st.attack[side] += attack;
    }
};

// Material, pawn-zone and wing counts of both sides, into st.side of a
// value-initialised state: the counts start from its zeros.
void count_material(const Count& e, eval_state& st);
// Terms from the material counts, the wings and the defender structure.
void count_terms(const Count& e, eval_state& st);
// The attack count of each side and its weight in the attack accumulator.
void attack_counts(eval_state& st);

// The piece blocks, red's terms and then black's. Both sides share one call:
// each side's half is inlined, which saves a call with its saved registers.
void horse_terms(const Count& e, eval_state& st);
void rook_terms(const Count& e, eval_state& st);
void cannon_terms(const Count& e, eval_state& st);
void king_safety_terms(const Count& e, eval_state& st);

// Drawn and drawish endings; may set accumulators when it lets the evaluation go on.
endgame_verdict recognise_endgame(const Count& e, eval_state& st, const char** rule);

}  // namespace eval
