// Signals that end the process from outside, and a broken output pipe.
#pragma once
#include <csignal>

namespace platform {

// Holds back SIGTERM, SIGINT, SIGHUP and SIGQUIT while it lives, so that a
// file being replaced is either the old one or the new one, never a leftover
// temporary; a signal that arrived meanwhile takes effect on destruction.
class TerminationShield {
public:
    TerminationShield();
    ~TerminationShield();
    TerminationShield(const TerminationShield&) = delete;
    TerminationShield& operator=(const TerminationShield&) = delete;

private:
    sigset_t previous_;
};

// A write to a closed pipe then fails with EPIPE instead of killing the process.
void ignore_broken_pipe();

}  // namespace platform
