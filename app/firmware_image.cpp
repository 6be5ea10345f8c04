#include "app/firmware_image.h"

#include <cstdio>
#include <cstring>

#include "resources/firmware/embedded_images.h"

void load_firmware_image(int resource_id, FirmwareImage* image) {
    *image = FirmwareImage{};
    const EmbeddedImage* found = find_embedded_image(resource_id, FirmwareResourceType);
    if (!found || found->size < sizeof(FirmwareHeader)) return;
    image->data = found->data;
    image->size = found->size;
    std::memcpy(&image->header, found->data, sizeof image->header);
    // The version is read as a text: it ends within its 35-byte field even
    // in an image whose field is not terminated.
    image->header.version[sizeof image->header.version - 1] = 0;
}

void format_image_file_name(char* out, int capacity, int draw, int digit) {
    std::snprintf(out, static_cast<size_t>(capacity), "/nuv%x.bi%d", static_cast<unsigned>(draw), digit);
}
