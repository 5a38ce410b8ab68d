#include "book/notation.h"

#include <vector>

#include "board/check.h"
#include "board/geometry.h"
#include "board/movegen.h"
#include "position/move_text.h"

namespace {

enum piece_kind { NO_KIND, KIND_KING, KIND_ADVISOR, KIND_ELEPHANT, KIND_HORSE, KIND_ROOK, KIND_CANNON, KIND_PAWN };
enum action_t { ADVANCE, RETREAT, TRAVERSE };
// Which of several like pieces on one file: counted from the one nearest the opponent.
enum qualifier_t { ANY, FRONT, MIDDLE, REAR, NTH };

struct description_t {
    piece_kind kind = NO_KIND;
    int file = 0;  // 1..9 from the mover's right; 0 when not given
    qualifier_t qualifier = ANY;
    int nth = 0;   // with NTH: 1 is the front piece
    action_t action = ADVANCE;
    int number = 0;
};

piece_kind kind_of_code(int code) {
    static constexpr piece_kind by_offset[16] = {
        KIND_KING, KIND_PAWN, KIND_PAWN, KIND_PAWN, KIND_PAWN, KIND_PAWN, KIND_CANNON, KIND_CANNON,
        KIND_HORSE, KIND_HORSE, KIND_ROOK, KIND_ROOK, KIND_ELEPHANT, KIND_ELEPHANT, KIND_ADVISOR, KIND_ADVISOR};
    return by_offset[(code & RED_BIT ? code - RED_BASE : code - BLACK_BASE) & 15];
}

// Rooks, cannons, pawns and the king count steps; the others name the file they go to.
bool counts_steps(piece_kind k) { return k == KIND_ROOK || k == KIND_CANNON || k == KIND_PAWN || k == KIND_KING; }

std::vector<char32_t> code_points(const std::string& s) {
    std::vector<char32_t> out;
    for (size_t i = 0; i < s.size();) {
        const auto c = static_cast<unsigned char>(s[i]);
        int len = c < 0x80 ? 1 : (c >> 5) == 6 ? 2 : (c >> 4) == 14 ? 3 : (c >> 3) == 30 ? 4 : 0;
        if (len == 0 || i + len > s.size()) return {};
        char32_t cp = len == 1 ? c : c & (0x7F >> len);
        for (int k = 1; k < len; ++k) cp = cp << 6 | (static_cast<unsigned char>(s[i + k]) & 0x3F);
        out.push_back(cp);
        i += static_cast<size_t>(len);
    }
    return out;
}

piece_kind chinese_piece(char32_t c) {
    switch (c) {
        case U'車': case U'车': case U'俥': return KIND_ROOK;
        case U'馬': case U'马': case U'傌': return KIND_HORSE;
        case U'炮': case U'砲': case U'包': return KIND_CANNON;
        case U'相': case U'象': return KIND_ELEPHANT;
        case U'仕': case U'士': return KIND_ADVISOR;
        case U'帥': case U'帅': case U'將': case U'将': return KIND_KING;
        case U'兵': case U'卒': return KIND_PAWN;
        default: return NO_KIND;
    }
}

piece_kind wxf_piece(char32_t c) {
    switch (c | 0x20) {  // either case
        case U'r': return KIND_ROOK;
        case U'h': case U'n': return KIND_HORSE;
        case U'c': return KIND_CANNON;
        case U'e': case U'b': return KIND_ELEPHANT;
        case U'a': return KIND_ADVISOR;
        case U'k': return KIND_KING;
        case U'p': return KIND_PAWN;
        default: return NO_KIND;
    }
}

// Chinese numerals (red's files), full-width and ASCII digits (black's): 1..9, else 0.
int numeral(char32_t c) {
    static constexpr char32_t chinese[] = U"一二三四五六七八九";
    for (int i = 0; i < 9; ++i)
        if (c == chinese[i]) return i + 1;
    if (c >= U'１' && c <= U'９') return static_cast<int>(c - U'１') + 1;
    if (c >= U'1' && c <= U'9') return static_cast<int>(c - U'1') + 1;
    return 0;
}

bool chinese_action(char32_t c, action_t& a) {
    if (c == U'進' || c == U'进') a = ADVANCE;
    else if (c == U'退') a = RETREAT;
    else if (c == U'平') a = TRAVERSE;
    else return false;
    return true;
}

bool wxf_action(char32_t c, action_t& a) {
    if (c == U'+') a = ADVANCE;
    else if (c == U'-') a = RETREAT;
    else if (c == U'.' || c == U'=') a = TRAVERSE;
    else return false;
    return true;
}

qualifier_t chinese_qualifier(char32_t c) {
    if (c == U'前') return FRONT;
    if (c == U'後' || c == U'后') return REAR;
    if (c == U'中') return MIDDLE;
    return ANY;
}

// 炮二平五, 前車進一, 車前進一, and 二兵平三 (the second pawn of a file, counted from the front).
bool parse_chinese(const std::vector<char32_t>& c, description_t& d) {
    if (c.size() != 4 || !chinese_action(c[2], d.action) || (d.number = numeral(c[3])) == 0) return false;
    if ((d.kind = chinese_piece(c[0])) != NO_KIND) {
        if ((d.file = numeral(c[1])) != 0) return true;
        return (d.qualifier = chinese_qualifier(c[1])) != ANY;
    }
    if ((d.kind = chinese_piece(c[1])) == NO_KIND) return false;
    if ((d.qualifier = chinese_qualifier(c[0])) != ANY) return true;
    d.nth = numeral(c[0]);
    d.qualifier = NTH;
    return d.nth != 0;
}

// C2.5, H8+7, R1-1; front and rear as +R.4, -C+1 or R+.4.
bool parse_wxf(const std::vector<char32_t>& c, description_t& d) {
    size_t i = 0;
    if (!c.empty() && (c[0] == U'+' || c[0] == U'-')) {
        d.qualifier = c[0] == U'+' ? FRONT : REAR;
        i = 1;
    }
    if (i >= c.size() || (d.kind = wxf_piece(c[i])) == NO_KIND) return false;
    ++i;
    if (c.size() - i == 3) {
        if (c[i] >= U'1' && c[i] <= U'9') d.file = static_cast<int>(c[i] - U'0');
        else if ((c[i] == U'+' || c[i] == U'-') && d.qualifier == ANY) d.qualifier = c[i] == U'+' ? FRONT : REAR;
        else return false;
        ++i;
    }
    if (c.size() - i != 2 || !wxf_action(c[i], d.action)) return false;
    d.number = c[i + 1] >= U'1' && c[i + 1] <= U'9' ? static_cast<int>(c[i + 1] - U'0') : 0;
    return d.number != 0;
}

// h2e2, H2-E2, h2-e2: from-square and to-square.
bool parse_coordinates(const std::vector<char32_t>& c, int& from, int& to) {
    if (c.size() != 4 && !(c.size() == 5 && c[2] == U'-')) return false;
    const size_t t = c.size() - 2;
    for (size_t k : {size_t{0}, t}) {
        const char32_t letter = c[k] | 0x20, digit = c[k + 1];
        if (letter < U'a' || letter > U'i' || digit < U'0' || digit > U'9') return false;
    }
    from = square_of_text(static_cast<char>(c[0]), static_cast<char>(c[1]));
    to = square_of_text(static_cast<char>(c[t]), static_cast<char>(c[t + 1]));
    return from != 0 && to != 0;
}

int file_number(int square, int side) {
    const int file = file_of_square[square];
    return side == RED ? 9 - file : file + 1;
}

// Steps toward the opponent (negative: back toward the own side).
int forward_steps(const move_t& m, int side) {
    const int d = rank_of_square[m.from] - rank_of_square[m.to];
    return side == RED ? d : -d;
}

// Place of the piece among its like pieces on its file: 1 is the front one.
void place_on_file(const Count& e, int code, int side, int& place, int& count) {
    const int base = side_base(side);
    const piece_kind kind = kind_of_code(code);
    const int sq = e.piece_square[code];
    place = 1;
    count = 0;
    for (int other = base; other < base + 16; ++other) {
        const int s = e.piece_square[other];
        if (kind_of_code(other) != kind || s == 0 || e.board[s] != other) continue;
        if (file_of_square[s] != file_of_square[sq]) continue;
        ++count;
        const int ahead = rank_of_square[sq] - rank_of_square[s];
        if ((side == RED ? ahead : -ahead) > 0) ++place;
    }
}

bool fits(const Count& e, const move_t& m, int side, const description_t& d) {
    if (kind_of_code(m.piece) != d.kind) return false;
    if (d.file != 0 && file_number(m.from, side) != d.file) return false;
    if (d.qualifier != ANY) {
        int place = 0, count = 0;
        place_on_file(e, m.piece, side, place, count);
        if (count < 2) return false;
        if (d.qualifier == FRONT && place != 1) return false;
        if (d.qualifier == REAR && place != count) return false;
        if (d.qualifier == MIDDLE && !(count == 3 && place == 2)) return false;
        if (d.qualifier == NTH && place != d.nth) return false;
    }
    const int steps = forward_steps(m, side);
    const action_t action = steps > 0 ? ADVANCE : steps < 0 ? RETREAT : TRAVERSE;
    if (action != d.action) return false;
    const int number = action != TRAVERSE && counts_steps(d.kind) ? (steps > 0 ? steps : -steps) : file_number(m.to, side);
    return number == d.number;
}

}  // namespace

