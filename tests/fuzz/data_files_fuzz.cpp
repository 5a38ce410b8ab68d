// Fuzzes the readers of the data files: the hash-key file "_prime.txt", the
// hash book "hashbook.bin" and the opening book "sg.hash" / "sg.data". The
// first byte chooses the file; the rest is its contents.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

#include "book/book_files.h"
#include "book/book_probe.h"
#include "book/hash_book.h"
#include "book/prime_keys.h"
#include "fuzz_engine.h"
#include "position/position_string.h"

namespace {

void require(bool ok) {
    if (!ok) std::abort();
}

// A directory of this process for the files under test, removed at exit.
char work_path[] = "/tmp/tavox-fuzz-files.XXXXXX";  // plain storage: still there for the exit handler

void remove_work_dir() {
    for (const char* name : {"/hashbook.bin", "/hashbook.bin.old", "/sg.hash", "/sg.data"})
        std::remove((std::string(work_path) + name).c_str());
    rmdir(work_path);
}

const std::string& work_dir() {
    static const std::string dir = [] {
        if (mkdtemp(work_path) == nullptr) std::abort();
        std::atexit(remove_work_dir);
        return std::string(work_path);
    }();
    return dir;
}

void write_file(const std::string& path, const uint8_t* data, size_t size) {
    FILE* f = std::fopen(path.c_str(), "wb");
    require(f != nullptr);
    require(std::fwrite(data, 1, size, f) == size || size == 0);
    std::fclose(f);
}

void fuzz_prime_keys(const uint8_t* data, size_t size) {
    auto e = std::make_unique<CountEx>();
    FILE* f = size > 0 ? fmemopen(const_cast<uint8_t*>(data), size, "r") : std::tmpfile();
    if (f == nullptr) return;
    const char* error = nullptr;
    if (!read_prime_keys(*e, f, &error)) require(error != nullptr && error[0] != '\0');
    std::fclose(f);
}

void fuzz_hash_book(const uint8_t* data, size_t size) {
    const std::string path = work_dir() + "/hashbook.bin";
    write_file(path, data, size);
    auto e = std::make_unique<CountEx>();
    hash_book_load(*e, path);
    for (size_t i = 0; i + 8 <= size && i < 256; i += 8) {
        uint32_t key, lock;
        std::memcpy(&key, data + i, 4);
        std::memcpy(&lock, data + i + 4, 4);
        hash_book_entry_t probe{lock, 0, 0, 0};
        hash_book_probe(*e, key, probe);
        hash_book_store(*e, key, {lock, static_cast<int8_t>(key), static_cast<int16_t>(lock), key ^ lock});
    }
    hash_book_save(*e);
    struct stat st {};
    require(stat(path.c_str(), &st) == 0 && st.st_size == HASH_BOOK_BYTES);
    std::remove((path + ".old").c_str());
}

// Every bucket of the index leads to offset 0 of the data file, so each
// probe walks a chain the fuzzer wrote.
void fuzz_opening_book(const uint8_t* data, size_t size) {
    static const bool index_ready = [] {
        const std::string index(4 * static_cast<size_t>(BOOK_INDEX_WORDS), '\0');
        write_file(work_dir() + "/sg.hash", reinterpret_cast<const uint8_t*>(index.data()), index.size());
        return true;
    }();
    (void)index_ready;
    write_file(work_dir() + "/sg.data", data, size);
    Count& e = fuzz_engine();
    open_book_files_in(work_dir().c_str());
    for (const char* fen : {"rnbakabnr/9/1c5c1/p1p1p1p1p/9/9/P1P1P1P1P/1C5C1/9/RNBAKABNR w",
                            "rnbakabnr/9/1c5c1/p1p1p1p1p/9/9/P1P1P1P1P/1C2C4/9/RNBAKABNR b"}) {
        char ps[POSITION_STRING_SIZE];
        int side = 0;
        require(fen_to_position_string(fen, ps, side));
        setup_position(e, ps, side);
        e.book_miss_count = 0;
        move_t out{};
        book_probe(e, out);
        require(e.ready_state == 1);
    }
    close_book_files();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0 || size > (1 << 20)) return 0;
    switch (data[0] % 3) {
        case 0: fuzz_prime_keys(data + 1, size - 1); break;
        case 1: fuzz_hash_book(data + 1, size - 1); break;
        default: fuzz_opening_book(data + 1, size - 1); break;
    }
    return 0;
}
