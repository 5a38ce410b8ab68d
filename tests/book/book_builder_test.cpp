// Building a book from game records and reading it back through the engine's
// own book lookup and move choice.
#include <gtest/gtest.h>

#include <iconv.h>

#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "book/book_builder.h"
#include "book/book_files.h"
#include "book/book_key.h"
#include "book/book_option.h"
#include "book/book_probe.h"
#include "book/game_replay.h"
#include "board/movegen.h"
#include "book/read_file.h"
#include "engine_process.h"
#include "position/move_text.h"
#include "test_engine.h"

namespace {

enum notation_t { COORDINATES, WXF, TRADITIONAL, SIMPLIFIED };

// Each move of the test games in the four notations.
const std::map<std::string, std::vector<std::string>> FORMS = {
    {"h2e2", {"h2e2", "C2.5", "炮二平五", "炮二平五"}}, {"h9g7", {"h9g7", "H8+7", "馬８進７", "马８进７"}},
    {"h0g2", {"h0g2", "H2+3", "馬二進三", "马二进三"}}, {"i9h9", {"i9h9", "R9.8", "車９平８", "车９平８"}},
    {"c6c5", {"c6c5", "P3+1", "卒３進１", "卒３进１"}}, {"b9c7", {"b9c7", "H2+3", "馬２進３", "马２进３"}},
    {"b2e2", {"b2e2", "C8.5", "炮八平五", "炮八平五"}}, {"g7h9", {"g7h9", "H7-8", "馬７退８", "马７退８"}},
    {"g2h0", {"g2h0", "H3-2", "馬三退二", "马三退二"}},
};

struct game_t {
    const char* result;
    const char* moves;
};

// The last game comes back to the start position and to the position after
// h2e2 h9g7 at ply 6; the other games reach that position at ply 2.
const game_t GAMES[] = {
    {"1-0", "h2e2 h9g7 h0g2 i9h9"},
    {"0-1", "h2e2 h9g7 h0g2 c6c5"},
    {"1/2-1/2", "h2e2 b9c7"},
    {"*", "b2e2 h9g7"},
    {"1-0", "h2e2 h9g7 h0g2 g7h9 g2h0 h9g7"},
};

std::vector<std::string> words(const std::string& s) {
    std::istringstream in(s);
    std::vector<std::string> out;
    for (std::string w; in >> w;) out.push_back(w);
    return out;
}

// The games as a collection: tags (one FEN tag naming the start position),
// move numbers, a comment and a variation the reader must pass over.
std::string collection(notation_t n) {
    std::string pgn;
    for (const game_t& g : GAMES) {
        pgn += "[Event \"test\"]\r\n[Result \"" + std::string(g.result) + "\"]\r\n";
        if (g.result[0] == '1' && g.result[1] == '-')
            pgn += "[FEN \"rnbakabnr/9/1c5c1/p1p1p1p1p/9/9/P1P1P1P1P/1C5C1/9/RNBAKABNR w - - 0 1\"]\r\n";
        pgn += "\r\n";
        const std::vector<std::string> ms = words(g.moves);
        for (size_t i = 0; i < ms.size(); ++i) {
            if (i % 2 == 0) pgn += std::to_string(i / 2 + 1) + ". ";
            pgn += FORMS.at(ms[i])[n] + " ";
            if (i == 0) pgn += "{a comment (with brackets)} (1... h7h0 (2. x)) ";
        }
        pgn += std::string(g.result) + "\r\n\r\n";
    }
    return pgn;
}

std::string encode(const std::string& utf8, const char* encoding) {
    iconv_t cd = iconv_open(encoding, "UTF-8");
    if (cd == reinterpret_cast<iconv_t>(-1)) return {};
    std::string out(utf8.size() * 4, '\0');
    char* in = const_cast<char*>(utf8.data());
    size_t in_left = utf8.size(), out_left = out.size();
    char* dst = out.data();
    const size_t r = iconv(cd, &in, &in_left, &dst, &out_left);
    iconv_close(cd);
    if (r == static_cast<size_t>(-1)) return {};
    out.resize(out.size() - out_left);
    return out;
}

struct expected_record_t {
    const char* moves;  // from the start position
    uint8_t ply;
    uint32_t occurrences, tally_a, tally_b;
};

// tally_a: games won by the side that made the last move; tally_b: games it lost.
const expected_record_t RECORDS[] = {
    {"h2e2", 1, 4, 2, 1},
    {"h2e2 h9g7", 2, 3, 1, 2},
    {"h2e2 h9g7 h0g2", 3, 3, 2, 1},
    {"h2e2 h9g7 h0g2 i9h9", 4, 1, 0, 1},
    {"h2e2 h9g7 h0g2 c6c5", 4, 1, 1, 0},
    {"h2e2 h9g7 h0g2 g7h9", 4, 1, 0, 1},
    {"h2e2 b9c7", 2, 1, 0, 0},  // a draw
    {"b2e2", 1, 1, 0, 0},       // no result: occurrences only
    {"b2e2 h9g7", 2, 1, 0, 0},
};

void play(Count& e, const std::string& moves) {
    setup_position(e, START_POSITION_STRING, RED);
    for (const std::string& ucci : words(moves)) {
        char internal[MOVE_TEXT_SIZE];
        ucci_to_internal(ucci.c_str(), internal);
        apply_move_text(e, internal);
    }
}

uint32_t get32(const uint8_t* p) { return p[0] | p[1] << 8 | p[2] << 16 | static_cast<uint32_t>(p[3]) << 24; }

class BookBuild : public ::testing::Test {
protected:
    void TearDown() override { close_book_files(); }

