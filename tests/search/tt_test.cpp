// Transposition table: slots, replacement, mate scores, the node probe and the
// principal-variation write-back.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>

#include "board/make_move.h"
#include "position/position_string.h"
#include "search/tt.h"
#include "test_engine.h"

namespace {

constexpr int N = 419430;  // entries per table at 16 MB

bool is_empty(const tt_entry_t& t) {
    return t.lock == 0 && t.lower == -20000 && t.upper == 20000 && t.lower_depth == -1 && t.upper_depth == -1 &&
           t.move_from == 0 && t.move_to == 0 && t.move_depth == -1 && t.generation == 0 && t.mate_threat == 0;
}

class TranspositionTable : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(tt_resize(*e, 16));
        ASSERT_EQ(e->tt_size, N);
        at(100, 0xABCD);
    }
    void TearDown() override { tt_free(*e); }
    // Puts the "current position" at index `key` mod N with lock `lock`.
    void at(uint32_t key, uint32_t lock) {
        e->zobrist_key = key;
        e->zobrist_lock = lock;
    }
    void best_move(int height, int from, int to) {
        e->pv_table[height * PV_ROW].from = from;
        e->pv_table[height * PV_ROW].to = to;
    }
    tt_entry_t& slot(int side, uint32_t index) { return e->tt_tables[side][index]; }

    std::unique_ptr<CountEx> e = std::make_unique<CountEx>();
};

TEST_F(TranspositionTable, MateScoresAreStoredRelativeToTheNode) {
    // A mate found at height 5 (19999 - 6) is stored as 19998 and read at height 3 as 19995.
    best_move(5, 171, 168);
    tt_store_lower(*e, RED, 2, 19999 - 6, 5);
    tt_entry_t* t = tt_probe(*e, RED);
    ASSERT_NE(t, nullptr);
    EXPECT_EQ(t->lower, 19998);
    tt_probe_t r = tt_probe_node(*e, RED, 0, 100, 9, 3, 1);  // too shallow, but a mate bound cuts anyway
    EXPECT_TRUE(r.cutoff);
    EXPECT_EQ(r.score, 19995);

    // Being mated: an upper bound -19999 + 6 at height 5 is -19998 stored, -19995 read at height 3.
    at(200, 0x1234);
    tt_store_bounds(*e, BLACK, 2, -19993, -19000, 0, 5);
    EXPECT_EQ(tt_probe(*e, BLACK)->upper, -19998);
    r = tt_probe_node(*e, BLACK, -100, 0, 9, 3, -1);
    EXPECT_TRUE(r.cutoff);
    EXPECT_EQ(r.score, -19995);

    const struct {
        int score, height, stored;
    } plain[] = {{19900, 7, 19900}, {-19900, 7, -19900}, {150, 7, 150}, {19901, 7, 19908}, {-19901, 7, -19908}};
    for (const auto& c : plain) {
        EXPECT_EQ(tt_score_to_table(c.score, c.height), c.stored) << c.score;
        EXPECT_EQ(tt_score_from_table(c.stored, c.height), c.score) << c.score;
    }
}

TEST_F(TranspositionTable, SlotChoiceAndReplacement) {
    const uint32_t key = 5 * N + 77;  // index 77
    at(key, 1);
    tt_store_lower(*e, RED, 3, 10, 0);
    EXPECT_EQ(slot(RED, 78).lock, 1u) << "two empty slots: the second is taken";
    EXPECT_EQ(slot(RED, 77).lock, 0u);
    EXPECT_EQ(slot(BLACK, 78).lock, 0u) << "the other side's table is separate";

    at(key, 2);
    tt_store_lower(*e, RED, 3, 10, 0);
    EXPECT_EQ(slot(RED, 77).lock, 2u) << "the empty slot has the smaller key";

    // k = generation x 255 + move_depth: generation weighs more than depth.
    e->tt_generation = 2;
    slot(RED, 77).generation = 2;
    slot(RED, 77).move_depth = 3;     // 513
    slot(RED, 78).generation = 1;
    slot(RED, 78).move_depth = 100;   // 355
    at(key, 3);
    tt_store_bounds(*e, RED, 4, 5, 0, 10, 0);
    EXPECT_EQ(slot(RED, 78).lock, 3u);
    EXPECT_EQ(slot(RED, 78).generation, 2);
    EXPECT_EQ(slot(RED, 77).lock, 2u);

    // Both slots are found; a probe touches the generation.
    e->tt_generation = 9;
    at(key, 2);
    ASSERT_EQ(tt_probe(*e, RED), &slot(RED, 77));
    EXPECT_EQ(slot(RED, 77).generation, 9);
    at(key, 3);
    EXPECT_EQ(tt_probe(*e, RED), &slot(RED, 78));
    at(key, 4);
    EXPECT_EQ(tt_probe(*e, RED), nullptr);
}

