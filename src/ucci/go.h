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
    option_mirror_t& mirror;
    bool milliseconds = false;  // "usemillisec": clock fields in milliseconds
    bool ponder = false;        // "ponder": the GUI ponders, see ponder_share
};

// With pondering on, the moves on the clock take a quarter more than the
// budget: after a ponderhit, part of the thinking was done on the opponent's
// time, so the clock does not pay for all of it. The hard limit still holds.
int32_t ponder_share(int32_t budget);

// Clock budgets in milliseconds; each counts its go in the clock record.
int32_t moves_to_go_budget(timecontrol_t& clock, int64_t remaining_ms, int32_t moves_to_go);
int32_t increment_budget(timecontrol_t& clock, int64_t remaining_ms, int64_t increment_ms);
// How long a clock search may run at most: the time left less a safety margin
// of a tenth of it, at least 100 ms.
int32_t clock_safety_limit(int64_t remaining_ms);

// The move to play: from the book, else from a search. Texts are internal move
// texts (empty when there is none); the score is from the side to move's view.
void think(Count& e, char* best_text, char* ponder_text, int& score);

// Search limits of a go command.
void set_go_limits(Count& e, const command_t& cmd, go_context_t& ctx);

// Answers one go command with a bestmove line (or "nobestmove").
void handle_go(Count& e, const command_t& cmd, go_context_t& ctx);
