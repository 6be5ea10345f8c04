// Shared set-up for the firmware-server tests: an image of a chosen size
// for the current stage, a fake clock that sleeps instantly, and a record
// of the notifications.
#pragma once
#include <atomic>
#include <mutex>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "app/firmware_image.h"

struct NotificationLog {
    std::mutex lock;
    std::vector<std::string> events;
    std::vector<std::string> errors;
    std::vector<std::string> titles;
    std::vector<uint32_t> progress;
    std::vector<int32_t> fetch_results;  // scripted results of the status fetch
    std::string reported_version = "3.1.5(SE)";
    int fetches = 0;
    void add(const std::string& e);
    std::vector<std::string> snapshot();
    int count(const std::string& e);
    void clear();
};

extern NotificationLog* g_log;
extern std::atomic<uint32_t> g_fake_now;

class TftpTest : public testing::Test {
protected:
    NotificationLog log;
    std::vector<uint8_t> image;
    void SetUp() override;
    void TearDown() override;
    // Installs an image of `size` bytes (a repeating pattern) for `stage`.
    void use_image(uint32_t size, int stage);
};
