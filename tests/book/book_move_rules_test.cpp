// Book moves must be playable: legal, not banned; and looping chains end fast.
#include <gtest/gtest.h>

#include <chrono>
#include <fstream>

#include "board/make_move.h"
#include "board/movegen.h"
#include "book/book_option.h"
#include "book/book_probe.h"
#include "book/book_writer.h"
#include "engine_process.h"
#include "legal_game.h"
#include "position/move_text.h"
#include "test_engine.h"

namespace {

Key key_after(Count& e, int from, int to) {
    const move_t m{0, from, to, e.board[from], e.board[to]};
    make_move(e, m);
    Key k;
    book_position_key(e, k.data());
    unmake_move(e, m);
    return k;
}

int sq(const char* t) { return square_of_text(t[0], t[1]); }

TEST(BookMoveRules, ExposingAndBannedMovesAreNotPlayed) {
    auto e = make_engine();
    bookoption_t option;
    e->ready_state = 1;
    e->book_option = &option;
    TempDir dir;
    set_fen(*e, "3k5/9/9/9/9/9/9/9/4R4/3AKA3 w");
    e->book_miss_count = 0;
    BookWriter book;
    book.add_position(key_after(*e, sq("e1"), sq("a1")), 50, 1, 0, 0);
    book.add_position(key_after(*e, sq("e1"), sq("e3")), 10, 1, 0, 0);
    book.write(dir.path());
    ASSERT_EQ(open_book_files_in(dir.path().c_str()), 1);
    move_t m{};
    ASSERT_EQ(book_probe(*e, m), 1);
    EXPECT_EQ(m.to, sq("a1"));  // legal here: the king does not face black's
    close_book_files();

    // With black's rook on e5, the rook leaving the e-file exposes red's king.
    set_fen(*e, "3k5/9/9/9/4r4/9/9/9/4R4/3AKA3 w");
    e->book_miss_count = 0;
    book = BookWriter{};
    book.add_position(key_after(*e, sq("e1"), sq("a1")), 50, 1, 0, 0);
    book.add_position(key_after(*e, sq("e1"), sq("e3")), 10, 1, 0, 0);
    book.write(dir.path());
    ASSERT_EQ(open_book_files_in(dir.path().c_str()), 1);
    ASSERT_EQ(book_probe(*e, m), 1);
    EXPECT_EQ(m.to, sq("e3"));  // the exposing a1 is passed over for the next candidate

    e->book_miss_count = 0;
    e->banned_count = 1;
    e->banned_moves[0] = move_t{0, sq("e1"), sq("e3"), 0, 0};
    EXPECT_EQ(book_probe(*e, m), 0);  // nothing playable is left: the search runs
    close_book_files();
}

TEST(BookMoveRules, LoopingChainEndsAtOnce) {
    TempDir dir;
    const Key k = key_with(7);
    BookWriter book;
    const int32_t head = book.add(key_with(1), 0);  // points to itself
    book.heads[book_bucket(k.data())] = head;
    book.write(dir.path());
    // A large file, so that a walk bounded only by its record count would take seconds.
    {
        std::fstream f(dir.file("sg.data"), std::ios::in | std::ios::out | std::ios::binary);
        f.seekp(100L * 1000 * 1000);
        f.put('\0');
    }
    ASSERT_EQ(open_book_files_in(dir.path().c_str()), 1);
    const auto t0 = std::chrono::steady_clock::now();
    EXPECT_EQ(book_lookup(k.data()), -1);
    const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - t0).count();
    EXPECT_LT(ms, 50);
    close_book_files();
}

// Every bucket leads into one chain that runs through distinct records past
// the chain bound: the book is passed over, said once, and the search answers.
TEST(BookMoveRules, OverlongChainIsCutAndTheEngineAnswers) {
    EngineProcess p({}, true, [](const std::string& dir) {
        BookWriter book;
        for (long i = 0; i <= MAX_BOOK_CHAIN + 1; ++i) book.add(key_with(1), static_cast<int32_t>((i + 1) * BOOK_RECORD_BYTES));
        book.add(key_with(1), -1);
        book.write(dir);
        std::ofstream(dir + "/sg.hash", std::ios::binary) << std::string(4 * static_cast<size_t>(BOOK_INDEX_WORDS), '\0');
    });
    std::string line, why;
    p.send_line("ucci");
    ASSERT_TRUE(p.wait_for("ucciok", line));
    for (const char* position : {"position startpos", "position startpos moves h2e2"}) {
        p.send_line(position);
        p.send_line("go depth 1");
        ASSERT_TRUE(p.wait_for("bestmove", line)) << position;
        EXPECT_TRUE(answer_is_legal(position, line, why)) << line << ": " << why;
    }
    p.send_line("quit");
    EXPECT_EQ(p.wait_exit(), 0);
    const std::string err = p.stderr_text();
    EXPECT_EQ(err.find("cut as damaged"), err.rfind("cut as damaged")) << err;
    EXPECT_NE(err.find("cut as damaged"), std::string::npos) << err;
}

}  // namespace

// Red's rook chases black's king up and down: the check that would repeat the
// position a third time is a forbidden long check, even as a book move.
TEST(BookMoveRules, ForbiddenRepetitionIsNotPlayed) {
    auto e = make_engine();
    bookoption_t option;
    e->ready_state = 1;
    e->book_option = &option;
    TempDir dir;
    set_fen(*e, "4k4/9/9/9/9/9/9/9/9/R2K5 w");
    for (const char* m : {"a0a9", "e9e8", "a9a8", "e8e9", "a8a9", "e9e8"}) {
        char internal[MOVE_TEXT_SIZE];
        ucci_to_internal(m, internal);
        apply_move_text(*e, internal);
    }
    BookWriter book;
    book.add_position(key_after(*e, sq("a9"), sq("a8")), 50, static_cast<uint8_t>(e->ply + 1), 0, 0);
    book.add_position(key_after(*e, sq("a9"), sq("a1")), 10, static_cast<uint8_t>(e->ply + 1), 0, 0);
    book.write(dir.path());
    ASSERT_EQ(open_book_files_in(dir.path().c_str()), 1);
    e->book_miss_count = 0;
    move_t m{};
    ASSERT_EQ(book_probe(*e, m), 1);
    EXPECT_EQ(m.to, sq("a1"));
    close_book_files();
}
