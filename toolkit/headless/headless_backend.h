// A front end without a terminal: a fixed screen size, no key source but
// post_key, and the rendered grid for tests to read.
#pragma once
#include "toolkit/layout.h"

void use_headless_backend(int width = 100, int height = 32);
Grid headless_screen();
