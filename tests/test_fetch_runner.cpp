// The fetch runner against a scripted web server on loopback, with a
// headless user answering the password dialog.
#include <gtest/gtest.h>

#include <atomic>
#include <cstring>
#include <thread>

#include "app/common.h"
#include "app/upgrade_state.h"
#include "platform/clock.h"
#include "resources/dialog_templates.h"
#include "tests/support/headless_user.h"
#include "tests/support/test_http_server.h"
#include "tftp/notifications.h"
#include "ui/dialogs.h"

namespace {
std::string challenge(const std::string& nonce) {
    return "HTTP/1.1 401 Unauthorized\r\nWWW-Authenticate: Digest realm=\"NUV\", nonce=\"" + nonce +
           "\", qop=\"auth\", algorithm=\"MD5\"\r\n\r\n";
}
const std::string Page = ok_page("<td>Software Version:</td><td>3.1.5(SE)</td>");

class FetchRunner : public testing::Test {
protected:
    HeadlessUser user;
    TestHttpServer server;
    std::vector<std::string> passwords;  // typed at each prompt, in order
    int prompts = 0;
    void SetUp() override {
        reset_upgrade_state();
        std::strcpy(g_state.device_address_text, "127.0.0.1");
        prompts = 0;
        user.shown.clear();
        user.install();
        user.answers[104] = [this](Window&) {
            std::string p = prompts < static_cast<int>(passwords.size()) ? passwords[static_cast<size_t>(prompts)] : "";
            ++prompts;
            post_keys((p + "\n").c_str());
        };
    }
    void TearDown() override { user.uninstall(); }
    int32_t fetch() {
        return run_fetch_with_progress(HttpFetchJob{nullptr, Loopback, 23456, Loopback, server.port, "/admin/advanced",
                                                    g_state.response_buffer, 0x1ffff});
    }
    size_t attempts() { return server.received().size(); }
};

TEST_F(FetchRunner, PasswordHandlingByDeviceBehaviour) {
    struct Case {
        const char* name;
        std::vector<std::string> replies;
        std::vector<std::string> passwords;
        const char* stored_password;  // before the call
        int prompts;
        size_t attempts;
    } cases[] = {
        {"no password needed", {Page}, {}, "", 0, 1},
        {"first refusal prompts at once, right password", {challenge("n1"), Page}, {"secret"}, "", 1, 2},
        {"wrong password, kept nonce: prompt after one more attempt",
         {challenge("n1"), challenge("n1"), Page}, {"wrong", "secret"}, "", 2, 3},
        {"wrong password, new nonce each time: one silent retry, then the prompt",
         {challenge("n1"), challenge("n2"), challenge("n3"), Page}, {"wrong", "secret"}, "", 2, 4},
        {"empty password: the prompt opens again at once", {challenge("n1"), challenge("n1"), Page}, {"", "secret"},
         "", 2, 3},
        {"rebooted device: the silent retry succeeds", {challenge("fresh"), Page}, {}, "secret", 0, 2},
        {"no answer: zero after one attempt", {""}, {}, "", 0, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TearDown();
        SetUp();
        TestHttpServer fresh;
        std::swap(server.port, fresh.port);  // each case its own server
        for (auto& r : c.replies) fresh.reply(r);
        passwords = c.passwords;
        if (c.stored_password[0]) {
            std::strcpy(g_state.digest.password, c.stored_password);
            std::strcpy(g_state.digest.nonce, "old");
            std::strcpy(g_state.digest.counted_nonce, "old");
            g_state.digest.nonce_count = 7;
        }
        int32_t result = fetch();
        std::swap(server.port, fresh.port);
        EXPECT_EQ(prompts, c.prompts);
        EXPECT_EQ(fresh.received().size(), c.attempts);
        EXPECT_EQ(result, c.replies.back().empty() ? 0 : static_cast<int32_t>(Page.size()));
        EXPECT_EQ(user.count(ConnectingDialogId), static_cast<int>(c.attempts));
        auto requests = fresh.received();
        if (c.prompts && std::string(c.passwords.back()) == "secret") {
            EXPECT_NE(requests.back().bytes.find("Authorization: Digest username=\"admin\""), std::string::npos);
        }
    }
}

// The sleep of each pass records the connecting dialog's bar, per dialog.
struct BarSample {
    int handle, position;
};
std::vector<BarSample>* g_samples;
std::atomic<int> g_passes{0};
void recording_sleep(uint32_t) {
    ++g_passes;
    for (const Window& w : desktop_snapshot())
        if (w.t->id == ConnectingDialogId)
            for (const Control& c : w.controls)
                if (c.t->id == 1010 && (g_samples->empty() || g_samples->back().handle != w.handle ||
                                        g_samples->back().position != c.position))
                    g_samples->push_back({w.handle, c.position});
    std::this_thread::sleep_for(std::chrono::microseconds(50));
}

TEST_F(FetchRunner, ProgressStepsEveryTenPassesAndCarriesAcrossAttempts) {
    std::vector<BarSample> samples;
    g_samples = &samples;
    g_passes = 0;
    set_clock_hooks({nullptr, recording_sleep});
    server.reply(challenge("n1"));
    server.reply(Page);
    passwords = {"secret"};
    // The device answers the first request only after 1200 passes, so the
    // bar runs past 100 and wraps before the second attempt begins.
    std::atomic<bool> holding{false};
    std::thread release([&] {
        std::lock_guard<std::mutex> hold(server.lock);
        holding = true;
        while (g_passes < 1200) std::this_thread::sleep_for(std::chrono::milliseconds(1));
    });
    while (!holding) std::this_thread::sleep_for(std::chrono::milliseconds(1));
    EXPECT_GT(fetch(), 0);
    release.join();
    set_clock_hooks({});
    // A new dialog's bar starts at 0 until the runner sets it; past that, every
    // change is one step up or the wrap from 100 to 0, across both attempts.
    std::vector<int> positions;
    int handle = 0;
    for (const BarSample& s : samples) {
        bool fresh = s.handle != handle;
        handle = s.handle;
        if (fresh && !positions.empty() && s.position == 0) continue;
        positions.push_back(s.position);
    }
    ASSERT_GE(positions.size(), 110u);
    int wraps = 0;
    for (size_t i = 1; i < positions.size(); ++i) {
        if (positions[i - 1] == 100 && positions[i] == 0)
            ++wraps;
        else
            EXPECT_EQ(positions[i], positions[i - 1] + 1) << i;
    }
    EXPECT_EQ(wraps, 1);
    EXPECT_EQ(user.count(ConnectingDialogId), 2);
}

// Runs a fetch whose user cancels `dialog`; never returns normally.
void cancel_in(int dialog) {
    HeadlessUser user;
    user.install();
    user.answers[dialog] = [](Window&) { post_key(KeyEscape); };
    user.answers[0] = [](Window&) { post_key(KeyEnter); };  // dismiss the error box
    set_error_box([](const char* text, const char* caption) {
        fprintf(stderr, "%s: %s\n", caption, text);
        message_box(text, caption, true);
    });
    TestHttpServer server;
    server.reply(challenge("n1"));
    // For the connecting dialog the server is kept from answering: the
    // worker stays blocked in its receive while the user cancels.
    std::unique_lock<std::mutex> hold(server.lock, std::defer_lock);
    if (dialog == ConnectingDialogId) hold.lock();
    run_fetch_with_progress(
        HttpFetchJob{nullptr, Loopback, 23456, Loopback, server.port, "/", g_state.response_buffer, 0x1ffff});
    _exit(5);
}

TEST(FetchRunnerDeath, CancelInEitherDialogEndsWithUserAbort) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(cancel_in(ConnectingDialogId), testing::ExitedWithCode(0),
                "NUV Firwmare Upgrade Error: Upgrade Failed: User Abort");
    EXPECT_EXIT(cancel_in(PasswordDialogId), testing::ExitedWithCode(0),
                "NUV Firwmare Upgrade Error: Upgrade Failed: User Abort");
}

TEST(TwoThreads, WaitingAndConnectingDialogsAreUpTogetherEachPumpedByItsOwnThread) {
    HeadlessUser user;
    user.install();
    reset_upgrade_state();
    install_dialogs();
    std::atomic<bool> done{false};
    std::atomic<int> waiting_shown{0};
    user.answers[WaitingDialogId] = [&](Window&) { waiting_shown = 1; };
    std::thread listener([&] {
        g_tftp_notifications.waiting_started(true);
        while (!done) {
            g_tftp_notifications.waiting_tick(1);
            g_tftp_notifications.pump_all_events();
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        g_tftp_notifications.waiting_ended();
    });
    while (!waiting_shown) std::this_thread::sleep_for(std::chrono::milliseconds(1));
    std::vector<int> seen;
    user.answers[ConnectingDialogId] = [&](Window&) {
        for (const Window& w : desktop_snapshot()) seen.push_back(w.t->id);
        // Tab goes to the topmost dialog, the connecting one, and is handled
        // by this thread's pumping without ending anything.
        post_key(KeyTab);
    };
    TestHttpServer server;
    server.reply(ok_page("x"));
    EXPECT_GT(run_fetch_with_progress(HttpFetchJob{nullptr, Loopback, 23456, Loopback, server.port, "/",
                                                   g_state.response_buffer, 0x1ffff}),
              0);
    done = true;
    listener.join();
    EXPECT_EQ(seen, (std::vector<int>{WaitingDialogId, ConnectingDialogId}));
    g_tftp_notifications = TftpNotifications{};
    set_error_box(nullptr);
    user.uninstall();
}
}  // namespace
