#include "eval/evaluate.h"

// The evaluation is not built yet: material only through pst_score.
void build_evaluation_tables(Count&) {}
void prepare_evaluation(Count&) {}
int evaluate(Count& e, int side) { return side == RED ? e.pst_score : -e.pst_score; }
void recompute_pst_score(Count& e) {
    int sum = 0;
    for (int code = 0; code < 1024; ++code)
        if (e.piece_square[code] != 0) sum += e.piece_square_value[code][e.piece_square[code]];
    e.pst_score = sum;
}
