#include <cstring>

#include "app/common.h"
#include "app/firmware_image.h"
#include "app/product.h"
#include "app/upgrade.h"
#include "app/upgrade_calls.h"
#include "app/upgrade_state.h"
#include "platform/clock.h"
#include "platform/local_addresses.h"
#include "platform/process.h"
#include "platform/socket.h"

void start_up() {
    if (socket_layer_start() != 0) {
        show_error("Upgrade Failed: Winsock init error");
        end_process();
    }
    // The interface list may name more addresses than are offered; only the
    // first eight, in its order, are kept.
    uint32_t found[32] = {};
    int count = list_local_addresses(found, 32);
    std::memset(g_state.local_addresses, 0, sizeof g_state.local_addresses);
    for (int i = 0, kept = 0; i < count && kept < MaxLocalAddresses; ++i) {
        if (found[i] == 0) break;
        g_state.local_addresses[kept++] = found[i];
        trace("Client IP = %x\n", found[i]);
    }
    g_state.digest = DigestChallenge{};
    g_state.local_address = g_state.local_addresses[0];
    seed_random(milliseconds());
    if (g_upgrade_calls.init_common_controls) g_upgrade_calls.init_common_controls();
    load_firmware_image(TargetImageId, &g_state.target_image);
    load_firmware_image(TransitionImageId, &g_state.transition_image);
    identify_product();
}
