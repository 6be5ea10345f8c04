#include <gtest/gtest.h>

#include <cstring>

#include "app/upgrade_state.h"
#include "platform/clock.h"
#include "tests/support/tftp_fixture.h"
#include "tftp/completion.h"
#include "tftp/notifications.h"

namespace {
class CompleteStage : public TftpTest {
protected:
    TftpSession session{};
    void SetUp() override {
        TftpTest::SetUp();
        session.local_address = 0x7F000001;
        session.peer_address = 0x7F000002;
        g_state.stage = Target;
    }
    std::vector<std::string> run(bool gave_up = false) {
        complete_stage(&session, gave_up);
        return log.snapshot();
    }
};

TEST_F(CompleteStage, WaitsNineHundredThirtySevenUnitsThenConfirmsAndShowsSuccess) {
    auto events = run();
    ASSERT_FALSE(log.progress.empty());
    EXPECT_EQ(log.progress.front(), 0u);
    EXPECT_EQ(log.progress.back(), 937u);
    EXPECT_EQ(log.progress.size(), 938u);  // one reading every 32 ms
    std::vector<std::string> expected = {"update_wait_started Updating Target Firmware to NUV@127.0.0.1",
                                         "upload_ended", "fetch /admin/advanced", "success 3.1.5(SE)"};
    EXPECT_EQ(events, expected);
}

TEST_F(CompleteStage, AClockThatWrapsStillEndsTheWaitAfter937Units) {
    g_fake_now = 0xFFFFFFFFu - 5000;
    run();
    EXPECT_EQ(log.progress.back(), 937u);
    EXPECT_LT(log.progress.size(), 940u);
}

TEST_F(CompleteStage, OutcomesByTransferAndCheck) {
    struct Case {
        const char* name;
        int stage;
        bool gave_up;
        std::vector<int32_t> fetch_results;
        const char* reported;
        bool phone;
        int fetches;
        const char* error;  // nullptr: none
        bool success;
    } cases[] = {
        {"target confirmed at the fourth attempt", Target, false, {0, 0, 0, 50}, "3.1.5(SE)", false, 4, nullptr, true},
        {"version in other letter case", Target, false, {}, "3.1.5(se)", false, 1, "Upgrade Failed: Version not matching",
         false},
        {"handset accepts any version", Target, false, {}, "9.9", true, 1, nullptr, true},
        {"transition confirmed: no success dialog", Transition, false, {}, "2.0.12", false, 1, nullptr, false},
        {"transfer given up", Target, true, {}, "3.1.5(SE)", false, 0, "Upgrade Failed: Firmware Upload Incomplete",
         false},
        {"device never comes back", Target, false, {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 5}, "3.1.5(SE)", false, 10,
         "Upgrade Failed: No Response From NUV", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TearDown();
        SetUp();
        g_state.stage = c.stage;
        g_state.phone_model = c.phone;
        log.fetch_results = c.fetch_results;
        log.reported_version = c.reported;
        auto events = run(c.gave_up);
        EXPECT_EQ(log.fetches, c.fetches);
        if (c.error) {
            ASSERT_EQ(log.errors.size(), 1u);
            EXPECT_EQ(log.errors[0], c.error);
        } else {
            EXPECT_TRUE(log.errors.empty());
        }
        bool success = !events.empty() && events.back().rfind("success", 0) == 0;
        EXPECT_EQ(success, c.success);
        EXPECT_EQ(log.progress.back(), 937u) << "the full wait whatever the outcome";
    }
}

TEST_F(CompleteStage, FetchesFromTheAddressTheRequestCameFrom) {
    HttpFetchJob seen{};
    static HttpFetchJob* out;
    out = &seen;
    g_tftp_notifications.run_fetch = [](HttpFetchJob job) -> int32_t {
        *out = job;
        std::strcpy(g_state.device_info.software_version, "3.1.5(SE)");
        return 1;
    };
    g_state.device_address = 0x0A000001;
    run();
    EXPECT_EQ(seen.device_address, 0x7F000002u);
    EXPECT_EQ(seen.local_address, 0x7F000001u);
    EXPECT_EQ(seen.local_port, 23456);
    EXPECT_EQ(seen.device_port, 80);
    EXPECT_STREQ(seen.path, "/admin/advanced");
    EXPECT_EQ(seen.buffer_capacity, 131071);
}
}  // namespace
