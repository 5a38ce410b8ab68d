// An engine object with the evaluation tables built and a position set up the
// way a search starts: prepared evaluation and pst_score recomputed.
#pragma once
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "board/engine.h"
#include "eval/eval_trace.h"
#include "eval/evaluate.h"
#include "position/position_string.h"

class EvalBoard {
public:
    EvalBoard() : e_(std::make_unique<CountEx>()) { build_evaluation_tables(*e_); }

    // False when the FEN is refused.
    bool set_fen(const std::string& fen) {
        char position[POSITION_STRING_SIZE];
        int side = 0;
        if (!fen_to_position_string(fen.c_str(), position, side)) return false;
        set_position(position, side);
        return true;
    }
    void set_position(const std::string& position, int side) {
        setup_position(*e_, position.c_str(), side);
        prepare_evaluation(*e_);
        recompute_pst_score(*e_);
    }
    int eval(int side) { return evaluate(*e_, side); }
    eval_trace trace() {
        eval_trace t;
        evaluate_traced(*e_, RED, t);
        return t;
    }
    Count& engine() { return *e_; }

private:
    std::unique_ptr<CountEx> e_;
};

// Square of a notation name such as "e9".
inline int sq(const char* name) { return 52 + (name[0] - 'a') + 16 * (9 - (name[1] - '0')); }

// The position string of the colour-flipped twin: every piece keeps its slot
// within its side, changes colour, and goes to the same file on the mirrored rank.
std::string flipped_position(const std::string& position);
// The position string of a FEN (the FEN must be valid).
std::string position_of(const std::string& fen, int* side = nullptr);
