#include "tftp/packet.h"

#include <cstdio>
#include <cstring>

#include "platform/socket.h"

void put_u16_be(uint8_t* p, uint16_t value) {
    p[0] = static_cast<uint8_t>(value >> 8);
    p[1] = static_cast<uint8_t>(value & 0xFF);
}

uint16_t get_u16_be(const uint8_t* p) { return static_cast<uint16_t>(p[0] * 256 + p[1]); }

int build_option_ack(uint8_t* buffer, uint32_t image_size) {
    put_u16_be(buffer, OpOack);
    int n = 2;
    std::memcpy(buffer + n, "tsize", 6);
    n += 6;
    n += std::snprintf(reinterpret_cast<char*>(buffer + n), 11, "%u", image_size) + 1;
    std::memcpy(buffer + n, "timeout", 8);
    n += 8;
    std::memcpy(buffer + n, "5", 2);
    return n + 2;
}

int build_data_block(uint8_t* buffer, const uint8_t* data, int length, uint16_t block) {
    put_u16_be(buffer, OpData);
    put_u16_be(buffer + 2, block);
    if (length > 0) std::memcpy(buffer + 4, data, static_cast<size_t>(length));
    return 4 + length;
}

void send_option_ack(int socket, uint8_t* buffer, const sockaddr_in* to, uint32_t image_size) {
    send_datagram(socket, buffer, build_option_ack(buffer, image_size), to);
}

void send_data_block(int socket, uint8_t* buffer, const uint8_t* data, int length, uint16_t block,
                     const sockaddr_in* to) {
    send_datagram(socket, buffer, build_data_block(buffer, data, length, block), to);
}

const char* read_request_name(const uint8_t* datagram, int length) {
    if (length < 4 || get_u16_be(datagram) != OpRrq) return nullptr;
    const void* end = std::memchr(datagram + 2, 0, static_cast<size_t>(length - 2));
    return end ? reinterpret_cast<const char*>(datagram + 2) : nullptr;
}
