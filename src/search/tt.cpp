#include "search/tt.h"

#include <cstdlib>

int32_t tt_entries_for_megabytes(int megabytes) {
    if (megabytes < 16) megabytes = 16;
    if (megabytes > 512) megabytes = 512;
    return static_cast<int32_t>(static_cast<int64_t>(megabytes) * 1048576 / 40);
}

bool tt_allocate(Count& e, int megabytes) {
    const int32_t n = tt_entries_for_megabytes(megabytes);
    auto* t0 = static_cast<tt_entry_t*>(std::malloc(sizeof(tt_entry_t) * (static_cast<size_t>(n) + 1)));
    if (t0 == nullptr) return false;
    auto* t1 = static_cast<tt_entry_t*>(std::malloc(sizeof(tt_entry_t) * (static_cast<size_t>(n) + 1)));
    if (t1 == nullptr) {
        std::free(t0);
        return false;
    }
    e.tt_size = n;
    e.tt_tables[0] = t0;
    e.tt_tables[1] = t1;
    tt_clear(e);
    return true;
}

void tt_free(Count& e) {
    std::free(e.tt_tables[0]);
    std::free(e.tt_tables[1]);
    e.tt_tables[0] = e.tt_tables[1] = nullptr;
    e.tt_size = 0;
}

void tt_clear(Count& e) {
    if (e.tt_tables[0] == nullptr) return;
    for (int side = 0; side < 2; ++side) {
        tt_entry_t* t = e.tt_tables[side];
        for (int32_t i = 0; i <= e.tt_size; ++i) t[i] = TT_EMPTY_ENTRY;
    }
}
