// Building the opening book from game records: every position reached after
// ply 1..N of the games is counted with the results of those games, and the
// positions seen in enough games are written as "sg.hash" and "sg.data".
#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "board/engine.h"
#include "book/book_key.h"
#include "book/notation.h"
#include "book/pgn_reader.h"

constexpr int DEFAULT_BOOK_MAX_PLY = 40;
constexpr int MAX_BOOK_PLY = 255;  // the record's ply is one byte
// A position seen in one game only is never played by the book's rules, so by
// default such records are not written.
constexpr int DEFAULT_BOOK_MIN_GAMES = 2;

struct book_build_stats_t {
    long games_read = 0;
    long games_used = 0;           // replayed without a fault up to the ply limit
    long games_cut[4] = {};        // by move_reading: used up to a bad move
    long skipped_other_start = 0;  // a FEN tag naming another position
    long skipped_no_moves = 0;
    long games_without_result = 0;
    long positions = 0;            // (position, ply) pairs counted
    long distinct = 0;             // different positions among them
    long records = 0;              // written
    long index_bytes = 0, data_bytes = 0;
};

// One record as written: the counts of one position at one ply.
struct book_record_t {
    uint8_t key[BOOK_KEY_BYTES];
    uint8_t ply;
    uint32_t occurrences, tally_a, tally_b;
};

class BookBuilder {
public:
    BookBuilder(int max_ply, int min_games);

    // Counts the positions of one game.
    void add_game(const pgn_game_t& g);
    // The records to write: per position the ply seen in most games (the
    // engine finds only one record per position), kept when seen in at least
    // min_games games; in bucket order. Consumes the counted positions.
    std::vector<book_record_t> records();
    // Writes the two files into `dir` under temporary names, then renames them.
    // False (with `error`) when nothing could be written; no file is left behind.
    bool write(const std::string& dir, const std::vector<book_record_t>& recs, std::string& error);

    book_build_stats_t stats;

private:
    struct seen_t {
        uint8_t key[BOOK_KEY_BYTES];
        uint8_t ply;
        uint8_t outcome;  // for the side that moved into the position
    };
    int max_ply_, min_games_;
    std::unique_ptr<CountEx> engine_;
    std::vector<seen_t> seen_;
};

// The file images of a book: the index and the chained records.
void book_images(const std::vector<book_record_t>& recs, std::vector<uint8_t>& index, std::vector<uint8_t>& data);
