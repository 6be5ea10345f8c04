#include "tests/support/tftp_fixture.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "app/common.h"
#include "app/upgrade_state.h"
#include "platform/clock.h"
#include "tftp/notifications.h"

NotificationLog* g_log;
std::atomic<uint32_t> g_fake_now{0};

void NotificationLog::add(const std::string& e) {
    std::lock_guard<std::mutex> l(lock);
    events.push_back(e);
}

std::vector<std::string> NotificationLog::snapshot() {
    std::lock_guard<std::mutex> l(lock);
    return events;
}

int NotificationLog::count(const std::string& e) {
    std::lock_guard<std::mutex> l(lock);
    return static_cast<int>(std::count(events.begin(), events.end(), e));
}

void NotificationLog::clear() {
    std::lock_guard<std::mutex> l(lock);
    events.clear();
    errors.clear();
    titles.clear();
    progress.clear();
    fetch_results.clear();
    fetches = 0;
}

namespace {
const TftpNotifications recording = {
    [](bool with_text) { g_log->add(with_text ? "waiting_started text" : "waiting_started"); },
    [](int) {},
    [] {},
    [] { g_log->add("waiting_ended"); },
    [](uint32_t blocks) { g_log->add("upload_started " + std::to_string(blocks)); },
    [](uint32_t acked, int32_t bytes, uint32_t size, int stage) {
        char title[128];
        format_upload_title(title, stage, bytes, size);
        std::lock_guard<std::mutex> l(g_log->lock);
        g_log->titles.push_back(title);
        (void)acked;
    },
    [] {},
    [](int stage) {
        char title[128];
        format_update_title(title, stage);
        g_log->add(std::string("update_wait_started ") + title);
    },
    [](uint32_t units) {
        std::lock_guard<std::mutex> l(g_log->lock);
        g_log->progress.push_back(units);
    },
    [] { g_log->add("upload_ended"); },
    [] {
        g_log->add(std::string("success ") + g_state.device_info.software_version);
        return 1;
    },
    [](HttpFetchJob job) -> int32_t {
        std::lock_guard<std::mutex> l(g_log->lock);
        g_log->events.push_back(std::string("fetch ") + job.path);
        int32_t r = g_log->fetches < static_cast<int>(g_log->fetch_results.size()) ? g_log->fetch_results[g_log->fetches]
                                                                                   : 100;
        g_log->fetches++;
        if (r > 0) std::snprintf(g_state.device_info.software_version, 128, "%s", g_log->reported_version.c_str());
        return r;
    },
};
}  // namespace

void TftpTest::SetUp() {
    reset_upgrade_state();
    log.clear();
    g_log = &log;
    g_tftp_notifications = recording;
    std::strcpy(g_state.device_address_text, "127.0.0.1");
    set_error_box([](const char* text, const char*) {
        std::lock_guard<std::mutex> l(g_log->lock);
        g_log->errors.push_back(text);
        g_log->events.push_back(std::string("error ") + text);
    });
    g_fake_now = 1000;
    set_clock_hooks({[] { return g_fake_now.load(); }, [](uint32_t ms) { g_fake_now += ms; }});
    load_firmware_image(TargetImageId, &g_state.target_image);
    load_firmware_image(TransitionImageId, &g_state.transition_image);
}

void TftpTest::TearDown() {
    set_clock_hooks({});
    set_error_box(nullptr);
    g_tftp_notifications = TftpNotifications{};
}

void TftpTest::use_image(uint32_t size, int stage) {
    image.resize(size);
    for (uint32_t i = 0; i < size; ++i) image[i] = static_cast<uint8_t>(i * 31 + i / 512);
    FirmwareImage& target = stage == Target ? g_state.target_image : g_state.transition_image;
    target.data = image.data();
    target.size = size;
    g_state.stage = stage;
}
