// King safety: weaknesses of the enemy palace, counted into the attack score.
#include "eval/eval_state.h"
#include "eval/side_view.h"

namespace eval {

namespace {

template <int S>
int rooks_in_enemy_palace(const Count& e) {
    using V = side_view<S>;
    int n = 0;
    for (int k = 0; k < 2; ++k) {
        const int s = e.piece_square[V::code(ROOK_OFFSET, k)];
        n += s != 0 && V::in_enemy_palace(s);
    }
    return n;
}

template <int S>
int missing_advisors(const Count& e, const eval_state& st) {
    using V = side_view<S>;
    const side_counts& me = st.side[S];
    const side_counts& them = st.side[V::enemy];
    const int a = them.advisors;
    if (a >= 2) return 0;
    const int pawns = me.deep + me.palace;
    int v = 20 * (3 - a) * pawns;
    if (me.rooks_in_enemy_half > 0) v += 10 * (2 - a) * pawns + me.horses_in_enemy_half * 10 * (2 * (3 - a) - them.elephants);
    if (st.rook_guards_king[S]) v += 20;
    if (me.rooks == 2) {
        v += 20 * me.deep + 30;
        if (me.rooks_in_enemy_half == 2) {
            v += 30 + 30 * rooks_in_enemy_palace<S>(e);
            if (a == 0) v += 60 - 20 * them.elephants;
            if (st.king[V::enemy] != V::sq(E9)) v += 20;
        }
    }
    return v;
}

template <int S>
int king_at_home(const Count& e, const eval_state& st) {
    using V = side_view<S>;
    const side_counts& me = st.side[S];
    const int a = st.side[V::enemy].advisors;
    int v = 0;
    for (int w : {LEFT, RIGHT}) {
        if (!V::own_at(e, V::sq(w == LEFT ? C7 : G7), HORSE)) continue;
        v += 50 * me.palace_wing[w];
        if (me.rooks_in_enemy_half == 2) v += 40;
        if (me.rooks_on_wing[w] > 0) v += 40 * (2 - a);
        if (!st.cannon_pins_king[S]) continue;
        v += 50 * me.palace_wing[w];
        if (me.rooks_on_wing[w] > 0) v += 100;
        // Red needs a pawn on the far side of the palace centre; black one on the near side.
        const bool far_pawn = S == RED;
        const int pawn_square = V::sq((w == LEFT) == far_pawn ? F8 : D8);
        if (is_empty(e, V::sq(w == LEFT ? D9 : F9)) && V::own_at(e, pawn_square, PAWN)) v += 100;
        if (V::enemy_piece_at(e, V::sq(w == LEFT ? F9 : D9))) v += 20;
    }
    // The enemy on the palace centre and on both corners beside the king: one
    // test of the three board values together. A test of the centre first
    // followed the board and missed often.
    const int centre = e.board[V::sq(E8)];
    if (centre & e.board[V::sq(D9)] & e.board[V::sq(F9)] & V::enemy_bit)
        v += 30 * (me.deep + me.palace) + 20 * me.horses_in_enemy_half;
    if (e.piece_type[centre] == V::enemy_type(HORSE)) v += 20 * (me.rooks_in_enemy_half + me.horses_in_enemy_half);
    return v;
}

template <int S>
int king_moved(const Count& e, const eval_state& st) {
    using V = side_view<S>;
    const side_counts& me = st.side[S];
    const int king = st.king[V::enemy];
    const int file = file_of(king);
    int v = 0;
    if (file == FILE_D || file == FILE_F) {
        const int w = file == FILE_D ? LEFT : RIGHT;
        const int rank = V::rank(king);
        const int per_horse = V::enemy_piece_at(e, V::sq(E8)) && (rank == 1 || rank == 2) ? 120 : 80;
        v += 30 * me.deep_wing[w];
        if (me.rooks_on_wing[w] > 0) {
            v += per_horse * me.horses_on_wing[w];
            if (me.rooks_on_wing[w] == 2) v += 200;
        }
    } else if (file == FILE_E && me.rooks_in_enemy_half > 0) {
        if (me.rooks_in_enemy_half == 2) v += 125;
        v += (80 - 20 * st.side[V::enemy].advisors) * me.horses_in_enemy_half + 30 * me.deep;
    }
    return v;
}

// A rook or pawn on the palace centre in front of the king.
template <int S>
int palace_centre(const Count& e, const eval_state& st) {
    using V = side_view<S>;
    const side_counts& me = st.side[S];
    const int king = st.king[V::enemy];
    const int file = file_of(king);
    const bool cannon_on_king_file = (file == FILE_D || file == FILE_F) && V::own_cannon_on_file(e, file);
    const int cannon_file_bonus = cannon_on_king_file ? 15 * (2 * me.rooks + me.horses) : 0;
    if (V::own_at(e, V::sq(E8), ROOK))
        return 50 * (me.horses + 6 * me.rooks + 2 * me.deep - 6) + 150 * me.horses_in_enemy_half + cannon_file_bonus;
    if (!V::own_at(e, V::sq(E8), PAWN)) return 0;
    int v = 50 * me.rooks + 100 * me.horses_in_enemy_half + cannon_file_bonus;
    if (king == V::sq(D9) || king == V::sq(E9) || king == V::sq(F9)) v += 50 * (me.horses + 3 * me.rooks + me.deep);
    return v;
}

template <int S>
void side_king_safety(const Count& e, eval_state& st) {
    using V = side_view<S>;
    int v = missing_advisors<S>(e, st);
    v += st.king[V::enemy] == V::sq(E9) ? king_at_home<S>(e, st) : king_moved<S>(e, st);
    st.attack[S] += v + palace_centre<S>(e, st);
}

}  // namespace

void king_safety_terms(const Count& e, eval_state& st) {
    side_king_safety<RED>(e, st);
    side_king_safety<BLACK>(e, st);
}

}  // namespace eval
