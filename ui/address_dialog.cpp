// The address dialog: the version carried, the device's address and the
// local address that faces it.
#include <cstdio>
#include <string>

#include "app/common.h"
#include "app/firmware_image.h"
#include "app/upgrade_state.h"
#include "resources/dialog_templates.h"
#include "toolkit/window.h"
#include "ui/dialogs.h"
#include "ui/ipv4.h"

namespace {
std::string dotted(uint32_t a) {
    char text[16];
    std::snprintf(text, sizeof text, "%u.%u.%u.%u", a >> 24, (a >> 16) & 0xFF, (a >> 8) & 0xFF, a & 0xFF);
    return text;
}

void on_open(Window& w) {
    for (int i = 0; i < MaxLocalAddresses && g_state.local_addresses[i] != 0; ++i)
        add_list_item(w, 1017, dotted(g_state.local_addresses[i]));
    set_list_selection(w, 1017, 0);
    set_caption(w, std::string(g_state.display_name) + " Firmware Upgrade");
    set_control_text(w, 1007, "This program will upgrade your NUV\r\nfirmware to:");
    set_control_text(w, 1008, g_state.phone_model ? HandsetHelpText : AdapterHelpText);
    set_control_text(w, 1015, std::string("Version ") + g_state.target_image.header.version);
    set_focus(w, 1000);
    center_on_screen(w);
}

void on_ok(Window& w) {
    std::snprintf(g_state.device_address_text, 63, "%s", control_text(w, 1000).c_str());
    parse_ipv4_address(g_state.device_address_text, &g_state.device_address);
    if (g_state.device_address != 0) {
        char name[128];
        format_image_file_name(name, sizeof name, next_random(), g_state.stage);
        set_image_file_name(name);
        int selected = list_selection(w, 1017);
        if (selected >= 0 && selected < MaxLocalAddresses) g_state.local_address = g_state.local_addresses[selected];
        trace("+++ using %x\n", g_state.local_address);
        end_dialog(w, 1);
        return;
    }
    message_box("Invalid IP Address", "Error", false);
    set_focus(w, 1000);
}

const DialogBehaviour AddressBehaviour = {
    on_open,
    [](Window& w, int id) {
        if (id == IdOk)
            on_ok(w);
        else if (id == IdCancel)
            end_dialog(w, 0);
    },
};
}  // namespace

int address_dialog(void*, int template_id) {
    return run_modal_dialog(*find_dialog_template(template_id), AddressBehaviour, nullptr);
}
