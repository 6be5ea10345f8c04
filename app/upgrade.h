// Start-up and the upgrade sequence on the main thread.
#pragma once
#include <cstdint>

// The program's entry on the main thread; always returns 0.
int run_upgrade(void* instance);
void start_up();

// "/admin/upgrade?tftp://a.b.c.d:port/name"
void format_upgrade_path(char* out, int capacity, uint32_t local_address, uint16_t port, const char* file_name);

constexpr int NoticeTemplate = 139;
constexpr int AddressTemplate = 101;
constexpr int PhoneAddressTemplate = 305;
constexpr int ConfirmTemplate = 103;
constexpr int ConfirmTransitionTemplate = 304;
