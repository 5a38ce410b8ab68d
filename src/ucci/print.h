#pragma once

// Writes one protocol line to standard output and flushes at once. Every line
// the engine writes to stdout goes through here; diagnostics go to stderr.
void print_line(const char* text);
