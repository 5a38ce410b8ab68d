// The opening-book files: key, bucket rule, index and chained records, written
// here byte by byte in the stored layout.
#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <fstream>
#include <map>
#include <string>
#include <vector>

#include "book/book_files.h"
#include "book/book_key.h"
#include "book/book_writer.h"
#include "book/read_file.h"
#include "engine_process.h"
#include "position/position_string.h"
#include "test_engine.h"

namespace {

class BookFiles : public ::testing::Test {
protected:
    void TearDown() override { close_book_files(); }
    TempDir dir;
};

TEST(BookKey, StartPosition) {
    auto e = make_engine();
    setup_position(*e, START_POSITION_STRING, RED);
    Key key;
    book_position_key(*e, key.data());
    // rooks, horses, cannons, advisors, elephants, king, pawns: red, then black.
    const Key expected = {144, 152, 145, 151, 113, 119, 147, 149, 146, 150, 148, 96, 98, 100, 102, 104,
                          0,   8,   1,   7,   33,  39,  3,   5,   2,   6,   4,   48, 50, 52,  54,  56};
    EXPECT_EQ(key, expected);
    EXPECT_EQ(book_bucket(key.data()), 0xE6C5u);

    // A captured piece gives 0; the side to move is not part of the key.
    e->board[e->piece_square[RED_BASE + ROOK_OFFSET]] = EMPTY_SQUARE;
    e->piece_square[RED_BASE + ROOK_OFFSET] = 0;
    e->side_to_move = BLACK;
    book_position_key(*e, key.data());
    EXPECT_EQ(key[0], 0);
    EXPECT_EQ(key[1], 152);
}

TEST(BookKey, BucketMaskKeepsBits0To16And19) {
    struct Case {
        int byte;
        uint8_t value;
        uint32_t bucket;
        const char* what;
    } cases[] = {
        {0, 1, 0x1C755, "2213717 = 0x21C755: bit 21 cleared"},
        {1, 1, 0x181C6, "4424134 = 0x4381C6: bits 17 and 22 cleared"},
        {2, 1, 0x1A0EC, "1417452 = 0x15A0EC: bits 18 and 20 cleared"},
        {4, 1, 0x8FAF7, "8977143 = 0x88FAF7: bit 19 kept, bit 23 cleared"},
        {31, 2, 0x9A75E, "2 x 8311727 = 0xFDA75E: bits 16 and 19 kept, 18 and above 19 cleared"},
    };
    for (const auto& c : cases) {
        Key key{};
        key[c.byte] = c.value;
        EXPECT_EQ(book_bucket(key.data()), c.bucket) << c.what;
    }
    Key all{};
    all.fill(255);  // the sum 0xA350D585B wraps to 0x350D585B
    EXPECT_EQ(book_bucket(all.data()), 0x9585Bu);
    EXPECT_EQ(book_bucket(key_with(0).data()), 0u);
}

TEST_F(BookFiles, LookupWalksTheChainAndReadsThePayload) {
    const Key a = key_with(1), b = key_with(2), c = key_with(3);
    BookWriter w;
    w.add(key_with(9), -1);  // offset 0: in no chain
    const int32_t off_b = w.add(b, -1);
    const int32_t off_c = w.add(c, -1);
    const int32_t off_a = w.add(a, off_b);  // a -> b: b is found through a's bucket only
    w.heads[book_bucket(a.data())] = off_a;
    w.heads[book_bucket(c.data())] = off_c;
    w.write(dir.path());
    ASSERT_EQ(open_book_files_in(dir.path().c_str()), 1);

    EXPECT_EQ(book_lookup(a.data()), off_a);
    EXPECT_EQ(book_lookup(c.data()), off_c);
    EXPECT_EQ(book_lookup(key_with(7).data()), -1);  // empty bucket
    uint8_t payload[32];
    ASSERT_EQ(book_read_payload(off_a, payload), 32);
    for (int i = 0; i < 32; ++i) EXPECT_EQ(payload[i], 100 + i);
    EXPECT_LT(book_read_payload(off_a + 20, payload), 32);  // runs past the end
    EXPECT_EQ(book_read_payload(-1, payload), 0);
}

TEST_F(BookFiles, DamagedBooksMiss) {
    // Record 0 (key 6) at offset 0, record 1 at offset 68; the head is k's bucket word.
    const Key k = key_with(5), other = key_with(8);
    struct Case {
        const char* what;
        int32_t head, next0;
        bool record1_matches;
        int32_t next1;
        int cut;  // bytes cut from the end of sg.data
    } cases[] = {
        {"key not in the chain", 0, -1, true, -1, 0},
        {"negative head", -5, 68, true, -1, 0},
        {"head past the end", 10000, 68, true, -1, 0},
        {"next offset past the end", 0, 200, true, -1, 0},
        {"matching record 4 bytes short (its head still fits)", 68, -1, true, -1, 4},
        {"matching record 40 bytes short", 68, -1, true, -1, 40},
        {"chain looping back on itself", 0, 0, true, -1, 0},
        {"chain of two looping", 0, 68, false, 0, 0},
    };
    for (const auto& c : cases) {
        BookWriter w;
        w.add(key_with(6), c.next0);
        w.add(c.record1_matches ? k : other, c.next1);
        w.heads[book_bucket(k.data())] = c.head;
        w.write(dir.path(), w.data.size() - c.cut);
        ASSERT_EQ(open_book_files_in(dir.path().c_str()), 1) << c.what;
        EXPECT_EQ(book_lookup(k.data()), -1) << c.what;
        close_book_files();
    }
    // The sound chain does reach record 1.
    BookWriter w;
    w.add(key_with(6), 68);
    w.add(k, -1);
    w.heads[book_bucket(k.data())] = 0;
    w.write(dir.path());
    ASSERT_EQ(open_book_files_in(dir.path().c_str()), 1);
    EXPECT_EQ(book_lookup(k.data()), 68);
}

int count_of(const std::string& text, const std::string& part) {
    int n = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++n;
    return n;
}

TEST_F(BookFiles, ChainPastTheBoundIsCutAndReportedOncePerBook) {
    // A chain that runs forward through distinct records, never looping, with
    // k as its record number `k_at` (from 0).
    const Key k = key_with(5);
    struct Case {
        long k_at;
        bool found;
    } cases[] = {{MAX_BOOK_CHAIN - 1, true}, {MAX_BOOK_CHAIN, false}};
    for (const auto& c : cases) {
        BookWriter w;
        for (long i = 0; i <= c.k_at; ++i) {
            const int32_t next = i == c.k_at ? -1 : static_cast<int32_t>((i + 1) * BOOK_RECORD_BYTES);
            w.add(i == c.k_at ? k : key_with(6), next);
        }
        w.heads[book_bucket(k.data())] = 0;
        w.write(dir.path());
        for (int opening = 0; opening < 2; ++opening) {
            ASSERT_EQ(open_book_files_in(dir.path().c_str()), 1);
            testing::internal::CaptureStderr();
            for (int lookup = 0; lookup < 3; ++lookup)
                EXPECT_EQ(book_lookup(k.data()), c.found ? c.k_at * BOOK_RECORD_BYTES : -1) << c.k_at;
            const std::string err = testing::internal::GetCapturedStderr();
            EXPECT_EQ(count_of(err, "cut as damaged"), c.found ? 0 : 1) << c.k_at << ": " << err;
            close_book_files();
        }
    }
}

TEST_F(BookFiles, NewIndexIsFilledAndAnExistingOneKept) {
    ASSERT_EQ(open_book_files_in(dir.path().c_str()), 1);
    EXPECT_EQ(book_lookup(key_with(1).data()), -1);
    close_book_files();
    const std::string index = read_file(dir.file("sg.hash"));
    EXPECT_EQ(index.size(), 2621440u);
    EXPECT_EQ(index.find_first_not_of('\xFF'), std::string::npos);
    EXPECT_EQ(read_file(dir.file("sg.data")), "");

    std::ofstream(dir.file("sg.hash"), std::ios::binary) << "\x01\x02\x03";
    ASSERT_EQ(open_book_files_in(dir.path().c_str()), 1);
    close_book_files();
    EXPECT_EQ(read_file(dir.file("sg.hash")), "\x01\x02\x03");
}

TEST_F(BookFiles, UnopenableFilesMakeEveryLookupMiss) {
    std::ofstream(dir.file("plain")) << "x";
    const std::string under_a_file = dir.file("plain");  // "plain/sg.hash" cannot exist
    testing::internal::CaptureStderr();
    EXPECT_EQ(open_book_files_in(under_a_file.c_str()), 0);
    EXPECT_NE(testing::internal::GetCapturedStderr().find("opening book is not used"), std::string::npos);
    uint8_t payload[32];
    EXPECT_EQ(book_lookup(key_with(1).data()), -1);
    EXPECT_EQ(book_read_payload(0, payload), 0);
}

}  // namespace
