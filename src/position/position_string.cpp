#include "position/position_string.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "board/check.h"
#include "board/geometry.h"
#include "book/book_refresh.h"
#include "search/tt_memory.h"

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
            slots[r->first + placed[r->first]++] = make_square(cell % 9, cell / 9);
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
    if (*p != '\0') {
        const char c = *p;
        if ((c != 'w' && c != 'r' && c != 'b') || (p[1] != ' ' && p[1] != '\0'))
            return refuse(error, "the side to move is not w, r or b");
        side = c == 'b' ? BLACK : RED;
    }
    return true;
}

namespace {

// Puts the pieces of a position string on an empty board; nothing else is touched.
void place_pieces(Count& e, const char* s) {
    for (int sq = 0; sq < 256; ++sq) e.board[sq] = OFF_BOARD;
    std::memset(e.piece_square, 0, sizeof(e.piece_square));
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
        if (sq != 0 && is_playing_square(static_cast<int>(sq)) && e.board[sq] == EMPTY_SQUARE) {
            e.board[sq] = slot_code(j);
            e.piece_square[slot_code(j)] = static_cast<int>(sq);
        }
    }
    e.lines = occupancy_of(e.board);
}

void setup_from_string(Count& e, const char* s, int side) {
    // Book records count plies from red's first move in the initial array.
    e.book_miss_count = is_start_position_string(s) && side == RED ? 0 : 9999;
    e.side_to_move = side;
    std::memset(e.type_count, 0, sizeof(e.type_count));
    place_pieces(e, s);

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
    if (s == nullptr || *s == '\0') {
        tt_clear(e);
        setup_from_string(e, START_POSITION_STRING, RED);
    } else if (is_start_position_string(s)) {
        tt_clear(e);  // a new game
        setup_from_string(e, START_POSITION_STRING, side);
    } else {
        setup_from_string(e, s, side);
    }
    e.abort_request = 0;
    refresh_book_candidates(e);
}

namespace {

// Rank counted from the side's own back rank, and file, of a playing square.
int own_rank(int sq, int side) { return side == RED ? 9 - square_rank(sq) : square_rank(sq); }
int file_of(int sq) { return square_file(sq); }

bool palace_square(int sq, int side) { return own_rank(sq, side) <= 2 && file_of(sq) >= 3 && file_of(sq) <= 5; }
bool advisor_square(int sq, int side) {
    const int r = own_rank(sq, side), f = file_of(sq);
    return ((r == 0 || r == 2) && (f == 3 || f == 5)) || (r == 1 && f == 4);
}
bool elephant_square(int sq, int side) {
    const int r = own_rank(sq, side), f = file_of(sq);
    return ((r == 0 || r == 4) && (f == 2 || f == 6)) || (r == 2 && (f == 0 || f == 4 || f == 8));
}

// Where the pieces of each side may stand at all, by slot.
const char* placement_fault(const int* slots) {
    for (int side = RED; side <= BLACK; ++side) {
        const int base = side == RED ? 0 : 16;
        const int king = slots[base + 16];
        if (king == 0) return "a king is missing";
        if (!palace_square(king, side)) return "a king stands outside its palace";
        for (int j = 14; j <= 15; ++j)
            if (slots[base + j] != 0 && !advisor_square(slots[base + j], side)) return "an advisor stands off its squares";
        for (int j = 12; j <= 13; ++j)
            if (slots[base + j] != 0 && !elephant_square(slots[base + j], side)) return "an elephant stands off its squares";
    }
    return nullptr;
}

}  // namespace

bool position_is_possible(Count& e, const char* s, int side, const char** error) {
    int slots[33] = {0};
    const char* p = s;
    for (int j = 1; j <= 32; ++j) {
        char* end = nullptr;
        const long sq = std::strtol(p, &end, 10);
        if (end == p) break;
        p = end;
        slots[j] = is_playing_square(static_cast<int>(sq)) ? static_cast<int>(sq) : 0;
    }
    if (const char* why = placement_fault(slots)) return refuse(error, why);

    // The attack test reads only the board, its line occupancy and the piece
    // squares: lay the position out there for a moment and put the current one back.
    int32_t board[256], piece_square[1024];
    std::memcpy(board, e.board, sizeof(board));
    std::memcpy(piece_square, e.piece_square, sizeof(piece_square));
    const line_occupancy lines = e.lines;
    place_pieces(e, s);
    const int code = in_check(e, 1 - side);
    std::memcpy(e.board, board, sizeof(board));
    std::memcpy(e.piece_square, piece_square, sizeof(piece_square));
    e.lines = lines;
    if (code == CHECK_KINGS_FACING) return refuse(error, "the kings face each other");
    if (code != CHECK_NONE) return refuse(error, "the side not to move is in check");
    return true;
}
