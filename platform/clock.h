// Millisecond clock (32 bits, wraps after about 49.7 days) and sleep. Tests
// replace both to run long waits and the wrap instantly.
#pragma once
#include <cstdint>

uint32_t milliseconds();
void sleep_ms(uint32_t ms);

struct ClockHooks {
    uint32_t (*now)() = nullptr;
    void (*sleep)(uint32_t ms) = nullptr;
};
// Null members restore the real clock or sleep.
void set_clock_hooks(ClockHooks hooks);

// A coarse timer for the calling thread: its short waits may last up to a
// millisecond longer, so an idle polling loop wakes about half as often.
// Waits for a socket still end the moment a datagram arrives.
void set_coarse_timer(bool coarse);
