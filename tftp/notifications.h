// How the TFTP logic drives its dialogs: named notifications only, so that
// the protocol and its timing run without a user interface. The program
// installs the dialog realisation; null members do nothing.
#pragma once
#include <cstdint>

#include "ui/fetch_job.h"

struct TftpNotifications {
    // Waiting for the device's read request (dialog 114).
    void (*waiting_started)(bool with_text);
    void (*waiting_tick)(int position);  // 0..999
    void (*pump_all_events)();           // every pending message of this thread
    void (*waiting_ended)();
    // The transfer and the update wait (dialog 110).
    void (*upload_started)(uint32_t block_count);
    void (*block_acknowledged)(uint32_t acked_count, int32_t bytes_acked, uint32_t image_size, int stage);
    void (*pump_one_event)();  // at most one pending message
    void (*update_wait_started)(int stage);
    void (*update_wait_progress)(uint32_t units);  // 0..937
    void (*upload_ended)();
    // Dialog 111, modal; the result is not used.
    int (*success_dialog)();
    // The page fetch with its connecting dialog and password retry.
    int32_t (*run_fetch)(HttpFetchJob job);
};

extern TftpNotifications g_tftp_notifications;

// "Transition" or "Target".
const char* stage_word(int stage);
// "Uploading %s Firmware to NUV@%s %d/%d Bytes" into a 128-byte buffer.
void format_upload_title(char out[128], int stage, int32_t bytes_acked, uint32_t image_size);
// "Updating %s Firmware to NUV@%s".
void format_update_title(char out[128], int stage);

// The waiting text of dialog 114, shown for the first image served.
extern const char* const WaitingText;
