#include <gtest/gtest.h>

#include <cstring>

#include "app/product.h"
#include "app/upgrade_state.h"

namespace {
struct ProductCase {
    const char* code;  // the first bytes of the header
    const char* display_name;
    bool phone_model;
};

class IdentifyProduct : public testing::TestWithParam<ProductCase> {};

TEST_P(IdentifyProduct, NamesTheProductFromTheTargetCode) {
    const ProductCase& c = GetParam();
    g_state.target_image.header = FirmwareHeader{};
    std::memcpy(g_state.target_image.header.product_code, c.code, std::strlen(c.code));
    g_state.phone_model = true;  // must be cleared when no handset row matches
    identify_product();
    EXPECT_STREQ(g_state.display_name, c.display_name);
    EXPECT_EQ(g_state.phone_model, c.phone_model);
}

INSTANTIATE_TEST_SUITE_P(
    Table, IdentifyProduct,
    testing::Values(ProductCase{"NuV4101", "NUV-4101", false}, ProductCase{"nuv4800", "NUV-4800", false},
                    ProductCase{"NUV4200", "NUV-4100/4200", false}, ProductCase{"nUv4200", "NUV-4100/4200", false},
                    ProductCase{"dravikX", "NUV-735", true}, ProductCase{"DRAVIK\x01", "NUV-735", true},
                    ProductCase{"dravik", "NUV-735", true}, ProductCase{"varonex", "Varonex VBA2", false},
                    ProductCase{"NUV4600", "NUV-4600", false}, ProductCase{"nuv9999", "ODM-Product", false},
                    ProductCase{"nuv420", "ODM-Product", false}, ProductCase{"", "ODM-Product", false},
                    // Case folding is ASCII letters only: '@' is not '`'.
                    ProductCase{"n@v4101", "ODM-Product", false}));
}  // namespace
