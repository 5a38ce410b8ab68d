// The end of a session from outside: termination signals during a search and
// a GUI that closes the engine's output. The hash book must survive whole.
#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>

#include "book/read_file.h"
#include "engine_process.h"

namespace {

constexpr size_t HASH_BOOK_BYTES = 4080;

// A saved table of an earlier session: any 4,080 bytes that are not all zero.
std::string earlier_table() {
    std::string bytes(HASH_BOOK_BYTES, '\0');
    for (size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<char>(i * 7 + 1);
    return bytes;
}

// Names in the directory that start with "hashbook.bin" (the file and any leftover).
std::vector<std::string> hash_book_names(const std::string& dir) {
    std::vector<std::string> names;
    for (const auto& f : std::filesystem::directory_iterator(dir)) {
        const std::string name = f.path().filename().string();
        if (name.rfind("hashbook.bin", 0) == 0) names.push_back(name);
    }
    return names;
}

TEST(Signals, TerminationDuringASearchLeavesTheHashBookWhole) {
    for (const int sig : {SIGTERM, SIGINT}) {
        for (const bool saved_before : {false, true}) {
            EngineProcess p({}, true, [&](const std::string& dir) {
                if (saved_before) std::ofstream(dir + "/hashbook.bin", std::ios::binary) << earlier_table();
            });
            std::string line;
            p.send_line("ucci");
            ASSERT_TRUE(p.wait_for("ucciok", line));
            p.send_line("position midgamepos");
            p.send_line("go depth 30");
            std::this_thread::sleep_for(std::chrono::milliseconds(300));
            p.send_signal(sig);
            p.wait_exit(5000);
            ASSERT_TRUE(p.ended()) << sig;
            const auto names = hash_book_names(p.directory());
            if (saved_before) {
                EXPECT_EQ(names, std::vector<std::string>{"hashbook.bin"}) << sig;
                EXPECT_EQ(read_file(p.directory() + "/hashbook.bin"), earlier_table()) << sig;
            } else {
                EXPECT_TRUE(names.empty()) << sig << ": no file before the first save";
            }
        }
    }
}

// The GUI went away without "quit": the engine must not keep running, nor
// complain, nor leave a damaged file.
TEST(Signals, ClosedOutputEndsTheEngineQuietly) {
    EngineProcess p;
    std::string line;
    p.send_line("ucci");
    ASSERT_TRUE(p.wait_for("ucciok", line));
    p.close_output();
    p.send_line("position midgamepos");
    p.send_line("go depth 5");
    EXPECT_EQ(p.wait_exit(30000), 0);
    EXPECT_EQ(p.stderr_text(), "");
    EXPECT_EQ(read_file(p.directory() + "/hashbook.bin").size(), HASH_BOOK_BYTES);
    EXPECT_EQ(hash_book_names(p.directory()), std::vector<std::string>{"hashbook.bin"});
}

}  // namespace
