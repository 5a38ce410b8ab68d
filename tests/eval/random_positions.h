// Random position strings for the evaluation tests.
#pragma once
#include <random>
#include <set>
#include <string>
#include <vector>

#include "board/geometry.h"
#include "board/move.h"

// Random placements: kings in their palaces, advisors and elephants on their
// points, pawns where pawns can stand, the other pieces anywhere.
class RandomPositions {
public:
    explicit RandomPositions(unsigned seed) : rng_(seed) {}

    // With `near_palace`, attacking pieces and pawns favour the squares around the enemy palace.
    std::string next(double density, bool near_palace = false) {
        std::set<int> used;
        std::string out;
        std::bernoulli_distribution present(density);
        for (int j = 1; j <= 32; ++j) {
            const int side = j <= 16 ? RED : BLACK;
            const int slot = (j - 1) % 16 + 1;  // 1..5 pawns, 6-7 cannons, 8-9 horses, 10-11 rooks,
                                               // 12-13 elephants, 14-15 advisors, 16 king
            int square = 0;
            if (slot == 16 || present(rng_)) {
                // Near the palace the defenders mostly keep their home squares.
                const bool steered = near_palace && std::bernoulli_distribution(0.7)(rng_);
                const std::vector<int> domain = !steered      ? squares_for(slot, side)
                                                : slot <= 11 ? around_enemy_palace(side)
                                                             : home_squares(slot, side);
                for (int tries = 0; tries < 50 && square == 0; ++tries) {
                    const int s = domain[std::uniform_int_distribution<size_t>(0, domain.size() - 1)(rng_)];
                    if (!used.count(s)) square = s;
                }
                if (square) used.insert(square);
            }
            out += std::to_string(square) + " ";
        }
        return out;
    }

private:
    static int own_rank(int side, int r) { return side == RED ? r : 9 - r; }

    static std::vector<int> around_enemy_palace(int side) {
        std::vector<int> d;
        for (int f = 2; f <= 6; ++f)
            for (int r = 0; r < 10; ++r)
                if (own_rank(side, r) <= 3) d.push_back(make_square(f, r));
        return d;
    }

    // The king's, advisors' and elephants' squares of the start position and the palace centre.
    static std::vector<int> home_squares(int slot, int side) {
        auto at = [side](int f, int rr) { return make_square(f, side == RED ? rr : 9 - rr); };
        if (slot == 16) return {at(4, 9)};
        if (slot >= 14) return {at(3, 9), at(5, 9), at(4, 8)};
        return {at(2, 9), at(6, 9), at(4, 7)};
    }

    std::vector<int> squares_for(int slot, int side) const {
        std::vector<int> d;
        for (int f = 0; f < 9; ++f) {
            for (int r = 0; r < 10; ++r) {
                const int rr = own_rank(side, r);  // 9 = own back rank
                bool ok = true;
                if (slot == 16) ok = f >= 3 && f <= 5 && rr >= 7;
                else if (slot >= 14) ok = (f == 4 && rr == 8) || ((f == 3 || f == 5) && (rr == 7 || rr == 9));
                else if (slot >= 12) ok = ((f == 0 || f == 4 || f == 8) && rr == 7) || ((f == 2 || f == 6) && (rr == 5 || rr == 9));
                else if (slot <= 5) ok = rr <= 4 || ((rr == 5 || rr == 6) && f % 2 == 0);
                if (ok) d.push_back(make_square(f, r));
            }
        }
        return d;
    }

    std::mt19937 rng_;
};
