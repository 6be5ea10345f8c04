// Dialog templates as data: the caption, the size and every control's id,
// kind, text, position and size in dialog units.
#pragma once

enum class ControlKind {
    PushButton,
    DefaultButton,
    StaticText,     // label or paragraph; read-only
    MultiLineText,  // read-only multi-line text, scrolls when it does not fit
    ReadOnlyEntry,  // single line, scrolls horizontally
    Entry,
    PasswordEntry,  // characters hidden
    DropDownList,   // no typing, unsorted
    Ipv4Address,
    ProgressBar,
    Icon,
};

enum class Align { Left, Right, Center };

struct ControlTemplate {
    int id;
    ControlKind kind;
    const char* text;  // initial text; for an icon the icon resource name
    int x, y, w, h;
    Align align;
    bool tab_stop;
    bool border;
    bool wrap;  // static text wrapped at word boundaries
};

struct DialogTemplate {
    int id;
    const char* caption;
    int x, y, w, h;
    const ControlTemplate* controls;
    int control_count;
};

constexpr int IdOk = 1;
constexpr int IdCancel = 2;
