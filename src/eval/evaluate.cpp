#include "eval/evaluate.h"

// The evaluation is not built yet: material only through pst_score.
void build_evaluation_tables(Count&) {}
void prepare_evaluation(Count&) {}
int evaluate(Count& e, int side) { return side == RED ? e.pst_score : -e.pst_score; }
