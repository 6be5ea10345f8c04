// The desktop: one z-ordered list of windows, per-thread message queues,
// modal loops and the message box.
#include <algorithm>
#include <condition_variable>
#include <cstring>
#include <deque>
#include <map>
#include <memory>

#include "platform/clock.h"
#include "platform/process.h"
#include "toolkit/backend.h"
#include "toolkit/desktop_internal.h"
#include "toolkit/keys.h"
#include "toolkit/layout.h"

namespace {
struct Message {
    int handle;
    int key;
};

std::recursive_mutex g_lock;
std::condition_variable_any g_posted;
std::vector<std::unique_ptr<Window>> g_windows;  // bottom to top
std::map<std::thread::id, std::deque<Message>> g_queues;
int g_next_handle = 1;
bool g_changed = true;
void (*g_shown_hook)(Window&) = nullptr;

void headless_size(int* w, int* h) {
    *w = 100;
    *h = 32;
}
void no_service() {}
Backend g_backend{headless_size, no_service};

// The window that has the keyboard: the topmost task-modal box, or else the
// topmost visible window.
Window* focused_window() {
    for (auto it = g_windows.rbegin(); it != g_windows.rend(); ++it)
        if ((*it)->visible && (*it)->task_modal) return it->get();
    for (auto it = g_windows.rbegin(); it != g_windows.rend(); ++it)
        if ((*it)->visible) return it->get();
    return nullptr;
}

Window* by_handle(int handle) {
    for (auto& w : g_windows)
        if (w->handle == handle) return w.get();
    return nullptr;
}

void raise(Window& window) {
    auto it = std::find_if(g_windows.begin(), g_windows.end(), [&](auto& w) { return w.get() == &window; });
    if (it == g_windows.end()) return;
    std::unique_ptr<Window> w = std::move(*it);
    g_windows.erase(it);
    g_windows.push_back(std::move(w));
}

// Handles one message of the calling thread's queue. The behaviour runs
// without the desktop lock, so that it may open a nested modal loop.
bool dispatch_one() {
    Window* window = nullptr;
    int command = 0;
    {
        std::lock_guard<std::recursive_mutex> l(g_lock);
        auto q = g_queues.find(std::this_thread::get_id());
        if (q == g_queues.end() || q->second.empty()) return false;
        Message m = q->second.front();
        q->second.pop_front();
        window = by_handle(m.handle);
        if (!window) return true;  // the window is gone: the message with it
        command = m.key == KeyClose ? IdCancel : apply_key(*window, m.key);
        g_changed = true;
    }
    if (command && window->behaviour && window->behaviour->on_command) window->behaviour->on_command(*window, command);
    return true;
}
// Shows the window and handles the calling thread's messages until the
// window's behaviour ends it; then destroys it.
int modal_loop(Window* w) {
    show_window(w);
    for (;;) {
        g_backend.service();
        while (!w->ended && dispatch_one()) {
        }
        if (w->ended) break;
        end_process_if_requested();
        std::unique_lock<std::recursive_mutex> l(g_lock);
        auto& q = g_queues[std::this_thread::get_id()];
        if (q.empty() && !w->ended) g_posted.wait_for(l, std::chrono::milliseconds(10));
    }
    int result = w->result;
    destroy_window(w);
    return result;
}
}  // namespace

std::recursive_mutex& desktop_lock() { return g_lock; }
void mark_desktop_changed() { g_changed = true; }

void set_backend(const Backend& backend) {
    std::lock_guard<std::recursive_mutex> l(g_lock);
    g_backend = backend;
}
const Backend& current_backend() { return g_backend; }

Window* create_dialog(const DialogTemplate& t, const DialogBehaviour& behaviour, void* context) {
    auto w = std::make_unique<Window>();
    w->t = &t;
    w->caption = t.caption;
    w->owner = std::this_thread::get_id();
    w->behaviour = &behaviour;
    w->context = context;
    w->x = t.x / 4;
    w->y = t.y / 8;
    for (int i = 0; i < t.control_count; ++i) {
        Control c;
        c.t = &t.controls[i];
        if (c.t->kind != ControlKind::Icon) c.text = c.t->text ? c.t->text : "";
        w->controls.push_back(std::move(c));
    }
    Window* raw = w.get();
    {
        std::lock_guard<std::recursive_mutex> l(g_lock);
        raw->handle = g_next_handle++;
        raw->focus = first_tab_stop(*raw);
        g_windows.push_back(std::move(w));
        g_changed = true;
    }
    if (behaviour.on_open) behaviour.on_open(*raw);
    return raw;
}

