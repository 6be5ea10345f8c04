// A response from the device: classified (reading a challenge from it),
// searched for the five labels, then an Authorization line built from
// whatever challenge was stored.
#include <cstdint>
#include <cstring>
#include <vector>

#include "app/upgrade_state.h"
#include "http/digest.h"
#include "http/http_fetch.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::vector<char> text(data, data + size);
    text.push_back(0);
    DigestChallenge challenge{};
    std::strcpy(challenge.username, "admin");
    std::strcpy(challenge.password, "pw");
    classify_response(text.data(), &challenge);
    extract_device_info(text.data());
    challenge.nonce_count++;
    char line[AuthorizationLineMax + 1];
    int n = build_authorization(&challenge, line);
    if (n < 0 || n > AuthorizationLineMax || line[n] != 0) __builtin_trap();
    return 0;
}
