// UCCI move text (h2e2) and the internal form (H2-E2), and their conversions.
#pragma once
#include <cstddef>

#include "board/engine.h"

constexpr int MOVE_TEXT_SIZE = 6;

// Exactly a UCCI move: four characters, file letter a..i, rank digit, file letter, rank digit.
bool is_ucci_move_text(const char* word, size_t length);

void ucci_to_internal(const char* ucci, char* internal);
void internal_to_ucci(const char* internal, char* ucci);

// Square of a file letter (either case) and rank digit; 0 when they name no playing square.
int square_of_text(char file, char digit);

// Internal text of a move; empty when the move has no from-square or names no playing square.
void move_to_text(const move_t& m, char* text);

// Makes the move named by an internal text on the engine position (no test of
// legality) and records its repetition and check status. Returns 1.
int apply_move_text(Count& e, const char* text);

// Finds the legal move of the side to move named by an internal text; false
// when the text names no such move (malformed, empty or foreign from-square,
// not generated, or leaving the own king attacked).
bool find_legal_move(Count& e, const char* text, move_t& out);
