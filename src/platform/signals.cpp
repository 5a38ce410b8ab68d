#include "platform/signals.h"

#include <initializer_list>

namespace platform {

TerminationShield::TerminationShield() {
    sigset_t block;
    sigemptyset(&block);
    for (int s : {SIGTERM, SIGINT, SIGHUP, SIGQUIT}) sigaddset(&block, s);
    sigprocmask(SIG_BLOCK, &block, &previous_);
}

TerminationShield::~TerminationShield() { sigprocmask(SIG_SETMASK, &previous_, nullptr); }

void ignore_broken_pipe() { std::signal(SIGPIPE, SIG_IGN); }

}  // namespace platform
