#pragma once

// Writes one protocol line to standard output and flushes at once. Every line
// the engine writes to stdout goes through here; diagnostics go to stderr.
void print_line(const char* text);

// A write to standard output failed (the GUI closed its end): nobody hears the
// engine any more, so the search stops and the command loop ends.
bool output_lost();
