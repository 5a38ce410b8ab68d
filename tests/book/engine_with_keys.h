// An engine object on the heap with the hash keys of data/_prime.txt loaded and
// the start position set up (no transposition tables, not initialised).
#pragma once
#include <gtest/gtest.h>

#include <cstdio>
#include <memory>

#include "board/engine.h"
#include "book/prime_keys.h"
#include "position/position_string.h"

inline std::unique_ptr<CountEx> engine_with_keys() {
    auto e = std::make_unique<CountEx>();
    FILE* f = std::fopen(TAVOX_DATA_DIR "/_prime.txt", "r");
    EXPECT_NE(f, nullptr);
    if (f != nullptr) {
        const char* error = nullptr;
        EXPECT_TRUE(read_prime_keys(*e, f, &error));
        std::fclose(f);
    }
    setup_position(*e, START_POSITION_STRING, RED);
    return e;
}
