#include "platform/socket.h"

#include <arpa/inet.h>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

Socket& Socket::operator=(Socket&& o) noexcept {
    if (this != &o) {
        close();
        fd = o.fd;
        o.fd = -1;
    }
    return *this;
}

Socket::~Socket() { close(); }

void Socket::close() {
    if (fd >= 0) ::close(fd);
    fd = -1;
}

int socket_layer_start() { return 0; }

void fill_sockaddr(uint32_t address, uint16_t port, sockaddr_in* out) {
    std::memset(out, 0, sizeof *out);
    out->sin_family = AF_INET;
    out->sin_port = htons(port);
    out->sin_addr.s_addr = htonl(address);
}

void read_sockaddr(const sockaddr_in* in, uint32_t* address, uint16_t* port) {
    *address = ntohl(in->sin_addr.s_addr);
    *port = ntohs(in->sin_port);
}

int make_tcp_socket() { return ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0); }
int make_udp_socket() { return ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0); }

bool bind_socket(int fd, uint32_t address, uint16_t port) {
    sockaddr_in sa;
    fill_sockaddr(address, port, &sa);
    return ::bind(fd, reinterpret_cast<sockaddr*>(&sa), sizeof sa) == 0;
}

bool connect_socket(int fd, uint32_t address, uint16_t port) {
    sockaddr_in sa;
    fill_sockaddr(address, port, &sa);
    int r;
    do {
        r = ::connect(fd, reinterpret_cast<sockaddr*>(&sa), sizeof sa);
    } while (r != 0 && errno == EINTR);
    return r == 0;
}

bool set_nonblocking(int fd) {
    int flags = fcntl(fd, F_GETFL, 0);
    return flags >= 0 && fcntl(fd, F_SETFL, flags | O_NONBLOCK) == 0;
}

bool wait_readable(int fd, int timeout_ms) {
    pollfd p{fd, POLLIN, 0};
    return ::poll(&p, 1, timeout_ms) > 0 && (p.revents & POLLIN);
}

int receive_datagram(int fd, uint8_t* buffer, int capacity, uint32_t* address, uint16_t* port) {
    sockaddr_in from;
    socklen_t len = sizeof from;
    std::memset(&from, 0, sizeof from);
    ssize_t n = ::recvfrom(fd, buffer, static_cast<size_t>(capacity), 0,
                           reinterpret_cast<sockaddr*>(&from), &len);
    if (n < 0) return -1;
    read_sockaddr(&from, address, port);
    return static_cast<int>(n);
}

int send_datagram(int fd, const uint8_t* data, int length, const sockaddr_in* to) {
    return static_cast<int>(::sendto(fd, data, static_cast<size_t>(length), 0,
                                     reinterpret_cast<const sockaddr*>(to), sizeof *to));
}
