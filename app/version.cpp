#include "app/version.h"

#include <cstring>

#include "app/upgrade_state.h"

namespace {
int digit_value(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'z') return c - 'a' + 10;
    if (c >= 'A' && c <= 'Z') return c - 'A' + 10;
    return 99;
}

bool is_space(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

// strtoul with base 0 on a 32-bit unsigned long: sets *end past the number,
// or to `text` itself when no digit is found; clamps on overflow.
uint32_t read_number(const char* text, const char** end) {
    const char* p = text;
    while (is_space(*p)) ++p;
    bool negative = false;
    if (*p == '+' || *p == '-') negative = (*p++ == '-');
    int base = 10;
    if (p[0] == '0' && (p[1] == 'x' || p[1] == 'X') && digit_value(p[2]) < 16) {
        base = 16;
        p += 2;
    } else if (p[0] == '0') {
        base = 8;
    }
    if (digit_value(*p) >= base) {
        *end = text;
        return 0;
    }
    uint64_t value = 0;
    bool overflow = false;
    for (; digit_value(*p) < base; ++p) {
        value = value * static_cast<uint64_t>(base) + static_cast<uint64_t>(digit_value(*p));
        if (value > 0xFFFFFFFFull) {
            overflow = true;
            value = 0xFFFFFFFFull;
        }
    }
    *end = p;
    if (overflow) return 0xFFFFFFFFu;
    uint32_t v = static_cast<uint32_t>(value);
    return negative ? 0u - v : v;
}
}  // namespace

int32_t version_value(const char* text) {
    uint32_t value = 0;
    const char* p = text;
    for (int count = 0; count < 3; ++count) {
        const char* end;
        uint32_t number = read_number(p, &end);
        value = value * 100u + number;
        if (*end == 0) break;
        p = end + 1;
    }
    return static_cast<int32_t>(value);
}

void decide_stage() {
    const char* device = g_state.device_info.software_version;
    if (std::strstr(device, "(NT")) return;
    int32_t a = version_value(device);
    int32_t b = version_value(g_state.transition_image.header.version);
    if (a < b) return;
    if (a > b) {
        g_state.stage = Target;
        return;
    }
    if (std::strstr(device, "(SE)")) return;
    g_state.stage = Target;
}
