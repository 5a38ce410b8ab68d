#include "book/hash_book.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <new>

#include "platform/replace_file.h"

namespace {

// The heap block behind hash_book.image: the file image first, then where to save it.
struct hash_book_block_t {
    uint8_t image[HASH_BOOK_BYTES];
    bool saveable;
    char path[4096];
};

hash_book_block_t* block_of(const Count& e) {
    return reinterpret_cast<hash_book_block_t*>(e.hash_book.image);
}

uint8_t* entry_bytes(Count& e, uint32_t key, int slot) {
    const uint32_t bucket = key % HASH_BOOK_BUCKETS;
    return e.hash_book.image + (bucket * HASH_BOOK_SLOTS + slot) * HASH_BOOK_ENTRY_BYTES;
}

uint32_t get32(const uint8_t* p) {
    return p[0] | static_cast<uint32_t>(p[1]) << 8 | static_cast<uint32_t>(p[2]) << 16 |
           static_cast<uint32_t>(p[3]) << 24;
}

void put32(uint8_t* p, uint32_t v) {
    for (int i = 0; i < 4; ++i) p[i] = static_cast<uint8_t>(v >> (8 * i));
}

hash_book_entry_t read_entry(const uint8_t* p) {
    hash_book_entry_t x;
    x.lock = get32(p);
    x.depth = static_cast<int8_t>(p[4]);
    x.value = static_cast<int16_t>(p[6] | p[7] << 8);
    x.time = get32(p + 8);
    return x;
}

// Depth, value and time; the lock and the reserved byte stay.
void write_result(uint8_t* p, const hash_book_entry_t& x) {
    p[4] = static_cast<uint8_t>(x.depth);
    p[6] = static_cast<uint8_t>(x.value);
    p[7] = static_cast<uint8_t>(static_cast<uint16_t>(x.value) >> 8);
    put32(p + 8, x.time);
}

}  // namespace

bool hash_book_probe(Count& e, uint32_t key, hash_book_entry_t& probe) {
    if (e.hash_book.image == nullptr) return false;
    bool taken = false;
    for (int slot = 0; slot < HASH_BOOK_SLOTS; ++slot) {
        const hash_book_entry_t x = read_entry(entry_bytes(e, key, slot));
        if (x.lock == 0 || x.lock != probe.lock) continue;
        if (x.depth < probe.depth && x.time < probe.time) continue;
        if ((x.depth == probe.depth || x.time == probe.time) && x.value < probe.value) continue;
        probe.depth = x.depth;
        probe.value = x.value;
        probe.time = x.time;
        taken = true;
    }
    return taken;
}

void hash_book_store(Count& e, uint32_t key, const hash_book_entry_t& entry) {
    if (e.hash_book.image == nullptr) return;
    const hash_book_entry_t first = read_entry(entry_bytes(e, key, 0));
    int candidate = 0;
    int8_t d = first.depth;
    uint32_t t = first.time;
    for (int slot = 0; slot < HASH_BOOK_SLOTS; ++slot) {
        uint8_t* p = entry_bytes(e, key, slot);
        const hash_book_entry_t x = read_entry(p);
        if (d > x.depth || t > x.time) {
            candidate = slot;
            d = x.depth;
            t = x.time;
        }
        // An entry of the same position is updated unless it is both deeper and slower.
        if (x.lock == entry.lock && !(x.depth > entry.depth && x.time > entry.time)) {
            write_result(p, entry);
            return;
        }
    }
    if (d > entry.depth && t > entry.time) return;
    uint8_t* p = entry_bytes(e, key, candidate);
    std::memset(p, 0, HASH_BOOK_ENTRY_BYTES);
    put32(p, entry.lock);
    write_result(p, entry);
}

void hash_book_load(Count& e, const std::string& path) {
    if (e.hash_book.image != nullptr) return;
    auto* block = new (std::nothrow) hash_book_block_t{};
    if (block == nullptr) {
        std::fprintf(stderr, "no memory for the hash book: it is not used\n");
        return;
    }
    e.hash_book.image = block->image;
    e.hash_book.file = nullptr;  // not held open: the save writes a new file
    e.hash_book.bucket_count = HASH_BOOK_BUCKETS;

    FILE* f = nullptr;
    if (path.size() < sizeof(block->path)) {
        std::memcpy(block->path, path.c_str(), path.size() + 1);
        f = std::fopen(path.c_str(), "rb+");
        block->saveable = f != nullptr;
        if (f == nullptr && errno == ENOENT) {
            f = std::fopen(path.c_str(), "wb+");
            block->saveable = f != nullptr;
        }
        if (f == nullptr) f = std::fopen(path.c_str(), "rb");  // read-only: use, but do not save
    }
    if (f != nullptr) {
        // Read as far as the file goes; a short one leaves the rest of the image empty.
        const size_t got = std::fread(block->image, 1, HASH_BOOK_BYTES, f);
        (void)got;
        std::fclose(f);
    }
    if (!block->saveable) {
        std::fprintf(stderr, "cannot open or create %s: the hash book is kept in memory and not saved\n",
                     path.c_str());
    }
}

void hash_book_save(Count& e) {
    hash_book_block_t* block = block_of(e);
    if (block == nullptr) return;
    if (block->saveable && !platform::replace_file(block->path, block->image, HASH_BOOK_BYTES)) {
        std::fprintf(stderr, "cannot save %s: the file keeps its earlier contents\n", block->path);
    }
    delete block;
    e.hash_book.image = nullptr;
    e.hash_book.file = nullptr;
}
