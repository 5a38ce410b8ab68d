#include "search/search_info.h"

#include <cstdio>
#include <cstring>

#include "platform/clock.h"
#include "position/move_text.h"
#include "ucci/print.h"

void report_iteration(Count& e) {
    if (!e.info_output) return;
    const int elapsed = platform::clock_ms() - e.start_clock;
    const long long nodes = static_cast<long long>(e.full) + e.quiet;
    const long long nps = elapsed > 0 ? nodes * 1000 / elapsed : nodes * 1000;
    char line[2048];
    int n = std::snprintf(line, sizeof(line), "info depth %d score %d time %d nodes %lld nps %lld pv", e.iteration_depth,
                          e.best_line[0].score, elapsed, nodes, nps);
    for (int i = 0; i < 64 && e.best_line[i].from != 0 && n < static_cast<int>(sizeof(line)) - 8; ++i) {
        char internal[MOVE_TEXT_SIZE], ucci[5];
        move_to_text(e.best_line[i], internal);
        if (internal[0] == '\0') break;
        internal_to_ucci(internal, ucci);
        n += std::snprintf(line + n, sizeof(line) - static_cast<size_t>(n), " %s", ucci);
    }
    print_line(line);
}

void form_search_report(Count& e, search_report_t& r) {
    int elapsed = platform::clock_ms() - e.start_clock;
    if (elapsed <= 0) elapsed = 1;
    const int fh_divisor = e.fh_total > 0 ? e.fh_total : 1;
    std::snprintf(r.summary, sizeof(r.summary), "depth(%d) moves(%d/%d) score(%d) time(%dms) nps(%dk) fh(%u%%)",
                  e.iteration_depth, e.root_move_index, e.root_move_total, e.best_line[0].score, elapsed,
                  (e.full + e.quiet) / elapsed, static_cast<unsigned>(100 * e.fh_first / fh_divisor));
    std::snprintf(r.counters, sizeof(r.counters),
                  "check(%d) verify(%d) mate(%d) recap(%d) single(%d) end(%d) hashhit(%d) full(%d) quiet(%d)", e.check,
                  e.verify, e.mate, e.recap, e.single, e.end, e.hashhit, e.full, e.quiet);
}
