#include "resources/dialog_templates.h"

#include <iterator>

namespace {
using K = ControlKind;
using A = Align;

// id, kind, text, x, y, w, h, align, tab stop, border, wrap
const ControlTemplate Notice139[] = {
    {1, K::PushButton, "Continue", 41, 116, 50, 14, A::Center, true, false, false},
    {2, K::DefaultButton, "Cancel", 109, 116, 50, 14, A::Center, true, false, false},
    {1021, K::MultiLineText, "", 12, 13, 189, 95, A::Left, false, false, false},
};

#define ADDRESS_CONTROLS(icon)                                                               \
    {1, K::DefaultButton, "OK", 26, 126, 50, 14, A::Center, true, false, false},             \
    {2, K::PushButton, "Cancel", 86, 126, 50, 14, A::Center, true, false, false},            \
    {1007, K::MultiLineText, "", 13, 6, 139, 16, A::Left, false, false, false},              \
    {1008, K::MultiLineText, "", 13, 42, 148, 56, A::Left, false, false, false},             \
    {1015, K::ReadOnlyEntry, "", 37, 28, 89, 14, A::Left, false, false, false},              \
    {1017, K::DropDownList, "", 63, 153, 79, 80, A::Left, true, false, false},               \
    {-1, K::StaticText, "Your IP Address", 9, 156, 52, 8, A::Left, false, false, false},     \
    {-1, K::Icon, icon, 119, 18, 20, 20, A::Left, false, false, false},                      \
    {1000, K::Ipv4Address, "", 26, 103, 109, 15, A::Left, true, true, false}

const ControlTemplate Address101[] = {ADDRESS_CONTROLS(AdapterIcon)};
const ControlTemplate Address305[] = {ADDRESS_CONTROLS(HandsetIcon)};
#undef ADDRESS_CONTROLS

const ControlTemplate Connecting105[] = {
    {2, K::PushButton, "Cancel", 65, 34, 50, 14, A::Center, true, false, false},
    {1010, K::ProgressBar, "", 22, 10, 141, 14, A::Left, false, true, false},
};

const ControlTemplate Password104[] = {
    {1, K::DefaultButton, "OK", 32, 210, 50, 14, A::Center, true, false, false},
    {2, K::PushButton, "Cancel", 104, 210, 50, 14, A::Center, true, false, false},
    {1003, K::Entry, "", 68, 168, 85, 14, A::Left, true, true, false},
    {1005, K::PasswordEntry, "", 68, 186, 85, 14, A::Left, true, true, false},
    {-1, K::StaticText, "User", 18, 170, 44, 8, A::Right, false, false, false},
    {-1, K::StaticText, "Password", 18, 191, 44, 8, A::Right, false, false, false},
    {1007, K::MultiLineText, "", 15, 9, 165, 152, A::Left, true, false, false},
};

const ControlTemplate Confirm103[] = {
    {1, K::DefaultButton, "Upgrade", 33, 143, 50, 14, A::Center, true, false, false},
    {2, K::PushButton, "Cancel", 87, 143, 50, 14, A::Center, true, false, false},
    {1002, K::ReadOnlyEntry, "", 82, 49, 67, 14, A::Left, true, true, false},
    {1003, K::ReadOnlyEntry, "", 82, 66, 67, 14, A::Left, true, true, false},
    {1004, K::ReadOnlyEntry, "", 82, 84, 67, 14, A::Left, true, true, false},
    {1005, K::ReadOnlyEntry, "", 82, 100, 67, 14, A::Left, true, true, false},
    {1006, K::ReadOnlyEntry, "", 82, 118, 67, 14, A::Left, true, true, false},
    {-1, K::StaticText, "Serial Number", 4, 52, 72, 8, A::Right, false, false, false},
    {-1, K::StaticText, "MAC Address", 4, 70, 72, 8, A::Right, false, false, false},
    {-1, K::StaticText, "Software Version", 4, 87, 72, 8, A::Right, false, false, false},
    {-1, K::StaticText, "Hardware Version", 4, 103, 72, 8, A::Right, false, false, false},
    {-1, K::StaticText, "Product Name", 4, 121, 72, 8, A::Right, false, false, false},
    {1007, K::MultiLineText, "", 12, 6, 142, 37, A::Left, true, false, false},
};

const ControlTemplate Confirm304[] = {
    {1, K::DefaultButton, "Upgrade", 42, 179, 50, 14, A::Center, true, false, false},
    {2, K::PushButton, "Cancel", 96, 179, 50, 14, A::Center, true, false, false},
    {1002, K::ReadOnlyEntry, "", 92, 86, 67, 14, A::Left, true, true, false},
    {1003, K::ReadOnlyEntry, "", 92, 103, 67, 14, A::Left, true, true, false},
    {1004, K::ReadOnlyEntry, "", 92, 121, 67, 14, A::Left, true, true, false},
    {1005, K::ReadOnlyEntry, "", 92, 137, 67, 14, A::Left, true, true, false},
    {1006, K::ReadOnlyEntry, "", 92, 154, 67, 14, A::Left, true, true, false},
    {-1, K::StaticText, "Serial Number", 14, 89, 72, 8, A::Right, false, false, false},
    {-1, K::StaticText, "MAC Address", 14, 106, 72, 8, A::Right, false, false, false},
    {-1, K::StaticText, "Software Version", 14, 124, 72, 8, A::Right, false, false, false},
    {-1, K::StaticText, "Hardware Version", 14, 140, 72, 8, A::Right, false, false, false},
    {-1, K::StaticText, "Product Name", 14, 158, 72, 8, A::Right, false, false, false},
    {1007, K::MultiLineText, "", 23, 7, 142, 77, A::Left, true, false, false},
};

const ControlTemplate Waiting114[] = {
    {2, K::PushButton, "Cancel", 108, 115, 50, 14, A::Center, true, false, false},
    {1010, K::ProgressBar, "", 38, 95, 191, 14, A::Left, false, true, false},
    {1022, K::StaticText, "", 15, 9, 244, 79, A::Left, false, false, true},
};

const ControlTemplate Upload110[] = {
    {2, K::PushButton, "Cancel", 126, 52, 50, 14, A::Center, true, false, false},
    {1010, K::ProgressBar, "", 31, 36, 242, 8, A::Left, false, true, false},
    {-1, K::StaticText, "Please do not unplug the power of your NUV until the Status Light stops blinking", 86,
     12, 137, 22, A::Center, false, false, true},
};

const ControlTemplate Success111[] = {
    {1, K::DefaultButton, "OK", 59, 94, 50, 14, A::Center, true, false, false},
    {1004, K::ReadOnlyEntry, "", 15, 69, 136, 14, A::Center, true, true, false},
    {1007, K::MultiLineText, "", 29, 9, 111, 33, A::Left, false, false, false},
    {-1, K::StaticText, "Now running:", 82, 50, 53, 8, A::Left, false, false, false},
};

template <size_t N>
constexpr DialogTemplate make(int id, const char* caption, int x, int y, int w, int h, const ControlTemplate (&c)[N]) {
    return DialogTemplate{id, caption, x, y, w, h, c, static_cast<int>(N)};
}

const DialogTemplate Templates[] = {
    make(139, "NUV-4200 Firmware Upgrade", 0, 0, 204, 143, Notice139),
    make(101, "Enter NUV IP Address", 200, 200, 165, 181, Address101),
    make(305, "Dialog", 0, 0, 164, 178, Address305),
    make(105, "Connecting with NUV", 200, 200, 186, 55, Connecting105),
    make(104, "Enter Password Information", 200, 200, 191, 236, Password104),
    make(103, "Confirm Upgrade", 200, 200, 172, 166, Confirm103),
    make(304, "Confirm Upgrade", 0, 0, 186, 198, Confirm304),
    make(114, "Waiting For Firmware Download Request From NUV", 0, 0, 270, 141, Waiting114),
    make(110, "Uploading Firmware To NUV", 0, 0, 303, 77, Upload110),
    make(111, "NUV Upgrade Successful!", 0, 0, 171, 126, Success111),
};
}  // namespace

const DialogTemplate* find_dialog_template(int id) {
    for (const DialogTemplate& t : Templates)
        if (t.id == id) return &t;
    return nullptr;
}
