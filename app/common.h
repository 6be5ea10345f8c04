// Process-wide routines every subsystem uses: the error box, the silent
// trace hook and the pseudo-random generator.
#pragma once
#include <cstdint>

// Task-modal error box captioned "NUV Firwmare Upgrade Error" with an OK
// button; returns when dismissed. The caller ends the process afterwards.
void show_error(const char* text);
constexpr const char* ErrorCaption = "NUV Firwmare Upgrade Error";

// The user interface installs the real box; tests install a recorder. With
// none installed the text goes to standard error.
void set_error_box(void (*box)(const char* text, const char* caption));

// printf-style trace; silent unless NUV_TRACE is set in the environment.
void trace(const char* format, ...) __attribute__((format(printf, 1, 2)));

void seed_random(uint32_t seed);
int next_random();  // 0 to 32767
