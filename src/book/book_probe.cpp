#include "book/book_probe.h"

#include <ctime>
#include <utility>

#include "board/check.h"
#include "board/make_move.h"
#include "board/repetition.h"
#include "board/movegen.h"
#include "book/book_files.h"
#include "book/book_key.h"
#include "book/book_option.h"
#include "book/book_refresh.h"
#include "platform/clock.h"

namespace {

uint32_t read_u32(const uint8_t* p) {
    return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 | static_cast<uint32_t>(p[2]) << 16 |
           static_cast<uint32_t>(p[3]) << 24;
}

// The counts stored with a position decide whether its move is worth playing.
bool accepted(uint32_t n, uint32_t tally_a, uint32_t tally_b) {
    if (n >= 9) return true;
    if (n >= 5) return tally_b == 0 || 8 * n >= 10 * tally_b;
    if (n >= 3) return tally_b == 0 || 7 * n >= 10 * tally_b;
    if (n == 2) return tally_b == 0 || tally_a > tally_b;
    return false;
}

}  // namespace

int book_candidate_choices(Count& e, book_choice_t* choices) {
    const int p = e.ply;
    int t = 0;
    int index = 0;
    const int side = e.side_to_move;
    const int root_repetition = check_repetition(e, 1 - side, false);
    for (move_t* m = e.ply_moves[0]; m < e.ply_moves[1] && index < BOOK_CANDIDATES; ++m, ++index) {
        // A book move must be playable: legal, not banned, and no forbidden repetition.
        if (is_banned_move(e, *m)) continue;
        make_move(e, *m);
        e.check_stack[e.ply] = in_check(e, 1 - side);
        if (in_check(e, side) != 0 || repetition_forbidden(check_repetition(e, side, false), root_repetition)) {
            unmake_move(e, *m);
            continue;
        }
        uint8_t key[BOOK_KEY_BYTES];
        book_position_key(e, key);
        const int32_t offset = book_lookup(key);
        uint8_t payload[BOOK_PAYLOAD_BYTES];
        if (offset >= 0 && book_read_payload(offset, payload) == BOOK_PAYLOAD_BYTES) {
            const uint32_t n = read_u32(payload);
            const int book_ply = payload[4];
            const uint32_t tally_a = read_u32(payload + 8), tally_b = read_u32(payload + 12);
            if (n != 0 && book_ply == p + 1 && accepted(n, tally_a, tally_b)) {
                choices[t++] = book_choice_t{n, index};
                book_candidate_t& candidate = e.book_candidates[index];
                candidate.occurrences = static_cast<int32_t>(n);
                candidate.tally_a = static_cast<int32_t>(tally_a);
                candidate.tally_b = static_cast<int32_t>(tally_b);
            }
        }
        unmake_move(e, *m);
    }

    // Bubble sort, largest first; equal counts keep the order of the move list.
    for (int pass = 0; pass < t; ++pass)
        for (int i = 0; i + 1 < t - pass; ++i)
            if (static_cast<int32_t>(choices[i].occurrences) < static_cast<int32_t>(choices[i + 1].occurrences))
                std::swap(choices[i], choices[i + 1]);

    if (t > 2) t = p != 0 ? 2 : (t > 6 ? 6 : t);
    if (t >= 2) {
        const int start = t;
        for (int i = start - 1; i >= 1; --i)
            if (choices[0].occurrences / choices[i].occurrences >= 3) t -= 1;
    }
    return t;
}

bool choose_book_move(Count& e, move_t& out) {
    e.best_line[0] = e.best_line[1] = move_t{};
    book_choice_t choices[BOOK_CANDIDATES];
    const int t = book_candidate_choices(e, choices);
    if (t == 0) return false;
    int k = t;
    if (choices[0].occurrences >= 9999) {
        k = 0;
        while (k < t && choices[k].occurrences >= 9999) ++k;
    }
    book_random_t random;
    random.seed(static_cast<uint32_t>(std::time(nullptr)));
    const int r = random.draw() % k;
    out = e.ply_moves[0][choices[r].index];
    out.score = 0;  // a book move is reported with score 0
    e.best_line[0] = out;
    e.best_line[1] = move_t{};
    return true;
}

int book_probe(Count& e, move_t& out) {
    if (e.ready_state != 1) return -1;
    out = move_t{};
    e.ready_state = 2;
    e.start_clock = platform::clock_ms();
    e.book_candidate_count = 0;
    for (book_candidate_t& candidate : e.book_candidates) {
        candidate.move = move_t{};
        candidate.occurrences = 0;
    }

    int result = 0;
    const bool use_book = e.book_option == nullptr || e.book_option->use_book;
    if (use_book && e.book_miss_count < 1) {
        e.ply_moves[0] = e.move_buffer;
        generate_moves(e, e.side_to_move, 0);
        for (move_t* m = e.ply_moves[0]; m < e.ply_moves[1] && e.book_candidate_count < BOOK_CANDIDATES; ++m) {
            book_candidate_t& candidate = e.book_candidates[e.book_candidate_count++];
            candidate.move = *m;
            candidate.occurrences = 0;
        }
        result = choose_book_move(e, out);
        if (!result) e.book_miss_count += 1;
    }
    const int n = e.book_candidate_count;
    for (int i = 0; i < n; ++i)
        for (int j = i + 1; j < n; ++j)
            if (e.book_candidates[i].occurrences < e.book_candidates[j].occurrences)
                std::swap(e.book_candidates[i], e.book_candidates[j]);
    e.ready_state = 1;
    return result;
}

int refresh_book_candidates(Count& e) {
    move_t discarded;
    return book_probe(e, discarded);
}
