// Credentials and the last accepted Digest challenge; one process-wide
// record, all texts empty and the count 0 at start-up.
#pragma once
#include <cstdint>

struct DigestChallenge {
    uint32_t nonce_count;      // requests sent with the current nonce
    char counted_nonce[128];   // the nonce that nonce_count belongs to
    char nonce[128];
    char cnonce[128];          // made anew for every accepted challenge
    char username[128];        // written by the password dialog
    char password[128];        // empty: no Authorization line is sent
    char realm[128];
    char qop[16];              // the challenge's whole quoted value
    char algorithm[16];        // the challenge's quoted value
    char opaque[128];
};
