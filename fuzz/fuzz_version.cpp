#include <cstdint>
#include <string>

#include "app/version.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string text(reinterpret_cast<const char*>(data), size);
    version_value(text.c_str());
    return 0;
}
