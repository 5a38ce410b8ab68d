#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <memory>

#include "ucci/command.h"
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
    bool milliseconds = false;

    void SetUp() override { refresh_switches(mirror, *e); }
    void set(const char* line) {
        command_t c{};
        ASSERT_EQ(parse_command(line, c), CMD_SETOPTION);
        apply_option(*e, c, mirror, book, milliseconds);
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
        EXPECT_FALSE(milliseconds) << line;
        EXPECT_EQ(e->info_output, 0) << line;
    }
}

TEST_F(Options, BookMillisecondsAndDebug) {
    set("setoption usebook false");
    EXPECT_FALSE(book.use_book);
    set("setoption usebook yes");
    EXPECT_TRUE(book.use_book);
    set("setoption usemillisec true");
    EXPECT_TRUE(milliseconds);
    set("setoption debug on");
    EXPECT_EQ(e->info_output, 1);
    set("setoption debug off");
    EXPECT_EQ(e->info_output, 0);
    EXPECT_EQ(switch_bytes(*e), kStart);
}

}  // namespace
