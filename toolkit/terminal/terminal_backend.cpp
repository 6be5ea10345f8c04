#include "toolkit/terminal/terminal_backend.h"

#include <atomic>
#include <cstdlib>
#include <mutex>
#include <ncurses.h>
#include <unistd.h>
#include <vector>

#include "platform/clock.h"
#include "platform/process.h"
#include "toolkit/backend.h"
#include "toolkit/keys.h"
#include "toolkit/layout.h"

namespace {
std::timed_mutex g_curses;
std::atomic<bool> g_active{false};
uint32_t g_last_frame = 0;
uint32_t g_last_input = 0;
bool g_pending = true;
std::vector<char> g_shown_chars;  // the last frame drawn
std::vector<uint8_t> g_shown_attrs;
constexpr uint32_t FrameIntervalMs = 33;
// Keys are read at most every 5 ms: the waiting loops pump a thousand times
// a second, and a person does not type that fast.
constexpr uint32_t InputIntervalMs = 5;

int translate(int ch) {
    switch (ch) {
    case '\n':
    case '\r':
    case KEY_ENTER: return KeyEnter;
    case '\t': return KeyTab;
    case KEY_BTAB: return KeyBackTab;
    case KEY_BACKSPACE:
    case 127:
    case 8: return KeyBackspace;
    case KEY_DC: return KeyDelete;
    case KEY_LEFT: return KeyLeft;
    case KEY_RIGHT: return KeyRight;
    case KEY_UP: return KeyUp;
    case KEY_DOWN: return KeyDown;
    case KEY_HOME: return KeyHome;
    case KEY_END: return KeyEnd;
    case KEY_PPAGE: return KeyPageUp;
    case KEY_NPAGE: return KeyPageDown;
    case 27: return KeyEscape;
    case 3: return KeyCtrlC;
    default: return (ch >= 32 && ch < 127) ? ch : 0;
    }
}

// A click on the close box of the topmost dialog closes it.
void click(int mx, int my) {
    std::vector<Window> windows = desktop_snapshot();
    if (windows.empty()) return;
    const Window& w = windows.back();
    DialogLayout d = layout_dialog(w, COLS, LINES);
    int x, y;
    window_origin(w, d, COLS, LINES, &x, &y);
    if (my == y && mx >= x + d.width - 5 && mx < x + d.width - 2) post_key(KeyClose);
}

void draw() {
    Grid g = render_desktop(desktop_snapshot(), COLS, LINES);
    // Most changes (a progress step) leave the picture as it was.
    if (g.chars == g_shown_chars && g.attrs == g_shown_attrs) return;
    g_shown_chars = g.chars;
    g_shown_attrs = g.attrs;
    for (int y = 0; y < g.height; ++y) {
        move(y, 0);
        for (int x = 0; x < g.width; ++x) {
            size_t i = static_cast<size_t>(y * g.width + x);
            chtype attr = 0;
            if (g.attrs[i] & AttrReverse) attr |= A_REVERSE;
            if (g.attrs[i] & AttrBold) attr |= A_BOLD;
            // The last cell of the screen would scroll it; leave it blank.
            if (y == g.height - 1 && x == g.width - 1) break;
            addch(static_cast<chtype>(static_cast<unsigned char>(g.chars[i])) | attr);
        }
    }
    refresh();
}

void read_keys();

void service() {
    std::unique_lock<std::timed_mutex> l(g_curses, std::try_to_lock);
    if (!l.owns_lock() || !g_active) return;  // another thread is at it
    uint32_t now = milliseconds();
    if (now - g_last_input >= InputIntervalMs) {
        g_last_input = now;
        read_keys();
    }
    if (now - g_last_frame < FrameIntervalMs) return;
    if (take_desktop_changed()) g_pending = true;
    if (!g_pending) return;
    g_pending = false;
    g_last_frame = now;
    draw();
}

void read_keys() {
    for (int ch; (ch = getch()) != ERR;) {
        if (ch == KEY_RESIZE) {
            g_pending = true;
            g_shown_chars.clear();
            continue;
        }
        if (ch == KEY_MOUSE) {
            MEVENT e;
            if (getmouse(&e) == OK && (e.bstate & (BUTTON1_CLICKED | BUTTON1_PRESSED))) click(e.x, e.y);
            continue;
        }
        if (int key = translate(ch)) post_key(key);
    }
}

void screen_size(int* w, int* h) {
    *w = COLS > 0 ? COLS : 80;
    *h = LINES > 0 ? LINES : 24;
}
}  // namespace

bool terminal_start() {
    if (!isatty(STDIN_FILENO) || !isatty(STDOUT_FILENO)) return false;
    set_escdelay(25);
    if (!initscr()) return false;
    raw();
    noecho();
    nonl();
    keypad(stdscr, TRUE);
    nodelay(stdscr, TRUE);
    curs_set(0);
    mousemask(BUTTON1_CLICKED | BUTTON1_PRESSED, nullptr);
    g_active = true;
    set_process_cleanup(terminal_restore);
    std::atexit(terminal_restore);
    set_backend({screen_size, service});
    return true;
}

void terminal_restore() {
    if (!g_active.exchange(false)) return;
    // Wait briefly for a frame in progress; restore regardless.
    bool locked = g_curses.try_lock_for(std::chrono::milliseconds(200));
    curs_set(1);
    endwin();
    if (locked) g_curses.unlock();
}
