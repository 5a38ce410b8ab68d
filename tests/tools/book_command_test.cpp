// "tavox book build" and "tavox book moves" over the real binary, on damaged
// and odd collections: a clear message, no files left behind, no crash.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "engine_process.h"

namespace {

struct command_run_t {
    int exit_code;
    std::string out, err;
    std::vector<std::string> files;  // what the command left in its directory
};

// Runs the binary with `args` in a fresh directory, which is also the book's default destination.
command_run_t run_command(std::vector<std::string> args) {
    EngineProcess p(std::move(args));
    command_run_t r;
    for (const std::string& line : p.read_all()) r.out += line + "\n";
    r.exit_code = p.wait_exit(20000);
    r.err = p.stderr_text();
    for (const auto& entry : std::filesystem::directory_iterator(p.directory())) {
        const std::string name = entry.path().filename().string();
        if (name != "tavox" && name != "_prime.txt" && name != ".stderr") r.files.push_back(name);
    }
    return r;
}

bool has(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

TEST(BookCommand, DamagedCollectionsWriteNothingAndSaySo) {
    TempDir in;
    std::string junk;
    for (int i = 0; i < 200000; ++i) junk += static_cast<char>((i * 7919 + i / 13) & 0xFF);
    struct Case {
        const char* name;
        std::string contents;
        const char* message;
    } cases[] = {
        {"empty", "", "no games found"},
        {"junk", junk, "could not be read"},
        {"long-line", std::string(10 * 1024 * 1024, 'h'), "unreadable 1"},
        {"tag-only", "[Event \"cut in the tag", "no moves 1"},
        {"moves-without-positions", "1. a0a5 h9g7 1-0\n", "illegal 1"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::ofstream(in.file(c.name), std::ios::binary) << c.contents;
        const command_run_t r = run_command({"book", "build", in.file(c.name)});
        EXPECT_EQ(r.exit_code, 1);
        EXPECT_TRUE(has(r.out + r.err, c.message)) << r.out << r.err;
        EXPECT_TRUE(has(r.err, "nothing written")) << r.err;
        EXPECT_TRUE(r.files.empty()) << r.files.front();
    }
    const command_run_t missing = run_command({"book", "build", in.file("absent")});
    EXPECT_EQ(missing.exit_code, 1);
    EXPECT_TRUE(has(missing.err, "cannot open")) << missing.err;
    EXPECT_TRUE(missing.files.empty());

    std::ofstream(in.file("good")) << "1. h2e2 h9g7 1-0\n1. h2e2 h9g7 0-1\n";
    const command_run_t no_dir = run_command({"book", "build", "--out", in.file("no-such-dir"), in.file("good")});
    EXPECT_EQ(no_dir.exit_code, 1);
    EXPECT_TRUE(has(no_dir.err, "no such directory")) << no_dir.err;

    for (const std::vector<std::string>& bad_args : std::vector<std::vector<std::string>>{
             {"book", "build"}, {"book", "build", "--max-ply", "0", in.file("good")},
             {"book", "build", "--min-games", "x", in.file("good")}, {"book", "build", "--bogus", in.file("good")},
             {"book"}}) {
        const command_run_t r = run_command(bad_args);
        EXPECT_EQ(r.exit_code, 2) << bad_args.back();
        EXPECT_TRUE(r.files.empty());
    }
}

TEST(BookCommand, GamesAreUsedUpToABadMove) {
    TempDir in;
    // Two games agree for two plies; the first breaks off in its third move,
    // the second plays an illegal one, the third starts from another position.
    std::ofstream(in.file("games.pgn")) << "[Result \"1-0\"]\n1. h2e2 h9g7 2. h0g2 i9\n\n"
                                        << "[Result \"0-1\"]\n1. h2e2 h9g7 2. a0a5 i9h9 0-1\n\n"
                                        << "[FEN \"4k4/9/9/9/9/9/9/9/9/4K4 w - - 0 1\"]\n1. e0e1 *\n";
    const command_run_t built = run_command({"book", "build", in.file("games.pgn")});
    EXPECT_EQ(built.exit_code, 0) << built.err;
    EXPECT_TRUE(has(built.out, "games read 3: used 0, cut 2, skipped 1")) << built.out;
    EXPECT_TRUE(has(built.out, "unreadable 1, illegal 1, ambiguous 0")) << built.out;
    EXPECT_TRUE(has(built.out, "positions counted 5, distinct 3, records written 2")) << built.out;
    std::vector<std::string> files = built.files;
    std::sort(files.begin(), files.end());
    EXPECT_EQ(files, (std::vector<std::string>{"sg.data", "sg.hash"}));  // no temporary names left

    const command_run_t moves = run_command({"book", "moves", in.file("games.pgn")});
    EXPECT_EQ(moves.exit_code, 0);
    EXPECT_EQ(moves.out, "1-0 h2e2 h9g7 h0g2 ; stopped at move 4: i9\n"
                         "0-1 h2e2 h9g7 ; stopped at move 3: a0a5\n"
                         "* ; skipped: starts from another position\n");
    EXPECT_TRUE(moves.files.empty());
}

}  // namespace
