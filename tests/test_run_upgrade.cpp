// The upgrade sequence with fake dialogs, fetches and listener.
#include <gtest/gtest.h>

#include <atomic>
#include <cstdio>
#include <cstring>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "app/common.h"
#include "app/upgrade.h"
#include "app/upgrade_calls.h"
#include "app/upgrade_state.h"
#include "platform/local_addresses.h"

namespace {
struct Config {
    bool register_ok = true;
    int notice = 1;
    int address = 1;
    uint32_t typed_address = 0xC0A8000A;  // 192.168.0.10
    int32_t status_result = 500;
    const char* device_version = "3.0.0";
    int confirm = 1;
    uint16_t listener_port = 70;
};
struct Fakes : Config {
    // What happened.
    std::mutex lock;
    std::vector<std::string> calls;
    std::vector<std::string> paths;
    std::vector<std::string> errors;
    int confirm_template = 0, address_template = 0;
    std::atomic<int> requests_when_stage_set{-1};
    std::thread listener;
};
Fakes* fakes;

void record(const std::string& s) {
    std::lock_guard<std::mutex> l(fakes->lock);
    fakes->calls.push_back(s);
}

const UpgradeCalls fake_calls = {
    [](const char* name) {
        record(std::string("register ") + name);
        return fakes->register_ok;
    },
    [] { record("controls"); },
    [](void*) {
        record("notice");
        return fakes->notice;
    },
    [](void*, int template_id) {
        record("address");
        fakes->address_template = template_id;
        g_state.device_address = fakes->typed_address;
        char name[128];
        format_image_file_name(name, sizeof name, next_random(), g_state.stage);
        set_image_file_name(name);
        return fakes->address;
    },
    [](HttpFetchJob job) -> int32_t {
        EXPECT_EQ(job.local_port, 23456);
        EXPECT_EQ(job.device_port, 80);
        EXPECT_EQ(job.buffer_capacity, 131071);
        EXPECT_EQ(job.response_buffer, g_state.response_buffer);
        EXPECT_EQ(job.device_address, g_state.device_address);
        EXPECT_EQ(job.local_address, g_state.local_address);
        record(std::string("fetch ") + job.path);
        std::lock_guard<std::mutex> l(fakes->lock);
        fakes->paths.push_back(job.path);
        if (std::strcmp(job.path, "/admin/advanced") == 0) {
            std::snprintf(g_state.device_info.software_version, 128, "%s", fakes->device_version);
            return fakes->status_result;
        }
        return 10;
    },
    [](void*, int template_id) {
        record("confirm");
        fakes->confirm_template = template_id;
        return fakes->confirm;
    },
    [](uint32_t) -> uint16_t {
        record("listener");
        if (g_state.stage == Transition) {
            // Stands in for the listener thread finishing the transition stage.
            fakes->listener = std::thread([] {
                for (;;) {
                    {
                        std::lock_guard<std::mutex> l(fakes->lock);
                        if (fakes->paths.size() >= 2) break;
                    }
                    std::this_thread::sleep_for(std::chrono::milliseconds(1));
                }
                std::this_thread::sleep_for(std::chrono::milliseconds(30));
                {
                    std::lock_guard<std::mutex> l(fakes->lock);
                    fakes->requests_when_stage_set = static_cast<int>(fakes->paths.size()) - 1;
                }
                g_state.stage = Target;
            });
        }
        return fakes->listener_port;
    },
    [] { record("idle"); },
};

uint32_t g_fake_addresses[12];
int g_fake_address_count = 1;
int fake_address_source(uint32_t* out, int capacity) {
    int n = std::min(capacity, g_fake_address_count);
    for (int i = 0; i < n; ++i) out[i] = g_fake_addresses[i];
    return n;
}

class RunUpgrade : public testing::Test {
protected:
    Fakes f;
    void SetUp() override {
        reset_upgrade_state();
        fakes = &f;
        g_upgrade_calls = fake_calls;
        set_error_box([](const char* text, const char* caption) {
            EXPECT_STREQ(caption, "NUV Firwmare Upgrade Error");
            std::lock_guard<std::mutex> l(fakes->lock);
            fakes->errors.push_back(text);
        });
        g_fake_addresses[0] = 0x0A000005;  // 10.0.0.5
        g_fake_address_count = 1;
        set_local_address_source(fake_address_source);
    }
    void TearDown() override {
        if (f.listener.joinable()) f.listener.join();
        set_error_box(nullptr);
        set_local_address_source(nullptr);
    }
    std::string sequence() {
        std::string s;
        for (auto& c : f.calls) s += (s.empty() ? "" : " | ") + c;
        return s;
    }
};

TEST_F(RunUpgrade, EarlyExitsReturnZeroWithTheirMessageOrNone) {
    struct Case {
        const char* name;
        void (*setup)(Fakes&);
        const char* last_call;
        const char* error;
    } cases[] = {
        {"class not registered", [](Fakes& x) { x.register_ok = false; }, "register NuvUpgrade", nullptr},
        {"notice cancelled", [](Fakes& x) { x.notice = 0; }, "notice", nullptr},
        {"address cancelled", [](Fakes& x) { x.address = 0; }, "address", nullptr},
        {"no device address", [](Fakes& x) { x.typed_address = 0; }, "address", nullptr},
        {"no status page", [](Fakes& x) { x.status_result = 0; }, "fetch /admin/advanced",
         "Upgrade Failed: No Response From NUV"},
        {"confirmation cancelled", [](Fakes& x) { x.confirm = 0; }, "confirm", "Upgrade Failed: User Abort"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SetUp();
        static_cast<Config&>(f) = Config{};
        c.setup(f);
        f.calls.clear();
        f.errors.clear();
        EXPECT_EQ(run_upgrade(nullptr), 0);
        ASSERT_FALSE(f.calls.empty());
        EXPECT_EQ(f.calls.back(), c.last_call) << sequence();
        if (c.error) {
            ASSERT_EQ(f.errors.size(), 1u);
            EXPECT_EQ(f.errors[0], c.error);
        } else {
            EXPECT_TRUE(f.errors.empty());
        }
        for (auto& call : f.calls) EXPECT_NE(call, "listener") << "no listener on an early exit";
    }
}

TEST_F(RunUpgrade, OneStageSendsOneRequestNamingTheListenerPortThenIdles) {
    g_fake_addresses[0] = 0xC0A80114;  // 192.168.1.20
    f.listener_port = 69;
    EXPECT_EQ(run_upgrade(nullptr), 0);
    EXPECT_EQ(f.confirm_template, 103);
    EXPECT_EQ(f.address_template, 101);
    ASSERT_EQ(f.paths.size(), 2u) << sequence();
    char name[128];
    copy_image_file_name(name, sizeof name);
    EXPECT_EQ(f.paths[1], std::string("/admin/upgrade?tftp://192.168.1.20:69") + name);
    EXPECT_EQ(name[std::strlen(name) - 1], '0');
    EXPECT_EQ(sequence(),
              "register NuvUpgrade | controls | notice | address | fetch /admin/advanced | confirm | listener | "
              "fetch " + f.paths[1] + " | idle");
    EXPECT_TRUE(f.errors.empty());
}

TEST_F(RunUpgrade, TwoStagesSendTheSecondRequestOnlyAfterTheStageBecameTarget) {
    f.device_version = "2.0.11";
    EXPECT_EQ(run_upgrade(nullptr), 0);
    EXPECT_EQ(f.confirm_template, 304);
    ASSERT_EQ(f.paths.size(), 3u) << sequence();
    EXPECT_EQ(f.requests_when_stage_set.load(), 1) << "second request sent before the stage changed";
    std::string first = f.paths[1], second = f.paths[2];
    std::string prefix = "/admin/upgrade?tftp://10.0.0.5:70/nuv";
    EXPECT_EQ(first.compare(0, prefix.size(), prefix), 0) << first;
    EXPECT_EQ(second.compare(0, prefix.size(), prefix), 0) << second;
    EXPECT_EQ(first.back(), '0');
    EXPECT_EQ(second.back(), '1');
    char name[128];
    copy_image_file_name(name, sizeof name);
    EXPECT_EQ(second, "/admin/upgrade?tftp://10.0.0.5:70" + std::string(name));
    EXPECT_EQ(f.calls.back(), "idle");
}

TEST_F(RunUpgrade, CarriedAdapterImageOpensTheAdapterAddressDialog) {
    EXPECT_EQ(run_upgrade(nullptr), 0);
    EXPECT_EQ(f.address_template, 101);
    EXPECT_FALSE(g_state.phone_model);
    EXPECT_STREQ(g_state.display_name, "NUV-4101");
}

TEST(UpgradePath, IsFormedFromAddressPortAndName) {
    char path[128];
    format_upgrade_path(path, sizeof path, 0x0A000005, 70, "/nuv7fff.bi0");
    EXPECT_STREQ(path, "/admin/upgrade?tftp://10.0.0.5:70/nuv7fff.bi0");
    format_upgrade_path(path, sizeof path, 0, 69, "/nuv0.bi0");
    EXPECT_STREQ(path, "/admin/upgrade?tftp://0.0.0.0:69/nuv0.bi0");
    format_upgrade_path(path, sizeof path, 0xFFFFFFFF, 168, "/nuv7fff.bi1");
    EXPECT_EQ(std::strlen(path), 53u);
}

TEST_F(RunUpgrade, StartUpKeepsTheFirstEightAddressesInOrder) {
    g_fake_address_count = 12;
    for (int i = 0; i < 12; ++i) g_fake_addresses[i] = 0x0A000001 + static_cast<uint32_t>(i) * 7;
    g_upgrade_calls.init_common_controls = nullptr;
    start_up();
    for (int i = 0; i < 8; ++i) EXPECT_EQ(g_state.local_addresses[i], g_fake_addresses[i]);
    EXPECT_EQ(g_state.local_address, g_fake_addresses[0]);
    EXPECT_EQ(g_state.target_image.size, 742976u);
    EXPECT_EQ(g_state.transition_image.size, 728976u);
}

TEST_F(RunUpgrade, StartUpWithNoAddressLeavesTheListEmptyAndTheRequestNamesAnyAddress) {
    g_fake_address_count = 0;
    std::strcpy(g_state.digest.password, "old");
    EXPECT_EQ(run_upgrade(nullptr), 0);
    for (uint32_t a : g_state.local_addresses) EXPECT_EQ(a, 0u);
    EXPECT_EQ(g_state.local_address, 0u);
    EXPECT_STREQ(g_state.digest.password, "") << "authentication state reset at start-up";
    ASSERT_EQ(f.paths.size(), 2u);
    EXPECT_EQ(f.paths[1].rfind("/admin/upgrade?tftp://0.0.0.0:70/nuv", 0), 0u) << f.paths[1];
}
}  // namespace
