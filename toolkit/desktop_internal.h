// Shared between the toolkit's own files: the desktop lock and the key
// handling of a focused window.
#pragma once
#include <mutex>

#include "toolkit/window.h"

std::recursive_mutex& desktop_lock();
void mark_desktop_changed();

// Applies one key to the window under the desktop lock. Returns the command
// it triggers (a button id, IdCancel) or 0 when the key was consumed.
int apply_key(Window& window, int key);
// The first tab-stop control, for the initial focus.
int first_tab_stop(const Window& window);
