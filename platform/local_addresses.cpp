#include "platform/local_addresses.h"

#include <arpa/inet.h>
#include <atomic>
#include <ifaddrs.h>
#include <net/if.h>
#include <netinet/in.h>

namespace {
std::atomic<int (*)(uint32_t*, int)> g_source{nullptr};

int from_interfaces(uint32_t* out, int capacity) {
    ifaddrs* list = nullptr;
    if (getifaddrs(&list) != 0) return 0;
    int count = 0;
    for (int pass = 0; pass < 2; ++pass) {
        for (ifaddrs* i = list; i && count < capacity; i = i->ifa_next) {
            if (!i->ifa_addr || i->ifa_addr->sa_family != AF_INET) continue;
            if (!(i->ifa_flags & IFF_UP)) continue;
            bool loopback = (i->ifa_flags & IFF_LOOPBACK) != 0;
            if (loopback != (pass == 1)) continue;
            auto* sa = reinterpret_cast<sockaddr_in*>(i->ifa_addr);
            out[count++] = ntohl(sa->sin_addr.s_addr);
        }
    }
    freeifaddrs(list);
    return count;
}
}  // namespace

int list_local_addresses(uint32_t* out, int capacity) {
    if (auto f = g_source.load()) return f(out, capacity);
    return from_interfaces(out, capacity);
}

void set_local_address_source(int (*source)(uint32_t*, int)) { g_source = source; }
