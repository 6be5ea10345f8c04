// What the upgrade sequence calls in the other subsystems. The program
// installs the real dialogs, fetch runner and listener; tests install fakes.
#pragma once
#include <cstdint>

#include "ui/fetch_job.h"

struct UpgradeCalls {
    bool (*register_window_class)(const char* name);
    void (*init_common_controls)();
    int (*notice_dialog)(void* instance);
    int (*address_dialog)(void* instance, int template_id);
    int32_t (*run_fetch_with_progress)(HttpFetchJob job);
    int (*confirm_dialog)(void* instance, int template_id);
    uint16_t (*start_tftp_listener)(uint32_t local_address);
    // Waits until the process ends from another thread; never returns in
    // the program.
    void (*idle)();
};

extern UpgradeCalls g_upgrade_calls;
