#include "ucci/ucci_loop.h"

#include <cstdio>
#include <memory>
#include <utility>

#include "board/engine.h"
#include "book/book_files.h"
#include "book/initialise.h"
#include "book/book_option.h"
#include "platform/program_dir.h"
#include "platform/signals.h"
#include "position/move_text.h"
#include "position/position_string.h"
#include "ucci/command.h"
#include "ucci/go.h"
#include "ucci/held_lines.h"
#include "ucci/line_input.h"
#include "ucci/options.h"
#include "ucci/position_command.h"
#include "ucci/print.h"

namespace {

constexpr char VERSION[] = "3.5.5";

// Banned moves restrict the root of the searches that follow, until the next position.
// A word that is not a move ends the list there, as in a position command.
void handle_banmoves(Count& e, const command_t& c) {
    constexpr int capacity = static_cast<int>(sizeof(e.banned_moves) / sizeof(e.banned_moves[0]));
    e.banned_count = 0;
    const char* cursor = c.moves;
    const char* word;
    size_t length;
    while (e.banned_count < capacity && next_word(cursor, word, length)) {
        if (!is_ucci_move_text(word, length)) {
            std::fprintf(stderr, "banmoves: word %d is not a move; it and the rest of the list are ignored\n",
                         e.banned_count + 1);
            break;
        }
        e.banned_moves[e.banned_count++] = move_t{0, square_of_text(word[0], word[1]), square_of_text(word[2], word[3]), 0, 0};
    }
}

// The clock record spans one game: a position that does not go on with the
// previous game starts a new record.
void handle_position(Count& e, loop_state_t& s) {
    position_origin_t origin;
    if (!apply_position_command(e, s.cmd, origin)) return;
    e.banned_count = 0;
    if (origin.new_game || !continues_game(s.origin, origin)) s.clock = timecontrol_t{};
    s.origin = std::move(origin);
}

void shutdown(Count& e, loop_state_t& s) {
    e.destroy();
    if (s.book.book_file_marker) {
        close_book_files();
        s.book.book_file_marker.reset();
    }
}

}  // namespace

void serve_command(Count& e, loop_state_t& s, int code) {
    switch (code) {
        case CMD_ISREADY: print_line("readyok"); break;
        case CMD_SETOPTION: apply_option(e, s.cmd, s.go, s.book); break;
        case CMD_POSITION: handle_position(e, s); break;
        case CMD_BANMOVES: handle_banmoves(e, s.cmd); break;
        case CMD_GO: handle_go(e, s.cmd, s.go); break;
        default: break;  // stop, ponderhit and unknown lines: nothing
    }
}

int run_ucci() {
    Count& e = the_engine;
    platform::ignore_broken_pipe();
    auto state = std::make_unique<loop_state_t>();
    loop_state_t& s = *state;

    s.book.book_file_marker = std::make_unique<int>(open_default_book(platform::program_directory()));

    if (!e.initialise(DEFAULT_HASH_MEGABYTES) && !e.initialise(DEFAULT_HASH_MEGABYTES)) {
        print_line("AI initializing failed...");
        return 1;
    }
    e.book_option = &s.book;
    setup_position(e, nullptr, RED);
    setup_position(e, START_POSITION_STRING, RED);
    refresh_switches(s.mirror, e);

    char banner[64];
    std::snprintf(banner, sizeof(banner), "Tavox ucci %s by lumid", VERSION);
    print_line(banner);

    LineInput& input = process_input();
    input.init(0);
    if (!wait_for_ucci(input)) {
        print_line("bye");
        return 0;
    }
    char name[64];
    std::snprintf(name, sizeof(name), "id name Tavox %s", VERSION);
    print_line(name);
    print_line("id copyright 2026 lumid");
    print_line("id author lumid");
    print_line("id user unknown");
    announce_options();
    print_line("ucciok");

    // A GUI shows the thinking: an info line after every completed iteration.
    e.info_output = 1;
    for (;;) {
        if (output_lost()) {
            // The GUI is gone: keep what was learnt, and end without a word.
            shutdown(e, s);
            return 0;
        }
        const int code = read_command(input, s.cmd);
        if (code != CMD_QUIT) serve_command(e, s, code);
        if (code == CMD_QUIT || e.quit_requested) {
            // Once "quit" is read, nothing sent after it, or held before it, is served.
            drop_held_lines();
            shutdown(e, s);
            print_line("bye");
            return 0;
        }
    }
}
