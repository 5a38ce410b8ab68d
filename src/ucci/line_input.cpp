#include "ucci/line_input.h"

#include <cstring>

#include "platform/input.h"

void LineInput::init(int fd) {
    fd_ = fd;
    fill_ = 0;
    eof_ = false;
}

bool LineInput::input_available() { return !eof_ && platform::input_waiting(fd_); }

void LineInput::fill_buffer() {
    const long n = platform::read_input(fd_, buffer_ + fill_, static_cast<size_t>(LINE_SIZE - fill_));
    if (n > 0) fill_ += static_cast<int>(n);
    else if (n == 0) eof_ = true;  // a failing read adds nothing; the caller polls again
}

// Copies `length` bytes as a line, cuts it at its first carriage return and
// drops them (plus the separator, if any) from the buffer.
void LineInput::deliver(char* line, int length) {
    std::memcpy(line, buffer_, static_cast<size_t>(length));
    line[length] = '\0';
    for (int i = 0; i < length; ++i)
        if (line[i] == '\r') line[i] = '\0';
    const int consumed = length < fill_ && buffer_[length] == '\n' ? length + 1 : length;
    std::memmove(buffer_, buffer_ + consumed, static_cast<size_t>(fill_ - consumed));
    fill_ -= consumed;
}

bool LineInput::take_line(char* line) {
    const void* lf = std::memchr(buffer_, '\n', static_cast<size_t>(fill_));
    if (lf == nullptr) return false;
    deliver(line, static_cast<int>(static_cast<const char*>(lf) - buffer_));
    return true;
}

bool LineInput::get_line(char* line) {
    if (take_line(line)) return true;
    if (input_available()) {
        fill_buffer();
        if (take_line(line)) return true;
    }
    // A full buffer without a line feed is delivered in a 1023-character piece.
    if (fill_ == LINE_SIZE) {
        deliver(line, LINE_SIZE - 1);
        return true;
    }
    // The last line of the input may lack its line feed.
    if (eof_ && fill_ > 0) {
        deliver(line, fill_);
        return true;
    }
    return false;
}

void LineInput::idle_wait() { platform::wait_for_input(fd_, 100); }

LineInput& process_input() {
    static LineInput input;
    return input;
}
