#include "toolkit/layout.h"

#include <algorithm>
#include <cmath>

namespace {
bool single_line(ControlKind k) {
    return k == ControlKind::PushButton || k == ControlKind::DefaultButton || k == ControlKind::ReadOnlyEntry ||
           k == ControlKind::Entry || k == ControlKind::PasswordEntry || k == ControlKind::DropDownList ||
           k == ControlKind::Ipv4Address || k == ControlKind::ProgressBar;
}

bool multi_row_text(const Control& c) {
    return c.t->kind == ControlKind::MultiLineText || (c.t->kind == ControlKind::StaticText && c.t->wrap);
}

std::vector<std::string> hard_lines(const std::string& text) {
    std::vector<std::string> lines(1);
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') continue;
        if (text[i] == '\n' || text[i] == '\r')
            lines.emplace_back();
        else
            lines.back() += text[i];
    }
    if (lines.size() > 1 && lines.back().empty()) lines.pop_back();
    return lines;
}

int longest_line(const std::string& text) {
    size_t n = 0;
    for (auto& l : hard_lines(text)) n = std::max(n, l.size());
    return static_cast<int>(n);
}

int cells(int du, double k) { return std::max(1, static_cast<int>(std::lround(du * k))); }

std::string ipv4_display(const Control& c) {
    std::string s;
    for (int i = 0; i < 4; ++i) {
        std::string f = c.fields[i];
        s += std::string(3 - std::min<size_t>(3, f.size()), ' ') + f;
        if (i < 3) s += '.';
    }
    return s;
}
}  // namespace

std::vector<std::string> wrap_text(const std::string& text, int width) {
    std::vector<std::string> out;
    width = std::max(1, width);
    for (const std::string& line : hard_lines(text)) {
        std::string rest = line;
        if (rest.empty()) out.emplace_back();
        while (!rest.empty()) {
            if (static_cast<int>(rest.size()) <= width) {
                out.push_back(rest);
                break;
            }
            size_t cut = rest.rfind(' ', static_cast<size_t>(width));
            if (cut == std::string::npos || cut == 0) {
                out.push_back(rest.substr(0, static_cast<size_t>(width)));
                rest = rest.substr(static_cast<size_t>(width));
            } else {
                out.push_back(rest.substr(0, cut));
                rest = rest.substr(cut + 1);
            }
        }
    }
    return out;
}

DialogLayout layout_dialog(const Window& w, int sw, int sh) {
    const DialogTemplate& t = *w.t;
    DialogLayout d;
    double kx = 0.25, ky = 0.125;
    // Widths: every unwrapped line, label and button text fits its control,
    // and the caption fits the title bar.
    kx = std::max(kx, (static_cast<int>(w.caption.size()) + 8.0) / t.w);
    for (const Control& c : w.controls) {
        const ControlKind k = c.t->kind;
        if (k == ControlKind::PushButton || k == ControlKind::DefaultButton)
            kx = std::max(kx, (c.text.size() + 4.0) / c.t->w);
        else if (k == ControlKind::MultiLineText || (k == ControlKind::StaticText && !c.t->wrap))
            kx = std::max(kx, static_cast<double>(longest_line(c.text)) / c.t->w);
        else if (k == ControlKind::Ipv4Address)
            kx = std::max(kx, 17.0 / c.t->w);
    }
    kx = std::min(kx, (sw - 2.0) / t.w);
    // Heights: every multi-row text shows all its lines.
    for (const Control& c : w.controls) {
        if (!multi_row_text(c)) continue;
        int lines = static_cast<int>(wrap_text(c.text, cells(c.t->w, kx)).size());
        ky = std::max(ky, (lines - 0.45) / c.t->h);
    }
    ky = std::min(ky, (sh - 2.0) / t.h);
    d.kx = kx;
    d.ky = ky;
    d.width = cells(t.w, kx) + 2;
    d.height = cells(t.h, ky) + 2;
    for (const Control& c : w.controls) {
        Rect r{static_cast<int>(std::lround(c.t->x * kx)), static_cast<int>(std::lround(c.t->y * ky)),
               cells(c.t->w, kx), single_line(c.t->kind) ? 1 : cells(c.t->h, ky)};
        // A one-row control sits on the row of its middle; a drop-down list's
        // height includes the opened list, so its closed box is 14 units.
        int h = c.t->kind == ControlKind::DropDownList ? std::min(c.t->h, 14) : c.t->h;
        if (single_line(c.t->kind)) r.y = static_cast<int>(std::floor((c.t->y + h / 2.0) * ky));
        d.rects.push_back(r);
    }
    // A one-line label sits on the row of the field beside it.
    for (size_t i = 0; i < w.controls.size(); ++i) {
        const ControlTemplate& a = *w.controls[i].t;
        if (a.kind != ControlKind::StaticText || a.wrap || a.h > 10) continue;
        d.rects[i].h = 1;
        for (size_t j = 0; j < w.controls.size(); ++j) {
            const ControlTemplate& b = *w.controls[j].t;
            if (!single_line(b.kind) || b.kind == ControlKind::PushButton || b.kind == ControlKind::DefaultButton) continue;
            if (a.y < b.y + b.h && b.y < a.y + a.h) d.rects[i].y = d.rects[j].y;
        }
    }
    return d;
}

