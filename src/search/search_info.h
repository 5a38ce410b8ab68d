// What the engine tells about a search: the info line after each completed
// iteration (when switched on) and the two statistics lines kept after a go.
#pragma once
#include "board/engine.h"

// Prints "info depth D score S time MS nodes N nps N pv M1 M2 ..." when info_output is on.
void report_iteration(Count& e);

// The statistics of the last search as two text lines (kept in memory, not printed).
struct search_report_t {
    char summary[256];
    char counters[256];
};
void form_search_report(Count& e, search_report_t& report);
