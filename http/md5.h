// MD5 of RFC 1321, incremental; used only for Digest authentication.
#pragma once
#include <cstdint>

struct Md5Context {
    uint32_t state[4];   // A, B, C, D
    uint32_t count[2];   // message bits, low word first, modulo 2^64
    uint8_t buffer[64];  // bytes of the block not yet compressed
};

void md5_start(Md5Context* context);
void md5_feed(Md5Context* context, const void* data, uint32_t length);
// Writes the 16-byte digest, then zeroes every byte of the context.
void md5_finish(uint8_t digest[16], Md5Context* context);
// 32 lowercase hexadecimal digits and a NUL.
void md5_hex(const uint8_t digest[16], char text[33]);
