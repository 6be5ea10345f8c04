#include <cstdint>
#include <string>

#include "ui/ipv4.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string text(reinterpret_cast<const char*>(data), size);
    uint32_t address = 1;
    Ipv4ParseResult r = parse_ipv4_address(text.c_str(), &address);
    if (r != Ok && address != 0) __builtin_trap();
    return 0;
}
