#include "search/time_check.h"

#include "platform/clock.h"
#include "ucci/input_poll.h"

bool time_check(Count& e) {
    e.poll_countdown = POLL_INTERVAL;
    poll_input(e);
    if (e.abort_request || e.stop_flag) {
        e.stop_flag = 1;
        return true;
    }
    if (e.node_limit > 0 && static_cast<int64_t>(e.full) + e.quiet >= e.node_limit) {
        e.stop_flag = 1;
        return true;
    }
    if (e.untimed()) return false;  // pondering (the opponent's time) or infinite: no limit
    const int64_t elapsed = platform::elapsed_ms(e.start_clock);
    const int64_t limit = e.time_extension ? static_cast<int64_t>(e.time_factor) * e.time_limit : e.time_limit;
    if (elapsed >= limit || (e.hard_time_limit > 0 && elapsed >= e.hard_time_limit)) {
        e.stop_flag = 1;
        return true;
    }
    return false;
}
