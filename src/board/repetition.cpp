#include "board/repetition.h"

#include "board/check.h"
#include "board/make_move.h"
#include "board/movegen.h"

namespace {

// Scratch lists of the repetition rules, kept apart from the search's plies:
// one list per scratch ply, in ply order, at the end of the move buffer.
constexpr int SCRATCH_BEFORE = 55, SCRATCH_AFTER = 58, SCRATCH_REPLY = 61;
constexpr int SCRATCH_LIST_SIZE = 150;  // more than all the captures one side can have
constexpr int SCRATCH_LISTS_START = MOVE_BUFFER_SIZE - 3 * SCRATCH_LIST_SIZE;
constexpr int scratch_offset(int ply) {
    return SCRATCH_LISTS_START + SCRATCH_LIST_SIZE * (ply == SCRATCH_BEFORE ? 0 : ply == SCRATCH_AFTER ? 1 : 2);
}
static_assert(scratch_offset(SCRATCH_REPLY) + SCRATCH_LIST_SIZE == MOVE_BUFFER_SIZE,
              "the three scratch lists fill the end of the move buffer");
static_assert(SCRATCH_REPLY + 1 < MAX_HEIGHT, "each scratch ply has a list end");

move_t* generate_scratch_captures(Count& e, int side, int ply) {
    e.ply_moves[ply] = e.move_buffer + scratch_offset(ply);
    generate_captures(e, side, ply);
    return e.ply_moves[ply];
}

}  // namespace

bool capture_is_chase(Count& e, const move_t& q) {
    const int attacker_side = piece_side(q.piece);
    const int defender = 1 - attacker_side;

    // The victim may simply take the attacker back: no chase.
    if (attacker_of(e, q.from, defender) != 0) {
        const move_t* r = generate_scratch_captures(e, defender, SCRATCH_REPLY);
        for (const move_t* end = e.ply_moves[SCRATCH_REPLY + 1]; r < end; ++r) {
            if (r->to != q.from || r->from != q.to) continue;
            board_do_move(e, *r);
            const bool exposed = in_check(e, defender) != 0;
            board_undo_move(e, *r);
            if (!exposed) return false;
        }
    }

    board_do_move(e, q);
    if (in_check(e, attacker_side) != 0) {
        board_undo_move(e, q);
        return false;
    }
    bool recapture = false;
    const move_t* r = generate_scratch_captures(e, defender, SCRATCH_REPLY);
    const move_t* end = e.ply_moves[SCRATCH_REPLY + 1];
    for (; r < end && !recapture; ++r) {
        if (r->to != q.to) continue;
        board_do_move(e, *r);
        recapture = in_check(e, defender) == 0;
        board_undo_move(e, *r);
    }
    const int attacker_order = e.piece_order[q.piece];
    bool chase;
    if (recapture) chase = (attacker_order == ORDER_CANNON || attacker_order == ORDER_HORSE) &&
                           e.piece_order[q.captured] == ORDER_ROOK;
    else chase = attacker_order != ORDER_PAWN && attacker_order != ORDER_KING;
    board_undo_move(e, q);
    return chase;
}

int check_repetition(Count& e, int side, bool thorough) {
    const int p = e.ply;
    if (p < 4) return REPETITION_NONE;
    const move_t& last = e.move_stack[p];
    const move_t& reply = e.move_stack[p - 1];
    const move_t& before = e.move_stack[p - 2];
    if (last.captured != EMPTY_SQUARE || reply.captured != EMPTY_SQUARE || before.captured != EMPTY_SQUARE)
        return REPETITION_NONE;

    const bool checking = e.check_stack[p] != 0 && e.check_stack[p - 2] != 0;
    if (last.from == before.to && before.from == last.to && checking) return REPETITION_LONG_CHECK;

    const uint32_t key = e.key_stack[p];
    const int lowest = (p == 4 || p == 6) ? 0 : 1;
    bool repeated = false;
    for (int k = p - 4; k >= lowest && !repeated; k -= 2) repeated = e.key_stack[k] == key;
    if (!repeated) return REPETITION_NONE;
    if (checking) return REPETITION_LONG_CHECK;

    const move_t* after = generate_scratch_captures(e, side, SCRATCH_AFTER);
    const move_t* after_end = e.ply_moves[SCRATCH_AFTER + 1];
    if (after == after_end) return REPETITION_DRAW;

    if (e.check_stack[p - 2] == 0 && !thorough) {
        const long n_after = after_end - after;
        board_undo_move(e, last);
        generate_scratch_captures(e, side, SCRATCH_BEFORE);
        const long n_before = e.ply_moves[SCRATCH_BEFORE + 1] - e.ply_moves[SCRATCH_BEFORE];
        board_do_move(e, last);
        if (n_before >= n_after) return REPETITION_DRAW;
    }

    for (const move_t* q = after; q < after_end; ++q) {
        if (!capture_is_chase(e, *q)) continue;
        board_undo_move(e, last);
        bool goes_on = false;
        if (attacker_of(e, q->to, side) == 0 || q->to == reply.to) {
            board_undo_move(e, reply);
            const move_t* r = generate_scratch_captures(e, side, SCRATCH_BEFORE);
            const move_t* r_end = e.ply_moves[SCRATCH_BEFORE + 1];
            for (; r < r_end && !goes_on; ++r)
                goes_on = r->captured == q->captured && capture_is_chase(e, *r);
            board_do_move(e, reply);
        }
        board_do_move(e, last);
        if (goes_on) return REPETITION_LONG_CHASE;
    }
    return REPETITION_DRAW;
}
