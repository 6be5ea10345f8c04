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
