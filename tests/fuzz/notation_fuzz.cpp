// Fuzzes the reading of game collections as "book build" and "book moves" run
// it: encoding detection and decoding, the PGN reader, the notation reader and
// the replay of the games. The bytes are the file. Checked on the way:
// - the decoded text is well-formed UTF-8;
// - every replayed move is legal, and its coordinates read back as that move;
// - the PGN reader splits the text into the same games whatever pieces it is fed in.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <unistd.h>
#include <vector>

#include "board/check.h"
#include "book/game_replay.h"
#include "fuzz_engine.h"
#include "position/position_string.h"

namespace {

constexpr size_t LONGEST_INPUT = 1 << 16;
constexpr int EVERY_PLY = 1 << 30;  // the whole game is replayed

// The failed check's line goes with the fuzzer's report.
#define require(ok) ((ok) ? void(0) : (std::fprintf(stderr, "check failed at line %d: %s\n", __LINE__, #ok), std::abort()))

// Bare engine objects: the replay reads only the board, and an initialised
// engine would empty its transposition tables at every game.
CountEx& board(int which) {
    static CountEx* boards[2] = {new CountEx(), new CountEx()};
    return *boards[which];
}

// The second board follows the game by the coordinates of its moves.
void check_replay(const pgn_game_t& g) {
    Count& e = board(0);
    Count& s = board(1);
    setup_position(s, START_POSITION_STRING, RED);
    replay_game(e, g, EVERY_PLY, [&](const move_t& m) {
        const int mover = 1 - e.side_to_move;
        require(in_check(e, mover) == CHECK_NONE);
        char ucci[8];
        move_to_ucci(m, ucci);
        move_t again{};
        require(read_move(s, ucci, again) == MOVE_READ && again.from == m.from && again.to == m.to);
        board_do_move(s, again);
        s.side_to_move = 1 - s.side_to_move;
    });
}

// Well-formed UTF-8: no stray continuation byte, no cut or overlong sequence,
// no surrogate and nothing past U+10FFFF.
bool is_utf8(const std::string& s) {
    for (size_t i = 0; i < s.size();) {
        const auto c = static_cast<unsigned char>(s[i]);
        const size_t len = c < 0x80 ? 1 : (c & 0xE0) == 0xC0 ? 2 : (c & 0xF0) == 0xE0 ? 3 : (c & 0xF8) == 0xF0 ? 4 : 0;
        if (len == 0 || i + len > s.size()) return false;
        uint32_t cp = len == 1 ? c : c & (0x7F >> len);
        for (size_t k = 1; k < len; ++k) {
            const auto b = static_cast<unsigned char>(s[i + k]);
            if ((b & 0xC0) != 0x80) return false;
            cp = cp << 6 | (b & 0x3F);
        }
        constexpr uint32_t least[] = {0, 0, 0x80, 0x800, 0x10000};
        if (cp < least[len] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return false;
        i += len;
    }
    return true;
}

bool same_game(const pgn_game_t& a, const pgn_game_t& b) {
    return a.first_line == b.first_line && a.tags == b.tags && a.moves == b.moves && a.result == b.result;
}

// The decoded text fed whole (each game replayed) and in pieces of `piece`
// bytes gives the same games.
void check_games(const std::string& text, size_t piece) {
    std::vector<pgn_game_t> whole, cut;
    PgnReader one([&](const pgn_game_t& g) {
        check_replay(g);
        whole.push_back(g);
    });
    one.feed(text);
    one.finish();
    PgnReader many([&](const pgn_game_t& g) { cut.push_back(g); });
    for (size_t at = 0; at < text.size(); at += piece) many.feed(text.substr(at, piece));
    many.finish();
    require(whole.size() == cut.size());
    for (size_t i = 0; i < whole.size(); ++i) require(same_game(whole[i], cut[i]));
}

}  // namespace

// Decoded as read_game_file does, once: the decoder's buffers are large.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0 || size > LONGEST_INPUT) return 0;
    const int fd = bytes_as_file(data, size);
    if (fd < 0) return 0;
    TextDecoder decoder;
    std::string error;
    if (decoder.open("/proc/self/fd/" + std::to_string(fd), error)) {
        std::string text, piece;
        while (decoder.next(piece)) text += piece;
        require(is_utf8(text));
        check_games(text, data[size - 1] % 16 + 1);
    } else {
        require(!error.empty());
    }
    close(fd);
    return 0;
}
