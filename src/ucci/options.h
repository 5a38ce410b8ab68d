// Engine options: the command loop's mirror of the seven switches, the
// refresh that writes all fifteen switch bytes of the engine from it, and the
// options announced to the GUI.
#pragma once
#include "board/engine.h"
#include "book/book_option.h"
#include "ucci/command.h"

struct option_mirror_t {
    bool lazy = true;
    bool time_extension = true;
    bool futi = true;
    bool nullex = false;
    bool delta = true;
    bool checkqs = false;
    bool hist = true;
};

void refresh_switches(const option_mirror_t& mirror, AIOption& switches);

// The low-time rule: time extension off for the rest of the process.
void apply_low_time_rule(option_mirror_t& mirror, AIOption& switches);

struct go_context_t;  // ucci/go.h

// The option lines of the handshake, one for each option that acts.
void announce_options();

// Applies a parsed setoption. Prints nothing; options without effect are consumed silently.
void apply_option(Count& e, const command_t& c, go_context_t& ctx, bookoption_t& book);
