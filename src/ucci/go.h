// Go handling: search limits from the go arguments, the clock budget and the reply.
#pragma once
#include <cstdint>

#include "board/engine.h"
#include "ucci/command.h"
#include "ucci/options.h"

struct timecontrol_t {
    int32_t budget;
    int32_t moves_to_go_count;
    int32_t increment_count;
};

// The state of the command loop that go handling reads and writes.
struct go_context_t {
    timecontrol_t& clock;
    int32_t& go_counter_copy;
    option_mirror_t& mirror;
};

// Answers one go command with a bestmove line (or "nobestmove").
void handle_go(Count& e, const command_t& cmd, go_context_t& ctx);
