#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "http/md5.h"

namespace {
std::string md5_of(const std::string& message) {
    Md5Context c;
    md5_start(&c);
    md5_feed(&c, message.data(), static_cast<uint32_t>(message.size()));
    uint8_t digest[16];
    md5_finish(digest, &c);
    char hex[33];
    md5_hex(digest, hex);
    return hex;
}

TEST(Md5, Rfc1321TestSuite) {
    struct {
        const char* message;
        const char* digest;
    } suite[] = {
        {"", "d41d8cd98f00b204e9800998ecf8427e"},
        {"a", "0cc175b9c0f1b6a831c399e269772661"},
        {"abc", "900150983cd24fb0d6963f7d28e17f72"},
        {"message digest", "f96b697d7cb7938d525a2f31aaf161d0"},
        {"abcdefghijklmnopqrstuvwxyz", "c3fcd3d76192e4007dfb496cca67e13b"},
        {"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789", "d174ab98d277d9f5a5611c2c9f419d9f"},
        {"12345678901234567890123456789012345678901234567890123456789012345678901234567890",
         "57edf4a22be3c955ac49da2e2107b67a"},
    };
    for (auto& t : suite) EXPECT_EQ(md5_of(t.message), t.digest) << t.message;
}

TEST(Md5, LengthsAroundThePaddingBorder) {
    // Expected digests from an independent implementation (Python hashlib).
    struct {
        size_t length;
        const char* digest;
    } cases[] = {
        {55, "ef1772b6dff9a122358552954ad0df65"},
        {56, "3b0c8ac703f828b04c6c197006d17218"},
        {63, "b06521f39153d618550606be297466d5"},
        {64, "014842d480b571495a4a0363793f7367"},
    };
    for (auto& c : cases) EXPECT_EQ(md5_of(std::string(c.length, 'a')), c.digest) << c.length;
}

TEST(Md5, PiecesAcrossBlockBordersEqualTheWhole) {
    std::string message;
    for (int i = 0; i < 1000; ++i) message += static_cast<char>(i * 7 + 3);
    const std::string whole = md5_of(message);
    for (size_t piece : {1u, 3u, 55u, 63u, 64u, 65u, 127u, 500u}) {
        Md5Context c;
        md5_start(&c);
        for (size_t at = 0; at < message.size(); at += piece) {
            md5_feed(&c, message.data() + at, static_cast<uint32_t>(std::min(piece, message.size() - at)));
            md5_feed(&c, "", 0);  // a zero-length feed changes nothing
        }
        uint8_t digest[16];
        md5_finish(digest, &c);
        char hex[33];
        md5_hex(digest, hex);
        EXPECT_EQ(whole, hex) << "pieces of " << piece;
    }
}

TEST(Md5, FinishZeroesTheContext) {
    Md5Context c;
    md5_start(&c);
    md5_feed(&c, "some bytes", 10);
    uint8_t digest[16];
    md5_finish(digest, &c);
    Md5Context zero;
    std::memset(&zero, 0, sizeof zero);
    EXPECT_EQ(std::memcmp(&c, &zero, sizeof c), 0);
}
}  // namespace
