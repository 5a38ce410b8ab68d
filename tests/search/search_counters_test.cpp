// Node and event counters past 2^31: printed, compared and incremented without overflow.
#include <climits>
#include <string>

#include "search/alpha_beta.h"
#include "search/search_common.h"
#include "search/search_fixture.h"
#include "search/search_info.h"
#include "search/time_check.h"

namespace {

using SearchCounters = SearchTest;

constexpr int64_t kNear = INT32_MAX - 5;

TEST_F(SearchCounters, PrintedInFullPastTwoToThe31) {
    set_fen(*e, "3k5/R8/9/9/9/9/9/9/9/R3K4 w - - 0 1");
    e->full = kNear;
    e->quiet = kNear;
    e->hashhit = kNear + 100;
    e->iteration_depth = 3;
    e->search_clock = platform::clock_ms() - 1000;
    char line[512];
    format_iteration_line(*e, line, sizeof(line));
    EXPECT_NE(std::string(line).find(" nodes 4294967284 "), std::string::npos) << line;
    search_report_t r;
    form_search_report(*e, r);
    EXPECT_NE(std::string(r.counters).find("hashhit(2147483742) full(2147483642) quiet(2147483642)"), std::string::npos)
        << r.counters;
}

TEST_F(SearchCounters, NodeLimitPastTwoToThe31) {
    e->time_limit = 3600000;
    e->time_factor = 5;
    e->start_clock = platform::clock_ms();
    e->full = kNear;
    e->quiet = 10;
    e->node_limit = kNear + 11;
    e->stop_flag = 0;
    EXPECT_FALSE(time_check(*e));
    e->quiet = 11;
    EXPECT_TRUE(time_check(*e));
}

TEST_F(SearchCounters, SearchNodesCountOnPastTheLimit) {
    set_fen(*e, "rnbakabnr/9/1c5c1/p1p1p1p1p/9/9/P1P1P1P1P/1C5C1/9/RNBAKABNR w - - 0 1");
    prepare_node_search();
    e->full = e->quiet = e->check = kNear;
    alpha_beta(*e, -WINDOW, WINDOW, RED, 3, 1, 0, 1);
    EXPECT_GT(e->full, int64_t{INT32_MAX});
    EXPECT_GT(e->quiet, int64_t{INT32_MAX});
}

}  // namespace