TEST_F(TranspositionTable, LastIndexUsesTheExtraEntry) {
    at(N - 1, 5);
    tt_store_lower(*e, BLACK, 1, 0, 0);
    at(2 * N - 1, 6);
    tt_store_lower(*e, BLACK, 1, 0, 0);
    EXPECT_EQ(slot(BLACK, N).lock, 5u);
    EXPECT_EQ(slot(BLACK, N - 1).lock, 6u);
    at(N - 1, 5);
    EXPECT_EQ(tt_probe(*e, BLACK), &slot(BLACK, N));

    slot(RED, N).lock = 77;
    tt_clear(*e);
    EXPECT_TRUE(is_empty(tt_entry_as_read(*e, slot(RED, N)))) << "cleared with the others";
    EXPECT_TRUE(is_empty(tt_entry_as_read(*e, slot(BLACK, N))));
}

TEST_F(TranspositionTable, StoresKeepDeeperResults) {
    best_move(2, 60, 76);
    tt_store_lower(*e, RED, 5, 40, 2);
    best_move(2, 61, 77);
    tt_store_lower(*e, RED, 3, 90, 2);  // shallower: only touches
    tt_entry_t t = *tt_probe(*e, RED);
    EXPECT_EQ(t.lower, 40);
    EXPECT_EQ(t.lower_depth, 5);
    EXPECT_EQ(t.move_from, 60);
    EXPECT_EQ(t.upper_depth, -1) << "a cut-off leaves the upper bound empty";

    // End of node, best within the window: both bounds, and the move at once (depth 5 >= 5).
    tt_store_bounds(*e, RED, 5, 20, 10, 30, 2);
    t = *tt_probe(*e, RED);
    EXPECT_EQ(t.lower, 20);
    EXPECT_EQ(t.upper, 20);
    EXPECT_EQ(t.move_from, 61);

    // Failed low (best <= alpha, no move raised alpha): the upper bound and the empty move.
    best_move(2, 0, 0);
    tt_store_bounds(*e, RED, 6, -50, -50, 30, 2);
    t = *tt_probe(*e, RED);
    EXPECT_EQ(t.lower, 20);
    EXPECT_EQ(t.upper, -50);
    EXPECT_EQ(t.upper_depth, 6);
    EXPECT_EQ(t.move_from, 0);
    EXPECT_EQ(t.move_depth, 6);

    // Failed high: only the lower bound.
    tt_store_bounds(*e, RED, 7, 30, -50, 30, 2);
    t = *tt_probe(*e, RED);
    EXPECT_EQ(t.lower, 30);
    EXPECT_EQ(t.upper, -50);
}

