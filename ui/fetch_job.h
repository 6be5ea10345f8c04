// The arguments of one page fetch, taken by value by the fetch runner.
#pragma once
#include <cstdint>

struct HttpFetchJob {
    void* instance;
    uint32_t local_address;   // host order; the connection is bound to it
    uint16_t local_port;      // first local port tried (23456)
    uint32_t device_address;  // host order
    uint16_t device_port;     // 80
    const char* path;         // request target of the GET line
    uint8_t* response_buffer; // the shared response buffer
    int32_t buffer_capacity;  // 0x1ffff: the last byte holds the NUL
};

constexpr uint16_t HttpLocalPort = 23456;
constexpr uint16_t HttpDevicePort = 80;
constexpr const char* StatusPagePath = "/admin/advanced";
