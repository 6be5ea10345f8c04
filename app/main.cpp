// nuv-upgrade: the whole run is a sequence of dialogs in the terminal.
#include <cstdio>
#include <unistd.h>

#include "app/upgrade.h"
#include "app/upgrade_calls.h"
#include "platform/process.h"
#include "tftp/listener.h"
#include "toolkit/terminal/terminal_backend.h"
#include "ui/dialogs.h"

namespace {
const UpgradeCalls ProgramCalls = {
    [](const char*) {
        if (terminal_start()) return true;
        std::fputs("nuv-upgrade runs in a terminal: start it from one\n", stderr);
        return false;
    },
    [] {},
    notice_dialog,
    address_dialog,
    run_fetch_with_progress,
    confirm_dialog,
    start_tftp_listener,
    // Idle until another thread ends the process; a termination signal
    // interrupts the wait (the listener's loop notices it too).
    [] {
        for (;;) {
            pause();
            end_process_if_requested();
        }
    },
};
}  // namespace

int main() {
    install_termination_signals();
    install_dialogs();
    g_upgrade_calls = ProgramCalls;
    int status = run_upgrade(nullptr);
    terminal_restore();
    return status;
}
