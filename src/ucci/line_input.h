// Non-blocking line reader over standard input. It is the only reader of the
// process's standard input: the command loop and the search's input poll both
// take their lines from it, so no byte is ever lost between two buffers.
#pragma once
#include <cstddef>
#include <vector>

// The longest line accepted, without its end. A GUI may send a whole game as
// one move list; a longer line is refused whole, never acted on in part.
constexpr size_t LINE_LIMIT = size_t{1} << 20;
// Caller line buffers: the longest line and its terminating zero.
constexpr size_t LINE_BUFFER_SIZE = LINE_LIMIT + 1;

class LineInput {
public:
    // Takes the descriptor and sets up the buffer (the only allocation; done
    // before any search runs).
    void init(int fd);

    bool input_available();
    void fill_buffer();
    // Moves the first complete line of the buffer into `line` (LINE_BUFFER_SIZE
    // bytes); false if none. A line ends at a line feed, a carriage return or
    // both together. Overlong lines and lines holding a zero byte are dropped,
    // each with one message on stderr.
    bool take_line(char* line);
    // Delivers one line without blocking; false when none is ready yet.
    bool get_line(char* line);
    // End of input was seen and every byte has been delivered.
    bool at_end() const { return eof_ && begin_ == end_; }
    // The idle wait between empty polls: up to 100 ms, cut short when input arrives.
    void idle_wait();

private:
    // Delivers the bytes before `end` as a line and consumes them (and the end).
    bool deliver(char* line, size_t end);

    int fd_ = 0;
    std::vector<char> buffer_;
    size_t begin_ = 0, end_ = 0;  // undelivered bytes
    size_t scanned_ = 0;          // no line end lies in [begin_, scanned_)
    bool eof_ = false;
    bool skip_line_feed_ = false;  // a carriage return ended the last line: a line feed right after belongs to it
    bool discarding_ = false;      // inside an overlong line, dropping bytes up to its end
};

// The process's one reader of standard input (fd 0).
LineInput& process_input();
