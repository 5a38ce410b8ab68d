#include "position/move_text.h"

#include "board/check.h"
#include "board/geometry.h"
#include "board/make_move.h"
#include "board/movegen.h"
#include "board/repetition.h"
#include "book/book_refresh.h"

bool is_ucci_move_text(const char* w, size_t length) {
    const auto file = [](char c) { return c >= 'a' && c <= 'i'; };
    const auto rank = [](char c) { return c >= '0' && c <= '9'; };
    return length == 4 && file(w[0]) && rank(w[1]) && file(w[2]) && rank(w[3]);
}

void ucci_to_internal(const char* ucci, char* internal) {
    internal[0] = static_cast<char>(ucci[0] - 32);
    internal[1] = ucci[1];
    internal[2] = '-';
    internal[3] = static_cast<char>(ucci[2] - 32);
    internal[4] = ucci[3];
    internal[5] = '\0';
}

void internal_to_ucci(const char* internal, char* ucci) {
    ucci[0] = static_cast<char>(internal[0] + 32);
    ucci[1] = internal[1];
    ucci[2] = static_cast<char>(internal[3] + 32);
    ucci[3] = internal[4];
    ucci[4] = '\0';
}

int square_of_text(char file_letter, char digit) {
    const int file = (file_letter & ~0x20) - 'A';
    const int row = '9' - digit;
    if (file < 0 || file > 8 || row < 0 || row > 9) return 0;
    return square_of_file_rank[file][row];
}

void move_to_text(const move_t& m, char* text) {
    text[0] = '\0';
    if (m.from == 0 || !is_playing_square(m.from) || !is_playing_square(m.to)) return;
    text[0] = static_cast<char>('A' + file_of_square[m.from]);
    text[1] = static_cast<char>('9' - rank_of_square[m.from]);
    text[2] = '-';
    text[3] = static_cast<char>('A' + file_of_square[m.to]);
    text[4] = static_cast<char>('9' - rank_of_square[m.to]);
    text[5] = '\0';
}

int apply_move_text(Count& e, const char* text) {
    const int from = square_of_text(text[0], text[1]);
    const int to = square_of_text(text[3], text[4]);
    const move_t m{0, from, to, e.board[from], e.board[to]};
    make_move(e, m);
    e.repetition_stack[e.ply] = check_repetition(e, e.side_to_move, true);
    e.side_to_move = 1 - e.side_to_move;
    e.check_stack[e.ply] = in_check(e, e.side_to_move);
    refresh_book_candidates(e);
    return 1;
}

bool find_legal_move(Count& e, const char* text, move_t& out) {
    for (int i = 0; i < 5; ++i)
        if (text[i] == '\0') return false;
    const int from = square_of_text(text[0], text[1]);
    const int to = square_of_text(text[3], text[4]);
    if (from == 0 || to == 0) return false;
    const int side = e.side_to_move;
    const int piece = e.board[from];
    if ((piece & (side == RED ? RED_BIT : BLACK_BIT)) == 0) return false;

    // No search runs between commands: the list of ply 0 is free.
    e.ply_moves[0] = e.move_buffer;
    generate_moves(e, side, 0);
    for (const move_t* m = e.ply_moves[0]; m < e.ply_moves[1]; ++m) {
        if (m->from != from || m->to != to) continue;
        if (!is_legal(e, *m, side)) return false;
        out = *m;
        return true;
    }
    return false;
}
