// The engine object the fuzz harnesses share: set up once per process, with
// the hash keys of data/_prime.txt and small transposition tables. Protocol
// output goes nowhere, so that the fuzzer's own report stays readable.
#pragma once
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <unistd.h>

#include "board/engine.h"
#include "book/initialise.h"
#include "eval/evaluate.h"

inline Count& fuzz_engine() {
    static Count& e = [] () -> Count& {
        const int null = open("/dev/null", O_WRONLY);
        if (null < 0 || dup2(null, 1) < 0) std::abort();
        close(null);
        // The data directory holds the keys; no hash book is saved (the engine is never destroyed).
        if (initialise_engine(the_engine, 16, TAVOX_DATA_DIR) != 1) std::abort();
        return the_engine;
    }();
    return e;
}

// A file holding `size` bytes, read from its start; -1 when none can be made.
inline int bytes_as_file(const uint8_t* data, size_t size) {
    char path[] = "/tmp/tavox-fuzz.XXXXXX";
    const int fd = mkstemp(path);
    if (fd < 0) return -1;
    unlink(path);
    size_t done = 0;
    while (done < size) {
        const ssize_t n = write(fd, data + done, size - done);
        if (n <= 0) break;
        done += static_cast<size_t>(n);
    }
    lseek(fd, 0, SEEK_SET);
    return fd;
}
