#include "tools/dev_commands.h"

#include <cstdio>
#include <cstring>
#include <string>

#include "position/position_string.h"

namespace {

struct dev_command_t {
    const char* name;
    dev_command_fn run;
};

constexpr dev_command_t dev_commands[] = {
    {"perft", perft_command},
    {"bench", bench_command},
    {"eval", eval_command},
    {"book", book_command},
};

}  // namespace

dev_command_fn find_dev_command(int argc, char** argv) {
    if (argc < 2) return nullptr;
    for (const dev_command_t& c : dev_commands)
        if (std::strcmp(argv[1], c.name) == 0) return c.run;
    return nullptr;
}

bool position_from_args(const char* command, int argc, char** argv, char* position, int& side) {
    std::string fen;
    for (int i = 0; i < argc; ++i) {
        if (i > 0) fen += ' ';
        fen += argv[i];
    }
    const char* error = "the FEN is refused";
    if (fen_to_position_string(fen.c_str(), position, side, &error)) return true;
    std::fprintf(stderr, "%s: %s\n", command, error);
    return false;
}
