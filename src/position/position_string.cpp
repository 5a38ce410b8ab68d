#include "position/position_string.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "board/geometry.h"
#include "book/book_probe.h"
#include "search/tt.h"

const char START_POSITION_STRING[] =
    "148 150 152 154 156 165 171 197 203 196 204 198 202 199 201 200 "
    "100 102 104 106 108 85 91 53 59 52 60 54 58 55 57 56 ";

namespace {

// Slot of a FEN letter: first slot of its kind and how many slots the kind has.
struct slot_rule {
    char letter;
    int first;
    int count;
};

constexpr slot_rule slot_rules[] = {
    {'K', 16, 1}, {'P', 1, 5},  {'C', 6, 2},  {'N', 8, 2},  {'R', 10, 2}, {'B', 12, 2}, {'A', 14, 2},
    {'k', 32, 1}, {'p', 17, 5}, {'c', 22, 2}, {'n', 24, 2}, {'r', 26, 2}, {'b', 28, 2}, {'a', 30, 2},
};

const slot_rule* rule_of(char c) {
    for (const slot_rule& r : slot_rules)
        if (r.letter == c) return &r;
    return nullptr;
}

// Piece code of slot j (1..32).
int slot_code(int j) {
    if (j == 16) return RED_KING;
    if (j == 32) return BLACK_KING;
    return j < 16 ? RED_BASE + j : BLACK_BASE + (j - 16);
}

bool refuse(const char** error, const char* why) {
    if (error) *error = why;
    return false;
}

}  // namespace

bool is_start_position_string(const char* s) { return s != nullptr && std::strcmp(s, START_POSITION_STRING) == 0; }

bool fen_to_position_string(const char* fen, char* out, int& side, const char** error) {
    side = RED;
    while (*fen == ' ') ++fen;
    if (*fen == '\0') {
        std::strcpy(out, START_POSITION_STRING);
        return true;
    }

    int slots[33] = {0};
    int placed[33] = {0};  // pieces placed per first slot of a kind
    int cell_in_row = 0, rows = 0, cell = 0;
    const char* p = fen;
    for (; *p != '\0' && *p != ' '; ++p) {
        const char c = *p;
        if (c == '/') {
            if (cell_in_row != 9) return refuse(error, "a FEN row does not hold 9 cells");
            cell_in_row = 0;
            ++rows;
        } else if (c >= '0' && c <= '9') {
            cell_in_row += c - '0';
            cell += c - '0';
        } else if (const slot_rule* r = rule_of(c)) {
            if (placed[r->first] == r->count) return refuse(error, "a FEN has more pieces of a kind than the board model holds");
            if (cell_in_row >= 9 || rows >= 10) return refuse(error, "a FEN row does not hold 9 cells");
            slots[r->first + placed[r->first]++] = 52 + 16 * (cell / 9) + cell % 9;
            ++cell_in_row;
            ++cell;
        } else {
            return refuse(error, "a FEN holds an unknown character");
        }
        if (cell_in_row > 9) return refuse(error, "a FEN row does not hold 9 cells");
    }
    if (cell_in_row != 9) return refuse(error, "a FEN row does not hold 9 cells");
    if (rows + 1 != 10) return refuse(error, "a FEN does not hold 10 rows");

    char* o = out;
    for (int j = 1; j <= 32; ++j) o += std::sprintf(o, "%d ", slots[j]);

    while (*p == ' ') ++p;
    if (*p != '\0') side = (*p == 'w' || *p == 'r') ? RED : BLACK;
    return true;
}

namespace {

void setup_from_string(Count& e, const char* s, int side) {
    e.book_miss_count = is_start_position_string(s) ? 0 : 9999;
    e.side_to_move = side;
    for (int sq = 0; sq < 256; ++sq) e.board[sq] = OFF_BOARD;
    std::memset(e.piece_square, 0, sizeof(e.piece_square));
    std::memset(e.type_count, 0, sizeof(e.type_count));
    for (int f = 0; f < 9; ++f)
        for (int r = 0; r < 10; ++r) e.board[square_of_file_rank[f][r]] = EMPTY_SQUARE;

    const char* p = s;
    for (int j = 1; j <= 32; ++j) {
        while (*p == ' ') ++p;
        if (*p == '\0') break;
        char* end = nullptr;
        const long sq = std::strtol(p, &end, 10);
        if (end == p) break;
        p = end;
        // Only playing squares hold pieces; anything else leaves the piece off the board.
        if (sq != 0 && is_playing_square(static_cast<int>(sq)) && e.board[sq] == EMPTY_SQUARE)
            e.board[sq] = slot_code(j);
    }

    e.ply = 0;
    e.zobrist_key = e.zobrist_lock = 0;
    e.red_count = e.black_count = 0;
    for (int f = 0; f < 9; ++f) {
        for (int r = 0; r < 10; ++r) {
            const int sq = square_of_file_rank[f][r];
            const int code = e.board[sq];
            if (code == EMPTY_SQUARE) continue;
            e.piece_square[code] = sq;
            e.type_count[e.piece_type[code]] += 1;
            if (code & RED_BIT) e.red_count += 1;
            if (code & BLACK_BIT) e.black_count += 1;
        }
    }
    for (int j = 1; j <= 32; ++j) {
        const int code = slot_code(j);
        const int type = e.piece_type[code];
        const int sq = e.piece_square[code];
        e.zobrist_key ^= e.zobrist_key_table[type][sq];
        e.zobrist_lock ^= e.zobrist_lock_table[type][sq];
    }
    std::memset(e.height_check, 0, sizeof(e.height_check));
    std::memset(e.key_stack, 0, sizeof(e.key_stack));
    std::memset(e.check_stack, 0, sizeof(e.check_stack));
    std::memset(e.repetition_stack, 0, sizeof(e.repetition_stack));
}

}  // namespace

void setup_position(Count& e, const char* s, int side) {
    if (s == nullptr || *s == '\0' || is_start_position_string(s)) {
        tt_clear(e);
        setup_from_string(e, START_POSITION_STRING, RED);
    } else {
        setup_from_string(e, s, side);
    }
    e.abort_request = 0;
    refresh_book_candidates(e);
}
