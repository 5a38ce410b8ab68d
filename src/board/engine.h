// The engine object: one CountEx with static lifetime owns every piece of board,
// search, evaluation and hash-book state in fixed arrays. Operations are free
// functions taking the object (see the headers of each subsystem).
#pragma once
#include <cstdint>
#include <cstdio>

#include "board/move.h"
#include "board/history_journal.h"
#include "board/line_occupancy.h"
#include "board/square_pair_table.h"

struct tt_entry_t;      // search/tt.h
struct bookoption_t;    // book/book_option.h

constexpr int MAX_PLY_STACK = 512;  // move, key, check and repetition stacks
constexpr int MAX_HEIGHT = 64;      // per-height arrays
constexpr int MOVE_BUFFER_SIZE = 8191;
constexpr int PV_ROW = 65;          // records per principal-variation row
constexpr int PV_TABLE_SIZE = 4096;
constexpr int DEPTH_LINES = 54;
constexpr int BOOK_CANDIDATES = 128;

// Node and event counts are 64-bit: a long analysis passes 2^31 nodes.
using search_count_t = int64_t;

struct AIOutput {
    search_count_t full;
    int32_t fh_total;  // halved before it outgrows 65536
    int32_t fh_first;
    search_count_t quiet;
    search_count_t mate;
    search_count_t verify;
    search_count_t check;
    search_count_t recap;
    search_count_t single;
    search_count_t hashhit;
    search_count_t end;
    int32_t max_ply;
    int32_t root_move_total;
    int32_t root_move_index;
    int32_t iteration_depth;
    int32_t start_clock;
    int32_t book_miss_count;
    move_t best_line[64];
    move_t depth_lines[DEPTH_LINES][64];
};

struct AIInput {
    int32_t time_limit;   // milliseconds
    int32_t depth_limit;  // plies; the search raises values below 4 to 4
    uint8_t abort_request;
};

// Fifteen on/off switches of one byte each, and a spare byte that keeps the
// record at 16 bytes. The numbers are the switches' byte numbers, by which
// they are known (switch byte 4: the check extension).
struct AIOption {
    uint8_t lazy;                  // 0
    uint8_t time_extension;        // 1
    uint8_t mate_threat_extension; // 2
    uint8_t single_reply_extension;// 3
    uint8_t check_extension;       // 4
    uint8_t recapture_extension;   // 5
    uint8_t endgame_capture_extension; // 6
    uint8_t null_move;             // 7
    uint8_t futi;                  // 8
    uint8_t nullex;                // 9
    uint8_t delta;                 // 10
    uint8_t tt_probe_switch;       // 11
    uint8_t checkqs;               // 12
    uint8_t hist;                  // 13
    uint8_t killer_bonus;          // 14
    uint8_t reserved_switch;       // 15
};
static_assert(sizeof(AIOption) == 16);

// A root move as the book probe saw it, with the counts of the book record
// after it; occurrences 0: no record was accepted (the tallies are then left
// from an earlier probe).
struct book_candidate_t {
    move_t move;
    int32_t occurrences;
    int32_t tally_a;
    int32_t tally_b;
};
static_assert(sizeof(book_candidate_t) == 8 * sizeof(int32_t), "a candidate is eight 32-bit words");

// The hash book: 85 buckets of four 12-byte entries kept in memory and in "hashbook.bin".
struct hash_book_t {
    uint8_t* image;
    FILE* file;
    int32_t bucket_count;
};

// The sums make_move changes by table lookups, as they stood before the move
// made at that ply: unmake_move copies them back instead of looking up again.
struct ply_sums_t {
    uint32_t zobrist_key;
    uint32_t zobrist_lock;
    int32_t pst_score;
};

