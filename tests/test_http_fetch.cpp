#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <cstring>
#include <netinet/in.h>
#include <string>
#include <sys/socket.h>
#include <unistd.h>

#include "app/common.h"
#include "app/upgrade_state.h"
#include "http/http_fetch.h"
#include "platform/socket.h"
#include "tests/support/test_http_server.h"

namespace {
const std::string StatusPage =
    "<html><table>"
    "<tr><td>Product Name:</td><td>NUV-4101</td></tr>"
    "<tr><td>Serial Number:</td><td>FM12345</td></tr>"
    "<tr><td>MAC Address:</td><td>00:0E:08:AA:BB:CC</td></tr>"
    "<tr><td>Hardware Version:</td><td>2.0.1</td></tr>"
    "<tr><td>Software Version:</td><td>2.0.4</td></tr>"
    "</table></html>";

const std::string Challenge =
    "HTTP/1.1 401 Unauthorized\r\nWWW-Authenticate: Digest realm=\"NUV\", nonce=\"n1\", qop=\"auth\", "
    "algorithm=\"MD5\"\r\nConnection: close\r\n\r\n";

class HttpFetch : public testing::Test {
protected:
    TestHttpServer server;
    void SetUp() override {
        reset_upgrade_state();
        seed_random(7);
    }
    FetchResult fetch(const char* path = "/admin/advanced", uint16_t local_port = 23456) {
        return http_fetch(Loopback, local_port, Loopback, server.port, path, g_state.response_buffer, 0x1ffff);
    }
};

TEST_F(HttpFetch, FirstRequestHasExactlyThreeLines) {
    server.reply(ok_page(StatusPage));
    int32_t n = fetch();
    EXPECT_EQ(n, static_cast<int32_t>(ok_page(StatusPage).size()));
    auto requests = server.received();
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].bytes, "GET /admin/advanced HTTP/1.1\r\nHost: 192.168.2.110\r\n\r\n");
    EXPECT_GE(requests[0].peer_port, 23456);
    EXPECT_LE(requests[0].peer_port, 23556);
    EXPECT_STREQ(g_state.device_info.product_name, "NUV-4101");
    EXPECT_STREQ(g_state.device_info.serial_number, "FM12345");
    EXPECT_STREQ(g_state.device_info.mac_address, "00:0E:08:AA:BB:CC");
    EXPECT_STREQ(g_state.device_info.hardware_version, "2.0.1");
    EXPECT_STREQ(g_state.device_info.software_version, "2.0.4");
    EXPECT_EQ(g_state.response_buffer[n], 0);
}

TEST_F(HttpFetch, RefusalStoresTheChallengeThenPasswordRequestsCarryCountedLines) {
    std::strcpy(g_state.device_info.software_version, "before");
    server.reply(Challenge);
    EXPECT_EQ(fetch(), -1);
    EXPECT_STREQ(g_state.device_info.software_version, "before") << "a refusal leaves the fields";
    EXPECT_STREQ(g_state.digest.nonce, "n1");
    std::strcpy(g_state.digest.username, "admin");
    std::strcpy(g_state.digest.password, "pw");
    server.reply(ok_page(StatusPage));
    server.reply(ok_page(StatusPage));
    EXPECT_GT(fetch(), 0);
    EXPECT_GT(fetch("/admin/upgrade?tftp://127.0.0.1:69/nuv1a2b.bi0"), 0);
    auto requests = server.received();
    ASSERT_EQ(requests.size(), 3u);
    for (int i = 1; i <= 2; ++i) {
        const std::string& r = requests[i].bytes;
        std::string head = i == 1 ? "GET /admin/advanced HTTP/1.1\r\nHost: 192.168.2.110\r\nAuthorization: Digest "
                                  : "GET /admin/upgrade?tftp://127.0.0.1:69/nuv1a2b.bi0 HTTP/1.1\r\n"
                                    "Host: 192.168.2.110\r\nAuthorization: Digest ";
        EXPECT_EQ(r.compare(0, head.size(), head), 0) << r;
        std::string nc = i == 1 ? ",nc=000000001," : ",nc=000000002,";
        EXPECT_NE(r.find(nc), std::string::npos) << r;
        EXPECT_EQ(r.substr(r.size() - 5), "\"\r\n\r\n");
        EXPECT_EQ(r.find("\r\n\r\n"), r.size() - 4) << "no further header lines, no body";
    }
}

TEST_F(HttpFetch, ResultCodesByResponse) {
    struct {
        const char* name;
        std::string reply;
        bool refused;
    } cases[] = {
        {"200", ok_page(StatusPage), false},
        {"401 with accepted challenge", Challenge, true},
        {"401 without WWW-Authenticate", "HTTP/1.1 401 Unauthorized\r\n\r\n", false},
        {"401 challenge without nonce", "HTTP/1.1 401 X\r\nWWW-Authenticate: Digest realm=\"R\"\r\n\r\n", false},
        {"401 under HTTP/1.0", "HTTP/1.0 401 X\r\nWWW-Authenticate: Digest realm=\"R\", nonce=\"n\"\r\n\r\n",
         false},
        {"404", "HTTP/1.1 404 Not Found\r\n\r\n", false},
        {"binary garbage", std::string("\x00\x01\xff HTTP", 8), false},
    };
    for (auto& c : cases) {
        SCOPED_TRACE(c.name);
        server.reply(c.reply);
        int32_t n = fetch();
        if (c.refused) {
            EXPECT_EQ(n, -1);
        } else {
            EXPECT_EQ(n, static_cast<int32_t>(c.reply.size()));
        }
    }
}

