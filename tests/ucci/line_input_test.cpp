#include <gtest/gtest.h>

#include <string>
#include <unistd.h>
#include <vector>

#include "ucci/line_input.h"

namespace {

// A LineInput reading from a pipe whose write end the test holds.
class PipeInput {
public:
    PipeInput() {
        int fds[2];
        EXPECT_EQ(pipe(fds), 0);
        read_fd_ = fds[0];
        write_fd_ = fds[1];
        input.init(read_fd_);
    }
    ~PipeInput() {
        close_writer();
        close(read_fd_);
    }
    void write_text(const std::string& s) { ASSERT_EQ(write(write_fd_, s.data(), s.size()), static_cast<ssize_t>(s.size())); }
    void close_writer() {
        if (write_fd_ >= 0) close(write_fd_);
        write_fd_ = -1;
    }
    // Every line get_line delivers before it reports none.
    std::vector<std::string> drain() {
        std::vector<std::string> lines;
        char line[LINE_SIZE];
        while (input.get_line(line)) lines.emplace_back(line);
        return lines;
    }

    LineInput input;

private:
    int read_fd_ = -1, write_fd_ = -1;
};

using Lines = std::vector<std::string>;

TEST(LineInput, CutsLinesAtLineFeedAndCarriageReturn) {
    struct Case {
        std::string bytes;
        Lines lines;
    } cases[] = {
        {"isready\n", {"isready"}},
        {"isready\r\n", {"isready"}},
        {"is\rready\n", {"is"}},
        {"a\nb\nc\n", {"a", "b", "c"}},
        {"\n\n", {"", ""}},
        {"partial", {}},
    };
    for (const auto& c : cases) {
        PipeInput p;
        p.write_text(c.bytes);
        EXPECT_EQ(p.drain(), c.lines) << c.bytes;
    }
}

TEST(LineInput, DeliversOneLinePerCallFromOneRead) {
    PipeInput p;
    p.write_text("ucci\nisready\nquit\n");
    char line[LINE_SIZE];
    ASSERT_TRUE(p.input.get_line(line));
    EXPECT_STREQ(line, "ucci");
    ASSERT_TRUE(p.input.get_line(line));
    EXPECT_STREQ(line, "isready");
    ASSERT_TRUE(p.input.get_line(line));
    EXPECT_STREQ(line, "quit");
    EXPECT_FALSE(p.input.get_line(line));
}

TEST(LineInput, CompletesPartialLineFromALaterRead) {
    PipeInput p;
    p.write_text("posi");
    EXPECT_EQ(p.drain(), Lines{});
    p.write_text("tion startpos\ngo");
    EXPECT_EQ(p.drain(), Lines{"position startpos"});
    p.write_text(" depth 3\n");
    EXPECT_EQ(p.drain(), Lines{"go depth 3"});
}

TEST(LineInput, LongLineComesInPiecesOf1023) {
    PipeInput p;
    const std::string long_line(3000, 'x');
    p.write_text(long_line + "\nisready\n");
    const Lines lines = p.drain();
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(lines[0].size(), 1023u);
    EXPECT_EQ(lines[1].size(), 1023u);
    EXPECT_EQ(lines[2].size(), 3000u - 2046u);
    EXPECT_EQ(lines[3], "isready");
}

TEST(LineInput, EndOfInputDeliversTheUnterminatedTailThenEnds) {
    PipeInput p;
    p.write_text("go depth 1\nquit");
    p.close_writer();
    EXPECT_EQ(p.drain(), (Lines{"go depth 1", "quit"}));
    EXPECT_TRUE(p.input.at_end());
}

TEST(LineInput, NotAtEndWhileTheWriterIsOpen) {
    PipeInput p;
    EXPECT_EQ(p.drain(), Lines{});
    EXPECT_FALSE(p.input.at_end());
    p.close_writer();
    EXPECT_EQ(p.drain(), Lines{});
    EXPECT_TRUE(p.input.at_end());
}

}  // namespace
