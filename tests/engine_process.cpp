#include "engine_process.h"

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <poll.h>
#include <sstream>
#include <sys/wait.h>
#include <unistd.h>

namespace {

std::string make_temp_dir() {
    char tmpl[] = "/tmp/tavox-test-XXXXXX";
    const char* d = mkdtemp(tmpl);
    return d ? std::string(d) : std::string();
}

long now_ms() {
    using namespace std::chrono;
    return static_cast<long>(duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

}  // namespace

TempDir::TempDir() : path_(make_temp_dir()) {}
TempDir::~TempDir() {
    std::error_code ec;
    if (!path_.empty()) std::filesystem::remove_all(path_, ec);
}

EngineProcess::EngineProcess(std::vector<std::string> args, bool with_primes,
                             const std::function<void(const std::string& dir)>& prepare) {
    dir_ = make_temp_dir();
    err_path_ = dir_ + "/.stderr";
    namespace fs = std::filesystem;
    std::string binary = dir_ + "/tavox";
    fs::copy_file(TAVOX_BINARY, binary);
    if (with_primes) fs::copy_file(std::string(TAVOX_DATA_DIR) + "/_prime.txt", dir_ + "/_prime.txt");
    if (prepare) prepare(dir_);
    int in_pipe[2], out_pipe[2];
    if (pipe(in_pipe) != 0 || pipe(out_pipe) != 0) return;
    signal(SIGPIPE, SIG_IGN);
    pid_ = fork();
    if (pid_ == 0) {
        dup2(in_pipe[0], 0);
        dup2(out_pipe[1], 1);
        const int err = open(err_path_.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        if (err >= 0) dup2(err, 2);
        close(in_pipe[0]);
        close(in_pipe[1]);
        close(out_pipe[0]);
        close(out_pipe[1]);
        if (chdir(dir_.c_str()) != 0) _exit(127);
        std::vector<char*> argv;
        argv.push_back(binary.data());
        for (auto& a : args) argv.push_back(a.data());
        argv.push_back(nullptr);
        execv(binary.c_str(), argv.data());
        _exit(127);
    }
    close(in_pipe[0]);
    close(out_pipe[1]);
    in_fd_ = in_pipe[1];
    out_fd_ = out_pipe[0];
}

EngineProcess::~EngineProcess() {
    close_input();
    if (pid_ > 0 && exit_code_ == -2) {
        if (wait_exit(3000) == -1 && exit_code_ == -2) {
            kill(pid_, SIGKILL);
            waitpid(pid_, nullptr, 0);
        }
    }
    if (out_fd_ >= 0) close(out_fd_);
    std::error_code ec;
    if (!dir_.empty()) std::filesystem::remove_all(dir_, ec);
}

void EngineProcess::send(const std::string& text) {
    size_t done = 0;
    while (in_fd_ >= 0 && done < text.size()) {
        const ssize_t n = write(in_fd_, text.data() + done, text.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;
        done += static_cast<size_t>(n);
    }
}

void EngineProcess::close_input() {
    if (in_fd_ >= 0) close(in_fd_);
    in_fd_ = -1;
}

void EngineProcess::close_output() {
    if (out_fd_ >= 0) close(out_fd_);
    out_fd_ = -1;
    out_closed_ = true;
}

void EngineProcess::send_signal(int sig) {
    if (pid_ > 0 && exit_code_ == -2) kill(pid_, sig);
}

bool EngineProcess::read_raw_line(std::string& line, int timeout_ms) {
    const long deadline = now_ms() + timeout_ms;
    for (;;) {
        const size_t nl = pending_.find('\n');
        if (nl != std::string::npos) {
            line = pending_.substr(0, nl);
            pending_.erase(0, nl + 1);
            return true;
        }
        if (out_closed_) {
            if (pending_.empty()) return false;
            line = pending_;
            pending_.clear();
            return true;
        }
        const long left = deadline - now_ms();
        if (left <= 0) return false;
        pollfd p{out_fd_, POLLIN, 0};
        const int r = poll(&p, 1, static_cast<int>(left));
        if (r < 0 && errno == EINTR) continue;
        if (r <= 0) return false;
        char buf[4096];
        const ssize_t n = read(out_fd_, buf, sizeof(buf));
        if (n <= 0) out_closed_ = true;
        else pending_.append(buf, static_cast<size_t>(n));
    }
}

bool EngineProcess::read_line(std::string& line, int timeout_ms) {
    const long deadline = now_ms() + timeout_ms;
    for (;;) {
        const long left = deadline - now_ms();
        if (!read_raw_line(line, left > 0 ? static_cast<int>(left) : 0)) return false;
        if (!skip_info_ || line.rfind("info ", 0) != 0) return true;
        info_lines_.push_back(line);
    }
}

bool EngineProcess::wait_for(const std::string& prefix, std::string& line, int timeout_ms,
                             std::vector<std::string>* seen) {
    const long deadline = now_ms() + timeout_ms;
    for (;;) {
        const long left = deadline - now_ms();
        if (left <= 0 || !read_line(line, static_cast<int>(left))) return false;
        if (seen) seen->push_back(line);
        if (line.rfind(prefix, 0) == 0) return true;
    }
}

std::vector<std::string> EngineProcess::read_all(int timeout_ms) {
    std::vector<std::string> lines;
    const long deadline = now_ms() + timeout_ms;
    std::string line;
    for (;;) {
        const long left = deadline - now_ms();
        if (left <= 0 || !read_line(line, static_cast<int>(left))) break;
        lines.push_back(line);
    }
    return lines;
}

int EngineProcess::wait_exit(int timeout_ms) {
    if (exit_code_ != -2) return exit_code_;
    const long deadline = now_ms() + timeout_ms;
    for (;;) {
        int status = 0;
        const pid_t r = waitpid(pid_, &status, WNOHANG);
        if (r == pid_) {
            exit_code_ = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
            return exit_code_;
        }
        if (now_ms() >= deadline) return -1;
        usleep(10000);
    }
}

std::string EngineProcess::stderr_text() const {
    std::ifstream f(err_path_);
    std::stringstream s;
    s << f.rdbuf();
    return s.str();
}

EngineRun run_engine(const std::string& input, std::vector<std::string> args, bool with_primes) {
    EngineProcess p(std::move(args), with_primes);
    p.send(input);
    p.close_input();
    EngineRun r;
    r.lines = p.read_all();
    r.exit_code = p.wait_exit();
    r.err = p.stderr_text();
    return r;
}
