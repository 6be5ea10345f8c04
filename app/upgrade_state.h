// All process-wide state of a run, in one record. Each field says who
// writes it and who reads it; the few fields two threads share carry their
// own synchronisation.
#pragma once
#include <atomic>
#include <cstdint>
#include <mutex>

#include "app/firmware_image.h"
#include "http/device_info.h"
#include "http/digest_challenge.h"

enum UpgradeStage : int { Transition = 0, Target = 1 };

constexpr int MaxLocalAddresses = 8;
constexpr int ResponseBufferSize = 131072;
constexpr int ResponseCapacity = 0x1ffff;  // one byte stays for the NUL

struct UpgradeState {
    // Start-up (main thread), then read by all.
    void* instance;
    uint32_t local_addresses[MaxLocalAddresses];  // host order; 0 ends the list
    uint32_t local_address;                       // start-up, then the address dialog
    // The address dialog.
    uint32_t device_address;
    char device_address_text[64];
    // The decision on the main thread before the listener exists; the
    // listener thread once after the transition stage. Only ever goes up.
    std::atomic<int> stage;
    // Written by the main thread, compared by the listener: both under
    // image_file_name_lock, so a request never sees a half-written name.
    std::mutex image_file_name_lock;
    char image_file_name[128];
    // Start-up: the images and the product they are for.
    FirmwareImage target_image;
    FirmwareImage transition_image;
    char display_name[32];
    bool phone_model;
    // Written by the fetch worker, read by its caller after the worker ended.
    // fetch_lock is held for a whole fetch so that two never overlap.
    std::mutex fetch_lock;
    uint8_t response_buffer[ResponseBufferSize];
    DeviceInfo device_info;
    DigestChallenge digest;
    // The pseudo-random generator, drawn under random_lock.
    std::mutex random_lock;
    uint32_t random_state;
};

extern UpgradeState g_state;

// Clears every field to its start value (tests use it between cases).
void reset_upgrade_state();

void set_image_file_name(const char* name);
bool image_file_name_equals(const char* name);
void copy_image_file_name(char* out, int capacity);

const FirmwareImage& image_for_stage(int stage);
