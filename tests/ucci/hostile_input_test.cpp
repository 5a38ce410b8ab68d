// Odd input over the real binary: every answer is a legal move of the position
// meant, or the input is refused with a message on stderr.
#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <filesystem>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

#include "engine_process.h"
#include "legal_game.h"
#include "ucci/line_input.h"

namespace {

using Lines = std::vector<std::string>;

const std::string kStartBoard = "rnbakabnr/9/1c5c1/p1p1p1p1p/9/9/P1P1P1P1P/1C5C1/9/RNBAKABNR";
const std::string kAfterH2e2 = "position startpos moves h2e2";

struct Row {
    std::string what;
    Lines lines;            // sent at once after the handshake
    int answers;            // bestmove lines expected (each legal in `reference`)
    std::string reference;  // the position line the answers must be legal in
    Lines others = {};      // the other lines expected before "bye", in order
    std::string err = "";   // expected on stderr; empty: stderr stays empty
};

bool is_answer(const std::string& line) { return line.rfind("bestmove", 0) == 0 || line == "nobestmove"; }

void run_row(const Row& r) {
    SCOPED_TRACE(r.what);
    EngineProcess p;
    std::string line;
    p.send_line("ucci");
    ASSERT_TRUE(p.wait_for("ucciok", line));
    std::string text;
    for (const auto& l : r.lines) text += l + "\n";
    p.send(text);
    Lines seen;
    for (int i = 0; i < r.answers; ++i) ASSERT_TRUE(p.wait_for("bestmove", line, 30000, &seen)) << "no answer";
    p.send_line("quit");
    for (const auto& l : p.read_all(20000)) seen.push_back(l);
    EXPECT_EQ(p.wait_exit(), 0);
    ASSERT_FALSE(seen.empty());
    EXPECT_EQ(seen.back(), "bye");
    seen.pop_back();
    Lines others;
    int answers = 0;
    for (const auto& l : seen) {
        if (l.rfind("info depth ", 0) == 0) continue;  // the thinking shown during a search
        if (!is_answer(l)) {
            others.push_back(l);
            continue;
        }
        ++answers;
        std::string why;
        EXPECT_TRUE(answer_is_legal(r.reference, l, why)) << l << ": " << why;
    }
    EXPECT_EQ(answers, r.answers);
    EXPECT_EQ(others, r.others);
    const std::string err = p.stderr_text();
    if (r.err.empty()) {
        EXPECT_EQ(err, "");
    } else {
        EXPECT_NE(err.find(r.err), std::string::npos) << err;
    }
}

std::string moves_line(int plies) { return "position startpos moves " + legal_game(plies); }

TEST(HostileInput, LongMoveListsArriveWhole) {
    for (int plies : {150, 201, 400, 1000}) {
        const std::string line = moves_line(plies);
        run_row({std::to_string(plies) + " plies", {line, "go depth 3"}, 1, line});
    }
}

TEST(HostileInput, LinesBeyondTheBoundAreRefusedWhole) {
    std::string at_limit = kAfterH2e2;
    at_limit.resize(LINE_LIMIT, ' ');
    const std::string over = at_limit + ' ';
    const std::string x1023(1023, 'x');
    const std::string huge = moves_line(201) + std::string(2 * LINE_LIMIT, ' ') + "h9g7";
    const Row rows[] = {
        {"a line of the bound", {"position startpos", at_limit, "go depth 3"}, 1, kAfterH2e2},
        {"a byte more", {"position startpos", over, "go depth 3"}, 1, "position startpos", {}, "longer than"},
        {"far beyond", {kAfterH2e2, huge, "go depth 3"}, 1, kAfterH2e2, {}, "longer than"},
        // What stands at byte 1024 of a line is not a command of its own.
        {"isready in a tail", {x1023 + "isready", "go depth 2"}, 1, "position startpos"},
        {"quit in a tail", {x1023 + "quit", "isready"}, 0, "", {"readyok"}},
        // The whole value is the book's path; the book cannot be opened, and says so.
        {"go in a tail", {"setoption bookfiles " + std::string(1003, 'a') + "go depth 3", "isready"}, 0, "", {"readyok"},
         "aaago depth 3.hash; no opening book is used"},
    };
    for (const Row& r : rows) run_row(r);
}

TEST(HostileInput, PositionsAreSetUpAsNamedOrRefused) {
    const Row rows[] = {
        {"start array, black to move", {"position fen " + kStartBoard + " b - - 0 1", "go depth 3"}, 1,
         "position fen " + kStartBoard + " b - - 0 1"},
        {"start board, empty move list", {kAfterH2e2, "position fen " + kStartBoard + " moves", "go depth 3"}, 1,
         "position startpos"},
        {"no side field", {"position fen 3k5/9/9/9/9/9/9/9/9/4K4", "go depth 3"}, 1, "position fen 3k5/9/9/9/9/9/9/9/9/4K4 w"},
        {"kings facing", {kAfterH2e2, "position fen 4k4/9/9/9/9/9/9/9/9/4K4 w", "go depth 3"}, 1, kAfterH2e2, {},
         "the kings face each other"},
        {"side not to move in check", {kAfterH2e2, "position fen 3k5/3R5/9/9/9/9/9/9/9/4K4 w", "go depth 3"}, 1, kAfterH2e2,
         {}, "the side not to move is in check"},
        {"no black king", {kAfterH2e2, "position fen 9/9/9/9/9/9/9/9/9/4K4 w", "go depth 3"}, 1, kAfterH2e2, {},
         "a king is missing"},
        {"king out of the palace", {kAfterH2e2, "position fen 3k5/9/9/9/9/9/4K4/9/9/9 w", "go depth 3"}, 1, kAfterH2e2, {},
         "outside its palace"},
        {"advisor off its squares", {kAfterH2e2, "position fen 3k5/3a5/9/9/9/9/9/9/9/4K4 w", "go depth 3"}, 1, kAfterH2e2,
         {}, "an advisor"},
        {"elephant off its squares", {kAfterH2e2, "position fen 3k5/9/9/9/9/9/9/9/9/1B2K4 w", "go depth 3"}, 1, kAfterH2e2,
         {}, "an elephant"},
        {"side x", {kAfterH2e2, "position fen 3k5/9/9/9/9/9/9/9/9/4K4 x", "go depth 3"}, 1, kAfterH2e2, {}, "side to move"},
        {"side W", {kAfterH2e2, "position fen 3k5/9/9/9/9/9/9/9/9/4K4 W", "go depth 3"}, 1, kAfterH2e2, {}, "side to move"},
    };
    for (const Row& r : rows) run_row(r);
}

TEST(HostileInput, MoveTextIsExact) {
    const Row rows[] = {
        {"two moves run together", {"position startpos moves h2e2Xh9g7", "go depth 3"}, 1, "position startpos", {},
         "not a move"},
        {"file bytes above 0x80", {"position startpos moves \x88" "2\x85" "2", "go depth 3"}, 1, "position startpos", {},
         "not a move"},
        {"junk after a move", {"position startpos moves h2e2junk", "go depth 3"}, 1, "position startpos", {}, "not a move"},
        {"a later bad word keeps the moves before it", {"position startpos moves h2e2 h9g7 H0G2 b0c2", "go depth 3"}, 1,
         "position startpos moves h2e2 h9g7", {}, "not a move"},
        {"startpos glued to a word", {kAfterH2e2, "position startposXYZ", "go depth 3"}, 1, kAfterH2e2, {},
         "position ignored"},
        {"a lone carriage return ends a line", {"isready\rquit", "isready"}, 0, "", {"readyok"}},
    };
    for (const Row& r : rows) run_row(r);
}

TEST(HostileInput, NothingAfterQuitIsServed) {
    run_row({"go, go, quit, isready", {"go depth 8", "go depth 8", "quit", "isready"}, 1, "position startpos"});
}

TEST(HostileInput, AFullStoreOfHeldLinesStillAnswersStop) {
    Lines lines = {"position startpos", "go depth 30"};
    for (int i = 0; i < 300; ++i) lines.push_back("setoption drawmoves 50");
    lines.push_back("stop");
    lines.push_back("isready");
    run_row({"300 lines during a search", lines, 1, "position startpos", {"readyok"}, "input line dropped"});
}

TEST(HostileInput, LongGamesAreAnsweredToTheEnd) {
    // 260 clock moves of one game, each position continuing the one before,
    // with 20 ms on the clock: an answer must come well before a flag falls
    // (the bound is generous for loaded machines and the sanitizer build; a
    // search that ran on past its stop used to take seconds here).
    constexpr long long kAnswerBoundMs = 500;
    const std::string game = legal_game(520, 7);
    EngineProcess p;
    std::string line;
    p.send_line("ucci");
    ASSERT_TRUE(p.wait_for("ucciok", line));
    p.send_line("setoption usemillisec on");
    for (int k = 0; k < 260; ++k) {
        const std::string position = "position startpos" + (k == 0 ? "" : " moves " + game.substr(0, 5 * 2 * k - 1));
        p.send_line(position);
        const auto asked = std::chrono::steady_clock::now();
        p.send_line("go time 20 increment 0");
        ASSERT_TRUE(p.wait_for("bestmove", line, 10000)) << k;
        const auto waited = std::chrono::steady_clock::now() - asked;
        EXPECT_LT(std::chrono::duration_cast<std::chrono::milliseconds>(waited).count(), kAnswerBoundMs) << k;
        std::string why;
        ASSERT_TRUE(answer_is_legal(position, line, why)) << k << ": " << line << ": " << why;
    }
}

// Runs the binary with `fd` as its standard input; its exit code, or -1 when
// it is still running after five seconds.
int exit_code_with_stdin(int fd) {
    TempDir dir;
    namespace fs = std::filesystem;
    fs::copy_file(TAVOX_BINARY, dir.file("tavox"));
    fs::copy_file(std::string(TAVOX_DATA_DIR) + "/_prime.txt", dir.file("_prime.txt"));
    const std::string binary = dir.file("tavox");
    const pid_t pid = fork();
    if (pid == 0) {
        const int out = open("/dev/null", O_WRONLY);
        dup2(fd, 0);
        dup2(out, 1);
        dup2(out, 2);
        if (chdir(dir.path().c_str()) != 0) _exit(127);
        execl(binary.c_str(), binary.c_str(), static_cast<char*>(nullptr));
        _exit(127);
    }
    for (int waited = 0; waited < 5000; waited += 10) {
        int status = 0;
        if (waitpid(pid, &status, WNOHANG) == pid) return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    kill(pid, SIGKILL);
    waitpid(pid, nullptr, 0);
    return -1;
}

TEST(HostileInput, StandardInputThatCannotBeReadEndsTheEngine) {
    TempDir dir;
    const int directory = open(dir.path().c_str(), O_RDONLY | O_DIRECTORY);
    const int write_only = open(dir.file("out").c_str(), O_WRONLY | O_CREAT, 0644);
    int fds[2];
    ASSERT_EQ(pipe(fds), 0);
    EXPECT_EQ(exit_code_with_stdin(directory), 0);
    EXPECT_EQ(exit_code_with_stdin(write_only), 0);
    EXPECT_EQ(exit_code_with_stdin(fds[1]), 0);  // the write end of a pipe
    for (int fd : {directory, write_only, fds[0], fds[1]}) close(fd);
}

}  // namespace
