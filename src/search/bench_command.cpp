// bench [DEPTH]: a fixed set of positions searched to a fixed depth with a
// fresh engine state each; the node total is a signature of the search.
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

#include "board/engine.h"
#include "book/prime_keys.h"
#include "eval/evaluate.h"
#include "platform/clock.h"
#include "platform/program_dir.h"
#include "position/position_string.h"
#include "search/search.h"
#include "search/tt.h"
#include "ucci/dev_commands.h"
#include "ucci/line_input.h"

namespace {

constexpr int DEFAULT_BENCH_DEPTH = 8;

const char* const bench_positions[] = {
    "rnbakabnr/9/1c5c1/p1p1p1p1p/9/9/P1P1P1P1P/1C5C1/9/RNBAKABNR w - - 0 1",
    "2bakab1r/6r2/1cn4c1/p1p1p3p/9/2P3p2/PC2P1n1P/2N1B1NC1/R4R3/3AKAB2 w - - 0 1",
    "4kar2/4a2rn/4bc3/RN1c5/2bC5/9/4p4/9/4p4/3p1K3 w - - 0 1",
    "3k5/4PP3/4r4/3P5/9/9/9/9/9/5K3 w - - 0 1",
    "4k4/4a4/4P4/9/9/9/9/4B4/9/4K4 w - - 0 1",
};

bool load_keys(Count& e) {
    const std::string dir = platform::program_directory();
    FILE* f = std::fopen((dir + "/_prime.txt").c_str(), "r");
    if (f == nullptr) f = std::fopen("_prime.txt", "r");
    if (f == nullptr) return false;
    const char* error = nullptr;
    const bool ok = read_prime_keys(e, f, &error);
    std::fclose(f);
    return ok;
}

}  // namespace

int bench_command(int argc, char** argv) {
    int depth = DEFAULT_BENCH_DEPTH;
    if (argc >= 1) {
        char* end = nullptr;
        const long d = std::strtol(argv[0], &end, 10);
        if (*end != '\0' || d < 1 || d > 30) {
            std::fprintf(stderr, "bench: depth must be a number from 1 to 30\n");
            return 2;
        }
        depth = static_cast<int>(d);
    }
    // An engine of its own without the hash book, so that no earlier run and no
    // input on stdin changes the result.
    auto engine = std::make_unique<CountEx>();
    Count& e = *engine;
    build_evaluation_tables(e);
    if (!load_keys(e) || !tt_allocate(e, 32)) {
        std::fprintf(stderr, "bench: cannot load _prime.txt or allocate the tables\n");
        return 1;
    }
    e.ready_state = 1;
    process_input().init(-1);

    long long total_nodes = 0;
    const int32_t started = platform::clock_ms();
    int index = 0;
    for (const char* fen : bench_positions) {
        char ps[POSITION_STRING_SIZE];
        int side = 0;
        if (!fen_to_position_string(fen, ps, side)) {
            std::fprintf(stderr, "bench: bad position %s\n", fen);
            return 1;
        }
        setup_position(e, ps, side);
        tt_clear(e);
        e.tt_generation = 0;
        e.fh_total = e.fh_first = 0;
        e.time_limit = 3600000;
        e.depth_limit = depth;
        const int32_t t0 = platform::clock_ms();
        move_t best{};
        search_position(e, best);
        const long long nodes = static_cast<long long>(e.full) + e.quiet;
        total_nodes += nodes;
        std::printf("position %d nodes %lld time %d score %d\n", ++index, nodes, platform::clock_ms() - t0, best.score);
    }
    const int32_t elapsed = platform::clock_ms() - started;
    std::printf("nodes %lld time %d nps %lld\n", total_nodes, elapsed, elapsed > 0 ? total_nodes * 1000 / elapsed : 0);
    tt_free(e);
    return 0;
}
