// The notation reader: each written form of a move, decided against the legal
// moves of the position.
#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "book/notation.h"
#include "position/move_text.h"
#include "test_engine.h"

namespace {

const char START[] = "rnbakabnr/9/1c5c1/p1p1p1p1p/9/9/P1P1P1P1P/1C5C1/9/RNBAKABNR w";
const char TWO_RED_ROOKS[] = "3k5/9/9/9/9/9/4R4/9/4R4/4K4 w";     // e3 in front of e1
const char TWO_RED_CANNONS[] = "3k5/9/9/9/9/9/4C4/9/4C4/4K4 w";
const char TWO_BLACK_ROOKS[] = "4k4/9/4r4/9/4r4/9/9/9/9/3K5 b";   // e5 in front of e7
const char THREE_RED_PAWNS[] = "3k5/9/4P4/4P4/4P4/9/9/9/9/4K4 w"; // e7, e6, e5
const char BARE_KINGS[] = "3k5/9/9/9/9/9/9/9/9/4K4 w";

struct Case {
    const char* fen;
    const char* before;  // UCCI moves played first
    const char* text;
    const char* expected;  // UCCI move, or the reading's name
};

const Case CASES[] = {
    // Coordinates.
    {START, "", "h2e2", "h2e2"},
    {START, "", "H2-E2", "h2e2"},
    {START, "", "h2-e2", "h2e2"},
    {START, "h2e2", "h9g7", "h9g7"},
    {START, "", "a0a5", "illegal move"},  // blocked by the own pawn
    {START, "", "h9e2", "illegal move"},  // black's horse, red to move
    {START, "", "i0j0", "unreadable move"},
    {START, "", "h2e2x", "unreadable move"},
    // WXF, either case, all piece letters.
    {START, "", "C2.5", "h2e2"},
    {START, "", "c2.5", "h2e2"},
    {START, "h2e2", "H8+7", "h9g7"},
    {START, "h2e2", "N8+7", "h9g7"},
    {START, "", "E3+5", "g0e2"},
    {START, "", "B3+5", "g0e2"},
    {START, "", "A4+5", "f0e1"},
    {START, "", "K5+1", "e0e1"},
    {START, "", "P7+1", "c3c4"},
    {START, "i0i1 i9i8", "R1-1", "i1i0"},
    {TWO_RED_ROOKS, "", "+R+1", "e3e4"},
    {TWO_RED_ROOKS, "", "-R.4", "e1f1"},
    {TWO_RED_ROOKS, "", "R+.4", "e3f3"},
    {THREE_RED_PAWNS, "", "+P.4", "e7f7"},
    {THREE_RED_PAWNS, "", "-P.6", "e5d5"},
    {START, "", "C2.0", "unreadable move"},
    {START, "", "Z2.5", "unreadable move"},
    // Chinese: traditional, simplified and the alternative glyphs.
    {START, "", "炮二平五", "h2e2"},
    {START, "", "砲二平五", "h2e2"},
    {START, "h2e2", "包８平５", "h7e7"},
    {START, "h2e2", "馬８進７", "h9g7"},
    {START, "h2e2", "马8进7", "h9g7"},  // black's file in ASCII digits
    {START, "", "傌二進三", "h0g2"},
    {START, "", "俥一進一", "i0i1"},
    {START, "", "车一进一", "i0i1"},
    {START, "", "兵七进一", "c3c4"},
    {START, "", "相三進五", "g0e2"},
    {START, "", "仕六進五", "d0e1"},
    {START, "", "帥五進一", "e0e1"},
    {START, "h2e2", "象７進５", "g9e7"},
    {START, "h2e2", "卒３進１", "c6c5"},
    {START, "", "炮二平十", "unreadable move"},
    {START, "", "炮二平", "unreadable move"},
    {START, "", "炮二進九", "illegal move"},
    // Front and rear, red and black (black's front piece is the one nearer red).
    {TWO_RED_ROOKS, "", "前車進一", "e3e4"},
    {TWO_RED_ROOKS, "", "後車平四", "e1f1"},
    {TWO_RED_ROOKS, "", "車前平四", "e3f3"},
    {TWO_RED_CANNONS, "", "后炮平四", "e1f1"},
    {TWO_RED_CANNONS, "", "前炮進四", "e3e7"},
    {TWO_BLACK_ROOKS, "", "前車進一", "e5e4"},
    {TWO_BLACK_ROOKS, "", "後車平６", "e7f7"},
    // A file number where front or rear was needed: exactly one legal fit is the move.
    {TWO_RED_ROOKS, "", "車五進二", "e3e5"},  // the rear rook is blocked by the front one
    {TWO_RED_ROOKS, "", "R5+2", "e3e5"},
    {TWO_RED_ROOKS, "", "車五進一", "ambiguous move"},
    {TWO_RED_ROOKS, "", "前車退二", "illegal move"},  // the front rook cannot pass the rear one
    // Pawns of two and three on a file.
    {THREE_RED_PAWNS, "", "前兵進一", "e7e8"},
    {THREE_RED_PAWNS, "", "中兵平四", "e6f6"},
    {THREE_RED_PAWNS, "", "二兵平四", "e6f6"},
    {THREE_RED_PAWNS, "", "後兵平六", "e5d5"},
    {THREE_RED_PAWNS, "", "兵五進一", "e7e8"},
    {THREE_RED_PAWNS, "", "兵五平四", "ambiguous move"},
    // The king, and a king move that would face the other king.
    {BARE_KINGS, "", "帥五平四", "e0f0"},
    {BARE_KINGS, "", "帅五平六", "illegal move"},
    {BARE_KINGS, "e0f0", "將４進１", "d9d8"},
    {BARE_KINGS, "e0f0", "K4+1", "d9d8"},
};

std::string read_after(const Case& c) {
    auto e = make_engine();
    set_fen(*e, c.fen);
    std::istringstream before(c.before);
    for (std::string ucci; before >> ucci;) {
        char internal[MOVE_TEXT_SIZE];
        ucci_to_internal(ucci.c_str(), internal);
        move_t m;
        if (!find_legal_move(*e, internal, m)) return "setup move " + ucci + " refused";
        apply_move_text(*e, internal);
    }
    move_t m{};
    const move_reading r = read_move(*e, c.text, m);
    if (r != MOVE_READ) return reading_text(r);
    char ucci[8];
    move_to_ucci(m, ucci);
    return ucci;
}

TEST(Notation, EachFormAgainstTheLegalMoves) {
    for (const Case& c : CASES) EXPECT_EQ(read_after(c), c.expected) << c.fen << " / " << c.before << " / " << c.text;
}

}  // namespace
