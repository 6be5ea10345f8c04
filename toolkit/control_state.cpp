// Reading and changing the state of a dialog's controls.
#include <cstdlib>

#include "toolkit/desktop_internal.h"

namespace {
std::string ipv4_text(const Control& c) {
    std::string s;
    for (int i = 0; i < 4; ++i) {
        if (i) s += '.';
        // A blank field reads as 0.
        int v = c.fields[i].empty() ? 0 : std::atoi(c.fields[i].c_str());
        s += std::to_string(v > 255 ? 255 : v);
    }
    return s;
}

void set_ipv4_text(Control& c, const std::string& text) {
    for (auto& f : c.fields) f.clear();
    int f = 0;
    for (char ch : text) {
        if (ch == '.') {
            if (++f > 3) break;
        } else if (ch >= '0' && ch <= '9' && c.fields[f].size() < 3) {
            c.fields[f] += ch;
        }
    }
    c.field = 0;
}
}  // namespace

Control* find_control(Window& w, int id) {
    for (Control& c : w.controls)
        if (c.t->id == id) return &c;
    return nullptr;
}

void set_caption(Window& w, const std::string& caption) {
    std::lock_guard<std::recursive_mutex> l(desktop_lock());
    if (w.caption != caption) mark_desktop_changed();
    w.caption = caption;
}

void set_control_text(Window& w, int id, const std::string& text) {
    std::lock_guard<std::recursive_mutex> l(desktop_lock());
    Control* c = find_control(w, id);
    if (!c) return;
    if (c->t->kind == ControlKind::Ipv4Address)
        set_ipv4_text(*c, text);
    else
        c->text = text;
    c->cursor = static_cast<int>(c->text.size());
    c->scroll = 0;
    mark_desktop_changed();
}

std::string control_text(Window& w, int id) {
    std::lock_guard<std::recursive_mutex> l(desktop_lock());
    Control* c = find_control(w, id);
    if (!c) return "";
    return c->t->kind == ControlKind::Ipv4Address ? ipv4_text(*c) : c->text;
}

void add_list_item(Window& w, int id, const std::string& item) {
    std::lock_guard<std::recursive_mutex> l(desktop_lock());
    if (Control* c = find_control(w, id)) c->items.push_back(item);
    mark_desktop_changed();
}

void set_list_selection(Window& w, int id, int index) {
    std::lock_guard<std::recursive_mutex> l(desktop_lock());
    Control* c = find_control(w, id);
    if (!c) return;
    c->selection = (index >= 0 && index < static_cast<int>(c->items.size())) ? index : -1;
    mark_desktop_changed();
}

int list_selection(Window& w, int id) {
    std::lock_guard<std::recursive_mutex> l(desktop_lock());
    Control* c = find_control(w, id);
    return c ? c->selection : -1;
}

void set_progress_range(Window& w, int id, int low, int high) {
    std::lock_guard<std::recursive_mutex> l(desktop_lock());
    if (Control* c = find_control(w, id)) {
        c->range_min = low;
        c->range_max = high;
    }
    mark_desktop_changed();
}

void set_progress_position(Window& w, int id, int position) {
    std::lock_guard<std::recursive_mutex> l(desktop_lock());
    Control* c = find_control(w, id);
    if (!c || c->position == position) return;
    c->position = position;
    mark_desktop_changed();
}

void set_focus(Window& w, int id) {
    std::lock_guard<std::recursive_mutex> l(desktop_lock());
    for (size_t i = 0; i < w.controls.size(); ++i)
        if (w.controls[i].t->id == id) w.focus = static_cast<int>(i);
    mark_desktop_changed();
}
