// Real TFTP clients no one here wrote fetch the images from our listener
// and session, byte for byte.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <thread>
#include <unistd.h>

#include "app/upgrade_state.h"
#include "tests/support/tftp_fixture.h"
#include "tests/support/tftp_peer.h"
#include "tftp/listener.h"

namespace {
constexpr uint32_t Loopback = 0x7F000001;

struct ClientCase {
    const char* name;
    const char* command;  // %1$u: port, %2$s: output file
};

class RealClient : public TftpTest, public testing::WithParamInterface<ClientCase> {};

std::string read_file(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

TEST_P(RealClient, DownloadsTheImageByteForByte) {
    const ClientCase& c = GetParam();
    for (uint32_t size : {1536u, 742976u}) {
        SCOPED_TRACE(size);
        TearDown();
        SetUp();
        if (size == 742976)
            g_state.stage = Target;
        else
            use_image(size, Target);
        TftpListener listener{};
        Socket socket = bound_udp_socket(&listener.port);
        listener.socket = socket.fd;
        listener.local_address = Loopback;
        set_image_file_name("/nuv1a2b.bi0");
        std::thread thread([&] { run_listener(&listener); });
        char out[] = "/tmp/nuv-client-XXXXXX";
        int fd = mkstemp(out);
        ASSERT_GE(fd, 0);
        close(fd);
        char command[512];
        std::snprintf(command, sizeof command, c.command, static_cast<unsigned>(listener.port), out);
        int status = std::system(command);
        EXPECT_EQ(status, 0) << command;
        if (status != 0) {
            // Let the listener finish: give up the transfer quickly.
            TftpPeer finisher(listener.port);
            finisher.rrq("/nuv1a2b.bi0");
        }
        thread.join();
        const FirmwareImage& served = g_state.target_image;
        std::string got = read_file(out);
        unlink(out);
        EXPECT_EQ(got.size(), served.size);
        EXPECT_TRUE(got == std::string(reinterpret_cast<const char*>(served.data), served.size));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Clients, RealClient,
    testing::Values(
        ClientCase{"curl", "curl -sS --max-time 30 -o %2$s tftp://127.0.0.1:%1$u//nuv1a2b.bi0"},
        ClientCase{"curl_no_options", "curl -sS --max-time 30 --tftp-no-options -o %2$s tftp://127.0.0.1:%1$u//nuv1a2b.bi0"},
        ClientCase{"atftp", "timeout 30 atftp -g -r /nuv1a2b.bi0 -l %2$s 127.0.0.1 %1$u >/dev/null 2>&1"}),
    [](const testing::TestParamInfo<ClientCase>& info) { return std::string(info.param.name); });
}  // namespace
