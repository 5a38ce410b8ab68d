#include "eval_board.h"

#include <sstream>
#include <vector>

std::string flipped_position(const std::string& position) {
    std::istringstream in(position);
    std::vector<int> squares;
    for (int s; in >> s;) squares.push_back(s);
    squares.resize(32, 0);
    std::string out;
    for (int j = 0; j < 32; ++j) {
        const int s = squares[(j + 16) % 32];
        const int mirrored = s == 0 ? 0 : s + 16 * (9 - 2 * ((s - 52) >> 4));
        out += std::to_string(mirrored) + " ";
    }
    return out;
}

std::string position_of(const std::string& fen, int* side) {
    char position[POSITION_STRING_SIZE];
    int s = 0;
    EXPECT_TRUE(fen_to_position_string(fen.c_str(), position, s)) << fen;
    if (side) *side = s;
    return position;
}
