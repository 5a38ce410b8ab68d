// Material, pawn-zone and wing counts of both sides (the first steps of the evaluation).
#include "eval/eval_state.h"
#include "eval/side_view.h"

namespace eval {

namespace {

template <int S>
void count_side(const Count& e, eval_state& st) {
    using V = side_view<S>;
    side_counts& c = st.side[S];
    c = side_counts{};
    const int* t = e.type_count;
    c.pawns = t[V::own_type(PAWN)];
    c.elephants = t[V::own_type(ELEPHANT)];
    c.advisors = t[V::own_type(ADVISOR)];
    c.horses = t[V::own_type(HORSE)];
    c.cannons = t[V::own_type(CANNON)];
    c.rooks = t[V::own_type(ROOK)];
    c.defenders = c.advisors + c.elephants;
    c.full_pairs = (c.advisors == 2) + (c.elephants == 2);
    c.minor_major = c.horses + c.cannons + c.rooks;
    c.strength = c.horses + c.cannons + 2 * c.rooks;

    const int king_rank = V::rank(st.king[V::enemy]);
    for (int k = 0; k < 5; ++k) {
        const int sq = e.piece_square[V::code(PAWN_OFFSET, k)];
        if (sq == 0 || !V::in_enemy_half(sq)) continue;
        c.crossed += 1;
        if (V::rank(sq) < king_rank || !V::in_enemy_camp_centre(sq)) continue;
        const bool palace = V::in_enemy_palace(sq);
        c.deep += 1;
        c.palace += palace;
        for (int w : {LEFT, RIGHT}) {
            c.deep_wing[w] += V::on_enemy_wing(w, sq);
            c.palace_wing[w] += palace && V::on_enemy_wing(w, sq);
        }
    }
    for (int k = 0; k < 2; ++k) {
        const int rook = e.piece_square[V::code(ROOK_OFFSET, k)];
        const int horse = e.piece_square[V::code(HORSE_OFFSET, k)];
        const int cannon = e.piece_square[V::code(CANNON_OFFSET, k)];
        c.rooks_in_enemy_half += rook != 0 && V::in_enemy_half(rook);
        c.horses_in_enemy_half += horse != 0 && V::in_enemy_half(horse);
        c.cannons_in_enemy_half += cannon != 0 && V::in_enemy_half(cannon);
        for (int w : {LEFT, RIGHT}) {
            c.rooks_on_wing[w] += rook != 0 && V::on_enemy_wing(w, rook);
            c.horses_on_wing[w] += horse != 0 && V::on_enemy_wing(w, horse);
            c.cannons_on_wing[w] += cannon != 0 && V::on_enemy_wing(w, cannon);
        }
    }
}

// This side's attack on each enemy wing and the enemy's pieces defending it.
template <int S>
void wing_sums(const Count& e, eval_state& st) {
    using V = side_view<S>;
    side_counts& c = st.side[S];
    if (c.strength < 2) return;
    const int enemy_base = side_base(V::enemy);
    for (int w : {LEFT, RIGHT}) {
        c.wing_attack[w] = 3 * c.horses_on_wing[w] + 2 * c.cannons_on_wing[w] + 4 * c.rooks_on_wing[w] +
                           c.deep_wing[w] + c.palace_wing[w];
        int defence = 0;
        for (int k = 0; k < 2; ++k) {
            const int horse = e.piece_square[enemy_base + HORSE_OFFSET + k];
            const int cannon = e.piece_square[enemy_base + CANNON_OFFSET + k];
            const int rook = e.piece_square[enemy_base + ROOK_OFFSET + k];
            defence += (horse != 0 && V::on_enemy_wing(w, horse)) + (cannon != 0 && V::on_enemy_wing(w, cannon)) +
                       2 * (rook != 0 && V::on_enemy_wing(w, rook));
        }
        c.wing_defence[w] = 2 * defence;
    }
}

}  // namespace

void count_material(const Count& e, eval_state& st) {
    count_side<RED>(e, st);
    count_side<BLACK>(e, st);
    wing_sums<RED>(e, st);
    wing_sums<BLACK>(e, st);
}

}  // namespace eval
