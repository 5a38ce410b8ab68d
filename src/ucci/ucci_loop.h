// Process entry for the UCCI protocol: start-up, handshake, command loop, shutdown.
#pragma once
#include <cstdint>

#include "board/engine.h"
#include "book/book_option.h"
#include "ucci/command.h"
#include "ucci/go.h"
#include "ucci/options.h"
#include "ucci/position_command.h"

// State kept by the command loop between commands.
struct loop_state_t {
    command_t cmd;
    option_mirror_t mirror;
    timecontrol_t clock{};
    bookoption_t book;
    position_origin_t origin;  // of the last position set up
    go_context_t go{clock, mirror};
};

// Acts on one command parsed into s.cmd, other than "quit". A "quit" read
// during a search is left in e.quit_requested for the caller to act on.
void serve_command(Count& e, loop_state_t& s, int code);

// Runs the engine on standard input and output; returns the process exit code.
int run_ucci();
