#include <gtest/gtest.h>

#include <thread>
#include <unistd.h>

#include "app/upgrade_state.h"
#include "tests/support/tftp_fixture.h"
#include "tests/support/tftp_peer.h"
#include "tftp/listener.h"

namespace {
constexpr uint32_t Loopback = 0x7F000001;

class TftpListenerTest : public TftpTest {
protected:
    TftpListener listener{};
    Socket socket;
    std::thread thread;
    void SetUp() override {
        TftpTest::SetUp();
        socket = bound_udp_socket(&listener.port);
        listener.socket = socket.fd;
        listener.local_address = Loopback;
        set_image_file_name("/nuv1a2b.bi0");
    }
    // Started once the images are in place: the listener reads them when a
    // request arrives, which orders nothing between the threads.
    void start() { thread = std::thread([this] { run_listener(&listener); }); }
    void TearDown() override {
        if (thread.joinable()) thread.join();
        TftpTest::TearDown();
    }
    void download(const TftpPeer& peer, const std::string& name, const std::string& mode = "octet") {
        peer.rrq(name, mode);
        auto oack = peer.receive();
        ASSERT_TRUE(oack);
        ASSERT_EQ(oack->substr(0, 2), u16(6));
        for (uint16_t n = 0;; ++n) {
            peer.ack(n);
            auto p = peer.receive(300);
            if (!p) break;  // the last block was acknowledged
            ASSERT_EQ(p->substr(0, 4), u16(3) + u16(n + 1));
        }
    }
};

TEST_F(TftpListenerTest, DropsEverythingButTheAnnouncedNameThenServesIt) {
    use_image(1000, Target);
    start();
    TftpPeer peer(listener.port);
    const std::string junk[] = {
        u16(1) + std::string("/NUV1A2B.BI0\0octet\0", 19),  // other letter case
        u16(1) + std::string("nuv1a2b.bi0\0octet\0", 18),   // no leading slash
        u16(2) + std::string("/nuv1a2b.bi0\0octet\0", 19),  // write request
        u16(3) + u16(1) + "data",
        u16(4) + u16(0),
        u16(5) + u16(0) + std::string("err\0", 4),
        u16(0) + "x",
        u16(9) + "x",
        std::string(),
        std::string("\x00", 1),
        u16(1),
        u16(1) + "/",
        u16(1) + std::string(1022, 'a'),  // 1024 bytes, no terminating zero
        u16(1) + std::string("/nuv1a2b.bi0", 12),  // name runs to the end
    };
    for (const std::string& d : junk) peer.send(d);
    EXPECT_FALSE(peer.receive(100)) << "a dropped datagram got a reply";
    download(peer, "/nuv1a2b.bi0", "netascii");
    thread.join();
    auto events = log.snapshot();
    ASSERT_GE(events.size(), 2u);
    EXPECT_EQ(events[0], "waiting_started text");
    EXPECT_EQ(events[1], "waiting_ended");
    EXPECT_EQ(log.count("success 3.1.5(SE)"), 1);
}

TEST_F(TftpListenerTest, TwoStagesOnOneSocketWithTheStageRaisedBetween) {
    use_image(700, Transition);
    std::vector<uint8_t> transition = image;
    g_state.transition_image.data = transition.data();
    use_image(1536, Target);
    g_state.stage = Transition;
    log.reported_version = "2.0.12";
    start();
    TftpPeer peer(listener.port);
    download(peer, "/nuv1a2b.bi0");
    while (g_state.stage != Target) std::this_thread::sleep_for(std::chrono::milliseconds(1));
    EXPECT_EQ(log.count("success 2.0.12"), 0) << "no success dialog after the transition stage";
    EXPECT_EQ(log.count("waiting_started"), 1);
    {
        std::lock_guard<std::mutex> l(log.lock);
        log.reported_version = "3.1.5(SE)";
    }
    set_image_file_name("/nuv5.bi1");
    peer.rrq("/nuv1a2b.bi0");
    EXPECT_FALSE(peer.receive(60)) << "the first name is no longer served";
    download(peer, "/nuv5.bi1");
    thread.join();
    EXPECT_EQ(log.count("upload_started 2"), 1);
    EXPECT_EQ(log.count("upload_started 4"), 1);
    EXPECT_EQ(log.count("update_wait_started Updating Transition Firmware to NUV@127.0.0.1"), 1);
    EXPECT_EQ(log.count("update_wait_started Updating Target Firmware to NUV@127.0.0.1"), 1);
    EXPECT_EQ(log.count("success 3.1.5(SE)"), 1);
    EXPECT_TRUE(log.errors.empty());
}

TEST_F(TftpListenerTest, FailedTransitionStageStillLeadsToTheTargetWait) {
    use_image(700, Transition);
    std::vector<uint8_t> transition = image;
    g_state.transition_image.data = transition.data();
    use_image(100, Target);
    g_state.stage = Transition;
    log.reported_version = "2.0.11";  // the device did not take the image
    start();
    TftpPeer peer(listener.port);
    download(peer, "/nuv1a2b.bi0");
    while (g_state.stage != Target) std::this_thread::sleep_for(std::chrono::milliseconds(1));
    EXPECT_EQ(log.count("error Upgrade Failed: Version not matching"), 1);
    {
        std::lock_guard<std::mutex> l(log.lock);
        log.reported_version = "3.1.5(SE)";
    }
    set_image_file_name("/nuv5.bi1");
    download(peer, "/nuv5.bi1");
}

// Takes `count` consecutive UDP ports below the ephemeral range and returns
// the first; exits with 2 if none such can be found.
uint16_t take_ports(int count, std::vector<Socket>* taken) {
    for (int attempt = 0; attempt < 50; ++attempt) {
        const uint16_t base = static_cast<uint16_t>(20000 + (getpid() * 13 + attempt * 307) % 12000);
        taken->clear();
        bool all = true;
        for (int i = 0; i < count && all; ++i) {
            taken->emplace_back(make_udp_socket());
            all = bind_socket(taken->back().fd, Loopback, static_cast<uint16_t>(base + i));
        }
        // The port after the taken ones must be free for the listener.
        Socket next(make_udp_socket());
        if (all && bind_socket(next.fd, Loopback, static_cast<uint16_t>(base + count))) return base;
    }
    _exit(2);
}

void start_with_first_port_taken() {
    std::vector<Socket> taken;
    uint16_t base = take_ports(1, &taken);
    uint16_t port = start_tftp_listener_from(Loopback, base);
    _exit(port == base + 1 ? 11 : 12);
}

void start_with_all_ports_taken() {
    std::vector<Socket> taken;
    uint16_t base = take_ports(100, &taken);
    start_tftp_listener_from(Loopback, base);
    _exit(12);
}

TEST(TftpListenerPorts, MovesToTheNextPortWhenTheFirstIsTaken) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(start_with_first_port_taken(), testing::ExitedWithCode(11), "");
    EXPECT_EXIT(start_with_all_ports_taken(), testing::ExitedWithCode(0),
                "Upgrade Failed: Can't bind TFTP listener socket");
}
}  // namespace
