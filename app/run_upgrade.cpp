#include <cstdio>

#include "app/common.h"
#include "app/upgrade.h"
#include "app/upgrade_calls.h"
#include "app/upgrade_state.h"
#include "app/version.h"
#include "platform/clock.h"

UpgradeCalls g_upgrade_calls{};

void format_upgrade_path(char* out, int capacity, uint32_t a, uint16_t port, const char* file_name) {
    std::snprintf(out, static_cast<size_t>(capacity), "/admin/upgrade?tftp://%u.%u.%u.%u:%u%s", a >> 24,
                  (a >> 16) & 0xFF, (a >> 8) & 0xFF, a & 0xFF, static_cast<unsigned>(port), file_name);
}

namespace {
HttpFetchJob fetch_job(const char* path) {
    return HttpFetchJob{g_state.instance,  g_state.local_address, HttpLocalPort,   g_state.device_address,
                        HttpDevicePort,    path,                  g_state.response_buffer, ResponseCapacity};
}

void send_upgrade_request(uint16_t port) {
    char file_name[128];
    copy_image_file_name(file_name, sizeof file_name);
    char path[128];
    format_upgrade_path(path, sizeof path, g_state.local_address, port, file_name);
    g_upgrade_calls.run_fetch_with_progress(fetch_job(path));
}
}  // namespace

int run_upgrade(void* instance) {
    const UpgradeCalls& calls = g_upgrade_calls;
    if (!calls.register_window_class("NuvUpgrade")) return 0;
    g_state.instance = instance;
    start_up();
    if (calls.notice_dialog(g_state.instance) == 0) return 0;
    int address_template = g_state.phone_model ? PhoneAddressTemplate : AddressTemplate;
    if (calls.address_dialog(g_state.instance, address_template) == 0) return 0;
    if (g_state.device_address == 0) return 0;
    if (calls.run_fetch_with_progress(fetch_job(StatusPagePath)) <= 0) {
        show_error("Upgrade Failed: No Response From NUV");
        return 0;
    }
    decide_stage();
    bool two_stages = g_state.stage == Transition;
    int confirm_template = two_stages ? ConfirmTransitionTemplate : ConfirmTemplate;
    if (calls.confirm_dialog(g_state.instance, confirm_template) == 0) {
        show_error("Upgrade Failed: User Abort");
        return 0;
    }
    uint16_t port = calls.start_tftp_listener(g_state.local_address);
    send_upgrade_request(port);
    if (two_stages) {
        // The listener sets the stage once the transition transfer and its
        // check are over, then waits for the request for the second name.
        while (g_state.stage != Target) sleep_ms(10);
        char name[128];
        format_image_file_name(name, sizeof name, next_random(), 1);
        set_image_file_name(name);
        send_upgrade_request(port);
    }
    calls.idle();
    return 0;
}
