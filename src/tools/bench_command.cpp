// bench [DEPTH]: a fixed set of positions searched to a fixed depth with a
// fresh engine state each; the node total is a signature of the search.
#include <cstdio>
#include <cstdlib>
#include <memory>

#include "board/engine.h"
#include "book/initialise.h"
#include "platform/clock.h"
#include "platform/program_dir.h"
#include "position/position_string.h"
#include "search/search.h"
#include "search/search_memory.h"
#include "tools/dev_commands.h"
#include "ucci/line_input.h"

namespace {

constexpr int DEFAULT_BENCH_DEPTH = 8;

const char* const bench_positions[] = {
    "rnbakabnr/9/1c5c1/p1p1p1p1p/9/9/P1P1P1P1P/1C5C1/9/RNBAKABNR w - - 0 1",
    "2bakab1r/6r2/1cn4c1/p1p1p3p/9/2P3p2/PC2P1n1P/2N1B1NC1/R4R3/3AKAB2 w - - 0 1",
    "4kar2/4a2rn/4bc3/RN1c5/2bC5/9/4p4/9/4p4/3p1K3 w - - 0 1",
    "3k5/4PP3/4r4/3P5/9/9/9/9/9/5K3 w - - 0 1",
    "4k4/4a4/4P4/9/9/9/9/4B4/9/4K4 w - - 0 1",
    // Positions from games of the engine against itself.
    "2bakab2/r4r3/1cn3n2/p1p1p1p1p/9/6PN1/P1P1P2cP/1CN4C1/R4R3/2BAKAB2 b - - 13 7",
    "2bak1b2/1R2a4/c1n3n2/p3p1N1p/2p4r1/6P2/P1c1P3P/1CN1BC3/9/3AKAB2 b - - 6 15",
    "2Rak1b2/4a4/6n2/p3p1N1p/3n3r1/3p2P2/4P4/3CB1C2/9/3AKAB2 b - - 2 23",
    "3ak4/4a4/2R6/4p3p/6P2/p6n1/4P4/4BC3/2N3r2/3AKAB2 b - - 4 33",
    "3aka3/9/9/4p4/8p/9/4P4/N3B1C1R/4K4/r5B2 b - - 5 44",
    "2bakab2/3R1r3/1cn3nc1/p1p1p1p1p/9/9/P1P1P1P1P/1CN3NC1/5R3/2BAKAB2 b - - 0 7",
    "2bak1b2/4a4/2n3nc1/2p1p1p1p/p8/2P3P2/2NRP3P/3C2NC1/c3Ar3/2B1KAB2 b - - 9 15",
    "2bak1b2/4a4/6n2/n3p1p1p/9/p3P1P2/2R3c1P/3CB1NCB/4A1r2/4KA3 b - - 6 23",
    "2bak4/3Ca4/4R1n2/6N1p/9/1p4PC1/1n6P/2r6/4A4/2B1KA3 b - - 0 33",
    "2bak4/1R5n1/3a5/8p/1C7/9/8P/6r1N/4AK3/9 b - - 3 44",
    "3akab2/r7r/1cn1b1nc1/p1C1p3p/6p2/9/P1P1P1P1P/2N1B1NC1/1R7/3AKAB1R b - - 4 7",
    "3akab2/1r7/r1n1b2R1/p1n1p3p/6p2/2P6/P3P1P1P/2N1B1N1C/9/3AKAB2 b - - 3 15",
    "3akab2/r8/2nnbR3/p3p3C/3r2p2/2P1P4/P5P1P/2N1B4/4N4/3AKAB2 b - - 0 23",
    "3ak1b2/4a4/2R1b4/p3r4/6p2/9/P2np1P1r/2NNB4/5C3/3AKAB2 b - - 5 33",
    "3ak1b2/4a4/4b4/p8/6p2/3N5/P8/3p1r3/4A1r2/4KAB2 b - - 1 44",
    "2bakabn1/r8/1cn4c1/p1p1p1p1p/9/9/P1P1P1P1P/1CN1C2rN/3R1R3/2BAKAB2 b - - 13 7",
    "2bak1b2/4a4/1cn3nc1/p2Rp3p/2R6/6P2/P1P1Pr2P/1C2C1N1N/4A2r1/2B1KAB2 b - - 0 15",
    "3ak4/4a4/bcn2rnc1/p3p1R1p/2R6/9/P1P1P3P/1C1C2N1N/4A4/2B1KAB2 b - - 0 23",
    "1n1ak4/6c2/b2aC1n2/p3p1c1p/8r/2PR5/P3P1N1P/3CB4/4A4/2B1KA3 b - - 9 33",
    "3R5/3nk1c2/6n2/p3p3p/2PC5/8P/P3P4/9/9/2BAKArc1 b - - 2 44",
    "1nbakab2/8r/1c4nc1/p1p1p1p1p/9/9/P1P1P1P1P/Nr2C1NC1/3R1R3/2BAKAB2 b - - 13 7",
    "2b1kab2/4a4/1cn3nc1/p3pR2p/6R2/2P6/P2rP1P1P/N1N1C2C1/1r2A4/2BAK1B2 b - - 0 15",
    "4ka3/4a4/1cnr2ncb/p1R1p3p/6R2/9/P3P1P1P/N1N2C1C1/4A4/2BAK1B2 b - - 0 23",
    "4ka1n1/2c6/2n1Ca2b/p1c1p3p/r8/5RP2/P1N1P3P/4BC3/4A4/3AK1B2 b - - 9 33",
    "5R3/2c1kn3/2n6/p3p3p/5CP2/P8/4P3P/9/9/1crAKAB2 b - - 2 44",
};

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
    if (!initialise_engine(e, DEFAULT_HASH_MEGABYTES, platform::program_directory(), hash_book_use::none)) {
        std::fprintf(stderr, "bench: the engine cannot be initialised\n");
        return 1;
    }
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
        forget_last_game(e);
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
    return 0;
}
