// Every dialog of the run, and the fetch runner with its connecting and
// password dialogs.
#pragma once
#include <cstdint>

#include "ui/fetch_job.h"

int notice_dialog(void* instance);
int address_dialog(void* instance, int template_id);
int confirm_dialog(void* instance, int template_id);
int success_dialog();
int password_dialog();

// One page fetch on a worker thread under the connecting dialog, with a
// silent retry or the password prompt after a refusal. Never negative.
int32_t run_fetch_with_progress(HttpFetchJob job);
int32_t fetch_worker(const HttpFetchJob& job);

// Installs the error box and the TFTP notifications on the dialogs.
void install_dialogs();

// The texts the dialogs show.
extern const char* const NoticeText;
extern const char* const AdapterHelpText;
extern const char* const HandsetHelpText;
extern const char* const PasswordHelpText;
extern const char* const ConfirmBaseText;
extern const char* const SuccessText;
