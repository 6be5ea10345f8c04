#include "platform/clock.h"

#include <atomic>
#include <ctime>
#include <sys/prctl.h>

namespace {
std::atomic<uint32_t (*)()> g_now{nullptr};
std::atomic<void (*)(uint32_t)> g_sleep{nullptr};
}  // namespace

uint32_t milliseconds() {
    if (auto f = g_now.load()) return f();
    timespec ts;
    clock_gettime(CLOCK_MONOTONIC, &ts);
    uint64_t ms = static_cast<uint64_t>(ts.tv_sec) * 1000u + static_cast<uint64_t>(ts.tv_nsec) / 1000000u;
    return static_cast<uint32_t>(ms);
}

void sleep_ms(uint32_t ms) {
    if (auto f = g_sleep.load()) return f(ms);
    timespec ts{static_cast<time_t>(ms / 1000), static_cast<long>(ms % 1000) * 1000000L};
    while (nanosleep(&ts, &ts) != 0) {
    }
}

void set_clock_hooks(ClockHooks hooks) {
    g_now = hooks.now;
    g_sleep = hooks.sleep;
}

void set_coarse_timer(bool coarse) { prctl(PR_SET_TIMERSLACK, coarse ? 1000000UL : 0UL); }