TEST_F(TranspositionTable, NodeProbe) {
    struct Case {
        const char* what;
        int16_t lower, upper;
        int8_t lower_depth, upper_depth;
        int alpha, beta, depth, node_type;
        bool cutoff;
        int score;
    } cases[] = {
        {"lower >= beta", 50, 20000, 4, -1, 0, 40, 4, 1, true, 50},
        {"lower >= beta but too shallow", 50, 20000, 3, -1, 0, 40, 4, 1, false, 0},
        {"lower below beta", 30, 20000, 4, -1, 0, 40, 4, 1, false, 0},
        {"upper <= alpha", -20000, -10, -1, 4, 0, 40, 4, -1, true, -10},
        {"upper <= alpha but too shallow", -20000, -10, -1, 2, 0, 40, 4, -1, false, 0},
        {"mated upper cuts regardless of depth", -20000, -19950, -1, 0, 0, 40, 4, 1, true, -19950},
        {"equal bounds inside the window", 25, 25, 4, 4, 0, 40, 4, 1, true, 25},
        {"equal bounds, one too shallow", 25, 25, 4, 3, 0, 40, 4, 1, false, 0},
        {"principal-variation node: move only", 50, 20000, 9, -1, 0, 40, 4, 0, false, 0},
    };
    for (const auto& c : cases) {
        tt_clear(*e);
        best_move(0, 100, 116);
        tt_store_lower(*e, RED, 1, 0, 0);
        tt_entry_t& t = *tt_probe(*e, RED);
        t.lower = c.lower;
        t.upper = c.upper;
        t.lower_depth = c.lower_depth;
        t.upper_depth = c.upper_depth;
        e->hashhit = 0;
        const tt_probe_t r = tt_probe_node(*e, RED, c.alpha, c.beta, c.depth, 0, c.node_type);
        EXPECT_TRUE(r.found) << c.what;
        EXPECT_EQ(r.from, 100) << c.what;
        EXPECT_EQ(r.to, 116) << c.what;
        EXPECT_EQ(r.cutoff, c.cutoff) << c.what;
        if (c.cutoff) {
            EXPECT_EQ(r.score, c.score) << c.what;
        }
        EXPECT_EQ(e->hashhit, c.cutoff ? 1 : 0) << c.what;
    }
    at(100, 0x9999);
    const tt_probe_t miss = tt_probe_node(*e, RED, 0, 40, 4, 0, 1);
    EXPECT_FALSE(miss.found);
    EXPECT_EQ(miss.from, 0);
    EXPECT_FALSE(miss.cutoff);
}

TEST_F(TranspositionTable, MateThreatMark) {
    tt_mark_mate_threat(*e, RED);
    EXPECT_EQ(tt_probe(*e, RED), nullptr) << "no entry is made for the mark";
    tt_store_lower(*e, RED, 2, 0, 0);
    EXPECT_FALSE(tt_probe_node(*e, RED, 0, 1, 2, 0, 1).mate_threat);
    tt_mark_mate_threat(*e, RED);
    EXPECT_TRUE(tt_probe_node(*e, RED, 0, 1, 2, 0, 1).mate_threat);
    EXPECT_FALSE(tt_probe_node(*e, BLACK, 0, 1, 2, 0, 1).found);
}

TEST_F(TranspositionTable, PrincipalVariationWriteBack) {
    auto k = make_engine();
    setup_position(*k, START_POSITION_STRING, RED);
    ASSERT_TRUE(tt_resize(*k, 16));
    k->tt_generation = 4;
    // h2e2 (red cannon 171 -> 168), then h9g7 (black horse 59 -> 90).
    k->best_line[0] = {0, 171, 168, RED_BASE + CANNON_OFFSET + 1, EMPTY_SQUARE};
    k->best_line[1] = {0, 59, 90, BLACK_BASE + HORSE_OFFSET + 1, EMPTY_SQUARE};
    const uint32_t root_key = k->zobrist_key, root_lock = k->zobrist_lock;

    // The root already has an entry: it is only touched.
    k->pv_table[0] = {0, 165, 167, RED_BASE + CANNON_OFFSET, EMPTY_SQUARE};
    tt_store_lower(*k, RED, 3, 12, 0);
    k->tt_generation = 5;
    tt_write_pv(*k, RED);

    EXPECT_EQ(k->zobrist_key, root_key);
    EXPECT_EQ(k->zobrist_lock, root_lock);
    EXPECT_EQ(k->ply, 0);
    EXPECT_EQ(k->board[171], RED_BASE + CANNON_OFFSET + 1);
    EXPECT_EQ(k->board[168], EMPTY_SQUARE);
    tt_entry_t root = *tt_probe(*k, RED);
    EXPECT_EQ(root.generation, 5);
    EXPECT_EQ(root.move_from, 165);
    EXPECT_EQ(root.lower, 12);

    // The position after h2e2 gets a planted entry in the second slot, black's table.
    make_move(*k, k->best_line[0]);
    const uint32_t index = k->zobrist_key % static_cast<uint32_t>(N);
    const tt_entry_t planted = k->tt_tables[BLACK][index + 1];
    EXPECT_EQ(planted.lock, k->zobrist_lock);
    EXPECT_EQ(planted.move_from, 59);
    EXPECT_EQ(planted.move_to, 90);
    EXPECT_EQ(planted.move_depth, -1);
    EXPECT_EQ(planted.lower_depth, -1);
    EXPECT_EQ(planted.upper, 20000);
    EXPECT_EQ(planted.generation, 5);
    EXPECT_EQ(k->tt_tables[RED][index + 1].lock, 0u);
    unmake_move(*k, k->best_line[0]);

    // A line record that does not fit the board ends the walk without touching it.
    k->best_line[0] = {0, 171, 168, RED_BASE + ROOK_OFFSET, EMPTY_SQUARE};
    tt_clear(*k);
    tt_write_pv(*k, RED);
    EXPECT_EQ(tt_probe(*k, RED), nullptr);
    EXPECT_EQ(k->board[171], RED_BASE + CANNON_OFFSET + 1);
    tt_free(*k);
}

