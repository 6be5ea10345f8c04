// Datagrams as the listener and the session receive them, in memory: only
// the bytes received may be read.
#include <cstdint>
#include <cstring>
#include <memory>
#include <vector>

#include "app/upgrade_state.h"
#include "tftp/listener.h"
#include "tftp/session.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > TftpBufferSize) return 0;
    static bool named = (set_image_file_name("/nuv1a2b.bi0"), true);
    (void)named;
    // Heap copies of exactly the bytes received, so an overread is caught.
    auto listener = std::make_unique<TftpListener>();
    std::vector<uint8_t> datagram(data, data + size);
    if (size) std::memcpy(listener->receive_buffer, datagram.data(), size);
    std::memset(listener->receive_buffer + size, 0xAA, TftpBufferSize - size);
    handle_listener_datagram(*listener, static_cast<int>(size));
    read_request_name(datagram.data(), static_cast<int>(size));
    auto session = std::make_unique<TftpSession>();
    session->peer_address = 0x7F000002;
    session->peer_port = 1024;
    session->acked_count = size % 3;
    if (size) std::memcpy(session->packet_buffer, datagram.data(), size);
    classify_session_datagram(*session, static_cast<int>(size), 0x7F000002, 1024);
    return 0;
}
