// Terms from the material counts: pawn worth by amount of material, endgame
// pawns, strength balance, wings, defender structure and the attack count.
#include <cstdlib>

#include "eval/eval_state.h"
#include "eval/side_view.h"

namespace eval {

namespace {

// The worth of a pawn rises as the pieces come off.
void pawn_worth(eval_state& st) {
    const side_counts& r = st.side[RED];
    const side_counts& b = st.side[BLACK];
    const int total = r.minor_major + b.minor_major;
    const bool any_rook = r.rooks + b.rooks > 0;
    const int double_rooks = (r.rooks == 2) + (b.rooks == 2);
    if (total > 10 && r.defenders > 3 && b.defenders > 3) {
        const int k = (r.pawns == 5 && b.pawns == 5) ? 10 : (r.pawns >= 4 && b.pawns >= 4) ? 5 : 0;
        for (int s : {RED, BLACK}) {
            st.mid[s] -= k * st.side[s].pawns;
            st.end[s] -= k * st.side[s].pawns;
        }
    } else if (total > 6 || (total == 6 && (r.crossed > 0 || b.crossed > 0 || double_rooks > 0))) {
        const int k = total > 10  ? 0
                      : total >= 9 ? 10 - 5 * double_rooks
                      : total >= 7 ? (any_rook ? 30 : 50) - 5 * double_rooks
                                   : (any_rook ? 50 : 70) - 10 * double_rooks;
        for (int s : {RED, BLACK}) {
            st.mid[s] += k * st.side[s].pawns;
            st.end[s] += k * st.side[s].pawns;
        }
    } else if (total < 5) {
        const int k = any_rook ? 80 : 110;
        for (int s : {RED, BLACK}) {
            const int worth = k * st.side[s].pawns + 30 * st.side[s].defenders;
            st.mid[s] += worth;
            st.end[s] += worth;
        }
    } else {
        // The defenders' bonus goes to red's middlegame share but to black's endgame share.
        const int k = any_rook ? 60 : 80;
        st.mid[RED] += k * r.pawns + 40 * r.defenders;
        st.end[RED] += k * r.pawns;
        st.mid[BLACK] += k * b.pawns;
        st.end[BLACK] += k * b.pawns + 40 * b.defenders;
    }
}

// Pawns in thin endgames, rook and strength balance.
void endgame_counts(const Count& e, eval_state& st) {
    const side_counts* c = st.side;
    const bool equal_strength = c[RED].strength == c[BLACK].strength;
    const bool equal_rooks = c[RED].rooks == c[BLACK].rooks;
    const bool any_rook = c[RED].rooks + c[BLACK].rooks > 0;
    for (int s : {RED, BLACK}) {
        const side_counts& me = c[s];
        const side_counts& them = c[1 - s];
        if (e.eval_phase_class > 1) {
            if (me.rooks > 0) st.end[s] += 30 * me.crossed;
            if (equal_strength && equal_rooks) {
                const bool two = me.minor_major <= 2 && them.minor_major <= 2;
                const bool three = me.minor_major <= 3 && them.minor_major <= 3;
                if (two || three) {
                    const int per_pawn_mid = two ? 40 : 30, per_crossed_mid = two ? 80 : 60;
                    const int more = me.pawns - them.pawns;
                    if (more >= 2) {
                        st.mid[s] += per_pawn_mid * more;
                        st.end[s] += per_pawn_mid / 2 * more;
                    }
                    st.mid[s] += per_crossed_mid * me.crossed;
                    st.end[s] += per_crossed_mid / 2 * me.crossed;
                }
            }
        }
        if (!any_rook) {
            if (me.pawns > them.pawns) st.mid[s] += (me.pawns - them.pawns) * (me.horses + me.cannons) * 5;
            st.mid[s] += 30 * me.crossed;
            st.end[s] += 50 * me.full_pairs - 50;
        }
        if (me.rooks > them.rooks) {
            st.mid[s] += 100;
            st.end[s] += 150;
        }
        if (me.strength > them.strength && me.minor_major > them.minor_major) {
            const int b = st.phase < 8 ? (any_rook ? 250 : 350) : st.phase < 10 ? 100 : 50;
            st.mid[s] += b;
            st.end[s] += b;
        }
        if (equal_strength && equal_rooks && me.rooks > 0 && me.horses + me.cannons == 2) {
            if (me.horses == 2) st.mid[s] -= 80;
            if (me.cannons == 2) st.mid[s] -= 40;
        }
    }
}

// An attack on an enemy wing counts once, and again when it is not outnumbered (twice when undefended).
void wing_terms(eval_state& st) {
    for (int s : {RED, BLACK}) {
        for (int w : {LEFT, RIGHT}) {
            const int a = st.side[s].wing_attack[w], d = st.side[s].wing_defence[w];
            if (d == 0) st.mid[s] += 5 * a;
            if (a >= d) st.mid[s] += 5 * (a - d);
        }
    }
}

template <int S>
void defender_structure(const Count& e, eval_state& st) {
    using V = side_view<S>;
    const int e1 = e.piece_square[V::code(ELEPHANT_OFFSET, 0)], e2 = e.piece_square[V::code(ELEPHANT_OFFSET, 1)];
    if (e1 != 0 && e2 != 0) {
        const int d = std::abs(e1 - e2);
        if (d == 30 || d == 34) {
            const bool open = is_empty(e, (e1 + e2) / 2);
            st.mid[S] += open ? 17 : 8;
            st.end[S] += open ? 11 : 6;
        }
    }
    const int a1 = e.piece_square[V::code(ADVISOR_OFFSET, 0)], a2 = e.piece_square[V::code(ADVISOR_OFFSET, 1)];
    if (a1 != 0 && a2 != 0) {
        const int d = std::abs(a1 - a2);
        if (d == 15 || d == 17) {
            st.mid[S] += 6;
            st.end[S] += 9;
        }
    }
}

}  // namespace

void attack_counts(eval_state& st) {
    for (int s : {RED, BLACK}) {
        side_counts& me = st.side[s];
        const side_counts& them = st.side[1 - s];
        me.attack_count = me.rooks + 2 * me.rooks_in_enemy_half + 2 * me.horses_in_enemy_half + me.cannons +
                          me.cannons_in_enemy_half + me.crossed;
        st.attack[s] += attack_weight[attack_index(me.attack_count)];
        const bool strong = me.minor_major >= 3 ? me.attack_count + me.rooks >= 6 : me.attack_count > 5;
        if (strong) st.attack[s] += 160 - 20 * them.advisors - 30 * (them.elephants + them.full_pairs);
    }
}

void count_terms(const Count& e, eval_state& st) {
    pawn_worth(st);
    endgame_counts(e, st);
    if (e.eval_phase_class <= 2) wing_terms(st);
    defender_structure<RED>(e, st);
    defender_structure<BLACK>(e, st);
}

}  // namespace eval