TEST(TranspositionTableAbsent, ProbesMissAndStoresAreDropped) {
    auto e = make_engine();
    e->best_line[0] = {0, 171, 168, RED_BASE + CANNON_OFFSET + 1, EMPTY_SQUARE};
    tt_store_lower(*e, RED, 2, 0, 0);
    tt_store_bounds(*e, RED, 2, 0, -1, 1, 0);
    tt_mark_mate_threat(*e, RED);
    tt_write_pv(*e, RED);
    EXPECT_EQ(tt_probe(*e, RED), nullptr);
    EXPECT_FALSE(tt_probe_node(*e, RED, 0, 1, 2, 0, 1).found);
}

TEST_F(TranspositionTable, ResizeGivesEmptyTables) {
    tt_store_lower(*e, RED, 2, 0, 0);
    ASSERT_TRUE(tt_resize(*e, 17));
    EXPECT_EQ(e->tt_size, tt_entries_for_megabytes(17));
    EXPECT_EQ(tt_probe(*e, RED), nullptr);
    EXPECT_TRUE(is_empty(e->tt_tables[BLACK][e->tt_size]));
}

// When the epochs wrap, the clear rewrites the tables, four entries at a time:
// sizes that leave every remainder, and tables filled with junk first, so that
// no entry is missed or overrun.
TEST(TranspositionTableClear, EveryEntryOfBothTablesIsEmpty) {
    auto e = std::make_unique<CountEx>();
    for (int megabytes : {16, 17, 18, 19}) {
        ASSERT_TRUE(tt_resize(*e, megabytes));
        const size_t n = static_cast<size_t>(e->tt_size) + 1;
        for (tt_entry_t* t : e->tt_tables) std::memset(static_cast<void*>(t), 0x5A, n * sizeof(tt_entry_t));
        e->tt_epoch = 0x5A5A;  // the junk reads as current
        tt_clear(*e);
        for (int side : {RED, BLACK}) {
            size_t dirty = 0;
            for (size_t i = 0; i < n; ++i) dirty += !is_empty(tt_entry_as_read(*e, e->tt_tables[side][i]));
            EXPECT_EQ(dirty, 0u) << megabytes << " MB, side " << side << " (new epoch)";
        }
        e->tt_epoch = 0xFFFF;
        tt_clear(*e);
        for (int side : {RED, BLACK}) {
            size_t dirty = 0;
            for (size_t i = 0; i < n; ++i) dirty += !is_empty(e->tt_tables[side][i]) || e->tt_tables[side][i].epoch != 0;
            EXPECT_EQ(dirty, 0u) << megabytes << " MB, side " << side << ", remainder " << n % 4 << " (rewritten)";
        }
    }
    tt_free(*e);
}

