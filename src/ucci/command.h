// UCCI command codes, the parsed command record and the parser.
#pragma once
#include <cstddef>
#include <cstdint>

#include "ucci/line_input.h"

enum command_code : int {
    CMD_NONE = 0,
    CMD_ISREADY = 2,
    CMD_STOP = 4,
    CMD_SETOPTION = 5,
    CMD_POSITION = 6,
    CMD_BANMOVES = 7,
    CMD_GO = 8,
    CMD_QUIT = 9,
    CMD_PONDERHIT = 10,  // "ponderhit", optionally followed by " draw"
};

enum option_code : int {
    OPT_NONE = 0,
    OPT_USEMILLISEC = 1,
    OPT_BATCH = 2,
    OPT_DEBUG = 3,
    OPT_USEBOOK = 4,
    OPT_BOOKFILES = 5,
    OPT_EGTBPATHS = 6,
    OPT_HASHSIZE = 7,
    OPT_THREADS = 8,
    OPT_DRAWMOVES = 9,
    OPT_REPETITION = 10,
    OPT_PRUNING = 11,
    OPT_KNOWLEDGE = 12,
    OPT_SELECTIVITY = 13,
    OPT_STYLE = 14,
    OPT_LOADBOOK = 15,
    OPT_CHECKQS = 16,
    OPT_LAZY = 17,
    OPT_NULLEX = 18,
    OPT_FUTI = 19,
    OPT_DELTA = 20,
    OPT_HIST = 21,
    OPT_PONDER = 22,   // the GUI ponders: timed moves may take a larger share
    OPT_NEWGAME = 23,  // button: forget everything learnt in the last game
};

// GO_MOVE_TIME: "movetime N", alone or after "time", a fixed time for this move.
// GO_INFINITE: "infinite" or "depth infinite", a search that only stop or quit ends.
enum go_mode_code : int {
    GO_DEPTH = 0,
    GO_NODES = 1,
    GO_MOVES_TO_GO = 2,
    GO_INCREMENT = 3,
    GO_MOVE_TIME = 4,
    GO_INFINITE = 5,
};

// The text fields of a command; longer values are refused, never cut.
constexpr int TEXT_FIELD_SIZE = 1024;

struct command_t {
    // setoption
    int32_t option;
    int32_t option_value;
    char option_text[TEXT_FIELD_SIZE];
    // position (fen, moves) and banmoves (moves)
    char fen[TEXT_FIELD_SIZE];
    int32_t move_count;  // blank-separated words of the move list, whatever they hold
    const char* moves;   // the move list within the parsed line (valid while the line is), or null
    // go
    int32_t go_mode;
    bool ponder;
    int32_t go_limit;
    int32_t go_extra;
};

// Reads a decimal number at the cursor, clamping to `max` after every digit.
int32_t parse_number(const char*& cursor, int32_t max);

// Steps over blanks to the next word from `cursor` on: its start and length; false at the end.
bool next_word(const char*& cursor, const char*& word, size_t& length);

// Parses one line into `cmd` and returns its command code. A line the parser
// refuses for a reason worth knowing (an overlong field, text after a named
// position) gets a message on stderr.
int parse_command(const char* line, command_t& cmd);

// Waits (100 ms idle polls) for the first line; true only if it is exactly "ucci".
// The end of input counts as any other line.
bool wait_for_ucci(LineInput& input);

// Waits for the next line (a held one first) and parses it. The end of input
// reads as "quit". The parsed move list stays valid until the next call.
int read_command(LineInput& input, command_t& cmd);
