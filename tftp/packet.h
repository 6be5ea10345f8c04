// TFTP packets: big-endian 16-bit fields, the option acknowledgement and
// DATA blocks the server sends, and the reading of what the device sends.
#pragma once
#include <cstdint>
#include <netinet/in.h>

enum TftpOpcode : uint16_t { OpRrq = 1, OpWrq = 2, OpData = 3, OpAck = 4, OpError = 5, OpOack = 6 };

constexpr int TftpBlockSize = 512;
constexpr int TftpBufferSize = 1024;

void put_u16_be(uint8_t* p, uint16_t value);
uint16_t get_u16_be(const uint8_t* p);

// OACK: 00 06 "tsize" 0 <size in decimal> 0 "timeout" 0 "5" 0, whatever the
// request asked for. Returns the length (19 + digits of the size).
int build_option_ack(uint8_t* buffer, uint32_t image_size);
// DATA: 00 03 <block> <length bytes>. Returns 4 + length.
int build_data_block(uint8_t* buffer, const uint8_t* data, int length, uint16_t block);

void send_option_ack(int socket, uint8_t* buffer, const sockaddr_in* to, uint32_t image_size);
void send_data_block(int socket, uint8_t* buffer, const uint8_t* data, int length, uint16_t block,
                     const sockaddr_in* to);

// The file name of a read request, or nullptr when the datagram is not a
// read request whose name ends within the bytes received.
const char* read_request_name(const uint8_t* datagram, int length);
