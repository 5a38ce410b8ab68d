// Choosing a move from the opening book.
#include <gtest/gtest.h>

#include <string>

#include "board/make_move.h"
#include "board/movegen.h"
#include "book/book_option.h"
#include "book/book_probe.h"
#include "book/book_writer.h"
#include "engine_process.h"
#include "position/move_text.h"
#include "test_engine.h"

namespace {

class BookProbe : public ::testing::Test {
protected:
    void SetUp() override {
        e->ready_state = 1;
        e->book_option = &option;
        setup_position(*e, START_POSITION_STRING, RED);
    }
    void TearDown() override { close_book_files(); }

    // The key of the position after the UCCI move from the current position.
    Key key_after(const char* ucci) {
        char internal[MOVE_TEXT_SIZE];
        ucci_to_internal(ucci, internal);
        const int from = square_of_text(internal[0], internal[1]), to = square_of_text(internal[3], internal[4]);
        const move_t m{0, from, to, e->board[from], e->board[to]};
        make_move(*e, m);
        Key k;
        book_position_key(*e, k.data());
        unmake_move(*e, m);
        return k;
    }
    void open_book() {
        book.write(dir.path());
        ASSERT_EQ(open_book_files_in(dir.path().c_str()), 1);
    }
    std::string probe_text(int expected_result) {
        move_t m{};
        EXPECT_EQ(book_probe(*e, m), expected_result);
        char internal[MOVE_TEXT_SIZE], ucci[5] = "";
        move_to_text(m, internal);
        if (internal[0] != '\0') internal_to_ucci(internal, ucci);
        return ucci;
    }
    int candidates() {
        e->ply_moves[0] = e->move_buffer;
        generate_moves(*e, e->side_to_move, 0);
        book_choice_t choices[BOOK_CANDIDATES];
        return book_candidate_choices(*e, choices);
    }

    std::unique_ptr<CountEx> e = make_engine();
    bookoption_t option;
    BookWriter book;
    TempDir dir;
};

TEST_F(BookProbe, PreferredRecordIsAlwaysChosen) {
    book.add_position(key_after("h2e2"), 9999, 1, 0, 0);
    book.add_position(key_after("b2e2"), 9000, 1, 0, 0);
    open_book();
    for (int i = 0; i < 3; ++i) {
        setup_position(*e, START_POSITION_STRING, RED);
        EXPECT_EQ(probe_text(1), "h2e2");
        EXPECT_EQ(e->best_line[0].score, 0);
        EXPECT_EQ(e->best_line[1].from, 0);
        EXPECT_EQ(e->ready_state, 1);
    }
}

TEST_F(BookProbe, AcceptanceByCounts) {
    struct Case {
        uint32_t n, tally_a, tally_b;
        bool accepted;
    } cases[] = {
        {9, 0, 100, true},  {1, 0, 0, false},  {2, 1, 1, false}, {2, 0, 0, true},  {2, 2, 1, true},
        {3, 0, 3, false},   {10, 0, 0, true},  {4, 0, 2, true},  {4, 0, 3, false}, {8, 0, 6, true},
        {8, 0, 7, false},   {0, 0, 0, false},
    };
    for (const auto& c : cases) {
        TearDown();
        book = BookWriter{};
        book.add_position(key_after("h2e2"), c.n, 1, c.tally_a, c.tally_b);
        open_book();
        EXPECT_EQ(candidates(), c.accepted ? 1 : 0) << c.n << " " << c.tally_a << " " << c.tally_b;
    }
}

TEST_F(BookProbe, WeakCandidatesAreTrimmed) {
    book.add_position(key_after("h2e2"), 9, 1, 0, 0);
    book.add_position(key_after("b2e2"), 3, 1, 0, 0);
    open_book();
    EXPECT_EQ(candidates(), 1);  // 9 / 3 = 3
    TearDown();
    book = BookWriter{};
    book.add_position(key_after("h2e2"), 9, 1, 0, 0);
    book.add_position(key_after("b2e2"), 4, 1, 0, 0);
    open_book();
    EXPECT_EQ(candidates(), 2);  // 9 / 4 = 2
}

TEST_F(BookProbe, RecordOfAnotherMoveNumberIsIgnored) {
    book.add_position(key_after("h2e2"), 50, 3, 0, 0);
    open_book();
    EXPECT_EQ(probe_text(0), "");
}

TEST_F(BookProbe, AfterAMissTheBookRestsUntilTheNextStartPosition) {
    open_book();  // empty book: a miss
    EXPECT_EQ(probe_text(0), "");
    EXPECT_EQ(e->book_miss_count, 1);
    TearDown();
    book.add_position(key_after("h2e2"), 9999, 1, 0, 0);
    open_book();
    EXPECT_EQ(probe_text(0), "");
    setup_position(*e, START_POSITION_STRING, RED);
    EXPECT_EQ(probe_text(1), "h2e2");
}

TEST_F(BookProbe, OnlyGamesFromTheStartPositionUseTheBookAndOnlyWhenAllowed) {
    book.add_position(key_after("h2e2"), 9999, 1, 0, 0);
    open_book();
    set_fen(*e, "rnbakabnr/9/1c5c1/p1p1p1p1p/9/9/P1P1P1P1P/1C5C1/9/RNBAKABN1 w - - 0 1");
    EXPECT_EQ(probe_text(0), "");
    setup_position(*e, START_POSITION_STRING, RED);
    option.use_book = false;
    EXPECT_EQ(probe_text(0), "");
    option.use_book = true;
    e->ready_state = 0;
    move_t m{};
    EXPECT_EQ(book_probe(*e, m), -1);
}

TEST(BookRandom, GeneratorSequence) {
    book_random_t r;
    r.seed(0);
    EXPECT_EQ(r.draw(), 38);  // (2531011 >> 16) & 0x7FFF
    r.seed(1);
    EXPECT_EQ(r.draw(), 41);  // (214013 + 2531011) >> 16
}

}  // namespace
