// The firmware images linked into the program, found by id and type as
// resources are.
#pragma once
#include <cstdint>

struct EmbeddedImage {
    int id;
    const char* type;
    const uint8_t* data;
    uint32_t size;
};

const EmbeddedImage* find_embedded_image(int id, const char* type);
