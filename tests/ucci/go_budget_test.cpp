#include <gtest/gtest.h>

#include <memory>

#include "board/engine.h"
#include "search/search.h"
#include "ucci/command.h"
#include "ucci/go.h"

namespace {

TEST(GoBudget, MovesToGo) {
    struct Case {
        int count_before, seconds, moves_to_go, budget;
    } cases[] = {
        {0, 300, 40, 22500},                        // k 1, f 5: (7500 + 37500) / 2
        {0, 9000, 40, (180000 + 900000) / 2},       // capped at two hours
        {0, 300, 0, (300000 + 30 * 300000 / 40) / 2},   // 0 moves to go reads as 1: f = 30
        {49, 300, 10, (30000 + 70 * 300000 / 40) / 2},  // k 50, f = 50 - 10 + 30
    };
    for (const auto& c : cases) {
        timecontrol_t clock{0, c.count_before, 0};
        EXPECT_EQ(moves_to_go_budget(clock, c.seconds * 1000LL, c.moves_to_go), c.budget) << c.seconds << " " << c.moves_to_go;
        EXPECT_EQ(clock.moves_to_go_count, c.count_before + 1);
    }
}

TEST(GoBudget, Increment) {
    struct Case {
        int count_before, seconds, increment, budget;
    } cases[] = {
        {0, 300, 5, 8593},   // a 7500, b 9687
        {0, 20, 0, 406},     // a 500, b 312
        {60, 20, 0, 3500},   // n 61: a 4000, b 2000
        {0, 5, 10, 5101},    // a 125, b 10078
        {80, 20, 0, (2000 + 3 * 6666) / 4},  // n 81: a = T / 3
        {100, 20, 1, 4000 + 1000},           // n 101: T / 5 + I
        {0, 99999, 0, (7200000 / 40 + 7200000 / 64) / 2},  // capped at two hours
    };
    for (const auto& c : cases) {
        timecontrol_t clock{0, 0, c.count_before};
        EXPECT_EQ(increment_budget(clock, c.seconds * 1000LL, c.increment * 1000LL), c.budget) << c.count_before << " " << c.seconds;
        EXPECT_EQ(clock.increment_count, c.count_before + 1);
    }
}

TEST(GoBudget, VeryLongGamesDoNotOverflow) {
    timecontrol_t clock{0, 5000, 0};
    EXPECT_GT(moves_to_go_budget(clock, 7200000, 1), 0);
}

// Counts and clock fields at their extremes: the sanitizer build aborts on any
// signed overflow, and every budget stays within 0..INT32_MAX.
TEST(GoBudget, ExtremeCountsAndClocksStayInRange) {
    struct Case {
        int32_t count_before;
        int64_t remaining_ms, extra;
    } cases[] = {
        {INT32_MAX, INT64_C(100000000000), INT32_MAX},
        {INT32_MAX - 1, 0, 1},
        {0, INT64_C(100000000000), INT32_MAX},
        {79, INT64_C(7200000), INT64_C(2147483647000)},
        {200, INT64_C(7200000), INT64_C(2147483647000)},
    };
    for (const auto& c : cases) {
        timecontrol_t a{0, c.count_before, 0};
        const int32_t mtg = moves_to_go_budget(a, c.remaining_ms, static_cast<int32_t>(c.extra > INT32_MAX ? INT32_MAX : c.extra));
        EXPECT_GE(mtg, 0) << c.count_before;
        EXPECT_GE(a.moves_to_go_count, c.count_before);
        timecontrol_t b{0, 0, c.count_before};
        const int32_t inc = increment_budget(b, c.remaining_ms, c.extra);
        EXPECT_GE(inc, 0) << c.count_before;
        EXPECT_GE(b.increment_count, c.count_before);
    }
}

TEST(GoBudget, SafetyLimitKeepsAMargin) {
    EXPECT_EQ(clock_safety_limit(300000), 270000);
    EXPECT_EQ(clock_safety_limit(500), 400);
    EXPECT_EQ(clock_safety_limit(50), 1);
    EXPECT_EQ(clock_safety_limit(0), 1);
}

}  // namespace

namespace {

struct GoLimits : ::testing::Test {
    std::unique_ptr<CountEx> e = std::make_unique<CountEx>();
    timecontrol_t clock{};
    option_mirror_t mirror;
    go_context_t ctx{clock, mirror};

