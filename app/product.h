// Names the product the target image is for, from its product code.
#pragma once

struct ProductRow {
    const char* product_code;
    int compared;            // characters compared, without regard to case
    const char* display_name;
    bool phone_model;
};

extern const ProductRow ProductTable[6];
constexpr const char* UnknownProductName = "ODM-Product";

// Sets display_name and phone_model from the target image's header.
void identify_product();
