// The limit for stop-and-wait on this machine: N round trips of a 516-byte
// datagram and a 4-byte answer between two threads over loopback.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <thread>

#include "platform/socket.h"

int main(int argc, char** argv) {
    const int rounds = argc > 1 ? std::atoi(argv[1]) : 1452;
    uint16_t a_port = 0, b_port = 0;
    Socket a(make_udp_socket()), b(make_udp_socket());
    bind_socket(a.fd, 0x7F000001, 0);
    bind_socket(b.fd, 0x7F000001, 0);
    sockaddr_in sa{}, sb{};
    socklen_t len = sizeof sa;
    getsockname(a.fd, reinterpret_cast<sockaddr*>(&sa), &len);
    len = sizeof sb;
    getsockname(b.fd, reinterpret_cast<sockaddr*>(&sb), &len);
    uint32_t ignored;
    read_sockaddr(&sa, &ignored, &a_port);
    read_sockaddr(&sb, &ignored, &b_port);
    std::thread echo([&] {
        uint8_t buffer[1024];
        uint32_t from;
        uint16_t port;
        for (int i = 0; i < rounds; ++i) {
            receive_datagram(b.fd, buffer, sizeof buffer, &from, &port);
            send_datagram(b.fd, buffer, 4, &sa);
        }
    });
    uint8_t block[516] = {0, 3};
    uint8_t answer[1024];
    auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < rounds; ++i) {
        uint32_t from;
        uint16_t port;
        send_datagram(a.fd, block, sizeof block, &sb);
        receive_datagram(a.fd, answer, sizeof answer, &from, &port);
    }
    auto elapsed = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    echo.join();
    std::printf("%.2f\n", elapsed);
    return 0;
}
