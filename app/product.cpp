#include "app/product.h"

#include <cstdio>

#include "app/upgrade_state.h"

const ProductRow ProductTable[6] = {
    {"nuv4800", 7, "NUV-4800", false},
    {"nuv4200", 7, "NUV-4100/4200", false},
    {"nuv4101", 7, "NUV-4101", false},
    {"dravik", 6, "NUV-735", true},
    {"varonex", 7, "Varonex VBA2", false},
    {"nuv4600", 7, "NUV-4600", false},
};

namespace {
unsigned char fold(unsigned char c) { return (c >= 'A' && c <= 'Z') ? static_cast<unsigned char>(c + 32) : c; }

bool matches(const char* code, const ProductRow& row) {
    for (int i = 0; i < row.compared; ++i)
        if (fold(static_cast<unsigned char>(code[i])) != static_cast<unsigned char>(row.product_code[i])) return false;
    return true;
}
}  // namespace

void identify_product() {
    g_state.phone_model = false;
    const char* code = g_state.target_image.header.product_code;
    for (const ProductRow& row : ProductTable) {
        if (matches(code, row)) {
            std::snprintf(g_state.display_name, sizeof g_state.display_name, "%s", row.display_name);
            if (row.phone_model) g_state.phone_model = true;
            return;
        }
    }
    std::snprintf(g_state.display_name, sizeof g_state.display_name, "%s", UnknownProductName);
}
