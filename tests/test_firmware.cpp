#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "app/firmware_image.h"
#include "app/upgrade_state.h"
#include "http/md5.h"

namespace {
uint32_t be32(const uint8_t* p) { return uint32_t(p[0]) << 24 | uint32_t(p[1]) << 16 | uint32_t(p[2]) << 8 | p[3]; }

struct ImageCase {
    int id;
    uint32_t size;
    const char* identification;
    const char* version;
};

class EmbeddedImage : public testing::TestWithParam<ImageCase> {};

TEST_P(EmbeddedImage, HasTheHeaderAndSizeItIsKnownBy) {
    const ImageCase& c = GetParam();
    FirmwareImage image;
    load_firmware_image(c.id, &image);
    ASSERT_NE(image.data, nullptr);
    EXPECT_EQ(image.size, c.size);
    EXPECT_EQ(std::memcmp(image.data, c.identification, 16), 0);
    EXPECT_EQ(std::memcmp(&image.header, image.data, 127), 0) << "header is a copy of the first bytes";
    EXPECT_STREQ(image.header.version, c.version);
    for (size_t i = 92 + std::strlen(c.version); i < 127; ++i) EXPECT_EQ(image.data[i], 0) << i;
    for (int i = 16; i < 48; ++i) EXPECT_EQ(image.data[i], 0) << i;
    for (int i = 64; i < 80; ++i) EXPECT_EQ(image.data[i], 0) << i;
    EXPECT_EQ(be32(image.data + 80), 128u);
    EXPECT_EQ(be32(image.data + 84), 128u);
    EXPECT_EQ(be32(image.data + 88), c.size);
    EXPECT_EQ(image.data[127], 3);
    // The 16 bytes at 48 are the payload's MD5.
    Md5Context md5;
    md5_start(&md5);
    md5_feed(&md5, image.data + 128, image.size - 128);
    uint8_t digest[16];
    md5_finish(digest, &md5);
    EXPECT_EQ(std::memcmp(digest, image.data + 48, 16), 0);
}

INSTANTIATE_TEST_SUITE_P(Carried, EmbeddedImage,
                         testing::Values(ImageCase{112, 742976, "NuV4101 FiRmWaRe", "3.1.5(SE)"},
                                         ImageCase{319, 728976, "NuV4200 FiRmWaRe", "2.0.12"}));

TEST(EmbeddedImage, TheTwoPayloadsDifferAndUnknownIdsLoadNothing) {
    FirmwareImage target, transition, unknown;
    load_firmware_image(TargetImageId, &target);
    load_firmware_image(TransitionImageId, &transition);
    load_firmware_image(113, &unknown);
    EXPECT_NE(std::memcmp(target.data + 48, transition.data + 48, 16), 0);
    EXPECT_EQ(unknown.data, nullptr);
    EXPECT_EQ(unknown.size, 0u);
}

TEST(ImageFileName, IsFormedFromTheDrawInLowercaseHexAndTheDigit) {
    struct {
        int draw, digit;
        const char* name;
    } cases[] = {{0, 0, "/nuv0.bi0"}, {6699, 0, "/nuv1a2b.bi0"}, {32767, 0, "/nuv7fff.bi0"}, {5, 1, "/nuv5.bi1"}};
    for (auto& c : cases) {
        char name[128];
        format_image_file_name(name, sizeof name, c.draw, c.digit);
        EXPECT_STREQ(name, c.name);
    }
}

TEST(ImageFileName, IsComparedExactlyUnderItsLock) {
    set_image_file_name("/nuv1a2b.bi0");
    EXPECT_TRUE(image_file_name_equals("/nuv1a2b.bi0"));
    EXPECT_FALSE(image_file_name_equals("/NUV1A2B.BI0"));
    EXPECT_FALSE(image_file_name_equals("nuv1a2b.bi0"));
    EXPECT_FALSE(image_file_name_equals("/nuv1a2b.bi"));
}
}  // namespace
