#include "eval/eval_trace.h"

namespace {

const char* verdict_name(endgame_verdict v) {
    switch (v) {
        case endgame_verdict::draw: return "draw";
        case endgame_verdict::drawish: return "drawish";
        default: return "none";
    }
}

void print_counts(std::FILE* out, const char* name, const side_counts& c) {
    std::fprintf(out,
                 "%-6s %5d %5d %5d %5d %6d %4d %4d %5d %6d %8d %7d %4d %6d %6d\n",
                 name, c.pawns, c.elephants, c.advisors, c.horses, c.cannons, c.rooks, c.defenders, c.full_pairs,
                 c.minor_major, c.strength, c.crossed, c.deep, c.palace, c.attack_count);
}

void print_wings(std::FILE* out, const char* name, const side_counts& c) {
    std::fprintf(out, "wings %-6s attack left %d right %d, defence left %d right %d\n", name, c.wing_attack[0],
                 c.wing_attack[1], c.wing_defence[0], c.wing_defence[1]);
}

void print_block(std::FILE* out, const char* name, const eval_terms t[2]) {
    std::fprintf(out, "%-14s %8d %8d %8d %8d %8d %8d\n", name, t[0].mid, t[0].end, t[0].attack, t[1].mid, t[1].end,
                 t[1].attack);
}

}  // namespace

void print_eval_trace(std::FILE* out, const eval_trace& t) {
    std::fprintf(out, "phase_class %d\nphase %d\npst_score %d\n", t.phase_class, t.phase, t.pst_score);
    std::fprintf(out, "side   pawns eleph advis horse cannon rook defs pairs minmaj strength crossed deep palace "
                      "attack_count\n");
    print_counts(out, "red", t.side[0]);
    print_counts(out, "black", t.side[1]);
    print_wings(out, "red", t.side[0]);
    print_wings(out, "black", t.side[1]);
    std::fprintf(out, "endgame %s%s%s\n", verdict_name(t.verdict), *t.endgame_rule ? ": " : "", t.endgame_rule);
    if (t.verdict != endgame_verdict::none) {
        std::fprintf(out, "red_score %d\n", t.red_score);
        return;
    }
    std::fprintf(out, "%-14s %8s %8s %8s %8s %8s %8s\n", "block", "red_mid", "red_end", "red_att", "blk_mid",
                 "blk_end", "blk_att");
    print_block(out, "endgame", t.endgame_terms);
    print_block(out, "counts", t.counts_terms);
    print_block(out, "attack_weight", t.attack_weight_terms);
    print_block(out, "horses", t.horses);
    print_block(out, "rooks", t.rooks);
    print_block(out, "cannons", t.cannons);
    print_block(out, "king_safety", t.king_safety);
    print_block(out, "accumulators", t.total);
    std::fprintf(out, "scaled red attack %d mid %d end %d, black attack %d mid %d end %d\n", t.attack_part[0],
                 t.mid_part[0], t.end_part[0], t.attack_part[1], t.mid_part[1], t.end_part[1]);
    std::fprintf(out, "red_score %d\n", t.red_score);
}
