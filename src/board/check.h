// Attack and check detection.
#pragma once
#include "board/engine.h"
#include "board/make_move.h"

constexpr int CHECK_NONE = 0;
constexpr int CHECK_KINGS_FACING = 1;
constexpr int CHECK_KING_MISSING = -1;
constexpr int CHECK_UNKNOWN = -2;  // not computed yet (never returned by in_check)

// Check code of `side`'s king: -1 missing, 0 none, 1 kings facing, 4 rook,
// 7 horse, 8 cannon, 13 pawn.
int in_check(Count& e, int side);

// False when m of `side`, a side not in check, cannot leave its king attacked
// (made or not). Only a square on the king's rank or file, or diagonally beside
// it (where a horse's leg stands), can change that: a move touching none of
// them, by a piece other than the king, leaves the king unattacked.
bool may_expose_king(const Count& e, const move_t& m, int side);

// The check on `side` after its move m (made), for a side that was not in check
// before it: in_check, for a move that may_expose_king, else none.
int own_check_after_move(Count& e, const move_t& m, int side);
// The check on the other side after the move m of `side` (made), for an other
// side that was not in check before it: besides the lines and legs of that
// king, only a horse's own arrival can give check.
int check_given_by_move(Count& e, const move_t& m, int side);
// False when m, made or not, cannot give check by those rules (a quiet move
// leaves the other king where it stands).
bool may_give_check(const Count& e, const move_t& m, int side);

// The code of a piece of `side` that attacks square t, or 0 (pins ignored; the
// facing of the kings is no attack here).
int attacker_of(const Count& e, int t, int side);

// 0 when the move is not a capture or nothing of the victim's side attacks the
// destination once the move is played; otherwise the code of one such attacker.
int capture_defended(Count& e, const move_t& m);

// One attack on a king, as the squares a move must touch to lift it: the
// attacker's own, those strictly between it and the king on the line of a
// rook, a cannon (its screen among them) or the facing king, or a horse's
// leg. attacker 0: none found, and every move may lift the check.
struct check_attack_t {
    int king = 0;
    int attacker = 0;
    int step = 0;  // from the king toward a line attacker, else 0
    int leg = 0;   // a horse's leg, else 0
};
check_attack_t find_attack(const Count& e, int side);
// False when m of `side`, a move by another piece than the king that touches
// none of those squares, leaves the attack standing: the move is illegal.
// Inline: it runs over every move of a list, and what depends on the attack
// alone is then worked out once per list rather than per move.
inline bool may_lift(const check_attack_t& a, const move_t& m, int side) {
    if (a.attacker == 0 || m.piece == side_base(side) + KING_OFFSET || m.to == a.attacker) return true;
    if (a.leg != 0) return m.to == a.leg;
    if (a.step == 0) return false;
    // Squares strictly between the king and the attacker, on their line: the
    // square numbers bound them, and along a file the file must match too.
    const bool along_rank = a.step == 1 || a.step == -1;
    const int lo = a.king < a.attacker ? a.king : a.attacker;
    const int hi = a.king < a.attacker ? a.attacker : a.king;
    // Plain bit operations: the outcome is no pattern a branch would learn.
    auto between = [&](int s) { return (s > lo) & (s < hi) & (along_rank | (((s ^ a.king) & 15) == 0)); };
    return between(m.from) | between(m.to);
}

// A generated move of `side` is legal when it leaves that side's king unattacked
// (which covers the facing of the kings). The board is unchanged on return.
bool is_legal(Count& e, const move_t& m, int side);
