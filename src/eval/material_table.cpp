#include "eval/material_table.h"

#include <cstring>

namespace eval {

material_entry material_table[MATERIAL_TABLE_SIZE];

namespace {

// Built from zeros, padding included, so that two builds compare bytewise.
void build_entry(const Count& e, const material_key& k, material_entry& m) {
    std::memset(&m, 0, sizeof m);
    m.key = k;
    m.counts[RED] = material_counts_of(e.type_count, RED);
    m.counts[BLACK] = material_counts_of(e.type_count, BLACK);
    m.terms = material_terms_of(m.counts, e.eval_phase_class);
}

}  // namespace

const material_entry& material_entry_fill(const Count& e, const material_key& k, material_entry& slot) {
    build_entry(e, k, slot);
    return slot;
}

bool material_entry_fresh(const Count& e, const material_entry& m) {
    material_entry fresh;
    build_entry(e, material_key_of(e), fresh);
    return std::memcmp(&fresh, &m, sizeof m) == 0;
}

void material_table_forget() { std::memset(material_table, 0, sizeof material_table); }

}  // namespace eval
