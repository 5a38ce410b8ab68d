// The constants of a side, for rules written once as a template on the side.
#pragma once
#include "board/geometry.h"
#include "board/move.h"

template <int S>
struct side_traits {
    static constexpr int own = side_base(S);      // own king's code, base of the own pieces
    static constexpr int opp = side_base(1 - S);  // the same for the opponent
    static constexpr int fwd = S == RED ? -16 : 16;  // one rank toward the opponent's home
    static constexpr int back = -fwd;
    static constexpr int target_bit = S == RED ? RED_TARGET_BIT : BLACK_TARGET_BIT;  // empty or an opponent's piece
    static constexpr int enemy_bit = S == RED ? BLACK_BIT : RED_BIT;
    static constexpr int palace_centre = make_square(4, S == RED ? 8 : 1);

    static bool own_half(int sq) { return (S == RED ? in_red_half : in_black_half)[sq]; }
    static bool opp_half(int sq) { return (S == RED ? in_black_half : in_red_half)[sq]; }
    static bool own_palace(int sq) { return (S == RED ? in_red_palace : in_black_palace)[sq]; }
    static bool opp_palace(int sq) { return (S == RED ? in_black_palace : in_red_palace)[sq]; }
};
