// Engine options: the command loop's mirror of the seven switches and the
// refresh that writes all fifteen switch bytes of the engine from it.
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

// Applies a parsed setoption. Prints nothing; options without effect are consumed silently.
void apply_option(Count& e, const command_t& c, option_mirror_t& mirror, bookoption_t& book, bool& milliseconds);
