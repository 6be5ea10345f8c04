#include "platform/process.h"

#include <atomic>
#include <csignal>
#include <unistd.h>

namespace {
std::atomic<void (*)()> g_cleanup{nullptr};
std::atomic<bool> g_ending{false};
volatile sig_atomic_t g_signalled = 0;

void on_signal(int) { g_signalled = 1; }
}  // namespace

void end_process() {
    // The first thread to get here runs the clean-up; any other thread that
    // ends the process at the same moment waits for it to finish.
    if (!g_ending.exchange(true)) {
        if (auto f = g_cleanup.load()) f();
        _exit(0);
    }
    for (;;) pause();
}

void set_process_cleanup(void (*cleanup)()) { g_cleanup = cleanup; }

void install_termination_signals() {
    struct sigaction sa {};
    sa.sa_handler = on_signal;
    sigemptyset(&sa.sa_mask);
    sigaction(SIGTERM, &sa, nullptr);
    sigaction(SIGHUP, &sa, nullptr);
    signal(SIGPIPE, SIG_IGN);
}

bool termination_requested() { return g_signalled != 0; }

void end_process_if_requested() {
    if (termination_requested()) end_process();
}
