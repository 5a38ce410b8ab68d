// The memory of the transposition tables: the table's call points for engine
// initialisation (allocate, free) and for position set-up (a new game empties
// the tables), kept apart from the search's use of the entries.
#pragma once
#include <cstdint>

#include "board/engine.h"

// Entries per table for a hash size in megabytes (clamped to 16..512).
int32_t tt_entries_for_megabytes(int megabytes);
// Replaces both tables by new, empty ones for `megabytes`. On a failed
// allocation the old tables (if any) stay as they were and the result is false.
bool tt_resize(Count& e, int megabytes);
void tt_free(Count& e);
// Empties every entry of both tables, the extra entry n included. The entries
// are only outdated (a new epoch); every 65536th clear rewrites them.
void tt_clear(Count& e);
