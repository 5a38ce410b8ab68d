#include "ucci/command.h"

#include <cstdio>
#include <cstring>

#include "ucci/held_lines.h"

namespace {

bool starts_with(const char* text, const char* prefix) { return std::strncmp(text, prefix, std::strlen(prefix)) == 0; }

// Skips `prefix` if the text begins with it.
bool consume(const char*& text, const char* prefix) {
    if (!starts_with(text, prefix)) return false;
    text += std::strlen(prefix);
    return true;
}

// False when the text does not fit the field.
bool copy_text(char* out, const char* text, size_t length) {
    if (length > TEXT_FIELD_SIZE - 1) return false;
    std::memcpy(out, text, length);
    out[length] = '\0';
    return true;
}

// `word` is the whole word at p: followed by a blank or the end.
bool word_is(const char* p, const char* word) {
    const size_t n = std::strlen(word);
    return std::strncmp(p, word, n) == 0 && (p[n] == ' ' || p[n] == '\0');
}

int switch_a(const char* v) { return starts_with(v, "on") || starts_with(v, "true") ? 1 : 0; }
int switch_b(const char* v) { return starts_with(v, "off") || starts_with(v, "false") ? 0 : 1; }
// As switch A, and "1" too: a GUI adapter sends 1 and 0 for the ponder switch.
int switch_c(const char* v) { return switch_a(v) || starts_with(v, "1") ? 1 : 0; }

// First keyword that is a prefix of the value gives its index; none gives `fallback`.
int keyword_value(const char* v, const char* const* words, int count, int fallback) {
    for (int i = 0; i < count; ++i)
        if (starts_with(v, words[i])) return i;
    return fallback;
}

int level_a(const char* v) {
    static const char* const words[] = {"none", "small", "medium"};
    return keyword_value(v, words, 3, 3);
}

enum value_form { SWITCH_A, SWITCH_B, SWITCH_C, TEXT, NUMBER, REPETITION, LEVEL_A, SELECTIVITY, STYLE, NO_VALUE };

struct option_row {
    const char* name;
    int code;
    value_form form;
    int32_t max;
};

constexpr option_row option_rows[] = {
    {"batch ", OPT_BATCH, SWITCH_A, 0},
    {"debug ", OPT_DEBUG, SWITCH_A, 0},
    {"usemillisec ", OPT_USEMILLISEC, SWITCH_A, 0},
    {"usebook ", OPT_USEBOOK, SWITCH_B, 0},
    {"bookfiles ", OPT_BOOKFILES, TEXT, 0},
    {"egtbpaths ", OPT_EGTBPATHS, TEXT, 0},
    {"hashsize ", OPT_HASHSIZE, NUMBER, 1024},
    {"threads ", OPT_THREADS, NUMBER, 32},
    {"drawmoves ", OPT_DRAWMOVES, NUMBER, 200},
    {"repetition ", OPT_REPETITION, REPETITION, 0},
    {"pruning ", OPT_PRUNING, LEVEL_A, 0},
    {"knowledge ", OPT_KNOWLEDGE, LEVEL_A, 0},
    {"selectivity ", OPT_SELECTIVITY, SELECTIVITY, 0},
    {"style ", OPT_STYLE, STYLE, 0},
    {"loadbook", OPT_LOADBOOK, NO_VALUE, 0},
    {"checkqs ", OPT_CHECKQS, SWITCH_B, 0},
    {"lazy ", OPT_LAZY, SWITCH_B, 0},
    {"nullex ", OPT_NULLEX, SWITCH_B, 0},
    {"futi ", OPT_FUTI, SWITCH_B, 0},
    {"delta ", OPT_DELTA, SWITCH_B, 0},
    {"hist ", OPT_HIST, SWITCH_B, 0},
    {"ponder ", OPT_PONDER, SWITCH_C, 0},
    {"newgame", OPT_NEWGAME, NO_VALUE, 0},
};

void parse_option(const char* text, command_t& cmd) {
    cmd.option = OPT_NONE;
    for (const option_row& row : option_rows) {
        if (!starts_with(text, row.name)) continue;
        const char* v = text + std::strlen(row.name);
        cmd.option = row.code;
        switch (row.form) {
            case SWITCH_A: cmd.option_value = switch_a(v); break;
            case SWITCH_B: cmd.option_value = switch_b(v); break;
            case SWITCH_C: cmd.option_value = switch_c(v); break;
            case TEXT:
                if (!copy_text(cmd.option_text, v, std::strlen(v))) {
                    std::fprintf(stderr, "setoption ignored: the value is longer than %d bytes\n", TEXT_FIELD_SIZE - 1);
                    cmd.option = OPT_NONE;
                }
                break;
            case NUMBER: cmd.option_value = parse_number(v, row.max); break;
            case REPETITION: {
                static const char* const words[] = {"alwaysdraw", "checkban", "asianrule"};
                cmd.option_value = keyword_value(v, words, 3, 3);
                break;
            }
            case LEVEL_A: cmd.option_value = level_a(v); break;
            case SELECTIVITY: {
                static const char* const words[] = {"none", "small", "medium", "large"};
                cmd.option_value = keyword_value(v, words, 4, 0);
                break;
            }
            case STYLE: {
                static const char* const words[] = {"solid", "normal", "risky"};
                cmd.option_value = keyword_value(v, words, 3, 1);
                break;
            }
            case NO_VALUE: break;
        }
        return;
    }
}

// The move list is kept as text; its words are read when it is replayed.
void parse_move_list(const char* text, command_t& cmd) {
    cmd.moves = text;
    cmd.move_count = 0;
    const char* word;
    size_t length;
    while (next_word(text, word, length)) ++cmd.move_count;
}

struct named_position {
    const char* keyword;
    const char* fen;
};

constexpr named_position named_positions[] = {
    {"startpos", "rnbakabnr/9/1c5c1/p1p1p1p1p/9/9/P1P1P1P1P/1C5C1/9/RNBAKABNR w - - 0 1"},
    {"midgamepos", "2bakab1r/6r2/1cn4c1/p1p1p3p/9/2P3p2/PC2P1n1P/2N1B1NC1/R4R3/3AKAB2 w - - 0 1"},
    {"checkmatepos", "4kar2/4a2rn/4bc3/RN1c5/2bC5/9/4p4/9/4p4/3p1K3 w - - 0 1"},
    {"zugzwangpos", "3k5/4PP3/4r4/3P5/9/9/9/9/9/5K3 w - - 0 1"},
    {"endgamepos", "4k4/4a4/4P4/9/9/9/9/4B4/9/4K4 w - - 0 1"},
};

int refuse_position(const char* why) {
    std::fprintf(stderr, "position ignored: %s\n", why);
    return CMD_NONE;
}

// A named position or "fen" and its fields, then nothing or the word "moves"
// and the move list.
int parse_position(const char* text, command_t& cmd) {
    const char* rest = nullptr;
    for (const named_position& p : named_positions) {
        if (word_is(text, p.keyword)) {
            copy_text(cmd.fen, p.fen, std::strlen(p.fen));
            rest = text + std::strlen(p.keyword);
            break;
        }
    }
    if (rest == nullptr) {
        if (!starts_with(text, "fen ")) return refuse_position("no named position or FEN");
        // The FEN is every word up to "moves", so that a FEN without a side
        // field never reads "moves" as its side.
        const char* fen = text + 4;
        const char* fen_end = fen;
        const char* cursor = fen;
        const char* word;
        size_t length;
        rest = fen + std::strlen(fen);
        while (next_word(cursor, word, length)) {
            if (word_is(word, "moves")) {
                rest = word;
                break;
            }
            fen_end = word + length;
        }
        if (!copy_text(cmd.fen, fen, static_cast<size_t>(fen_end - fen)))
            return refuse_position("the FEN text is too long");
    }
    while (*rest == ' ') ++rest;
    cmd.moves = nullptr;
    cmd.move_count = 0;
    if (*rest == '\0') return CMD_POSITION;
    if (!word_is(rest, "moves")) return refuse_position("unexpected text after the position");
    parse_move_list(rest + 5, cmd);
    return CMD_POSITION;
}

// Skips one blank-separated word and the blanks after it.
const char* skip_word(const char* p) {
    while (*p != '\0' && *p != ' ') ++p;
    while (*p == ' ') ++p;
    return p;
}

// After "time N": the moves-to-go and increment fields are found by keyword
// wherever they stand, skipping the opponent's clock fields that clients put
// in between.
void parse_clock_fields(const char* p, command_t& cmd) {
    bool have_moves_to_go = false, have_increment = false, have_move_time = false;
    int32_t moves_to_go = 1, increment = 0, move_time = 0;
    while (*p == ' ') ++p;
    while (*p != '\0') {
        if (word_is(p, "movestogo") && !have_moves_to_go) {
            const char* n = skip_word(p);
            moves_to_go = parse_number(n, 100000);
            have_moves_to_go = true;
            p = skip_word(p);
        } else if (word_is(p, "increment") && !have_increment) {
            const char* n = skip_word(p);
            increment = parse_number(n, 600000);
            have_increment = true;
            p = skip_word(p);
        } else if (word_is(p, "movetime") && !have_move_time) {
            const char* n = skip_word(p);
            move_time = parse_number(n, 100000000);
            have_move_time = true;
            p = skip_word(p);
        } else if (word_is(p, "opptime") || word_is(p, "oppmovestogo") || word_is(p, "oppincrement")) {
            p = skip_word(p);
        }
        p = skip_word(p);
    }
    if (have_move_time) {
        cmd.go_mode = GO_MOVE_TIME;
        cmd.go_extra = move_time;
    } else if (have_moves_to_go || !have_increment) {
        cmd.go_mode = GO_MOVES_TO_GO;
        cmd.go_extra = moves_to_go < 1 ? 1 : moves_to_go;
    } else {
        cmd.go_mode = GO_INCREMENT;
        cmd.go_extra = increment;
    }
}

void parse_go(const char* text, command_t& cmd) {
    cmd.ponder = false;
    // A tournament manager puts "draw" where "ponder" may stand (a draw offer).
    for (;;) {
        if (consume(text, "ponder ")) cmd.ponder = true;
        else if (!consume(text, "draw ")) break;
    }
    if (consume(text, "depth ")) {
        cmd.go_mode = word_is(text, "infinite") ? GO_INFINITE : GO_DEPTH;
        cmd.go_limit = parse_number(text, 31);
    } else if (word_is(text, "infinite")) {
        cmd.go_mode = GO_INFINITE;
    } else if (consume(text, "movetime ")) {
        cmd.go_mode = GO_MOVE_TIME;
        cmd.go_extra = parse_number(text, 100000000);
    } else if (consume(text, "nodes ")) {
        cmd.go_mode = GO_NODES;
        cmd.go_limit = parse_number(text, 1000000000);
    } else if (consume(text, "time ")) {
        cmd.go_limit = parse_number(text, 100000000);
        parse_clock_fields(text, cmd);
    } else {
        cmd.go_mode = GO_DEPTH;
        cmd.go_limit = 31;
    }
}

}  // namespace

