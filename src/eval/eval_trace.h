// What one evaluation saw and added, block by block, for tests and the `eval` command.
#pragma once
#include <cstdio>

#include "board/engine.h"

// One side's piece counts and the sums of them the evaluation reads.
struct material_counts {
    int pawns, elephants, advisors, horses, cannons, rooks;
    int defenders;    // advisors + elephants
    int full_pairs;   // (advisors == 2) + (elephants == 2)
    int minor_major;  // horses + cannons + rooks
    int strength;     // horses + cannons + 2 * rooks
};

// Material and pawn structure of one side, from the counts of the evaluation.
struct side_counts : material_counts {
    // Pawns across the river; of those, the deep ones (camp centre, not behind the
    // enemy king's rank) and of those the ones in the enemy palace, split by wing.
    int crossed, deep, deep_wing[2], palace, palace_wing[2];
    int rooks_in_enemy_half, horses_in_enemy_half, cannons_in_enemy_half;
    int rooks_on_wing[2], horses_on_wing[2], cannons_on_wing[2];  // enemy half, files a..d / f..i
    int wing_attack[2];   // this side's attack on each enemy wing
    int wing_defence[2];  // the enemy's defence of that wing
    int attack_count;     // before clamping to the attack tables
};

// The six accumulators, or one block's share of them, for one side.
struct eval_terms {
    int mid, end, attack;
};

enum class endgame_verdict { none, draw, drawish };

struct eval_trace {
    int phase_class;  // eval_phase_class
    int phase;        // both sides' weighted strength, 0..16
    int pst_score;
    side_counts side[2];
    endgame_verdict verdict;
    const char* endgame_rule;  // name of the recogniser that decided or set terms; "" when none
    eval_terms endgame_terms[2];  // accumulators set by a recogniser that let the evaluation go on
    // Per side: the counts terms, the attack-count weight, then the piece blocks in evaluation order.
    eval_terms counts_terms[2], attack_weight_terms[2], horses[2], rooks[2], cannons[2], king_safety[2];
    eval_terms total[2];  // the accumulators at the end
    // Scaled contributions to the result: attack x scale / 16, phase x mid / 16, (16 - phase) x end / 16.
    int attack_part[2], mid_part[2], end_part[2];
    int red_score;  // red-positive result
};

// evaluate() for `side`, with what each part of the evaluation contributed.
int evaluate_traced(const Count& e, int side, eval_trace& trace);
void print_eval_trace(std::FILE* out, const eval_trace& t);
