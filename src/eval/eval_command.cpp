// `tavox eval [FEN]`: the evaluation trace of a position as a search sees it at its root.
#include <cstdio>
#include <memory>
#include <string>

#include "eval/eval_trace.h"
#include "eval/evaluate.h"
#include "position/position_string.h"
#include "ucci/dev_commands.h"

int eval_command(int argc, char** argv) {
    std::string fen;
    for (int i = 0; i < argc; ++i) {
        if (i > 0) fen += ' ';
        fen += argv[i];
    }
    char position[POSITION_STRING_SIZE];
    int side = RED;
    const char* error = nullptr;
    if (!fen_to_position_string(fen.c_str(), position, side, &error)) {
        std::fprintf(stderr, "eval: %s\n", error ? error : "the FEN is refused");
        return 2;
    }
    auto e = std::make_unique<CountEx>();
    build_evaluation_tables(*e);
    setup_position(*e, position, side);
    prepare_evaluation(*e);
    recompute_pst_score(*e);
    eval_trace trace;
    const int total = evaluate_traced(*e, e->side_to_move, trace);
    print_eval_trace(stdout, trace);
    std::printf("side_to_move %s\ntotal %d\n", e->side_to_move == RED ? "red" : "black", total);
    return 0;
}
