// Lines that arrived while a search ran and that the command loop handles
// afterwards, in their order of arrival. Fixed storage: the search allocates nothing.
#pragma once

// Keeps a copy of the line; false (and nothing kept) when the store is full.
bool hold_line(const char* line);
// Takes the oldest held line into `line` (LINE_BUFFER_SIZE bytes); false when none is held.
bool take_held_line(char* line);
// Forgets every held line.
void drop_held_lines();
