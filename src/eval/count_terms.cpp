// Terms from the counts: the material's terms (eval/material_terms.cpp) with
// the crossed pawns, wings, defender structure and the attack count.
#include "eval/eval_state.h"
#include "eval/material_table.h"
#include "eval/side_view.h"

namespace eval {

namespace {

// The terms of the material, with its parts per crossed pawn.
void material_terms_of_counts(eval_state& st) {
    const material_terms& t = st.material->terms;
    const int any_crossed = (st.side[RED].crossed | st.side[BLACK].crossed) != 0;
    for (int s : {RED, BLACK}) {
        const int crossed = st.side[s].crossed;
        st.mid[s] += t.mid[any_crossed][s] + t.mid_per_crossed[s] * crossed;
        st.end[s] += t.end[any_crossed][s] + t.end_per_crossed[s] * crossed;
    }
}

// An attack on an enemy wing counts once, and again when it is not outnumbered
// (twice when undefended). Read from a table: the wings' defence follows no
// pattern a branch could learn.
constexpr int WING_WEIGHT = 5;
// Two pieces of each kind at most and five pawns: horses weigh 3, cannons 2,
// rooks 4 and the deep pawns 1, and 1 again in the palace; the defence counts
// horses and cannons 2, rooks 4.
constexpr int MAX_WING_ATTACK = 2 * (3 + 2 + 4) + 2 * 5;
constexpr int MAX_WING_DEFENCE = 2 * (2 + 2 + 4);
struct wing_table {
    int16_t at[MAX_WING_ATTACK + 1][MAX_WING_DEFENCE + 1];  // [attack][defence]
};
constexpr wing_table wing_values() {
    wing_table t{};
    for (int a = 0; a <= MAX_WING_ATTACK; ++a) {
        for (int d = 0; d <= MAX_WING_DEFENCE; ++d) {
            const int undefended = d == 0 ? a : 0, ahead = a >= d ? a - d : 0;
            t.at[a][d] = static_cast<int16_t>(WING_WEIGHT * (undefended + ahead));
        }
    }
    return t;
}
constexpr wing_table wing_terms_by_count = wing_values();

void wing_terms(eval_state& st) {
    for (int s : {RED, BLACK}) {
        const side_counts& c = st.side[s];
        for (int w : {LEFT, RIGHT}) {
            TAVOX_SELF_CHECK(c.wing_attack[w] <= MAX_WING_ATTACK && c.wing_defence[w] <= MAX_WING_DEFENCE);
            st.mid[s] += wing_terms_by_count.at[c.wing_attack[w]][c.wing_defence[w]];
        }
    }
}

// Pairs of elephants or advisors one step of theirs apart guard each other,
// the elephants more with the square between them empty. Read from tables by
// the difference of the two squares: the pairs form with no pattern a branch
// could learn. A captured piece stands on square 0, farther from every playing
// square than either step, so a pair with a missing piece never forms.
constexpr int ELEPHANT_STEPS[2] = {30, 34};  // square differences of the diagonal steps
constexpr int ADVISOR_STEPS[2] = {15, 17};
static_assert(make_square(0, 0) > ELEPHANT_STEPS[1]);

constexpr int SQUARE_SPAN = 256;  // squares differ by less than this
struct pair_steps {
    uint8_t at[2 * SQUARE_SPAN];  // [SQUARE_SPAN + difference]: 1 for one step apart
};
constexpr pair_steps steps_of(const int (&steps)[2]) {
    pair_steps t{};
    for (int d : steps) t.at[SQUARE_SPAN + d] = t.at[SQUARE_SPAN - d] = 1;
    return t;
}
constexpr pair_steps elephant_pairs = steps_of(ELEPHANT_STEPS);
constexpr pair_steps advisor_pairs = steps_of(ADVISOR_STEPS);

struct pair_terms {
    int mid, end;
};
constexpr pair_terms OPEN_ELEPHANTS = {17, 11}, BLOCKED_ELEPHANTS = {8, 6}, ADVISOR_PAIR = {6, 9};
struct defender_pair_table {
    pair_terms at[2][2][2];  // [elephant pair][eye empty][advisor pair]
};
constexpr defender_pair_table defender_pair_terms() {
    defender_pair_table t{};
    for (int elephants : {0, 1}) {
        for (int open : {0, 1}) {
            const pair_terms el = !elephants ? pair_terms{0, 0} : open ? OPEN_ELEPHANTS : BLOCKED_ELEPHANTS;
            for (int advisors : {0, 1})
                t.at[elephants][open][advisors] = {el.mid + advisors * ADVISOR_PAIR.mid, el.end + advisors * ADVISOR_PAIR.end};
        }
    }
    return t;
}
constexpr defender_pair_table defender_pairs = defender_pair_terms();

template <int S>
void defender_structure(const Count& e, eval_state& st) {
    using V = side_view<S>;
    const int e1 = e.piece_square[V::code(ELEPHANT_OFFSET, 0)], e2 = e.piece_square[V::code(ELEPHANT_OFFSET, 1)];
    const int a1 = e.piece_square[V::code(ADVISOR_OFFSET, 0)], a2 = e.piece_square[V::code(ADVISOR_OFFSET, 1)];
    // The eye's emptiness as arithmetic, which cannot come back as a branch:
    // board values lie in 0..1023, so only the empty square's difference is 0
    // and turns negative when 1 is taken away.
    const unsigned eye_difference = static_cast<unsigned>(e.board[(e1 + e2) / 2] ^ EMPTY_SQUARE);
    const unsigned open = (eye_difference - 1) >> 31;
    const pair_terms& v = defender_pairs.at[elephant_pairs.at[SQUARE_SPAN + e1 - e2]][open]
                                           [advisor_pairs.at[SQUARE_SPAN + a1 - a2]];
    st.mid[S] += v.mid;
    st.end[S] += v.end;
}

}  // namespace

void attack_counts(eval_state& st) {
    const material_terms& t = st.material->terms;
    for (int s : {RED, BLACK}) {
        side_counts& me = st.side[s];
        me.attack_count = me.rooks + 2 * me.rooks_in_enemy_half + 2 * me.horses_in_enemy_half + me.cannons +
                          me.cannons_in_enemy_half + me.crossed;
        st.attack[s] += attack_weight[attack_index(me.attack_count)];
        const bool strong = me.attack_count >= t.strong_attack[s];
        st.attack[s] += strong ? t.strong_bonus[s] : 0;
    }
}

void count_terms(const Count& e, eval_state& st) {
    material_terms_of_counts(st);
    if (e.eval_phase_class <= 2) wing_terms(st);
    defender_structure<RED>(e, st);
    defender_structure<BLACK>(e, st);
}

}  // namespace eval
