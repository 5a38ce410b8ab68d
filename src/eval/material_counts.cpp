// Material, pawn-zone and wing counts of both sides (the first steps of the evaluation).
#include "eval/eval_state.h"
#include "eval/material_table.h"
#include "eval/side_view.h"

namespace eval {

namespace {

// Square 0 (a captured piece) has no zone, so a missing piece counts nowhere.
constexpr uint8_t wing_bit(int wing) { return wing == LEFT ? ZONE_LEFT_WING : ZONE_RIGHT_WING; }

// The zone tallies, as seen by both sides, of the two pieces with codes `code` and `code` + 1.
uint64_t pair_tally(const Count& e, int code) {
    return zone_tally[e.piece_square[code]] + zone_tally[e.piece_square[code + 1]];
}

// The pawns in the enemy camp centre not behind the enemy king's rank, and of
// those the ones in the enemy palace, split by wing.
template <int S>
void count_deep_pawns(const Count& e, eval_state& st) {
    using V = side_view<S>;
    side_counts& c = st.side[S];
    const uint8_t* const zone = enemy_zone[S];
    const int king_rank = V::rank(st.king[V::enemy]);
    for (int k = 0; k < 5; ++k) {
        const int sq = e.piece_square[V::code(PAWN_OFFSET, k)];
        const int z = zone[sq];
        if (V::rank(sq) < king_rank || (z & ZONE_CAMP_CENTRE) == 0) continue;
        const bool palace = (z & ZONE_PALACE) != 0;
        c.deep += 1;
        c.palace += palace;
        for (int w : {LEFT, RIGHT}) {
            const bool on_wing = (z & wing_bit(w)) != 0;
            c.deep_wing[w] += on_wing;
            c.palace_wing[w] += palace && on_wing;
        }
    }
}

// A side's rooks, horses and cannons as both sides see them: as attackers by
// their own side, as defenders by the other.
struct piece_tallies {
    uint64_t rooks, horses, cannons;
    explicit piece_tallies(const Count& e, int side)
        : rooks(pair_tally(e, side_base(side) + ROOK_OFFSET)),
          horses(pair_tally(e, side_base(side) + HORSE_OFFSET)),
          cannons(pair_tally(e, side_base(side) + CANNON_OFFSET)) {}
};

template <int S>
void count_side(const Count& e, eval_state& st, const piece_tallies& own, const piece_tallies& enemy) {
    using V = side_view<S>;
    side_counts& c = st.side[S];
    static_cast<material_counts&>(c) = st.material->counts[S];

    // The pawns' tallies give the crossed ones without a branch per pawn;
    // only pawns in the enemy camp centre, a few, are looked at one by one.
    uint64_t pawns = 0;
    for (int k = 0; k < 5; ++k) pawns += zone_tally[e.piece_square[V::code(PAWN_OFFSET, k)]];
    const uint32_t pawn_zones = tally_seen_by<S>(pawns);
    c.crossed = tally_half(pawn_zones);
    if (tally_camp_centre(pawn_zones) != 0) count_deep_pawns<S>(e, st);

    const uint32_t rooks = tally_seen_by<S>(own.rooks);
    const uint32_t horses = tally_seen_by<S>(own.horses);
    const uint32_t cannons = tally_seen_by<S>(own.cannons);
    c.rooks_in_enemy_half = tally_half(rooks);
    c.horses_in_enemy_half = tally_half(horses);
    c.cannons_in_enemy_half = tally_half(cannons);
    for (int w : {LEFT, RIGHT}) {
        c.rooks_on_wing[w] = tally_wing(rooks, w);
        c.horses_on_wing[w] = tally_wing(horses, w);
        c.cannons_on_wing[w] = tally_wing(cannons, w);
    }

    // This side's attack on each enemy wing and the enemy's pieces defending
    // it, rooks counting twice. The weights go onto the tallies whole: no
    // byte passes 3 * 2 + 2 * 2 + 4 * 2 = 18, so none carries into the next.
    if (c.strength < 2) return;
    const uint32_t attackers = 3 * horses + 2 * cannons + 4 * rooks;
    const uint32_t defenders = tally_seen_by<S>(enemy.horses + enemy.cannons + 2 * enemy.rooks);
    for (int w : {LEFT, RIGHT}) {
        c.wing_attack[w] = tally_wing(attackers, w) + c.deep_wing[w] + c.palace_wing[w];
        c.wing_defence[w] = 2 * tally_wing(defenders, w);
    }
}

}  // namespace

void count_material(const Count& e, eval_state& st) {
    st.material = &material_entry_for(e);
    const piece_tallies red(e, RED), black(e, BLACK);
    count_side<RED>(e, st, red, black);
    count_side<BLACK>(e, st, black, red);
}

}  // namespace eval
