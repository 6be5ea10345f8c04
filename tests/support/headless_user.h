// A scripted user for headless dialog tests: answers each dialog as it
// opens, and keeps what the dialog showed at that moment.
#pragma once
#include <functional>
#include <map>
#include <mutex>
#include <string>
#include <vector>

#include "toolkit/keys.h"
#include "toolkit/layout.h"
#include "toolkit/window.h"

struct ShownDialog {
    Window window;       // a copy, as shown
    std::string screen;  // the rendered screen
    int focus_id;        // id of the focused control, 0 if none
};

struct HeadlessUser {
    std::mutex lock;
    std::map<int, std::function<void(Window&)>> answers;  // by template id
    std::vector<ShownDialog> shown;
    void install(int width = 100, int height = 32);
    void uninstall();
    int count(int template_id);
    const ShownDialog* last(int template_id);
};

extern HeadlessUser* g_user;
std::string text_of(const Window& w, int id);
// The dialog's hard lines (CR LF) each appear whole on the screen.
bool shows_whole_lines(const std::string& screen, const std::string& text);
