// Lines that arrived while a search ran and that the command loop handles
// afterwards, in their order of arrival. Fixed storage: the search allocates nothing.
#pragma once

bool held_lines_full();
void hold_line(const char* line);
// Takes the oldest held line into `line` (LINE_SIZE bytes); false when none is held.
bool take_held_line(char* line);