bool next_word(const char*& cursor, const char*& word, size_t& length) {
    while (*cursor == ' ') ++cursor;
    if (*cursor == '\0') return false;
    word = cursor;
    while (*cursor != ' ' && *cursor != '\0') ++cursor;
    length = static_cast<size_t>(cursor - word);
    return true;
}

int32_t parse_number(const char*& cursor, int32_t max) {
    int32_t result = 0;
    while (*cursor >= '0' && *cursor <= '9') {
        const int64_t next = int64_t{result} * 10 + (*cursor - '0');  // no 32-bit overflow before the clamp
        ++cursor;
        result = next >= max ? max : static_cast<int32_t>(next);
    }
    return result;
}

int parse_command(const char* line, command_t& cmd) {
    if (std::strcmp(line, "isready") == 0) return CMD_ISREADY;
    if (starts_with(line, "setoption ")) {
        parse_option(line + 10, cmd);
        return CMD_SETOPTION;
    }
    if (starts_with(line, "position ")) return parse_position(line + 9, cmd);
    if (starts_with(line, "banmoves ")) {
        parse_move_list(line + 9, cmd);
        return CMD_BANMOVES;
    }
    if (starts_with(line, "go ")) {
        parse_go(line + 3, cmd);
        return CMD_GO;
    }
    if (std::strcmp(line, "stop") == 0) return CMD_STOP;
    if (std::strcmp(line, "quit") == 0) return CMD_QUIT;
    if (std::strcmp(line, "ponderhit") == 0 || std::strcmp(line, "ponderhit draw") == 0) return CMD_PONDERHIT;
    return CMD_NONE;
}

namespace {

// Polls for a line, waiting up to 100 ms after every empty poll; false at the end of input.
bool wait_line(LineInput& input, char* line) {
    while (!input.get_line(line)) {
        if (input.at_end()) return false;
        input.idle_wait();
    }
    return true;
}

// The line being handled; the parsed move list refers into it.
char current_line[LINE_BUFFER_SIZE];

}  // namespace

bool wait_for_ucci(LineInput& input) { return wait_line(input, current_line) && std::strcmp(current_line, "ucci") == 0; }

int read_command(LineInput& input, command_t& cmd) {
    if (!take_held_line(current_line) && !wait_line(input, current_line)) return CMD_QUIT;
    return parse_command(current_line, cmd);
}
