// POSIX sockets for the HTTP client and the TFTP server. fill_sockaddr and
// read_sockaddr are the only places that touch byte order.
#pragma once
#include <cstdint>
#include <netinet/in.h>

// Owns one socket descriptor; closes it when it goes out of scope.
struct Socket {
    int fd = -1;
    Socket() = default;
    explicit Socket(int f) : fd(f) {}
    Socket(const Socket&) = delete;
    Socket& operator=(const Socket&) = delete;
    Socket(Socket&& o) noexcept : fd(o.fd) { o.fd = -1; }
    Socket& operator=(Socket&& o) noexcept;
    ~Socket();
    bool valid() const { return fd >= 0; }
    int release() { int f = fd; fd = -1; return f; }
    void close();
};

// The socket layer needs no start-up on POSIX; kept so start-up has its
// failure path. Returns 0 on success.
int socket_layer_start();

void fill_sockaddr(uint32_t address, uint16_t port, sockaddr_in* out);
void read_sockaddr(const sockaddr_in* in, uint32_t* address, uint16_t* port);

int make_tcp_socket();
int make_udp_socket();
bool bind_socket(int fd, uint32_t address, uint16_t port);
bool connect_socket(int fd, uint32_t address, uint16_t port);
bool set_nonblocking(int fd);
// Waits until fd is readable or timeout_ms has passed; true when readable.
bool wait_readable(int fd, int timeout_ms);
// Non-blocking receive of one datagram; returns the byte count, or -1 when
// nothing was pending or the receive failed.
int receive_datagram(int fd, uint8_t* buffer, int capacity, uint32_t* address, uint16_t* port);
int send_datagram(int fd, const uint8_t* data, int length, const sockaddr_in* to);
