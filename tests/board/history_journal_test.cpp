// The journal gives back the table as it was at its opening, however the
// table changed since: cell by cell, past the journal's capacity, or halved.
#include <gtest/gtest.h>

#include <memory>
#include <random>

#include "board/history_journal.h"

namespace {

struct Case {
    int changes;
    int halving_at;  // -1 for none
};

TEST(HistoryJournal, RewindShowsTheOpeningReplayRestores) {
    const Case cases[] = {{0, -1}, {1, -1}, {50, -1}, {history_journal::CAPACITY, -1},
                          {history_journal::CAPACITY + 1, -1}, {3000, -1}, {40, 0}, {40, 39}, {2000, 1500}};
    std::mt19937 rng(5);
    for (const Case& c : cases) {
        auto table = std::make_unique<square_pair_table>();
        auto journal = std::make_unique<history_journal>();
        journal_close(*journal);
        for (int32_t& v : table->cell) v = static_cast<int32_t>(rng() % 100);
        const auto opening = std::make_unique<square_pair_table>(*table);

        ASSERT_TRUE(journal_open(*journal));
        EXPECT_FALSE(journal_open(*journal));  // one opening at a time
        for (int i = 0; i < c.changes; ++i) {
            if (i == c.halving_at) {
                journal_note_all(*journal, *table);
                for (int32_t& v : table->cell) v /= 2;
            }
            // Few cells, so that most change more than once.
            const int cell = static_cast<int>(rng() % 64) * 97;
            journal_note(*journal, *table, cell);
            table->cell[cell] += 1;
        }
        const auto now = std::make_unique<square_pair_table>(*table);

        journal_rewind(*journal, *table);
        for (int i = 0; i < PLAYING_SQUARES * PLAYING_SQUARES; ++i)
            ASSERT_EQ(table->cell[i], opening->cell[i]) << c.changes << " changes, cell " << i;
        journal_replay(*journal, *table);
        for (int i = 0; i < PLAYING_SQUARES * PLAYING_SQUARES; ++i)
            ASSERT_EQ(table->cell[i], now->cell[i]) << c.changes << " changes, cell " << i;

        journal_close(*journal);
        EXPECT_TRUE(journal_open(*journal));
    }
}

}  // namespace
