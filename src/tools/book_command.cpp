// "tavox book build" and "tavox book moves": the command-line front end of the
// book builder and of the notation reader.
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "book/book_builder.h"
#include "book/game_replay.h"
#include "platform/clock.h"
#include "tools/dev_commands.h"

namespace {

const char USAGE[] =
    "usage: tavox book build [--out DIR] [--max-ply N] [--min-games K] FILE...\n"
    "       tavox book moves FILE...\n";

constexpr int PROGRESS_INTERVAL_MS = 1000;

bool parse_count(const char* text, long low, long high, int& out) {
    char* end = nullptr;
    errno = 0;
    const long v = std::strtol(text, &end, 10);
    if (end == text || *end != '\0' || errno != 0 || v < low || v > high) return false;
    out = static_cast<int>(v);
    return true;
}

// Says how a file was read, and warns of bytes its encoding could not read.
void report_file(const std::string& path, text_encoding enc, long bad_bytes) {
    std::fprintf(stderr, "%s: read as %s\n", path.c_str(), encoding_name(enc));
    if (bad_bytes > 0) std::fprintf(stderr, "%s: %ld bytes could not be read as %s\n", path.c_str(), bad_bytes, encoding_name(enc));
}

struct progress_t {
    int32_t started = platform::clock_ms();
    int32_t last = started;
    void tick(long games) {
        const int32_t now = platform::clock_ms();
        if (now - last < PROGRESS_INTERVAL_MS) return;
        last = now;
        std::fprintf(stderr, "book build: %ld games read, %ld games/s\n", games, games * 1000L / (now - started));
    }
};

void print_summary(const book_build_stats_t& s, int max_ply, int min_games, const std::string& dir, int32_t ms) {
    const long cut = s.games_cut[MOVE_UNREADABLE] + s.games_cut[MOVE_ILLEGAL] + s.games_cut[MOVE_AMBIGUOUS];
    std::printf("games read %ld: used %ld, cut %ld, skipped %ld\n", s.games_read, s.games_used, cut,
                s.skipped_other_start + s.skipped_no_moves);
    std::printf("cut at a bad move within %d plies (used up to it): unreadable %ld, illegal %ld, ambiguous %ld\n", max_ply,
                s.games_cut[MOVE_UNREADABLE], s.games_cut[MOVE_ILLEGAL], s.games_cut[MOVE_AMBIGUOUS]);
    std::printf("skipped: another start position %ld, no moves %ld\n", s.skipped_other_start, s.skipped_no_moves);
    std::printf("games without a result (counted in occurrences only) %ld\n", s.games_without_result);
    std::printf("positions counted %ld, distinct %ld, records written %ld (seen in at least %d games)\n", s.positions,
                s.distinct, s.records, min_games);
    std::printf("%s/sg.hash %ld bytes, %s/sg.data %ld bytes, %d ms\n", dir.c_str(), s.index_bytes, dir.c_str(),
                s.data_bytes, ms);
}

int build(int argc, char** argv) {
    std::string out = ".";
    int max_ply = DEFAULT_BOOK_MAX_PLY, min_games = DEFAULT_BOOK_MIN_GAMES;
    std::vector<std::string> files;
    for (int i = 0; i < argc; ++i) {
        const std::string a = argv[i];
        const bool has_value = i + 1 < argc;
        if (a == "--out" && has_value) out = argv[++i];
        else if (a == "--max-ply" && has_value) {
            if (!parse_count(argv[++i], 1, MAX_BOOK_PLY, max_ply)) {
                std::fprintf(stderr, "book build: --max-ply must be a whole number from 1 to %d\n", MAX_BOOK_PLY);
                return 2;
            }
        } else if (a == "--min-games" && has_value) {
            if (!parse_count(argv[++i], 1, 1000000000, min_games)) {
                std::fprintf(stderr, "book build: --min-games must be a whole number of at least 1\n");
                return 2;
            }
        } else if (a.size() > 2 && a.compare(0, 2, "--") == 0) {
            std::fprintf(stderr, "book build: unknown or incomplete option %s\n%s", a.c_str(), USAGE);
            return 2;
        } else {
            files.push_back(a);
        }
    }
    if (files.empty()) {
        std::fprintf(stderr, "book build: no game files given\n%s", USAGE);
        return 2;
    }

    BookBuilder builder(max_ply, min_games);
    progress_t progress;
    for (const std::string& path : files) {
        std::string error;
        text_encoding enc;
        long bad = 0;
        const long before = builder.stats.games_read;
        const bool read = read_game_file(path, [&](const pgn_game_t& g) {
            builder.add_game(g);
            progress.tick(builder.stats.games_read);
        }, error, enc, bad);
        if (!read) {
            std::fprintf(stderr, "book build: %s: %s; nothing written\n", path.c_str(), error.c_str());
            return 1;
        }
        report_file(path, enc, bad);
        if (builder.stats.games_read == before) std::fprintf(stderr, "%s: no games found\n", path.c_str());
    }
    const std::vector<book_record_t> records = builder.records();
    std::string error;
    const bool written = builder.write(out, records, error);
    print_summary(builder.stats, max_ply, min_games, out, platform::clock_ms() - progress.started);
    if (!written) {
        std::fprintf(stderr, "book build: %s\n", error.c_str());
        return 1;
    }
    return 0;
}

int moves(int argc, char** argv) {
    if (argc < 1) {
        std::fprintf(stderr, "book moves: no game files given\n%s", USAGE);
        return 2;
    }
    auto engine = std::make_unique<CountEx>();
    int status = 0;
    for (int i = 0; i < argc; ++i) {
        std::string error;
        text_encoding enc;
        long bad = 0;
        const bool read = read_game_file(argv[i], [&](const pgn_game_t& g) {
            std::string line = result_text(g.result);
            if (!starts_from_initial_array(g)) {
                std::printf("%s ; skipped: starts from another position\n", line.c_str());
                return;
            }
            const replay_result_t r = replay_game(*engine, g, static_cast<int>(g.moves.size()), [&](const move_t& m) {
                char ucci[8];
                move_to_ucci(m, ucci);
                line += ' ';
                line += ucci;
            });
            if (r.stop != MOVE_READ) {
                line += " ; stopped at move " + std::to_string(r.plies + 1) + ": " + g.moves[static_cast<size_t>(r.plies)];
            }
            std::printf("%s\n", line.c_str());
        }, error, enc, bad);
        if (!read) {
            std::fprintf(stderr, "book moves: %s: %s\n", argv[i], error.c_str());
            status = 1;
            continue;
        }
        report_file(argv[i], enc, bad);
    }
    return status;
}

}  // namespace

int book_command(int argc, char** argv) {
    if (argc >= 1 && std::strcmp(argv[0], "build") == 0) return build(argc - 1, argv + 1);
    if (argc >= 1 && std::strcmp(argv[0], "moves") == 0) return moves(argc - 1, argv + 1);
    std::fprintf(stderr, "%s", USAGE);
    return 2;
}