    // Builds a book from one file into `out`; returns the builder's counts.
    book_build_stats_t build(const std::string& path, const std::string& out, int min_games, text_encoding* enc = nullptr) {
        BookBuilder builder(DEFAULT_BOOK_MAX_PLY, min_games);
        std::string error;
        text_encoding read_as;
        long bad = 0;
        EXPECT_TRUE(read_game_file(path, [&](const pgn_game_t& g) { builder.add_game(g); }, error, read_as, bad)) << error;
        EXPECT_EQ(bad, 0);
        if (enc) *enc = read_as;
        const std::vector<book_record_t> recs = builder.records();
        EXPECT_TRUE(builder.write(out, recs, error)) << error;
        return builder.stats;
    }

    std::unique_ptr<CountEx> e = make_engine();
    TempDir dir;
};

TEST_F(BookBuild, EachNotationAndEncodingGivesTheSameRecords) {
    struct Variant {
        notation_t notation;
        const char* iconv_name;
        text_encoding detected;
    } variants[] = {
        {COORDINATES, "UTF-8", text_encoding::UTF8},  {WXF, "UTF-8", text_encoding::UTF8},
        {TRADITIONAL, "BIG5", text_encoding::BIG5},   {SIMPLIFIED, "GB18030", text_encoding::GB18030},
        {TRADITIONAL, "UTF-8", text_encoding::UTF8},  {SIMPLIFIED, "UTF-8", text_encoding::UTF8},
    };
    for (const Variant& v : variants) {
        SCOPED_TRACE(std::string(FORMS.at("h9g7")[v.notation]) + " in " + v.iconv_name);
        close_book_files();
        const std::string bytes = encode(collection(v.notation), v.iconv_name);
        ASSERT_FALSE(bytes.empty());
        std::ofstream(dir.file("games.pgn"), std::ios::binary) << bytes;
        text_encoding enc;
        const book_build_stats_t s = build(dir.file("games.pgn"), dir.path(), 1, &enc);
        EXPECT_EQ(enc, v.detected);
        EXPECT_EQ(s.games_read, 5);
        EXPECT_EQ(s.games_used, 5);
        EXPECT_EQ(s.games_without_result, 1);
        EXPECT_EQ(s.positions, 18);
        EXPECT_EQ(s.records, 9);

        ASSERT_EQ(open_book_files_in(dir.path().c_str()), 1);
        for (const expected_record_t& r : RECORDS) {
            play(*e, r.moves);
            uint8_t key[BOOK_KEY_BYTES], payload[BOOK_PAYLOAD_BYTES];
            book_position_key(*e, key);
            const int32_t at = book_lookup(key);
            ASSERT_GE(at, 0) << r.moves;
            ASSERT_EQ(book_read_payload(at, payload), BOOK_PAYLOAD_BYTES);
            EXPECT_EQ(get32(payload), r.occurrences) << r.moves;
            EXPECT_EQ(payload[4], r.ply) << r.moves;
            EXPECT_EQ(get32(payload + 8), r.tally_a) << r.moves;
            EXPECT_EQ(get32(payload + 12), r.tally_b) << r.moves;
        }
        play(*e, "c3c4");
        uint8_t key[BOOK_KEY_BYTES];
        book_position_key(*e, key);
        EXPECT_EQ(book_lookup(key), -1);
    }
}

TEST_F(BookBuild, ChoiceMissesAPositionReachedAtAnotherPly) {
    std::ofstream(dir.file("games.pgn")) << collection(COORDINATES);
    build(dir.file("games.pgn"), dir.path(), 1);
    ASSERT_EQ(open_book_files_in(dir.path().c_str()), 1);
    bookoption_t option;
    e->book_option = &option;
    e->ready_state = 1;
    auto choices = [&](const std::string& moves) {
        play(*e, moves);
        e->ply_moves[0] = e->move_buffer;
        generate_moves(*e, e->side_to_move, 0);
        book_choice_t c[BOOK_CANDIDATES];
        const int n = book_candidate_choices(*e, c);
        std::string texts;
        for (int i = 0; i < n; ++i) {
            char ucci[8];
            move_to_ucci(e->ply_moves[0][c[i].index], ucci);
            texts += std::string(texts.empty() ? "" : " ") + ucci;
        }
        return texts;
    };
    // h9g7 after h2e2 was seen in three games at ply 2 (b9c7 in one only: never played).
    EXPECT_EQ(choices("h2e2"), "h9g7");
    // The same position at ply 6 is not the book's.
    EXPECT_EQ(choices("h2e2 h9g7 h0g2 g7h9 g2h0"), "");
}

TEST_F(BookBuild, MinimumGamesAndByteIdenticalOutput) {
    std::ofstream(dir.file("games.pgn")) << collection(COORDINATES);
    TempDir again;
    EXPECT_EQ(build(dir.file("games.pgn"), dir.path(), 2).records, 3);
    build(dir.file("games.pgn"), again.path(), 2);
    for (const char* name : {"sg.hash", "sg.data"}) {
        EXPECT_EQ(read_file(dir.file(name)), read_file(again.file(name))) << name;
        EXPECT_FALSE(read_file(dir.file(name)).empty()) << name;
    }
    EXPECT_EQ(read_file(dir.file("sg.data")).size(), 3u * BOOK_RECORD_BYTES);
}

}  // namespace
