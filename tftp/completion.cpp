#include "tftp/completion.h"

#include <cstring>

#include "app/common.h"
#include "app/upgrade_state.h"
#include "platform/clock.h"
#include "tftp/notifications.h"

void complete_stage(TftpSession* session, bool gave_up) {
    const TftpNotifications& ui = g_tftp_notifications;
    const int stage = g_state.stage;
    const uint32_t s = milliseconds() / 32;
    if (ui.update_wait_started) ui.update_wait_started(stage);
    for (;;) {
        uint32_t t = milliseconds() / 32;
        if (t < s) t += ClockWrapUnits;  // the clock wrapped during the wait
        if (ui.update_wait_progress) ui.update_wait_progress(t - s);
        if (ui.pump_all_events) ui.pump_all_events();
        if (t >= s + UpdateWaitUnits) break;
        sleep_ms(UpdateWaitSleepMs);
    }
    if (ui.upload_ended) ui.upload_ended();
    if (gave_up) {
        show_error("Upgrade Failed: Firmware Upload Incomplete");
        return;
    }
    bool fetched = false;
    for (int attempt = 0; attempt < StatusFetchAttempts && !fetched; ++attempt) {
        HttpFetchJob job{g_state.instance,  session->local_address, HttpLocalPort,           session->peer_address,
                         HttpDevicePort,    StatusPagePath,         g_state.response_buffer, ResponseCapacity};
        fetched = ui.run_fetch && ui.run_fetch(job) > 0;
    }
    if (!fetched) {
        // The device did not come back: say so rather than end in silence.
        show_error("Upgrade Failed: No Response From NUV");
        return;
    }
    const char* expected = image_for_stage(stage).header.version;
    trace("[%d]%s %s\n", stage, expected, g_state.device_info.software_version);
    if (!g_state.phone_model && std::strcmp(expected, g_state.device_info.software_version) != 0) {
        show_error("Upgrade Failed: Version not matching");
        return;
    }
    if (stage == Target && ui.success_dialog) ui.success_dialog();
}