    void go(const char* line) {
        command_t cmd{};
        EXPECT_EQ(parse_command(line, cmd), CMD_GO);
        set_go_limits(*e, cmd, ctx);
    }
};

TEST_F(GoLimits, ModesSetTimeAndDepth) {
    go("go depth 5");
    EXPECT_EQ(e->time_limit, 3600000);
    EXPECT_EQ(e->depth_limit, 5);
    EXPECT_EQ(e->hard_time_limit, 0);
    go("go nodes 5000");
    EXPECT_EQ(e->node_limit, 5000);
    go("go time 300 movestogo 40");
    EXPECT_EQ(e->time_limit, 22500);
    EXPECT_EQ(e->depth_limit, 30);
    EXPECT_EQ(e->node_limit, 0);
    EXPECT_EQ(e->hard_time_limit, 270000);
    go("go time 1 movestogo 1");
    EXPECT_EQ(e->hard_time_limit, 900);  // the budget may exceed the clock; the cap may not
    go("go time 0 opptime 0 movetime 4");
    EXPECT_EQ(e->time_limit, 4000);
    EXPECT_EQ(e->hard_time_limit, 3600);
    ctx.milliseconds = true;
    go("go time 300000 movestogo 40");
    EXPECT_EQ(e->time_limit, 22500);
    go("go time 300000 increment 5000");
    EXPECT_EQ(e->time_limit, 8593);
}

TEST_F(GoLimits, MoveTimeAloneAndInfinite) {
    struct Case {
        const char* line;
        bool milliseconds;
        int time_limit, depth_limit, hard_limit, infinite;
    } cases[] = {
        {"go movetime 2", false, 2000, 30, 1800, 0},
        {"go movetime 2000", true, 2000, 30, 1800, 0},
        {"go infinite", false, 3600000, MAX_ITERATION_DEPTH, 0, 1},
        {"go depth infinite", false, 3600000, MAX_ITERATION_DEPTH, 0, 1},
        {"go depth 7", false, 3600000, 7, 0, 0},  // a later go clears the infinite mark
    };
    for (const auto& c : cases) {
        ctx.milliseconds = c.milliseconds;
        go(c.line);
        EXPECT_EQ(e->time_limit, c.time_limit) << c.line;
        EXPECT_EQ(e->depth_limit, c.depth_limit) << c.line;
        EXPECT_EQ(e->hard_time_limit, c.hard_limit) << c.line;
        EXPECT_EQ(e->infinite, c.infinite) << c.line;
    }
}

TEST_F(GoLimits, PonderingGivesClockMovesAQuarterMore) {
    ctx.ponder = true;
    go("go time 300 movestogo 40");
    EXPECT_EQ(clock.budget, 22500);  // the designed budget, as the low-time rule reads it
    EXPECT_EQ(e->time_limit, 22500 + 5625);
    EXPECT_EQ(e->hard_time_limit, 270000);
    go("go time 300 increment 5");
    EXPECT_EQ(e->time_limit, ponder_share(clock.budget));
    // Fixed times and depths are not clock budgets.
    go("go movetime 2");
    EXPECT_EQ(e->time_limit, 2000);
    go("go depth 5");
    EXPECT_EQ(e->time_limit, 3600000);
    EXPECT_EQ(ponder_share(INT32_MAX), INT32_MAX);
}

TEST_F(GoLimits, HugeClockFieldsAreClampedAtTheEnd) {
    for (const bool ms : {false, true}) {
        ctx.milliseconds = ms;
        for (const char* line : {"go time 99999999999999999999 movetime 2147483647", "go time 2147483647 movestogo 1",
                                 "go time 99999999999999999999 increment 99999999999", "go time 0 movetime 0"}) {
            go(line);
            EXPECT_GE(e->time_limit, 0) << line;
            EXPECT_GE(e->hard_time_limit, 1) << line;
        }
    }
    ctx.milliseconds = false;
    go("go time 99999999999999999999 movetime 2147483647");
    EXPECT_EQ(e->time_limit, INT32_MAX);
}

// No nodes at all: the least search there is, as for depth 0, not one without end.
TEST_F(GoLimits, NodesZeroIsTheLeastSearch) {
    go("go nodes 0");
    EXPECT_EQ(e->node_limit, 0);
    EXPECT_EQ(e->depth_limit, 0);
    EXPECT_EQ(e->time_limit, 3600000);
}

TEST_F(GoLimits, LowTimeRuleClearsTimeExtensionForGood) {
    refresh_switches(mirror, *e);
    go("go time 300 increment 5");
    EXPECT_EQ(e->time_extension, 1);
    go("go time 5 increment 10");
    EXPECT_EQ(e->time_extension, 0);
    EXPECT_FALSE(mirror.time_extension);
    mirror.hist = false;
    refresh_switches(mirror, *e);
    EXPECT_EQ(e->time_extension, 0);
    EXPECT_EQ(e->hist, 0);
}

}  // namespace
