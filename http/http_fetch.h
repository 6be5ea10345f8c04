// One HTTP/1.1 GET over a fresh TCP connection to the device, and the
// reading of the status page.
#pragma once
#include <cstdint>

#include "http/digest_challenge.h"

// > 0: bytes received (anything but a recognised refusal); 0: nothing
// received; -1: HTTP/1.1 401 with a Digest challenge that was stored.
using FetchResult = int32_t;
constexpr FetchResult FetchRefused = -1;

FetchResult http_fetch(uint32_t local_address, uint16_t local_port, uint32_t device_address, uint16_t device_port,
                       const char* path, uint8_t* buffer, int32_t capacity);

// Binds to the first free local port from `local_port` upward (101 tried)
// and connects. Returns the connected socket, or -1 when the connection was
// not made. Ends the process when the socket cannot be created or bound.
int open_http_connection(uint32_t local_address, uint16_t local_port, uint32_t device_address,
                         uint16_t device_port);

// -2: no status code; -1: not HTTP/1.1; 0: 200; 1: refused (401 with an
// accepted challenge); 2: any other status.
int classify_response(const char* text, DigestChallenge* challenge);

// Copies the text after the next tag that follows `label` (adjacent tags
// skipped), up to a '<', the end or `most` characters. Returns the field,
// or nullptr (field unchanged) when the label or a '>' after it is missing.
char* extract_field(const char* page, const char* label, char* field, int most);

// Fills the five identity fields from a received page.
void extract_device_info(const char* page);

constexpr int HttpBindAttempts = 101;
