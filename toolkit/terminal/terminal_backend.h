// The terminal front end on ncurses. Every curses call is made under one
// lock, from whichever thread pumps; frames are drawn at most ~30 times a
// second and only when something changed.
#pragma once

// Takes over the terminal; false when standard input or output is not one.
bool terminal_start();
// Gives the terminal back; safe from any thread, more than once.
void terminal_restore();
