// "hashbook.bin" on disk: created by the first save only, a wrong size said
// once, a file longer than the table kept, links followed, odd files refused.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <sys/stat.h>

#include "board/engine.h"
#include "book/hash_book.h"
#include "book/read_file.h"
#include "engine_process.h"

namespace {

namespace fs = std::filesystem;

std::string pattern(size_t size) {
    std::string bytes(size, '\0');
    for (size_t i = 0; i < size; ++i) bytes[i] = static_cast<char>(i * 13 + 5);
    return bytes;
}

size_t count(const std::string& text, const std::string& what) {
    size_t n = 0;
    for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
    return n;
}

// One load and save of the file at `path`; returns what was said on stderr.
std::string load_and_save(const std::string& path, bool store = false) {
    auto e = std::make_unique<CountEx>();
    testing::internal::CaptureStderr();
    hash_book_load(*e, path);
    if (store) hash_book_store(*e, 1000, {7, 12, -250, 4321});
    hash_book_save(*e);
    return testing::internal::GetCapturedStderr();
}

TEST(HashBookFile, WrongSizeIsSaidOnceAndALongerFileIsKept) {
    for (const size_t size : {size_t{0}, size_t{100}, size_t{4080}, size_t{4081}, size_t{100000}}) {
        TempDir dir;
        const std::string path = dir.file("hashbook.bin");
        const std::string before = pattern(size);
        std::ofstream(path, std::ios::binary) << before;
        const std::string err = load_and_save(path);
        EXPECT_EQ(count(err, "not 4080"), size == 4080 ? 0u : 1u) << size << ": " << err;
        const std::string after = read_file(path);
        ASSERT_EQ(after.size(), 4080u) << size;
        EXPECT_EQ(after.substr(0, size), before.substr(0, 4080)) << size << ": the bytes read are saved back";
        if (size > 4080) {
            EXPECT_EQ(read_file(path + ".old"), before) << size;
            // A second stranger does not overwrite the first copy.
            std::ofstream(path, std::ios::binary) << pattern(5000);
            load_and_save(path);
            EXPECT_EQ(read_file(path + ".old"), before) << size;
            EXPECT_EQ(read_file(path + ".old.1"), pattern(5000)) << size;
        } else {
            EXPECT_FALSE(fs::exists(path + ".old")) << size;
        }
        EXPECT_EQ(load_and_save(path), "") << size << ": a file of the right size is not mentioned";
    }
}

TEST(HashBookFile, ALinkIsWrittenThrough) {
    TempDir dir;
    fs::create_directory(dir.file("real"));
    const std::string link = dir.file("hashbook.bin"), target = dir.file("real/table");
    fs::create_symlink("real/table", link);

    // A link to nothing: said, and neither the link nor a new file appears.
    EXPECT_NE(load_and_save(link, true).find("link to a missing file"), std::string::npos);
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_FALSE(fs::exists(target));

    std::ofstream(target, std::ios::binary) << std::string(4080, '\0');
    EXPECT_EQ(load_and_save(link, true), "");
    EXPECT_TRUE(fs::is_symlink(link)) << "the link stays";
    const std::string saved = read_file(target);
    ASSERT_EQ(saved.size(), 4080u);
    EXPECT_EQ(saved[65 * 48], 7) << "the stored entry went into the linked file";
}

TEST(HashBookFile, WhatIsNotARegularFileIsNeitherReadNorReplaced) {
    for (const bool fifo : {true, false}) {
        TempDir dir;
        const std::string path = dir.file("hashbook.bin");
        if (fifo) ASSERT_EQ(mkfifo(path.c_str(), 0644), 0);  // no writer: opening it to read would wait for ever
        else fs::create_directory(path);
        EXPECT_NE(load_and_save(path, true).find("not a regular file"), std::string::npos) << fifo;
        EXPECT_EQ(fifo, fs::is_fifo(path));
        EXPECT_EQ(!fifo, fs::is_directory(path));
    }
}

}  // namespace