const char* reading_text(move_reading r) {
    switch (r) {
        case MOVE_READ: return "move";
        case MOVE_UNREADABLE: return "unreadable move";
        case MOVE_ILLEGAL: return "illegal move";
        default: return "ambiguous move";
    }
}

move_reading read_move(Count& e, const std::string& text, move_t& out) {
    const std::vector<char32_t> c = code_points(text);
    int from = 0, to = 0;
    description_t d;
    const bool by_squares = parse_coordinates(c, from, to);
    if (!by_squares && !parse_wxf(c, d) && !parse_chinese(c, d)) return MOVE_UNREADABLE;

    const int side = e.side_to_move;
    e.ply_moves[0] = e.move_buffer;
    generate_moves(e, side, 0);
    int found = 0;
    for (const move_t* m = e.ply_moves[0]; m < e.ply_moves[1]; ++m) {
        if (m->from == 0 || (m->piece & (side == RED ? RED_BIT : BLACK_BIT)) == 0) continue;
        const bool match = by_squares ? (m->from == from && m->to == to) : fits(e, *m, side, d);
        if (!match || !is_legal(e, *m, side)) continue;
        out = *m;
        ++found;
    }
    return found == 1 ? MOVE_READ : found == 0 ? MOVE_ILLEGAL : MOVE_AMBIGUOUS;
}

void move_to_ucci(const move_t& m, char* ucci) {
    char internal[MOVE_TEXT_SIZE];
    move_to_text(m, internal);
    if (internal[0] == '\0') {
        ucci[0] = '\0';
        return;
    }
    internal_to_ucci(internal, ucci);
}
