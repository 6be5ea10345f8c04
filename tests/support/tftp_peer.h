// A scripted TFTP client on 127.0.0.1 for the server tests.
#pragma once
#include <cstdint>
#include <optional>
#include <string>

#include "platform/socket.h"

struct TftpPeer {
    uint16_t port = 0;  // before socket: bound_udp_socket writes it
    Socket socket;
    uint16_t server_port = 0;
    explicit TftpPeer(uint16_t server);
    void send(const std::string& bytes) const;
    void ack(uint16_t block) const;
    void rrq(const std::string& name, const std::string& mode = "octet") const;
    // The next datagram within timeout_ms, or nothing.
    std::optional<std::string> receive(int timeout_ms = 1000) const;
};

// A UDP socket bound to 127.0.0.1 on a free port.
Socket bound_udp_socket(uint16_t* port);
std::string u16(uint16_t v);
