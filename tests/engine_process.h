// Runs the tavox binary as a child process in a fresh temporary directory and
// talks to it over pipes, as a GUI does.
#pragma once
#include <functional>
#include <string>
#include <vector>

#include <sys/types.h>

class EngineProcess {
public:
    // Copies the binary (and, unless told not to, "_prime.txt") into a new
    // temporary directory and starts it there, so that the files it writes in
    // its program and working directories stay private to the test. `prepare`
    // may put files into that directory before the engine starts.
    explicit EngineProcess(std::vector<std::string> args = {}, bool with_primes = true,
                           const std::function<void(const std::string& dir)>& prepare = {});
    ~EngineProcess();
    EngineProcess(const EngineProcess&) = delete;
    EngineProcess& operator=(const EngineProcess&) = delete;

    void send(const std::string& text);  // writes text as is
    void send_line(const std::string& line) { send(line + "\n"); }
    void close_input();
    // Closes the reading end of the engine's stdout: its next write fails.
    void close_output();
    void send_signal(int sig);

    // Next stdout line, or false when none arrives within the timeout (or at the end of output).
    bool read_line(std::string& line, int timeout_ms = 5000);
    // From now on the read functions set aside the "info" lines of the
    // thinking output; info_lines() holds them in order.
    void skip_info_lines() { skip_info_ = true; }
    const std::vector<std::string>& info_lines() const { return info_lines_; }
    // Reads lines until one starts with `prefix`; the lines read go to `seen` if given.
    bool wait_for(const std::string& prefix, std::string& line, int timeout_ms = 10000,
                  std::vector<std::string>* seen = nullptr);
    // Every remaining stdout line until the process ends.
    std::vector<std::string> read_all(int timeout_ms = 20000);
    // Waits for the exit; returns the exit code, or -1 on a timeout or a signal.
    int wait_exit(int timeout_ms = 10000);
    // The process has ended (by an exit or a signal), as seen by wait_exit.
    bool ended() const { return exit_code_ != -2; }

    const std::string& directory() const { return dir_; }
    std::string stderr_text() const;

private:
    bool read_raw_line(std::string& line, int timeout_ms);

    pid_t pid_ = -1;
    int in_fd_ = -1, out_fd_ = -1;
    std::string dir_, err_path_, pending_;
    bool out_closed_ = false;
    bool skip_info_ = false;
    std::vector<std::string> info_lines_;
    int exit_code_ = -2;
};

// Runs the binary with `input` on stdin to completion; collects stdout lines.
struct EngineRun {
    std::vector<std::string> lines;
    std::string err;
    int exit_code;
};
EngineRun run_engine(const std::string& input, std::vector<std::string> args = {}, bool with_primes = true);

// A fresh temporary directory, removed with its contents on destruction.
class TempDir {
public:
    TempDir();
    ~TempDir();
    const std::string& path() const { return path_; }
    std::string file(const std::string& name) const { return path_ + "/" + name; }

private:
    std::string path_;
};
