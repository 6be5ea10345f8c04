// The ten dialog templates and the two icons of the program, as data.
#pragma once
#include "toolkit/dialog_template.h"

// Finds a template by its resource id; nullptr for an unknown id.
const DialogTemplate* find_dialog_template(int id);

// Icon pictures in character cells, rows joined by '\n'.
extern const char* const AdapterIcon;  // resource 106
extern const char* const HandsetIcon;  // resource 286

enum DialogId {
    AddressDialogId = 101,
    ConfirmDialogId = 103,
    PasswordDialogId = 104,
    ConnectingDialogId = 105,
    UploadDialogId = 110,
    SuccessDialogId = 111,
    WaitingDialogId = 114,
    NoticeDialogId = 139,
    ConfirmTransitionDialogId = 304,
    HandsetAddressDialogId = 305,
};
