#include "ucci/go.h"

#include <cstdint>
#include <cstdio>

#include "board/move.h"
#include "book/book_probe.h"
#include "platform/clock.h"
#include "position/move_text.h"
#include "search/search.h"
#include "search/search_info.h"
#include "ucci/input_poll.h"
#include "ucci/print.h"

namespace {

// Clock budgets are worked out in 64 bits and brought into range only at the
// end, so that no clock field, however large, can overflow them.
int64_t capped_remaining_ms(int64_t remaining_ms) {
    return remaining_ms < 0 ? 0 : remaining_ms < 7200000 ? remaining_ms : 7200000;
}

int32_t clamp_to_int32(int64_t v) { return static_cast<int32_t>(v < 0 ? 0 : v > INT32_MAX ? INT32_MAX : v); }

// A ponder or infinite search that ended before the GUI decided waits for
// "ponderhit", "stop" or "quit".
void wait_for_decision(Count& e) {
    while (e.untimed() && !e.stop_flag) {
        poll_input(e);
        if (e.untimed() && !e.stop_flag) platform::sleep_ms(2);
    }
}

// "debug on": the statistics of the search before its answer.
void report_statistics(const Count& e) {
    search_report_t report;
    form_search_report(e, report);
    char line[sizeof(report.counters) + 16];
    std::snprintf(line, sizeof(line), "info string %s", report.summary);
    print_line(line);
    std::snprintf(line, sizeof(line), "info string %s", report.counters);
    print_line(line);
}

}  // namespace

int32_t moves_to_go_budget(timecontrol_t& clock, int64_t remaining_ms, int32_t moves_to_go) {
    const int64_t n = moves_to_go < 1 ? 1 : moves_to_go;
    const int64_t k = int64_t{clock.moves_to_go_count} + 1;
    clock.moves_to_go_count = clamp_to_int32(k);
    const int64_t t = capped_remaining_ms(remaining_ms);
    const int64_t f = k - n + 30 < 5 ? 5 : k - n + 30;
    return clamp_to_int32((t / n + f * t / 40) / 2);
}

int32_t increment_budget(timecontrol_t& clock, int64_t remaining_ms, int64_t increment_ms) {
    const int64_t inc = increment_ms < 0 ? 0 : increment_ms;
    const int64_t n = int64_t{clock.increment_count} + 1;
    clock.increment_count = clamp_to_int32(n);
    const int64_t t = capped_remaining_ms(remaining_ms);
    if (n <= 60) {
        const int64_t a = t / (70 - n < 40 ? 70 - n : 40);
        const int64_t b = t / (65 - n) + inc;
        return clamp_to_int32((a + b) / 2);
    }
    if (n <= 100) {
        const int64_t a = n <= 80 ? t / 5 : t / 3;
        const int64_t b = t / 10 + inc;
        const int64_t lo = a < b ? a : b, hi = a < b ? b : a;
        return clamp_to_int32((lo + 3 * hi) / 4);
    }
    return clamp_to_int32(t / 5 + inc);
}

int32_t ponder_share(int32_t budget) {
    const int64_t share = static_cast<int64_t>(budget) + budget / 4;
    return static_cast<int32_t>(share > INT32_MAX ? INT32_MAX : share);
}

int32_t clock_safety_limit(int64_t remaining_ms) {
    int64_t margin = remaining_ms / 10;
    if (margin < 100) margin = 100;
    int64_t limit = remaining_ms - margin;
    if (limit < 1) limit = 1;
    return clamp_to_int32(limit);
}

void think(Count& e, char* best_text, char* ponder_text, int& score) {
    best_text[0] = ponder_text[0] = '\0';
    move_t result{};
    if (book_probe(e, result) != 1) search_position(e, result);
    score = result.score;
    if (result.from == 0) return;
    move_to_text(result, best_text);
    if (e.best_line[1].from != 0) move_to_text(e.best_line[1], ponder_text);
}

void set_go_limits(Count& e, const command_t& cmd, go_context_t& ctx) {
    // Clock fields are seconds unless the GUI switched on milliseconds.
    const int64_t unit = ctx.milliseconds ? 1 : 1000;
    const int64_t remaining_ms = static_cast<int64_t>(cmd.go_limit) * unit;
    e.node_limit = 0;
    e.hard_time_limit = 0;
    e.infinite = 0;
    switch (cmd.go_mode) {
        case GO_DEPTH:
            e.time_limit = 3600000;
            e.depth_limit = cmd.go_limit;
            break;
        case GO_NODES:
            // No nodes at all asks for the least search there is, as depth 0 does.
            e.time_limit = 3600000;
            e.depth_limit = cmd.go_limit > 0 ? 30 : 0;
            e.node_limit = cmd.go_limit;
            break;
        case GO_MOVES_TO_GO:
            ctx.clock.budget = moves_to_go_budget(ctx.clock, remaining_ms, cmd.go_extra);
            e.time_limit = ctx.clock.budget;
            e.depth_limit = 30;
            e.hard_time_limit = clock_safety_limit(remaining_ms);
            break;
        case GO_INCREMENT:
            ctx.clock.budget = increment_budget(ctx.clock, remaining_ms, cmd.go_extra * unit);
            e.time_limit = ctx.clock.budget;
            e.depth_limit = 30;
            if (3LL * ctx.clock.budget >= remaining_ms) apply_low_time_rule(ctx.mirror, e);
            e.hard_time_limit = clock_safety_limit(remaining_ms);
            break;
        case GO_MOVE_TIME: {
            // A fixed time per move: no budget formula, no extension past it.
            const int64_t move_ms = static_cast<int64_t>(cmd.go_extra) * unit;
            e.time_limit = clamp_to_int32(move_ms);
            e.depth_limit = 30;
            e.hard_time_limit = clock_safety_limit(move_ms);
            break;
        }
        case GO_INFINITE:
            e.time_limit = 3600000;
            e.depth_limit = MAX_ITERATION_DEPTH;
            e.infinite = 1;
            break;
        default: break;
    }
    if (ctx.ponder && (cmd.go_mode == GO_MOVES_TO_GO || cmd.go_mode == GO_INCREMENT))
        e.time_limit = ponder_share(e.time_limit);
}

void handle_go(Count& e, const command_t& cmd, go_context_t& ctx) {
    // No limit on the length of a game: a legal move always gets searched.
    set_go_limits(e, cmd, ctx);
    const int32_t started = platform::clock_ms();
    char best[MOVE_TEXT_SIZE], ponder[MOVE_TEXT_SIZE];
    int score = 0;
    e.pondering = cmd.ponder;
    e.ponderhit = 0;
    e.stop_flag = 0;
    think(e, best, ponder, score);
    wait_for_decision(e);
    e.pondering = 0;
    e.infinite = 0;

    if (best[0] == '\0') {
        // Every search without a move gets an answer, so that the GUI never waits.
        print_line("nobestmove");
        return;
    }
    if (e.debug_output) report_statistics(e);
    char best_ucci[5], ponder_ucci[5], line[128];
    internal_to_ucci(best, best_ucci);
    const int elapsed = clamp_to_int32(platform::elapsed_ms(started));
    if (ponder[0] != '\0') {
        internal_to_ucci(ponder, ponder_ucci);
        std::snprintf(line, sizeof(line), "bestmove %s ponder %s time %d score %d", best_ucci, ponder_ucci, elapsed, score);
    } else {
        std::snprintf(line, sizeof(line), "bestmove %s time %d score %d", best_ucci, elapsed, score);
    }
    print_line(line);
}
