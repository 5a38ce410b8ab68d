// `tavox perft DEPTH [FEN]` over the real binary.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "engine_process.h"

namespace {

uint64_t count_of(const std::string& line) { return std::stoull(line.substr(line.find(' ') + 1)); }

TEST(PerftCommand, StartPositionByDefault) {
    const EngineRun r = run_engine("", {"perft", "3"});
    EXPECT_EQ(r.exit_code, 0);
    ASSERT_EQ(r.lines.size(), 45u);
    EXPECT_EQ(r.lines[0], "a0a1 2271");
    EXPECT_EQ(r.lines[8], "b2b9 1525");
    EXPECT_EQ(r.lines[23], "h2e2 1564");
    uint64_t sum = 0;
    for (size_t i = 0; i + 1 < r.lines.size(); ++i) sum += count_of(r.lines[i]);
    EXPECT_EQ(sum, 79666u);
    EXPECT_EQ(r.lines.back().rfind("nodes 79666 time ", 0), 0u) << r.lines.back();
    EXPECT_NE(r.lines.back().find(" nps "), std::string::npos);
}

TEST(PerftCommand, FenInSeveralWords) {
    const EngineRun r = run_engine("", {"perft", "2", "4k4/9/9/4c4/9/9/9/9/9/4K3R", "b", "-", "-", "0", "1"});
    EXPECT_EQ(r.exit_code, 0);
    ASSERT_EQ(r.lines.size(), 11u);
    EXPECT_EQ(r.lines.back().rfind("nodes 147 time ", 0), 0u) << r.lines.back();

    // The initial array with black to move counts black's moves.
    const EngineRun b = run_engine("", {"perft", "1", "rnbakabnr/9/1c5c1/p1p1p1p1p/9/9/P1P1P1P1P/1C5C1/9/RNBAKABNR", "b"});
    ASSERT_EQ(b.lines.size(), 45u);
    EXPECT_EQ(b.lines[0], "a9a8 1");
}

TEST(PerftCommand, BadDepthOrFenIsRefused) {
    const std::vector<std::vector<std::string>> bad = {
        {"perft"}, {"perft", "0"}, {"perft", "-1"}, {"perft", "21"}, {"perft", "3x"}, {"perft", ""},
        {"perft", "99999999999999999999"}, {"perft", "2", "9/9/9", "w"},
        {"perft", "2", "rnbakabnr/9/1c5c1/p1p1p1p1p/9/9/P1P1P1P1P/1C5C1/9/RNBAKABNRR", "w"},
    };
    for (const auto& args : bad) {
        const EngineRun r = run_engine("", args);
        const std::string what = args.size() > 1 ? args[1] : "(none)";
        EXPECT_EQ(r.exit_code, 2) << what;
        EXPECT_TRUE(r.lines.empty()) << what;
        EXPECT_FALSE(r.err.empty()) << what;
    }
}

}  // namespace