void show_window(Window* window) {
    {
        std::lock_guard<std::recursive_mutex> l(g_lock);
        window->visible = true;
        g_changed = true;
    }
    if (g_shown_hook) g_shown_hook(*window);
}

void destroy_window(Window* window) {
    std::lock_guard<std::recursive_mutex> l(g_lock);
    auto it = std::find_if(g_windows.begin(), g_windows.end(), [&](auto& w) { return w.get() == window; });
    if (it != g_windows.end()) g_windows.erase(it);
    g_changed = true;
}

void end_dialog(Window& window, int result) {
    std::lock_guard<std::recursive_mutex> l(g_lock);
    window.result = result;
    window.ended = true;
    g_posted.notify_all();
}

int run_modal_dialog(const DialogTemplate& t, const DialogBehaviour& behaviour, void* context) {
    Window* w = create_dialog(t, behaviour, context);
    return modal_loop(w);
}

void center_on_screen(Window& window) {
    std::lock_guard<std::recursive_mutex> l(g_lock);
    int sw, sh;
    g_backend.screen_size(&sw, &sh);
    window.centred = true;
    window_origin(window, layout_dialog(window, sw, sh), sw, sh, &window.x, &window.y);
    raise(window);
    g_changed = true;
}

bool pump_one_message() {
    g_backend.service();
    return dispatch_one();
}

void pump_all_messages() {
    g_backend.service();
    while (dispatch_one()) {
    }
}

void post_key(int key) {
    std::lock_guard<std::recursive_mutex> l(g_lock);
    Window* target = focused_window();
    if (!target) return;
    g_queues[target->owner].push_back({target->handle, key});
    g_posted.notify_all();
}

void post_keys(const char* text) {
    for (const char* p = text; *p; ++p) post_key(*p == '\n' ? static_cast<int>(KeyEnter) : static_cast<unsigned char>(*p));
}

void set_dialog_shown_hook(void (*hook)(Window&)) { g_shown_hook = hook; }

std::vector<Window> desktop_snapshot() {
    std::lock_guard<std::recursive_mutex> l(g_lock);
    std::vector<Window> out;
    for (auto& w : g_windows)
        if (w->visible) out.push_back(*w);
    return out;
}

bool take_desktop_changed() {
    std::lock_guard<std::recursive_mutex> l(g_lock);
    bool changed = g_changed;
    g_changed = false;
    return changed;
}

// --- message box -----------------------------------------------------------

namespace {
struct BoxContext {
    DialogTemplate t;
    ControlTemplate controls[2];
    std::string text;
};

const DialogBehaviour box_behaviour = {
    [](Window& w) {
        set_focus(w, IdOk);
        center_on_screen(w);
    },
    [](Window& w, int) { end_dialog(w, IdOk); },
};
}  // namespace

void message_box(const char* text, const char* caption, bool task_modal) {
    BoxContext box;
    box.text = text;
    int longest = static_cast<int>(std::strlen(caption)) + 6, lines = 1, run = 0;
    for (const char* p = text; *p; ++p) {
        if (*p == '\n') {
            ++lines;
            run = 0;
        } else if (*p != '\r') {
            longest = std::max(longest, ++run);
        }
    }
    longest = std::min(std::max(longest, 20), 90);
    // Dialog units at four per column and eight per row.
    int w = (longest + 4) * 4, text_rows = lines;
    box.controls[0] = {-1, ControlKind::MultiLineText, box.text.c_str(), 8, 8, longest * 4, text_rows * 8,
                       Align::Left, false, false, true};
    box.controls[1] = {IdOk, ControlKind::DefaultButton, "OK", w / 2 - 20, 8 + text_rows * 8 + 8, 40, 14,
                       Align::Center, true, false, false};
    box.t = {0, caption, 0, 0, w, 8 + text_rows * 8 + 8 + 16, box.controls, 2};
    Window* win = create_dialog(box.t, box_behaviour, nullptr);
    win->task_modal = task_modal;
    modal_loop(win);
}
