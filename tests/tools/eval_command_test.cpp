// `tavox eval [FEN]` over the real binary.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine_process.h"
#include "eval/eval_board.h"

namespace {

TEST(EvalCommand, StartPositionByDefault) {
    const EngineRun r = run_engine("", {"eval"});
    EXPECT_EQ(r.exit_code, 0);
    ASSERT_FALSE(r.lines.empty());
    EXPECT_EQ(r.lines.front(), "phase_class 0");
    EXPECT_EQ(r.lines.back(), "total 0");
}

TEST(EvalCommand, FenInSeveralWordsAndTheSideToMove) {
    struct Row {
        std::vector<std::string> args;
        std::string fen;
    } rows[] = {
        {{"eval", "r1bakab1r/9/1cn3nc1/p1p1p1p1p/9/2P6/P3P1P1P/1CN1C1N2/9/R1BAKAB1R", "b", "-", "-", "0", "1"},
         "r1bakab1r/9/1cn3nc1/p1p1p1p1p/9/2P6/P3P1P1P/1CN1C1N2/9/R1BAKAB1R b"},
        {{"eval", "3k5/9/9/9/4r4/9/9/1R5C1/9/4K4", "w"}, "3k5/9/9/9/4r4/9/9/1R5C1/9/4K4 w"},
    };
    for (const Row& row : rows) {
        EvalBoard b;
        ASSERT_TRUE(b.set_fen(row.fen));
        const int expected = b.eval(b.engine().side_to_move);
        const EngineRun r = run_engine("", row.args);
        EXPECT_EQ(r.exit_code, 0) << row.fen;
        ASSERT_FALSE(r.lines.empty());
        EXPECT_EQ(r.lines.back(), "total " + std::to_string(expected)) << row.fen;
        EXPECT_TRUE(r.err.empty()) << r.err;
    }
}

TEST(EvalCommand, RefusedFen) {
    const EngineRun r = run_engine("", {"eval", "rnbakabnr/9/1c5c1/p1p1p1p1p/9/9/P1P1P1P1P/1C5C1/9/RNBAKABN w"});
    EXPECT_EQ(r.exit_code, 2);
    EXPECT_TRUE(r.lines.empty());
    EXPECT_NE(r.err.find("eval:"), std::string::npos) << r.err;
}

}  // namespace
