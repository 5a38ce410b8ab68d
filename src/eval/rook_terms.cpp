// Rooks: four ray scans for mobility, attacked and pinned pieces, open files
// toward the enemy palace and mating patterns.
#include <array>
#include <utility>

#include "eval/eval_state.h"
#include "eval/side_view.h"

namespace eval {

namespace {

// The mobility term of a rook that reaches m squares: a penalty when they are
// few, a steep rise toward the open rook, then the count itself.
constexpr int FEW_SQUARES = 6, SOME_SQUARES = 8;
constexpr int FEW_SQUARES_PENALTY = 30, SOME_SQUARES_OFFSET = 20;
constexpr int mobility_term(int m) {
    if (m < FEW_SQUARES) return -FEW_SQUARES_PENALTY;
    if (m <= SOME_SQUARES) return m - SOME_SQUARES_OFFSET;
    return m;
}
// Read from a table: the count follows the board, and the two tests of the
// rule would be branches no predictor learns. A rook reaches at most ten
// squares along its file and eight along its rank.
constexpr int MOBILITY_TABLE_SIZE = 32;
constexpr std::array<int, MOBILITY_TABLE_SIZE> MOBILITY_TERM = [] {
    std::array<int, MOBILITY_TABLE_SIZE> t{};
    for (int m = 0; m < MOBILITY_TABLE_SIZE; ++m) t[m] = mobility_term(m);
    return t;
}();

// Inlined into the side's loop: as a call of its own, the rook saves and
// restores every callee-saved register twice per side.
template <int S>
[[gnu::always_inline]] inline void one_rook(const Count& e, eval_state& st, block_sums& sums, int k, int s) {
    using V = side_view<S>;
    constexpr int f = V::fwd;
    const side_counts& me = st.side[S];
    const side_counts& them = st.side[V::enemy];
    const int king = st.king[V::enemy];
    const int file = file_of(s);
    int& mid = sums.mid;
    int& end = sums.end;
    int& attack = sums.attack;
    int m = 0;  // mobility

    // Shut in an enemy corner.
    if ((s == V::sq(A9) || s == V::sq(B9) || s == V::sq(C9)) && V::enemy_at(e, V::sq(C7), HORSE) &&
        V::enemy_at(e, V::sq(A6), PAWN))
        mid -= 150;
    if ((s == V::sq(G9) || s == V::sq(H9) || s == V::sq(I9)) && V::enemy_at(e, V::sq(G7), HORSE) &&
        V::enemy_at(e, V::sq(I6), PAWN))
        mid -= 150;

    // Backward, toward the own back rank. Each line is read once for the
    // blocker and the piece past it.
    int t, behind_t;
    first_two_occupied<-f>(e.lines, s, t, behind_t);
    if (V::own_at(e, t, KING)) {
        mid += 3;
        st.rook_guards_king[S] = true;
    } else if (V::enemy_piece_at(e, t)) {
        mid += V::enemy_bonus(e, t);
        m += 1;
        if (V::enemy_at(e, t, CANNON))
            st.cannon_attacked_by_rook[V::enemy][e.board[t] - side_base(V::enemy) - CANNON_OFFSET] = true;
        // A piece in front of its own rook is pinned against it.
        if (V::enemy_at(e, behind_t, ROOK) && V::rank(t) >= 6) {
            if (V::enemy_at(e, t, CANNON)) mid += 35, end += 40;
            if (V::enemy_at(e, t, HORSE)) mid += 71, end += 80;
        }
    }

    // Forward: the blocker square counts as mobility, the edge included.
    int b, past_b;
    first_two_occupied<f>(e.lines, s, b, past_b);
    // The squares between the two blockers of the file, the forward one included.
    m += static_cast<int>(static_cast<unsigned>(f < 0 ? t - b : b - t) / RANK_STEP) - 1;
    const bool left_board = e.board[b] == OFF_BOARD;
    const int b_rank = V::rank(b);
    const int king_rank = V::rank(king);
    if (b == s + f && V::own_at(e, b, HORSE)) mid -= b_rank >= 7 ? 50 : 20;
    // An edge blocker ranks -1, so one comparison covers the open file. The
    // slot is still 0: a mask stores it with no hard-to-predict branch.
    const int sees_king_rank = -static_cast<int>((king_rank >= 0) & (king_rank >= b_rank));
    st.king_rank_square[S][k] = V::square(file, king_rank < 0 ? 0 : king_rank) & sees_king_rank;
    if (left_board) {
        const int back = V::square(file, 0);
        st.back_rank_square[S][k] = back;
        if (back == V::sq(D9) || back == V::sq(F9)) mid += 22;
    } else if (b_rank == 0) {
        if (V::enemy_piece_at(e, b)) st.back_rank_square[S][k] = V::square(file, 0);
        if ((file == FILE_D || file == FILE_F) && !V::enemy_at(e, V::sq(E8), ADVISOR))
            attack += st.rook_guards_king[S] ? 120 : 40;
    }
    mid += V::enemy_bonus(e, b);

    if ((left_board || b_rank == 0) && king == V::sq(E9) &&
        (!V::enemy_at(e, V::sq(E8), ADVISOR) || V::pair_on_one_file(e, ROOK_OFFSET))) {
        if (file == FILE_D && V::own_at(e, V::sq(C7), HORSE) && is_empty(e, V::sq(C8))) attack += 200;
        if (file == FILE_F && V::own_at(e, V::sq(G7), HORSE) && is_empty(e, V::sq(G8))) attack += 200;
    }
    // With the file open, b and the square past it are off the board, where no
    // piece matches: the terms below need no test of the edge.
    if (V::own_at(e, b, ROOK) && (past_b == V::sq(D9) || past_b == V::sq(F9)) && king == V::sq(E9)) {
        if (V::enemy_at(e, V::sq(E8), HORSE)) attack += 140;
        else if (V::enemy_at(e, V::sq(E8), CANNON) || V::enemy_at(e, V::sq(E8), ROOK)) attack += 100;
    }
    if (b == V::sq(E8) && past_b == king) {
        if (V::enemy_at(e, b, HORSE)) attack += them.elephants == 0 ? 120 : 100;
        if (me.rooks_in_enemy_half == 2) attack += 90 - 30 * them.elephants;
        attack += me.horses_in_enemy_half * 20 * (2 * me.rooks - them.elephants + 2);
    }
    if (V::enemy_at(e, past_b, ROOK)) {
        if (V::enemy_at(e, b, CANNON)) {
            if (b_rank >= 6) {
                mid -= 31;
            } else if (b_rank >= 3) {
                mid += 80 - 20 * them.rooks;
                end += 100 - 40 * them.rooks;
            } else {
                mid += 200 - 60 * them.rooks;
                end += 220 - 80 * them.rooks;
            }
        } else if (V::enemy_at(e, b, HORSE)) {
            mid += 17;
            end += 35;
        }
    }

    // Along the rank, left then right.
    int left, past_left, right, past_right;
    first_two_occupied<-1>(e.lines, s, left, past_left);
    first_two_occupied<+1>(e.lines, s, right, past_right);
    m += right - left - 2;
    for (const auto& [r, past] : {std::pair{left, past_left}, std::pair{right, past_right}}) {
        if (!V::enemy_piece_at(e, r)) continue;
        mid += V::enemy_bonus(e, r);
        m += 1;
        if (V::enemy_at(e, past, ROOK)) {
            if (V::enemy_at(e, r, CANNON)) mid += 25, end += 40;
            if (V::enemy_at(e, r, HORSE)) mid += 31, end += 40;
        }
    }

    TAVOX_SELF_CHECK(m >= 0 && m < MOBILITY_TABLE_SIZE);
    mid += MOBILITY_TERM[m];

    // A rook on the enemy back rank; taken by both colours alike.
    if (V::rank(s) == 0) mid -= 60;
}

template <int S>
void side_rooks(const Count& e, eval_state& st) {
    using V = side_view<S>;
    block_sums sums;
    for (int k = 0; k < 2; ++k) {
        const int s = e.piece_square[V::code(ROOK_OFFSET, k)];
        if (s != 0) one_rook<S>(e, st, sums, k, s);
    }
    sums.add_to(st, S);
}

}  // namespace

[[gnu::noinline]] void rook_terms(const Count& e, eval_state& st) {
    side_rooks<RED>(e, st);
    side_rooks<BLACK>(e, st);
}

}  // namespace eval
