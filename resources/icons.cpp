#include "resources/dialog_templates.h"

// Both icons are 32x32 pixels in the original; three rows of six cells here.
const char* const AdapterIcon =
    ".----.\n"
    "|o oo|\n"
    "'-==-'";
const char* const HandsetIcon =
    " .--. \n"
    " |::| \n"
    " |##| ";
