// The tavox executable: the UCCI engine, plus developer commands
// (perft, bench, eval, book) when given arguments.
#include <cstring>

#include "ucci/dev_commands.h"
#include "ucci/ucci_loop.h"

int main(int argc, char** argv) {
    if (argc >= 2) {
        if (std::strcmp(argv[1], "perft") == 0) return perft_command(argc - 2, argv + 2);
        if (std::strcmp(argv[1], "bench") == 0) return bench_command(argc - 2, argv + 2);
        if (std::strcmp(argv[1], "eval") == 0) return eval_command(argc - 2, argv + 2);
        if (std::strcmp(argv[1], "book") == 0) return book_command(argc - 2, argv + 2);
    }
    return run_ucci();
}
