// The hash book: probe and replacement rules, the stored bytes and the file.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "board/engine.h"
#include "book/hash_book.h"
#include "book/read_file.h"
#include "engine_process.h"

namespace {

constexpr uint32_t KEY = 1000;  // bucket 1000 mod 85 = 65
constexpr int BUCKET = 65;

using Entry = hash_book_entry_t;

// The stored form of one entry, written byte by byte (little-endian).
void put_entry(Count& e, int bucket, int slot, const Entry& x) {
    uint8_t* p = e.hash_book.image + (bucket * 4 + slot) * 12;
    for (int i = 0; i < 4; ++i) p[i] = static_cast<uint8_t>(x.lock >> (8 * i));
    p[4] = static_cast<uint8_t>(x.depth);
    p[6] = static_cast<uint8_t>(x.value);
    p[7] = static_cast<uint8_t>(static_cast<uint16_t>(x.value) >> 8);
    for (int i = 0; i < 4; ++i) p[8 + i] = static_cast<uint8_t>(x.time >> (8 * i));
}

Entry get_entry(const Count& e, int bucket, int slot) {
    const uint8_t* p = e.hash_book.image + (bucket * 4 + slot) * 12;
    Entry x;
    x.lock = p[0] | p[1] << 8 | p[2] << 16 | static_cast<uint32_t>(p[3]) << 24;
    x.depth = static_cast<int8_t>(p[4]);
    x.value = static_cast<int16_t>(p[6] | p[7] << 8);
    x.time = p[8] | p[9] << 8 | p[10] << 16 | static_cast<uint32_t>(p[11]) << 24;
    return x;
}

bool same(const Entry& a, const Entry& b) {
    return a.lock == b.lock && a.depth == b.depth && a.value == b.value && a.time == b.time;
}

class HashBook : public ::testing::Test {
protected:
    void SetUp() override { hash_book_load(*e, dir.file("hashbook.bin")); }
    void TearDown() override { hash_book_save(*e); }
    void fill(const std::vector<Entry>& slots) {
        for (size_t i = 0; i < slots.size(); ++i) put_entry(*e, BUCKET, static_cast<int>(i), slots[i]);
    }
    TempDir dir;
    std::unique_ptr<CountEx> e = std::make_unique<CountEx>();
};

TEST_F(HashBook, ProbeRules) {
    struct Case {
        const char* what;
        std::vector<Entry> bucket;
        Entry probe;
        bool taken;
        Entry after;
    } cases[] = {
        {"the driver's probe takes any entry", {{7, 5, 100, 1000}}, {7, 0, 0, 0}, true, {7, 5, 100, 1000}},
        {"shallower and faster: skipped", {{7, 5, 100, 1000}}, {7, 6, 0, 2000}, false, {7, 6, 0, 2000}},
        {"same depth, lower value: skipped", {{7, 5, 100, 1000}}, {7, 5, 101, 0}, false, {7, 5, 101, 0}},
        {"same depth, equal value: taken", {{7, 5, 100, 1000}}, {7, 5, 100, 0}, true, {7, 5, 100, 1000}},
        {"same time, lower value: skipped", {{7, 1, 100, 1000}}, {7, 9, 200, 1000}, false, {7, 9, 200, 1000}},
        {"shallower but slower: taken", {{7, 4, -300, 3000}}, {7, 5, 900, 2000}, true, {7, 4, -300, 3000}},
        {"other lock: not seen", {{8, 5, 100, 1000}}, {7, 0, 0, 0}, false, {7, 0, 0, 0}},
        {"lock 0 is empty, even for a probe with lock 0", {{0, 5, 100, 1000}}, {0, 0, 0, 0}, false, {0, 0, 0, 0}},
        {"later entries meet the updated probe: worse value at the same depth",
         {{7, 5, 100, 1000}, {7, 5, 50, 2000}}, {7, 0, 0, 0}, true, {7, 5, 100, 1000}},
        {"later entries meet the updated probe: deeper and slower wins",
         {{7, 5, 100, 1000}, {9, 1, 1, 1}, {7, 6, -50, 2000}}, {7, 0, 0, 0}, true, {7, 6, -50, 2000}},
    };
    for (const auto& c : cases) {
        fill({{0, 0, 0, 0}, {0, 0, 0, 0}, {0, 0, 0, 0}, {0, 0, 0, 0}});
        fill(c.bucket);
        Entry p = c.probe;
        EXPECT_EQ(hash_book_probe(*e, KEY, p), c.taken) << c.what;
        EXPECT_TRUE(same(p, c.after)) << c.what;
    }
    // The bucket is the key modulo 85.
    fill({{7, 5, 100, 1000}});
    Entry p{7, 0, 0, 0};
    EXPECT_TRUE(hash_book_probe(*e, KEY + 85, p));
    p = {7, 0, 0, 0};
    EXPECT_FALSE(hash_book_probe(*e, KEY + 1, p));
}

TEST_F(HashBook, StoreRules) {
    const Entry empty{0, 0, 0, 0};
    struct Case {
        const char* what;
        std::vector<Entry> before;
        Entry store;
        std::vector<Entry> after;
    } cases[] = {
        {"empty bucket: slot 0", {empty, empty, empty, empty}, {7, 8, 10, 500}, {{7, 8, 10, 500}, empty, empty, empty}},
        {"next store goes to the first empty slot",
         {{7, 8, 10, 500}, empty, empty, empty}, {9, 8, 20, 600},
         {{7, 8, 10, 500}, {9, 8, 20, 600}, empty, empty}},
        {"same lock, deeper: updated in place",
         {{9, 8, 20, 600}, {7, 8, 10, 500}, empty, empty}, {7, 9, -40, 400},
         {{9, 8, 20, 600}, {7, 9, -40, 400}, empty, empty}},
        {"same lock, shallower but slower: updated in place",
         {{7, 10, 10, 500}, empty, empty, empty}, {7, 8, 30, 900},
         {{7, 8, 30, 900}, empty, empty, empty}},
        {"same lock, shallower and faster: a second entry with the lock",
         {{7, 10, 10, 5000}, empty, empty, empty}, {7, 8, 30, 100},
         {{7, 10, 10, 5000}, {7, 8, 30, 100}, empty, empty}},
        {"candidate: each entry shallower or faster than the one so far takes its place",
         {{1, 10, 0, 100}, {2, 5, 0, 9000}, {3, 12, 0, 50}, {4, 20, 0, 8000}}, {7, 11, 1, 60},
         {{1, 10, 0, 100}, {2, 5, 0, 9000}, {7, 11, 1, 60}, {4, 20, 0, 8000}}},
        {"shallower and faster than the candidate of a full bucket: refused",
         {{1, 10, 0, 1000}, {2, 11, 0, 2000}, {3, 12, 0, 3000}, {4, 13, 0, 4000}}, {7, 8, 5, 500},
         {{1, 10, 0, 1000}, {2, 11, 0, 2000}, {3, 12, 0, 3000}, {4, 13, 0, 4000}}},
        {"as deep as the candidate: replaces it",
         {{1, 10, 0, 1000}, {2, 11, 0, 2000}, {3, 12, 0, 3000}, {4, 13, 0, 4000}}, {7, 10, 5, 500},
         {{7, 10, 5, 500}, {2, 11, 0, 2000}, {3, 12, 0, 3000}, {4, 13, 0, 4000}}},
    };
    for (const auto& c : cases) {
        fill(c.before);
        hash_book_store(*e, KEY, c.store);
        for (int slot = 0; slot < 4; ++slot) {
            EXPECT_TRUE(same(get_entry(*e, BUCKET, slot), c.after[slot])) << c.what << ", slot " << slot;
        }
    }
}

TEST_F(HashBook, StoredBytesAreLittleEndianWithTheReservedByteCleared) {
    e->hash_book.image[BUCKET * 48 + 5] = 0xAB;  // reserved byte of slot 0, left by an old entry
    hash_book_store(*e, KEY, {0x01020304, -3, -2, 0x89ABCDEF});
    const uint8_t expected[12] = {0x04, 0x03, 0x02, 0x01, 0xFD, 0x00, 0xFE, 0xFF, 0xEF, 0xCD, 0xAB, 0x89};
    EXPECT_EQ(std::memcmp(e->hash_book.image + BUCKET * 48, expected, 12), 0);
    Entry p{0x01020304, -128, -32768, 0};
    EXPECT_TRUE(hash_book_probe(*e, KEY, p));
    EXPECT_TRUE(same(p, {0x01020304, -3, -2, 0x89ABCDEF}));
    // Times compare unsigned: 0x89ABCDEF is slower than 1.
    hash_book_store(*e, KEY, {0x01020304, -4, 9, 1});
    EXPECT_TRUE(same(get_entry(*e, BUCKET, 0), {0x01020304, -3, -2, 0x89ABCDEF}));
}

TEST_F(HashBook, SaveAndReload) {
    EXPECT_FALSE(std::filesystem::exists(dir.file("hashbook.bin")));  // created by the first save
    hash_book_store(*e, KEY, {7, 12, -250, 4321});
    hash_book_store(*e, 3, {9, 8, 77, 10});
    hash_book_save(*e);
    const std::string bytes = read_file(dir.file("hashbook.bin"));
    ASSERT_EQ(bytes.size(), 4080u);
    EXPECT_EQ(bytes[BUCKET * 48], 7);

    auto other = std::make_unique<CountEx>();
    hash_book_load(*other, dir.file("hashbook.bin"));
    EXPECT_EQ(std::memcmp(other->hash_book.image, bytes.data(), 4080), 0);
    Entry p{7, 0, 0, 0};
    EXPECT_TRUE(hash_book_probe(*other, KEY, p));
    EXPECT_TRUE(same(p, {7, 12, -250, 4321}));
    hash_book_save(*other);

    // Only the bytes a short file holds are read; the save writes the full image again.
    std::ofstream(dir.file("hashbook.bin"), std::ios::binary).write(bytes.data(), BUCKET * 48 + 4);
    hash_book_load(*other, dir.file("hashbook.bin"));
    EXPECT_EQ(get_entry(*other, BUCKET, 0).lock, 7u);
    EXPECT_EQ(get_entry(*other, BUCKET, 0).depth, 0);
    hash_book_save(*other);
    EXPECT_EQ(read_file(dir.file("hashbook.bin")).size(), 4080u);
}

TEST(HashBookFile, UnwritablePlaceKeepsTheBookInMemory) {
    TempDir dir;
    std::ofstream(dir.file("plain")) << "x";
    const std::string path = dir.file("plain") + "/hashbook.bin";  // cannot be created
    auto e = std::make_unique<CountEx>();
    testing::internal::CaptureStderr();
    hash_book_load(*e, path);
    hash_book_store(*e, KEY, {7, 12, -250, 4321});
    Entry p{7, 0, 0, 0};
    EXPECT_TRUE(hash_book_probe(*e, KEY, p));
    hash_book_save(*e);
    const std::string err = testing::internal::GetCapturedStderr();
    const std::string note = "kept in memory and not saved";
    ASSERT_NE(err.find(note), std::string::npos);
    EXPECT_EQ(err.find(note, err.find(note) + 1), std::string::npos) << "said once";
    EXPECT_EQ(err.find("cannot save"), std::string::npos) << "no attempt to save";
    EXPECT_EQ(e->hash_book.image, nullptr);
}

TEST(HashBookFile, FailedSaveLeavesNoTemporaryFile) {
    TempDir dir;
    auto e = std::make_unique<CountEx>();
    hash_book_load(*e, dir.file("hashbook.bin"));
    std::filesystem::create_directory(dir.file("hashbook.bin"));  // the rename over it fails
    testing::internal::CaptureStderr();
    hash_book_save(*e);
    EXPECT_NE(testing::internal::GetCapturedStderr().find("cannot save"), std::string::npos);
    int entries = 0;
    for (const auto& f : std::filesystem::directory_iterator(dir.path())) {
        ++entries;
        EXPECT_EQ(f.path().filename(), "hashbook.bin");
    }
    EXPECT_EQ(entries, 1);
}

}  // namespace
