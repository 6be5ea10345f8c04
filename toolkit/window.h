// Live dialogs: a template instance with control state, an owner thread and
// a behaviour. Every call here may be made from any thread; a dialog's
// messages are handled only by the thread that created it.
#pragma once
#include <cstdint>
#include <string>
#include <thread>
#include <vector>

#include "toolkit/dialog_template.h"

struct Window;

// One procedure per dialog: on open, and on each command (a button id, or
// IdCancel for Escape, Ctrl-C and the close box).
struct DialogBehaviour {
    void (*on_open)(Window& window);
    void (*on_command)(Window& window, int id);
};

struct Control {
    const ControlTemplate* t;
    std::string text;
    std::vector<std::string> items;  // drop-down list entries
    int selection = -1;
    int range_min = 0, range_max = 100, position = 0;
    int scroll = 0;  // first line (multi-line) or first column (single line)
    int cursor = 0;  // caret in an entry
    // IPv4 control: the digits typed in each field, the field with the caret,
    // and whether the caret moved on by itself after a third digit.
    std::string fields[4];
    int field = 0;
    bool auto_advanced = false;
};

struct Window {
    int handle = 0;
    const DialogTemplate* t = nullptr;
    std::string caption;
    std::vector<Control> controls;
    int focus = -1;  // index into controls
    std::thread::id owner;
    bool visible = false;
    bool centred = false;
    bool task_modal = false;
    int x = 0, y = 0;  // top-left cell
    const DialogBehaviour* behaviour = nullptr;
    void* context = nullptr;
    bool ended = false;
    int result = 0;
};

// Creating, showing and ending dialogs.
Window* create_dialog(const DialogTemplate& t, const DialogBehaviour& behaviour, void* context);
void show_window(Window* window);
void destroy_window(Window* window);
int run_modal_dialog(const DialogTemplate& t, const DialogBehaviour& behaviour, void* context);
void end_dialog(Window& window, int result);
// Moves the window to the centre of the screen (floor of each half) and to
// the top of the stacking order.
void center_on_screen(Window& window);

// A modal box with the text, a caption and an OK button, run on the calling
// thread. Task-modal: it holds the keyboard until dismissed.
void message_box(const char* text, const char* caption, bool task_modal);

// Message pumping for the calling thread.
bool pump_one_message();   // at most one; true when one was handled
void pump_all_messages();  // every pending one

// Control state.
Control* find_control(Window& window, int id);
void set_caption(Window& window, const std::string& caption);
void set_control_text(Window& window, int id, const std::string& text);
std::string control_text(Window& window, int id);
void add_list_item(Window& window, int id, const std::string& item);
void set_list_selection(Window& window, int id, int index);
int list_selection(Window& window, int id);
void set_progress_range(Window& window, int id, int low, int high);
void set_progress_position(Window& window, int id, int position);
void set_focus(Window& window, int id);

// What tests and the terminal front end use.
void post_key(int key);
void post_keys(const char* text);
// Called on the showing thread each time a dialog becomes visible; a
// headless test answers dialogs from here.
void set_dialog_shown_hook(void (*hook)(Window& window));
// A copy of the visible windows, bottom to top, for rendering and tests.
std::vector<Window> desktop_snapshot();
// True when some window changed since the last call.
bool take_desktop_changed();
