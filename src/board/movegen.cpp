// The generators are written out per side (a template on the side) with the
// offsets as constants; pieces are found through piece_square. The order in
// which moves are written is fixed: move ordering and the opening book break
// ties by it.
//
// Each generator is flattened into one function per side: called out of line,
// every piece's helper kept the list's write pointer in memory and paid a
// frame, which cost more than the moves it wrote.
#include "board/movegen.h"

#include "board/geometry.h"
#include "board/side_traits.h"

namespace {

enum class Mode { all, captures, quiet };

// Does a destination holding `v` pass in this mode? One AND (or one compare for quiet moves).
template <int S, Mode M>
inline bool passes(int v) {
    if constexpr (M == Mode::all) return v & side_traits<S>::target_bit;
    else if constexpr (M == Mode::captures) return v & side_traits<S>::enemy_bit;
    else return v == EMPTY_SQUARE;
}

// Whether any of the board values holds an opponent's piece: in the capture
// generator a piece with none in reach is passed over on one branch that
// rarely goes the other way, instead of a branch per square that often does.
template <int S, class... V>
inline bool any_enemy(V... v) {
    return ((v | ...) & side_traits<S>::enemy_bit) != 0;
}

// The list being written: moves go in place at `out`.
struct List {
    move_t* const start;
    move_t* out;

    void put(int piece, int captured, int from, int to) { *out++ = move_t{0, from, to, piece, captured}; }

