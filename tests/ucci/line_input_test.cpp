#include <gtest/gtest.h>

#include <fcntl.h>
#include <string>
#include <thread>
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
        while (input.get_line(line.data())) lines.emplace_back(line.data());
        return lines;
    }
    // Writes more than a pipe holds from a second thread, then closes; every line up to the end.
    std::vector<std::string> drain_big(const std::string& s) {
        std::thread writer([&] {
            size_t done = 0;
            while (done < s.size()) {
                const ssize_t n = write(write_fd_, s.data() + done, s.size() - done);
                if (n <= 0) break;
                done += static_cast<size_t>(n);
            }
            close_writer();
        });
        std::vector<std::string> lines;
        while (!input.at_end()) {
            if (input.get_line(line.data())) lines.emplace_back(line.data());
            else input.idle_wait();
        }
        writer.join();
        return lines;
    }

    std::vector<char> line = std::vector<char>(LINE_BUFFER_SIZE);

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
        {"isready\rquit\n", {"isready", "quit"}},
        {"a\r\rb\n", {"a", "", "b"}},
        {"a\n\rb\r", {"a", "", "b"}},
        {std::string("bad\0line\nisready\n", 17), {"isready"}},
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
    for (const char* expected : {"ucci", "isready", "quit"}) {
        ASSERT_TRUE(p.input.get_line(p.line.data()));
        EXPECT_STREQ(p.line.data(), expected);
    }
    EXPECT_FALSE(p.input.get_line(p.line.data()));
}

TEST(LineInput, CarriageReturnAndLineFeedInTwoReadsEndOneLine) {
    PipeInput p;
    p.write_text("isready\r");
    EXPECT_EQ(p.drain(), Lines{"isready"});
    p.write_text("\nquit\n");
    EXPECT_EQ(p.drain(), Lines{"quit"});
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

TEST(LineInput, LongLinesAreWholeUpToTheLimitAndRefusedWholeBeyond) {
    struct Case {
        size_t length;
        bool delivered;
    } cases[] = {{3000, true}, {LINE_LIMIT, true}, {LINE_LIMIT + 1, false}, {3 * LINE_LIMIT, false}};
    for (const auto& c : cases) {
        PipeInput p;
        const Lines lines = p.drain_big(std::string(c.length, 'x') + "\nisready\n");
        const Lines expected = c.delivered ? Lines{std::string(c.length, 'x'), "isready"} : Lines{"isready"};
        EXPECT_EQ(lines, expected) << c.length;
    }
}

TEST(LineInput, ManyShortLinesInOneRead) {
    std::string text;
    for (int i = 0; i < 200000; ++i) text += "isready\n";
    PipeInput p;
    EXPECT_EQ(p.drain_big(text).size(), 200000u);
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

TEST(LineInput, InputThatCannotBeReadIsTheEnd) {
    // A directory fails every read; the write end of a pipe is never readable.
    int fds[2];
    ASSERT_EQ(pipe(fds), 0);
    const int directory = open(".", O_RDONLY | O_DIRECTORY);
    ASSERT_GE(directory, 0);
    for (int fd : {directory, fds[1]}) {
        LineInput input;
        input.init(fd);
        std::vector<char> line(LINE_BUFFER_SIZE);
        EXPECT_FALSE(input.get_line(line.data())) << fd;
        EXPECT_TRUE(input.at_end()) << fd;
    }
    close(directory);
    close(fds[0]);
    close(fds[1]);
}

}  // namespace
