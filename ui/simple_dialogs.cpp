// The notice, the confirmation and the success dialog.
#include <cstdio>
#include <string>

#include "app/upgrade_state.h"
#include "resources/dialog_templates.h"
#include "toolkit/window.h"
#include "ui/dialogs.h"

namespace {
void close_with_command(Window& w, int id) { end_dialog(w, id == IdOk ? 1 : 0); }

const DialogBehaviour NoticeBehaviour = {
    [](Window& w) {
        set_caption(w, std::string(g_state.display_name) + " Firmware Upgrade");
        set_control_text(w, 1021, NoticeText);
        set_focus(w, IdCancel);
        center_on_screen(w);
    },
    close_with_command,
};

const DialogBehaviour ConfirmBehaviour = {
    [](Window& w) {
        set_caption(w, std::string("Confirm Upgrade to Ver. ") + g_state.target_image.header.version);
        if (g_state.stage == Target) {
            set_control_text(w, 1007, ConfirmBaseText);
        } else {
            char text[400];
            std::snprintf(text, sizeof text,
                          "%s\r\n\r\nNote: Since your current firmware version\r\nis older than %s, this upgrade "
                          "procedure\r\nrequires additional steps and will be\r\nslightly longer.\r\n",
                          ConfirmBaseText, g_state.transition_image.header.version);
            set_control_text(w, 1007, text);
        }
        const DeviceInfo& info = g_state.device_info;
        set_control_text(w, 1002, info.serial_number);
        set_control_text(w, 1003, info.mac_address);
        set_control_text(w, 1004, info.software_version);
        set_control_text(w, 1005, info.hardware_version);
        set_control_text(w, 1006, info.product_name);
        set_focus(w, IdOk);
        center_on_screen(w);
    },
    close_with_command,
};

const DialogBehaviour SuccessBehaviour = {
    [](Window& w) {
        set_caption(w, std::string("NUV@") + g_state.device_address_text + " Upgrade Successful!");
        set_control_text(w, 1007, SuccessText);
        set_control_text(w, 1004, g_state.device_info.software_version);
        set_focus(w, IdOk);
        center_on_screen(w);
    },
    close_with_command,
};
}  // namespace

int notice_dialog(void*) { return run_modal_dialog(*find_dialog_template(NoticeDialogId), NoticeBehaviour, nullptr); }

int confirm_dialog(void*, int template_id) {
    return run_modal_dialog(*find_dialog_template(template_id), ConfirmBehaviour, nullptr);
}

int success_dialog() { return run_modal_dialog(*find_dialog_template(SuccessDialogId), SuccessBehaviour, nullptr); }
