#include "book/hash_book.h"

#include <cerrno>
#include <cstddef>
#include <cstdio>
#include <cstring>
#include <cstdlib>
#include <new>
#include <string>
#include <sys/stat.h>
#include <type_traits>
#include <unistd.h>

#include "platform/regular_file.h"
#include "platform/replace_file.h"
#include "platform/signals.h"

namespace {

// The heap block behind hash_book.image: the file image first, then where to save it.
struct hash_book_block_t {
    uint8_t image[HASH_BOOK_BYTES];
    bool saveable;
    bool keep_copy;  // the file was longer than ours: keep its bytes before replacing it
    char path[4096];
};
// The engine holds the address of the image, the block's first member: the
// block is found again from it.
static_assert(std::is_standard_layout_v<hash_book_block_t> && offsetof(hash_book_block_t, image) == 0,
              "the image opens the block");
static_assert(sizeof(hash_book_block_t::image) == HASH_BOOK_BYTES, "the image holds the whole file");

// The bytes of one entry: lock, depth, a reserved byte, value, time.
constexpr int ENTRY_LOCK = 0, ENTRY_DEPTH = 4, ENTRY_VALUE = 6, ENTRY_TIME = 8;
static_assert(ENTRY_TIME + 4 == HASH_BOOK_ENTRY_BYTES, "the time ends the entry");

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
    x.lock = get32(p + ENTRY_LOCK);
    x.depth = static_cast<int8_t>(p[ENTRY_DEPTH]);
    x.value = static_cast<int16_t>(p[ENTRY_VALUE] | p[ENTRY_VALUE + 1] << 8);
    x.time = get32(p + ENTRY_TIME);
    return x;
}

// Depth, value and time; the lock and the reserved byte stay.
void write_result(uint8_t* p, const hash_book_entry_t& x) {
    p[ENTRY_DEPTH] = static_cast<uint8_t>(x.depth);
    p[ENTRY_VALUE] = static_cast<uint8_t>(x.value);
    p[ENTRY_VALUE + 1] = static_cast<uint8_t>(static_cast<uint16_t>(x.value) >> 8);
    put32(p + ENTRY_TIME, x.time);
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
    put32(p + ENTRY_LOCK, entry.lock);
    write_result(p, entry);
}

namespace {

// Where the table is saved: through a symbolic link to the file it names.
// False (said on stderr) when the link leads nowhere.
bool resolve_link(const std::string& path, std::string& target) {
    struct stat st {};
    target = path;
    if (lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return true;
    char* resolved = realpath(path.c_str(), nullptr);
    if (resolved == nullptr) {
        std::fprintf(stderr, "%s is a link to a missing file: the hash book is kept in memory and not saved\n",
                     path.c_str());
        return false;
    }
    target = resolved;
    std::free(resolved);
    return true;
}

// Reads the file over the image and judges its size; false when it cannot be used as the save place.
bool read_existing(hash_book_block_t& block, const std::string& target) {
    FILE* f = nullptr;
    platform::open_result r = platform::open_regular_file(target, "rb+", f);
    bool writable = r == platform::open_result::opened;
    if (r == platform::open_result::failed) r = platform::open_regular_file(target, "rb", f);
    if (r == platform::open_result::missing) return true;  // created by the first save
    if (r == platform::open_result::not_regular) {
        std::fprintf(stderr, "%s is not a regular file: the hash book is kept in memory and not saved\n",
                     target.c_str());
        return false;
    }
    if (f == nullptr) {
        std::fprintf(stderr, "cannot open %s: the hash book is kept in memory and not saved\n", target.c_str());
        return false;
    }
    struct stat st {};
    const long long size = fstat(fileno(f), &st) == 0 ? static_cast<long long>(st.st_size) : -1;
    // Read as far as the file goes; a short one leaves the rest of the image empty.
    const size_t got = std::fread(block.image, 1, HASH_BOOK_BYTES, f);
    (void)got;
    std::fclose(f);
    if (writable && size != HASH_BOOK_BYTES) {
        block.keep_copy = size > HASH_BOOK_BYTES;
        std::fprintf(stderr, "%s holds %lld bytes, not %d: %s\n", target.c_str(), size, HASH_BOOK_BYTES,
                     block.keep_copy ? "its first bytes are used, and the file is kept as a copy ending in .old when the table is saved"
                                     : "it is read as far as it goes and written whole when the table is saved");
    }
    if (!writable) std::fprintf(stderr, "cannot write %s: the hash book is kept in memory and not saved\n", target.c_str());
    return writable;
}

// A file that may not be ours keeps its bytes under a new name (never over another file).
bool keep_copy_of(const std::string& target) {
    for (int n = 0; n < 100; ++n) {
        const std::string copy = target + (n == 0 ? std::string(".old") : ".old." + std::to_string(n));
        if (link(target.c_str(), copy.c_str()) == 0) return true;
        if (errno != EEXIST) break;
    }
    std::fprintf(stderr, "cannot keep a copy of %s: it is left as it is and the table is not saved\n", target.c_str());
    return false;
}

}  // namespace

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

    std::string target;
    if (path.size() >= sizeof(block->path) || !resolve_link(path, target) || target.size() >= sizeof(block->path)) return;
    std::memcpy(block->path, target.c_str(), target.size() + 1);
    block->saveable = read_existing(*block, target);
}

void hash_book_save(Count& e) {
    hash_book_block_t* block = block_of(e);
    if (block == nullptr) return;
    if (block->saveable) {
        // A kill while saving waits until the file is either the old or the new one.
        platform::TerminationShield shield;
        if ((!block->keep_copy || keep_copy_of(block->path)) &&
            !platform::replace_file(block->path, block->image, HASH_BOOK_BYTES)) {
            std::fprintf(stderr, "cannot save %s: the file keeps its earlier contents\n", block->path);
        }
    }
    delete block;
    e.hash_book.image = nullptr;
    e.hash_book.file = nullptr;
}