TEST_F(HttpFetch, NothingSentGivesZeroAndRefusedConnectionGivesZero) {
    server.reply("");
    std::strcpy(g_state.device_info.software_version, "kept");
    EXPECT_EQ(fetch(), 0);
    EXPECT_STREQ(g_state.device_info.software_version, "kept");

    // A port with nothing listening: the connection is refused.
    Socket probe(make_tcp_socket());
    ASSERT_TRUE(bind_socket(probe.fd, Loopback, 0));
    sockaddr_in sa{};
    socklen_t len = sizeof sa;
    getsockname(probe.fd, reinterpret_cast<sockaddr*>(&sa), &len);
    uint16_t dead_port = ntohs(sa.sin_port);
    probe.close();
    std::strcpy(g_state.digest.password, "pw");
    g_state.digest.nonce_count = 4;
    EXPECT_EQ(http_fetch(Loopback, 23456, Loopback, dead_port, "/admin/advanced", g_state.response_buffer, 0x1ffff),
              0);
    EXPECT_EQ(g_state.digest.nonce_count, 5u) << "the request is composed and counted even unsent";
}

TEST_F(HttpFetch, BindMovesOnWhenTheFirstPortIsTaken) {
    const uint16_t base = static_cast<uint16_t>(20000 + getpid() % 12000);
    Socket taken(make_tcp_socket());
    ASSERT_TRUE(bind_socket(taken.fd, Loopback, base));
    server.reply(ok_page("x"));
    EXPECT_GT(fetch("/admin/advanced", base), 0);
    auto requests = server.received();
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_GT(requests[0].peer_port, base);
    EXPECT_LE(requests[0].peer_port, base + 100);
}

// Takes 101 consecutive ports below the ephemeral range (so no other socket
// of the machine is handed one of them), then fetches from the first.
void fetch_with_all_ports_taken() {
    for (int attempt = 0; attempt < 50; ++attempt) {
        const uint16_t base = static_cast<uint16_t>(20000 + (getpid() * 7 + attempt * 211) % 12000);
        std::vector<Socket> taken;
        bool all = true;
        for (int i = 0; i < 101 && all; ++i) {
            taken.emplace_back(make_tcp_socket());
            all = bind_socket(taken.back().fd, Loopback, static_cast<uint16_t>(base + i));
        }
        if (!all) continue;
        http_fetch(Loopback, base, Loopback, 1, "/", g_state.response_buffer, 0x1ffff);
        _exit(4);
    }
    _exit(3);
}

TEST(HttpFetchDeath, AllOneHundredAndOnePortsTakenEndsWithTheBindMessage) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(fetch_with_all_ports_taken(), testing::ExitedWithCode(0), "Upgrade Failed: Can't bind HTTP socket");
}

TEST_F(HttpFetch, ResponsesLongerThanTheCapacityAreCut) {
    std::string huge = ok_page(std::string(200000, 'z'));
    server.reply(huge);
    EXPECT_EQ(fetch(), 131071);
    EXPECT_EQ(g_state.response_buffer[131071], 0);
    EXPECT_EQ(g_state.response_buffer[131070], 'z');
}

TEST(ClassifyResponse, StatusLineRules) {
    struct {
        const char* text;
        int code;
    } cases[] = {
        {"HTTP/1.1 200 OK", 0},         {"HTTP/1.1 \t 200", 0}, {"HTTP/1.1 404", 2}, {"HTTP/1.0 200 OK", -1},
        {"http/1.1 200", -1},           {"HTTP/1.1", -2},       {"HTTP/1.1 ", -2},   {"HTTP/1.1  \t", -2},
        {"HTTP/1.1 401\r\n\r\n", 2},    {"", -1},               {"HTTP/1.1x200", 0},
        {"HTTP/1.1 401\r\nWWW-Authenticate: Digest realm=\"r\",nonce=\"n\"", 1},
        {"HTTP/1.1 401\r\nwww-authenticate: Digest realm=\"r\",nonce=\"n\"", 2},
    };
    for (auto& c : cases) {
        DigestChallenge d{};
        EXPECT_EQ(classify_response(c.text, &d), c.code) << c.text;
    }
}

TEST(ExtractField, TagSkippingRules) {
    struct {
        const char* page;
        const char* value;  // nullptr: the field keeps "old"
    } cases[] = {
        {"<td>Software Version:</td><td>2.0.4</td>", "2.0.4"},
        {"Software Version: A1<br>B2</td>", "B2"},
        {"Software Version:</td>\r\n<td>x", "\r\n"},
        {"Software Version:</td><td><b>3.1</b>", "3.1"},
        {"Software Version:</td><td>tail without end", "tail without end"},
        {"Software Version:</td>", ""},
        {"Software Version: no tag at all", nullptr},
        {"Software Version:</td><td", nullptr},
        {"software version:</td><td>x", nullptr},
        {"<td>x</td>", nullptr},
        {"Software Version:<td>&amp; a b </td>", "&amp; a b "},
    };
    for (auto& c : cases) {
        char field[128] = "old";
        char* r = extract_field(c.page, "Software Version:", field, 127);
        if (c.value) {
            EXPECT_EQ(r, field) << c.page;
            EXPECT_STREQ(field, c.value) << c.page;
        } else {
            EXPECT_EQ(r, nullptr) << c.page;
            EXPECT_STREQ(field, "old") << c.page;
        }
    }
    std::string longer = "Serial Number:<td>" + std::string(300, 'S');
    char field[128];
    std::memset(field, 'X', sizeof field);
    extract_field(longer.c_str(), "Serial Number:", field, 127);
    EXPECT_EQ(std::strlen(field), 127u);
}
}  // namespace
