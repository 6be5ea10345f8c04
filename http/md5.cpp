#include "http/md5.h"

#include <cstring>

namespace {
// T[i] = floor(|sin(i + 1)| * 2^32)
const uint32_t T[64] = {
    0xd76aa478, 0xe8c7b756, 0x242070db, 0xc1bdceee, 0xf57c0faf, 0x4787c62a, 0xa8304613, 0xfd469501,
    0x698098d8, 0x8b44f7af, 0xffff5bb1, 0x895cd7be, 0x6b901122, 0xfd987193, 0xa679438e, 0x49b40821,
    0xf61e2562, 0xc040b340, 0x265e5a51, 0xe9b6c7aa, 0xd62f105d, 0x02441453, 0xd8a1e681, 0xe7d3fbc8,
    0x21e1cde6, 0xc33707d6, 0xf4d50d87, 0x455a14ed, 0xa9e3e905, 0xfcefa3f8, 0x676f02d9, 0x8d2a4c8a,
    0xfffa3942, 0x8771f681, 0x6d9d6122, 0xfde5380c, 0xa4beea44, 0x4bdecfa9, 0xf6bb4b60, 0xbebfbc70,
    0x289b7ec6, 0xeaa127fa, 0xd4ef3085, 0x04881d05, 0xd9d4d039, 0xe6db99e5, 0x1fa27cf8, 0xc4ac5665,
    0xf4292244, 0x432aff97, 0xab9423a7, 0xfc93a039, 0x655b59c3, 0x8f0ccc92, 0xffeff47d, 0x85845dd1,
    0x6fa87e4f, 0xfe2ce6e0, 0xa3014314, 0x4e0811a1, 0xf7537e82, 0xbd3af235, 0x2ad7d2bb, 0xeb86d391,
};
const int S[64] = {7, 12, 17, 22, 7, 12, 17, 22, 7, 12, 17, 22, 7, 12, 17, 22,
                   5, 9,  14, 20, 5, 9,  14, 20, 5, 9,  14, 20, 5, 9,  14, 20,
                   4, 11, 16, 23, 4, 11, 16, 23, 4, 11, 16, 23, 4, 11, 16, 23,
                   6, 10, 15, 21, 6, 10, 15, 21, 6, 10, 15, 21, 6, 10, 15, 21};

uint32_t rotate_left(uint32_t x, int n) { return (x << n) | (x >> (32 - n)); }

void compress(uint32_t state[4], const uint8_t block[64]) {
    uint32_t x[16];
    for (int i = 0; i < 16; ++i)
        x[i] = uint32_t(block[4 * i]) | uint32_t(block[4 * i + 1]) << 8 | uint32_t(block[4 * i + 2]) << 16 |
               uint32_t(block[4 * i + 3]) << 24;
    uint32_t a = state[0], b = state[1], c = state[2], d = state[3];
    for (int i = 0; i < 64; ++i) {
        uint32_t f;
        int k;
        if (i < 16) {
            f = (b & c) | (~b & d);  // F
            k = i;
        } else if (i < 32) {
            f = (b & d) | (c & ~d);  // G
            k = (5 * i + 1) % 16;
        } else if (i < 48) {
            f = b ^ c ^ d;           // H
            k = (3 * i + 5) % 16;
        } else {
            f = c ^ (b | ~d);        // I
            k = (7 * i) % 16;
        }
        uint32_t next = b + rotate_left(a + f + x[k] + T[i], S[i]);
        a = d;
        d = c;
        c = b;
        b = next;
    }
    state[0] += a;
    state[1] += b;
    state[2] += c;
    state[3] += d;
    std::memset(x, 0, sizeof x);
}
}  // namespace

void md5_start(Md5Context* context) {
    context->state[0] = 0x67452301;
    context->state[1] = 0xefcdab89;
    context->state[2] = 0x98badcfe;
    context->state[3] = 0x10325476;
    context->count[0] = context->count[1] = 0;
}

void md5_feed(Md5Context* context, const void* data, uint32_t length) {
    const uint8_t* input = static_cast<const uint8_t*>(data);
    uint32_t position = (context->count[0] >> 3) & 0x3F;
    uint32_t low = context->count[0] + (length << 3);
    if (low < context->count[0]) context->count[1]++;
    context->count[0] = low;
    context->count[1] += length >> 29;
    uint32_t i = 0;
    uint32_t room = 64 - position;
    if (length >= room) {
        std::memcpy(&context->buffer[position], input, room);
        compress(context->state, context->buffer);
        for (i = room; i + 63 < length; i += 64) compress(context->state, &input[i]);
        position = 0;
    }
    if (length > i) std::memcpy(&context->buffer[position], &input[i], length - i);
}

void md5_finish(uint8_t digest[16], Md5Context* context) {
    uint8_t bits[8];
    for (int i = 0; i < 8; ++i) bits[i] = static_cast<uint8_t>(context->count[i / 4] >> (8 * (i % 4)));
    static const uint8_t padding[64] = {0x80};
    uint32_t position = (context->count[0] >> 3) & 0x3F;
    uint32_t pad = position < 56 ? 56 - position : 120 - position;
    md5_feed(context, padding, pad);
    md5_feed(context, bits, 8);
    for (int i = 0; i < 16; ++i) digest[i] = static_cast<uint8_t>(context->state[i / 4] >> (8 * (i % 4)));
    std::memset(context, 0, sizeof *context);
}

void md5_hex(const uint8_t digest[16], char text[33]) {
    static const char hex[] = "0123456789abcdef";
    for (int i = 0; i < 16; ++i) {
        text[2 * i] = hex[digest[i] >> 4];
        text[2 * i + 1] = hex[digest[i] & 15];
    }
    text[32] = 0;
}
