#include "tests/support/headless_user.h"

#include "toolkit/headless/headless_backend.h"

HeadlessUser* g_user;

void HeadlessUser::install(int width, int height) {
    g_user = this;
    use_headless_backend(width, height);
    set_dialog_shown_hook([](Window& w) {
        ShownDialog d{w, headless_screen().dump(), 0};
        if (w.focus >= 0) d.focus_id = w.controls[static_cast<size_t>(w.focus)].t->id;
        std::function<void(Window&)> answer;
        {
            std::lock_guard<std::mutex> l(g_user->lock);
            g_user->shown.push_back(d);
            auto it = g_user->answers.find(w.t->id);
            if (it != g_user->answers.end()) answer = it->second;
        }
        if (answer) answer(w);
    });
}

void HeadlessUser::uninstall() { set_dialog_shown_hook(nullptr); }

int HeadlessUser::count(int id) {
    std::lock_guard<std::mutex> l(lock);
    int n = 0;
    for (auto& d : shown) n += d.window.t->id == id;
    return n;
}

const ShownDialog* HeadlessUser::last(int id) {
    std::lock_guard<std::mutex> l(lock);
    for (auto it = shown.rbegin(); it != shown.rend(); ++it)
        if (it->window.t->id == id) return &*it;
    return nullptr;
}

std::string text_of(const Window& w, int id) {
    Window copy = w;
    return control_text(copy, id);
}

bool shows_whole_lines(const std::string& screen, const std::string& text) {
    size_t start = 0;
    while (start <= text.size()) {
        size_t end = text.find("\r\n", start);
        std::string line = text.substr(start, end == std::string::npos ? std::string::npos : end - start);
        if (!line.empty() && screen.find(line) == std::string::npos) return false;
        if (end == std::string::npos) break;
        start = end + 2;
    }
    return true;
}
