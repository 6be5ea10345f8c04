// From dialogs in dialog units to a grid of character cells. Both front ends
// and the tests use this one function, so tests read what a person sees.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "toolkit/window.h"

struct Rect {
    int x, y, w, h;
};

struct DialogLayout {
    double kx, ky;            // cells per dialog unit
    int width, height;        // cells, frame included
    std::vector<Rect> rects;  // per control, relative to the client area
};

// The scale is chosen per dialog so that every line of its texts fits its
// control, then reduced to fit the screen (long texts then scroll).
DialogLayout layout_dialog(const Window& window, int screen_width, int screen_height);
void dialog_size(const Window& window, int screen_width, int screen_height, int* width, int* height);
// Where the window's top-left cell is: centred windows at the floor of each
// half of the room left (negative when the window is larger), others where
// they were put.
void window_origin(const Window& window, const DialogLayout& layout, int screen_width, int screen_height, int* x,
                   int* y);

// Lines broken at CR LF (or LF), each wrapped at word boundaries to `width`.
std::vector<std::string> wrap_text(const std::string& text, int width);

enum Attr : uint8_t { AttrNormal = 0, AttrReverse = 1, AttrBold = 2 };

struct Grid {
    int width = 0, height = 0;
    std::vector<char> chars;
    std::vector<uint8_t> attrs;
    Grid(int w, int h) : width(w), height(h), chars(static_cast<size_t>(w * h), ' '), attrs(static_cast<size_t>(w * h), 0) {}
    void put(int x, int y, char c, uint8_t attr = AttrNormal);
    void text(int x, int y, const std::string& s, uint8_t attr = AttrNormal, int limit = 1 << 30);
    std::string row(int y) const;
    std::string dump() const;  // rows joined by '\n', trailing blanks kept
};

// The visible windows, bottom to top, drawn on a screen of that size.
Grid render_desktop(const std::vector<Window>& windows, int width, int height);
