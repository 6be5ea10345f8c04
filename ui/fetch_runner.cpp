// A page fetch on a worker thread while the calling thread keeps the
// connecting dialog responsive; after a refusal, a silent retry with the
// device's new nonce or the password prompt.
#include <atomic>
#include <cstdio>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

#include "app/common.h"
#include "app/upgrade_state.h"
#include "http/http_fetch.h"
#include "platform/clock.h"
#include "platform/process.h"
#include "resources/dialog_templates.h"
#include "toolkit/window.h"
#include "ui/dialogs.h"

namespace {
const DialogBehaviour ConnectingBehaviour = {
    [](Window& w) {
        set_caption(w, std::string("Connecting with NUV@") + g_state.device_address_text);
        center_on_screen(w);
        set_progress_range(w, 1010, 0, 100);
    },
    [](Window& w, int id) {
        if (id != IdCancel) return;
        // The worker may be blocked in a socket call; it is not waited for.
        destroy_window(&w);
        show_error("Upgrade Failed: User Abort");
        end_process();
    },
};

const DialogBehaviour PasswordBehaviour = {
    [](Window& w) {
        set_control_text(w, 1007, PasswordHelpText);
        set_control_text(w, 1003, "admin");
        set_control_text(w, 1005, "");
        set_focus(w, 1005);
        center_on_screen(w);
    },
    [](Window& w, int id) {
        if (id == IdOk) {
            DigestChallenge& d = g_state.digest;
            std::snprintf(d.username, 127, "%s", control_text(w, 1003).c_str());
            std::snprintf(d.password, 127, "%s", control_text(w, 1005).c_str());
            end_dialog(w, 1);
        } else if (id == IdCancel) {
            end_dialog(w, 0);
        }
    },
};

// What one attempt shares with its worker; it outlives the worker.
struct Attempt {
    HttpFetchJob job;
    std::atomic<bool> ended{false};
    int32_t result = 0;
};
}  // namespace

int password_dialog() { return run_modal_dialog(*find_dialog_template(PasswordDialogId), PasswordBehaviour, nullptr); }

int32_t fetch_worker(const HttpFetchJob& job) {
    trace("HTTP %x:%u to %x:%u", job.local_address, job.local_port, job.device_address, job.device_port);
    return http_fetch(job.local_address, job.local_port, job.device_address, job.device_port, job.path,
                      job.response_buffer, job.buffer_capacity);
}

int32_t run_fetch_with_progress(HttpFetchJob job) {
    // The response buffer and the challenge are shared: fetches never overlap.
    std::lock_guard<std::mutex> fetch_lock(g_state.fetch_lock);
    int progress_position = 0, pass_count = 0, silent_retries = 0;
    for (;;) {
        auto attempt = std::make_shared<Attempt>();
        attempt->job = job;
        Window* dialog = create_dialog(*find_dialog_template(ConnectingDialogId), ConnectingBehaviour, nullptr);
        show_window(dialog);
        std::thread worker([attempt] {
            attempt->result = fetch_worker(attempt->job);
            attempt->ended = true;  // the end is told apart from every result value
        });
        while (!attempt->ended) {
            pump_one_message();
            sleep_ms(1);
            if (++pass_count == 10) {
                set_progress_position(*dialog, 1010, progress_position);
                if (++progress_position > 100) progress_position = 0;
                pass_count = 0;
            }
            end_process_if_requested();
        }
        worker.join();
        destroy_window(dialog);
        int32_t result = attempt->result;
        if (result >= 0) return result;
        const DigestChallenge& d = g_state.digest;
        if (d.password[0] && d.nonce_count == 0 && silent_retries < 1) {
            ++silent_retries;  // the device issued a new nonce: try it once unasked
            continue;
        }
        if (password_dialog() == 0) {
            show_error("Upgrade Failed: User Abort");
            end_process();
        }
        silent_retries = 0;
    }
}
