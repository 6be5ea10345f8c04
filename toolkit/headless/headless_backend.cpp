#include "toolkit/headless/headless_backend.h"

#include "toolkit/backend.h"

namespace {
int g_width = 100, g_height = 32;
}

void use_headless_backend(int width, int height) {
    g_width = width;
    g_height = height;
    set_backend({[](int* w, int* h) {
                     *w = g_width;
                     *h = g_height;
                 },
                 [] {}});
}

Grid headless_screen() { return render_desktop(desktop_snapshot(), g_width, g_height); }
