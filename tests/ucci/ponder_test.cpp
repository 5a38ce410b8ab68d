// Pondering and the options a GUI sets, over the real binary.
#include <gtest/gtest.h>

#include <chrono>
#include <regex>
#include <string>
#include <thread>
#include <vector>

#include "engine_process.h"

namespace {

using Lines = std::vector<std::string>;
using clock_type = std::chrono::steady_clock;
using std::chrono::milliseconds;

const std::regex kBestmove(R"(bestmove [a-i][0-9][a-i][0-9]( ponder [a-i][0-9][a-i][0-9])? time \d+ score -?\d+)");

class Ponder : public ::testing::Test {
protected:
    void SetUp() override {
        p.send_line("ucci");
        std::string line;
        ASSERT_TRUE(p.wait_for("ucciok", line));
        p.skip_info_lines();
    }
    // Nothing arrives on stdout for `ms`.
    bool silent_for(int ms) {
        std::string line;
        return !p.read_line(line, ms);
    }
    long ms_since(clock_type::time_point t) {
        return std::chrono::duration_cast<milliseconds>(clock_type::now() - t).count();
    }
    EngineProcess p;
};

TEST_F(Ponder, NoBestmoveBeforeStopWhichAnswersAtOnce) {
    p.send_line("position startpos moves h2e2");
    p.send_line("go ponder time 60 increment 0");
    EXPECT_TRUE(silent_for(800));
    const auto t = clock_type::now();
    p.send_line("stop");
    std::string line;
    ASSERT_TRUE(p.read_line(line, 2000));
    EXPECT_TRUE(std::regex_match(line, kBestmove)) << line;
    EXPECT_LT(ms_since(t), 300);
}

TEST_F(Ponder, PonderhitSwitchesToTheBudget) {
    p.send_line("position startpos moves h2e2");
    // 3 seconds left: the budget is a few hundred milliseconds.
    p.send_line("go ponder time 3 increment 0");
    EXPECT_TRUE(silent_for(1500));  // far longer than the budget: pondering has no limit
    const auto t = clock_type::now();
    p.send_line("ponderhit");
    std::string line;
    ASSERT_TRUE(p.read_line(line, 5000));
    EXPECT_TRUE(std::regex_match(line, kBestmove)) << line;
    EXPECT_LT(ms_since(t), 2000);
}

TEST_F(Ponder, AnEarlyResultWaitsForTheDecision) {
    // Mate in one is found at once; the answer still waits for ponderhit.
    p.send_line("position fen 3k5/R8/9/9/9/9/9/9/9/R3K4 w - - 0 1");
    p.send_line("go ponder depth 5");
    EXPECT_TRUE(silent_for(500));
    p.send_line("isready");
    std::string line;
    ASSERT_TRUE(p.read_line(line, 1000));
    EXPECT_EQ(line, "readyok");
    p.send_line("ponderhit draw");
    ASSERT_TRUE(p.read_line(line, 1000));
    EXPECT_EQ(line.substr(0, 13), "bestmove a0d0");
}

TEST_F(Ponder, PonderhitWhileIdleIsIgnored) {
    p.send_line("ponderhit");
    p.send_line("isready");
    std::string line;
    ASSERT_TRUE(p.read_line(line, 1000));
    EXPECT_EQ(line, "readyok");
}

TEST_F(Ponder, QuitWhilePonderingAnswersAndLeaves) {
    p.send_line("position startpos");
    p.send_line("go ponder time 60 increment 1");
    EXPECT_TRUE(silent_for(300));
    p.send_line("quit");
    const Lines rest = p.read_all(5000);
    ASSERT_EQ(rest.size(), 2u);
    EXPECT_TRUE(std::regex_match(rest[0], kBestmove));
    EXPECT_EQ(rest[1], "bye");
}

TEST_F(Ponder, MillisecondsOption) {
    p.send_line("setoption usemillisec on");
    p.send_line("position startpos");
    const auto t = clock_type::now();
    p.send_line("go time 600 increment 0");  // 600 ms left: a short think
    std::string line;
    ASSERT_TRUE(p.read_line(line, 5000));
    EXPECT_TRUE(std::regex_match(line, kBestmove));
    EXPECT_LT(ms_since(t), 700);
}

TEST_F(Ponder, HashsizeKeepsTheEngineWorking) {
    for (const char* size : {"setoption hashsize 16", "setoption hashsize 0", "setoption hashsize 1024",
                             "setoption hashsize 64"}) {
        p.send_line(size);
        p.send_line("position startpos");
        p.send_line("go depth 4");
        std::string line;
        ASSERT_TRUE(p.read_line(line, 20000)) << size;
        EXPECT_TRUE(std::regex_match(line, kBestmove)) << size << ": " << line;
    }
}

}  // namespace
