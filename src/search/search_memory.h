// What one search leaves for the next: the transposition tables and their
// generation, the killer slots and the history counts.
#pragma once
#include "board/engine.h"

// Killers empty, history counts 0 and their tries and hits 1; every search starts so.
void clear_killers_and_history(Count& e);

// A new game: nothing the searches of the last one learnt stays, so that it
// plays as a fresh process would.
void forget_last_game(Count& e);