void dialog_size(const Window& w, int sw, int sh, int* width, int* height) {
    DialogLayout d = layout_dialog(w, sw, sh);
    *width = d.width;
    *height = d.height;
}

void window_origin(const Window& w, const DialogLayout& d, int sw, int sh, int* x, int* y) {
    auto floor_half = [](int v) { return v >= 0 ? v / 2 : -((-v + 1) / 2); };
    *x = w.centred ? floor_half(sw - d.width) : w.x;
    *y = w.centred ? floor_half(sh - d.height) : w.y;
}

void Grid::put(int x, int y, char c, uint8_t attr) {
    if (x < 0 || y < 0 || x >= width || y >= height) return;
    chars[static_cast<size_t>(y * width + x)] = c;
    attrs[static_cast<size_t>(y * width + x)] = attr;
}

void Grid::text(int x, int y, const std::string& s, uint8_t attr, int limit) {
    for (int i = 0; i < static_cast<int>(s.size()) && i < limit; ++i) put(x + i, y, s[static_cast<size_t>(i)], attr);
}

std::string Grid::row(int y) const { return std::string(chars.begin() + y * width, chars.begin() + (y + 1) * width); }

std::string Grid::dump() const {
    std::string s;
    for (int y = 0; y < height; ++y) s += row(y) + "\n";
    return s;
}

namespace {
// The keys a user needs in this dialog, as many as fit the bottom border,
// the most needed last to be dropped.
std::string key_hints(const Window& w, bool overflow, int room) {
    bool list = false, entry = false, buttons = false;
    for (const Control& c : w.controls) {
        list |= c.t->kind == ControlKind::DropDownList;
        entry |= c.t->tab_stop && c.t->kind != ControlKind::PushButton && c.t->kind != ControlKind::DefaultButton;
        buttons |= c.t->kind == ControlKind::PushButton || c.t->kind == ControlKind::DefaultButton;
    }
    std::vector<std::string> hints;
    if (overflow) hints.push_back("PgUp/PgDn: scroll");
    if (list) hints.push_back("Up/Down: choose");
    if (entry || list) hints.push_back("Tab: next");
    if (buttons) hints.push_back("Enter: press");
    hints.push_back("Esc: cancel");
    for (size_t drop = 0; drop < hints.size(); ++drop) {
        std::string s = " ";
        for (size_t i = drop; i < hints.size(); ++i) s += hints[i] + (i + 1 < hints.size() ? "  " : " ");
        if (static_cast<int>(s.size()) <= room) return s;
    }
    return "";
}

void draw_control(Grid& g, const Control& c, const Rect& r, int ox, int oy, bool focused) {
    const int x = ox + r.x, y = oy + r.y;
    const uint8_t focus_attr = focused ? AttrReverse : AttrNormal;
    switch (c.t->kind) {
    case ControlKind::PushButton:
    case ControlKind::DefaultButton: {
        std::string label = c.t->kind == ControlKind::DefaultButton ? "< " + c.text + " >" : "[ " + c.text + " ]";
        int at = x + std::max(0, (r.w - static_cast<int>(label.size())) / 2);
        g.text(at, y, label, focus_attr | (c.t->kind == ControlKind::DefaultButton ? AttrBold : 0));
        break;
    }
    case ControlKind::StaticText:
    case ControlKind::MultiLineText: {
        bool wraps = c.t->kind == ControlKind::MultiLineText || c.t->wrap || r.h > 1;
        std::vector<std::string> lines = wraps ? wrap_text(c.text, r.w) : hard_lines(c.text);
        bool overflow = static_cast<int>(lines.size()) > r.h;
        if (overflow) lines = wrap_text(c.text, std::max(1, r.w - 1));
        int total = static_cast<int>(lines.size());
        int first = std::clamp(c.scroll, 0, std::max(0, total - r.h));
        for (int i = 0; i < r.h && first + i < total; ++i) {
            const std::string& line = lines[static_cast<size_t>(first + i)];
            int len = static_cast<int>(line.size());
            int at = x;
            if (c.t->align == Align::Right) at = x + std::max(0, r.w - len);
            if (c.t->align == Align::Center) at = x + std::max(0, (r.w - (overflow ? 1 : 0) - len) / 2);
            g.text(at, y + i, line, AttrNormal, r.w - (overflow ? 1 : 0));
        }
        if (overflow) {
            if (first > 0) g.put(x + r.w - 1, y, '^', AttrReverse);
            if (first + r.h < total) g.put(x + r.w - 1, y + r.h - 1, 'v', AttrReverse);
            if (focused) g.put(x + r.w - 1, y + r.h / 2, '|', AttrReverse);
        }
        break;
    }
    case ControlKind::ReadOnlyEntry:
    case ControlKind::Entry:
    case ControlKind::PasswordEntry: {
        int inner = std::max(1, r.w - 2);
        std::string shown = c.t->kind == ControlKind::PasswordEntry ? std::string(c.text.size(), '*') : c.text;
        int first = c.scroll;
        if (c.t->kind != ControlKind::ReadOnlyEntry) {
            first = std::max(0, c.cursor - inner + 1);
        }
        first = std::clamp(first, 0, std::max(0, static_cast<int>(shown.size())));
        std::string view = shown.substr(static_cast<size_t>(first));
        if (c.t->align == Align::Center && static_cast<int>(view.size()) < inner)
            view = std::string(static_cast<size_t>(inner - static_cast<int>(view.size())) / 2, ' ') + view;
        if (!c.t->border) {  // plain read-only text
            g.text(x, y, shown.substr(static_cast<size_t>(std::min<int>(c.scroll, static_cast<int>(shown.size())))), focus_attr, r.w);
            break;
        }
        g.put(x, y, first > 0 ? '<' : '[');
        for (int i = 0; i < inner; ++i) {
            char ch = i < static_cast<int>(view.size()) ? view[static_cast<size_t>(i)] : (c.t->kind == ControlKind::ReadOnlyEntry ? ' ' : '_');
            uint8_t a = focus_attr;
            if (focused && c.t->kind != ControlKind::ReadOnlyEntry && first + i == c.cursor) a = AttrNormal;
            g.put(x + 1 + i, y, ch, a);
        }
        g.put(x + inner + 1, y, static_cast<int>(view.size()) > inner ? '>' : ']');
        break;
    }
    case ControlKind::DropDownList: {
        int inner = std::max(1, r.w - 4);
        std::string item = c.selection >= 0 && c.selection < static_cast<int>(c.items.size()) ? c.items[static_cast<size_t>(c.selection)] : "";
        g.put(x, y, '[');
        g.text(x + 1, y, item + std::string(static_cast<size_t>(std::max(0, inner - static_cast<int>(item.size()))), ' '), focus_attr, inner);
        g.text(x + 1 + inner, y, " v]");
        break;
    }
    case ControlKind::Ipv4Address: {
        std::string s = ipv4_display(c);
        g.put(x, y, '[');
        g.text(x + 1, y, s, AttrNormal);
        if (focused) {
            int f = std::clamp(c.field, 0, 3);
            g.text(x + 1 + f * 4, y, s.substr(static_cast<size_t>(f * 4), 3), AttrReverse);
        }
        g.put(x + 16, y, ']');
        break;
    }
    case ControlKind::ProgressBar: {
        int inner = std::max(1, r.w - 2);
        int span = c.range_max - c.range_min;
        int filled = span > 0 ? static_cast<int>(static_cast<int64_t>(std::clamp(c.position - c.range_min, 0, span)) * inner / span) : 0;
        g.put(x, y, '[');
        for (int i = 0; i < inner; ++i) g.put(x + 1 + i, y, i < filled ? '#' : '.');
        g.put(x + inner + 1, y, ']');
        break;
    }
    case ControlKind::Icon: {
        std::vector<std::string> rows = hard_lines(c.t->text ? c.t->text : "");
        for (int i = 0; i < static_cast<int>(rows.size()) && i < std::max(r.h, 3); ++i)
            g.text(x, y + i, rows[static_cast<size_t>(i)]);
        break;
    }
    }
}
}  // namespace

