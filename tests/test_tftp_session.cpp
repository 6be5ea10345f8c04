#include <gtest/gtest.h>

#include <thread>

#include "app/upgrade_state.h"
#include "tests/support/tftp_fixture.h"
#include "tests/support/tftp_peer.h"
#include "tftp/packet.h"
#include "tftp/session.h"

namespace {
constexpr uint32_t Loopback = 0x7F000001;

std::string oack_bytes(const std::string& size) {
    return u16(6) + std::string("tsize\0", 6) + size + std::string(1, '\0') + std::string("timeout\0" "5\0", 10);
}

TEST(TftpPackets, OptionAckBytes) {
    uint8_t buffer[TftpBufferSize];
    int n = build_option_ack(buffer, 1536);
    const uint8_t expected[] = {0x00, 0x06, 0x74, 0x73, 0x69, 0x7A, 0x65, 0x00, 0x31, 0x35, 0x33, 0x36,
                                0x00, 0x74, 0x69, 0x6D, 0x65, 0x6F, 0x75, 0x74, 0x00, 0x35, 0x00};
    ASSERT_EQ(n, 23);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(buffer), 23), std::string(reinterpret_cast<const char*>(expected), 23));
    n = build_option_ack(buffer, 742976);
    EXPECT_EQ(n, 25);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(buffer), 25), oack_bytes("742976"));
}

TEST(TftpPackets, BigEndianHelpers) {
    uint8_t b[2];
    put_u16_be(b, 0x1234);
    EXPECT_EQ(b[0], 0x12);
    EXPECT_EQ(b[1], 0x34);
    EXPECT_EQ(get_u16_be(b), 0x1234);
    b[0] = 0xFF;
    b[1] = 0xFE;
    EXPECT_EQ(get_u16_be(b), 0xFFFE);
}

TEST(TftpPackets, ReadRequestNameNeverReadsPastTheDatagram) {
    struct {
        std::string datagram;
        const char* name;
    } cases[] = {
        {u16(1) + std::string("/nuv1.bi0\0octet\0", 16), "/nuv1.bi0"},
        {u16(1) + std::string("/a\0", 3), "/a"},
        {u16(1) + std::string(1, '\0') + "x", ""},
        {std::string("\0", 1), nullptr},
        {u16(1), nullptr},
        {u16(1) + "x", nullptr},
        {u16(1) + std::string(1022, 'n'), nullptr},
        {u16(2) + std::string("/a\0octet\0", 9), nullptr},
    };
    for (auto& c : cases) {
        const char* name = read_request_name(reinterpret_cast<const uint8_t*>(c.datagram.data()),
                                             static_cast<int>(c.datagram.size()));
        if (c.name)
            EXPECT_STREQ(name, c.name);
        else
            EXPECT_EQ(name, nullptr);
    }
}

class TftpSessionTest : public TftpTest {
protected:
    Socket server;
    uint16_t server_port = 0;
    std::thread thread;
    void start(const TftpPeer& peer) {
        thread = std::thread([this, &peer] {
            run_tftp_session(server.fd, Loopback, server_port, Loopback, peer.port, "/nuv1a2b.bi0");
        });
    }
    void SetUp() override {
        TftpTest::SetUp();
        server = bound_udp_socket(&server_port);
    }
    void TearDown() override {
        if (thread.joinable()) thread.join();
        TftpTest::TearDown();
    }
    // Acknowledges every block and returns the bytes received.
    std::string download(const TftpPeer& peer, uint32_t* blocks) {
        auto oack = peer.receive();
        EXPECT_TRUE(oack);
        std::string data;
        peer.ack(0);
        for (uint16_t n = 1;; ++n) {
            auto p = peer.receive();
            if (!p) {
                ADD_FAILURE() << "no DATA " << n;
                break;
            }
            EXPECT_EQ(p->substr(0, 4), u16(3) + u16(n));
            data += p->substr(4);
            peer.ack(n);
            if (p->size() < 516) {
                *blocks = n;
                break;
            }
        }
        return data;
    }
};

