// What the engine tells about a search: the info line after each completed
// iteration and the two statistics lines kept after a go.
#pragma once
#include <cstddef>

#include "board/engine.h"

// "info depth D score S time MS nodes N nps NPS pv M1 M2 ...": the score from
// the side to move's view, the time in milliseconds since the search began.
void format_iteration_line(const Count& e, char* line, size_t size);

// Prints the iteration line when info_output is on.
void report_iteration(Count& e);

// The statistics of the last search as two text lines.
struct search_report_t {
    char summary[256];
    char counters[320];
};
void form_search_report(const Count& e, search_report_t& report);
