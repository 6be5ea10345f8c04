#include "app/upgrade_state.h"

#include <cstdio>
#include <cstring>

UpgradeState g_state{};

void reset_upgrade_state() {
    g_state.instance = nullptr;
    std::memset(g_state.local_addresses, 0, sizeof g_state.local_addresses);
    g_state.local_address = 0;
    g_state.device_address = 0;
    std::memset(g_state.device_address_text, 0, sizeof g_state.device_address_text);
    g_state.stage = Transition;
    {
        std::lock_guard<std::mutex> lock(g_state.image_file_name_lock);
        std::memset(g_state.image_file_name, 0, sizeof g_state.image_file_name);
    }
    g_state.target_image = FirmwareImage{};
    g_state.transition_image = FirmwareImage{};
    std::memset(g_state.display_name, 0, sizeof g_state.display_name);
    g_state.phone_model = false;
    std::memset(g_state.response_buffer, 0, sizeof g_state.response_buffer);
    g_state.device_info = DeviceInfo{};
    g_state.digest = DigestChallenge{};
    g_state.random_state = 0;
}

void set_image_file_name(const char* name) {
    std::lock_guard<std::mutex> lock(g_state.image_file_name_lock);
    std::snprintf(g_state.image_file_name, sizeof g_state.image_file_name, "%s", name);
}

bool image_file_name_equals(const char* name) {
    std::lock_guard<std::mutex> lock(g_state.image_file_name_lock);
    return std::strcmp(g_state.image_file_name, name) == 0;
}

void copy_image_file_name(char* out, int capacity) {
    std::lock_guard<std::mutex> lock(g_state.image_file_name_lock);
    std::snprintf(out, static_cast<size_t>(capacity), "%s", g_state.image_file_name);
}

const FirmwareImage& image_for_stage(int stage) {
    return stage == Target ? g_state.target_image : g_state.transition_image;
}
