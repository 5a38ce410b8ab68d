#include "book/book_builder.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <sys/stat.h>

#include "book/book_files.h"
#include "book/game_replay.h"
#include "platform/replace_file.h"

namespace {

enum outcome_t : uint8_t { OUTCOME_UNKNOWN, OUTCOME_WON, OUTCOME_LOST, OUTCOME_DRAWN };

// The result of the game for the side that made ply `ply` (red makes the odd plies).
uint8_t outcome_for_mover(game_result r, int ply) {
    if (r == RESULT_NONE) return OUTCOME_UNKNOWN;
    if (r == RESULT_DRAW) return OUTCOME_DRAWN;
    const bool red_moved = ply % 2 == 1;
    return (r == RESULT_RED_WIN) == red_moved ? OUTCOME_WON : OUTCOME_LOST;
}

void put32(std::vector<uint8_t>& b, size_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i) b[at + static_cast<size_t>(i)] = static_cast<uint8_t>(v >> (8 * i));
}

}  // namespace

BookBuilder::BookBuilder(int max_ply, int min_games)
    : max_ply_(max_ply), min_games_(min_games), engine_(std::make_unique<CountEx>()) {}

void BookBuilder::add_game(const pgn_game_t& g) {
    ++stats.games_read;
    if (!starts_from_initial_array(g)) {
        ++stats.skipped_other_start;
        return;
    }
    if (g.moves.empty()) {
        ++stats.skipped_no_moves;
        return;
    }
    if (g.result == RESULT_NONE) ++stats.games_without_result;
    Count& e = *engine_;
    int ply = 0;
    const replay_result_t r = replay_game(e, g, max_ply_, [&](const move_t&) {
        ++ply;
        seen_t s;
        book_position_key(e, s.key);
        s.ply = static_cast<uint8_t>(ply);
        s.outcome = outcome_for_mover(g.result, ply);
        seen_.push_back(s);
    });
    if (r.stop == MOVE_READ) ++stats.games_used;
    else ++stats.games_cut[r.stop];
}

std::vector<book_record_t> BookBuilder::records() {
    auto by_key_and_ply = [](const seen_t& a, const seen_t& b) {
        const int c = std::memcmp(a.key, b.key, BOOK_KEY_BYTES);
        return c != 0 ? c < 0 : a.ply < b.ply;
    };
    std::sort(seen_.begin(), seen_.end(), by_key_and_ply);
    stats.positions = static_cast<long>(seen_.size());

    std::vector<book_record_t> out;
    book_record_t best{};
    bool have_key = false;
    auto keep_best = [&] {
        if (have_key && best.occurrences >= static_cast<uint32_t>(min_games_)) out.push_back(best);
    };
    for (size_t i = 0; i < seen_.size();) {
        book_record_t group{};
        std::memcpy(group.key, seen_[i].key, BOOK_KEY_BYTES);
        group.ply = seen_[i].ply;
        size_t j = i;
        for (; j < seen_.size() && seen_[j].ply == group.ply && std::memcmp(seen_[j].key, group.key, BOOK_KEY_BYTES) == 0; ++j) {
            ++group.occurrences;
            group.tally_a += seen_[j].outcome == OUTCOME_WON;
            group.tally_b += seen_[j].outcome == OUTCOME_LOST;
        }
        const bool same_key = have_key && std::memcmp(best.key, group.key, BOOK_KEY_BYTES) == 0;
        if (!same_key) {
            keep_best();
            best = group;
            have_key = true;
            ++stats.distinct;
        } else if (group.occurrences > best.occurrences) {
            best = group;  // plies ascend within a key, so a tie keeps the earlier ply
        }
        i = j;
    }
    keep_best();
    std::vector<seen_t>().swap(seen_);

    std::stable_sort(out.begin(), out.end(), [](const book_record_t& a, const book_record_t& b) {
        return book_bucket(a.key) < book_bucket(b.key);
    });
    stats.records = static_cast<long>(out.size());
    return out;
}

void book_images(const std::vector<book_record_t>& recs, std::vector<uint8_t>& index, std::vector<uint8_t>& data) {
    index.assign(4 * static_cast<size_t>(BOOK_INDEX_WORDS), 0xFF);
    data.assign(recs.size() * BOOK_RECORD_BYTES, 0);
    // Records of one bucket stand together; each chain runs forward through them.
    for (size_t i = 0; i < recs.size(); ++i) {
        const book_record_t& r = recs[i];
        const size_t at = i * BOOK_RECORD_BYTES;
        const uint32_t bucket = book_bucket(r.key);
        const bool first_of_bucket = i == 0 || book_bucket(recs[i - 1].key) != bucket;
        const bool last_of_bucket = i + 1 == recs.size() || book_bucket(recs[i + 1].key) != bucket;
        if (first_of_bucket) put32(index, 4 * static_cast<size_t>(bucket), static_cast<uint32_t>(at));
        std::memcpy(&data[at], r.key, BOOK_KEY_BYTES);
        put32(data, at + 32, last_of_bucket ? 0xFFFFFFFFu : static_cast<uint32_t>(at + BOOK_RECORD_BYTES));
        put32(data, at + 36, r.occurrences);
        data[at + 40] = r.ply;
        put32(data, at + 44, r.tally_a);
        put32(data, at + 48, r.tally_b);
    }
}

bool BookBuilder::write(const std::string& dir, const std::vector<book_record_t>& recs, std::string& error) {
    if (recs.empty()) {
        error = "no position was reached in at least " + std::to_string(min_games_) + " games; nothing written";
        return false;
    }
    // Chain offsets are signed 32-bit numbers.
    if (recs.size() > static_cast<size_t>(INT32_MAX / BOOK_RECORD_BYTES)) {
        error = "too many records for the book's 32-bit offsets; nothing written";
        return false;
    }
    struct stat st {};
    if (stat(dir.c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) {
        error = "no such directory: " + dir;
        return false;
    }
    std::vector<uint8_t> index, data;
    book_images(recs, index, data);
    const std::string index_path = dir + "/sg.hash", data_path = dir + "/sg.data";
    const std::string index_temp = platform::write_temp_file(index_path, index.data(), index.size());
    const std::string data_temp = index_temp.empty() ? "" : platform::write_temp_file(data_path, data.data(), data.size());
    // Both files are complete before either takes its name.
    if (index_temp.empty() || data_temp.empty() || std::rename(data_temp.c_str(), data_path.c_str()) != 0 ||
        std::rename(index_temp.c_str(), index_path.c_str()) != 0) {
        error = "cannot write the book into " + dir + ": " + std::strerror(errno);
        if (!index_temp.empty()) std::remove(index_temp.c_str());
        if (!data_temp.empty()) std::remove(data_temp.c_str());
        return false;
    }
    stats.index_bytes = static_cast<long>(index.size());
    stats.data_bytes = static_cast<long>(data.size());
    return true;
}
