// Self-tests of the incremental state, compiled into debug and sanitizer builds
// only (TAVOX_SELF_CHECKS): each failure names the broken condition and aborts.
#pragma once
#include "board/engine.h"

#ifdef TAVOX_SELF_CHECKS
[[noreturn]] void self_check_failed(const char* condition, const char* file, int line);
#define TAVOX_SELF_CHECK(condition) \
    ((condition) ? static_cast<void>(0) : self_check_failed(#condition, __FILE__, __LINE__))
#else
#define TAVOX_SELF_CHECK(condition) static_cast<void>(0)
#endif

// Board, line occupancy, piece squares, piece counts and both hash words agree
// with each other (the hash words recomputed from the piece squares).
bool position_consistent(const Count& e);
// pst_score is the sum of piece_square_value over the pieces on the board.
bool pst_consistent(const Count& e);
