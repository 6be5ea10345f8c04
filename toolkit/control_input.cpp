// What a key does in a dialog: focus movement, buttons, editing, the list
// and the IPv4 address control.
#include <algorithm>
#include <cstdlib>

#include "toolkit/desktop_internal.h"
#include "toolkit/keys.h"

namespace {
constexpr size_t MaxEntryLength = 1024;

bool is_button(const Control& c) {
    return c.t->kind == ControlKind::PushButton || c.t->kind == ControlKind::DefaultButton;
}

int default_button(const Window& w) {
    for (const Control& c : w.controls)
        if (c.t->kind == ControlKind::DefaultButton) return c.t->id;
    return 0;
}

void move_focus(Window& w, int step) {
    int n = static_cast<int>(w.controls.size());
    if (n == 0) return;
    int i = w.focus;
    for (int tries = 0; tries < n; ++tries) {
        i = ((i < 0 ? (step > 0 ? -1 : 0) : i) + step + n) % n;
        if (w.controls[i].t->tab_stop) {
            w.focus = i;
            return;
        }
    }
}

// The first multi-line text of the dialog: Page Up and Page Down scroll it
// from any control.
Control* scrollable_text(Window& w) {
    for (Control& c : w.controls)
        if (c.t->kind == ControlKind::MultiLineText || (c.t->kind == ControlKind::StaticText && c.t->wrap)) return &c;
    return nullptr;
}

void edit_entry(Control& c, int key) {
    std::string& s = c.text;
    c.cursor = std::clamp(c.cursor, 0, static_cast<int>(s.size()));
    switch (key) {
    case KeyLeft: c.cursor = std::max(0, c.cursor - 1); break;
    case KeyRight: c.cursor = std::min(static_cast<int>(s.size()), c.cursor + 1); break;
    case KeyHome: c.cursor = 0; break;
    case KeyEnd: c.cursor = static_cast<int>(s.size()); break;
    case KeyBackspace:
        if (c.cursor > 0) s.erase(static_cast<size_t>(--c.cursor), 1);
        break;
    case KeyDelete:
        if (c.cursor < static_cast<int>(s.size())) s.erase(static_cast<size_t>(c.cursor), 1);
        break;
    default:
        if (key >= 32 && key < 127 && s.size() < MaxEntryLength) s.insert(s.begin() + c.cursor++, static_cast<char>(key));
    }
}

// A field that is left holds at most 255, as the platform's control keeps it.
void settle_field(Control& c, int f) {
    if (!c.fields[f].empty() && std::atoi(c.fields[f].c_str()) > 255) c.fields[f] = "255";
}

void edit_ipv4(Control& c, int key) {
    int& f = c.field;
    if (key >= '0' && key <= '9') {
        if (c.fields[f].size() >= 3) {
            if (f == 3) return;
            settle_field(c, f);
            ++f;
        }
        c.fields[f] += static_cast<char>(key);
        c.auto_advanced = false;
        if (c.fields[f].size() == 3 && f < 3) {
            settle_field(c, f);
            ++f;
            c.auto_advanced = true;
        } else if (c.fields[f].size() == 3) {
            settle_field(c, f);
        }
    } else if (key == '.' || key == ' ') {
        // A dot right after the caret moved on by itself does not skip a
        // field, so "127.0.0.2" typed as text gives that address.
        if (c.auto_advanced && c.fields[f].empty()) {
            c.auto_advanced = false;
            return;
        }
        if (f < 3 && !c.fields[f].empty()) {
            settle_field(c, f);
            ++f;
        }
        c.auto_advanced = false;
    } else if (key == KeyBackspace) {
        c.auto_advanced = false;
        if (c.fields[f].empty() && f > 0) --f;
        if (!c.fields[f].empty()) c.fields[f].pop_back();
    } else if (key == KeyLeft && f > 0) {
        settle_field(c, f);
        --f;
        c.auto_advanced = false;
    } else if (key == KeyRight && f < 3) {
        settle_field(c, f);
        ++f;
        c.auto_advanced = false;
    } else if (key == KeyHome) {
        f = 0;
    } else if (key == KeyDelete) {
        c.fields[f].clear();
    }
}
}  // namespace

int first_tab_stop(const Window& w) {
    for (size_t i = 0; i < w.controls.size(); ++i)
        if (w.controls[i].t->tab_stop) return static_cast<int>(i);
    return -1;
}

int apply_key(Window& w, int key) {
    if (key == KeyEscape || key == KeyCtrlC) return IdCancel;
    if (key == KeyTab) {
        move_focus(w, 1);
        return 0;
    }
    if (key == KeyBackTab) {
        move_focus(w, -1);
        return 0;
    }
    if (key == KeyPageUp || key == KeyPageDown) {
        if (Control* t = scrollable_text(w)) t->scroll = std::max(0, t->scroll + (key == KeyPageDown ? 4 : -4));
        return 0;
    }
    Control* focused = w.focus >= 0 ? &w.controls[static_cast<size_t>(w.focus)] : nullptr;
    if (key == KeyEnter) {
        if (focused && is_button(*focused)) return focused->t->id;
        return default_button(w);
    }
    if (!focused) return 0;
    switch (focused->t->kind) {
    case ControlKind::PushButton:
    case ControlKind::DefaultButton:
        if (key == ' ') return focused->t->id;
        if (key == KeyLeft || key == KeyUp) move_focus(w, -1);
        if (key == KeyRight || key == KeyDown) move_focus(w, 1);
        break;
    case ControlKind::Entry:
    case ControlKind::PasswordEntry: edit_entry(*focused, key); break;
    case ControlKind::ReadOnlyEntry:
        if (key == KeyLeft || key == KeyHome) focused->scroll = key == KeyHome ? 0 : std::max(0, focused->scroll - 1);
        if (key == KeyRight) focused->scroll = std::min(static_cast<int>(focused->text.size()), focused->scroll + 1);
        if (key == KeyEnd) focused->scroll = static_cast<int>(focused->text.size());
        break;
    case ControlKind::MultiLineText:
        if (key == KeyUp) focused->scroll = std::max(0, focused->scroll - 1);
        if (key == KeyDown) focused->scroll++;
        break;
    case ControlKind::DropDownList: {
        int n = static_cast<int>(focused->items.size());
        if (n == 0) break;
        if (key == KeyUp || key == KeyLeft) focused->selection = std::max(0, focused->selection - 1);
        if (key == KeyDown || key == KeyRight) focused->selection = std::min(n - 1, focused->selection + 1);
        if (key == KeyHome) focused->selection = 0;
        if (key == KeyEnd) focused->selection = n - 1;
        break;
    }
    case ControlKind::Ipv4Address: edit_ipv4(*focused, key); break;
    default: break;
    }
    return 0;
}
