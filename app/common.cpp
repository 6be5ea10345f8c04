#include "app/common.h"

#include <atomic>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <mutex>

#include "app/upgrade_state.h"

namespace {
std::atomic<void (*)(const char*, const char*)> g_error_box{nullptr};
}

void show_error(const char* text) {
    if (auto box = g_error_box.load()) {
        box(text, ErrorCaption);
        return;
    }
    std::fprintf(stderr, "%s: %s\n", ErrorCaption, text);
}

void set_error_box(void (*box)(const char*, const char*)) { g_error_box = box; }

void trace(const char* format, ...) {
    static const bool enabled = std::getenv("NUV_TRACE") != nullptr;
    if (!enabled) return;
    va_list args;
    va_start(args, format);
    std::vfprintf(stderr, format, args);
    va_end(args);
}

void seed_random(uint32_t seed) {
    std::lock_guard<std::mutex> lock(g_state.random_lock);
    g_state.random_state = seed;
}

int next_random() {
    std::lock_guard<std::mutex> lock(g_state.random_lock);
    g_state.random_state = g_state.random_state * 214013u + 2531011u;
    return static_cast<int>((g_state.random_state >> 16) & 0x7FFF);
}
