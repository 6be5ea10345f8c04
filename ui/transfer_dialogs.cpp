// The waiting and upload dialogs of the firmware server (templates 114 and
// 110, one behaviour), realising the TFTP notifications on the listener
// thread, and the error box.
#include "app/common.h"
#include "app/upgrade_state.h"
#include "platform/process.h"
#include "resources/dialog_templates.h"
#include "tftp/notifications.h"
#include "toolkit/window.h"
#include "ui/dialogs.h"

namespace {
const DialogBehaviour TransferBehaviour = {
    [](Window& w) { center_on_screen(w); },
    [](Window& w, int id) {
        if (id != IdCancel) return;
        destroy_window(&w);
        show_error("Upgrade Failed: User Abort");
        end_process();
    },
};

// Only the listener thread touches these.
Window* g_waiting = nullptr;
Window* g_upload = nullptr;

Window* open_transfer_dialog(int template_id) {
    Window* w = create_dialog(*find_dialog_template(template_id), TransferBehaviour, nullptr);
    show_window(w);
    return w;
}

void close(Window*& w) {
    if (w) destroy_window(w);
    w = nullptr;
}

const TftpNotifications DialogNotifications = {
    [](bool with_text) {
        close(g_waiting);
        g_waiting = open_transfer_dialog(WaitingDialogId);
        set_progress_range(*g_waiting, 1010, 0, 1000);
        set_progress_position(*g_waiting, 1010, 0);
        if (with_text) set_control_text(*g_waiting, 1022, WaitingText);
    },
    [](int position) {
        if (g_waiting) set_progress_position(*g_waiting, 1010, position);
    },
    [] { pump_all_messages(); },
    [] { close(g_waiting); },
    [](uint32_t block_count) {
        close(g_upload);
        g_upload = open_transfer_dialog(UploadDialogId);
        set_progress_range(*g_upload, 1010, 0, static_cast<int>(block_count & 0xFFFF));
    },
    [](uint32_t acked_count, int32_t bytes_acked, uint32_t image_size, int stage) {
        if (!g_upload) return;
        set_progress_position(*g_upload, 1010, static_cast<int>(acked_count));
        char title[128];
        format_upload_title(title, stage, bytes_acked, image_size);
        set_caption(*g_upload, title);
    },
    [] { pump_one_message(); },
    [](int stage) {
        if (!g_upload) return;
        set_progress_range(*g_upload, 1010, 0, 937);
        set_progress_position(*g_upload, 1010, 0);
        char title[128];
        format_update_title(title, stage);
        set_caption(*g_upload, title);
    },
    [](uint32_t units) {
        if (g_upload) set_progress_position(*g_upload, 1010, static_cast<int>(units));
    },
    [] { close(g_upload); },
    [] { return success_dialog(); },
    run_fetch_with_progress,
};
}  // namespace

void install_dialogs() {
    g_tftp_notifications = DialogNotifications;
    set_error_box([](const char* text, const char* caption) { message_box(text, caption, true); });
}
