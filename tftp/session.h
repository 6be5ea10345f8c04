// One transfer: option acknowledgement, then 512-byte DATA blocks in
// stop-and-wait from the listener's own socket, then the completion check.
#pragma once
#include <cstdint>

#include "tftp/packet.h"

struct TftpSession {
    char file_name[128];
    uint8_t packet_buffer[TftpBufferSize];  // outgoing packets and incoming datagrams
    uint32_t local_address;
    uint32_t peer_address;   // the only address whose packets are taken
    uint16_t local_port;
    uint16_t peer_port;      // the only port whose packets are taken
    int socket;
    uint32_t acked_count;    // also the number of the DATA block in flight
    uint32_t image_size;
    uint32_t block_count;    // image_size / 512 + 1
    int32_t bytes_acked;
    int32_t last_block_length;
    int32_t current_block_length;  // 0 while the OACK is in flight
};

// Serves the image of the current stage, then runs the completion check.
// Always returns 0.
int run_tftp_session(int socket, uint32_t local_address, uint16_t local_port, uint32_t peer_address,
                     uint16_t peer_port, const char* file_name);

// The transfer loop; returns gave_up.
bool serve_blocks(TftpSession* session, const uint8_t* image);

enum SessionEvent { NothingReceived, ForeignSource, NotAck, WrongAck, MatchingAck };
// What a datagram of `length` bytes in packet_buffer, from address:port,
// means to the session. Never reads past `length`.
SessionEvent classify_session_datagram(const TftpSession& session, int length, uint32_t address, uint16_t port);

constexpr int PollsPerWaitPeriod = 100;
constexpr int WaitPeriodsBeforeGivingUp = 30;

// Where a loop would sleep 1 ms between polls it waits for the socket to
// become readable for at most 1 ms, so a packet is handled the moment it
// arrives. Benchmarks switch this off to measure the plain sleep.
extern bool g_tftp_wait_readable;
void tftp_poll_pause(int socket);
