// Helpers for tests that work on an engine object of their own.
#pragma once
#include <cstdlib>
#include <memory>
#include <string>

#include "board/engine.h"
#include "book/prime_keys.h"
#include "position/position_string.h"

// A fresh engine object with the hash keys of data/_prime.txt loaded.
inline std::unique_ptr<CountEx> make_engine() {
    auto e = std::make_unique<CountEx>();
    if (!load_prime_keys(*e, TAVOX_DATA_DIR)) std::abort();
    return e;
}

// Sets up a FEN position; aborts the test program on a FEN the engine refuses.
inline void set_fen(Count& e, const std::string& fen) {
    char ps[POSITION_STRING_SIZE];
    int side = 0;
    if (!fen_to_position_string(fen.c_str(), ps, side)) std::abort();
    setup_position(e, ps, side);
}
