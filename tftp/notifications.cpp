#include "tftp/notifications.h"

#include <cstdio>

#include "app/upgrade_state.h"

TftpNotifications g_tftp_notifications{};

const char* stage_word(int stage) { return stage == Target ? "Target" : "Transition"; }

void format_upload_title(char out[128], int stage, int32_t bytes_acked, uint32_t image_size) {
    std::snprintf(out, 128, "Uploading %s Firmware to NUV@%s %d/%d Bytes", stage_word(stage),
                  g_state.device_address_text, bytes_acked, static_cast<int>(image_size));
}

void format_update_title(char out[128], int stage) {
    std::snprintf(out, 128, "Updating %s Firmware to NUV@%s", stage_word(stage), g_state.device_address_text);
}

const char* const WaitingText =
    "Firmware upload will begin when the NUV is idle, where the NUV will request to download the firmware "
    "from this PC using TFTP at the first available UDP port starting at port number 69.\r\n\r\n"
    "If firmware download does not start, please check that you have done the following: a) Hangup properly "
    "all the phones attached to the NUV, b) Disable any firewall software (such as Internet Connection "
    "Firewall) on this PC, and c) Make sure that this PC and the NUV are on the same LAN subnet; it will not "
    "work for example if this PC is behind a router while the NUV is in front of it.";
