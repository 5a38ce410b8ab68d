#include "search/search_info.h"

#include <cinttypes>
#include <cstdio>

#include "platform/clock.h"
#include "position/move_text.h"
#include "ucci/print.h"

namespace {

constexpr int INFO_LINE_SIZE = 2048;

int64_t nodes_searched(const Count& e) { return e.full + e.quiet; }

}  // namespace

void format_iteration_line(const Count& e, char* line, size_t size) {
    const int64_t elapsed = platform::clock_ms() - e.search_clock;
    const int64_t nodes = nodes_searched(e);
    const int64_t nps = elapsed > 0 ? nodes * 1000 / elapsed : nodes * 1000;
    int n = std::snprintf(line, size, "info depth %d score %d time %" PRId64 " nodes %" PRId64 " nps %" PRId64 " pv",
                          e.iteration_depth, e.best_line[0].score, elapsed, nodes, nps);
    for (int i = 0; i < 64 && e.best_line[i].from != 0 && n + 6 < static_cast<int>(size); ++i) {
        char internal[MOVE_TEXT_SIZE], ucci[5];
        move_to_text(e.best_line[i], internal);
        if (internal[0] == '\0') break;
        internal_to_ucci(internal, ucci);
        n += std::snprintf(line + n, size - static_cast<size_t>(n), " %s", ucci);
    }
}

void report_iteration(Count& e) {
    if (!e.info_output) return;
    char line[INFO_LINE_SIZE];
    format_iteration_line(e, line, sizeof(line));
    print_line(line);
}

void form_search_report(const Count& e, search_report_t& r) {
    int64_t elapsed = platform::clock_ms() - e.search_clock;
    if (elapsed <= 0) elapsed = 1;
    const int fh_divisor = e.fh_total > 0 ? e.fh_total : 1;
    std::snprintf(r.summary, sizeof(r.summary),
                  "depth(%d) moves(%d/%d) score(%d) time(%" PRId64 "ms) nps(%" PRId64 "k) fh(%u%%)", e.iteration_depth,
                  e.root_move_index, e.root_move_total, e.best_line[0].score, elapsed, nodes_searched(e) / elapsed,
                  static_cast<unsigned>(100 * e.fh_first / fh_divisor));
    std::snprintf(r.counters, sizeof(r.counters),
                  "check(%" PRId64 ") verify(%" PRId64 ") mate(%" PRId64 ") recap(%" PRId64 ") single(%" PRId64
                  ") end(%" PRId64 ") hashhit(%" PRId64 ") full(%" PRId64 ") quiet(%" PRId64 ")",
                  e.check, e.verify, e.mate, e.recap, e.single, e.end, e.hashhit, e.full, e.quiet);
}
