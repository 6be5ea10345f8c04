// Ending the process from any thread, and the clean-up that must run first
// (the terminal front end restores the terminal here).
#pragma once

// Runs the registered clean-up once, then ends the process with status 0.
[[noreturn]] void end_process();

// One clean-up routine; the terminal backend registers its restore here.
void set_process_cleanup(void (*cleanup)());

// SIGTERM and SIGHUP only set a flag; polling loops call this and end the
// process in ordinary code.
void install_termination_signals();
bool termination_requested();
void end_process_if_requested();
