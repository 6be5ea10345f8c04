#include "tests/support/tftp_peer.h"

#include <arpa/inet.h>
#include <sys/socket.h>

namespace {
constexpr uint32_t Loopback = 0x7F000001;
}

Socket bound_udp_socket(uint16_t* port) {
    Socket s(make_udp_socket());
    bind_socket(s.fd, Loopback, 0);
    sockaddr_in sa{};
    socklen_t len = sizeof sa;
    getsockname(s.fd, reinterpret_cast<sockaddr*>(&sa), &len);
    *port = ntohs(sa.sin_port);
    return s;
}

std::string u16(uint16_t v) { return std::string{static_cast<char>(v >> 8), static_cast<char>(v & 0xFF)}; }

TftpPeer::TftpPeer(uint16_t server) : socket(bound_udp_socket(&port)), server_port(server) {}

void TftpPeer::send(const std::string& bytes) const {
    sockaddr_in to;
    fill_sockaddr(Loopback, server_port, &to);
    send_datagram(socket.fd, reinterpret_cast<const uint8_t*>(bytes.data()), static_cast<int>(bytes.size()), &to);
}

void TftpPeer::ack(uint16_t block) const { send(u16(4) + u16(block)); }

void TftpPeer::rrq(const std::string& name, const std::string& mode) const {
    send(u16(1) + name + std::string(1, '\0') + mode + std::string(1, '\0'));
}

std::optional<std::string> TftpPeer::receive(int timeout_ms) const {
    if (!wait_readable(socket.fd, timeout_ms)) return std::nullopt;
    uint8_t buffer[2048];
    uint32_t address;
    uint16_t from;
    int n = receive_datagram(socket.fd, buffer, sizeof buffer, &address, &from);
    if (n < 0) return std::nullopt;
    return std::string(reinterpret_cast<char*>(buffer), static_cast<size_t>(n));
}
