// Non-blocking line reader over standard input. It is the only reader of the
// process's standard input: the command loop and the search's input poll both
// take their lines from it, so no byte is ever lost between two buffers.
#pragma once

constexpr int LINE_SIZE = 1024;  // caller line buffers; a line holds at most 1023 characters

class LineInput {
public:
    void init(int fd);

    bool input_available();
    void fill_buffer();
    // Moves the first complete line of the buffer into `line`; false if none.
    bool take_line(char* line);
    // Delivers one line without blocking; false when none is ready yet.
    bool get_line(char* line);
    // End of input was seen and every byte has been delivered.
    bool at_end() const { return eof_ && fill_ == 0; }
    // The idle wait between empty polls: up to 100 ms, cut short when input arrives.
    void idle_wait();

private:
    void deliver(char* line, int length);

    int fd_ = 0;
    int fill_ = 0;
    bool eof_ = false;
    char buffer_[LINE_SIZE];
};

// The process's one reader of standard input (fd 0).
LineInput& process_input();
