#include "ucci/dev_commands.h"

#include <cstdio>
#include <string>

#include "position/position_string.h"

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
