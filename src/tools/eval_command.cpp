// `tavox eval [FEN]`: the evaluation trace of a position as a search sees it at its root.
#include <cstdio>
#include <memory>

#include "eval/eval_trace.h"
#include "eval/evaluate.h"
#include "position/position_string.h"
#include "tools/dev_commands.h"

int eval_command(int argc, char** argv) {
    char position[POSITION_STRING_SIZE];
    int side = RED;
    if (!position_from_args("eval", argc, argv, position, side)) return 2;
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
