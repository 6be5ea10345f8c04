// After each transfer: wait for the device to write its firmware and
// restart, read its status page again and check the version it reports.
#pragma once
#include "tftp/session.h"

constexpr uint32_t UpdateWaitUnits = 937;        // of 32 ms: 29,984 ms
constexpr uint32_t UpdateWaitSleepMs = 32;
constexpr uint32_t ClockWrapUnits = 134217728;   // 2^32 ms / 32
constexpr int StatusFetchAttempts = 10;

void complete_stage(TftpSession* session, bool gave_up);
