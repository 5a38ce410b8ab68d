#include "ucci/ucci_loop.h"

#include <cstdio>
#include <memory>

#include "board/engine.h"
#include "book/book_files.h"
#include "book/book_option.h"
#include "platform/program_dir.h"
#include "position/move_text.h"
#include "position/position_string.h"
#include "ucci/command.h"
#include "ucci/go.h"
#include "ucci/line_input.h"
#include "ucci/options.h"
#include "ucci/position_command.h"
#include "ucci/print.h"

namespace {

constexpr int VERSION_MAJOR = 3, VERSION_MINOR = 5, VERSION_PATCH = 5;

// State kept by the command loop between commands.
struct loop_state_t {
    command_t cmd;
    option_mirror_t mirror;
    timecontrol_t clock{};
    int32_t go_counter_copy = 0;
    bookoption_t book;
};

// Banned moves restrict the root of the searches that follow, until the next position.
void handle_banmoves(Count& e, const command_t& c) {
    e.banned_count = 0;
    for (int i = 0; i < c.move_count; ++i) {
        const int from = square_of_text(c.move_list[i][0], c.move_list[i][1]);
        const int to = square_of_text(c.move_list[i][2], c.move_list[i][3]);
        if (from != 0 && to != 0) e.banned_moves[e.banned_count++] = move_t{0, from, to, 0, 0};
    }
}

void handle_position(Count& e, loop_state_t& s) {
    bool new_game = false;
    if (!apply_position_command(e, s.cmd, new_game)) return;
    e.banned_count = 0;
    if (new_game) s.clock = timecontrol_t{};
    s.go_counter_copy = s.clock.increment_count;
}

void shutdown(Count& e, loop_state_t& s) {
    e.destroy();
    if (s.book.book_file_marker) {
        close_book_files();
        s.book.book_file_marker.reset();
    }
}

}  // namespace

int run_ucci() {
    Count& e = the_engine;
    auto state = std::make_unique<loop_state_t>();
    loop_state_t& s = *state;

    s.book.book_file_marker = std::make_unique<int>(open_default_book(platform::program_directory()));

    if (!e.initialise(32) && !e.initialise(32)) {
        print_line("AI initializing failed...");
        return 1;
    }
    e.book_option = &s.book;
    setup_position(e, nullptr, RED);
    setup_position(e, START_POSITION_STRING, RED);
    refresh_switches(s.mirror, e);

    char banner[64];
    std::snprintf(banner, sizeof(banner), "Tavox ucci %d.%d.%d by lumid", VERSION_MAJOR, VERSION_MINOR, VERSION_PATCH);
    print_line(banner);

    LineInput& input = process_input();
    input.init(0);
    if (!wait_for_ucci(input)) {
        print_line("bye");
        return 0;
    }
    print_line("id name Tavox 3.5.5");
    print_line("id copyright 2026 lumid");
    print_line("id author lumid");
    print_line("id user unknown");
    announce_options();
    print_line("ucciok");

    // A GUI shows the thinking: an info line after every completed iteration.
    e.info_output = 1;
    go_context_t go_ctx{s.clock, s.go_counter_copy, s.mirror};
    for (;;) {
        switch (read_command(input, s.cmd)) {
            case CMD_ISREADY: print_line("readyok"); break;
            case CMD_SETOPTION: apply_option(e, s.cmd, go_ctx, s.book); break;
            case CMD_POSITION: handle_position(e, s); break;
            case CMD_BANMOVES: handle_banmoves(e, s.cmd); break;
            case CMD_GO: handle_go(e, s.cmd, go_ctx); break;
            case CMD_QUIT:
                shutdown(e, s);
                print_line("bye");
                return 0;
            default: break;  // stop, ponderhit and unknown lines: nothing
        }
    }
}
