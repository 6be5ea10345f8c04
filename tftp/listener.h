// The TFTP listener: one UDP socket on port 69 or the next free one, a
// thread that waits for the device's read request for the announced name
// and serves one or two stages on that socket.
#pragma once
#include <cstdint>

#include "tftp/packet.h"

struct TftpListener {
    uint32_t local_address;
    uint16_t port;
    int socket;
    uint8_t receive_buffer[TftpBufferSize];
};

constexpr uint16_t TftpFirstPort = 69;
constexpr int TftpPortsTried = 100;  // 69 to 168

// Binds, starts the listener thread and returns the bound port; every
// failure is reported and ends the process.
uint16_t start_tftp_listener(uint32_t local_address);
uint16_t start_tftp_listener_from(uint32_t local_address, uint16_t first_port);

// The thread body: serves the stages, then closes the socket and ends the
// process.
void tftp_listener_thread(TftpListener* listener);

// The receive loop; returns after the target stage has been served.
void run_listener(TftpListener* listener);

enum ListenerAction { Dropped, ServeRequest };
// What the listener does with a datagram of `length` bytes in its buffer.
ListenerAction handle_listener_datagram(const TftpListener& listener, int length);
