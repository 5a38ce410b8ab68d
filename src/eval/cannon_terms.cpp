// Cannons: pawn threats, screens and targets along the file and the rank,
// pins against the enemy king, and the attacking formations with rooks and horses.
#include "eval/eval_state.h"
#include "eval/side_view.h"
#include "eval/type_weights.h"

namespace eval {

namespace {

template <int S>
struct cannon_context {
    using V = side_view<S>;
    const Count& e;
    eval_state& st;
    const side_counts& me;
    const side_counts& them;
    int king;  // the enemy king
    int k;     // which of the side's two cannons
    int q;     // its square

    int& mid() { return st.mid[S]; }
    int& end() { return st.end[S]; }
    int& attack() { return st.attack[S]; }
    bool enemy_beside_king() const { return V::enemy_piece_at(e, king - 1) && V::enemy_piece_at(e, king + 1); }
};

// The screen and the target of a cannon along a rank.
template <int S> constexpr type_weights RANK_SCREEN_WEIGHT = own_type_weights<S>({{HORSE, 8}, {CANNON, 4}});
template <int S> constexpr type_weights RANK_TARGET_ATTACK = own_type_weights<S>({{HORSE, 20}, {CANNON, 5}});

// Rule for the wing balance of an attack along a rank: the three thresholds with their weights.
inline int wing_balance(int a, int d, int above7, int wide_per_a, int narrow_per_a) {
    if (a - d > 7) return above7;
    if (a - d > 2 && a > 7) return wide_per_a * a;
    if (a - d > 0 && a > 6) return narrow_per_a * a;
    return 0;
}

// The enemy king straight ahead with nothing between.
template <int S>
void facing_king_on_file(cannon_context<S>& c) {
    using V = side_view<S>;
    const side_counts& me = c.me;
    int& attack = c.attack();
    const bool cannons_one_file = V::pair_on_one_file(c.e, CANNON_OFFSET);
    if (file_of(c.q) == FILE_E) {
        if (c.enemy_beside_king()) c.mid() += 40;
        const bool outnumbered = me.minor_major < 3 && c.them.minor_major >= me.minor_major;
        if (me.rooks > 0 && !outnumbered) attack += 40 * (me.cannons + 2 * me.rooks + me.horses);
        if (me.rooks_in_enemy_half == 2) attack += 300;
        attack += 50 * me.horses_in_enemy_half;
        if (me.rooks_in_enemy_half > 0) attack += 100 * me.horses_in_enemy_half;
        attack += 20 * me.deep + 40 * me.palace;
        if (cannons_one_file) attack += 20;
        return;
    }
    if (c.st.enemy_king_off_centre[S]) {
        attack += 20 * me.rooks_in_enemy_half;
        if (me.horses_in_enemy_half == 2) attack += 20;
    }
    const int centre = c.king - file_of(c.king) + FILE_E;
    if (V::enemy_piece_at(c.e, centre)) {
        if (cannons_one_file) attack += 20;
        if (me.rooks_in_enemy_half == 2) attack += 100;
        attack += 40 * me.horses_in_enemy_half;
        if (me.rooks_in_enemy_half > 0) attack += 80 * me.horses_in_enemy_half;
    }
    if ((c.them.advisors < 2 || c.them.elephants < 2) && me.rooks_in_enemy_half > 0) {
        if (me.rooks_in_enemy_half == 2) attack += 100;
        attack += 80 * me.horses_in_enemy_half;
    }
    if (c.them.rooks == 0) attack += 30;
}

// The target in front of the screen is pinned against the enemy king.
template <int S>
void pin_on_file(cannon_context<S>& c, int screen, int target) {
    using V = side_view<S>;
    const Count& e = c.e;
    const side_counts& me = c.me;
    const side_counts& them = c.them;
    int& attack = c.attack();
    int& mid = c.mid();
    c.st.cannon_pins_king[S] = 1;
    const int screen_type = type_at(e, screen), target_type = type_at(e, target);
    if (!is_pawn_type(screen_type)) mid += 20;
    if (!is_pawn_type(target_type)) mid += 20;
    if (screen_type == V::own_type(ROOK)) mid += 80;
    else if (screen_type == V::own_type(HORSE)) mid += 40;
    if (c.st.enemy_king_off_centre[S]) attack += 20 * (me.horses + 2 * me.rooks);
    if (them.full_pairs == 2 && c.king == V::sq(E9) &&
        ((is_empty(e, V::sq(D9)) && V::enemy_at(e, V::sq(C9), ELEPHANT)) ||
         (is_empty(e, V::sq(F9)) && V::enemy_at(e, V::sq(G9), ELEPHANT))))
        attack += 10;
    if (me.rooks_in_enemy_half > 0) attack += (120 - 40 * them.full_pairs) * me.horses_in_enemy_half;
    if (V::pair_on_one_file(e, ROOK_OFFSET)) {
        const int rook_file = file_of(e.piece_square[V::code(ROOK_OFFSET, 0)]);
        if (rook_file == FILE_D || rook_file == FILE_F) attack += 80;
    }
    if (me.rooks_in_enemy_half == 2) attack += them.advisors < 2 ? 120 : 20;
    if (is_empty(e, V::sq(D9))) attack += 20 * (me.deep_wing[LEFT] + me.palace_wing[LEFT]);
    if (is_empty(e, V::sq(F9))) attack += 20 * (me.deep_wing[RIGHT] + me.palace_wing[RIGHT]);
    if (target_type == V::own_type(CANNON)) {
        if (screen_type == V::enemy_type(ROOK)) attack += 120;
        else if (screen_type == V::enemy_type(HORSE) || screen_type == V::enemy_type(CANNON)) attack += 60;
    }
    for (int kind : {ROOK, HORSE, CANNON})
        if (screen_type == V::enemy_type(kind) || target_type == V::enemy_type(kind)) mid += kind == ROOK ? 120 : 60;

    if (target != V::sq(E8)) return;
    c.st.cannon_pins_king[S] = 2;
    if (c.enemy_beside_king()) attack += 60;
    for (int w : {LEFT, RIGHT})
        if (me.wing_attack[w] > 5) attack += 10 * me.wing_attack[w];
    if (target_type == V::enemy_type(HORSE)) attack += 240;
    else if (target_type == V::enemy_type(ROOK)) attack += 360;
    if (target_type != V::enemy_type(ADVISOR) && (V::own_at(e, V::sq(D8), PAWN) || V::own_at(e, V::sq(F8), PAWN)))
        attack += 100;
    if (V::rank(c.king) == 0 && me.rooks > 0) {
        // Rooks that can drop onto the back rank beside the king.
        int left = scan(e, c.king, -1), right = scan(e, c.king, +1);
        if (e.board[left] == OFF_BOARD) left = V::sq(A9);
        if (e.board[right] == OFF_BOARD) right = V::sq(I9);
        for (int r = 0; r < 2; ++r) {
            const int back = c.st.back_rank_square[S][r];
            if (back == 0) continue;
            if (back > left && back < c.king) attack += file_of(back) <= 2 ? 140 : 120;
            if (back > c.king && back < right) attack += file_of(back) >= 6 ? 140 : 120;
        }
    }
    if (c.st.rook_guards_king[S]) attack += 40;
}

template <int S>
[[gnu::always_inline]] inline void forward_file(cannon_context<S>& c) {
    using V = side_view<S>;
    const Count& e = c.e;
    int screen, target, beyond;
    first_three_occupied<V::fwd>(e.lines, c.q, screen, target, beyond);
    if (screen == c.king) {
        if (V::rank(c.q) >= 3) facing_king_on_file(c);
        return;
    }
    const int file = file_of(c.q);
    if (e.board[screen] == OFF_BOARD) {
        if (file == FILE_D || file == FILE_F) {
            c.mid() += 20;
            if (c.st.cannon_pins_king[S]) c.attack() += 20;
        }
        return;
    }
    if (V::own_at(e, screen, CANNON)) c.mid() += 10;
    if (e.board[target] == OFF_BOARD) {
        if (file == FILE_E) {
            const int p = c.them.full_pairs;
            c.attack() += 5 * c.me.rooks * (4 - p) + c.me.horses * (11 - 3 * p);
            if (V::pair_on_one_file(e, CANNON_OFFSET)) c.attack() += 20;
        }
        return;
    }
    const bool rook_screen = V::own_at(e, screen, ROOK);
    const bool enemy_target = V::enemy_piece_at(e, target);
    if (enemy_target) c.mid() += V::enemy_bonus(e, target) * (rook_screen ? 6 : 1);
    if (beyond == c.king) pin_on_file(c, screen, target);
    if (enemy_target && V::enemy_at(e, beyond, ROOK)) {
        c.mid() += 38;
        c.end() += 60;
        if (V::enemy_at(e, target, HORSE)) c.attack() += 40;
        if (rook_screen) {
            c.mid() += 80;
            c.end() += 100;
        }
    }
}

// The piece past the first one behind the cannon. On the last two ranks, or
// with no screen behind it, that square is off the board, where the capture
// bonus is 0: no test of either case is needed, and both follow the board
// and no pattern.
template <int S>
[[gnu::always_inline]] inline void backward_file(cannon_context<S>& c) {
    using V = side_view<S>;
    c.mid() += V::enemy_bonus(c.e, second_occupied<-V::fwd>(c.e.lines, c.q));
}

// Along the rank toward one wing of the enemy king: step +1 looks at the left wing, -1 at the right.
template <int S, int step>
[[gnu::always_inline]] inline void along_rank(cannon_context<S>& c, int wing) {
    using V = side_view<S>;
    const Count& e = c.e;
    const side_counts& me = c.me;
    eval_state& st = c.st;
    int& attack = c.attack();
    // Read only with the enemy king on the rank, which is seldom.
    auto wing_counts = [&](int& a, int& d, int& p) {
        a = me.wing_attack[wing], d = me.wing_defence[wing], p = c.them.full_pairs;
    };
    auto attacked = [&] { return st.cannon_attacked_by_rook[S][c.k]; };

    int screen, target, beyond;
    first_three_occupied<step>(e.lines, c.q, screen, target, beyond);
    const int screen_type = type_at(e, screen);
    c.mid() += RANK_SCREEN_WEIGHT<S>[screen_type];
    if (screen == c.king) {
        const int lo = c.q < c.king ? c.q : c.king, hi = c.q < c.king ? c.king : c.q;
        int n = 0;
        bool any_king_rank_square = false;
        for (int r = 0; r < 2; ++r) {
            const int krs = st.king_rank_square[S][r];
            any_king_rank_square |= krs != 0;
            n += krs > lo && krs < hi;
        }
        if (n > 0) {
            if (me.rooks == 2) attack += me.rooks_on_wing[wing] == 2 ? 130 : 30;
            if (n == 2) attack += 100;
            if (V::enemy_piece_at(e, c.king - V::fwd) && V::rank(c.q) == 0) attack += 120 * n;
            if (st.rook_guards_king[S]) attack += 45;
            attack += 80 * n + 100 * me.horses_on_wing[wing];
        }
        attack += 40 * me.deep_wing[wing];
        if (st.cannon_pins_king[S]) attack += 50 * me.rooks + 20 * me.horses;
        if (me.cannons_on_wing[wing] == 2 && !V::pair_on_one_file(e, CANNON_OFFSET) && any_king_rank_square)
            attack += 200;
        int a, d, p;
        wing_counts(a, d, p);
        attack += wing_balance(a, d, 320 - 40 * p, 5 * (6 - p), 5 * (4 - p));
        if (attacked()) attack -= 100;
        c.mid() += 10 * (me.horses + 2 * me.rooks);
    }
    // With no screen the target is off the board too: past the edge there are
    // more off-board squares. One test then covers both ends of the scan.
    if (e.board[target] == OFF_BOARD) return;
    c.mid() += V::enemy_bonus(e, target);
    const int target_type = type_at(e, target);
    if (beyond == c.king) {
        attack += 50 * me.deep_wing[wing];
        if (st.cannon_pins_king[S]) attack += 50 * me.rooks + 20 * me.horses;
        if (me.rooks_in_enemy_half == 2) attack += c.them.advisors < 2 ? 160 : 60;
        int a, d, p;
        wing_counts(a, d, p);
        if (!attacked()) attack += wing_balance(a, d, 248 - 64 * p, 22 - 6 * p, 5 * (3 - p));
        const int corner = V::sq(wing == LEFT ? D9 : F9);
        const int elephant_home = V::sq(wing == LEFT ? C9 : G9);
        const int edge = V::sq(wing == LEFT ? A7 : I7);
        if (c.king == V::sq(E9) && V::enemy_at(e, V::sq(E8), ADVISOR) && V::enemy_at(e, corner, ADVISOR) &&
            !(V::enemy_at(e, V::sq(E7), ELEPHANT) && V::enemy_at(e, edge, ELEPHANT)) &&
            V::enemy_at(e, elephant_home, ELEPHANT)) {
            for (int r = 0; r < 2; ++r)
                if (st.back_rank_square[S][r] == elephant_home) attack += 100;
            if (screen_type == V::own_type(ROOK) && a - d > 2) attack += 20 * a;
        }
        if (screen_type == V::own_type(ROOK)) attack += 90;
        else if (screen_type == V::own_type(HORSE)) attack += 40;
        if (screen_type == V::enemy_type(ROOK) || target_type == V::enemy_type(ROOK)) attack += 90;
        if (screen_type == V::enemy_type(HORSE) || target_type == V::enemy_type(HORSE)) attack += 40;
        if (screen_type == V::enemy_type(CANNON) || target_type == V::enemy_type(CANNON)) attack += 40;
    }
    attack += RANK_TARGET_ATTACK<S>[target_type];
    if (V::enemy_at(e, beyond, ROOK)) {
        if (V::enemy_piece_at(e, target)) {
            c.mid() += 38;
            c.end() += 60;
            if (target_type == V::enemy_type(HORSE)) attack += 40;
        }
        if (screen_type == V::own_type(ROOK)) {
            c.mid() += 80;
            c.end() += 100;
        }
    }
}

// The scans are inlined into the side's loop, and the side's loop kept out of
// the evaluation's body: a cannon's context then lives in registers, not in
// memory handed from call to call.
template <int S>
[[gnu::noinline]] void side_cannons(const Count& e, eval_state& st) {
    using V = side_view<S>;
    for (int k = 0; k < 2; ++k) {
        const int q = e.piece_square[V::code(CANNON_OFFSET, k)];
        if (q == 0) continue;
        cannon_context<S> c{e, st, st.side[S], st.side[V::enemy], st.king[V::enemy], k, q};
        if (V::enemy_at(e, q + 2 * V::fwd, PAWN)) c.mid() -= 35;
        if (V::enemy_at(e, q + V::fwd, PAWN)) c.mid() -= 65;
        if (V::rank(q) >= 2) forward_file(c);
        backward_file(c);
        const int file = file_of(q);
        if (file < 7) along_rank<S, +1>(c, LEFT);
        if (file > 1) along_rank<S, -1>(c, RIGHT);
    }
}

}  // namespace

void cannon_terms(const Count& e, eval_state& st) {
    side_cannons<RED>(e, st);
    side_cannons<BLACK>(e, st);
}

}  // namespace eval
