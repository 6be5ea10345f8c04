// A scripted web server on 127.0.0.1 for the fetch tests: each connection
// takes the next reply, the request is recorded, the reply sent, and the
// connection closed, as the device does.
#pragma once
#include <cstdint>
#include <deque>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

struct TestHttpServer {
    struct Request {
        std::string bytes;
        uint16_t peer_port;
    };
    uint16_t port = 0;
    int listen_fd = -1;
    std::mutex lock;
    std::deque<std::string> replies;  // an empty reply closes at once
    std::vector<Request> requests;
    std::thread thread;
    bool stopping = false;

    TestHttpServer();
    ~TestHttpServer();
    void reply(const std::string& r);
    std::vector<Request> received();
};

constexpr uint32_t Loopback = 0x7F000001;
std::string ok_page(const std::string& body);