// Entries outdated by a clear must act exactly as rewritten empty ones. Two
// tables get the same random stores and probes over a few crowded slots,
// lock 0 among the locks; one is cleared by new epochs, the other rewritten.
TEST(TranspositionTableClear, OutdatedEntriesActAsEmptyOnes) {
    auto epochs = std::make_unique<CountEx>(), rewrites = std::make_unique<CountEx>();
    ASSERT_TRUE(tt_resize(*epochs, 16));
    ASSERT_TRUE(tt_resize(*rewrites, 16));
    constexpr uint32_t KEYS = 6, LOCKS = 3;
    uint32_t x = 12345;
    auto next = [&x](uint32_t n) {
        x ^= x << 13, x ^= x >> 17, x ^= x << 5;
        return x % n;
    };
    for (int round = 0; round < 40; ++round) {
        for (int step = 0; step < 300; ++step) {
            const uint32_t key = next(KEYS), lock = next(LOCKS);
            const int side = static_cast<int>(next(2)), op = static_cast<int>(next(4));
            const int depth = static_cast<int>(next(8)), score = static_cast<int>(next(400)) - 200;
            const int from = 51 + static_cast<int>(next(100)), to = 51 + static_cast<int>(next(100));
            tt_probe_t probes[2];
            int i = 0;
            for (CountEx* e : {epochs.get(), rewrites.get()}) {
                e->zobrist_key = key;
                e->zobrist_lock = lock;
                e->pv_table[0] = move_t{from, to, 0, 0, 0};
                probes[i] = {};
                switch (op) {
                    case 0: tt_store_lower(*e, side, depth, score, 0); break;
                    case 1: tt_store_bounds(*e, side, depth, score, -50, 50, 0); break;
                    case 2: tt_mark_mate_threat(*e, side); break;
                    default: probes[i] = tt_probe_node(*e, side, -50, 50, depth, 0, 1); break;
                }
                ++i;
            }
            ASSERT_EQ(probes[0].found, probes[1].found) << round << " " << step;
            ASSERT_EQ(probes[0].cutoff, probes[1].cutoff) << round << " " << step;
            ASSERT_EQ(probes[0].score, probes[1].score) << round << " " << step;
            ASSERT_EQ(probes[0].from * 256 + probes[0].to, probes[1].from * 256 + probes[1].to) << round << " " << step;
        }
        for (int side : {RED, BLACK}) {
            for (uint32_t k = 0; k <= KEYS; ++k) {
                tt_entry_t a = tt_entry_as_read(*epochs, epochs->tt_tables[side][k]);
                tt_entry_t b = tt_entry_as_read(*rewrites, rewrites->tt_tables[side][k]);
                a.epoch = b.epoch = 0;
                ASSERT_EQ(std::memcmp(&a, &b, sizeof a), 0) << "round " << round << ", slot " << k;
            }
        }
        tt_clear(*epochs);
        rewrites->tt_epoch = 0xFFFF;
        tt_clear(*rewrites);
        epochs->tt_generation = rewrites->tt_generation = static_cast<uint16_t>(round % 3);
    }
    tt_free(*epochs);
    tt_free(*rewrites);
}

// The index by multiplication must equal key mod n for every key and size.
TEST(TranspositionTableIndex, EqualsTheRemainder) {
    auto e = std::make_unique<Count>();
    uint64_t x = 0x9E3779B97F4A7C15u;
    for (int mb : {1, 2, 3, 7, 16, 32, 100, 255, 512}) {
        const int32_t n = mb < 16 ? mb : tt_entries_for_megabytes(mb);
        e->tt_size = n;
        e->tt_index_magic = tt_index_magic_for(n);
        for (uint32_t key : {0u, 1u, static_cast<uint32_t>(n - 1), static_cast<uint32_t>(n), 0x7FFFFFFFu, 0xFFFFFFFFu}) {
            e->zobrist_key = key;
            ASSERT_EQ(tt_index(*e), key % static_cast<uint32_t>(n)) << n << " " << key;
        }
        for (int i = 0; i < 100000; ++i) {
            x ^= x << 13, x ^= x >> 7, x ^= x << 17;
            e->zobrist_key = static_cast<uint32_t>(x);
            ASSERT_EQ(tt_index(*e), e->zobrist_key % static_cast<uint32_t>(n)) << n;
        }
    }
    e->tt_size = 0;
}

}  // namespace