    // The king-capture rule: a capture of the opponent's king replaces the whole
    // list; true tells the generator to close the list and return.
    template <int OppKing>
    bool add_move(int piece, int captured, int from, int to) {
        if (captured == OppKing) {
            out = start;
            put(piece, captured, from, to);
            return true;
        }
        put(piece, captured, from, to);
        return false;
    }
};

// Frame of every generator: the ply's list starts with a zeroed record.
inline List open_list(Count& e, int ply) {
    move_t* const start = e.ply_moves[ply];
    *start = move_t{};
    return List{start, start};
}

inline void close_list(Count& e, int ply, const List& l) {
    e.move_end = l.out;
    e.ply_moves[ply + 1] = l.out;
    e.ply_moves[ply + 2] = l.out;
}

// Facing kings: the own king takes the opponent's king on an open file.
template <int S>
bool facing_kings(const Count& e, List& l) {
    using T = side_traits<S>;
    const int k = e.piece_square[T::own];
    const int other = e.piece_square[T::opp];
    // Square 0 (a captured king) has file column 0, which no playing square has.
    if (k == 0 || ((k ^ other) & 15) != 0) return false;
    const int s = next_occupied<T::fwd>(e.lines, k);
    if (e.board[s] != T::opp) return false;
    l.out = l.start;
    l.put(T::own, T::opp, k, s);
    return true;
}

template <int S, Mode M, int D>
bool rook_ray(const Count& e, List& l, int piece, int from) {
    const int end = next_occupied<D>(e.lines, from);
    if constexpr (M != Mode::captures)
        for (int to = from + D; to != end; to += D) l.put(piece, EMPTY_SQUARE, from, to);
    if constexpr (M != Mode::quiet) {
        const int v = e.board[end];
        if (v & side_traits<S>::enemy_bit) return l.add_move<side_traits<S>::opp>(piece, v, from, end);
    }
    return false;
}

template <int S, Mode M>
bool rook(const Count& e, List& l, int piece) {
    using T = side_traits<S>;
    const int from = e.piece_square[piece];
    if (from == 0) return false;
    return rook_ray<S, M, T::fwd>(e, l, piece, from) || rook_ray<S, M, -1>(e, l, piece, from) ||
           rook_ray<S, M, +1>(e, l, piece, from) || rook_ray<S, M, T::back>(e, l, piece, from);
}

template <int S, Mode M, int D>
bool cannon_ray(const Count& e, List& l, int piece, int from) {
    if constexpr (M != Mode::captures) {
        const int screen = next_occupied<D>(e.lines, from);
        for (int to = from + D; to != screen; to += D) l.put(piece, EMPTY_SQUARE, from, to);
    }
    if constexpr (M != Mode::quiet) {
        // Past the screen to the next occupied square. Past an edge that square
        // is off the board too, and holds nothing to take.
        const int to = second_occupied<D>(e.lines, from);
        const int v = e.board[to];
        if (v & side_traits<S>::enemy_bit) return l.add_move<side_traits<S>::opp>(piece, v, from, to);
    }
    return false;
}

template <int S, Mode M>
bool cannon(const Count& e, List& l, int piece) {
    using T = side_traits<S>;
    const int from = e.piece_square[piece];
    if (from == 0) return false;
    if constexpr (M == Mode::captures) {
        return cannon_ray<S, M, T::fwd>(e, l, piece, from) || cannon_ray<S, M, -1>(e, l, piece, from) ||
               cannon_ray<S, M, +1>(e, l, piece, from) || cannon_ray<S, M, T::back>(e, l, piece, from);
    } else {
        return cannon_ray<S, M, -16>(e, l, piece, from) || cannon_ray<S, M, -1>(e, l, piece, from) ||
               cannon_ray<S, M, +1>(e, l, piece, from) || cannon_ray<S, M, +16>(e, l, piece, from);
    }
}

template <int S, Mode M, int D>
bool horse_jump(const int32_t* board, List& l, int piece, int from) {
    const int v = board[from + D];
    if (!passes<S, M>(v)) return false;
    if constexpr (M == Mode::quiet) {
        l.put(piece, EMPTY_SQUARE, from, from + D);
        return false;
    } else {
        return l.add_move<side_traits<S>::opp>(piece, v, from, from + D);
    }
}

template <int S, Mode M>
bool horse(const Count& e, List& l, int piece) {
    const int from = e.piece_square[piece];
    if (from == 0) return false;
    const int32_t* b = e.board;
    if (M == Mode::captures && !any_enemy<S>(b[from - 33], b[from - 31], b[from + 33], b[from + 31], b[from - 18],
                                             b[from + 14], b[from - 14], b[from + 18]))
        return false;
    if (b[from - 16] == EMPTY_SQUARE &&
        (horse_jump<S, M, -33>(b, l, piece, from) || horse_jump<S, M, -31>(b, l, piece, from)))
        return true;
    if (b[from + 16] == EMPTY_SQUARE &&
        (horse_jump<S, M, +33>(b, l, piece, from) || horse_jump<S, M, +31>(b, l, piece, from)))
        return true;
    if (b[from - 1] == EMPTY_SQUARE &&
        (horse_jump<S, M, -18>(b, l, piece, from) || horse_jump<S, M, +14>(b, l, piece, from)))
        return true;
    if (b[from + 1] == EMPTY_SQUARE &&
        (horse_jump<S, M, -14>(b, l, piece, from) || horse_jump<S, M, +18>(b, l, piece, from)))
        return true;
    return false;
}

// Elephants, advisors and the king never reach the opponent's king: no king-capture test.
template <int S, Mode M, int D>
void elephant_step(const int32_t* board, List& l, int piece, int from) {
    const int to = from + D;
    const int v = board[to];
    if (board[from + D / 2] == EMPTY_SQUARE && side_traits<S>::own_half(to) && passes<S, M>(v))
        l.put(piece, v, from, to);
}

template <int S, Mode M>
void elephant(const Count& e, List& l, int piece) {
    const int from = e.piece_square[piece];
    if (from == 0) return;
    const int32_t* b = e.board;
    if (M == Mode::captures && !any_enemy<S>(b[from - 34], b[from - 30], b[from + 30], b[from + 34])) return;
    elephant_step<S, M, -34>(e.board, l, piece, from);
    elephant_step<S, M, -30>(e.board, l, piece, from);
    elephant_step<S, M, +30>(e.board, l, piece, from);
    elephant_step<S, M, +34>(e.board, l, piece, from);
}

template <int S, Mode M>
inline void step_if_passes(const int32_t* board, List& l, int piece, int from, int to) {
    const int v = board[to];
    if (passes<S, M>(v)) l.put(piece, v, from, to);
}

template <int S, Mode M>
void advisor(const Count& e, List& l, int piece) {
    using T = side_traits<S>;
    constexpr int c = T::palace_centre;
    const int from = e.piece_square[piece];
    if (from == 0) return;
    const int32_t* b = e.board;
    if (M == Mode::captures && !any_enemy<S>(b[from - 17], b[from - 15], b[from + 15], b[from + 17])) return;
    if (from == c) {
        // Forward corners first, file d before file f.
        step_if_passes<S, M>(e.board, l, piece, from, c + T::fwd - 1);
        step_if_passes<S, M>(e.board, l, piece, from, c + T::fwd + 1);
        step_if_passes<S, M>(e.board, l, piece, from, c + T::back - 1);
        step_if_passes<S, M>(e.board, l, piece, from, c + T::back + 1);
    } else if (from == c - 17 || from == c - 15 || from == c + 15 || from == c + 17) {
        // From a palace corner the only move is to the centre; an advisor placed
        // anywhere else by a set-up has no move at all.
        step_if_passes<S, M>(e.board, l, piece, from, c);
    }
}

template <int S, Mode M, int D>
inline void king_step(const int32_t* board, List& l, int from) {
    const int v = board[from + D];
    if (side_traits<S>::own_palace(from + D) && passes<S, M>(v)) l.put(side_traits<S>::own, v, from, from + D);
}

template <int S, Mode M>
void king(const Count& e, List& l) {
    const int from = e.piece_square[side_traits<S>::own];
    if (from == 0) return;
    const int32_t* b = e.board;
    if (M == Mode::captures && !any_enemy<S>(b[from - 1], b[from + 1], b[from - 16], b[from + 16])) return;
    king_step<S, M, -1>(e.board, l, from);
    king_step<S, M, +1>(e.board, l, from);
    if constexpr (M != Mode::quiet) {
        king_step<S, M, +16>(e.board, l, from);
        king_step<S, M, -16>(e.board, l, from);
    }
}

template <int S, Mode M>
bool pawn(const Count& e, List& l, int piece) {
    using T = side_traits<S>;
    const int from = e.piece_square[piece];
    if (from == 0) return false;
    const int32_t* b = e.board;
    if constexpr (M == Mode::quiet) {
        // Only pawns across the river: sideways steps, then the forward step that gives check.
        if (!T::opp_half(from)) return false;
        if (b[from + 1] == EMPTY_SQUARE) l.put(piece, EMPTY_SQUARE, from, from + 1);
        if (b[from - 1] == EMPTY_SQUARE) l.put(piece, EMPTY_SQUARE, from, from - 1);
        if (b[from + T::fwd] == EMPTY_SQUARE && e.piece_square[T::opp] == from + 2 * T::fwd)
            l.put(piece, EMPTY_SQUARE, from, from + T::fwd);
        return false;
    } else {
        int v = b[from + T::fwd];
        if (passes<S, M>(v) && l.add_move<T::opp>(piece, v, from, from + T::fwd)) return true;
        if (!T::opp_half(from)) return false;
        v = b[from + 1];
        if (passes<S, M>(v) && l.add_move<T::opp>(piece, v, from, from + 1)) return true;
        v = b[from - 1];
        return passes<S, M>(v) && l.add_move<T::opp>(piece, v, from, from - 1);
    }
}

template <int S, Mode M>
bool pawns(const Count& e, List& l) {
    constexpr int p = side_traits<S>::own + PAWN_OFFSET;
    return pawn<S, M>(e, l, p) || pawn<S, M>(e, l, p + 1) || pawn<S, M>(e, l, p + 2) || pawn<S, M>(e, l, p + 3) ||
           pawn<S, M>(e, l, p + 4);
}

template <int S, Mode M>
bool rooks(const Count& e, List& l) {
    constexpr int c = side_traits<S>::own + ROOK_OFFSET;
    return rook<S, M>(e, l, c) || rook<S, M>(e, l, c + 1);
}

template <int S, Mode M>
bool cannons(const Count& e, List& l) {
    constexpr int c = side_traits<S>::own + CANNON_OFFSET;
    return cannon<S, M>(e, l, c) || cannon<S, M>(e, l, c + 1);
}

template <int S, Mode M>
bool horses(const Count& e, List& l) {
    constexpr int c = side_traits<S>::own + HORSE_OFFSET;
    return horse<S, M>(e, l, c) || horse<S, M>(e, l, c + 1);
}

template <int S, Mode M>
void elephants(const Count& e, List& l) {
    constexpr int c = side_traits<S>::own + ELEPHANT_OFFSET;
    elephant<S, M>(e, l, c);
    elephant<S, M>(e, l, c + 1);
}

template <int S, Mode M>
void advisors(const Count& e, List& l) {
    constexpr int c = side_traits<S>::own + ADVISOR_OFFSET;
    advisor<S, M>(e, l, c);
    advisor<S, M>(e, l, c + 1);
}

template <int S>
[[gnu::flatten]] void all_moves(Count& e, int ply) {
    constexpr Mode M = Mode::all;
    List l = open_list(e, ply);
    if (!facing_kings<S>(e, l) && !rooks<S, M>(e, l) && !cannons<S, M>(e, l) && !horses<S, M>(e, l)) {
        elephants<S, M>(e, l);
        advisors<S, M>(e, l);
        king<S, M>(e, l);
        pawns<S, M>(e, l);
    }
    close_list(e, ply, l);
}

template <int S>
[[gnu::flatten]] void captures(Count& e, int ply) {
    constexpr Mode M = Mode::captures;
    List l = open_list(e, ply);
    if (!facing_kings<S>(e, l) && !pawns<S, M>(e, l)) {
        advisors<S, M>(e, l);
        elephants<S, M>(e, l);
        if (!cannons<S, M>(e, l) && !horses<S, M>(e, l) && !rooks<S, M>(e, l)) king<S, M>(e, l);
    }
    close_list(e, ply, l);
}

template <int S>
[[gnu::flatten]] void quiet_moves(Count& e, int ply) {
    using T = side_traits<S>;
    constexpr Mode M = Mode::quiet;
    const int32_t* ps = e.piece_square;
    const bool guarded_palace = T::own_palace(ps[T::own + ROOK_OFFSET]) || T::own_palace(ps[T::own + ROOK_OFFSET + 1]) ||
                                T::own_palace(ps[T::own + CANNON_OFFSET]) ||
                                T::own_palace(ps[T::own + CANNON_OFFSET + 1]);
    List l = open_list(e, ply);
    rooks<S, M>(e, l);
    cannons<S, M>(e, l);
    horses<S, M>(e, l);
    if (guarded_palace) {
        elephants<S, M>(e, l);
        advisors<S, M>(e, l);
        king<S, M>(e, l);
    }
    pawns<S, M>(e, l);
    close_list(e, ply, l);
}

}  // namespace

void generate_moves(Count& e, int side, int ply) {
    if (side == RED) all_moves<RED>(e, ply);
    else all_moves<BLACK>(e, ply);
}

void generate_captures(Count& e, int side, int ply) {
    if (side == RED) captures<RED>(e, ply);
    else captures<BLACK>(e, ply);
}

void generate_quiet_moves(Count& e, int side, int ply) {
    if (side == RED) quiet_moves<RED>(e, ply);
    else quiet_moves<BLACK>(e, ply);
}
