// Book move selection: before searching, the engine looks up the position
// after each root move in the opening book and picks one of the best at random.
#pragma once
#include <cstdint>

#include "board/engine.h"

// Asks the book for a move in the current position: 1 when it chose one (in
// `out` and best_line, score 0), 0 when not, -1 when the engine is not ready.
int book_probe(Count& e, move_t& out);

// Looks up the root moves of ply 0 and picks one; false when none qualifies.
bool choose_book_move(Count& e, move_t& out);

struct book_choice_t {
    uint32_t occurrences;
    int index;  // in the root move list
};
// The accepted, sorted and trimmed candidates of choose_book_move (at most 128); returns their number.
int book_candidate_choices(Count& e, book_choice_t* choices);

// The generator of the book's random choice: one 32-bit state.
struct book_random_t {
    uint32_t state;
    void seed(uint32_t s) { state = s; }
    int draw() {
        state = state * 214013u + 2531011u;
        return static_cast<int>((state >> 16) & 0x7FFF);
    }
};
