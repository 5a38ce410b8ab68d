// Horses: posts near the enemy palace, pawn threats at home, and the four legs.
#include <array>
#include <cstdint>

#include "eval/eval_state.h"
#include "eval/side_view.h"

namespace eval {

namespace {

// Mobility through an open leg: `step` per reachable target, plus the bonus for an enemy piece there.
template <int S>
int leg_targets(const Count& e, int t1, int t2, int step) {
    using V = side_view<S>;
    const int a = e.board[t1], b = e.board[t2];
    // The two target bits summed in place and shifted down once: the count
    // with no test, where a test per square would follow the board. Left to
    // itself the compiler turns one of the two into a branch.
    const unsigned reachable = static_cast<unsigned>((a & V::target_bit) + (b & V::target_bit)) / V::target_bit;
    int v = step * static_cast<int>(reachable);
    if (a & V::enemy_bit) v += V::enemy_bonus(e, t1);
    if (b & V::enemy_bit) v += V::enemy_bonus(e, t2);
    return v;
}

// The square beside a post toward the centre file: a rook there, or an enemy horse or cannon.
template <int S>
int beside_post_bonus(const Count& e, int sq) {
    using V = side_view<S>;
    const int t = type_at(e, sq);
    if (is_rook_type(t)) return 120;
    if (t == V::enemy_type(HORSE) || t == V::enemy_type(CANNON)) return 60;
    return 0;
}

// The posts near the enemy palace that the rules name, by square as seen by
// side S. Few horses stand on one: a table answers with one load and a test
// that rarely fails, where the ten square comparisons would not.
enum post_kind : uint8_t { NO_POST, PALACE_SIDE, PALACE_FRONT, RIVER, EDGE };
template <int S>
constexpr std::array<uint8_t, 256> POST = [] {
    using V = side_view<S>;
    std::array<uint8_t, 256> t{};
    for (int sq : {C8, G8}) t[V::sq(sq)] = PALACE_SIDE;
    for (int sq : {D7, F7}) t[V::sq(sq)] = PALACE_FRONT;
    for (int sq : {B6, D6, F6, H6}) t[V::sq(sq)] = RIVER;
    for (int sq : {A7, I7}) t[V::sq(sq)] = EDGE;
    return t;
}();

template <int S>
void attacking_post(const Count& e, eval_state& st, block_sums& t, int s) {
    using V = side_view<S>;
    const int post = POST<S>[s];
    if (post == NO_POST) return;
    const side_counts& me = st.side[S];
    const int king = st.king[V::enemy];
    const int king_file = file_of(king);
    const bool horse_on_e8 = V::enemy_at(e, V::sq(E8), HORSE);
    if (post == PALACE_SIDE) {
        const int v = 10 * (me.cannons + 3 * me.rooks);
        const int beside = s == V::sq(C8) ? V::sq(D8) : V::sq(F8);
        t.mid += v;
        if (king == V::sq(E9)) {
            if (horse_on_e8) t.attack += v;
            t.attack += beside_post_bonus<S>(e, beside);
        } else if (king_file == FILE_D || king_file == FILE_F) {
            st.enemy_king_off_centre[S] = true;
            if (V::own_cannon_on_file(e, king_file)) t.attack += 20 * me.rooks + 5 * me.horses;
            if (king_file == FILE_D && me.wing_attack[LEFT] > 3) t.attack += 10 * me.wing_attack[LEFT];
            if (king_file == FILE_F && me.wing_attack[RIGHT] > 3) t.attack += 10 * me.wing_attack[RIGHT];
            if (is_empty(e, beside)) t.mid += 40;
        } else if (king_file == FILE_E) {
            for (int w : {LEFT, RIGHT})
                if (me.wing_attack[w] > 3) t.attack += 5 * me.wing_attack[w];
        }
    } else if (post == PALACE_FRONT) {
        if (king != V::sq(E9)) return;
        if (horse_on_e8) t.attack += 10 * (me.cannons + 3 * me.rooks);
        t.attack += beside_post_bonus<S>(e, s == V::sq(D7) ? V::sq(D8) : V::sq(F8));
    } else if (post == RIVER) {
        if (is_empty(e, s + V::fwd)) t.mid += 10 * (me.cannons + 2 * me.rooks);
        if (horse_on_e8) t.attack += 80;
    } else if (is_empty(e, s == V::sq(A7) ? V::sq(B7) : V::sq(H7))) {
        t.mid += 10 * me.rooks + 5 * me.cannons;
        if (horse_on_e8) t.attack += 60;
    }
}

// Enemy pawns that come for a horse still at home.
template <int S>
void home_threats(const Count& e, block_sums& t, int s) {
    using V = side_view<S>;
    const int rank = V::rank(s);
    if (rank < 7) return;
    const int file = file_of(s);
    const int two_ahead = s + 2 * V::fwd;
    if (V::enemy_at(e, two_ahead, PAWN)) {
        t.mid -= 60;
        t.end -= 80;
    }
    if (V::enemy_at(e, two_ahead + 2, PAWN)) {
        t.mid -= file == 0 ? 60 : 20;
        t.end -= file == 0 ? 90 : 30;
    }
    if (V::enemy_at(e, two_ahead - 2, PAWN)) {
        t.mid -= file == 8 ? 60 : 20;
        t.end -= file == 8 ? 90 : 30;
    }
    if (rank == 7) {
        if ((s == V::sq(A2) && V::own_at(e, V::sq(C0), ELEPHANT)) || (s == V::sq(I2) && V::own_at(e, V::sq(G0), ELEPHANT)))
            t.mid += 6;
        if (V::own_at(e, s + V::fwd, PAWN) && V::enemy_at(e, s + 3 * V::fwd, PAWN)) t.mid -= 9;
    }
}

// The four legs. A leg off the board is occupied (it is not empty) and its targets give nothing.
template <int S>
void legs(const Count& e, block_sums& t, int s) {
    using V = side_view<S>;
    const int f = V::fwd;
    const int rank = V::rank(s);
    const int file = file_of(s);

    const int front = s + f;
    if (is_empty(e, front)) {
        t.mid += leg_targets<S>(e, front + f + 1, front + f - 1, 3);
    } else if (V::enemy_at(e, front, ROOK)) {
        if (rank == 9) {
            const bool corner_rook = (s == V::sq(B0) && V::own_at(e, V::sq(A0), ROOK)) ||
                                     (s == V::sq(H0) && V::own_at(e, V::sq(I0), ROOK));
            t.mid -= corner_rook ? 125 : 90;
            t.end -= 115;
        } else {
            t.mid -= 50;
            t.end -= 75;
        }
    } else {
        t.mid -= 5;
        t.end -= 15;
    }

    const int back = s - f;
    if (is_empty(e, back)) {
        t.mid += leg_targets<S>(e, back - f + 1, back - f - 1, 1);
    } else {
        t.mid -= rank == 0 ? 28 : 3;
        t.end -= 10;
    }

    for (int side_step : {-1, +1}) {
        const int leg = s + side_step;
        if (is_empty(e, leg)) {
            t.mid += leg_targets<S>(e, leg + side_step + f, leg + side_step - f, 1);
        } else if (V::enemy_at(e, leg, ROOK) && file == (side_step < 0 ? 8 : 0)) {
            // A rook beside a horse on the edge file shuts it in.
            t.mid -= 66;
            t.end -= 80;
        } else {
            t.mid -= 1;
        }
    }
}

template <int S>
void side_horses(const Count& e, eval_state& st) {
    using V = side_view<S>;
    block_sums t;
    for (int k = 0; k < 2; ++k) {
        const int s = e.piece_square[V::code(HORSE_OFFSET, k)];
        if (s == 0) continue;
        attacking_post<S>(e, st, t, s);
        home_threats<S>(e, t, s);
        legs<S>(e, t, s);
    }
    t.add_to(st, S);
}

}  // namespace

void horse_terms(const Count& e, eval_state& st) {
    side_horses<RED>(e, st);
    side_horses<BLACK>(e, st);
}

}  // namespace eval
