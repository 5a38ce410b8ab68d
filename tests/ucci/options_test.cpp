#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <memory>

#include "search/tt.h"
#include "ucci/command.h"
#include "ucci/go.h"
#include "ucci/options.h"

namespace {

using Bytes = std::array<uint8_t, 15>;

Bytes switch_bytes(const Count& e) {
    Bytes b;
    std::memcpy(b.data(), static_cast<const AIOption*>(&e), 15);
    return b;
}

struct Options : ::testing::Test {
    std::unique_ptr<CountEx> e = std::make_unique<CountEx>();
    option_mirror_t mirror;
    bookoption_t book;
    timecontrol_t clock{};
    go_context_t ctx{clock, mirror};

    void SetUp() override { refresh_switches(mirror, *e); }
    void TearDown() override { tt_free(*e); }
    void set(const char* line) {
        command_t c{};
        ASSERT_EQ(parse_command(line, c), CMD_SETOPTION);
        apply_option(*e, c, ctx, book);
    }
};

constexpr Bytes kStart = {1, 1, 1, 1, 1, 1, 1, 1, 1, 0, 1, 1, 0, 1, 1};

TEST_F(Options, StartValues) { EXPECT_EQ(switch_bytes(*e), kStart); }

TEST_F(Options, EachSwitchWritesItsByteOnly) {
    struct Case {
        const char* line;
        int byte;
        uint8_t value;
    } cases[] = {
        {"setoption lazy off", 0, 0},   {"setoption futi off", 8, 0},    {"setoption nullex on", 9, 1},
        {"setoption delta false", 10, 0}, {"setoption checkqs on", 12, 1}, {"setoption hist off", 13, 0},
    };
    for (const auto& c : cases) {
        SetUp();
        mirror = option_mirror_t{};
        refresh_switches(mirror, *e);
        set(c.line);
        Bytes expected = kStart;
        expected[c.byte] = c.value;
        EXPECT_EQ(switch_bytes(*e), expected) << c.line;
    }
}

TEST_F(Options, LowTimeRuleStaysThroughLaterRefreshes) {
    apply_low_time_rule(mirror, *e);
    set("setoption hist off");
    Bytes expected = kStart;
    expected[1] = 0;
    expected[13] = 0;
    EXPECT_EQ(switch_bytes(*e), expected);
}

TEST_F(Options, OptionsWithoutEffectChangeNothing) {
    for (const char* line : {"setoption batch on", "setoption threads 4", "setoption drawmoves 100",
                             "setoption repetition asianrule", "setoption pruning none", "setoption knowledge small",
                             "setoption selectivity large", "setoption style risky", "setoption loadbook",
                             "setoption bookfiles x", "setoption egtbpaths y", "setoption nonsense 3"}) {
        set(line);
        EXPECT_EQ(switch_bytes(*e), kStart) << line;
        EXPECT_TRUE(book.use_book) << line;
        EXPECT_FALSE(ctx.milliseconds) << line;
        EXPECT_FALSE(ctx.ponder) << line;
        EXPECT_EQ(e->debug_output, 0) << line;
    }
}

TEST_F(Options, BookMillisecondsPonderAndDebug) {
    struct Case {
        const char* line;
        bool use_book, milliseconds, ponder, debug;
    } cases[] = {
        {"setoption usebook false", false, false, false, false},
        {"setoption usebook yes", true, false, false, false},
        {"setoption usemillisec true", true, true, false, false},
        {"setoption ponder 1", true, true, true, false},  // the form a GUI adapter sends
        {"setoption ponder 0", true, true, false, false},
        {"setoption ponder on", true, true, true, false},
        {"setoption debug on", true, true, true, true},
        {"setoption debug off", true, true, true, false},
        {"setoption usemillisec false", true, false, true, false},
    };
    for (const auto& c : cases) {
        set(c.line);
        EXPECT_EQ(book.use_book, c.use_book) << c.line;
        EXPECT_EQ(ctx.milliseconds, c.milliseconds) << c.line;
        EXPECT_EQ(ctx.ponder, c.ponder) << c.line;
        EXPECT_EQ(e->debug_output, c.debug) << c.line;
    }
    EXPECT_EQ(switch_bytes(*e), kStart);
}

TEST_F(Options, HashsizeResizesWithinItsRange) {
    struct Case {
        const char* line;
        int megabytes;
    } cases[] = {
        {"setoption hashsize 64", 64}, {"setoption hashsize 16", 16},   {"setoption hashsize 0", 32},
        {"setoption hashsize 1", 16},  {"setoption hashsize 9999", 512}, {"setoption hashsize 32", 32},
    };
    for (const auto& c : cases) {
        set(c.line);
        EXPECT_EQ(e->tt_size, tt_entries_for_megabytes(c.megabytes)) << c.line;
    }
    EXPECT_NE(tt_entries_for_megabytes(16), tt_entries_for_megabytes(512));
}

TEST_F(Options, NewgameForgetsTheLastGame) {
    ASSERT_TRUE(tt_resize(*e, 16));
    e->tt_tables[0][5].lock = 1234;
    e->tt_tables[1][e->tt_size].lock = 99;
    e->tt_generation = 77;
    e->killers[3][1] = move_t{1, 52, 68, 0, 0};
    e->history(52, 68) = 500;
    e->history_cuts(52, 68).hits = 9;
    clock = timecontrol_t{4000, 3, 250};
    apply_low_time_rule(mirror, *e);

    set("setoption newgame");
    EXPECT_EQ(tt_entry_as_read(*e, e->tt_tables[0][5]).lock, 0u);
    EXPECT_EQ(tt_entry_as_read(*e, e->tt_tables[1][e->tt_size]).lock, 0u);
    EXPECT_EQ(e->tt_generation, 0);
    EXPECT_EQ(e->killers[3][1].from, 0);
    EXPECT_EQ(e->history(52, 68), 0);
    EXPECT_EQ(e->history_cuts(52, 68).hits, 1);
    EXPECT_EQ(clock.increment_count, 0);
    EXPECT_EQ(switch_bytes(*e), kStart);  // time extension back on
}

}  // namespace