TEST_F(TftpSessionTest, ServesWholeImagesBlockByBlock) {
    struct {
        uint32_t size, blocks;
    } cases[] = {{1536, 4}, {100, 1}, {742976, 1452}};
    for (auto& c : cases) {
        SCOPED_TRACE(c.size);
        TearDown();
        SetUp();
        if (c.size == 742976)
            load_firmware_image(TargetImageId, &g_state.target_image), g_state.stage = Target;
        else
            use_image(c.size, Target);
        TftpPeer peer(server_port);
        start(peer);
        uint32_t blocks = 0;
        std::string data = download(peer, &blocks);
        EXPECT_EQ(blocks, c.blocks);
        const FirmwareImage& served = g_state.target_image;
        EXPECT_EQ(data, std::string(reinterpret_cast<const char*>(served.data), served.size));
        EXPECT_FALSE(peer.receive(150)) << "nothing after the last ACK";
        thread.join();
        EXPECT_EQ(log.count("upload_started " + std::to_string(c.blocks)), 1);
        EXPECT_TRUE(log.errors.empty());
    }
}

TEST_F(TftpSessionTest, TitleFiguresFollowTheBytesAcknowledged) {
    load_firmware_image(TargetImageId, &g_state.target_image);
    g_state.stage = Target;
    TftpPeer peer(server_port);
    start(peer);
    uint32_t blocks;
    download(peer, &blocks);
    thread.join();
    ASSERT_EQ(log.titles.size(), 1453u);
    EXPECT_EQ(log.titles[0], "Uploading Target Firmware to NUV@127.0.0.1 0/742976 Bytes");
    EXPECT_EQ(log.titles[2], "Uploading Target Firmware to NUV@127.0.0.1 1024/742976 Bytes");
    EXPECT_EQ(log.titles.back(), "Uploading Target Firmware to NUV@127.0.0.1 742976/742976 Bytes");
}

TEST_F(TftpSessionTest, DuplicateAckZeroDoesNotResendTheFirstBlock) {
    use_image(1536, Transition);
    TftpPeer peer(server_port);
    start(peer);
    ASSERT_EQ(*peer.receive(), oack_bytes("1536"));
    peer.ack(0);
    peer.ack(0);
    auto first = peer.receive();
    ASSERT_TRUE(first);
    EXPECT_EQ(first->substr(0, 4), u16(3) + u16(1));
    EXPECT_FALSE(peer.receive(60)) << "the duplicate caused a second DATA 1";
    for (uint16_t n = 1; n <= 4; ++n) {
        peer.ack(n);
        if (n < 4) ASSERT_TRUE(peer.receive());
    }
}

TEST_F(TftpSessionTest, ForeignPortsShortDatagramsAndRepeatedRequestsAreNotAcks) {
    use_image(600, Target);
    TftpPeer peer(server_port);
    TftpPeer stray(server_port);
    start(peer);
    ASSERT_TRUE(peer.receive());
    stray.ack(0);                        // right address, other port
    peer.send(std::string());            // 0 bytes
    peer.send(std::string("\0", 1));
    peer.send(u16(4));
    peer.send(u16(4) + std::string("\0", 1));  // 3 bytes: not an ACK 0
    peer.rrq("/nuv1a2b.bi0");                  // the device repeats its request
    EXPECT_FALSE(stray.receive(50));
    // The option acknowledgement comes again at the end of the wait period.
    auto again = peer.receive(1000);
    ASSERT_TRUE(again);
    EXPECT_EQ(*again, oack_bytes("600"));
    peer.ack(0);
    auto d1 = peer.receive();
    ASSERT_TRUE(d1);
    EXPECT_EQ(d1->size(), 516u);
    peer.ack(1);
    auto d2 = peer.receive();
    ASSERT_TRUE(d2);
    EXPECT_EQ(d2->size(), 4u + 88u);
    peer.ack(2);
}

TEST_F(TftpSessionTest, SilentPeerGetsThePacketInFlightThirtyTimesThenTheTransferIsGivenUp) {
    use_image(1536, Target);
    TftpPeer peer(server_port);
    start(peer);
    ASSERT_TRUE(peer.receive());
    peer.ack(0);
    int sent = 0;
    while (auto p = peer.receive(1000)) {
        EXPECT_EQ(p->substr(0, 4), u16(3) + u16(1));
        ++sent;
    }
    EXPECT_EQ(sent, 30);
    thread.join();
    ASSERT_EQ(log.errors.size(), 1u);
    EXPECT_EQ(log.errors[0], "Upgrade Failed: Firmware Upload Incomplete");
    EXPECT_EQ(log.fetches, 0);
}
}  // namespace
