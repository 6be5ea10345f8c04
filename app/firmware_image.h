// The two firmware images carried in the program, read in place.
#pragma once
#include <cstdint>

// The first 128 bytes of every image; numbers are big-endian.
struct FirmwareHeader {
    char product_code[7];    // "NuV4101"; no terminator
    char separator;          // ' '
    char tag[8];             // "FiRmWaRe"
    uint8_t reserved_16[32];
    uint8_t digest[16];      // MD5 of the payload; not interpreted
    uint8_t reserved_64[16];
    uint8_t number_80[4];    // 128
    uint8_t number_84[4];    // 128
    uint8_t image_length[4]; // whole image length, header included
    char version[35];        // zero-terminated, at most 34 characters
    uint8_t number_127;      // 3
};
static_assert(sizeof(FirmwareHeader) == 128, "the header is 128 bytes");

struct FirmwareImage {
    const uint8_t* data;     // the whole image; never freed
    uint32_t size;           // header included
    FirmwareHeader header;   // copy of the first 128 bytes
};

constexpr int TargetImageId = 112;
constexpr int TransitionImageId = 319;
constexpr const char* FirmwareResourceType = "NUV_FIRMWARE";

// Finds the image with this id among the program's resources and fills
// `image`. An unknown id, or an image shorter than its header, leaves size 0
// and a zero header.
void load_firmware_image(int resource_id, FirmwareImage* image);

// Forms "/nuv%x.bi%d" from a random draw and the stage digit.
void format_image_file_name(char* out, int capacity, int draw, int digit);
