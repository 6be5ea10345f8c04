#include "ui/ipv4.h"

#include <cstring>

Ipv4ParseResult parse_ipv4_address(const char* text, uint32_t* address) {
    *address = 0;
    size_t length = std::strlen(text);
    if (length > 15 || length < 7) return BadLength;
    for (size_t i = 0; i < length; ++i) {
        char c = text[i];
        if (!((c >= '0' && c <= '9') || c == '.' || c == '*')) return BadCharacter;
    }
    uint32_t bytes[4] = {};
    int accepted = 0;
    const char* p = text;
    for (;;) {
        while (*p == '.' || *p == '*') ++p;
        if (!*p) break;
        if (accepted == 4) return TooManyFields;
        uint32_t value = 0;
        for (; *p >= '0' && *p <= '9'; ++p) {
            value = value * 10 + static_cast<uint32_t>(*p - '0');
            if (value > 255) {
                // The rest of the field cannot bring it back down.
                return FieldTooLarge;
            }
        }
        bytes[accepted++] = value;
    }
    if (accepted < 4) return TooFewFields;
    *address = bytes[0] << 24 | bytes[1] << 16 | bytes[2] << 8 | bytes[3];
    return Ok;
}
