// This computer's IPv4 addresses. The host-name lookup usually gives a
// loopback or 127.0.1.1 on Linux, which no device can reach, so the list
// comes from the interfaces: up interfaces, non-loopback first in interface
// order, loopback last.
#pragma once
#include <cstdint>

// Writes at most `capacity` addresses (host byte order); returns the count.
int list_local_addresses(uint32_t* out, int capacity);

// Tests replace the source; null restores the interface list.
void set_local_address_source(int (*source)(uint32_t* out, int capacity));
