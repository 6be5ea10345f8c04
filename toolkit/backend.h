// What a front end gives the toolkit: the screen size, and a service call
// made from every pumping loop (read pending keys, draw when due).
#pragma once

struct Backend {
    void (*screen_size)(int* width, int* height);
    void (*service)();
};

void set_backend(const Backend& backend);
const Backend& current_backend();
