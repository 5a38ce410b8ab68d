// Recognisers of thin endings that are drawn or hard to win. The first rule
// that fires decides.
#include <cstdlib>

#include "eval/eval_state.h"
#include "eval/side_view.h"

namespace eval {

namespace {

struct verdict_t {
    endgame_verdict verdict;
    const char* rule;
};
constexpr verdict_t PASS = {endgame_verdict::none, ""};

// One of a side's pair of pieces at `offset` stands on `zone`.
bool pair_member_on(const Count& e, int side, int offset, const uint8_t* zone) {
    for (int k = 0; k < 2; ++k) {
        const int s = e.piece_square[side_base(side) + offset + k];
        if (s != 0 && zone[s]) return true;
    }
    return false;
}

// Rook against rook: drawn when no side can make progress; otherwise loose pawns against a bare palace count.
verdict_t rook_against_rook(eval_state& st) {
    const side_counts& r = st.side[RED];
    const side_counts& b = st.side[BLACK];
    if (r.pawns == 0 && b.pawns == 0) return {endgame_verdict::draw, "rook v rook, no pawns"};
    auto fortress = [](const side_counts& me, const side_counts& them) {
        return me.pawns <= 1 && me.crossed == 0 &&
               ((them.elephants > 0 && them.advisors > 0) || (them.elephants == 0 && them.advisors == 2));
    };
    if (fortress(r, b) && fortress(b, r)) return {endgame_verdict::draw, "rook v rook, both fortresses"};
    if (r.crossed == 0 && b.crossed == 0 && std::abs(r.pawns - b.pawns) < 2)
        return {endgame_verdict::draw, "rook v rook, pawns at home"};
    const char* rule = "";
    for (int s : {RED, BLACK}) {
        const side_counts& me = st.side[s];
        if (me.crossed > 0 && st.side[1 - s].full_pairs == 0) {
            st.mid[s] = st.end[s] = 200 * (me.deep + me.palace + me.crossed);
            rule = "rook v rook, crossed pawns against a broken palace";
        }
    }
    return {endgame_verdict::none, rule};
}

// A lone horse against a lone cannon with (nearly) no pawns to play with.
bool horse_holds_cannon(const side_counts& horse_side, const side_counts& cannon_side) {
    return (horse_side.pawns == 0 || (horse_side.pawns == 1 && cannon_side.defenders >= 2)) &&
           cannon_side.pawns == 0 && (cannon_side.advisors == 0 || horse_side.defenders > 0);
}

verdict_t minor_against_minor(const Count& e, const eval_state& st) {
    const side_counts& r = st.side[RED];
    const side_counts& b = st.side[BLACK];
    auto harmless = [](const side_counts& me, const side_counts& them) {
        return me.pawns == 0 || (me.pawns == 1 && them.full_pairs == 2);
    };
    if (harmless(r, b) && harmless(b, r)) return {endgame_verdict::draw, "minor v minor, harmless pawns"};
    if (r.horses == 1 && b.horses == 1) {
        const bool black_holds = b.defenders >= 2 && pair_member_on(e, BLACK, HORSE_OFFSET, in_black_half);
        const bool red_holds = r.defenders >= 2 && pair_member_on(e, RED, HORSE_OFFSET, in_red_half);
        if ((r.pawns <= 1 && b.pawns == 0 && black_holds) || (b.pawns <= 1 && r.pawns == 0 && red_holds))
            return {endgame_verdict::draw, "horse v horse, defended half"};
    }
    if ((r.horses == 1 && b.cannons == 1 && horse_holds_cannon(r, b)) ||
        (b.horses == 1 && r.cannons == 1 && horse_holds_cannon(b, r)))
        return {endgame_verdict::draw, "horse v cannon"};
    return PASS;
}

// Neither side can force a win with pawns alone.
bool pawns_cannot_win(const side_counts& me, const side_counts& them) {
    return me.pawns == 0 || (me.pawns == 1 && (them.defenders > 0 || them.pawns == 1)) ||
           (me.pawns == 2 && them.elephants > 0 && them.advisors > 0);
}

verdict_t equal_strength(const Count& e, eval_state& st) {
    const side_counts& r = st.side[RED];
    const side_counts& b = st.side[BLACK];
    if (r.minor_major == 1 && b.minor_major != 1) return PASS;
    if (r.minor_major == 1) {
        if (r.rooks == 1 && b.rooks == 1) return rook_against_rook(st);
        if (r.rooks == 0 && b.rooks == 0) return minor_against_minor(e, st);
        return PASS;
    }
    if (r.minor_major >= 2) return PASS;
    if (pawns_cannot_win(r, b) && pawns_cannot_win(b, r)) return {endgame_verdict::draw, "pawns only"};
    return PASS;
}

constexpr verdict_t DRAWISH(const char* rule) { return {endgame_verdict::drawish, rule}; }

// The stronger side X against the weaker Y.
template <int X>
verdict_t stronger_side(const Count& e, const eval_state& st) {
    using V = side_view<X>;
    constexpr int Y = 1 - X;
    const side_counts& x = st.side[X];
    const side_counts& y = st.side[Y];
    if (x.minor_major == 2) {
        if (x.horses == 1 && x.cannons == 1 && x.pawns == 0 && y.cannons > 0 && y.full_pairs == 2)
            return DRAWISH("horse and cannon without pawns v cannon and full defence");
        if (x.cannons == 2 && x.defenders <= 1 && x.pawns == 0 && (y.full_pairs == 2 || y.elephants == 2))
            return DRAWISH("two cannons without pawns v defence");
        if (x.horses == 2 && x.pawns == 0 &&
            ((y.elephants == 2 && y.minor_major > 0) || (y.advisors == 2 && y.cannons > 0)))
            return DRAWISH("two horses without pawns v defended piece");
        if (x.rooks == 1 && x.horses == 1 && x.pawns == 0 && y.rooks > 0 && y.defenders == 4)
            return DRAWISH("rook and horse without pawns v rook and full defence");
        if (x.rooks == 1 && x.cannons == 1 && x.pawns == 0 && y.pawns == 0 && y.rooks > 0) {
            bool rook_on_centre_file = false;
            for (int k = 0; k < 2; ++k) {
                const int s = e.piece_square[V::code(ROOK_OFFSET, k)];
                rook_on_centre_file |= s != 0 && file_of(s) == FILE_E;
            }
            if (y.full_pairs == 2 || (x.defenders == 0 && !rook_on_centre_file))
                return DRAWISH("rook and cannon v rook");
        }
        if (x.rooks == 2 && y.rooks == 1 && x.pawns == 0) {
            const int e1 = e.piece_square[side_base(Y) + ELEPHANT_OFFSET];
            const int e2 = e.piece_square[side_base(Y) + ELEPHANT_OFFSET + 1];
            const int gap = std::abs(e1 - e2);
            const bool linked_elephants = y.full_pairs == 2 && V::enemy_at(e, V::sq(E7), ELEPHANT) &&
                                          (gap == 30 || gap == 34) && is_empty(e, (e1 + e2) / 2);
            if (linked_elephants || (y.cannons > 0 && y.advisors == 2))
                return DRAWISH("two rooks without pawns v rook and defence");
        }
        if (x.rooks == 2 && x.pawns == 0 && y.rooks == 0 && (y.cannons == 2 || (y.cannons == 1 && y.horses == 1)) &&
            y.full_pairs == 2)
            return DRAWISH("two rooks without pawns v two minors and full defence");
        return PASS;
    }
    if (x.minor_major != 1) return PASS;
    if (x.horses == 1 && x.pawns == 0 && (y.defenders >= 2 || y.pawns > 0 || y.elephants > 0))
        return DRAWISH("lone horse without pawns");
    if (x.cannons == 1) {
        if (x.pawns == 0 && ((y.advisors > 0 && y.elephants > 0) || y.pawns > 0 || x.advisors == 0))
            return DRAWISH("lone cannon without pawns");
        if (x.pawns <= 1 && x.defenders == 0 && y.defenders == 0 && y.pawns > 0)
            return DRAWISH("cannon and pawn without defenders");
        if (x.pawns <= 1 && x.advisors == 0 && y.elephants > 0) return DRAWISH("cannon without advisors v elephant");
    }
    if (x.horses == 1 && x.pawns == 1 && y.full_pairs == 2) return DRAWISH("horse and pawn v full defence");
    if (x.rooks == 1 && x.pawns == 0) {
        const uint8_t* palace = Y == RED ? in_red_palace : in_black_palace;
        const bool horse_fortress = y.horses == 1 && pair_member_on(e, Y, HORSE_OFFSET, palace) &&
                                    (y.defenders >= 3 || y.elephants == 2);
        const bool cannon_fortress = y.cannons == 1 && pair_member_on(e, Y, CANNON_OFFSET, palace) && y.full_pairs >= 1;
        if (y.full_pairs == 2 || horse_fortress || cannon_fortress) return DRAWISH("lone rook without pawns v fortress");
    }
    if (x.rooks == 1 && x.pawns == 1 && y.cannons > 0 && y.full_pairs == 2)
        return DRAWISH("rook and pawn v cannon and full defence");
    return PASS;
}

}  // namespace

endgame_verdict recognise_endgame(const Count& e, eval_state& st, const char** rule) {
    const int r = st.side[RED].strength, b = st.side[BLACK].strength;
    const verdict_t v = r == b ? equal_strength(e, st) : r > b ? stronger_side<RED>(e, st) : stronger_side<BLACK>(e, st);
    *rule = v.rule;
    return v.verdict;
}

}  // namespace eval
