// Build-time tool: writes a firmware image with the real header layout and
// a deterministic payload (the payload is product data we do not carry).
//   make_image OUT PRODUCT_CODE VERSION SIZE SEED
// With --check FILE it verifies an image supplied by a packager instead.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "http/md5.h"

namespace {
void put_u32_be(uint8_t* p, uint32_t v) {
    p[0] = static_cast<uint8_t>(v >> 24);
    p[1] = static_cast<uint8_t>(v >> 16);
    p[2] = static_cast<uint8_t>(v >> 8);
    p[3] = static_cast<uint8_t>(v);
}

int check(const char* path) {
    FILE* f = std::fopen(path, "rb");
    if (!f) {
        std::fprintf(stderr, "firmware image %s: cannot be read\n", path);
        return 1;
    }
    uint8_t header[128];
    size_t n = std::fread(header, 1, sizeof header, f);
    std::fclose(f);
    if (n < sizeof header) {
        std::fprintf(stderr, "firmware image %s: shorter than its 128-byte header\n", path);
        return 1;
    }
    if (std::memchr(header + 92, 0, 35) == nullptr) {
        std::fprintf(stderr, "firmware image %s: version text at offset 92 has no terminating zero\n", path);
        return 1;
    }
    return 0;
}
}  // namespace

int main(int argc, char** argv) {
    if (argc == 3 && std::strcmp(argv[1], "--check") == 0) return check(argv[2]);
    if (argc != 6) {
        std::fprintf(stderr, "usage: make_image OUT PRODUCT_CODE VERSION SIZE SEED | --check FILE\n");
        return 2;
    }
    const char* code = argv[2];
    const char* version = argv[3];
    uint32_t size = static_cast<uint32_t>(std::strtoul(argv[4], nullptr, 10));
    uint32_t seed = static_cast<uint32_t>(std::strtoul(argv[5], nullptr, 10));
    if (std::strlen(code) != 7 || std::strlen(version) > 34 || size < 128) {
        std::fprintf(stderr, "make_image: bad arguments\n");
        return 2;
    }
    std::vector<uint8_t> image(size, 0);
    uint32_t x = seed ? seed : 1;
    for (uint32_t i = 128; i < size; ++i) {  // xorshift32
        x ^= x << 13;
        x ^= x >> 17;
        x ^= x << 5;
        image[i] = static_cast<uint8_t>(x);
    }
    std::memcpy(&image[0], code, 7);
    image[7] = ' ';
    std::memcpy(&image[8], "FiRmWaRe", 8);
    Md5Context md5;
    md5_start(&md5);
    md5_feed(&md5, image.data() + 128, size - 128);
    md5_finish(&image[48], &md5);
    put_u32_be(&image[80], 128);
    put_u32_be(&image[84], 128);
    put_u32_be(&image[88], size);
    std::memcpy(&image[92], version, std::strlen(version));
    image[127] = 3;
    FILE* f = std::fopen(argv[1], "wb");
    if (!f || std::fwrite(image.data(), 1, size, f) != size || std::fclose(f) != 0) {
        std::fprintf(stderr, "make_image: cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
