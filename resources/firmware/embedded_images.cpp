#include "resources/firmware/embedded_images.h"

#include <cstring>

// Defined by embedded_images.S, which includes the image files at build time.
extern "C" const uint8_t nuv_image_112[], nuv_image_112_end[];
extern "C" const uint8_t nuv_image_319[], nuv_image_319_end[];

const EmbeddedImage* find_embedded_image(int id, const char* type) {
    static const EmbeddedImage images[] = {
        {112, "NUV_FIRMWARE", nuv_image_112, static_cast<uint32_t>(nuv_image_112_end - nuv_image_112)},
        {319, "NUV_FIRMWARE", nuv_image_319, static_cast<uint32_t>(nuv_image_319_end - nuv_image_319)},
    };
    for (const EmbeddedImage& image : images)
        if (image.id == id && std::strcmp(image.type, type) == 0) return &image;
    return nullptr;
}
