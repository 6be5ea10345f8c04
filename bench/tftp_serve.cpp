// Serves the target image with our listener and session, over and over, on
// 127.0.0.1 at the given port, for the throughput benchmark. The completion
// check's update wait is skipped (its clock runs instantly) and its status
// fetch answers at once. "--sleep" uses the plain 1 ms sleep between polls
// instead of the readable-wait.
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>

#include "app/common.h"
#include "app/firmware_image.h"
#include "app/upgrade_state.h"
#include "platform/clock.h"
#include "platform/socket.h"
#include "tftp/listener.h"
#include "tftp/notifications.h"
#include "tftp/session.h"

namespace {
// Only the completion check reads the clock: a fake one that the update
// wait's own sleeps move on by a second each, so the wait passes at once.
std::atomic<uint32_t> g_now{0};
std::atomic<bool> g_in_update_wait{false};

uint32_t bench_now() { return g_now.load(); }
void bench_sleep(uint32_t ms) {
    if (g_in_update_wait) {
        g_now += 1000;
        return;
    }
    timespec ts{0, static_cast<long>(ms) * 1000000L};
    nanosleep(&ts, nullptr);
}
}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: tftp_serve PORT [--sleep]\n");
        return 2;
    }
    const uint16_t port = static_cast<uint16_t>(std::atoi(argv[1]));
    g_tftp_wait_readable = !(argc > 2 && std::strcmp(argv[2], "--sleep") == 0);
    load_firmware_image(TargetImageId, &g_state.target_image);
    g_state.stage = Target;
    set_image_file_name("/nuv1a2b.bi0");
    set_error_box([](const char*, const char*) {});
    TftpNotifications n{};
    n.update_wait_started = [](int) { g_in_update_wait = true; };
    n.upload_ended = [] { g_in_update_wait = false; };
    n.run_fetch = [](HttpFetchJob) -> int32_t {
        std::strcpy(g_state.device_info.software_version, g_state.target_image.header.version);
        return 1;
    };
    g_tftp_notifications = n;
    set_clock_hooks({bench_now, bench_sleep});
    Socket s(make_udp_socket());
    if (!bind_socket(s.fd, 0x7F000001, port)) {
        std::fprintf(stderr, "tftp_serve: cannot bind 127.0.0.1:%u\n", port);
        return 1;
    }
    TftpListener listener{};
    listener.local_address = 0x7F000001;
    listener.port = port;
    listener.socket = s.fd;
    for (;;) run_listener(&listener);
}
