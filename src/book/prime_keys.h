// The position-hash numbers of "_prime.txt".
#pragma once
#include <cstdio>
#include <string>

#include "board/engine.h"

constexpr int PRIME_NUMBER_COUNT = 2520;

// Reads the 2,520 numbers into the key and lock tables (types 1..14, ranks
// 0..9, files 0..8, key then lock). A file with fewer numbers, or a token that
// is not a decimal number in the signed 32-bit range, is refused: the result
// is false, `error` says why and the tables are left unchanged.
bool read_prime_keys(Count& e, FILE* file, const char** error);

// Opens "_prime.txt" in `program_dir` (none when empty), else in the working
// directory, and reads it as above. Something other than a regular file under
// the name is damage, not absence: it is refused. False, with the reason on
// stderr, when the keys cannot be loaded.
bool load_prime_keys(Count& e, const std::string& program_dir);