Grid render_desktop(const std::vector<Window>& windows, int sw, int sh) {
    Grid g(sw, sh);
    for (size_t wi = 0; wi < windows.size(); ++wi) {
        const Window& w = windows[wi];
        const bool active = wi + 1 == windows.size();
        DialogLayout d = layout_dialog(w, sw, sh);
        int x, y;
        window_origin(w, d, sw, sh, &x, &y);
        for (int row = 0; row < d.height; ++row)
            for (int col = 0; col < d.width; ++col) g.put(x + col, y + row, ' ');
        for (int col = 1; col < d.width - 1; ++col) {
            g.put(x + col, y, '-');
            g.put(x + col, y + d.height - 1, '-');
        }
        for (int row = 1; row < d.height - 1; ++row) {
            g.put(x, y + row, '|');
            g.put(x + d.width - 1, y + row, '|');
        }
        for (int cx : {x, x + d.width - 1})
            for (int cy : {y, y + d.height - 1}) g.put(cx, cy, '+');
        g.text(x + 2, y, " " + w.caption + " ", active ? AttrReverse : AttrBold, d.width - 8);
        g.text(x + d.width - 5, y, "[X]");
        bool overflow = false;
        for (size_t i = 0; i < w.controls.size(); ++i) {
            const Control& c = w.controls[i];
            const Rect& r = d.rects[i];
            if (multi_row_text(c) && static_cast<int>(wrap_text(c.text, r.w).size()) > r.h) overflow = true;
            draw_control(g, c, r, x + 1, y + 1, active && static_cast<int>(i) == w.focus);
        }
        if (active) {
            std::string hints = key_hints(w, overflow, d.width - 4);
            if (!hints.empty()) g.text(x + d.width - 2 - static_cast<int>(hints.size()), y + d.height - 1, hints);
        }
    }
    return g;
}
