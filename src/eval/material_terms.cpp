// The count terms that follow from the material: pawn worth by the amount of
// material, endgame pawns, strength balance, and what makes an attack strong.
#include <initializer_list>

#include "eval/material_table.h"
#include "eval/side_view.h"

namespace eval {

namespace {

// A side's additions, before they are narrowed into an entry.
struct side_sums {
    int mid = 0, end = 0;
};

int16_t narrow(int v) {
    TAVOX_SELF_CHECK(v >= INT16_MIN && v <= INT16_MAX);
    return static_cast<int16_t>(v);
}

// The worth of a pawn rises as the pieces come off. With six pieces and no
// doubled rooks the rule turns on whether any pawn has crossed the river.
void pawn_worth(const material_counts* c, bool any_crossed, side_sums* out) {
    const material_counts& r = c[RED];
    const material_counts& b = c[BLACK];
    const int total = r.minor_major + b.minor_major;
    const bool any_rook = r.rooks + b.rooks > 0;
    const int double_rooks = (r.rooks == 2) + (b.rooks == 2);
    if (total > 10 && r.defenders > 3 && b.defenders > 3) {
        const int k = (r.pawns == 5 && b.pawns == 5) ? 10 : (r.pawns >= 4 && b.pawns >= 4) ? 5 : 0;
        for (int s : {RED, BLACK}) {
            out[s].mid -= k * c[s].pawns;
            out[s].end -= k * c[s].pawns;
        }
    } else if (total > 6 || (total == 6 && (any_crossed || double_rooks > 0))) {
        const int k = total > 10  ? 0
                      : total >= 9 ? 10 - 5 * double_rooks
                      : total >= 7 ? (any_rook ? 30 : 50) - 5 * double_rooks
                                   : (any_rook ? 50 : 70) - 10 * double_rooks;
        for (int s : {RED, BLACK}) {
            out[s].mid += k * c[s].pawns;
            out[s].end += k * c[s].pawns;
        }
    } else if (total < 5) {
        const int k = any_rook ? 80 : 110;
        for (int s : {RED, BLACK}) {
            const int worth = k * c[s].pawns + 30 * c[s].defenders;
            out[s].mid += worth;
            out[s].end += worth;
        }
    } else {
        // The defenders' bonus goes to red's middlegame share but to black's endgame share.
        const int k = any_rook ? 60 : 80;
        out[RED].mid += k * r.pawns + 40 * r.defenders;
        out[RED].end += k * r.pawns;
        out[BLACK].mid += k * b.pawns;
        out[BLACK].end += k * b.pawns + 40 * b.defenders;
    }
}

// Pawns in thin endgames, rook and strength balance: `fixed` takes what the
// material gives, `per_crossed` what each crossed pawn of the side adds.
void endgame_counts(const material_counts* c, int phase_class, side_sums* fixed, side_sums* per_crossed) {
    const bool equal_strength = c[RED].strength == c[BLACK].strength;
    const bool equal_rooks = c[RED].rooks == c[BLACK].rooks;
    const bool any_rook = c[RED].rooks + c[BLACK].rooks > 0;
    const int phase = c[RED].strength + c[BLACK].strength;
    for (int s : {RED, BLACK}) {
        const material_counts& me = c[s];
        const material_counts& them = c[1 - s];
        side_sums& out = fixed[s];
        side_sums& pawn = per_crossed[s];
        if (phase_class > 1) {
            if (me.rooks > 0) pawn.end += 30;
            if (equal_strength && equal_rooks) {
                const bool two = me.minor_major <= 2 && them.minor_major <= 2;
                const bool three = me.minor_major <= 3 && them.minor_major <= 3;
                if (two || three) {
                    const int per_pawn_mid = two ? 40 : 30, per_crossed_mid = two ? 80 : 60;
                    const int more = me.pawns - them.pawns;
                    if (more >= 2) {
                        out.mid += per_pawn_mid * more;
                        out.end += per_pawn_mid / 2 * more;
                    }
                    pawn.mid += per_crossed_mid;
                    pawn.end += per_crossed_mid / 2;
                }
            }
        }
        if (!any_rook) {
            if (me.pawns > them.pawns) out.mid += (me.pawns - them.pawns) * (me.horses + me.cannons) * 5;
            pawn.mid += 30;
            out.end += 50 * me.full_pairs - 50;
        }
        if (me.rooks > them.rooks) {
            out.mid += 100;
            out.end += 150;
        }
        if (me.strength > them.strength && me.minor_major > them.minor_major) {
            const int b = phase < 8 ? (any_rook ? 250 : 350) : phase < 10 ? 100 : 50;
            out.mid += b;
            out.end += b;
        }
        if (equal_strength && equal_rooks && me.rooks > 0 && me.horses + me.cannons == 2) {
            if (me.horses == 2) out.mid -= 80;
            if (me.cannons == 2) out.mid -= 40;
        }
    }
}

// An attack count of STRONG_ATTACK_COUNT is strong; with three or more pieces
// each rook brings that line nearer.
constexpr int STRONG_ATTACK_COUNT = 6;
constexpr int STRONG_ATTACK_PIECES = 3;

}  // namespace

material_counts material_counts_of(const int32_t* type_count, int side) {
    const int b = side == RED ? 0 : BLACK_TYPE_OFFSET;
    material_counts c;
    c.pawns = type_count[PAWN + b];
    c.elephants = type_count[ELEPHANT + b];
    c.advisors = type_count[ADVISOR + b];
    c.horses = type_count[HORSE + b];
    c.cannons = type_count[CANNON + b];
    c.rooks = type_count[ROOK + b];
    c.defenders = c.advisors + c.elephants;
    c.full_pairs = (c.advisors == 2) + (c.elephants == 2);
    c.minor_major = c.horses + c.cannons + c.rooks;
    c.strength = c.horses + c.cannons + 2 * c.rooks;
    return c;
}

material_terms material_terms_of(const material_counts counts[2], int phase_class) {
    side_sums fixed[2], per_crossed[2];
    endgame_counts(counts, phase_class, fixed, per_crossed);
    material_terms t{};
    for (bool any_crossed : {false, true}) {
        side_sums worth[2];
        pawn_worth(counts, any_crossed, worth);
        for (int s : {RED, BLACK}) {
            t.mid[any_crossed][s] = narrow(fixed[s].mid + worth[s].mid);
            t.end[any_crossed][s] = narrow(fixed[s].end + worth[s].end);
        }
    }
    for (int s : {RED, BLACK}) {
        const material_counts& me = counts[s];
        const material_counts& them = counts[1 - s];
        t.mid_per_crossed[s] = narrow(per_crossed[s].mid);
        t.end_per_crossed[s] = narrow(per_crossed[s].end);
        t.strong_attack[s] = narrow(STRONG_ATTACK_COUNT - (me.minor_major >= STRONG_ATTACK_PIECES ? me.rooks : 0));
        t.strong_bonus[s] = narrow(160 - 20 * them.advisors - 30 * (them.elephants + them.full_pairs));
    }
    return t;
}

}  // namespace eval
