// `tavox bench [DEPTH]` over the real binary: the engine's own start-up, and
// nothing left from earlier runs in the count.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "board/make_move.h"
#include "board/movegen.h"
#include "book/hash_book.h"
#include "book/read_file.h"
#include "engine_process.h"
#include "test_engine.h"

namespace {

// Depth 1 is raised to the least depth a search runs: the quickest bench.
const std::vector<std::string> kQuickBench = {"bench", "1"};

std::string total_line(const std::vector<std::string>& lines) { return lines.empty() ? "" : lines.back(); }
std::string nodes_of(const std::string& line) { return line.substr(0, line.find(" time ")); }

// A hash book that answers every root move of the first bench position (the
// initial array) at once, as a book from a deep earlier search would.
void write_answering_hash_book(const std::string& path) {
    auto e = make_engine();
    set_fen(*e, "");
    hash_book_load(*e, path);
    e->ply_moves[0] = e->move_buffer;
    generate_moves(*e, RED, 0);
    for (const move_t* m = e->ply_moves[0]; m < e->ply_moves[1]; ++m) {
        make_move(*e, *m);
        hash_book_store(*e, e->zobrist_key, hash_book_entry_t{e->zobrist_lock, 100, 0, 0});
        unmake_move(*e, *m);
    }
    hash_book_save(*e);
}

TEST(BenchCommand, HashBookOfAnEarlierRunIsNeitherReadNorWritten) {
    const EngineRun plain = run_engine("", kQuickBench);
    ASSERT_EQ(plain.exit_code, 0) << plain.err;
    ASSERT_EQ(total_line(plain.lines).rfind("nodes ", 0), 0u) << total_line(plain.lines);

    TempDir source;
    write_answering_hash_book(source.file("hashbook.bin"));
    const std::string book = read_file(source.file("hashbook.bin"));
    EngineProcess p(kQuickBench, true, [&](const std::string& dir) {
        std::filesystem::copy_file(source.file("hashbook.bin"), dir + "/hashbook.bin");
    });
    const std::vector<std::string> lines = p.read_all();
    EXPECT_EQ(p.wait_exit(), 0);
    EXPECT_EQ(nodes_of(total_line(lines)), nodes_of(total_line(plain.lines)));
    EXPECT_EQ(read_file(p.directory() + "/hashbook.bin"), book);
}

TEST(BenchCommand, NoStartWithoutTheKeysOrWithABadDepth) {
    const struct {
        std::vector<std::string> args;
        bool with_primes;
        int exit_code;
    } cases[] = {
        {kQuickBench, false, 1}, {{"bench", "0"}, true, 2}, {{"bench", "31"}, true, 2}, {{"bench", "4x"}, true, 2},
    };
    for (const auto& c : cases) {
        const EngineRun r = run_engine("", c.args, c.with_primes);
        const std::string what = c.args.back() + (c.with_primes ? "" : " without _prime.txt");
        EXPECT_EQ(r.exit_code, c.exit_code) << what;
        EXPECT_TRUE(r.lines.empty()) << what;
        EXPECT_NE(r.err.find("bench:"), std::string::npos) << what << ": " << r.err;
    }
}

}  // namespace
