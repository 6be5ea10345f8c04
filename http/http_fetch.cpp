#include "http/http_fetch.h"

#include <cstdio>
#include <cstring>
#include <sys/socket.h>
#include <unistd.h>

#include "app/common.h"
#include "app/upgrade_state.h"
#include "http/digest.h"
#include "platform/process.h"
#include "platform/socket.h"

namespace {
struct LabelField {
    const char* label;
    char (DeviceInfo::*field)[128];
};
const LabelField Labels[5] = {
    {"Product Name:", &DeviceInfo::product_name},
    {"MAC Address:", &DeviceInfo::mac_address},
    {"Software Version:", &DeviceInfo::software_version},
    {"Hardware Version:", &DeviceInfo::hardware_version},
    {"Serial Number:", &DeviceInfo::serial_number},
};

int compose_request(char* out, int capacity, const char* path) {
    int n = std::snprintf(out, static_cast<size_t>(capacity), "GET %s HTTP/1.1\r\nHost: 192.168.2.110\r\n", path);
    if (n < 0 || n >= capacity) n = capacity - 1;
    DigestChallenge& digest = g_state.digest;
    if (digest.password[0] && capacity - n > AuthorizationLineMax + 3) {
        digest.nonce_count++;
        n += build_authorization(&digest, out + n);
    }
    if (capacity - n > 2) n += std::snprintf(out + n, 3, "\r\n");
    return n;
}

void send_all(int fd, const char* data, int length) {
    while (length > 0) {
        ssize_t sent = ::send(fd, data, static_cast<size_t>(length), MSG_NOSIGNAL);
        if (sent <= 0) return;
        data += sent;
        length -= static_cast<int>(sent);
    }
}
}  // namespace

int open_http_connection(uint32_t local_address, uint16_t local_port, uint32_t device_address,
                         uint16_t device_port) {
    Socket s(make_tcp_socket());
    if (!s.valid()) {
        show_error("Upgrade Failed: Can't open HTTP socket");
        end_process();
    }
    bool bound = false;
    for (int i = 0; i < HttpBindAttempts && !bound; ++i)
        bound = bind_socket(s.fd, local_address, static_cast<uint16_t>(local_port + i));
    if (!bound) {
        show_error("Upgrade Failed: Can't bind HTTP socket");
        end_process();
    }
    if (!connect_socket(s.fd, device_address, device_port)) return -1;
    return s.release();
}

FetchResult http_fetch(uint32_t local_address, uint16_t local_port, uint32_t device_address, uint16_t device_port,
                       const char* path, uint8_t* buffer, int32_t capacity) {
    Socket connection(open_http_connection(local_address, local_port, device_address, device_port));
    char* text = reinterpret_cast<char*>(buffer);
    // The request is composed even without a connection, so that the nonce
    // count still counts it.
    int request_length = compose_request(text, capacity + 1, path);
    if (!connection.valid()) return 0;
    send_all(connection.fd, text, request_length);

    int32_t count = 0;
    text[0] = 0;
    while (count < capacity) {
        ssize_t n = ::recv(connection.fd, buffer + count, static_cast<size_t>(capacity - count), 0);
        if (n <= 0) break;
        count += static_cast<int32_t>(n);
        buffer[count] = 0;
    }
    if (count > 0 && classify_response(text, &g_state.digest) == 1) return FetchRefused;
    if (count > 0) extract_device_info(text);
    return count;
}

int classify_response(const char* text, DigestChallenge* challenge) {
    if (std::strncmp(text, "HTTP/1.1", 8) != 0) return -1;
    if (text[8] == 0) return -2;  // never step past the end of a short text
    const char* p = text + 9;
    while (*p == ' ' || *p == '\t') ++p;
    if (*p == 0) return -2;
    if (std::strncmp(p, "200", 3) == 0) return 0;
    if (std::strncmp(p, "401", 3) != 0) return 2;
    const char* header = std::strstr(p, "WWW-Authenticate:");
    if (header && parse_challenge(header, challenge) == 0) return 1;
    return 2;
}

char* extract_field(const char* page, const char* label, char* field, int most) {
    const char* at = std::strstr(page, label);
    if (!at) return nullptr;
    const char* close = std::strchr(at, '>');
    if (!close) return nullptr;
    const char* value = close + 1;
    while (*value == '<') {
        close = std::strchr(value, '>');
        if (!close) return nullptr;
        value = close + 1;
    }
    int n = 0;
    while (n < most && value[n] && value[n] != '<') {
        field[n] = value[n];
        ++n;
    }
    field[n] = 0;
    return field;
}

void extract_device_info(const char* page) {
    for (const LabelField& l : Labels) extract_field(page, l.label, g_state.device_info.*l.field, 127);
}
