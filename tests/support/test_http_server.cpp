#include "tests/support/test_http_server.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

TestHttpServer::TestHttpServer() {
    listen_fd = ::socket(AF_INET, SOCK_STREAM, 0);
    int one = 1;
    setsockopt(listen_fd, SOL_SOCKET, SO_REUSEADDR, &one, sizeof one);
    sockaddr_in sa{};
    sa.sin_family = AF_INET;
    sa.sin_addr.s_addr = htonl(Loopback);
    sa.sin_port = 0;
    ::bind(listen_fd, reinterpret_cast<sockaddr*>(&sa), sizeof sa);
    socklen_t len = sizeof sa;
    getsockname(listen_fd, reinterpret_cast<sockaddr*>(&sa), &len);
    port = ntohs(sa.sin_port);
    ::listen(listen_fd, 16);
    thread = std::thread([this] {
        for (;;) {
            pollfd p{listen_fd, POLLIN, 0};
            if (::poll(&p, 1, 20) <= 0) {
                std::lock_guard<std::mutex> l(lock);
                if (stopping) return;
                continue;
            }
            sockaddr_in peer{};
            socklen_t plen = sizeof peer;
            int fd = ::accept(listen_fd, reinterpret_cast<sockaddr*>(&peer), &plen);
            if (fd < 0) continue;
            std::string request;
            char buf[4096];
            while (request.find("\r\n\r\n") == std::string::npos) {
                pollfd q{fd, POLLIN, 0};
                if (::poll(&q, 1, 2000) <= 0) break;
                ssize_t n = ::recv(fd, buf, sizeof buf, 0);
                if (n <= 0) break;
                request.append(buf, static_cast<size_t>(n));
            }
            std::string r;
            {
                std::lock_guard<std::mutex> l(lock);
                requests.push_back({request, ntohs(peer.sin_port)});
                if (!replies.empty()) {
                    r = replies.front();
                    replies.pop_front();
                }
            }
            for (size_t at = 0; at < r.size();) {
                ssize_t n = ::send(fd, r.data() + at, r.size() - at, MSG_NOSIGNAL);
                if (n <= 0) break;
                at += static_cast<size_t>(n);
            }
            ::close(fd);
        }
    });
}

TestHttpServer::~TestHttpServer() {
    {
        std::lock_guard<std::mutex> l(lock);
        stopping = true;
    }
    thread.join();
    ::close(listen_fd);
}

void TestHttpServer::reply(const std::string& r) {
    std::lock_guard<std::mutex> l(lock);
    replies.push_back(r);
}

std::vector<TestHttpServer::Request> TestHttpServer::received() {
    std::lock_guard<std::mutex> l(lock);
    return requests;
}

std::string ok_page(const std::string& body) {
    return "HTTP/1.1 200 OK\r\nContent-Type: text/html\r\nConnection: close\r\n\r\n" + body;
}
