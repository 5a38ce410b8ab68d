// Writes the 2,520 position-hash numbers of "_prime.txt" to standard output:
// a fixed-seed splitmix64 stream, two signed 32-bit numbers (key, lock) per line
// for each piece type 1..14, rank 0..9 and file 0..8.
#include <cstdint>
#include <cstdio>

int main() {
    uint64_t state = 0x5441564F58ull;  // fixed seed: the tables must not change between builds
    auto next = [&state]() {
        uint64_t z = (state += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    };
    for (int i = 0; i < 1260; ++i) {
        const auto key = static_cast<int32_t>(static_cast<uint32_t>(next() >> 32));
        const auto lock = static_cast<int32_t>(static_cast<uint32_t>(next() >> 32));
        std::printf("%d %d\n", key, lock);
    }
    return 0;
}
