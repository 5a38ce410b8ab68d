// The parts of a move's ordering score that the full-width nodes and the
// quiescence search share.
#pragma once
#include "board/engine.h"
#include "search/search_common.h"

constexpr int HASH_MOVE_BONUS = 50000;  // the table's best move goes first
// Captures above the killers: a lesser piece taking a greater, else an
// undefended victim; when in check, a capture by a piece of no greater class.
constexpr int WINNING_CAPTURE_BONUS = 40000;
constexpr int SAFE_CAPTURE_BONUS = 30000;
constexpr int EVASION_CAPTURE_BONUS = 30000;

// The bonuses that put the answers to a check first.
constexpr int CHECKER_CAPTURE_BONUS = 40000;  // takes a piece of the checking kind
constexpr int KING_EVASION_BONUS = 30000;     // moves the king

// A capture by a piece at least this many orders below its victim (a lesser
// piece taking a greater) is ranked by the mover, any other by the gap.
constexpr int CAPTURE_ORDER_GAP = 3;

// The piece-square gain of m for red; the negation is black's.
inline int red_table_gain(const Count& e, const move_t& m) {
    return e.piece_square_value[m.piece][m.to] - e.piece_square_value[m.piece][m.from] -
           e.piece_square_value[m.captured][m.to];
}

inline bool captures_far_up(int mover_order, int victim_order) {
    return mover_order - victim_order >= CAPTURE_ORDER_GAP;
}

// The exchange part of a capture's score, from the two pieces' orders.
inline int capture_exchange_bonus(int mover_order, int victim_order) {
    return captures_far_up(mover_order, victim_order) ? 10 * mover_order : 5 * (mover_order - victim_order);
}

// The check bonuses of an evasion by `side`, in check with code `check`. The two searches differ on purpose: the
// quiescence search gives a king that takes a checking piece both bonuses
// (`both`), the full-width ordering only the capture's, and it then ranks
// evasion captures by class.
template <bool Both>
inline int evasion_bonus(const Count& e, const move_t& m, int side, int check) {
    const bool takes_checker = is_capture(m) && e.piece_order[m.captured] == check;
    const bool king_moves = e.piece_type[m.piece] == (side == RED ? KING : KING + BLACK_TYPE_OFFSET);
    if (Both) return (takes_checker ? CHECKER_CAPTURE_BONUS : 0) + (king_moves ? KING_EVASION_BONUS : 0);
    return takes_checker ? CHECKER_CAPTURE_BONUS : king_moves ? KING_EVASION_BONUS : 0;
}
