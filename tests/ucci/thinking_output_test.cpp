// What a GUI sees while the engine thinks, and every form of go it sends,
// over the real binary.
#include <gtest/gtest.h>

#include <chrono>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "engine_process.h"
#include "position/move_text.h"
#include "test_engine.h"

namespace {

using Lines = std::vector<std::string>;
using clock_type = std::chrono::steady_clock;

const std::regex kBestmove(R"(bestmove ([a-i][0-9][a-i][0-9])( ponder [a-i][0-9][a-i][0-9])? time \d+ score (-?\d+))");
const std::regex kInfo(R"(info depth (\d+) score (-?\d+) time \d+ nodes (\d+) nps \d+ pv((?: [a-i][0-9][a-i][0-9])+))");

struct Info {
    int depth, score;
    long long nodes;
    Lines pv;
};

Info parse_info(const std::string& line) {
    std::smatch m;
    Info info{-1, 0, 0, {}};
    if (!std::regex_match(line, m, kInfo)) return info;
    info.depth = std::stoi(m[1]);
    info.score = std::stoi(m[2]);
    info.nodes = std::stoll(m[3]);
    std::istringstream pv(m[4]);
    for (std::string move; pv >> move;) info.pv.push_back(move);
    return info;
}

// The FEN position and then the moves, each legal for the side to move.
::testing::AssertionResult legal_line(const std::string& fen, const Lines& moves) {
    auto e = make_engine();
    set_fen(*e, fen);
    for (const std::string& ucci : moves) {
        char internal[MOVE_TEXT_SIZE];
        ucci_to_internal(ucci.c_str(), internal);
        move_t m{};
        if (!find_legal_move(*e, internal, m)) return ::testing::AssertionFailure() << ucci << " is not legal";
        apply_move_text(*e, internal);
    }
    return ::testing::AssertionSuccess();
}

class Thinking : public ::testing::Test {
protected:
    void SetUp() override {
        p.send_line("ucci");
        std::string line;
        ASSERT_TRUE(p.wait_for("ucciok", line));
    }
    // Sends the lines; returns every line up to and including the answer.
    Lines until_answer(const Lines& send, int timeout_ms = 20000) {
        for (const auto& l : send) p.send_line(l);
        Lines seen;
        std::string line;
        while (p.read_line(line, timeout_ms)) {
            seen.push_back(line);
            if (line.rfind("bestmove", 0) == 0 || line == "nobestmove") break;
        }
        return seen;
    }
    // The lines that arrive within `ms`.
    Lines lines_within(int ms) {
        Lines seen;
        std::string line;
        const auto end = clock_type::now() + std::chrono::milliseconds(ms);
        for (;;) {
            const long left = std::chrono::duration_cast<std::chrono::milliseconds>(end - clock_type::now()).count();
            if (left <= 0 || !p.read_line(line, static_cast<int>(left))) return seen;
            seen.push_back(line);
        }
    }
    static long ms_since(clock_type::time_point t) {
        return std::chrono::duration_cast<std::chrono::milliseconds>(clock_type::now() - t).count();
    }
    static bool has_bestmove(const Lines& lines) {
        for (const auto& l : lines)
            if (l.rfind("bestmove", 0) == 0) return true;
        return false;
    }
    EngineProcess p;
};

TEST_F(Thinking, AnInfoLineForEveryIterationThenTheAnswer) {
    struct Case {
        const char* fen;
        int sign;  // of the score from the side to move's view
    } cases[] = {
        {"rnbakabnr/9/1c5c1/p1p1p1p1p/9/9/P1P1P1P1P/1C5C1/9/RNBAKABNR w - - 0 1", 0},
        {"2bakab1r/6r2/1cn4c1/p1p1p3p/9/2P3p2/PC2P1n1P/2N1B1NC1/R4R3/3AKAB2 w - - 0 1", 0},
        // Red without a rook: red to move is worse off, black to move better.
        {"rnbakabnr/9/1c5c1/p1p1p1p1p/9/9/P1P1P1P1P/1C5C1/9/1NBAKABNR w - - 0 1", -1},
        {"rnbakabnr/9/1c5c1/p1p1p1p1p/9/9/P1P1P1P1P/1C5C1/9/1NBAKABNR b - - 0 1", 1},
        // Mate in one for the side to move, either colour.
        {"3k5/R8/9/9/9/9/9/9/9/R3K4 w - - 0 1", 1},
        {"r3k4/9/9/9/9/9/9/9/r8/3K5 b - - 0 1", 1},
    };
    for (const auto& c : cases) {
        const Lines seen = until_answer({std::string("position fen ") + c.fen, "go depth 6"});
        ASSERT_GE(seen.size(), 2u) << c.fen;
        std::smatch best;
        ASSERT_TRUE(std::regex_match(seen.back(), best, kBestmove)) << c.fen << ": " << seen.back();
        Info last{0, 0, 0, {}};
        for (size_t i = 0; i + 1 < seen.size(); ++i) {
            const Info info = parse_info(seen[i]);
            ASSERT_EQ(info.depth, last.depth + 1) << c.fen << ": " << seen[i];
            EXPECT_GE(info.nodes, last.nodes) << seen[i];
            EXPECT_TRUE(legal_line(c.fen, info.pv)) << seen[i];
            last = info;
        }
        EXPECT_EQ(last.pv.front(), best[1].str()) << c.fen;
        EXPECT_EQ(last.score, std::stoi(best[3])) << c.fen;
        if (c.sign > 0) {
            EXPECT_GT(last.score, 200) << c.fen;
        } else if (c.sign < 0) {
            EXPECT_LT(last.score, -200) << c.fen;
        }
    }
}

TEST_F(Thinking, DebugAddsTheSearchStatistics) {
    const Lines plain = until_answer({"position startpos", "go depth 4"});
    p.send_line("setoption debug on");
    const Lines debug = until_answer({"go depth 4"});
    ASSERT_EQ(debug.size(), plain.size() + 2);
    EXPECT_EQ(debug[debug.size() - 3].rfind("info string depth(4) moves(", 0), 0u) << debug[debug.size() - 3];
    EXPECT_EQ(debug[debug.size() - 2].rfind("info string check(", 0), 0u) << debug[debug.size() - 2];
}

TEST_F(Thinking, PonderingShowsItsThinking) {
    p.send_line("position startpos moves h2e2");
    p.send_line("go ponder time 60 increment 0");
    const Lines pondering = lines_within(1000);
    ASSERT_FALSE(pondering.empty());
    for (const auto& l : pondering) EXPECT_TRUE(std::regex_match(l, kInfo)) << l;
    const Lines rest = until_answer({"stop"}, 2000);
    ASSERT_FALSE(rest.empty());
    EXPECT_TRUE(std::regex_match(rest.back(), kBestmove)) << rest.back();
}

TEST_F(Thinking, MoveTimeAloneIsAFixedBudget) {
    struct Case {
        const char* go;
        long min_ms, max_ms;
    } cases[] = {
        {"go movetime 1", 300, 1000},  // seconds
        {"go movetime 0", 0, 300},
    };
    for (const auto& c : cases) {
        const auto t = clock_type::now();
        const Lines seen = until_answer({"position startpos moves h2e2", c.go}, 5000);
        const long took = ms_since(t);
        ASSERT_FALSE(seen.empty()) << c.go;
        EXPECT_TRUE(std::regex_match(seen.back(), kBestmove)) << c.go << ": " << seen.back();
        EXPECT_GE(took, c.min_ms) << c.go;
        EXPECT_LT(took, c.max_ms) << c.go;
    }
    p.send_line("setoption usemillisec true");
    const auto t = clock_type::now();
    const Lines seen = until_answer({"go movetime 400"}, 5000);
    EXPECT_TRUE(std::regex_match(seen.back(), kBestmove)) << seen.back();
    EXPECT_LT(ms_since(t), 400);
}

TEST_F(Thinking, InfiniteAnswersOnlyAtStop) {
    // The second position is mate in one: its search ends at once and still waits.
    for (const char* position : {"position startpos", "position fen 3k5/R8/9/9/9/9/9/9/9/R3K4 w - - 0 1"}) {
        for (const char* go : {"go infinite", "go depth infinite"}) {
            p.send_line(position);
            p.send_line(go);
            const Lines thinking = lines_within(1200);
            EXPECT_FALSE(has_bestmove(thinking)) << position << ", " << go;
            EXPECT_FALSE(thinking.empty()) << position << ", " << go;
            const auto t = clock_type::now();
            const Lines rest = until_answer({"stop"}, 2000);
            ASSERT_FALSE(rest.empty());
            EXPECT_TRUE(std::regex_match(rest.back(), kBestmove)) << rest.back();
            EXPECT_LT(ms_since(t), 300);
        }
    }
    p.send_line("go infinite");
    EXPECT_FALSE(has_bestmove(lines_within(300)));
    p.send_line("quit");
    const Lines rest = lines_within(3000);
    ASSERT_GE(rest.size(), 2u);
    EXPECT_TRUE(std::regex_match(rest[rest.size() - 2], kBestmove)) << rest[rest.size() - 2];
    EXPECT_EQ(rest.back(), "bye");
}

TEST_F(Thinking, NoTimeLeftMovesAtOnce) {
    for (const char* go : {"go time 0 increment 0", "go time 0 movestogo 10", "go time -5 increment 0",
                           "go time 0 opptime 20 oppincrement 0 increment 0"}) {
        const auto t = clock_type::now();
        const Lines seen = until_answer({"position startpos moves h2e2 h9g7", go}, 5000);
        ASSERT_FALSE(seen.empty()) << go;
        EXPECT_TRUE(std::regex_match(seen.back(), kBestmove)) << go << ": " << seen.back();
        EXPECT_LT(ms_since(t), 300) << go;
    }
}

// The lines of a search less their clock readings, which differ from run to run.
Lines without_times(const Lines& lines) {
    static const std::regex times(R"( time \d+| nps \d+)");
    Lines out;
    for (const auto& l : lines) out.push_back(std::regex_replace(l, times, ""));
    return out;
}

TEST_F(Thinking, NewgamePlaysAsAFreshProcess) {
    const Lines search = {"position startpos moves h2e2 h9g7 h0g2", "go nodes 150000"};
    until_answer({"position startpos moves b2e2 b9c7", "go nodes 150000"});
    until_answer({"position fen 3k5/R8/9/9/9/9/9/9/9/R3K4 w - - 0 1", "go depth 5"});
    p.send_line("setoption newgame");
    const Lines after_newgame = without_times(until_answer(search));

    EngineProcess fresh;
    fresh.send_line("ucci");
    std::string line;
    ASSERT_TRUE(fresh.wait_for("ucciok", line));
    for (const auto& l : search) fresh.send_line(l);
    Lines first;
    ASSERT_TRUE(fresh.wait_for("bestmove", line, 20000, &first));
    ASSERT_GE(after_newgame.size(), 3u);
    EXPECT_EQ(after_newgame, without_times(first));
}

}  // namespace