struct boardinfo_t {
    int32_t piece_square[1024];
    int32_t board[256];
    line_occupancy lines;  // kept with board
    int32_t side_to_move;
    int32_t base_square_value[1024][256];
    int32_t piece_type[1024];
    int32_t piece_order[1024];
    int32_t piece_class[15];
    int32_t tt_size;
    tt_entry_t* tt_tables[2];
    uint64_t tt_index_magic;  // 2^64 / tt_size rounded up: the index without a division
    uint32_t zobrist_key;
    uint32_t zobrist_lock;
    int32_t reserved_words[2];
    uint32_t zobrist_key_table[15][256];
    uint32_t zobrist_lock_table[15][256];
    uint16_t tt_generation;
    uint16_t tt_epoch;  // counts the table clears; entries of other epochs read as empty
    hash_book_t hash_book;
    move_t killers[MAX_HEIGHT][3];
    square_pair_table history;
    square_pair_tallies history_cuts;
    history_journal history_kept;
    int32_t piece_square_value[1024][256];
    // The capture bonus of the evaluation, read from piece_square_value when that
    // is filled: [attacking side][board value & 63][square] (eval/eval_tables.h).
    int8_t capture_bonus_by_code[2][64][256];
    int32_t type_count[15];
    int32_t red_count;
    int32_t black_count;
    int32_t pst_score;
    move_t move_buffer[MOVE_BUFFER_SIZE];
    move_t* move_end;
    move_t* ply_moves[MAX_HEIGHT];
    move_t move_stack[MAX_PLY_STACK];
    uint32_t key_stack[MAX_PLY_STACK];
    ply_sums_t sums_before[MAX_PLY_STACK];  // indexed like move_stack
    int32_t check_stack[MAX_PLY_STACK];
    int32_t repetition_stack[MAX_PLY_STACK];
    move_t pv_table[PV_TABLE_SIZE];
    int32_t height_check[MAX_HEIGHT];
    int32_t pv_length[MAX_HEIGHT];
    int32_t ply;
    int32_t poll_countdown;
    int32_t eval_phase_class;
    int32_t previous_score;
    int32_t best_changes;
    uint8_t stop_flag;
    int32_t ready_state;  // 0 not initialised, 1 ready, 2 busy
    int32_t time_factor;
    bookoption_t* book_option;
    int32_t book_candidate_count;
    book_candidate_t book_candidates[BOOK_CANDIDATES];
};

// Limits and requests of the front end beyond AIInput's: a node
// limit for "go nodes", a hard time cap that keeps a clock search inside the
// time left on the clock, pondering, and the root moves banned by "banmoves".
struct search_control_t {
    int64_t node_limit;      // 0: none
    int32_t hard_time_limit; // milliseconds since start_clock; 0: none
    uint8_t pondering;       // a ponder search: no time limit until ponderhit
    uint8_t ponderhit;       // "ponderhit" arrived during the current search
    uint8_t infinite;        // "go infinite": no limit, the answer waits for stop or quit
    uint8_t quit_requested;  // "quit" arrived during a search: leave once its best move is out
    uint8_t info_output;     // print an info line after each completed iteration
    uint8_t debug_output;    // "debug on": the search statistics as well
    int32_t search_clock;    // when the search began; start_clock moves on at ponderhit
    int32_t banned_count;
    move_t banned_moves[256];

    // Neither time nor the budget ends this search, only stop, quit or its limits.
    bool untimed() const { return pondering || infinite; }
};

class Count : public AIOutput, public AIInput, public AIOption, public boardinfo_t, public search_control_t {
public:
    Count();
    Count(const Count&) = delete;
    Count& operator=(const Count&) = delete;

    // Slot 0: build tables, allocate the transposition tables, load the data
    // files. 1 on success, 0 on failure (and on a second call).
    virtual int initialise(int hash_megabytes);
    // Slot 1: free the tables, save and close the hash book. Safe to repeat.
    virtual int destroy();
    virtual ~Count();
};

class CountEx : public Count {
public:
    CountEx();
};

// The one engine object of the process.
extern CountEx the_engine;

inline bool is_banned_move(const search_control_t& c, const move_t& m) {
    for (int i = 0; i < c.banned_count; ++i)
        if (same_move(c.banned_moves[i], m)) return true;
    return false;
}

inline int piece_side(int code) { return (code & RED_BIT) ? RED : BLACK; }
