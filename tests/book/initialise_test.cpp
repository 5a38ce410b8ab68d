// Engine initialisation: table sizes, "_prime.txt", "hashbook.bin", and the
// data files of the real binary.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <sys/stat.h>

#include "board/engine.h"
#include "book/hash_book.h"
#include "book/initialise.h"
#include "book/prime_keys.h"
#include "book/read_file.h"
#include "engine_process.h"
#include "search/tt.h"

namespace {

const std::string& prime_text() {
    static const std::string text = read_file(TAVOX_DATA_DIR "/_prime.txt");
    return text;
}

// Runs the body with the working directory changed, restoring it afterwards.
class WorkingDirectory {
public:
    explicit WorkingDirectory(const std::string& dir) : old_(std::filesystem::current_path()) {
        std::filesystem::current_path(dir);
    }
    ~WorkingDirectory() { std::filesystem::current_path(old_); }

private:
    std::filesystem::path old_;
};

// Reads `text` as a "_prime.txt"; the refusal reason goes to `error`.
bool read_primes(Count& e, const std::string& text, std::string& error) {
    FILE* f = std::tmpfile();
    std::fwrite(text.data(), 1, text.size(), f);
    std::rewind(f);
    const char* why = "";
    const bool ok = read_prime_keys(e, f, &why);
    std::fclose(f);
    error = why;
    return ok;
}

TEST(Initialise, TableSizeFollowsTheClampedHashSize) {
    const struct {
        int megabytes;
        int32_t entries;
    } cases[] = {{-5, 419430}, {8, 419430}, {16, 419430}, {32, 838860}, {33, 865075}, {512, 13421772}, {1000, 13421772}};
    for (const auto& c : cases) EXPECT_EQ(tt_entries_for_megabytes(c.megabytes), c.entries) << c.megabytes;
}

TEST(Initialise, PrimeFileTokens) {
    auto e = std::make_unique<CountEx>();
    std::string error;
    // Bound values and signs are accepted; the 2,521st token is never read.
    std::string text = "2147483647 -2147483648 +5\r\n" + prime_text() + " garbage";
    ASSERT_TRUE(read_primes(*e, text, error)) << error;
    EXPECT_EQ(e->zobrist_key_table[1][52], 2147483647u);
    EXPECT_EQ(e->zobrist_lock_table[1][52], 0x80000000u);
    EXPECT_EQ(e->zobrist_key_table[1][53], 5u);
    EXPECT_EQ(e->zobrist_key_table[0][52], 0u);

    const struct {
        std::string first;
        const char* reason;
    } bad[] = {
        {"12x", "not a signed 32-bit"},
        {"2147483648", "not a signed 32-bit"},
        {"-2147483649", "not a signed 32-bit"},
        {"abc", "not a signed 32-bit"},
        {"-", "not a signed 32-bit"},
        {std::string(70, '0') + "1", "not a signed 32-bit"},  // must not be split into two numbers
    };
    for (const auto& b : bad) {
        auto fresh = std::make_unique<CountEx>();
        EXPECT_FALSE(read_primes(*fresh, b.first + "\n" + prime_text(), error)) << b.first;
        EXPECT_NE(error.find(b.reason), std::string::npos) << b.first;
        EXPECT_EQ(fresh->zobrist_key_table[1][52], 0u) << "tables untouched";
    }
    // 2,519 numbers: refused.
    std::istringstream in(prime_text());
    std::string token, short_text;
    for (int i = 0; i < 2519 && in >> token; ++i) short_text += token + " ";
    EXPECT_FALSE(read_primes(*e, short_text, error));
    EXPECT_NE(error.find("fewer than 2520"), std::string::npos);
}

TEST(Initialise, ReadyTablesAndHashBook) {
    TempDir program;
    std::ofstream(program.file("_prime.txt")) << prime_text();
    auto e = std::make_unique<CountEx>();
    ASSERT_EQ(initialise_engine(*e, 8, program.path()), 1);
    EXPECT_EQ(e->ready_state, 1);
    EXPECT_EQ(e->tt_size, 419430);
    ASSERT_NE(e->tt_tables[0], nullptr);
    ASSERT_NE(e->tt_tables[1], nullptr);
    for (int32_t i : {0, 419429, 419430}) EXPECT_EQ(e->tt_tables[1][i].lower, -20000) << i;
    EXPECT_FALSE(std::filesystem::exists(program.file("hashbook.bin")));  // created by the first save
    const uint32_t first_key = e->zobrist_key_table[1][52];
    EXPECT_NE(first_key, 0u);

    tt_entry_t* const tables = e->tt_tables[0];
    hash_book_store(*e, 1000, {7, 12, -250, 4321});
    EXPECT_EQ(initialise_engine(*e, 32, program.path()), 0) << "only once";
    EXPECT_EQ(e->tt_tables[0], tables);
    EXPECT_EQ(e->tt_size, 419430);

    EXPECT_EQ(e->destroy(), 1);
    EXPECT_EQ(e->ready_state, 0);
    EXPECT_EQ(e->tt_tables[0], nullptr);
    EXPECT_EQ(e->hash_book.image, nullptr);
    EXPECT_EQ(e->destroy(), 1) << "repeatable";
    EXPECT_EQ(read_file(program.file("hashbook.bin")).size(), 4080u);

    // A new engine object finds the stored result again.
    auto next = std::make_unique<CountEx>();
    ASSERT_EQ(initialise_engine(*next, 16, program.path()), 1);
    hash_book_entry_t p{7, 0, 0, 0};
    EXPECT_TRUE(hash_book_probe(*next, 1000, p));
    EXPECT_EQ(p.value, -250);
}

TEST(Initialise, PrimeFileFromTheWorkingDirectoryWhenNotBesideTheProgram) {
    TempDir program, work;
    std::ofstream(work.file("_prime.txt")) << prime_text();
    WorkingDirectory cd(work.path());
    auto e = std::make_unique<CountEx>();
    ASSERT_EQ(initialise_engine(*e, 16, program.path()), 1);
    EXPECT_NE(e->zobrist_key_table[1][52], 0u);
    e->destroy();
    EXPECT_TRUE(std::filesystem::exists(program.file("hashbook.bin")));
}

TEST(Initialise, MissingOrShortPrimeFileFails) {
    TempDir program, work;
    WorkingDirectory cd(work.path());
    for (const bool present : {false, true}) {
        if (present) std::ofstream(program.file("_prime.txt")) << prime_text().substr(0, 200);
        auto e = std::make_unique<CountEx>();
        testing::internal::CaptureStderr();
        EXPECT_EQ(initialise_engine(*e, 16, program.path()), 0) << present;
        EXPECT_NE(testing::internal::GetCapturedStderr().find("_prime.txt"), std::string::npos);
        EXPECT_EQ(e->ready_state, 0);
        EXPECT_EQ(e->tt_tables[0], nullptr);
        EXPECT_EQ(e->tt_size, 0);
        EXPECT_EQ(e->hash_book.image, nullptr);
        EXPECT_FALSE(std::filesystem::exists(program.file("hashbook.bin")));
    }
}

// A FIFO without a writer would block the start for ever; a directory reads as nothing.
TEST(Initialise, PrimeFileThatIsNotARegularFileIsRefused) {
    for (const bool fifo : {true, false}) {
        TempDir program, work;
        std::ofstream(work.file("_prime.txt")) << prime_text();  // not taken in place of the damaged one
        WorkingDirectory cd(work.path());
        if (fifo) ASSERT_EQ(mkfifo(program.file("_prime.txt").c_str(), 0644), 0);
        else std::filesystem::create_directory(program.file("_prime.txt"));
        auto e = std::make_unique<CountEx>();
        testing::internal::CaptureStderr();
        EXPECT_EQ(initialise_engine(*e, 16, program.path()), 0) << fifo;
        EXPECT_NE(testing::internal::GetCapturedStderr().find("not a regular file"), std::string::npos) << fifo;
        EXPECT_EQ(e->ready_state, 0);
        EXPECT_EQ(e->tt_tables[0], nullptr);
    }
}

TEST(EngineBinary, FailsWithoutPrimeFile) {
    const EngineRun r = run_engine("ucci\nquit\n", {}, false);
    EXPECT_EQ(r.lines, std::vector<std::string>{"AI initializing failed..."});
    EXPECT_EQ(r.exit_code, 1);
    EXPECT_NE(r.err.find("_prime.txt"), std::string::npos);
}

TEST(EngineBinary, DataFilesAfterQuit) {
    EngineProcess p;
    p.send("ucci\nisready\nquit\n");
    p.close_input();
    p.read_all();
    ASSERT_EQ(p.wait_exit(), 0);
    const std::string book = read_file(p.directory() + "/hashbook.bin");
    EXPECT_EQ(book, std::string(4080, '\0'));
    const std::string index = read_file(p.directory() + "/sg.hash");
    EXPECT_EQ(index.size(), 2621440u);
    EXPECT_EQ(index.find_first_not_of('\xFF'), std::string::npos);
    EXPECT_TRUE(std::filesystem::exists(p.directory() + "/sg.data"));
    EXPECT_EQ(p.stderr_text(), "");
}

}  // namespace
