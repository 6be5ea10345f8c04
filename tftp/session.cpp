#include "tftp/session.h"

#include <cstring>
#include <memory>
#include <new>

#include "app/common.h"
#include "app/upgrade_state.h"
#include "platform/clock.h"
#include "platform/process.h"
#include "platform/socket.h"
#include "tftp/completion.h"
#include "tftp/notifications.h"

bool g_tftp_wait_readable = true;

void tftp_poll_pause(int socket) {
    if (g_tftp_wait_readable)
        wait_readable(socket, 1);
    else
        sleep_ms(1);
}

SessionEvent classify_session_datagram(const TftpSession& s, int length, uint32_t address, uint16_t port) {
    if (length <= 0) return NothingReceived;
    if (address != s.peer_address || port != s.peer_port) return ForeignSource;
    // An ACK is 4 bytes at least; a shorter datagram is not read further.
    if (length < 4 || get_u16_be(s.packet_buffer) != OpAck) return NotAck;
    if (get_u16_be(s.packet_buffer + 2) != s.acked_count) return WrongAck;
    return MatchingAck;
}

bool serve_blocks(TftpSession* s, const uint8_t* image) {
    const TftpNotifications& ui = g_tftp_notifications;
    if (ui.upload_started) ui.upload_started(s->block_count);
    set_nonblocking(s->socket);
    sockaddr_in peer;
    fill_sockaddr(s->peer_address, s->peer_port, &peer);
    send_option_ack(s->socket, s->packet_buffer, &peer, s->image_size);
    int poll_count = 0, retry_count = 0;
    const uint8_t* current_block_data = image;
    for (;;) {
        uint32_t address = 0;
        uint16_t port = 0;
        int n = receive_datagram(s->socket, s->packet_buffer, TftpBufferSize, &address, &port);
        switch (classify_session_datagram(*s, n, address, port)) {
        case NothingReceived:
            if (ui.pump_one_event) ui.pump_one_event();
            break;
        case ForeignSource:
            trace("Unknown source request in session: %x:%u", address, port);
            break;
        case NotAck:
            break;
        case WrongAck:
            continue;  // a duplicate: not counted, nothing resent
        case MatchingAck:
            s->acked_count++;
            s->bytes_acked += s->current_block_length;
            poll_count = 0;
            retry_count = 0;
            if (ui.block_acknowledged)
                ui.block_acknowledged(s->acked_count, s->bytes_acked, s->image_size, g_state.stage);
            if (s->acked_count > s->block_count) {
                trace("All blocks ack'd\n");
                return false;
            }
            s->current_block_length = s->acked_count == s->block_count ? s->last_block_length : TftpBlockSize;
            if (s->acked_count > 1) current_block_data += TftpBlockSize;
            trace("Send block %d (%d)\n", s->acked_count, s->current_block_length);
            send_data_block(s->socket, s->packet_buffer, current_block_data, s->current_block_length,
                            static_cast<uint16_t>(s->acked_count), &peer);
            continue;
        }
        // A counted poll.
        tftp_poll_pause(s->socket);
        if (++poll_count < PollsPerWaitPeriod) continue;
        if (++retry_count >= WaitPeriodsBeforeGivingUp) {
            trace("Timeout for ack; upgrade failed\n");
            return true;
        }
        poll_count = 0;
        if (s->acked_count == 0) {
            trace("ReSend option ack\n");
            send_option_ack(s->socket, s->packet_buffer, &peer, s->image_size);
        } else {
            trace("ReSend block %d\n", s->acked_count);
            send_data_block(s->socket, s->packet_buffer, current_block_data, s->current_block_length,
                            static_cast<uint16_t>(s->acked_count), &peer);
        }
    }
}

int run_tftp_session(int socket, uint32_t local_address, uint16_t local_port, uint32_t peer_address,
                     uint16_t peer_port, const char* file_name) {
    std::unique_ptr<TftpSession> s(new (std::nothrow) TftpSession);
    if (!s) {
        show_error("Upgrade Failed: Can't malloc for TFTP session");
        end_process();
    }
    std::memset(s.get(), 0, sizeof *s);
    s->socket = socket;
    s->local_address = local_address;
    s->local_port = local_port;
    s->peer_address = peer_address;
    s->peer_port = peer_port;
    std::strncpy(s->file_name, file_name, sizeof s->file_name - 1);
    const FirmwareImage& image = image_for_stage(g_state.stage);
    s->image_size = image.size;
    s->block_count = image.size / TftpBlockSize + 1;
    s->last_block_length = static_cast<int32_t>(image.size % TftpBlockSize);
    trace("++++size %d, %d, %d\n", s->image_size, s->last_block_length, s->block_count);
    bool gave_up = serve_blocks(s.get(), image.data);
    complete_stage(s.get(), gave_up);
    return 0;
}
