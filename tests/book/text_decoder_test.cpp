// The text decoder's output is UTF-8 whatever the file holds.
#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "book/text_decoder.h"
#include "engine_process.h"

namespace {

std::string decode(const std::string& path, long& bad, text_encoding& enc) {
    TextDecoder decoder;
    std::string error, text, piece;
    EXPECT_TRUE(decoder.open(path, error)) << error;
    while (decoder.next(piece)) text += piece;
    bad = decoder.bad_bytes();
    enc = decoder.encoding();
    return text;
}

TEST(TextDecoder, CodePointsPastUnicodeBecomeReplacements) {
    // The reader of the system's converter takes these for UTF-8 characters.
    const std::string U_FFFD = "\xEF\xBF\xBD";
    struct Case {
        const char* what;
        std::string bytes, text;
        long bad;
    } cases[] = {
        {"lead 0xF5", "h2e2 \xF5\xA4\xAD\x97 h9g7", "h2e2 " + U_FFFD + " h9g7", 4},
        {"U+110000", "\xF4\x90\x80\x80 h2e2", U_FFFD + " h2e2", 4},
        {"5-byte form", "h2e2\xF8\x88\x80\x80\x80", "h2e2" + U_FFFD, 5},
        {"6-byte form", "\xFC\x84\x80\x80\x80\x80\xFC\x84\x80\x80\x80\x80", U_FFFD + U_FFFD, 12},
        {"U+10FFFF is kept", "\xF4\x8F\xBF\xBF", "\xF4\x8F\xBF\xBF", 0},
        {"4-byte character is kept", "\xF0\x9F\x98\x80 h2e2", "\xF0\x9F\x98\x80 h2e2", 0},
    };
    TempDir dir;
    for (const Case& c : cases) {
        std::ofstream(dir.file("games.pgn"), std::ios::binary) << c.bytes;
        long bad = -1;
        text_encoding enc{};
        EXPECT_EQ(decode(dir.file("games.pgn"), bad, enc), c.text) << c.what;
        EXPECT_EQ(bad, c.bad) << c.what;
        EXPECT_EQ(enc, text_encoding::UTF8) << c.what;
    }
}

}  // namespace
