// Random key sequences into every dialog of the headless toolkit; each run
// ends with Escape, which closes any of them.
#include <cstdint>
#include <cstring>

#include "app/firmware_image.h"
#include "app/product.h"
#include "app/upgrade_state.h"
#include "resources/dialog_templates.h"
#include "toolkit/headless/headless_backend.h"
#include "toolkit/keys.h"
#include "toolkit/window.h"
#include "ui/dialogs.h"

namespace {
const uint8_t* g_keys;
size_t g_count;

int key_of(uint8_t b) {
    static const int special[] = {KeyTab, KeyBackTab, KeyEnter, KeyLeft, KeyRight, KeyUp, KeyDown, KeyHome,
                                  KeyEnd, KeyPageUp, KeyPageDown, KeyBackspace, KeyDelete, KeyResize};
    if (b >= 32 && b < 127) return b;
    return special[b % (sizeof special / sizeof special[0])];
}

void type_keys(Window&) {
    for (size_t i = 0; i < g_count; ++i) post_key(key_of(g_keys[i]));
    post_key(KeyEscape);
    post_key(KeyEscape);
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static bool ready = [] {
        use_headless_backend(80, 24);
        load_firmware_image(TargetImageId, &g_state.target_image);
        load_firmware_image(TransitionImageId, &g_state.transition_image);
        identify_product();
        g_state.local_addresses[0] = 0x7F000001;
        set_dialog_shown_hook(type_keys);
        return true;
    }();
    (void)ready;
    if (size == 0) return 0;
    g_keys = data + 1;
    g_count = size - 1;
    switch (data[0] % 5) {
    case 0: notice_dialog(nullptr); break;
    case 1: address_dialog(nullptr, data[0] & 8 ? 305 : 101); break;
    case 2: confirm_dialog(nullptr, data[0] & 8 ? 304 : 103); break;
    case 3: password_dialog(); break;
    case 4: success_dialog(); break;
    }
    headless_screen();
    return 0;
}
