#include "tftp/listener.h"

#include <memory>
#include <new>
#include <thread>
#include <unistd.h>

#include "app/common.h"
#include "app/upgrade_state.h"
#include "platform/clock.h"
#include "platform/process.h"
#include "platform/socket.h"
#include "tftp/notifications.h"
#include "tftp/session.h"

uint16_t start_tftp_listener(uint32_t local_address) { return start_tftp_listener_from(local_address, TftpFirstPort); }

uint16_t start_tftp_listener_from(uint32_t local_address, uint16_t first_port) {
    // Lives until the process ends, from the listener thread.
    TftpListener* listener = new (std::nothrow) TftpListener{};
    if (!listener) {
        show_error("Upgrade Failed: Can't malloc for TFTP listener");
        end_process();
    }
    int fd = make_udp_socket();
    if (fd < 0) {
        show_error("Upgrade Failed: Can't create TFTP listener socket");
        end_process();
    }
    int bound = -1;
    for (int i = 0; i < TftpPortsTried && bound < 0; ++i)
        if (bind_socket(fd, local_address, static_cast<uint16_t>(first_port + i))) bound = first_port + i;
    if (bound < 0) {
        show_error("Upgrade Failed: Can't bind TFTP listener socket");
        end_process();
    }
    listener->local_address = local_address;
    listener->port = static_cast<uint16_t>(bound);
    listener->socket = fd;
    std::thread(tftp_listener_thread, listener).detach();
    return listener->port;
}

void tftp_listener_thread(TftpListener* listener) {
    run_listener(listener);
    ::close(listener->socket);
    end_process();
}

ListenerAction handle_listener_datagram(const TftpListener& l, int length) {
    if (length < 2) return Dropped;
    switch (get_u16_be(l.receive_buffer)) {
    case OpRrq: {
        const char* name = read_request_name(l.receive_buffer, length);
        if (!name) return Dropped;
        char expected[128];
        copy_image_file_name(expected, sizeof expected);
        trace("%s %s\n", expected, name);
        if (image_file_name_equals(name)) return ServeRequest;
        trace("+++ Bad TFTP RRQ filename %s\n", name);
        return Dropped;
    }
    case OpWrq: trace("TFTP Rx WRQ?\n"); return Dropped;
    case OpData: trace("TFTP Rx Data?\n"); return Dropped;
    case OpAck: trace("TFTP Rx ACK?\n"); return Dropped;
    case OpError: trace("TFTP Rx Error?\n"); return Dropped;
    default: return Dropped;
    }
}

void run_listener(TftpListener* l) {
    const TftpNotifications& ui = g_tftp_notifications;
    if (ui.waiting_started) ui.waiting_started(true);
    int idle = 0;
    set_nonblocking(l->socket);
    set_coarse_timer(true);  // the idle wait need not wake a thousand times a second
    for (;;) {
        uint32_t address = 0;
        uint16_t port = 0;
        int n = receive_datagram(l->socket, l->receive_buffer, TftpBufferSize, &address, &port);
        if (n >= 1) {
            if (handle_listener_datagram(*l, n) == Dropped) continue;
            if (ui.waiting_ended) ui.waiting_ended();
            set_coarse_timer(false);
            run_tftp_session(l->socket, l->local_address, l->port, address, port,
                             reinterpret_cast<const char*>(l->receive_buffer + 2));
            if (g_state.stage == Target) return;
            g_state.stage = Target;
            if (ui.waiting_started) ui.waiting_started(false);
            set_coarse_timer(true);
            idle = 0;
            continue;
        }
        tftp_poll_pause(l->socket);
        if (++idle == 1000) idle = 0;
        if (ui.waiting_tick) ui.waiting_tick(idle);
        if (ui.pump_all_events) ui.pump_all_events();
        end_process_if_requested();
    }
}
