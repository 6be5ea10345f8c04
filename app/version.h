// Version values and the choice between one and two stages.
#pragma once
#include <cstdint>

// Up to three numbers read as strtoul in base 0 would read them, weighted
// 10000, 100 and 1 (not padded), taken as signed for the comparison.
int32_t version_value(const char* text);

// Leaves stage at Transition, or sets it to Target, from the device's
// software version and the transition image's version.
void decide_stage();
