#include "ucci/line_input.h"

#include <cstdio>
#include <cstring>

#include "platform/input.h"

namespace {

// Room for the longest line and its end, so that its end can be seen.
constexpr size_t BUFFER_BYTES = LINE_LIMIT + 1;

}  // namespace

void LineInput::init(int fd) {
    fd_ = fd;
    buffer_.assign(BUFFER_BYTES, '\0');
    begin_ = end_ = scanned_ = 0;
    skip_line_feed_ = discarding_ = false;
    // A descriptor opened for writing only never becomes readable: no input will come.
    eof_ = !platform::readable(fd);
}

bool LineInput::input_available() { return !eof_ && platform::input_waiting(fd_); }

void LineInput::fill_buffer() {
    if (begin_ > 0) {
        std::memmove(buffer_.data(), buffer_.data() + begin_, end_ - begin_);
        end_ -= begin_;
        scanned_ -= begin_;
        begin_ = 0;
    }
    if (end_ == buffer_.size()) return;
    const long n = platform::read_input(fd_, buffer_.data() + end_, buffer_.size() - end_);
    if (n > 0) end_ += static_cast<size_t>(n);
    else if (n == 0) eof_ = true;
}

bool LineInput::deliver(char* line, size_t end) {
    const size_t length = end - begin_;
    const char* text = buffer_.data() + begin_;
    const bool whole = !discarding_;
    discarding_ = false;
    bool ok = whole;
    if (ok && std::memchr(text, '\0', length) != nullptr) {
        std::fprintf(stderr, "input line ignored: it holds a zero byte\n");
        ok = false;
    }
    if (ok) {
        std::memcpy(line, text, length);
        line[length] = '\0';
    }
    begin_ = end;
    if (begin_ < end_) {
        const char terminator = buffer_[begin_++];
        if (terminator == '\r') {
            if (begin_ < end_) {
                if (buffer_[begin_] == '\n') ++begin_;
            } else {
                skip_line_feed_ = true;
            }
        }
    }
    scanned_ = begin_;
    return ok;
}

bool LineInput::take_line(char* line) {
    for (;;) {
        if (skip_line_feed_ && begin_ < end_) {
            if (buffer_[begin_] == '\n') ++begin_;
            skip_line_feed_ = false;
            if (scanned_ < begin_) scanned_ = begin_;
        }
        size_t t = scanned_ > begin_ ? scanned_ : begin_;
        while (t < end_ && buffer_[t] != '\n' && buffer_[t] != '\r') ++t;
        if (t == end_) {
            scanned_ = end_;
            if (discarding_) {
                begin_ = end_ = scanned_ = 0;
            } else if (end_ - begin_ > LINE_LIMIT) {
                std::fprintf(stderr, "input line ignored: it is longer than %zu bytes\n", LINE_LIMIT);
                discarding_ = true;
                begin_ = end_ = scanned_ = 0;
            }
            return false;
        }
        if (deliver(line, t)) return true;
    }
}

bool LineInput::get_line(char* line) {
    if (take_line(line)) return true;
    if (input_available()) {
        fill_buffer();
        if (take_line(line)) return true;
    }
    // The last line of the input may lack its end.
    if (eof_ && begin_ < end_) return deliver(line, end_);
    return false;
}

void LineInput::idle_wait() { platform::wait_for_input(fd_, 100); }

LineInput& process_input() {
    static LineInput input;
    return input;
}
