// The book built beside the binary from the master games, found from the
// program directory, and the "bookfiles" option, over the real binary.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <set>
#include <string>

#include "book/book_writer.h"
#include "engine_process.h"
#include "position/move_text.h"
#include "test_engine.h"

namespace {

namespace fs = std::filesystem;

constexpr int BOOK_ANSWER_MS = 3000;  // a search to depth 30 takes far longer

const fs::path SHIPPED_DIR = fs::path(TAVOX_BINARY).parent_path();

// The binary, its hash-key numbers and the shipped book in `dir`/bin, started
// through a link from `dir`: the working directory holds no book.
void install_beside_program(const std::string& dir) {
    const fs::path bin = fs::path(dir) / "bin";
    fs::create_directory(bin);
    for (const char* name : {"_prime.txt", "sg.hash", "sg.data"}) fs::copy_file(SHIPPED_DIR / name, bin / name);
    fs::rename(fs::path(dir) / "tavox", bin / "tavox");
    fs::create_symlink(bin / "tavox", fs::path(dir) / "tavox");
}

// The bestmove answer to `go depth 30` after `position`, when it comes at once ("" otherwise).
std::string quick_answer(EngineProcess& p, const std::string& position) {
    p.send_line(position);
    p.send_line("go depth 30");
    std::string line;
    const auto t0 = std::chrono::steady_clock::now();
    if (!p.wait_for("bestmove", line, BOOK_ANSWER_MS)) {
        p.send_line("stop");
        p.wait_for("bestmove", line);
        return "";
    }
    EXPECT_LT(std::chrono::steady_clock::now() - t0, std::chrono::milliseconds(BOOK_ANSWER_MS));
    return line.substr(9, 4);
}

TEST(ShippedBook, FoundBesideTheProgramAndFollowsAMasterLine) {
    ASSERT_TRUE(fs::exists(SHIPPED_DIR / "sg.data")) << "the build makes the book beside the binary";
    ASSERT_GT(fs::file_size(SHIPPED_DIR / "sg.data"), 1000u * 68);
    EngineProcess p({}, false, install_beside_program);
    p.send_line("ucci");
    std::string line;
    ASSERT_TRUE(p.wait_for("ucciok", line));

    const std::set<std::string> master_first_moves = {"h2e2", "c3c4", "g0e2", "b0c2", "g3g4", "h2d2", "b2e2"};
    EXPECT_TRUE(master_first_moves.count(quick_answer(p, "position startpos")));
    // The commonest line of the collection stays in the book for eight plies.
    const std::string line_moves[] = {"h2e2", "h9g7", "h0g2", "i9h9", "i0h0", "b9c7", "c3c4", "g6g5"};
    std::string moves;
    for (const std::string& m : line_moves) {
        moves += " " + m;
        EXPECT_NE(quick_answer(p, "position startpos moves" + moves), "") << moves;
    }
    p.send_line("quit");
    EXPECT_EQ(p.wait_exit(), 0);
    // The book beside the program is only read; none is created in the working directory.
    EXPECT_FALSE(fs::exists(p.directory() + "/sg.hash"));
    EXPECT_FALSE(fs::exists(p.directory() + "/sg.data"));
}

// A book holding a single record: i0i1 from the start position, preferred outright.
void write_rook_book(const std::string& dir) {
    auto e = make_engine();
    setup_position(*e, START_POSITION_STRING, RED);
    char internal[MOVE_TEXT_SIZE];
    ucci_to_internal("i0i1", internal);
    apply_move_text(*e, internal);
    Key k;
    book_position_key(*e, k.data());
    BookWriter book;
    book.add_position(k, 9999, 1, 0, 0);
    book.write(dir);
}

TEST(BookFilesOption, FolderOrIndexPathAtOnceAndABadPathMeansNoBook) {
    TempDir books;
    write_rook_book(books.path());
    EngineProcess p;
    p.send_line("ucci");
    std::string line;
    ASSERT_TRUE(p.wait_for("ucciok", line));
    struct Case {
        std::string path;
        bool book;
    } cases[] = {
        {books.path(), true},
        {"/no/such/folder", false},
        {books.file("sg.hash"), true},
        {books.file("missing.hash"), false},
        {"  " + books.path() + "  ", true},
    };
    int bad_paths = 0;
    for (const Case& c : cases) {
        p.send_line("setoption bookfiles " + c.path);
        bad_paths += !c.book;
        p.send_line("position startpos");
        p.send_line(c.book ? "go depth 30" : "go depth 1");
        ASSERT_TRUE(p.wait_for("bestmove", line, c.book ? BOOK_ANSWER_MS : 20000)) << c.path;
        EXPECT_EQ(line.substr(9, 4) == "i0i1", c.book) << c.path << ": " << line;
    }
    p.send_line("quit");
    p.wait_exit();
    // One line on stderr for each bad path.
    const std::string err = p.stderr_text();
    int lines = 0;
    for (size_t at = err.find("bookfiles"); at != std::string::npos; at = err.find("bookfiles", at + 1)) ++lines;
    EXPECT_EQ(lines, bad_paths) << err;
}

}  // namespace
